// What a newcomer meets first: the version, the help under its usual names, help examples that
// work as printed, and messages that say what is wrong with an argument.
#include <sstream>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "vx_version.h"

namespace vx::test {
namespace {

TEST(Release, VersionIsTheProjectVersion) {
  EXPECT_STREQ(VX_VERSION, VX_PROJECT_VERSION);
  const RunResult result = runCli({"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, std::string("vxprog ") + VX_PROJECT_VERSION + "\n");
  EXPECT_EQ(result.err, "");
}

TEST(Release, DashHAndHelpAreNamesOfHelp) {
  const RunResult global = runCli({"--help"});
  ASSERT_EQ(global.exitCode, 0);
  ASSERT_NE(global.out.find("commands:"), std::string::npos);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-h"}, std::vector<std::string>{"help"}}) {
    const RunResult alias = runCli(args);
    EXPECT_EQ(alias.exitCode, 0) << args[0];
    EXPECT_EQ(alias.out, global.out) << args[0];
  }
  const RunResult set = runCli({"set", "--help"});
  ASSERT_EQ(set.exitCode, 0);
  EXPECT_EQ(runCli({"help", "set"}).out, set.out);
  EXPECT_EQ(runCli({"-h", "set"}).out, set.out);
  EXPECT_EQ(runCli({"set", "-h"}).out, set.out);
  EXPECT_EQ(runCli({"list", "x.su", "-h"}).out, runCli({"list", "--help"}).out);
  const RunResult unknown = runCli({"help", "frob"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("unknown command 'frob'"), std::string::npos) << unknown.err;
}

// The examples of --help, run one after another as printed (in a scratch folder), do what their
// comments say: each succeeds, and the label check finds the GOTO copied without its label.
TEST(Release, HelpExamplesRunAsPrinted) {
  const std::string help = runCli({"--help"}).out;
  const std::size_t start = help.find("\nexamples:\n");
  ASSERT_NE(start, std::string::npos) << help;
  std::istringstream lines(help.substr(start + 11));
  TempFolder dir;
  int examples = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("  vxprog ")) continue;
    ++examples;
    SCOPED_TRACE(line);
    // The command ends where the comment's column begins (two blanks or more).
    const std::string command = line.substr(9, line.find("  ", 9) - 9);
    std::istringstream words(command);
    std::vector<std::string> args;
    for (std::string word; words >> word;) {
      args.push_back(word.ends_with(".su") ? (dir / word).string() : word);
    }
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, args[0] == "check" ? 1 : 0) << result.err;
    if (args[0] == "check") {
      EXPECT_NE(result.out.find("B: line 12: label 1 not defined"), std::string::npos)
          << result.out;
    }
  }
  EXPECT_GE(examples, 6);
}

TEST(Release, ALineThatIsNoNumberIsReportedAsSuch) {
  TempFolder dir;
  const std::string file = (dir / "lines.su").string();
  ASSERT_EQ(runCli({"new", file}).exitCode, 0);
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {{"insert", file, "A", "x"},           "vxprog: line 'x' is not a number; program A, lines: 0..511\n"},
      {{"delete", file, "b", "-1"},          "vxprog: line '-1' is not a number; program B, lines: 0..511\n"},
      {{"copy", file, "A", "1", "C", "1.5"}, "vxprog: line '1.5' is not a number; program C, lines: 0..511\n"},
      {{"set", file, "D", "", "NOP"},        "vxprog: line '' is not a number; program D, lines: 0..511\n"},
      {{"insert", file, "A", "512"},         "vxprog: line '512' is outside program A; lines: 0..511\n"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const RunResult result = runCli(c.args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, c.message);
  }
}

}  // namespace
}  // namespace vx::test
