// The command-line tool's own units: text conversion, argument parsing and the panel positions
// that `set` builds.
#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "cli/cli_arguments.h"
#include "cli/line_entry.h"
#include "cli/text_encoding.h"

namespace vx {
namespace {

TEST(SjisToUtf8, ConvertsWhatTheDisplayTablesHold) {
  struct Case {
    std::string sjis;
    std::string utf8;
  };
  const Case cases[] = {
      {" SEND CHR A ~ \\ ", " SEND CHR A ~ \\ "},  // ASCII unchanged, backslash included
      {"\xA1", "\xEF\xBD\xA1"},                    // first half-width katakana U+FF61
      {"\xB1\xDF", "\xEF\xBD\xB1\xEF\xBE\x9F"},    // U+FF71, last one U+FF9F
      {"\x81\x91", "\xEF\xBF\xA0"},                // full-width cent sign U+FFE0
      {"\x81\x92", "\xEF\xBF\xBD"},                // another two-byte character: U+FFFD
      {"\x81 A", "\xEF\xBF\xBD A"},                // lead byte before a byte that is no trail byte
      {"\x81", "\xEF\xBF\xBD"},                    // lead byte at the end
      {"\x80\xA0\xFD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sjisToUtf8(c.sjis), c.utf8);
  }
}

TEST(Utf16ToUtf8, ConvertsPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(utf16ToUtf8(u"a.su"), "a.su");
  EXPECT_EQ(utf16ToUtf8(u"\u00E9\u30C6"), "\xC3\xA9\xE3\x83\x86");
  EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  const char16_t lone[] = {0xD800, u'x', 0xDC00, 0};
  EXPECT_EQ(utf16ToUtf8(lone), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(ProgramAndLineArguments, AcceptOnlyTheirForms) {
  EXPECT_EQ(parseProgramName("A"), 0);
  EXPECT_EQ(parseProgramName("d"), 3);
  for (const char* bad : {"", "E", "AB", "0", "@"}) EXPECT_FALSE(parseProgramName(bad)) << bad;
  EXPECT_EQ(parseLineIndex("0"), 0);
  EXPECT_EQ(parseLineIndex("0511"), 511);
  for (const char* bad : {"", "-1", "+1", "1.0", " 1", "0x10", "9999999"}) {
    EXPECT_FALSE(parseLineIndex(bad)) << bad;
  }
}

TEST(LineList, TakesIndicesAndRangesInAnyOrderAscendingAndDistinct) {
  struct Case {
    std::string text;
    std::vector<int> lines;
  };
  const Case cases[] = {
      {"2,5,7-9", {2, 5, 7, 8, 9}},
      {"9,2,2,5-6,6", {2, 5, 6, 9}},
      {" 3 , 1", {1, 3}},
      {"511", {511}},
      {"4-4", {4}},
  };
  for (const Case& c : cases) {
    const LineListResult result = parseLineList(c.text, 512);
    EXPECT_EQ(result.error, "") << c.text;
    EXPECT_EQ(result.lines, c.lines) << c.text;
    EXPECT_FALSE(result.capped);
  }
  for (const char* bad : {"", ",", "1,,2", "a", "5-3", "1-", "-1", "512", "0-512", "1;2"}) {
    EXPECT_NE(parseLineList(bad, 512).error, "") << bad;
  }
  EXPECT_NE(parseLineList("0", 0).error, "");
}

TEST(LineList, KeepsTheFirst256Lines) {
  const LineListResult result = parseLineList("300-400,0-299", 512);
  ASSERT_EQ(result.lines.size(), 256u);
  EXPECT_EQ(result.lines.front(), 0);
  EXPECT_EQ(result.lines.back(), 255);
  EXPECT_TRUE(result.capped);
  EXPECT_FALSE(parseLineList("0-255", 512).capped);
}

// The positions as the field panel would hand them to the encoder.
// What the usage texts show for every field type: ranges, tokens and lists from the catalogue.
TEST(FieldShape, NamesRangeTokensAndListOfEveryFieldType) {
  // clang-format off
  const std::array<const char*, FieldTypeCount> shapes = {
      "",                                   // End
      "",                                   // KindSelect
      "unit(0-1)",
      "level(0-1)",
      "trigger(1-3)",
      "digit(0-6)",
      "hex(0-F)",
      "index(0-F|*)",
      "entry(0-99)",
      "byte(00-FF)",
      "pattern(00-FF|*||>)",
      "byte(00-FF)",
      "label(0-999)",
      "time(1-9999)",
      "CLR|NOCLR",
      "RS|CS|DR|CD|ER|SQ|CI",
      "RS|CS|DR|CD|ER|SQ|CI|EX",
      "=|<>|<|>|<=|>=",
      "value(0-999999)|INC|DEC",
      "value(1-999999)|START|STOP|RSTART",
      "value(1-999999)|INC|RESET",
      "(REG)",
      "(+REG)",
      "(=)",
      "(L)",
      "(TRG 0)",
  };
  // clang-format on
  for (int t = 0; t < FieldTypeCount; ++t) {
    EXPECT_EQ(fieldShape(static_cast<FieldType>(t)), shapes[static_cast<std::size_t>(t)]) << t;
  }
  EXPECT_EQ(fieldShape(static_cast<FieldType>(FieldTypeCount)), "?");
  EXPECT_EQ(rowShape(1, 5), "entry(0-99) (+REG) index(0-F|*)");
}

TEST(LineEntryPositions, FollowTheLayoutRowWithCaptionsKeptInPlace) {
  const auto inst = [](Instruction i) { return static_cast<int>(i); };
  LineEntry entry;
  const std::vector<std::string> ifReg = {"3", "<>", "C", "12"};
  ASSERT_EQ(buildLineEntry(inst(Instruction::If), 5, ifReg, entry), "");
  const std::pair<std::string, int> expected[] = {{"REG", 5}, {"3", -1}, {"<>", 1},  {"REG", -1},
                                                  {"C", -1},  {"L", -1}, {"12", -1}, {"", -1},
                                                  {"", -1},   {"", -1},  {"", -1},   {"", -1}};
  for (std::size_t p = 0; p < std::size(expected); ++p) {
    EXPECT_EQ(entry.positions[p].text, expected[p].first) << p;
    EXPECT_EQ(entry.positions[p].selection, expected[p].second) << p;
  }
  EXPECT_EQ(entry.valueIndex[1], 0);
  EXPECT_EQ(entry.valueIndex[3], -1);
  EXPECT_EQ(entry.valueIndex[4], 2);
  EXPECT_EQ(entry.valueIndex[6], 3);

  // Instructions without kinds start at position 0; LBL's label is position 0.
  ASSERT_EQ(buildLineEntry(inst(Instruction::Lbl), 0, std::vector<std::string>{"7"}, entry), "");
  EXPECT_EQ(entry.positions[0].text, "7");
  EXPECT_EQ(entry.positions[0].selection, -1);
  ASSERT_EQ(buildLineEntry(inst(Instruction::Int), 0, std::vector<std::string>{"9"}, entry), "");
  EXPECT_EQ(entry.positions[0].text, "TRG 0");
  EXPECT_EQ(entry.positions[2].text, "9");
}

TEST(LineEntryPositions, ListsSelectTheirEntryAndEditableListsKeepTheText) {
  const int set = static_cast<int>(Instruction::Set);
  const int wait = static_cast<int>(Instruction::Wait);
  struct Case {
    int instruction;
    int kind;
    std::vector<std::string> values;
    int position;
    std::string text;
    int selection;
  };
  const Case cases[] = {
      {set, 2, {"1", "START"}, 2, "START", 0},  // a word selects its entry
      {set, 2, {"1", "RSTART"}, 2, "RSTART", 2},
      {set, 2, {"1", "start"}, 2, "start", -1},  // words match exactly, as the encoder's do
      {set, 2, {"1", "1500"}, 2, "1500", -1},
      {set, 2, {"1"}, 2, "", -1},     // missing: an empty editable list
      {wait, 5, {"cd"}, 1, "CD", 3},  // list entries in either case
      {wait, 5, {}, 1, "RS", 0},      // missing: the first entry
      {wait, 5, {""}, 1, "RS", 0},
      {wait, 1, {"noclr"}, 1, "NOCLR", 1},
      {set, 1, {"CI"}, 1, "CI", 6},
  };
  for (const Case& c : cases) {
    LineEntry entry;
    ASSERT_EQ(buildLineEntry(c.instruction, c.kind, c.values, entry), "");
    const auto& position = entry.positions[static_cast<std::size_t>(c.position)];
    EXPECT_EQ(position.text, c.text);
    EXPECT_EQ(position.selection, c.selection) << c.text;
  }
  LineEntry entry;
  EXPECT_NE(buildLineEntry(set, 1, std::vector<std::string>{"EX"}, entry), "");
  EXPECT_NE(buildLineEntry(wait, 5, std::vector<std::string>{"CD", "1", "2"}, entry), "");
  EXPECT_NE(buildLineEntry(wait, 3 + 1, std::vector<std::string>{"1"}, entry), "");  // WAIT KEY
}

}  // namespace
}  // namespace vx
