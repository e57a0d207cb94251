#include "catalogue/line_fields.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace vx {
namespace {

// The instruction codes as the encoder takes them.
constexpr int code(Instruction instruction) { return static_cast<int>(instruction); }
constexpr int Nop = code(Instruction::Nop), Send = code(Instruction::Send),
              Wait = code(Instruction::Wait), Goto = code(Instruction::Goto),
              If = code(Instruction::If), Call = code(Instruction::Call),
              Ret = code(Instruction::Ret), Set = code(Instruction::Set),
              Int = code(Instruction::Int), Reti = code(Instruction::Reti),
              Disi = code(Instruction::Disi), Stop = code(Instruction::Stop),
              Lbl = code(Instruction::Lbl);

using Bytes = std::array<std::uint8_t, 16>;
using Positions = std::array<PositionEntry, PositionCount>;

// Records the corrections in the order they are given.
class RecordingFeedback : public FieldFeedback {
 public:
  void showPositionText(int position, std::string_view text) override {
    events.push_back("show " + std::to_string(position) + " " + std::string(text));
  }
  void clearCharacterCell(int dataIndex) override {
    events.push_back("clear " + std::to_string(dataIndex));
  }
  std::vector<std::string> events;
};

// Position texts from position 0 on; position 0 carries the kind selection.
Positions positionsOf(int kindSelection, std::initializer_list<const char*> texts) {
  Positions positions;
  positions[0].selection = kindSelection;
  std::size_t p = 0;
  for (const char* text : texts) positions[p++].text = text;
  return positions;
}

Bytes bytesOf(std::initializer_list<std::pair<int, int>> setBytes) {
  Bytes b{};
  for (auto [index, value] : setBytes) {
    b[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value);
  }
  return b;
}

}  // namespace

// Readable failure messages for decoded records.
void PrintTo(const LineFields& f, std::ostream* os) {
  *os << "{instruction " << int{f.instruction} << ", kind " << int{f.kind} << ", paramA "
      << int{f.paramA} << ", paramB " << int{f.paramB} << ", paramC " << int{f.paramC} << ", label "
      << f.label << ", value " << f.value << ", count " << int{f.count} << ", data";
  for (std::uint8_t d : f.data) *os << ' ' << int{d};
  *os << '}';
}

namespace {

ProgramLine lineOf(const Bytes& b) {
  ProgramLine line;
  line.bytes = b;
  return line;
}

// ---------------------------------------------------------------------------------------------
// Encoding: one case per row shape, with literal bytes and the feedback they give.

struct EncodeCase {
  const char* name;
  int instruction;
  Positions positions;
  Bytes expected;
  std::vector<std::string> feedback;
};

Positions withSelection(Positions positions, int position, int selection) {
  positions[static_cast<std::size_t>(position)].selection = selection;
  return positions;
}

std::vector<EncodeCase> encodeCases() {
  const char* e = "";
  return {
      {"SEND CHR gap inside the count",
       Send,
       positionsOf(0, {e, "41", e, "43", e, e, e, e, e}),
       bytesOf({{0, Send}, {2, 3}, {4, 0x41}, {6, 0x43}}),
       {"clear 1", "clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
      {"WAIT CHR tokens set the mask",
       Wait,
       positionsOf(0, {e, "*", "|>", "0D", e, e, e, e, e}),
       bytesOf({{0, Wait}, {2, 3}, {3, 0b011}, {4, 0}, {5, 1}, {6, 0x0D}}),
       {"clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
      {"IF CHR without data keeps the label",
       If,
       positionsOf(0, {e, e, e, e, e, e, e, e, e, "L", "12"}),
       bytesOf({{0, If}, {12, 12}}),
       {"clear 0", "clear 1", "clear 2", "clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
      {"SET DA count in byte 3",
       Set,
       positionsOf(6, {e, "7", "FF", e, e, e, e, e, e, e}),
       bytesOf({{0, Set}, {1, 6}, {2, 7}, {3, 1}, {4, 0xFF}}),
       {"clear 1", "clear 2", "clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
      {"data: invalid shows 00, last number ends the count",
       Send,
       positionsOf(0, {e, "zz", "1", e, e, e, e, e, "ff"}),
       bytesOf({{0, Send}, {2, 8}, {5, 1}, {11, 0xFF}}),
       {"show 1 00", "clear 2", "clear 3", "clear 4", "clear 5", "clear 6"}},
      {"CHR rows know no tokens",
       Send,
       positionsOf(0, {e, "*", "|>", "1", e, e, e, e, e}),
       bytesOf({{0, Send}, {2, 3}, {6, 1}}),
       {"show 1 00", "show 2 00", "clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
      {"RETI any label",
       Reti,
       positionsOf(-1, {"L", "*"}),
       bytesOf({{0, Reti}, {12, 0xFF}, {13, 0xFF}}),
       {}},
      {"RETI label",
       Reti,
       positionsOf(-1, {"L", "999"}),
       bytesOf({{0, Reti}, {12, 0xE7}, {13, 0x03}}),
       {}},
      {"GOTO * is label 0", Goto, positionsOf(-1, {"L", "*"}), bytesOf({{0, Goto}}), {}},
      {"CALL keeps the last 3 digits",
       Call,
       positionsOf(-1, {"L", "1234"}),
       bytesOf({{0, Call}, {12, 234}}),
       {}},
      {"INT label at position 2",
       Int,
       positionsOf(-1, {"TRG 0", "L", "7"}),
       bytesOf({{0, Int}, {12, 7}}),
       {}},
      {"LBL label at position 0",
       Lbl,
       positionsOf(-1, {"300"}),
       bytesOf({{0, Lbl}, {12, 0x2C}, {13, 0x01}}),
       {}},
      {"NOP is byte 0 alone", Nop, positionsOf(3, {"12", "34", "56"}), bytesOf({}), {}},
      {"RET ignores its positions", Ret, positionsOf(3, {"12", "34"}), bytesOf({{0, Ret}}), {}},
      {"DISI", Disi, positionsOf(1, {"TRG 0", "5"}), bytesOf({{0, Disi}}), {}},
      {"STOP", Stop, positionsOf(1, {"5"}), bytesOf({{0, Stop}}), {}},
      {"SET TM word",
       Set,
       positionsOf(2, {e, "1", "RSTART"}),
       bytesOf({{0, Set}, {1, 2}, {2, 1}, {3, 3}}),
       {}},
      {"SET TM number",
       Set,
       positionsOf(2, {e, "0", "1500"}),
       bytesOf({{0, Set}, {1, 2}, {4, 0xDC}, {5, 0x05}}),
       {}},
      {"SET TM empty stores 1",
       Set,
       positionsOf(2, {e, e, e}),
       bytesOf({{0, Set}, {1, 2}, {4, 1}}),
       {}},
      {"SET CT word",
       Set,
       positionsOf(3, {e, "1", "RESET"}),
       bytesOf({{0, Set}, {1, 3}, {2, 1}, {3, 2}}),
       {}},
      {"SET REG keeps 6 digits",
       Set,
       positionsOf(0, {e, "f", "1234567"}),
       bytesOf({{0, Set}, {2, 15}, {4, 0x47}, {5, 0x94}, {6, 0x03}}),
       {}},
      {"SET REG empty stores 0", Set, positionsOf(0, {e, "1", e}), bytesOf({{0, Set}, {2, 1}}), {}},
      {"IF REG registers and operator",
       If,
       withSelection(positionsOf(5, {e, "a", e, "REG", "b", "L", "5"}), 2, 4),
       bytesOf({{0, If}, {1, 5}, {2, 0xA}, {3, 4}, {4, 0xB}, {12, 5}}),
       {}},
      {"SET DV register and small digit",
       Set,
       positionsOf(7, {e, "12", "REG", "c", "6"}),
       bytesOf({{0, Set}, {1, 7}, {2, 12}, {3, 0xC}, {4, 6}}),
       {}},
      {"SEND DA index register *",
       Send,
       positionsOf(5, {e, "99", "+REG", "*"}),
       bytesOf({{0, Send}, {1, 5}, {2, 99}, {3, 255}}),
       {}},
      {"IF DA index register number",
       If,
       positionsOf(7, {e, "5", "+REG", "F", "L", "1"}),
       bytesOf({{0, If}, {1, 7}, {2, 5}, {3, 15}, {12, 1}}),
       {}},
      {"WAIT TM 4 digits",
       Wait,
       positionsOf(3, {e, "123456"}),
       bytesOf({{0, Wait}, {1, 3}, {2, 0x80}, {3, 0x0D}}),
       {}},
      {"WAIT TRG empty stores 1 silently",
       Wait,
       positionsOf(2, {e, e}),
       bytesOf({{0, Wait}, {1, 2}, {2, 1}}),
       {}},
      {"WAIT FRM selection",
       Wait,
       withSelection(positionsOf(1, {}), 1, 1),
       bytesOf({{0, Wait}, {1, 1}, {2, 1}}),
       {}},
      {"WAIT LN signal line EX",
       Wait,
       withSelection(positionsOf(5, {e, e, "=", "1"}), 1, 7),
       bytesOf({{0, Wait}, {1, 5}, {2, 7}, {3, 1}}),
       {}},
      {"SET LN output line CI",
       Set,
       withSelection(positionsOf(1, {e, e, "=", "1"}), 1, 6),
       bytesOf({{0, Set}, {1, 1}, {2, 6}, {3, 1}}),
       {}},
      {"SEND kind without a row",
       Send,
       positionsOf(6, {e, "41"}),
       bytesOf({{0, Send}, {1, 6}}),
       {}},
      {"negative kind selection is the first kind",
       Send,
       positionsOf(-1, {e, "41"}),
       bytesOf({{0, Send}, {2, 1}, {4, 0x41}}),
       {"clear 1", "clear 2", "clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
  };
}

// Unusable texts: the field's minimum is stored, with feedback only where the panel corrects it.
std::vector<EncodeCase> correctionCases() {
  const char* e = "";
  return {
      {"LevelBit",
       Wait,
       positionsOf(5, {e, e, "=", "x"}),
       bytesOf({{0, Wait}, {1, 5}}),
       {"show 3 0"}},
      {"TriggerNumber",
       If,
       positionsOf(1, {e, "x", "L", e}),
       bytesOf({{0, If}, {1, 1}, {2, 1}}),
       {"show 1 1"}},
      {"TriggerNumber clamped, no feedback",
       Wait,
       positionsOf(2, {e, "9"}),
       bytesOf({{0, Wait}, {1, 2}, {2, 3}}),
       {}},
      {"SmallDigit",
       Set,
       positionsOf(7, {e, e, "REG", e, "7x"}),
       bytesOf({{0, Set}, {1, 7}}),
       {"show 4 0"}},
      {"HexDigit", Send, positionsOf(1, {e, "g"}), bytesOf({{0, Send}, {1, 1}}), {"show 1 0"}},
      {"HexDigit of IF REG position 4",
       If,
       withSelection(positionsOf(5, {e, "1", e, "REG", "-", "L", e}), 2, 0),
       bytesOf({{0, If}, {1, 5}, {2, 1}}),
       {"show 4 0"}},
      {"IndexRegister",
       Send,
       positionsOf(5, {e, e, "+REG", "|>"}),
       bytesOf({{0, Send}, {1, 5}}),
       {"show 3 0"}},
      {"UnitNumber silently", If, positionsOf(2, {e, "x", "L", e}), bytesOf({{0, If}, {1, 2}}), {}},
      {"EntryNumber silently",
       Set,
       positionsOf(6, {e, "x"}),
       bytesOf({{0, Set}, {1, 6}}),
       {"clear 0", "clear 1", "clear 2", "clear 3", "clear 4", "clear 5", "clear 6", "clear 7"}},
      {"LabelNumber silently",
       If,
       positionsOf(6, {e, "1", "L", "x"}),
       bytesOf({{0, If}, {1, 6}, {2, 1}}),
       {}},
      {"WaitTime silently",
       Wait,
       positionsOf(3, {e, "x"}),
       bytesOf({{0, Wait}, {1, 3}, {2, 1}}),
       {}},
      {"selection outside the list",
       Wait,
       withSelection(positionsOf(5, {e, e, "=", "1"}), 1, 8),
       bytesOf({{0, Wait}, {1, 5}, {3, 1}}),
       {}},
      {"output line EX is outside its list",
       Set,
       withSelection(positionsOf(1, {e, e, "=", "0"}), 1, 7),
       bytesOf({{0, Set}, {1, 1}}),
       {}},
      {"no operator selected",
       If,
       withSelection(positionsOf(5, {e, "1", e, "REG", "2"}), 2, -1),
       bytesOf({{0, If}, {1, 5}, {2, 1}, {4, 2}}),
       {}},
  };
}

void checkEncode(const EncodeCase& c) {
  SCOPED_TRACE(c.name);
  RecordingFeedback feedback;
  const std::optional<ProgramLine> line = encodeLine(c.instruction, c.positions, &feedback);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->bytes, c.expected);
  EXPECT_EQ(feedback.events, c.feedback);
  // The same line without anyone to tell.
  EXPECT_EQ(encodeLine(c.instruction, c.positions, nullptr), line);
}

TEST(EncodeLine, EveryRowShape) {
  for (const EncodeCase& c : encodeCases()) checkEncode(c);
}

TEST(EncodeLine, UnusableTextsBecomeTheMinimum) {
  for (const EncodeCase& c : correctionCases()) checkEncode(c);
}

TEST(EncodeLine, UnusableValueWordFailsButKeepsEarlierFeedback) {
  struct Case {
    const char* name;
    int kind;
    const char* value;
  };
  const Case cases[] = {
      {"SET REG lower case", 0, "inc"},   {"SET REG timer word", 0, "START"},
      {"SET TM letters", 2, "abc"},       {"SET TM trailing blank", 2, "15 "},
      {"SET CT register word", 3, "DEC"}, {"SET CT star", 3, "*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingFeedback feedback;
    // SET REG has a HexDigit in front of the value; SET TM and CT a silent UnitNumber.
    const Positions positions = positionsOf(c.kind, {"", "g", c.value});
    EXPECT_EQ(encodeLine(Set, positions, &feedback), std::nullopt);
    const std::vector<std::string> expected =
        c.kind == 0 ? std::vector<std::string>{"show 1 0"} : std::vector<std::string>{};
    EXPECT_EQ(feedback.events, expected);
  }
}

// Records what the command-line tool is told: each value stored otherwise than its text states.
class ReplacementLog : public FieldFeedback {
 public:
  void showPositionText(int, std::string_view) override {}
  void clearCharacterCell(int) override {}
  void valueReplaced(int position, std::string_view stored) override {
    events.push_back(std::to_string(position) + " " + std::string(stored));
  }
  std::vector<std::string> events;
};

TEST(EncodeLine, EveryValueStoredOtherwiseThanItsTextIsReported) {
  struct Case {
    const char* name;
    int instruction;
    Positions positions;
    std::vector<std::string> replaced;  // "position stored"
  };
  constexpr int WaitTm = 3;
  // clang-format off
  const Case cases[] = {
      {"label with letters",         Goto, positionsOf(-1, {"L", "12x"}),       {"1 0"}},
      {"label of four digits",       Goto, positionsOf(-1, {"L", "1000"}),      {"1 0"}},
      {"label past its range",       Call, positionsOf(-1, {"L", "-1"}),        {"1 999"}},
      {"label as given",             Goto, positionsOf(-1, {"L", "999"}),       {}},
      {"blank before a number",      Goto, positionsOf(-1, {"L", " 12"}),       {}},
      {"any label of RETI",          Reti, positionsOf(-1, {"L", "*"}),         {}},
      {"data bytes cut and unusable", Send, positionsOf(0, {"", "4142", "zz", "7", ""}),
                                                                              {"1 42", "2 00"}},
      {"data byte with prefix",      Send, positionsOf(0, {"", "0x41"}),        {}},
      {"wait time below its minimum", Wait, positionsOf(WaitTm, {"", "0"}),    {"1 1"}},
      {"wait time of five digits",   Wait, positionsOf(WaitTm, {"", "10000"}), {"1 1"}},
      {"wait time with letters",     Wait, positionsOf(WaitTm, {"", "abc"}),   {"1 1"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReplacementLog log;
    EXPECT_TRUE(encodeLine(c.instruction, c.positions, &log).has_value());
    EXPECT_EQ(log.events, c.replaced);
  }
}

TEST(EncodeLine, InstructionSelectionOutsideTheListFails) {
  const Positions positions = positionsOf(0, {"", "41"});
  for (int instruction : {-1, 13, 255, 256, 1000}) {
    RecordingFeedback feedback;
    EXPECT_EQ(encodeLine(instruction, positions, &feedback), std::nullopt) << instruction;
    EXPECT_TRUE(feedback.events.empty());
  }
}

TEST(EncodeLine, OnlyTheFirst255CharactersOfATextCount) {
  Positions positions = positionsOf(-1, {"L"});
  positions[1].text = std::string(253, '0') + "42" + "x";  // the "x" lies beyond 255
  const auto line = encodeLine(Goto, positions, nullptr);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->bytes[12], 42);
}

// ---------------------------------------------------------------------------------------------
// Decoding.

TEST(DecodeLine, EveryFieldOfItsRow) {
  struct Case {
    const char* name;
    Bytes bytes;
    LineFields expected;
  };
  const std::array<std::uint8_t, 8> noData{};
  const Case cases[] = {
      {"SEND DA with index register *",
       bytesOf({{0, Send}, {1, 5}, {2, 12}, {3, 255}}),
       {Send, 5, 12, 255, 0, 0, 0, 0, noData}},
      {"IF REG",
       bytesOf({{0, If}, {1, 5}, {2, 1}, {3, 3}, {4, 2}, {12, 0x34}, {13, 0x12}}),
       {If, 5, 1, 3, 2, 0x1234, 0, 0, noData}},
      {"SET DV",
       bytesOf({{0, Set}, {1, 7}, {2, 42}, {3, 9}, {4, 6}}),
       {Set, 7, 42, 9, 6, 0, 0, 0, noData}},
      {"WAIT TM",
       bytesOf({{0, Wait}, {1, 3}, {2, 0x0F}, {3, 0x27}, {4, 1}, {5, 2}}),
       {Wait, 3, 0, 0, 0, 0, 0x0201270F, 0, noData}},
      {"SET CT word",
       bytesOf({{0, Set}, {1, 3}, {2, 1}, {3, 2}, {4, 5}, {7, 0x80}}),
       {Set, 3, 1, 2, 0, 0, 0x80000005, 0, noData}},
      {"WAIT CHR mask in paramA, count 2",
       bytesOf({{0, Wait}, {2, 2}, {3, 0x81}, {4, 7}, {5, 8}, {6, 9}}),
       {Wait, 0, 0x81, 0, 0, 0, 0, 2, {7, 8, 0, 0, 0, 0, 0, 0}}},
      {"SET DA count in byte 3",
       bytesOf({{0, Set}, {1, 6}, {2, 3}, {3, 1}, {4, 0xAB}, {5, 1}}),
       {Set, 6, 3, 0, 0, 0, 0, 1, {0xAB, 0, 0, 0, 0, 0, 0, 0}}},
      {"RETI any label",
       bytesOf({{0, Reti}, {12, 0xFF}, {13, 0xFF}}),
       {Reti, 0, 0, 0, 0, 0xFFFF, 0, 0, noData}},
      {"SEND without the kind's row",
       bytesOf({{0, Send}, {1, 6}, {2, 5}, {12, 1}}),
       {Send, 0, 0, 0, 0, 0, 0, 0, noData}},
      {"GOTO with a kind byte finds no row",
       bytesOf({{0, Goto}, {1, 1}, {12, 1}}),
       {Goto, 0, 0, 0, 0, 0, 0, 0, noData}},
      {"instruction above 12",
       bytesOf({{0, 13}, {1, 0}, {2, 8}, {12, 1}}),
       {13, 0, 0, 0, 0, 0, 0, 0, noData}},
      {"count above 8 passed on, 8 bytes of data",
       bytesOf({{0, Send}, {2, 200}, {4, 1}, {11, 8}, {12, 0xEE}, {14, 0xEE}}),
       {Send, 0, 0, 0, 0, 0, 0, 200, {1, 0, 0, 0, 0, 0, 0, 8}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodeLine(lineOf(c.bytes)), c.expected);
  }
}

// Lines a loaded file may hold: every value of bytes 0 and 1 together, and of bytes 2 and 3 for
// every row, with the other bytes at a few fillers. Decoding stays inside the line and the table
// (the sanitizer build checks the memory side) and keeps to what the row allows.
TEST(DecodeLine, AnyByteValuesStayInsideTheRow) {
  for (int b0 = 0; b0 < 256; ++b0) {
    for (int b1 = 0; b1 < 256; ++b1) {
      for (std::uint8_t filler : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x05}}) {
        Bytes b;
        b.fill(filler);
        b[0] = static_cast<std::uint8_t>(b0);
        b[1] = static_cast<std::uint8_t>(b1);
        const LineFields f = decodeLine(lineOf(b));
        ASSERT_EQ(f.instruction, b0);
        if (fieldTypeAt(b0, b1, 0) == FieldType::End) {
          LineFields only;
          only.instruction = static_cast<std::uint8_t>(b0);
          ASSERT_EQ(f, only) << b0 << "/" << b1;
        }
        ASSERT_TRUE(b0 < InstructionCount || f.kind == 0) << b0;
      }
    }
  }
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    for (int kind = 0; kind < KindSlotCount; ++kind) {
      const int first = firstDataPosition(instruction, kind);
      for (int index : {2, 3}) {
        for (int v = 0; v < 256; ++v) {
          Bytes b;
          for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(0x10 + i);
          b[0] = static_cast<std::uint8_t>(instruction);
          b[1] = static_cast<std::uint8_t>(kind);
          b[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(v);
          const LineFields f = decodeLine(lineOf(b));
          if (first < 0) {
            ASSERT_EQ(f.count, 0);
            ASSERT_EQ(f.data, (std::array<std::uint8_t, 8>{}));
            continue;
          }
          const bool countInByte3 = fieldTypeAt(instruction, kind, first) == FieldType::EntryByte;
          const int count = b[countInByte3 ? 3 : 2];
          ASSERT_EQ(f.count, count);  // passed on unchanged, above 8 too
          for (int i = 0; i < 8; ++i) {
            const std::uint8_t expected = i < count ? b[static_cast<std::size_t>(4 + i)] : 0;
            ASSERT_EQ(f.data[static_cast<std::size_t>(i)], expected)
                << instruction << "/" << kind << " byte " << index << "=" << v << " data " << i;
          }
        }
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Round trip over every row: typed values come back from the stored line, and no byte outside
// the fields of the row is written.

struct Sample {
  std::string text;
  int selection = -1;
};

// A value per position type that differs from the type's minimum, where the type allows.
Sample sampleFor(FieldType type, int position, int dataIndex) {
  switch (type) {
    case FieldType::UnitNumber:
    case FieldType::LevelBit:
      return {"1", -1};
    case FieldType::TriggerNumber:
      return {"3", -1};
    case FieldType::SmallDigit:
      return {"6", -1};
    case FieldType::HexDigit: {
      const int v = 9 + position;  // distinct per position: IF REG has two
      return {std::string(1, "0123456789abcdef"[v]), -1};
    }
    case FieldType::IndexRegister:
      return {"*", -1};
    case FieldType::EntryNumber:
      return {"42", -1};
    case FieldType::CharByte:
    case FieldType::PatternByte:
    case FieldType::EntryByte: {
      const int v = 0x1F + dataIndex * 0x20;
      const char* digits = "0123456789ABCDEF";
      const std::string text = {digits[v >> 4], digits[v & 0xF]};
      return {text, -1};
    }
    case FieldType::LabelNumber:
      return {"987", -1};
    case FieldType::WaitTime:
      return {"9999", -1};
    case FieldType::ClearSelect:
      return {"", 1};
    case FieldType::OutputLineSelect:
      return {"", 6};
    case FieldType::SignalLineSelect:
      return {"", 7};
    case FieldType::CompareSelect:
      return {"", 5};
    case FieldType::RegisterValue:
    case FieldType::TimerValue:
    case FieldType::CounterValue:
      return {"999999", -1};
    default:
      return {"", -1};
  }
}

// What each row stores for the samples above and what decoding gives back: the sample values
// in their fields, and no byte written outside the row's fields. Rows in layout order.
struct RoundTripRow {
  const char* name;
  int instruction;
  int kind;
  LineFields fields;  // instruction, kind, paramA, paramB, paramC, label, value, count, data
  Bytes bytes;        // the stored line
};

// clang-format off
const RoundTripRow RoundTripRows[] = {
  {"NOP", Nop, 0,
   {Nop, 0, 0, 0, 0, 0, 0, 0, {}},
   {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SEND CHR", Send, 0,
   {Send, 0, 0, 0, 0, 0, 0, 8, {0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF}},
   {0x01, 0x00, 0x08, 0x00, 0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
  {"SEND TBL", Send, 1,
   {Send, 1, 10, 0, 0, 0, 0, 0, {}},
   {0x01, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SEND REG", Send, 2,
   {Send, 2, 10, 0, 0, 0, 0, 0, {}},
   {0x01, 0x02, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SEND BUF", Send, 3,
   {Send, 3, 0, 0, 0, 0, 0, 0, {}},
   {0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SEND KEY", Send, 4,
   {Send, 4, 0, 0, 0, 0, 0, 0, {}},
   {0x01, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SEND DA", Send, 5,
   {Send, 5, 42, 255, 0, 0, 0, 0, {}},
   {0x01, 0x05, 0x2A, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"WAIT CHR", Wait, 0,
   {Wait, 0, 0, 0, 0, 0, 0, 8, {0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF}},
   {0x02, 0x00, 0x08, 0x00, 0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
  {"WAIT FRM", Wait, 1,
   {Wait, 1, 1, 0, 0, 0, 0, 0, {}},
   {0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"WAIT TRG", Wait, 2,
   {Wait, 2, 3, 0, 0, 0, 0, 0, {}},
   {0x02, 0x02, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"WAIT TM", Wait, 3,
   {Wait, 3, 0, 0, 0, 0, 9999, 0, {}},
   {0x02, 0x03, 0x0F, 0x27, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"WAIT KEY", Wait, 4,
   {Wait, 4, 0, 0, 0, 0, 0, 0, {}},
   {0x02, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"WAIT LN", Wait, 5,
   {Wait, 5, 7, 1, 0, 0, 0, 0, {}},
   {0x02, 0x05, 0x07, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"GOTO", Goto, 0,
   {Goto, 0, 0, 0, 0, 987, 0, 0, {}},
   {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF CHR", If, 0,
   {If, 0, 0, 0, 0, 987, 0, 8, {0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF}},
   {0x04, 0x00, 0x08, 0x00, 0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF, 0xDB, 0x03, 0x00, 0x00}},
  {"IF TRG", If, 1,
   {If, 1, 3, 0, 0, 987, 0, 0, {}},
   {0x04, 0x01, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF TM", If, 2,
   {If, 2, 1, 0, 0, 987, 0, 0, {}},
   {0x04, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF CT", If, 3,
   {If, 3, 1, 0, 0, 987, 0, 0, {}},
   {0x04, 0x03, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF LN", If, 4,
   {If, 4, 7, 1, 0, 987, 0, 0, {}},
   {0x04, 0x04, 0x07, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF REG", If, 5,
   {If, 5, 10, 5, 13, 987, 0, 0, {}},
   {0x04, 0x05, 0x0A, 0x05, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF TBL", If, 6,
   {If, 6, 10, 0, 0, 987, 0, 0, {}},
   {0x04, 0x06, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"IF DA", If, 7,
   {If, 7, 42, 255, 0, 987, 0, 0, {}},
   {0x04, 0x07, 0x2A, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"CALL", Call, 0,
   {Call, 0, 0, 0, 0, 987, 0, 0, {}},
   {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"RET", Ret, 0,
   {Ret, 0, 0, 0, 0, 0, 0, 0, {}},
   {0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET REG", Set, 0,
   {Set, 0, 10, 0, 0, 0, 999999, 0, {}},
   {0x07, 0x00, 0x0A, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET LN", Set, 1,
   {Set, 1, 6, 1, 0, 0, 0, 0, {}},
   {0x07, 0x01, 0x06, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET TM", Set, 2,
   {Set, 2, 1, 0, 0, 0, 999999, 0, {}},
   {0x07, 0x02, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET CT", Set, 3,
   {Set, 3, 1, 0, 0, 0, 999999, 0, {}},
   {0x07, 0x03, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET BZ", Set, 4,
   {Set, 4, 0, 0, 0, 0, 0, 0, {}},
   {0x07, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET OUT", Set, 5,
   {Set, 5, 0, 0, 0, 0, 0, 0, {}},
   {0x07, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"SET DA", Set, 6,
   {Set, 6, 42, 0, 0, 0, 0, 8, {0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF}},
   {0x07, 0x06, 0x2A, 0x08, 0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
  {"SET DV", Set, 7,
   {Set, 7, 42, 12, 6, 0, 0, 0, {}},
   {0x07, 0x07, 0x2A, 0x0C, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"INT", Int, 0,
   {Int, 0, 0, 0, 0, 987, 0, 0, {}},
   {0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
  {"RETI", Reti, 0,
   {Reti, 0, 0, 0, 0, 65535, 0, 0, {}},
   {0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}},
  {"DISI", Disi, 0,
   {Disi, 0, 0, 0, 0, 0, 0, 0, {}},
   {0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"STOP", Stop, 0,
   {Stop, 0, 0, 0, 0, 0, 0, 0, {}},
   {0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
  {"LBL", Lbl, 0,
   {Lbl, 0, 0, 0, 0, 987, 0, 0, {}},
   {0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDB, 0x03, 0x00, 0x00}},
};
// clang-format on

TEST(LineRoundTrip, EveryRowGivesBackItsValues) {
  std::size_t next = 0;
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      ASSERT_LT(next, std::size(RoundTripRows)) << "no case for " << instruction << "/" << kind;
      const RoundTripRow& row = RoundTripRows[next++];
      SCOPED_TRACE(row.name);
      ASSERT_EQ(row.instruction, instruction);
      ASSERT_EQ(row.kind, kind);
      Positions positions;
      int dataIndex = 0;
      for (int p = 0; p < PositionCount; ++p) {
        const FieldType type = fieldTypeAt(instruction, kind, p);
        if (type == FieldType::End) break;
        Sample sample = sampleFor(type, p, dataIndex);
        if (type == FieldType::KindSelect) sample = {"", kind};
        if (type == FieldType::LabelNumber && instruction == Reti) sample = {"*", -1};
        positions[static_cast<std::size_t>(p)] = {sample.text, sample.selection};
        if (isDataPosition(instruction, kind, p)) ++dataIndex;
      }
      ASSERT_TRUE(dataIndex == 0 || dataIndex == 8);
      RecordingFeedback feedback;
      const std::optional<ProgramLine> line = encodeLine(instruction, positions, &feedback);
      ASSERT_TRUE(line.has_value());
      EXPECT_TRUE(feedback.events.empty());
      EXPECT_EQ(line->bytes, row.bytes);
      EXPECT_EQ(decodeLine(*line), row.fields);
    }
  }
  EXPECT_EQ(next, std::size(RoundTripRows));
}

// Decoding a stored line and typing its values back gives the same bytes: the pattern tokens
// and the RETI "*" included.
TEST(LineRoundTrip, TokensSurviveDecodeAndEncode) {
  const Positions typed = positionsOf(0, {"", "*", "|>", "41", "", "*", "", "", "", "L", "5"});
  const auto line = encodeLine(If, typed, nullptr);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->bytes, bytesOf({{0, If}, {2, 5}, {3, 0b10011}, {5, 1}, {6, 0x41}, {12, 5}}));
  const LineFields f = decodeLine(*line);
  EXPECT_EQ(f.count, 5);
  EXPECT_EQ(f.paramA, 0b10011);
  EXPECT_EQ(f.data, (std::array<std::uint8_t, 8>{0, 1, 0x41, 0, 0, 0, 0, 0}));
  EXPECT_EQ(f.label, 5);
}

}  // namespace
}  // namespace vx
