// vxprog export, import and check over several files, through runVxprog on small setup files.
#include <cstring>
#include <fstream>

#include "cli_fixture.h"

namespace vx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void writeText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// A: a small program with a label loop; B: one line that only .raw can give; C, D: empty.
void smallPrograms(SetupDocument& document) {
  ProgramArea& area = document.programArea;
  storeLine(area, 0, 0, labelLine(12, 1));
  storeLine(area, 0, 1, lineOf({1, 0, 4, 0, 0x41, 0x54, 0x5a, 0x0d}));
  storeLine(area, 0, 3, lineOf({4, 5, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 1}));
  storeLine(area, 1, 0, lineOf({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xe8, 0x03}));
  setCursor(area, 1, 300);
}

constexpr const char* SmallProgramsText =
    "\n[A]\n"
    "L001\n"
    "SEND CHR 41 54 5a 0d\n"
    "NOP\n"
    "IF REG1<REG2 L001\n"
    "\n[B]\n"
    ".raw 03 00 00 00 00 00 00 00 00 00 00 00 e8 03 00 00\n"
    "\n[C]\n"
    "\n[D]\n";

TEST(ExportCommand, WritesTheProgramsAsText) {
  ScratchDir dir;
  const std::string file = (dir / "small.su").string();
  writeSetupFile(file, smallPrograms);
  const RunResult all = runCli({"export", file});
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(all.out, std::string("# vxprog export of small.su\n") + SmallProgramsText);
  EXPECT_EQ(all.err, "");

  const RunResult one = runCli({"export", file, "--program", "b"});
  EXPECT_EQ(one.exitCode, 0);
  EXPECT_EQ(one.out,
            "# vxprog export of small.su"
            "\n\n[B]\n.raw 03 00 00 00 00 00 00 00 00 00 00 00 e8 03 00 00\n");
}

// Importing a file's own export changes no byte of the file, and exporting again gives the same
// text: on an ordinary file and on damaged ones that still load.
TEST(ImportCommand, OwnExportChangesNoByte) {
  ScratchDir dir;
  const std::vector<std::function<void(SetupDocument&)>> edits = {
      smallPrograms,
      // Garbage in every slot, cursors outside their programs.
      [](SetupDocument& document) {
        std::uint32_t seed = 7;
        auto* raw = reinterpret_cast<std::uint8_t*>(document.programArea.slots.data());
        for (std::size_t i = 0; i < SlotCount * LineSize; ++i) {
          seed = seed * 1103515245u + 12345u;
          raw[i] = static_cast<std::uint8_t>(seed >> 16);
        }
        setCursor(document.programArea, 0, -5);
        setCursor(document.programArea, 3, 4000);
      },
      // A damaged header: starts that decrease, so that programs overlap or have no lines.
      [](SetupDocument& document) {
        smallPrograms(document);
        const int starts[] = {0, 100, 50, 80, 2048};
        for (int p = 0; p <= ProgramCount; ++p) {
          writeU16(&document.programArea.header[static_cast<std::size_t>(4 + 4 * p)],
                   static_cast<std::uint32_t>(starts[p]));
        }
        storeLine(document.programArea, 2, 5, labelLine(12, 9));
      },
      // A start past the slots: every program that reaches it has no lines.
      [](SetupDocument& document) {
        smallPrograms(document);
        writeU16(&document.programArea.header[8], 3000);
      },
  };
  for (std::size_t k = 0; k < edits.size(); ++k) {
    SCOPED_TRACE(k);
    const auto file = dir / ("file" + std::to_string(k) + ".su");
    const auto text = dir / ("file" + std::to_string(k) + ".vxp");
    writeSetupFile(file, edits[k]);
    const Bytes before = readBytes(file);
    const RunResult exported = runCli({"export", file.string()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    writeText(text, exported.out);
    const RunResult imported = runCli({"import", file.string(), text.string()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "");
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(runCli({"export", file.string()}).out, exported.out);
  }
}

TEST(ImportCommand, ReplacesTheProgramsOfTheText) {
  ScratchDir dir;
  const auto file = dir / "small.su";
  const auto text = dir / "new.vxp";
  writeSetupFile(file, smallPrograms);
  writeText(text,
            "# A new program B; A, C and D stay as they are.\r\n"
            "[b]\r\n"
            "  l7\r\n"
            "send   chr 30 31   # two digits\r\n"
            "GOTO L007\r\n");
  const RunResult result = runCli({"import", file.string(), text.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const RunResult exported = runCli({"export", file.string()});
  EXPECT_EQ(exported.out,
            "# vxprog export of small.su"
            "\n"
            "\n[A]\nL001\nSEND CHR 41 54 5a 0d\nNOP\nIF REG1<REG2 L001\n"
            "\n[B]\nL007\nSEND CHR 30 31\nGOTO L007\n"
            "\n[C]\n"
            "\n[D]\n");
  // The cursor of B is kept.
  EXPECT_NE(runCli({"info", file.string()}).out.find("program B: start 512, 512 lines, cursor 300"),
            std::string::npos);

  // --program takes one section of a text, or a text without headers as a whole.
  writeText(text, "[A]\nSTOP\n[C]\nRET\n");
  EXPECT_EQ(runCli({"import", file.string(), text.string(), "--program", "C"}).exitCode, 0);
  writeText(text, "SEND KEY\n");
  EXPECT_EQ(runCli({"import", file.string(), text.string(), "--program", "D"}).exitCode, 0);
  EXPECT_EQ(runCli({"export", file.string(), "--program", "A"}).out,
            "# vxprog export of small.su"
            "\n\n[A]\nL001\nSEND CHR 41 54 5a 0d\nNOP\nIF REG1<REG2 L001\n");
  EXPECT_EQ(runCli({"export", file.string(), "--program", "C"}).out,
            "# vxprog export of small.su\n\n[C]\nRET\n");
  EXPECT_EQ(runCli({"export", file.string(), "--program", "D"}).out,
            "# vxprog export of small.su\n\n[D]\nSEND KEY\n");
}

// Every problem of the text is reported as TEXT:LINE: what is wrong, and the file keeps every
// byte.
TEST(ImportCommand, ProblemsAreReportedWithTheirLinesAndNothingIsWritten) {
  ScratchDir dir;
  const auto file = dir / "small.su";
  const auto text = dir / "bad.vxp";
  const std::string t = text.string();
  writeSetupFile(file, smallPrograms);
  const Bytes before = readBytes(file);
  struct Case {
    std::string text;
    std::vector<std::string> options;
    std::string err;
  };
  const Case cases[] = {
      {"[A]\nL001\nSEND CHR 41 4g\nWAIT TRG4\n[E]\n.raw 00\nSET LN EX=1\n",
       {},
       t + ":3: '4g' is no data byte (00-FF)\n" + t + ":4: trigger 4 is outside 1-3\n" + t +
           ":5: unknown section '[E]'; sections: [A], [B], [C], [D]\n" + t +
           ":6: .raw takes 16 bytes, found 1\n" + t +
           ":7: 'EX' is no output line; one of: RS, CS, DR, CD, ER, SQ, CI\n"},
      {"GOTO L001\n", {}, t + ":1: a line before the first section header [A], [B], [C] or [D]\n"},
      {"[A]\n[a]\n", {}, t + ":2: section [A] given twice (first at line 1)\n"},
      {"[A]\nNOP\n", {"--program", "B"}, t + ": no section [B]\n"},
      {"[A]\nL001\nGOTO L002\nL001\n",
       {"--strict"},
       t + ":3: label 2 not defined\n" + t + ":4: label 1 defined twice\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    writeText(text, c.text);
    std::vector<std::string> args = {"import", file.string(), t};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, c.err + "vxprog: " + file.string() + " left as it was\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readBytes(file), before);
  }

  // A section longer than its program: a 512-line program takes 512 lines.
  std::string longText = "# too long\n[C]\n";
  for (int i = 0; i < 513; ++i) longText += "STOP\n";
  writeText(text, longText);
  const RunResult tooLong = runCli({"import", file.string(), t});
  EXPECT_EQ(tooLong.exitCode, 2);
  EXPECT_TRUE(
      tooLong.err.starts_with(t + ":515: program C has 512 lines; this would be line 512\n"))
      << tooLong.err;
  EXPECT_EQ(readBytes(file), before);
  // 512 lines fit.
  longText.resize(longText.size() - 5);
  writeText(text, longText);
  EXPECT_EQ(runCli({"import", file.string(), t}).exitCode, 0);

  const RunResult missing = runCli({"import", file.string(), (dir / "missing.vxp").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, "vxprog: cannot read " + (dir / "missing.vxp").string() + "\n");
}

// ---- check over several files ----------------------------------------------------------------

TEST(CheckFiles, EveryFileIsCheckedWithItsNameAndAllReportsEveryInconsistency) {
  ScratchDir dir;
  const std::string good = (dir / "good.su").string();
  const std::string bad = (dir / "bad.su").string();
  const std::string garbage = (dir / "garbage.su").string();
  writeSetupFile(good, [](SetupDocument& document) {
    smallPrograms(document);
    storeLine(document.programArea, 1, 1, labelLine(12, 1000));  // the target of B's GOTO
  });
  writeSetupFile(bad, [](SetupDocument& document) {
    ProgramArea& area = document.programArea;
    storeLine(area, 0, 3, labelLine(3, 7));
    for (const int line : {10, 20, 30}) storeLine(area, 0, line, labelLine(12, 5));
    storeLine(area, 0, 31, labelLine(5, 8));
    storeLine(area, 2, 0, labelLine(8, 4));
  });
  writeBytes(garbage, Bytes(100, 0x55));

  const RunResult first = runCli({"check", good, bad});
  EXPECT_EQ(first.exitCode, 1);
  EXPECT_EQ(first.out, good + ": A: ok\n" + good + ": B: ok\n" + good + ": C: ok\n" + good +
                           ": D: ok\n" + bad + ": A: line 20: label 5 defined twice\n" + bad +
                           ": B: ok\n" + bad + ": C: line 0: label 4 not defined\n" + bad +
                           ": D: ok\n");

  const RunResult all = runCli({"check", bad, "--all", "--program", "A"});
  EXPECT_EQ(all.exitCode, 1);
  EXPECT_EQ(all.out,
            "A: line 20: label 5 defined twice\n"
            "A: line 30: label 5 defined twice\n"
            "A: line 3: label 7 not defined\n"
            "A: line 31: label 8 not defined\n");

  const RunResult both = runCli({"check", "--all", good, bad, "--program", "C"});
  EXPECT_EQ(both.out, good + ": C: ok\n" + bad + ": C: line 0: label 4 not defined\n");

  // A file that cannot be loaded is reported, the others are still checked, and the exit status
  // says so.
  const RunResult unloadable = runCli({"check", garbage, good});
  EXPECT_EQ(unloadable.exitCode, 2);
  EXPECT_TRUE(unloadable.err.starts_with("vxprog: cannot load " + garbage + ": "))
      << unloadable.err;
  EXPECT_EQ(unloadable.out,
            good + ": A: ok\n" + good + ": B: ok\n" + good + ": C: ok\n" + good + ": D: ok\n");
  EXPECT_EQ(runCli({"check", good, good}).exitCode, 0);
  EXPECT_EQ(runCli({"check", bad, garbage}).exitCode, 2);
}

TEST(TextCommands, HelpAndUsage) {
  const RunResult help = runCli({"--help"});
  for (const char* synopsis :
       {"  check FILE... [--program P] [--all]", "  export FILE [--program P]",
        "  import FILE TEXT [--program P] [--strict]"}) {
    EXPECT_NE(help.out.find(synopsis), std::string::npos) << synopsis;
  }
  EXPECT_EQ(runCli({"import", "x.su"}).exitCode, 2);
  EXPECT_EQ(runCli({"export", "x.su", "--program", "E"}).err,
            "vxprog: unknown program 'E'; programs: A, B, C, D\n");
  EXPECT_EQ(runCli({"check"}).exitCode, 2);
}

}  // namespace
}  // namespace vx::test
