#include "catalogue/text_paste.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx {
namespace {

ProgramLine gotoLine(std::uint8_t label) {
  ProgramLine line;
  line.bytes[0] = 3;
  line.bytes[12] = label;
  return line;
}

ProgramLine sendChr(std::uint8_t a, std::uint8_t b) {
  ProgramLine line;
  line.bytes[0] = 1;
  line.bytes[2] = 2;
  line.bytes[4] = a;
  line.bytes[5] = b;
  return line;
}

class TextPasteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProgramArea(area);
    for (int i = 0; i < 5; ++i) storeLine(area, 1, i, gotoLine(static_cast<std::uint8_t>(i + 1)));
    storeLine(area, 1, 510, gotoLine(90));
    storeLine(area, 1, 511, gotoLine(91));
  }
  ProgramArea area;
};

TEST_F(TextPasteTest, InsertsTheLinesInTextOrderAndReportsTheLinesThatFellOff) {
  const ProgramArea before = area;
  // CRLF, a comment, a blank line and the header of an exported program are all skipped.
  const PasteResult result = pasteProgramText(
      area, 1, 2,
      "# vxprog export of a.su\r\n\r\n[b]\r\nSEND CHR 41 54 # two bytes\r\ngoto  L007\r\n");
  ASSERT_TRUE(result.problems.empty()) << result.problems.front().message;
  EXPECT_EQ(result.pasted, 2);
  EXPECT_EQ(*lineAt(area, 1, 0), gotoLine(1));
  EXPECT_EQ(*lineAt(area, 1, 1), gotoLine(2));
  EXPECT_EQ(*lineAt(area, 1, 2), sendChr(0x41, 0x54));
  EXPECT_EQ(*lineAt(area, 1, 3), gotoLine(7));
  EXPECT_EQ(*lineAt(area, 1, 4), gotoLine(3));
  EXPECT_EQ(*lineAt(area, 1, 6), gotoLine(5));
  EXPECT_EQ(*lineAt(area, 1, 511), ProgramLine{}) << "line 509 (empty) moved to the end";
  const PushedOffLines expected = {{1, 510, gotoLine(90)}, {1, 511, gotoLine(91)}};
  EXPECT_EQ(result.pushedOff, expected);
  // Only program B changed, and its cursor stayed.
  for (int p : {0, 2, 3}) {
    for (int i = 0; i < lineCount(area, p); ++i)
      EXPECT_EQ(*lineAt(area, p, i), *lineAt(before, p, i));
  }
  EXPECT_EQ(cursor(area, 1), cursor(before, 1));
}

TEST_F(TextPasteTest, LinesOfSeveralSectionsGoInOneAfterAnother) {
  const PasteResult result = pasteProgramText(area, 0, 0, "[A]\nGOTO L001\n[C]\nGOTO L002\n");
  ASSERT_TRUE(result.problems.empty());
  EXPECT_EQ(*lineAt(area, 0, 0), gotoLine(1));
  EXPECT_EQ(*lineAt(area, 0, 1), gotoLine(2));
  EXPECT_TRUE(result.pushedOff.empty());
}

TEST_F(TextPasteTest, AFaultyTextChangesNothingAndNamesItsLine) {
  struct Case {
    int index;
    const char* text;
    std::vector<int> lines;  // the text lines of the problems, in order
    const char* firstMessage;
  };
  const std::vector<Case> cases = {
      {0, "GOTO L001\nSEND CHR 4g\nGOTO L002\n", {2}, "'4g' is no data byte"},
      {0, "GOTO L001\n[E]\nGOTO L002\n", {2}, "unknown section '[E]'"},
      {0, "[A]\nGOTO L001\n[a]\nGOTO L002\n", {3}, "section [A] given twice"},
      {0, "# only a comment\n\n", {0}, "no program line in the text"},
      {0, "", {0}, "no program line in the text"},
      {510,
       "GOTO L001\n# a comment\nGOTO L002\nGOTO L003\nWAIT XYZ\n",
       {4, 5},
       "the program has 512 lines; this would be line 512"},
      {512, "GOTO L001\n", {0}, "no line 512 in the program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ProgramArea before = area;
    const PasteResult result = pasteProgramText(area, 1, c.index, c.text);
    EXPECT_EQ(area.slots, before.slots);
    EXPECT_EQ(result.pasted, 0);
    EXPECT_TRUE(result.pushedOff.empty());
    std::vector<int> lines;
    for (const TextProblem& problem : result.problems) lines.push_back(problem.line);
    EXPECT_EQ(lines, c.lines);
    ASSERT_FALSE(result.problems.empty());
    EXPECT_NE(result.problems.front().message.find(c.firstMessage), std::string::npos)
        << result.problems.front().message;
  }
}

TEST_F(TextPasteTest, ACopiedLinePastesBackAndImportsAsTheSameBytes) {
  // What the editor puts on the clipboard for a line: its text and a line end.
  ProgramLine odd = gotoLine(4);
  odd.bytes[15] = 0x7f;  // a byte outside the line's fields: written as .raw
  for (const ProgramLine& line : {sendChr(0x0d, 0x0a), odd}) {
    const std::string copied = programLineText(line) + "\r\n";
    const PasteResult result = pasteProgramText(area, 2, 0, copied);
    ASSERT_TRUE(result.problems.empty());
    EXPECT_EQ(*lineAt(area, 2, 0), line);
    // And as `vxprog import FILE - --program D` reads it: the program's only line.
    TextImportOptions options;
    options.program = 3;
    ASSERT_TRUE(importProgramText(area, readProgramText(copied), options).empty());
    EXPECT_EQ(*lineAt(area, 3, 0), line);
    EXPECT_EQ(*lineAt(area, 3, 1), ProgramLine{});
  }
}

}  // namespace
}  // namespace vx
