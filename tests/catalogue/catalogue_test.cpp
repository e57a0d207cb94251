#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace vx {
namespace {

// Field type names by code, so that a wrong row reads as names in the failure message.
const char* const TypeNames[FieldTypeCount] = {
    "End",
    "KindSelect",
    "UnitNumber",
    "LevelBit",
    "TriggerNumber",
    "SmallDigit",
    "HexDigit",
    "IndexRegister",
    "EntryNumber",
    "CharByte",
    "PatternByte",
    "EntryByte",
    "LabelNumber",
    "WaitTime",
    "ClearSelect",
    "OutputLineSelect",
    "SignalLineSelect",
    "CompareSelect",
    "RegisterValue",
    "TimerValue",
    "CounterValue",
    "RegCaption",
    "PlusRegCaption",
    "EqualsCaption",
    "LabelCaption",
    "TriggerZeroCaption",
};

// The rows that are not all End, written row by row as a literal table: "Type*8" repeats.
struct ExpectedRow {
  const char* instruction;
  int kind;
  const char* positions;
};

// clang-format off
const ExpectedRow ExpectedRows[] = {
    {"SEND", 0, "KindSelect CharByte*8"},
    {"SEND", 1, "KindSelect HexDigit"},
    {"SEND", 2, "KindSelect HexDigit"},
    {"SEND", 3, "KindSelect"},
    {"SEND", 4, "KindSelect"},
    {"SEND", 5, "KindSelect EntryNumber PlusRegCaption IndexRegister"},
    {"WAIT", 0, "KindSelect PatternByte*8"},
    {"WAIT", 1, "KindSelect ClearSelect"},
    {"WAIT", 2, "KindSelect TriggerNumber"},
    {"WAIT", 3, "KindSelect WaitTime"},
    {"WAIT", 4, "KindSelect"},
    {"WAIT", 5, "KindSelect SignalLineSelect EqualsCaption LevelBit"},
    {"GOTO", 0, "LabelCaption LabelNumber"},
    {"IF",   0, "KindSelect PatternByte*8 LabelCaption LabelNumber"},
    {"IF",   1, "KindSelect TriggerNumber LabelCaption LabelNumber"},
    {"IF",   2, "KindSelect UnitNumber LabelCaption LabelNumber"},
    {"IF",   3, "KindSelect UnitNumber LabelCaption LabelNumber"},
    {"IF",   4, "KindSelect SignalLineSelect EqualsCaption LevelBit LabelCaption LabelNumber"},
    {"IF",   5, "KindSelect HexDigit CompareSelect RegCaption HexDigit LabelCaption LabelNumber"},
    {"IF",   6, "KindSelect HexDigit LabelCaption LabelNumber"},
    {"IF",   7, "KindSelect EntryNumber PlusRegCaption IndexRegister LabelCaption LabelNumber"},
    {"CALL", 0, "LabelCaption LabelNumber"},
    {"SET",  0, "KindSelect HexDigit RegisterValue"},
    {"SET",  1, "KindSelect OutputLineSelect EqualsCaption LevelBit"},
    {"SET",  2, "KindSelect UnitNumber TimerValue"},
    {"SET",  3, "KindSelect UnitNumber CounterValue"},
    {"SET",  4, "KindSelect"},
    {"SET",  5, "KindSelect"},
    {"SET",  6, "KindSelect EntryNumber EntryByte*8"},
    {"SET",  7, "KindSelect EntryNumber RegCaption HexDigit SmallDigit"},
    {"INT",  0, "TriggerZeroCaption LabelCaption LabelNumber"},
    {"RETI", 0, "LabelCaption LabelNumber"},
    {"DISI", 0, "TriggerZeroCaption"},
    {"LBL",  0, "LabelNumber"},
};
// clang-format on

const char* const HelpNames[InstructionCount] = {"NOP",  "SEND", "WAIT", "GOTO", "IF",
                                                 "CALL", "RET",  "SET",  "INT",  "RETI",
                                                 "DISI", "STOP", "LBL"};

// The twelve type names of a row, End-padded, from the "Type*8" shorthand.
std::vector<std::string> expand(const char* positions) {
  std::vector<std::string> names;
  std::istringstream in(positions);
  std::string word;
  while (in >> word) {
    int repeat = 1;
    if (const auto star = word.find('*'); star != std::string::npos) {
      repeat = std::stoi(word.substr(star + 1));
      word.resize(star);
    }
    for (int i = 0; i < repeat; ++i) names.push_back(word);
  }
  names.resize(PositionCount, "End");
  return names;
}

std::vector<std::string> expectedRow(int instruction, int kind) {
  for (const ExpectedRow& r : ExpectedRows) {
    if (std::string(r.instruction) == HelpNames[instruction] && r.kind == kind) {
      return expand(r.positions);
    }
  }
  return expand("");
}

std::vector<std::string> actualRow(int instruction, int kind) {
  std::vector<std::string> names;
  for (int p = 0; p < PositionCount; ++p) {
    const auto code = static_cast<int>(fieldTypeAt(instruction, kind, p));
    names.push_back(code >= 0 && code < FieldTypeCount ? TypeNames[code] : "?");
  }
  return names;
}

TEST(LayoutTable, EveryRowMatchesTheLiteralTable) {
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    for (int kind = 0; kind < KindSlotCount; ++kind) {
      SCOPED_TRACE(std::string(HelpNames[instruction]) + " kind " + std::to_string(kind));
      EXPECT_EQ(actualRow(instruction, kind), expectedRow(instruction, kind));
      // The exported table and the accessor agree.
      for (int p = 0; p < PositionCount; ++p) {
        EXPECT_EQ(LayoutTable[static_cast<std::size_t>(instruction)][static_cast<std::size_t>(kind)]
                             [static_cast<std::size_t>(p)],
                  fieldTypeAt(instruction, kind, p));
      }
    }
  }
}

TEST(LayoutTable, EdgeCasesOfTheRows) {
  const int send = 1, gotoCode = 3, ifCode = 4, set = 7, lbl = 12;
  EXPECT_EQ(fieldTypeAt(gotoCode, 0, 0), FieldType::LabelCaption);
  EXPECT_EQ(fieldTypeAt(lbl, 0, 0), FieldType::LabelNumber);
  EXPECT_EQ(fieldTypeAt(send, 3, 1), FieldType::End);
  EXPECT_EQ(fieldTypeAt(send, 6, 0), FieldType::End);
  for (int instruction : {0, 6, 11}) {  // NOP, RET, STOP have no fields at all
    for (int kind = 0; kind < KindSlotCount; ++kind) {
      for (int p = 0; p < PositionCount; ++p) {
        EXPECT_EQ(fieldTypeAt(instruction, kind, p), FieldType::End);
      }
    }
  }
  EXPECT_TRUE(isDataPosition(ifCode, 0, 8));
  EXPECT_FALSE(isDataPosition(ifCode, 0, 9));
  EXPECT_FALSE(isDataPosition(set, 6, 1));
  EXPECT_TRUE(isDataPosition(set, 6, 9));
  EXPECT_FALSE(isDataPosition(set, 6, 10));  // End after the data run
}

TEST(LayoutTable, OutOfRangeArgumentsGiveEnd) {
  struct Case {
    int instruction, kind, position;
  };
  const Case cases[] = {{-1, 0, 0},   {13, 0, 0},   {255, 0, 0},     {1, -1, 1},
                        {1, 9, 1},    {1, 255, 1},  {4, 0, -1},      {4, 0, 12},
                        {4, 0, 1000}, {-5, -5, -5}, {1000000, 0, 0}, {1, 0, 2147483647}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.instruction) + "/" + std::to_string(c.kind) + "/" +
                 std::to_string(c.position));
    EXPECT_EQ(fieldTypeAt(c.instruction, c.kind, c.position), FieldType::End);
    EXPECT_FALSE(isDataPosition(c.instruction, c.kind, c.position));
  }
  EXPECT_EQ(firstDataPosition(13, 0), -1);
  EXPECT_EQ(firstDataPosition(1, 9), -1);
}

TEST(LayoutTable, FirstDataPositionOfEachDataRow) {
  EXPECT_EQ(firstDataPosition(1, 0), 1);  // SEND CHR
  EXPECT_EQ(firstDataPosition(2, 0), 1);  // WAIT CHR
  EXPECT_EQ(firstDataPosition(4, 0), 1);  // IF CHR
  EXPECT_EQ(firstDataPosition(7, 6), 2);  // SET DA
  EXPECT_EQ(firstDataPosition(7, 0), -1);
  EXPECT_EQ(firstDataPosition(3, 0), -1);
}

// Names of a sentinel-closed list as a vector, checking the sentinel is there.
std::vector<std::string> listNames(std::span<const char* const> list) {
  EXPECT_FALSE(list.empty());
  if (list.empty()) return {};
  EXPECT_STREQ(list.back(), "***");
  std::vector<std::string> names;
  for (const char* name : namesOf(list)) names.emplace_back(name);
  EXPECT_EQ(names.size() + 1, list.size());
  return names;
}

using Names = std::vector<std::string>;

TEST(Catalogue, InstructionNames) {
  EXPECT_EQ(listNames(InstructionSelectorList),
            (Names{" NOP", " SEND", " WAIT", " GOTO", " IF", " CALL", " RET", " SET", " INT",
                   " RETI", " DISI", " STOP", " L"}));
  for (int i = 0; i < InstructionCount; ++i) {
    EXPECT_STREQ(InstructionHelpNames[static_cast<std::size_t>(i)], HelpNames[i]);
  }
}

TEST(Catalogue, KindListsPerInstruction) {
  struct Case {
    int instruction;
    Names kinds;
  };
  const Case cases[] = {
      {1, {"CHR", "TBL", "REG", "BUF", "KEY", "DA"}},
      {2, {"CHR", "FRM", "TRG", "TM", "KEY", "LN"}},
      {4, {"CHR", "TRG", "TM", "CT", "LN", "REG", "TBL", "DA"}},
      {7, {"REG", "LN", "TM", "CT", "BZ", "OUT", "DA", "DV"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.instruction);
    EXPECT_EQ(listNames(kindNameList(c.instruction)), c.kinds);
    EXPECT_EQ(kindCount(c.instruction), static_cast<int>(c.kinds.size()));
    EXPECT_TRUE(hasKinds(c.instruction));
    // Exactly these instructions open their rows with the kind selector.
    EXPECT_EQ(fieldTypeAt(c.instruction, 0, 0), FieldType::KindSelect);
  }
  EXPECT_EQ(kindNameList(1).data(), SendKindNameList.data());
  EXPECT_EQ(kindNameList(7).data(), SetKindNameList.data());
  for (int instruction : {-1, 0, 3, 5, 6, 8, 9, 10, 11, 12, 13}) {
    SCOPED_TRACE(instruction);
    EXPECT_TRUE(kindNameList(instruction).empty());
    EXPECT_EQ(kindCount(instruction), 0);
    EXPECT_FALSE(hasKinds(instruction));
    EXPECT_NE(fieldTypeAt(instruction, 0, 0), FieldType::KindSelect);
  }
}

TEST(Catalogue, OptionListsOfListFields) {
  struct Case {
    FieldType type;
    Names options;
  };
  const Case cases[] = {
      {FieldType::ClearSelect, {"CLR", "NOCLR"}},
      {FieldType::OutputLineSelect, {"RS", "CS", "DR", "CD", "ER", "SQ", "CI"}},
      {FieldType::SignalLineSelect, {"RS", "CS", "DR", "CD", "ER", "SQ", "CI", "EX"}},
      {FieldType::CompareSelect, {"=", "<>", "<", ">", "<=", ">="}},
      {FieldType::RegisterValue, {"INC", "DEC"}},
      {FieldType::TimerValue, {"START", "STOP", "RSTART"}},
      {FieldType::CounterValue, {"INC", "RESET"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(TypeNames[static_cast<int>(c.type)]);
    EXPECT_EQ(listNames(optionList(c.type)), c.options);
  }
  EXPECT_EQ(optionList(FieldType::SignalLineSelect).data(), SignalLineList.data());
  // The named arrays hold the same entries as the lists the fields offer.
  EXPECT_EQ(listNames(CompareOperatorList), listNames(optionList(FieldType::CompareSelect)));
  EXPECT_EQ(listNames(ClearOptionList), listNames(optionList(FieldType::ClearSelect)));
  EXPECT_EQ(listNames(RegisterWordList), (Names{"INC", "DEC"}));
  EXPECT_EQ(listNames(TimerWordList), (Names{"START", "STOP", "RSTART"}));
  EXPECT_EQ(listNames(CounterWordList), (Names{"INC", "RESET"}));
  for (FieldType type : {FieldType::End, FieldType::KindSelect, FieldType::HexDigit,
                         FieldType::LabelNumber, FieldType::RegCaption}) {
    EXPECT_TRUE(optionList(type).empty());
  }
}

TEST(Catalogue, CaptionTexts) {
  EXPECT_STREQ(captionText(FieldType::RegCaption), "REG");
  EXPECT_STREQ(captionText(FieldType::PlusRegCaption), "+REG");
  EXPECT_STREQ(captionText(FieldType::EqualsCaption), "=");
  EXPECT_STREQ(captionText(FieldType::LabelCaption), "L");
  EXPECT_STREQ(captionText(FieldType::TriggerZeroCaption), "TRG 0");
  for (FieldType type : {FieldType::End, FieldType::KindSelect, FieldType::CounterValue}) {
    EXPECT_EQ(captionText(type), nullptr);
  }
}

// Where each field of a row goes: a HexDigit takes the first parameter byte its row leaves free.
TEST(Catalogue, FieldLineBytesFollowTheRow) {
  struct Case {
    int instruction;
    int kind;
    std::vector<int> bytes;  // per position up to the row's end
  };
  const Case cases[] = {
      {1, 1, {1, 2}},                       // SEND TBL: kind, table
      {1, 5, {1, 2, 0, 3}},                 // SEND DA: kind, entry, +REG, index register
      {2, 3, {1, 2}},                       // WAIT TM: kind, time from byte 2
      {4, 5, {1, 2, 3, 0, 4, 0, 12}},       // IF REG: register, comparison, REG, register, L
      {7, 0, {1, 2, 3}},                    // SET REG: register, value's word byte
      {7, 7, {1, 2, 0, 3, 4}},              // SET DV: entry, REG, register, digit
      {12, 0, {12}},                        // LBL: the label
      {1, 0, {1, 4, 4, 4, 4, 4, 4, 4, 4}},  // SEND CHR: data from byte 4
  };
  for (const Case& c : cases) {
    std::vector<int> bytes;
    for (int p = 0; fieldTypeAt(c.instruction, c.kind, p) != FieldType::End; ++p) {
      bytes.push_back(fieldLineByte(c.instruction, c.kind, p));
    }
    EXPECT_EQ(bytes, c.bytes) << c.instruction << " " << c.kind;
  }
}

// The names messages give a value: a HexDigit is the table in a TBL row and a register elsewhere.
TEST(Catalogue, FieldNamesInMessages) {
  struct Case {
    FieldType type;
    int instruction;
    int kind;
    const char* name;
  };
  // clang-format off
  const Case cases[] = {
      {FieldType::HexDigit,         1, 1, "table"},           // SEND TBL
      {FieldType::HexDigit,         4, 6, "table"},           // IF TBL
      {FieldType::HexDigit,         1, 2, "register"},        // SEND REG
      {FieldType::HexDigit,         4, 5, "register"},        // IF REG
      {FieldType::HexDigit,         7, 7, "register"},        // SET DV
      {FieldType::IndexRegister,    1, 5, "index register"},
      {FieldType::PatternByte,      2, 0, "data byte"},
      {FieldType::EntryByte,        7, 6, "data byte"},
      {FieldType::WaitTime,         2, 3, "time"},
      {FieldType::ClearSelect,      2, 1, "CLR or NOCLR"},
      {FieldType::OutputLineSelect, 7, 1, "output line"},
      {FieldType::CompareSelect,    4, 5, "comparison"},
      {FieldType::CounterValue,     7, 3, "value"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(fieldName(c.type, c.instruction, c.kind), c.name)
        << TypeNames[static_cast<std::size_t>(c.type)] << " in " << c.instruction << " " << c.kind;
  }
}

// Bounds in the field's radix with upper-case digits; padded to the field's digits when asked.
TEST(Catalogue, BoundTexts) {
  struct Case {
    FieldType type;
    std::uint32_t value;
    const char* plain;
    const char* padded;
  };
  // clang-format off
  const Case cases[] = {
      {FieldType::HexDigit,      15,     "F",      "F"},
      {FieldType::CharByte,      0,      "0",      "00"},
      {FieldType::PatternByte,   255,    "FF",     "FF"},
      {FieldType::EntryByte,     10,     "A",      "0A"},
      {FieldType::LabelNumber,   0,      "0",      "000"},
      {FieldType::WaitTime,      1,      "1",      "0001"},
      {FieldType::EntryNumber,   99,     "99",     "99"},
      {FieldType::CounterValue,  999999, "999999", "999999"},
      {FieldType::TimerValue,    1,      "1",      "000001"},
      {FieldType::ClearSelect,   1,      "",       ""},  // no number
  };
  // clang-format on
  for (const Case& c : cases) {
    const char* name = TypeNames[static_cast<std::size_t>(c.type)];
    EXPECT_EQ(boundText(c.value, c.type, false), c.plain) << name << " " << c.value;
    EXPECT_EQ(boundText(c.value, c.type, true), c.padded) << name << " " << c.value;
  }
}

TEST(Catalogue, OnlyARetiLabelTakesTheAnyMark) {
  EXPECT_EQ(fieldTokens(9, FieldType::LabelNumber), TokenMode::AnyMark);
  for (int instruction : {3, 4, 5, 8, 12}) {
    EXPECT_EQ(fieldTokens(instruction, FieldType::LabelNumber), TokenMode::None) << instruction;
  }
  EXPECT_EQ(fieldTokens(1, FieldType::IndexRegister), TokenMode::AnyMark);
  EXPECT_EQ(fieldTokens(2, FieldType::PatternByte), TokenMode::PatternMarks);
  EXPECT_EQ(fieldTokens(7, FieldType::TimerValue), TokenMode::TimerWords);
}

TEST(Catalogue, NamesOfStopsAtTheSentinel) {
  const std::array<const char*, 4> list = {"A", "***", "B", "***"};
  EXPECT_EQ(namesOf(list).size(), 1u);
  EXPECT_TRUE(namesOf(std::span<const char* const>{}).empty());
  const std::array<const char*, 2> unclosed = {"A", "B"};
  EXPECT_EQ(namesOf(unclosed).size(), 2u);
}

}  // namespace
}  // namespace vx
