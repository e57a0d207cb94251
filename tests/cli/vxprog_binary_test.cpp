// End-to-end runs of the built vxprog executable: exit codes, output streams, a file name
// outside ASCII, and a save that fails half way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli_fixture.h"

namespace vx::test {
namespace {

std::string readText(const std::filesystem::path& path) {
  const auto bytes = readBytes(path);
  return {bytes.begin(), bytes.end()};
}

// Runs the executable with stdout and stderr captured in `captureDir`; `fileSizeLimit` bytes
// limit every file it writes (the limit's signal ignored, so writes fail instead).
RunResult runBinary(const std::vector<std::string>& args, const std::filesystem::path& captureDir,
                    rlim_t fileSizeLimit = RLIM_INFINITY) {
  const auto outPath = captureDir / "stdout.txt";
  const auto errPath = captureDir / "stderr.txt";
  std::vector<std::string> argvStrings = {VXPROG_EXE};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
    if (fileSizeLimit != RLIM_INFINITY) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  RunResult result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.out = readText(outPath);
  result.err = readText(errPath);
  return result;
}

TEST(VxprogBinary, BuildsListsAndChecksAFileWithANonAsciiName) {
  TempFolder work;
  TempFolder capture;
  const std::string file =
      (work.path() / "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 \xC3\xA9.su").string();
  struct Step {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
  };
  const Step steps[] = {
      {{"new", file}, 0, ""},
      {{"set", file, "A", "0", "LBL", "1"}, 0, " L001\n"},
      {{"set", file, "A", "1", "SEND", "CHR", "B1", "41"}, 0, " SEND CHR b1 41 \n"},
      {{"set", file, "A", "2", "GOTO", "2"}, 0, " GOTO L002\n"},
      {{"list", file, "--program", "A", "--chars", "--code", "JIS8"},
       0,
       "[A] 512 lines, cursor 0\n0000 L001\n0001 SEND CHR \xEF\xBD\xB1 A \n0002 GOTO L002\n"},
      {{"check", file, "--program", "A"}, 1, "A: line 2: label 2 not defined\n"},
      {{"set", file, "A", "2", "GOTO", "1"}, 0, " GOTO L001\n"},
      {{"check", file, "--program", "A"}, 0, "A: ok\n"},
      {{"set", file, "A", "3", "SET", "REG", "1", "up"}, 1, ""},
      {{"new", file}, 2, ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.args[0] + (step.args.size() > 4 ? " " + step.args[4] : std::string()));
    const RunResult result = runBinary(step.args, capture.path());
    EXPECT_EQ(result.exitCode, step.exitCode) << result.err;
    EXPECT_EQ(result.out, step.out);
    // A failing check reports on stdout only; every other failure has its message.
    EXPECT_EQ(result.err.empty(), step.exitCode == 0 || step.args[0] == "check") << result.err;
  }
  EXPECT_EQ(readBytes(file).size(), 34'580u);
}

TEST(VxprogBinary, AFailedSaveLeavesThePreviousFileUnchanged) {
  TempFolder work;
  TempFolder capture;
  const auto file = work / "keep.su";
  writeSetupFile(file, [](SetupDocument& d) { storeLine(d.programArea, 0, 0, labelLine(12, 7)); });
  const auto before = readBytes(file);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"insert", file.string(), "A", "0"},
        std::vector<std::string>{"set", file.string(), "A", "0", "STOP"},
        std::vector<std::string>{"new", "--force", file.string()}}) {
    SCOPED_TRACE(args[0]);
    const RunResult result = runBinary(args, capture.path(), 20'000);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.starts_with("vxprog: cannot save " + file.string() + ": "))
        << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(readBytes(file) == before);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                            std::filesystem::directory_iterator()),
              1);
  }
}

TEST(VxprogBinary, UsageErrorsAndHelpUseTheirStreamsAndExitCodes) {
  TempFolder capture;
  RunResult result = runBinary({}, capture.path());
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("commands:"), std::string::npos);
  result = runBinary({"--help"}, capture.path());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(result.out.starts_with("usage: vxprog COMMAND")) << result.out;
  EXPECT_EQ(result.err, "");
  result = runBinary({"list", (capture.path() / "none.su").string()}, capture.path());
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(result.err.starts_with("vxprog: cannot load ")) << result.err;
}

}  // namespace
}  // namespace vx::test
