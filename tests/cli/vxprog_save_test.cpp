// What vxprog promises when it changes a file: concurrent edits all take effect, files the user
// may not write and paths that are no regular files are refused with exit status 2, and every
// value the encoder replaced and every line pushed off a program's end is reported (refused
// with --strict).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli_fixture.h"
#include "setupfile/file_io.h"

namespace vx::test {
namespace {

// A started vxprog process; its stdout and stderr go to files in `captureDir`.
class Vxprog {
 public:
  Vxprog(const std::vector<std::string>& args, const std::filesystem::path& captureDir,
         const std::string& name = "run", bool asNobody = false)
      : out_(captureDir / (name + ".out")), err_(captureDir / (name + ".err")) {
    std::vector<std::string> argvStrings;
    if (asNobody) {
      argvStrings = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    }
    argvStrings.push_back(VXPROG_EXE);
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argvStrings) argv.push_back(s.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
      ::alarm(30);  // a run that hangs ends with SIGALRM instead of blocking the tests
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~Vxprog() {
    if (pid_ > 0 && !finished_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Vxprog(const Vxprog&) = delete;
  Vxprog& operator=(const Vxprog&) = delete;

  bool running() {
    int status = 0;
    if (finished_ || ::waitpid(pid_, &status, WNOHANG) == 0) return !finished_;
    finish(status);
    return false;
  }
  RunResult wait() {
    if (!finished_) {
      int status = 0;
      if (::waitpid(pid_, &status, 0) == pid_) finish(status);
    }
    RunResult result;
    result.exitCode = exitCode_;
    const auto out = readBytes(out_);
    const auto err = readBytes(err_);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
  }

 private:
  void finish(int status) {
    finished_ = true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::filesystem::path out_;
  std::filesystem::path err_;
  pid_t pid_ = -1;
  bool finished_ = false;
  int exitCode_ = -1;
};

RunResult runVxprog(const std::vector<std::string>& args, const std::filesystem::path& captureDir,
                    bool asNobody = false) {
  return Vxprog(args, captureDir, "run", asNobody).wait();
}

using Bytes = std::vector<std::uint8_t>;
constexpr int Lbl = static_cast<int>(Instruction::Lbl);

TEST(VxprogSave, FiftyConcurrentInsertsAllTakeEffect) {
  TempFolder work;
  TempFolder capture;
  const auto file = work / "p.su";
  writeSetupFile(file,
                 [](SetupDocument& d) { storeLine(d.programArea, 0, 0, labelLine(Lbl, 999)); });
  constexpr int Runs = 50;
  std::vector<std::unique_ptr<Vxprog>> runs;
  for (int i = 0; i < Runs; ++i) {
    runs.push_back(
        std::make_unique<Vxprog>(std::vector<std::string>{"insert", file.string(), "A", "0"},
                                 capture.path(), "insert" + std::to_string(i)));
  }
  for (auto& run : runs) {
    const RunResult result = run->wait();
    EXPECT_EQ(result.exitCode, 0) << result.err;
  }
  SetupDocument document;
  initialise(document);
  ASSERT_GE(load(document, file), 0);
  int emptyLines = 0;
  while (emptyLines < 512 && *lineAt(document.programArea, 0, emptyLines) == ProgramLine{}) {
    ++emptyLines;
  }
  EXPECT_EQ(emptyLines, Runs) << "every insert moved the label line down by one";
  EXPECT_EQ(*lineAt(document.programArea, 0, emptyLines), labelLine(Lbl, 999));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(VxprogSave, AnEditWaitsWhileAnotherHoldsTheFile) {
  TempFolder work;
  TempFolder capture;
  const auto file = work / "held.su";
  writeSetupFile(file, [](SetupDocument& d) { storeLine(d.programArea, 0, 0, labelLine(Lbl, 5)); });
  FileLock lock;
  ASSERT_EQ(lockFile(file, true, std::chrono::milliseconds(0), lock, nullptr), LockStatus::Locked);
  const auto before = readBytes(file);
  Vxprog insert({"insert", file.string(), "A", "0"}, capture.path());
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_TRUE(insert.running());
  EXPECT_TRUE(readBytes(file) == before);
  lock.release();
  const RunResult result = insert.wait();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(storedLine(readBytes(file), 1), storedLine(before, 0));
}

TEST(VxprogSave, FilesTheUserMayNotWriteAreRefused) {
  TempFolder work;
  TempFolder capture;
  const auto file = work / "f.su";
  writeSetupFile(file);
  const auto before = readBytes(file);
  // Made read-only by its owner: refused even for root.
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  RunResult result = runVxprog({"set", file.string(), "A", "0", "LBL", "5"}, capture.path());
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.err, "vxprog: cannot save " + file.string() + ": the file is read-only\n");
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(readBytes(file) == before);

  if (::geteuid() != 0) return;
  // root's 644 file in a folder an ordinary user may write.
  ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(work.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(capture.path().c_str(), 0777), 0);
  result = runVxprog({"set", file.string(), "A", "0", "LBL", "5"}, capture.path(), true);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.err,
            "vxprog: cannot save " + file.string() + ": no permission to write the file\n");
  EXPECT_TRUE(readBytes(file) == before);
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(VxprogSave, LinksOwnerAndHardLinksSurviveAnEdit) {
  TempFolder work;
  TempFolder capture;
  const auto target = work / "t.su";
  writeSetupFile(target);
  std::filesystem::create_symlink("t.su", work / "l.su");
  std::filesystem::create_hard_link(target, work / "h.su");
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
  }
  const RunResult result =
      runVxprog({"set", (work / "l.su").string(), "A", "0", "LBL", "7"}, capture.path());
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(std::filesystem::is_symlink(work / "l.su"));
  EXPECT_EQ(storedLine(readBytes(target), 0), storedLine(readBytes(work / "h.su"), 0));
  EXPECT_EQ(storedLine(readBytes(target), 0)[12], 7);
  struct stat status {};
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_nlink, 2u);
  if (root) {
    EXPECT_EQ(status.st_uid, 1234u);
    EXPECT_EQ(status.st_gid, 5678u);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                          std::filesystem::directory_iterator()),
            3);
}

TEST(VxprogSave, FifoIsRefusedAtOnceByEveryCommand) {
  TempFolder work;
  TempFolder capture;
  const auto fifo = work / "f.su";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  for (const std::vector<std::string>& args : {
           std::vector<std::string>{"info", fifo.string()},
           std::vector<std::string>{"list", fifo.string()},
           std::vector<std::string>{"check", fifo.string()},
           std::vector<std::string>{"insert", fifo.string(), "A", "0"},
           std::vector<std::string>{"set", fifo.string(), "A", "0", "STOP"},
           std::vector<std::string>{"new", fifo.string(), "--force"},
       }) {
    SCOPED_TRACE(args[0]);
    const auto start = std::chrono::steady_clock::now();
    const RunResult result = runVxprog(args, capture.path());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(": not a regular file\n"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  }
}

struct ReportCase {
  std::vector<std::string> args;  // after the command's FILE
  std::string report;             // what stderr says
};

TEST(VxprogSave, ReplacedValuesAreReportedAndRefusedWhenStrict) {
  // clang-format off
  const ReportCase cases[] = {
      {{"A", "0", "GOTO", "12x"},       "vxprog: value 1 of GOTO ('12x') replaced by 0\n"},
      {{"A", "0", "LBL", "1x"},         "vxprog: value 1 of LBL ('1x') replaced by 0\n"},
      {{"A", "0", "CALL", "abc"},       "vxprog: value 1 of CALL ('abc') replaced by 0\n"},
      {{"A", "0", "WAIT", "TM", "abc"}, "vxprog: value 1 of WAIT TM ('abc') replaced by 1\n"},
      {{"A", "0", "GOTO", "1000"},      "vxprog: value 1 of GOTO ('1000') replaced by 0\n"},
      {{"A", "0", "SEND", "CHR", "4142", "43"},
                                        "vxprog: value 1 of SEND CHR ('4142') replaced by 42\n"},
      {{"A", "0", "SEND", "DA", "123", "0"},
                                        "vxprog: value 1 of SEND DA ('123') replaced by 23\n"},
  };
  // clang-format on
  TempFolder dir;
  const auto file = dir / "r.su";
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.report);
    writeSetupFile(file);
    const Bytes before = readBytes(file);
    std::vector<std::string> args = {"set", file.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("--strict");
    RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, c.report + "vxprog: --strict: nothing written\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(readBytes(file) == before);
    args.pop_back();
    result = runCli(args);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, c.report);
    EXPECT_FALSE(readBytes(file) == before);
  }
  // Values the fields take as given are not reported, and --strict lets them through.
  writeSetupFile(file);
  const RunResult result =
      runCli({"set", file.string(), "A", "0", "SEND", "CHR", "0x41", "7", "--strict"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, " SEND CHR 41 07 \n");
}

TEST(VxprogSave, LinesPushedOffAProgramAreReportedAndRefusedWhenStrict) {
  TempFolder dir;
  const auto file = dir / "c.su";
  const auto prepare = [&] {
    writeSetupFile(file, [](SetupDocument& d) {
      for (int i = 0; i < 3; ++i) storeLine(d.programArea, 0, i, labelLine(Lbl, 100 + i));
      storeLine(d.programArea, 1, 510, labelLine(Lbl, 510));
      storeLine(d.programArea, 1, 511, labelLine(Lbl, 511));
    });
    return readBytes(file);
  };
  const std::string report =
      "vxprog: line 2 of program A ( L102) pushed off the end of program B\n"
      "vxprog: line 510 of program B ( L510) pushed off the end of program B\n"
      "vxprog: line 511 of program B ( L511) pushed off the end of program B\n";
  // Three lines copied to line 510 of a 512-line program: the third never lands.
  Bytes before = prepare();
  RunResult result = runCli({"copy", file.string(), "A", "0-2", "B", "510", "--strict"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, report + "vxprog: --strict: nothing written\n");
  EXPECT_TRUE(readBytes(file) == before);
  result = runCli({"copy", file.string(), "A", "0-2", "B", "510"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, report);
  EXPECT_EQ(storedLine(readBytes(file), 512 + 511), storedLine(before, 1));

  before = prepare();
  result = runCli({"insert", file.string(), "B", "0", "--strict"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err,
            "vxprog: line 511 of program B ( L511) pushed off the end of program B\n"
            "vxprog: --strict: nothing written\n");
  EXPECT_TRUE(readBytes(file) == before);
  // An empty last line falls off silently, --strict or not.
  result = runCli({"insert", file.string(), "A", "0", "--strict"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  result = runCli({"move", file.string(), "A", "1-3", "B", "509", "--strict"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("pushed off the end of program B"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace vx::test
