// runVxprog on small setup files: listing, label check, the editing commands and their errors.
#include <gtest/gtest.h>

#include <numeric>

#include "cli_fixture.h"

namespace vx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- list ----------------------------------------------------------------------------------

struct ListingCase {
  ProgramLine line;
  const char* hexText;   // character display off (the default)
  const char* charText;  // --chars, ASCII
};

// clang-format off
const ListingCase ListingCases[] = {
    {lineOf({0}),                                  " NOP",                " NOP"},
    {lineOf({1, 0, 2, 0, 0x41, 0x42}),             " SEND CHR 41 42 ",    " SEND CHR A B "},
    {lineOf({1, 0, 0}),                            " SEND CHR ",          " SEND CHR "},
    {lineOf({1, 1, 3}),                            " SEND TBL3",          " SEND TBL3"},
    {lineOf({1, 2, 10}),                           " SEND REGA",          " SEND REGA"},
    {lineOf({1, 3}),                               " SEND BUF",           " SEND BUF"},
    {lineOf({1, 4}),                               " SEND KEY",           " SEND KEY"},
    {lineOf({1, 5, 5, 0xFF}),                      " SEND DA05+REG*",     " SEND DA05+REG*"},
    {lineOf({1, 5, 5, 11}),                        " SEND DA05+REGB",     " SEND DA05+REGB"},
    {lineOf({2, 0, 3, 1, 0, 0x0D, 0x41}),          " WAIT CHR * 0d 41 ",  " WAIT CHR * CR A "},
    {lineOf({2, 0, 2, 2, 0x20, 0x05}),             " WAIT CHR 20 |> ",    " WAIT CHR   |> "},
    {lineOf({2, 1, 0}),                            " WAIT FRM CLR",       " WAIT FRM CLR"},
    {lineOf({2, 1, 1}),                            " WAIT FRM NOCLR",     " WAIT FRM NOCLR"},
    {lineOf({2, 2, 2}),                            " WAIT TRG2",          " WAIT TRG2"},
    {lineOf({2, 3, 100}),                          " WAIT TM 0100",       " WAIT TM 0100"},
    {lineOf({2, 4}),                               " WAIT KEY",           " WAIT KEY"},
    {lineOf({2, 5, 3, 1}),                         " WAIT LN CD=1",       " WAIT LN CD=1"},
    {labelLine(3, 7),                              " GOTO L007",          " GOTO L007"},
    {lineOf({4, 0, 1, 0, 0x41, 0, 0, 0, 0, 0, 0, 0, 12}), " IF CHR 41  L012", " IF CHR A  L012"},
    {lineOf({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12}),    " IF CHR  L012",    " IF CHR  L012"},
    {lineOf({4, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),     " IF TRG3 L001",    " IF TRG3 L001"},
    {lineOf({4, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}),     " IF TM1 L002",     " IF TM1 L002"},
    {lineOf({4, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3}),     " IF CT0 L003",     " IF CT0 L003"},
    {lineOf({4, 4, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4}),     " IF LN EX=0 L004", " IF LN EX=0 L004"},
    {lineOf({4, 5, 3, 1, 12, 0, 0, 0, 0, 0, 0, 0, 1}),    " IF REG3<>REG12 L001", " IF REG3<>REG12 L001"},
    {lineOf({4, 6, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}),    " IF TBLF L005",    " IF TBLF L005"},
    {lineOf({4, 7, 5, 3, 0, 0, 0, 0, 0, 0, 0, 0, 2}),     " IF DA05+REG3 L002", " IF DA05+REG3 L002"},
    {lineOf({4, 7, 5, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 2}),  " IF DA05+REG* L002", " IF DA05+REG* L002"},
    {labelLine(5, 999),                            " CALL L999",          " CALL L999"},
    {lineOf({6}),                                  " RET",                " RET"},
    {lineOf({7, 0, 3, 0, 100}),                    " SET REG3 000100",    " SET REG3 000100"},
    {lineOf({7, 0, 3, 1}),                         " SET REG3 INC",       " SET REG3 INC"},
    {lineOf({7, 0, 3, 3}),                         " SET REG3 ",          " SET REG3 "},
    {lineOf({7, 1, 6, 1}),                         " SET LN CI=1",        " SET LN CI=1"},
    {lineOf({7, 2, 1, 3}),                         " SET TM1 RSTART",     " SET TM1 RSTART"},
    {lineOf({7, 2, 0, 0, 0xDC, 0x05}),             " SET TM0 001500",     " SET TM0 001500"},
    {lineOf({7, 3, 1, 2}),                         " SET CT1 RESET",      " SET CT1 RESET"},
    {lineOf({7, 4}),                               " SET BZ",             " SET BZ"},
    {lineOf({7, 5}),                               " SET OUT",            " SET OUT"},
    {lineOf({7, 6, 5, 2, 0x41, 0x42}),             " SET DA 05 41 42 ",   " SET DA 05 A B "},
    {lineOf({7, 6, 5, 0}),                         " SET DA 05 ",         " SET DA 05 "},
    {lineOf({7, 7, 5, 3, 2}),                      " SET DV 05 REG3 2",   " SET DV 05 REG3 2"},
    {labelLine(8, 5),                              " INT TRG 0 L005",     " INT TRG 0 L005"},
    {labelLine(9, 0xFFFF),                         " RETI L*",            " RETI L*"},
    {labelLine(9, 0),                              " RETI L000",          " RETI L000"},
    {lineOf({10}),                                 " DISI TRG 0",         " DISI TRG 0"},
    {lineOf({11}),                                 " STOP",               " STOP"},
    {labelLine(12, 5),                             " L005",               " L005"},
};
// clang-format on

std::string fourDigits(std::size_t i) {
  std::string text = std::to_string(i);
  return std::string(4 - text.size(), '0') + text;
}

class ListCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    writeSetupFile(file, [](SetupDocument& document) {
      for (std::size_t i = 0; i < std::size(ListingCases); ++i) {
        storeLine(document.programArea, 0, static_cast<int>(i), ListingCases[i].line);
      }
      setCursor(document.programArea, 0, 3);
    });
  }
  std::string expectedListing(bool characters) const {
    std::string expected = "[A] 512 lines, cursor 3\n";
    for (std::size_t i = 0; i < std::size(ListingCases); ++i) {
      expected += fourDigits(i);
      expected += characters ? ListingCases[i].charText : ListingCases[i].hexText;
      expected += '\n';
    }
    return expected;
  }
  ScratchDir dir;
  std::filesystem::path file = dir / "shapes.su";
};

TEST_F(ListCommand, ListsEveryInstructionShapeUpToTheLastLineInUse) {
  for (const bool characters : {false, true}) {
    SCOPED_TRACE(characters ? "--chars" : "hex");
    std::vector<std::string> args = {"list", file.string(), "--program", "a"};
    if (characters) args.push_back("--chars");
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, expectedListing(characters));
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(ListCommand, AllLinesShowsTheEmptyLinesAtTheEnd) {
  const RunResult result = runCli({"list", file.string(), "--program=A", "--all-lines"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::string expected = expectedListing(false);
  for (std::size_t i = std::size(ListingCases); i < 512; ++i) expected += fourDigits(i) + " NOP\n";
  EXPECT_EQ(result.out, expected);
}

TEST_F(ListCommand, ListsAllFourProgramsWithTheirHeaders) {
  const RunResult result = runCli({"list", file.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, expectedListing(false) +
                            "[B] 512 lines, cursor 0\n[C] 512 lines, cursor 0\n"
                            "[D] 512 lines, cursor 0\n");
}

struct CodeCase {
  const char* name;
  std::vector<std::string> options;
  int fileCode;      // the character-code byte the file's settings hold
  std::string text;  // expected listing of line 0
};

TEST(ListCharacterCodes, ConvertsTheDisplayStringsToUtf8OrWritesRawShiftJis) {
  // Line 0: SEND CHR B1 4A 41 (JIS8: katakana A; EBCDIC: the cent sign).
  // clang-format off
  const CodeCase cases[] = {
      {"file code JIS8",     {"--chars"},                           4,  " SEND CHR \xEF\xBD\xB1 J A "},
      {"--code jis8",        {"--chars", "--code", "jis8"},          0,  " SEND CHR \xEF\xBD\xB1 J A "},
      {"--code EBCDIC",      {"--chars", "--code=EBCDIC"},           0,  " SEND CHR b1 \xEF\xBF\xA0 41 "},
      {"raw Shift-JIS",      {"--chars", "--code", "EBCDIK", "--sjis"}, 0, " SEND CHR b1 \x81\x91 41 "},
      {"raw JIS8",           {"--chars", "--sjis"},                 4,  " SEND CHR \xB1 J A "},
      {"code 12 is ASCII",   {"--chars"},                           12, " SEND CHR b1 J A "},
      {"display off",        {"--code", "JIS8"},                    4,  " SEND CHR b1 4a 41 "},
  };
  // clang-format on
  ScratchDir dir;
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto file = dir / "codes.su";
    writeSetupFile(file, [&](SetupDocument& document) {
      document.image[56] = static_cast<std::uint8_t>(c.fileCode);  // selector 0 reads data byte 32
      storeLine(document.programArea, 0, 0, lineOf({1, 0, 3, 0, 0xB1, 0x4A, 0x41}));
    });
    std::vector<std::string> args = {"list", file.string(), "--program", "A"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "[A] 512 lines, cursor 0\n0000" + c.text + "\n");
  }
}

// ---- check ---------------------------------------------------------------------------------

class CheckCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    writeSetupFile(file, [](SetupDocument& document) {
      ProgramArea& area = document.programArea;
      // A: label 5 defined on 10, 20 and 30, and an undefined target on an earlier line.
      storeLine(area, 0, 3, labelLine(3, 7));
      for (const int line : {10, 20, 30}) storeLine(area, 0, line, labelLine(12, 5));
      // B: a GOTO to label 7, which only program A would define if it did.
      storeLine(area, 1, 3, labelLine(3, 7));
      storeLine(area, 1, 9, labelLine(9, 0xFFFF));
      // C: an IF before the LBL it names, and a SEND whose label bytes hold a number.
      storeLine(area, 2, 40, lineOf({4, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12}));
      storeLine(area, 2, 100, labelLine(12, 12));
      storeLine(area, 2, 101, labelLine(1, 77));
      // D: a RETI to "*" only.
      storeLine(area, 3, 0, labelLine(9, 0xFFFF));
    });
  }
  ScratchDir dir;
  std::filesystem::path file = dir / "labels.su";
};

TEST_F(CheckCommand, ReportsEachProgramAndFailsWhenOneIsInconsistent) {
  const RunResult all = runCli({"check", file.string()});
  EXPECT_EQ(all.exitCode, 1);
  EXPECT_EQ(all.out.substr(0, all.out.find("D:")),
            "A: line 20: label 5 defined twice\n"
            "B: line 3: label 7 not defined\n"
            "C: ok\n");
  // Whether a RETI to "*" names a label is the store's decision; both answers are printed
  // in their own words.
  EXPECT_TRUE(all.out.ends_with("D: ok\n") || all.out.ends_with("D: line 0: label * not defined\n"))
      << all.out;

  struct Case {
    std::string program;
    int exitCode;
    std::string out;
  };
  const Case cases[] = {
      {"C", 0, "C: ok\n"},
      {"a", 1, "A: line 20: label 5 defined twice\n"},
      {"B", 1, "B: line 3: label 7 not defined\n"},
  };
  for (const Case& c : cases) {
    const RunResult one = runCli({"check", file.string(), "--program", c.program});
    EXPECT_EQ(one.exitCode, c.exitCode) << c.program;
    EXPECT_EQ(one.out, c.out);
  }
}

TEST(CheckEmptyFile, EveryEmptyProgramIsConsistent) {
  ScratchDir dir;
  writeSetupFile(dir / "empty.su");
  const RunResult result = runCli({"check", (dir / "empty.su").string()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "A: ok\nB: ok\nC: ok\nD: ok\n");
}

// ---- set -----------------------------------------------------------------------------------

struct SetCase {
  std::vector<std::string> args;  // after "set FILE"
  int slot;                       // slot the line lands in
  std::string listing;
  Bytes line;               // leading bytes of the stored line, the rest zero
  std::string corrections;  // expected stderr fragment, "" for none
};

Bytes padded(Bytes bytes) {
  bytes.resize(LineSize, 0);
  return bytes;
}

// clang-format off
const SetCase SetCases[] = {
    {{"A", "0", "SEND", "CHR", "41", "", "43"},        0, " SEND CHR 41 00 43 ",  {1, 0, 3, 0, 0x41, 0, 0x43}, ""},
    {{"a", "1", "wait", "chr", "*", "|>", "0D"},       1, " WAIT CHR * |> 0d ",   {2, 0, 3, 3, 0, 1, 0x0D}, ""},
    {{"A", "2", "IF", "CHR", "", "", "", "", "", "", "", "", "12"}, 2, " IF CHR  L012",
                                                          {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12}, ""},
    {{"A", "3", "SET", "DA", "7", "FF"},               3, " SET DA 07 ff ",       {7, 6, 7, 1, 0xFF}, ""},
    {{"A", "4", "RETI", "*"},                          4, " RETI L*",             {9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}, ""},
    {{"A", "5", "GOTO", "*"},                          5, " GOTO L000",           {3}, ""},
    {{"A", "6", "SET", "TM", "1", "RSTART"},           6, " SET TM1 RSTART",      {7, 2, 1, 3}, ""},
    {{"A", "7", "SET", "TM", "1", "1500"},             7, " SET TM1 001500",      {7, 2, 1, 0, 0xDC, 0x05}, ""},
    {{"A", "8", "SET", "TM", "1"},                     8, " SET TM1 000001",      {7, 2, 1, 0, 1}, ""},
    {{"A", "9", "IF", "REG", "3", "<>", "C", "1"},     9, " IF REG3<>REG12 L001", {4, 5, 3, 1, 12, 0, 0, 0, 0, 0, 0, 0, 1}, ""},
    {{"A", "10", "SET", "DV", "5", "3", "2"},         10, " SET DV 05 REG3 2",    {7, 7, 5, 3, 2}, ""},
    {{"A", "11", "WAIT", "LN", "cd", "1"},            11, " WAIT LN CD=1",        {2, 5, 3, 1}, ""},
    {{"A", "12", "SET", "LN"},                        12, " SET LN RS=0",         {7, 1, 0, 0}, ""},
    {{"A", "13", "WAIT", "FRM", "NOCLR"},             13, " WAIT FRM NOCLR",      {2, 1, 1}, ""},
    {{"A", "14", "SEND", "DA", "5", "*"},             14, " SEND DA05+REG*",      {1, 5, 5, 0xFF}, ""},
    {{"A", "15", "LBL", "1234"},                      15, " L234",                {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 234}, ""},
    {{"A", "16", "INT", "5"},                         16, " INT TRG 0 L005",      {8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, ""},
    {{"A", "17", "STOP"},                             17, " STOP",                {11}, ""},
    {{"A", "18", "SET", "CT", "0", "RESET"},          18, " SET CT0 RESET",       {7, 3, 0, 2}, ""},
    {{"A", "19", "SET", "REG", "F", "999999"},        19, " SET REG15 999999",    {7, 0, 15, 0, 0x3F, 0x42, 0x0F}, ""},
    {{"A", "20", "WAIT", "TM", ""},                   20, " WAIT TM 0001",        {2, 3, 1}, ""},
    {{"B", "0", "WAIT", "LN", "CD", "x"},            512, " WAIT LN CD=0",        {2, 5, 3, 0}, "replaced by 0"},
    {{"D", "511", "SEND", "CHR", "zz", "41"},       2047, " SEND CHR 00 41 ",     {1, 0, 2, 0, 0, 0x41}, "replaced by 00"},
    {{"C", "7", "IF", "TRG", "q", "3"},             1031, " IF TRG1 L003",        {4, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3}, "replaced by 1"},
};
// clang-format on

TEST(SetCommand, EncodesAsTheFieldPanelDoesAndStoresTheLine) {
  ScratchDir dir;
  const auto file = dir / "set.su";
  writeSetupFile(file);
  for (const SetCase& c : SetCases) {
    SCOPED_TRACE(c.listing);
    std::vector<std::string> args = {"set", file.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Bytes before = readBytes(file);
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, c.listing + "\n");
    if (c.corrections.empty()) {
      EXPECT_EQ(result.err, "");
    } else {
      EXPECT_NE(result.err.find(c.corrections), std::string::npos) << result.err;
    }
    const Bytes after = readBytes(file);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(storedLine(after, c.slot), padded(c.line));
    // Nothing but the one line changed.
    Bytes expected = before;
    const auto at =
        DefaultAreaOffset + AreaHeaderSize + static_cast<std::size_t>(c.slot) * LineSize;
    std::copy(c.line.begin(), c.line.end(), expected.begin() + static_cast<std::ptrdiff_t>(at));
    std::fill(expected.begin() + static_cast<std::ptrdiff_t>(at + c.line.size()),
              expected.begin() + static_cast<std::ptrdiff_t>(at + LineSize), 0);
    EXPECT_TRUE(after == expected);
  }
}

struct RefusedCase {
  std::vector<std::string> args;  // after "set FILE"
  int exitCode;
  std::string message;  // fragment of stderr
};

TEST(SetCommand, RefusalsLeaveTheFileUnchanged) {
  // clang-format off
  const RefusedCase cases[] = {
      {{"A", "0", "SET", "TM", "1", "abc"},         1, "nothing written"},
      {{"A", "0", "SET", "REG", "3", "inc"},        1, "nothing written"},
      {{"A", "0", "SET", "CT", "1", "DEC"},         1, "nothing written"},
      {{"A", "0", "FOO"},                           2, "instructions: NOP, SEND, WAIT"},
      {{"A", "0", "SEND", "XYZ"},                   2, "kinds: CHR, TBL, REG, BUF, KEY, DA"},
      {{"A", "0", "SEND"},                          2, "SEND needs a kind"},
      {{"A", "0", "WAIT", "LN", "ZZ", "1"},         2, "entries: RS, CS, DR, CD, ER, SQ, CI, EX"},
      {{"A", "0", "SET", "LN", "EX", "1"},          2, "entries: RS, CS, DR, CD, ER, SQ, CI"},
      {{"A", "0", "GOTO", "1", "2"},                2, "too many values for GOTO"},
      {{"A", "0", "SEND", "BUF", "1"},              2, "too many values for SEND BUF"},
      {{"A", "0", "SEND", "CHR", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, 2, "too many values"},
      {{"E", "0", "NOP"},                           2, "programs: A, B, C, D"},
      {{"A", "512", "NOP"},                         2, "lines: 0..511"},
      {{"A", "-1", "NOP"},                          2, "lines: 0..511"},
      {{"A", "x", "NOP"},                           2, "lines: 0..511"},
      {{"A", "0"},                                  2, "too few arguments for set"},
  };
  // clang-format on
  ScratchDir dir;
  const auto file = dir / "refused.su";
  writeSetupFile(file, [](SetupDocument& d) { storeLine(d.programArea, 0, 0, labelLine(12, 3)); });
  const Bytes before = readBytes(file);
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args = {"set", file.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(readBytes(file) == before);
  }
}

// ---- insert, delete, copy, move --------------------------------------------------------------

constexpr int Empty = -1;

// Labels [first, last) in order.
std::vector<int> labels(int first, int last) {
  std::vector<int> v(static_cast<std::size_t>(last - first));
  std::iota(v.begin(), v.end(), first);
  return v;
}
std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<int> empties(int count) {
  return std::vector<int>(static_cast<std::size_t>(count), Empty);
}

// The label of every line of a program in the file, Empty for an all-zero line.
std::vector<int> programLabels(const std::filesystem::path& file, int program) {
  SetupDocument document;
  initialise(document);
  EXPECT_GE(load(document, file), 0);
  std::vector<int> result;
  for (int i = 0; i < lineCount(document.programArea, program); ++i) {
    const ProgramLine& line = *lineAt(document.programArea, program, i);
    result.push_back(line == ProgramLine{} ? Empty : readU16(&line.bytes[12]));
  }
  return result;
}

struct EditCase {
  std::vector<std::string> args;  // the command and its arguments after FILE
  std::vector<int> programA;
  std::vector<int> programB;
  std::string note;  // stderr fragment, "" for none
};

TEST(EditCommands, InsertDeleteCopyAndMoveChangeTheLinesAsTheEditorDoes) {
  // Program A holds LBL 0..511, program B LBL 1000..1511.
  const std::vector<int> a = labels(0, 512);
  const std::vector<int> b = labels(1000, 1512);
  // clang-format off
  const EditCase cases[] = {
      {{"insert", "A", "5"},            labels(0, 5) + empties(1) + labels(5, 511), b, ""},
      {{"insert", "b", "511"},          a, labels(1000, 1511) + empties(1), ""},
      {{"delete", "A", "5"},            labels(0, 5) + labels(6, 512) + empties(1), b, ""},
      {{"delete", "A", "511"},          labels(0, 511) + empties(1), b, ""},
      {{"copy", "A", "0-2", "A", "0"},  labels(0, 3) + labels(0, 509), b, ""},
      {{"move", "A", "3,4,5", "A", "4"}, a, b, ""},
      {{"move", "A", "1,0", "A", "10"}, labels(2, 10) + labels(0, 2) + labels(10, 512), b, ""},
      {{"move", "A", "2,5,7-9", "B", "0"},
           labels(0, 2) + labels(3, 5) + labels(6, 7) + labels(10, 512) + empties(5),
           std::vector<int>{2, 5, 7, 8, 9} + labels(1000, 1507), ""},
      {{"copy", "A", "9,2,2,5-6", "B", "1"}, a,
           labels(1000, 1001) + std::vector<int>{2, 5, 6, 9} + labels(1001, 1508), ""},
      {{"copy", "A", "0-299", "A", "500"}, labels(0, 500) + labels(0, 12), b, "first 256 lines"},
  };
  // clang-format on
  ScratchDir dir;
  const auto file = dir / "edit.su";
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[2]);
    writeSetupFile(file, [](SetupDocument& d) {
      for (int i = 0; i < 512; ++i) {
        storeLine(d.programArea, 0, i, labelLine(12, i));
        storeLine(d.programArea, 1, i, labelLine(12, 1000 + i));
      }
      storeLine(d.programArea, 2, 0, labelLine(3, 42));
    });
    const Bytes before = readBytes(file);
    std::vector<std::string> args = {c.args[0], file.string()};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    if (c.note.empty()) {
      EXPECT_EQ(result.err, "");
    } else {
      EXPECT_NE(result.err.find(c.note), std::string::npos) << result.err;
    }
    EXPECT_EQ(programLabels(file, 0), c.programA);
    EXPECT_EQ(programLabels(file, 1), c.programB);
    // Programs C and D and the part before the program block are untouched.
    const Bytes after = readBytes(file);
    ASSERT_EQ(after.size(), before.size());
    const auto areaStart = static_cast<std::ptrdiff_t>(DefaultAreaOffset);
    const auto programC =
        static_cast<std::ptrdiff_t>(DefaultAreaOffset + AreaHeaderSize + 1024 * LineSize);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + areaStart, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + programC, before.end(), after.begin() + programC));
  }
}

TEST(EditCommands, BadArgumentsAreUsageErrorsAndWriteNothing) {
  // clang-format off
  const std::vector<std::vector<std::string>> cases = {
      {"insert", "FILE", "A", "512"},
      {"delete", "FILE", "Z", "0"},
      {"copy", "FILE", "A", "5-3", "B", "0"},
      {"copy", "FILE", "A", "1,x", "B", "0"},
      {"copy", "FILE", "A", "", "B", "0"},
      {"move", "FILE", "A", "0-512", "B", "0"},
      {"move", "FILE", "A", "1", "B", "512"},
      {"move", "FILE", "A", "1", "Q", "0"},
      {"insert", "FILE", "A"},
      {"delete", "FILE", "A", "1", "2"},
      {"insert", "FILE", "A", "1", "--force"},
  };
  // clang-format on
  ScratchDir dir;
  const auto file = dir / "bad.su";
  writeSetupFile(file, [](SetupDocument& d) { storeLine(d.programArea, 0, 1, labelLine(12, 1)); });
  const Bytes before = readBytes(file);
  for (auto args : cases) {
    for (auto& arg : args) {
      if (arg == "FILE") arg = file.string();
    }
    std::string trace;
    for (std::size_t i = 2; i < args.size(); ++i) trace += args[i] + " ";
    SCOPED_TRACE(args[0] + " " + trace);
    const RunResult result = runCli(args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.starts_with("vxprog: ")) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    EXPECT_TRUE(readBytes(file) == before);
  }
}

// ---- new, info, load errors, help ------------------------------------------------------------

TEST(NewCommand, WritesTheDefaultDocumentAndReplacesOnlyWithForce) {
  ScratchDir dir;
  const auto file = dir / "new.su";
  RunResult result = runCli({"new", file.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const Bytes created = readBytes(file);
  EXPECT_EQ(created.size(), 34'580u);
  EXPECT_TRUE(
      std::equal(DefaultSetupTemplate.begin(), DefaultSetupTemplate.end(), created.begin()));

  writeBytes(file, {'k', 'e', 'e', 'p'});
  result = runCli({"new", file.string()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--force"), std::string::npos) << result.err;
  EXPECT_EQ(readBytes(file), (Bytes{'k', 'e', 'e', 'p'}));

  result = runCli({"new", "--force", file.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(readBytes(file), created);

  result = runCli({"new", (dir / "missing-dir" / "x.su").string()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(result.err.starts_with("vxprog: cannot save ")) << result.err;
}

TEST(InfoCommand, DescribesTheChainTheCodeAndThePrograms) {
  ScratchDir dir;
  const auto file = dir / "info.su";
  writeSetupFile(file, [](SetupDocument& d) {
    setCursor(d.programArea, 1, 300);
    d.image[56] = 9;
  });
  const RunResult result = runCli({"info", file.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "size: 34580 bytes\n"
            "magic: present\n"
            "block STUP at 16, 1756 bytes\n"
            "block SPG1 at 1780, 32792 bytes (program block)\n"
            "setup length: 1780\n"
            "character code: 9 BAUDOT\n"
            "program A: start 0, 512 lines, cursor 0\n"
            "program B: start 512, 512 lines, cursor 300\n"
            "program C: start 1024, 512 lines, cursor 0\n"
            "program D: start 1536, 512 lines, cursor 0\n");
}

TEST(LoadErrors, AFileThatCannotBeLoadedIsReportedAndNeitherCreatedNorChanged) {
  ScratchDir dir;
  const auto missing = dir / "missing.su";
  const auto garbage = dir / "garbage.su";
  writeBytes(garbage, Bytes(100, 0x55));
  const std::vector<std::vector<std::string>> commands = {
      {"info"},
      {"list"},
      {"check"},
      {"set", "A", "0", "NOP"},
      {"insert", "A", "0"},
      {"delete", "A", "0"},
      {"copy", "A", "0", "B", "0"},
      {"move", "A", "0", "B", "0"},
  };
  for (const auto& file : {missing, garbage}) {
    for (const auto& command : commands) {
      SCOPED_TRACE(command[0] + " " + file.filename().string());
      std::vector<std::string> args = {command[0], file.string()};
      args.insert(args.end(), command.begin() + 1, command.end());
      const RunResult result = runCli(args);
      EXPECT_EQ(result.exitCode, 2);
      EXPECT_TRUE(result.err.starts_with("vxprog: cannot load " + file.string() + ": "))
          << result.err;
      EXPECT_EQ(result.out, "");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(readBytes(garbage), Bytes(100, 0x55));
}

TEST(Usage, UnknownCommandsAndOptionsNameTheValidChoices) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{}, "commands: new, info, list"},
      {{"frob", "x.su"}, "commands: new, info, list, check, export, import, set, insert, delete, copy, move"},
      {{"list", "x.su", "--bogus"}, "options: --program P, --code NAME, --chars, --all-lines"},
      {{"list", "x.su", "--program"}, "--program needs a value"},
      {{"list", "x.su", "--chars=yes"}, "--chars takes no value"},
      {{"list", "x.su", "--program", "E"}, "programs: A, B, C, D"},
      {{"list", "x.su", "--code", "UTF8"}, "codes: ASCII, EBCDIC, EBCDIK, JIS7, JIS8, HEX"},
      {{"check", "x.su", "--program", "AB"}, "programs: A, B, C, D"},
      {{"info"}, "too few arguments for info; usage: vxprog info FILE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const RunResult result = runCli(c.args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

TEST(Usage, HelpDescribesTheCommands) {
  const RunResult all = runCli({"--help"});
  EXPECT_EQ(all.exitCode, 0);
  for (const char* command :
       {"new", "info", "list", "check", "set", "insert", "delete", "copy", "move"}) {
    EXPECT_NE(all.out.find(std::string("  ") + command + " FILE"), std::string::npos) << command;
  }
  const RunResult set = runCli({"set", "--help"});
  EXPECT_EQ(set.exitCode, 0);
  EXPECT_TRUE(set.out.starts_with("usage: vxprog set FILE P LINE INSTRUCTION [KIND] [VALUE...]"));
  EXPECT_NE(set.out.find("SEND CHR   byte(00-FF) byte(00-FF)"), std::string::npos) << set.out;
  EXPECT_NE(set.out.find("IF REG     hex(0-F) =|<>|<|>|<=|>= (REG) hex(0-F) (L) label(0-999)"),
            std::string::npos)
      << set.out;
  const RunResult list = runCli({"list", "x.su", "--help"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_NE(list.out.find("--all-lines"), std::string::npos);
}

}  // namespace
}  // namespace vx::test
