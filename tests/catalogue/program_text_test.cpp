#include "catalogue/program_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"

namespace vx {
namespace {

// A line from its leading bytes (the rest zero) and its label in bytes 12-13.
ProgramLine line(std::initializer_list<std::uint8_t> head, std::uint16_t label = 0) {
  ProgramLine l;
  std::size_t i = 0;
  for (std::uint8_t b : head) l.bytes[i++] = b;
  l.bytes[12] = static_cast<std::uint8_t>(label & 0xFF);
  l.bytes[13] = static_cast<std::uint8_t>(label >> 8);
  return l;
}

std::string hex(const ProgramLine& l) {
  std::string text;
  for (const std::uint8_t b : l.bytes) {
    std::array<char, 4> digits{};
    std::snprintf(digits.data(), digits.size(), "%02x ", b);
    text += digits.data();
  }
  return text;
}

struct ShapeCase {
  ProgramLine line;
  const char* text;
};

// Every instruction and kind, with values at the ends of their fields.
// clang-format off
const ShapeCase ShapeCases[] = {
  {line({0}),                                              "NOP"},
  {line({1, 0, 4, 0, 0x41, 0x54, 0x5a, 0x0d}),             "SEND CHR 41 54 5a 0d"},
  {line({1, 0}),                                           "SEND CHR"},
  {line({1, 0, 8, 0, 0, 1, 2, 3, 4, 5, 6, 0xff}),          "SEND CHR 00 01 02 03 04 05 06 ff"},
  {line({1, 1, 15}),                                       "SEND TBLF"},
  {line({1, 2, 10}),                                       "SEND REGA"},
  {line({1, 3}),                                           "SEND BUF"},
  {line({1, 4}),                                           "SEND KEY"},
  {line({1, 5, 5, 0xff}),                                  "SEND DA05+REG*"},
  {line({1, 5, 99, 11}),                                   "SEND DA99+REGB"},
  {line({2, 0, 3, 0x01, 0x00, 0x0d, 0x41}),                "WAIT CHR * 0d 41"},
  {line({2, 0, 2, 0x03, 0x00, 0x01}),                      "WAIT CHR * |>"},
  {line({2, 0, 3, 0x00, 0x41, 0x00, 0x43}),                "WAIT CHR 41 00 43"},
  {line({2, 1, 0}),                                        "WAIT FRM CLR"},
  {line({2, 1, 1}),                                        "WAIT FRM NOCLR"},
  {line({2, 2, 3}),                                        "WAIT TRG3"},
  {line({2, 3, 1}),                                        "WAIT TM 0001"},
  {line({2, 3, 0x0f, 0x27}),                               "WAIT TM 9999"},
  {line({2, 4}),                                           "WAIT KEY"},
  {line({2, 5, 7, 1}),                                     "WAIT LN EX=1"},
  {line({3}, 7),                                           "GOTO L007"},
  {line({4, 0, 1, 0, 0x41}, 12),                           "IF CHR 41 L012"},
  {line({4, 0}, 1),                                        "IF CHR L001"},
  {line({4, 0, 8, 0x81, 0, 1, 2, 3, 4, 5, 6, 1}, 999),     "IF CHR * 01 02 03 04 05 06 |> L999"},
  {line({4, 1, 1}, 4),                                     "IF TRG1 L004"},
  {line({4, 2, 1}, 40),                                    "IF TM1 L040"},
  {line({4, 3, 0}, 400),                                   "IF CT0 L400"},
  {line({4, 4, 0, 0}, 3),                                  "IF LN RS=0 L003"},
  {line({4, 5, 1, 2, 2}, 3),                               "IF REG1<REG2 L003"},
  {line({4, 5, 10, 5, 15}, 7),                             "IF REG10>=REG15 L007"},
  {line({4, 6, 12}),                                       "IF TBLC L000"},
  {line({4, 7, 0, 0xff}, 8),                               "IF DA00+REG* L008"},
  {line({4, 7, 1, 11}, 8),                                 "IF DA01+REG11 L008"},
  {line({5}, 999),                                         "CALL L999"},
  {line({6}),                                              "RET"},
  {line({7, 0, 3, 0, 100}),                                "SET REG3 000100"},
  {line({7, 0, 15, 2}),                                    "SET REG15 DEC"},
  {line({7, 0, 0, 0, 0x3f, 0x42, 0x0f}),                   "SET REG0 999999"},
  {line({7, 1, 6, 1}),                                     "SET LN CI=1"},
  {line({7, 2, 1, 3}),                                     "SET TM1 RSTART"},
  {line({7, 2, 1, 0, 0xdc, 0x05}),                         "SET TM1 001500"},
  {line({7, 3, 0, 2}),                                     "SET CT0 RESET"},
  {line({7, 3, 1, 0, 1}),                                  "SET CT1 000001"},
  {line({7, 4}),                                           "SET BZ"},
  {line({7, 5}),                                           "SET OUT"},
  {line({7, 6, 5, 2, 0x41, 0x42}),                         "SET DA 05 41 42"},
  {line({7, 6, 0, 0}),                                     "SET DA 00"},
  {line({7, 7, 5, 3, 2}),                                  "SET DV 05 REG3 2"},
  {line({8}, 5),                                           "INT TRG 0 L005"},
  {line({9}, 0xFFFF),                                      "RETI L*"},
  {line({9}, 12),                                          "RETI L012"},
  {line({10}),                                             "DISI TRG 0"},
  {line({11}),                                             "STOP"},
  {line({12}, 5),                                          "L005"},
  {line({12}),                                             "L000"},
};
// clang-format on

TEST(ProgramLineText, EveryShapeIsWrittenAsItsListingAndReadBack) {
  for (const ShapeCase& c : ShapeCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(programLineText(c.line), c.text);
    EXPECT_TRUE(hasListingForm(c.line));
    const LineReading reading = readProgramLine(c.text);
    ASSERT_TRUE(reading.line) << reading.problem;
    EXPECT_EQ(hex(*reading.line), hex(c.line));
  }
}

TEST(ProgramLineText, EveryRowOfTheLayoutHasAShapeCase) {
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      bool covered = false;
      for (const ShapeCase& c : ShapeCases) {
        covered |= c.line.bytes[0] == instruction && c.line.bytes[1] == kind;
      }
      EXPECT_TRUE(covered) << instruction << " " << kind;
    }
  }
}

// Blanks where the listing has one may be several; blanks may stand between the parts of a line;
// names, words and hexadecimal digits in either case; numbers without their leading zeros.
TEST(ProgramLineText, ReadsTheListingTextLoosely) {
  const struct {
    const char* text;
    ProgramLine line;
  } cases[] = {
      {"send chr 41 54 5A 0D", line({1, 0, 4, 0, 0x41, 0x54, 0x5a, 0x0d})},
      {"  SEND \t CHR   41  54\t", line({1, 0, 2, 0, 0x41, 0x54})},
      {"SEND CHR 4 5", line({1, 0, 2, 0, 0x04, 0x05})},
      {"if reg1<reg2 l003", line({4, 5, 1, 2, 2}, 3)},
      {"IF REG 1 < REG 2 L 3", line({4, 5, 1, 2, 2}, 3)},
      {"IF REG3<=REG4 L1", line({4, 5, 3, 4, 4}, 1)},
      {"SEND REG a", line({1, 2, 10})},
      {"SEND DA5+REG*", line({1, 5, 5, 0xff})},
      {"set reg3 inc", line({7, 0, 3, 1})},
      {"SET REG3 100", line({7, 0, 3, 0, 100})},
      {"SET TM1 rstart", line({7, 2, 1, 3})},
      {"wait frm noclr", line({2, 1, 1})},
      {"WAIT TM 500", line({2, 3, 0xf4, 0x01})},
      {"wait ln cd=1", line({2, 5, 3, 1})},
      {"l5", line({12}, 5)},
      {"reti l*", line({9}, 0xFFFF)},
      {"IF CHR 41    L12", line({4, 0, 1, 0, 0x41}, 12)},
      {"int trg 0 l5", line({8}, 5)},
      {".RAW 01 02 03 04 05 06 07 08 09 0A 0b 0c 0d 0e 0f FF",
       line({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 15, 0xff}, 0x0e0d)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const LineReading reading = readProgramLine(c.text);
    ASSERT_TRUE(reading.line) << reading.problem;
    EXPECT_EQ(hex(*reading.line), hex(c.line));
  }
}

// Lines the editor never writes, or bytes outside a line's fields, are written byte for byte.
TEST(ProgramLineText, LinesTheListingCannotGiveBackAreWrittenRaw) {
  // clang-format off
  const ProgramLine cases[] = {
      line({0, 3}),                                             // NOP with a kind byte
      line({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),   // byte 15
      line({1, 0, 1, 0, 0x41, 0x42}),                           // a data byte past the count
      line({1, 0, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8}),               // count 9
      line({1, 0, 1, 0x01, 0x00}),                              // a mask in a SEND CHR line
      line({2, 0, 1, 0x01, 0x05}),                              // masked byte neither 0 nor 1
      line({2, 1, 2}),                                          // FRM index 2 lists as NOCLR
      line({2, 3, 0}),                                          // wait time 0
      line({2, 3, 0x10, 0x27}),                                 // wait time 10000
      line({2, 2, 4}),                                          // trigger 4
      line({3}, 1000),                                          // label 1000
      line({4, 5, 16, 0, 0}),                                   // register 16
      line({4, 5, 1, 6, 2}),                                    // comparison 6
      line({7, 1, 7, 1}),                                       // SET LN EX: no output line
      line({7, 0, 3, 3}),                                       // SET REG word 3
      line({7, 0, 3, 1, 5}),                                    // a word with a number
      line({7, 2, 1, 0, 0}),                                    // timer value 0
      line({7, 7, 5, 3, 7}),                                    // small digit 7
      line({1, 5, 100, 0}),                                     // entry 100
      line({2, 5, 0, 2}),                                       // level 2
      line({13}),                                               // instruction 13
      line({1, 6}),                                             // SEND kind 6
      line({3, 1}, 5),                                          // GOTO with a kind byte
  };
  // clang-format on
  for (const ProgramLine& l : cases) {
    SCOPED_TRACE(hex(l));
    const std::string text = programLineText(l);
    EXPECT_FALSE(hasListingForm(l));
    EXPECT_EQ(text, ".raw " + hex(l).substr(0, 47));
    const LineReading reading = readProgramLine(text);
    ASSERT_TRUE(reading.line) << reading.problem;
    EXPECT_EQ(*reading.line, l);
  }
}

// Texts the panel may hold for each field type, valid or not; the encoder corrects the others.
const char* const PanelTexts[] = {
    "",   "0",    "1",       "2",   "3",    "5",     "6",     "7",      "9",     "a",  "F",  "10",
    "41", "99",   "100",     "999", "1000", "9999",  "10000", "999999", "-1",    "*",  "|>", "*x",
    "x",  "0x1F", "1234567", "INC", "DEC",  "START", "STOP",  "RSTART", "RESET", "ff", " 7"};

// Whatever the panel holds, the line the encoder stores is written as its listing text, and that
// text reads back as the same line.
TEST(ProgramLineText, EveryLineTheEditorWritesHasItsListingForm) {
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t below) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % below;
  };
  int encoded = 0;
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      for (int round = 0; round < 400; ++round) {
        std::array<PositionEntry, PositionCount> positions{};
        for (std::size_t p = 0; p < PositionCount; ++p) {
          positions[p].text = PanelTexts[next(std::size(PanelTexts))];
          positions[p].selection = static_cast<int>(next(10)) - 1;
        }
        positions[0].selection = kind;
        const std::optional<ProgramLine> l = encodeLine(instruction, positions, nullptr);
        if (!l) continue;
        ++encoded;
        const std::string text = programLineText(*l);
        ASSERT_NE(text.substr(0, 4), ".raw") << hex(*l);
        const LineReading reading = readProgramLine(text);
        ASSERT_TRUE(reading.line) << text << ": " << reading.problem;
        ASSERT_EQ(*reading.line, *l) << text;
      }
    }
  }
  EXPECT_GT(encoded, 10000);
}

// The ranges the text form takes are the encoder's: one past either end is corrected by it.
TEST(ProgramLineText, FieldRangesAreTheEncodersRanges) {
  const struct {
    const char* row;  // a line with the field, the value written as {}
    int radix;
    FieldType type;
  } cases[] = {
      {"IF TM{} L000", 16, FieldType::UnitNumber},
      {"WAIT LN RS={}", 10, FieldType::LevelBit},
      {"WAIT TRG{}", 10, FieldType::TriggerNumber},
      {"SET DV 00 REG0 {}", 10, FieldType::SmallDigit},
      {"SEND TBL{}", 16, FieldType::HexDigit},
      {"SEND DA00+REG{}", 16, FieldType::IndexRegister},
      {"SEND DA{}+REG0", 10, FieldType::EntryNumber},
      {"GOTO L{}", 10, FieldType::LabelNumber},
      {"WAIT TM {}", 10, FieldType::WaitTime},
      {"SET REG0 {}", 10, FieldType::RegisterValue},
      {"SET TM0 {}", 10, FieldType::TimerValue},
      {"SET CT0 {}", 10, FieldType::CounterValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    const FieldRange range = fieldRange(c.type).value();
    const auto text = [&](std::uint32_t value) {
      std::array<char, 16> digits{};
      std::snprintf(digits.data(), digits.size(), c.radix == 16 ? "%X" : "%u", value);
      std::string row = c.row;
      row.replace(row.find("{}"), 2, digits.data());
      return readProgramLine(row);
    };
    EXPECT_TRUE(text(range.minimum).line) << text(range.minimum).problem;
    EXPECT_TRUE(text(range.maximum).line) << text(range.maximum).problem;
    EXPECT_FALSE(text(range.maximum + 1).line);
    if (range.minimum > 0) {
      EXPECT_FALSE(text(range.minimum - 1).line);
    }
    // The encoder clamps a number past the maximum to it and raises one below the minimum.
    std::array<PositionEntry, PositionCount> positions{};
    const LineReading atMaximum = text(range.maximum);
    ASSERT_TRUE(atMaximum.line);
    const int instruction = atMaximum.line->bytes[0];
    positions[0].selection = atMaximum.line->bytes[1];
    int position = 0;
    while (fieldTypeAt(instruction, positions[0].selection, position) != c.type) ++position;
    for (int p = 0; p < PositionCount; ++p) {
      const FieldType t = fieldTypeAt(instruction, positions[0].selection, p);
      if (const char* caption = captionText(t))
        positions[static_cast<std::size_t>(p)].text = caption;
    }
    const auto encodeWith = [&](std::uint64_t value) {
      auto entries = positions;
      entries[static_cast<std::size_t>(position)].text =
          c.radix == 16 ? std::string(1, "0123456789ABCDEF"[value & 15]) : std::to_string(value);
      return encodeLine(instruction, entries, nullptr);
    };
    if (c.radix == 10 &&
        std::to_string(range.maximum + 1).size() == std::to_string(range.maximum).size()) {
      EXPECT_EQ(encodeWith(range.maximum + 1), encodeWith(range.maximum));
    }
    if (range.minimum > 0) {
      EXPECT_EQ(encodeWith(range.minimum - 1), encodeWith(range.minimum));
    }
  }
}

TEST(ProgramLineText, EveryProblemIsNamed) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"JUMP L001",
       "unknown instruction 'JUMP'; instructions: NOP, SEND, WAIT, GOTO, IF, CALL, "
       "RET, SET, INT, RETI, DISI, STOP, L"},
      {"LBL 5",
       "unknown instruction 'LBL'; instructions: NOP, SEND, WAIT, GOTO, IF, CALL, RET, "
       "SET, INT, RETI, DISI, STOP, L"},
      {"SEND", "SEND needs a kind; kinds: CHR, TBL, REG, BUF, KEY, DA"},
      {"SEND XYZ 41", "unknown kind 'XYZ' of SEND; kinds: CHR, TBL, REG, BUF, KEY, DA"},
      {"SEND CHR 41 4g", "'4g' is no data byte (00-FF)"},
      {"SEND CHR 141", "'141' is no data byte (00-FF)"},
      {"SEND CHR 41 *", "'*' is no data byte (00-FF)"},
      {"WAIT CHR 41 |", "'|' is no data byte (00-FF, * or |>)"},
      {"SEND CHR 01 02 03 04 05 06 07 08 09", "more than 8 data bytes"},
      {"SEND CHR 41 hello", "unexpected 'hello'"},
      {"SEND TBLG", "expected the table in hexadecimal at 'G'"},
      {"SEND REG10", "register 10 is outside 0-F"},
      {"SEND DA05REG1", "expected '+REG' at 'REG1'"},
      {"SEND DA100+REG1", "entry 100 is outside 0-99"},
      {"WAIT TRG4", "trigger 4 is outside 1-3"},
      {"WAIT TM 0000", "time 0000 is outside 1-9999"},
      {"WAIT TM 10000", "time 10000 is outside 1-9999"},
      {"WAIT TM", "expected the time at the end of the line"},
      {"WAIT FRM CLEAR", "'CLEAR' is no CLR or NOCLR; one of: CLR, NOCLR"},
      {"WAIT LN XX=1", "'XX' is no signal line; one of: RS, CS, DR, CD, ER, SQ, CI, EX"},
      {"WAIT LN CD=2", "level 2 is outside 0-1"},
      {"WAIT LN CD 1", "expected '=' at '1'"},
      {"SET LN EX=1", "'EX' is no output line; one of: RS, CS, DR, CD, ER, SQ, CI"},
      {"GOTO L1000", "label 1000 is outside 0-999"},
      {"GOTO L*", "expected the label at '*'"},
      {"GOTO 5", "expected 'L' at '5'"},
      {"IF TM2 L001", "unit 2 is outside 0-1"},
      {"IF REG1=<REG2 L001", "expected 'REG' at '<REG2 L001'"},
      {"IF REG16=REG2 L001", "register 16 is outside 0-15"},
      {"IF REG1=REG2", "expected 'L' at the end of the line"},
      {"IF CHR 41", "expected 'L' at the end of the line"},
      {"IF DA05+REG16 L001", "index register 16 is outside 0-15"},
      {"SET REG3 UP", "'UP' is no value; a number or one of: INC, DEC"},
      {"SET REG3 1000000", "value 1000000 is outside 0-999999"},
      {"SET TM1 000000", "value 000000 is outside 1-999999"},
      {"SET CT1 DEC", "'DEC' is no value; a number or one of: INC, RESET"},
      {"SET DV 05 REG3 7", "digit 7 is outside 0-6"},
      {"INT L005", "expected 'TRG' at 'L005'"},
      {"DISI TRG 1", "expected '0' at '1'"},
      {"NOP 1", "unexpected '1'"},
      {".raw 01 02", ".raw takes 16 bytes, found 2"},
      {".raw 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", ".raw takes 16 bytes, not more"},
      {".raw 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 0",
       ".raw: '0' is not two hexadecimal digits"},
      {".raw 0x 00", ".raw: '0x' is not two hexadecimal digits"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const LineReading reading = readProgramLine(c.text);
    EXPECT_FALSE(reading.line);
    EXPECT_EQ(reading.problem, c.problem);
  }
}

// ---- whole texts -----------------------------------------------------------------------------

ProgramArea areaWith(std::initializer_list<std::pair<int, ProgramLine>> linesOfA) {
  ProgramArea area;
  resetProgramArea(area);
  for (const auto& [index, l] : linesOfA) storeLine(area, 0, index, l);
  return area;
}

TEST(ProgramText, WritesEachProgramUpToItsLastLineInUse) {
  ProgramArea area = areaWith({{0, line({12}, 1)}, {3, line({3}, 1)}, {4, line({0, 3})}});
  storeLine(area, 2, 511, line({11}));
  std::string nops;
  for (int i = 0; i < 511; ++i) nops += "NOP\n";
  EXPECT_EQ(
      writeProgramText(area, "vxprog export of x.su"),
      "# vxprog export of x.su\n"
      "\n[A]\nL001\nNOP\nNOP\nGOTO L001\n.raw 00 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
      "\n[B]\n"
      "\n[C]\n" +
          nops +
          "STOP\n"
          "\n[D]\n");
  EXPECT_EQ(writeProgramText(area, "t", {1, 0}),
            "# t\n\n[B]\n\n[A]\nL001\nNOP\nNOP\nGOTO L001\n"
            ".raw 00 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n");
}

TEST(ProgramText, ReadsSectionsCommentsAndLineEnds) {
  const std::string text =
      "\xEF\xBB\xBF# a program\r\n"
      "[a]   # the first\r\n"
      "\r\n"
      "  L001  # a label\r\n"
      "GOTO L001\n"
      "[D]\n"
      "   \t\n"
      "SEND CHR 41";
  const ProgramText read = readProgramText(text);
  EXPECT_TRUE(read.problems.empty());
  ASSERT_EQ(read.sections.size(), 2u);
  EXPECT_EQ(read.sections[0].program, 0);
  EXPECT_EQ(read.sections[0].headerLine, 2);
  EXPECT_EQ(read.sections[0].lines, (std::vector{line({12}, 1), line({3}, 1)}));
  EXPECT_EQ(read.sections[0].textLines, (std::vector{4, 5}));
  EXPECT_EQ(read.sections[1].program, 3);
  EXPECT_EQ(read.sections[1].lines, (std::vector{line({1, 0, 1, 0, 0x41})}));
  EXPECT_EQ(read.sections[1].textLines, (std::vector{8}));
}

TEST(ProgramText, ImportReplacesTheProgramsOfItsSectionsOnly) {
  ProgramArea area = areaWith({{0, line({11})}, {100, line({6})}});
  storeLine(area, 1, 5, line({6}));
  setCursor(area, 0, 77);
  ProgramArea expected = area;
  const std::vector<TextProblem> problems =
      importProgramText(area, readProgramText("[A]\nL001\nNOP\nGOTO L001\n[C]\nRET\n"));
  EXPECT_TRUE(problems.empty());
  storeLine(expected, 0, 0, line({12}, 1));
  storeLine(expected, 0, 2, line({3}, 1));
  storeLine(expected, 0, 100, line({}));
  storeLine(expected, 2, 0, line({6}));
  EXPECT_EQ(std::memcmp(&area, &expected, sizeof area), 0);
}

TEST(ProgramText, ImportOfOneProgram) {
  ProgramArea area;
  resetProgramArea(area);
  // Only [B] of a text with sections.
  EXPECT_TRUE(importProgramText(area, readProgramText("[A]\nSTOP\n[B]\nRET\n"), {1}).empty());
  EXPECT_EQ(*lineAt(area, 0, 0), line({}));
  EXPECT_EQ(*lineAt(area, 1, 0), line({6}));
  // A text without headers is the program's lines; an empty one empties it.
  EXPECT_TRUE(importProgramText(area, readProgramText("STOP\nSTOP\n"), {2}).empty());
  EXPECT_EQ(*lineAt(area, 2, 1), line({11}));
  EXPECT_TRUE(importProgramText(area, readProgramText("# nothing\n"), {2}).empty());
  EXPECT_EQ(*lineAt(area, 2, 1), line({}));
}

TEST(ProgramText, ImportReportsEveryProblemWithItsLineAndChangesNothing) {
  struct Case {
    const char* text;
    TextImportOptions options;
    std::vector<TextProblem> problems;
  };
  const Case cases[] = {
      {"GOTO L001\n[A]\n",
       {},
       {{1, "a line before the first section header [A], [B], [C] or [D]"}}},
      {"[A]\nNOP\n[E]\nNOP\n[b]\n[B]\nSEND CHR 4\nWAIT TRG4\n",
       {},
       {{3, "unknown section '[E]'; sections: [A], [B], [C], [D]"},
        {6, "section [B] given twice (first at line 5)"},
        {8, "trigger 4 is outside 1-3"}}},
      {"[A]\nSTOP\n", {1}, {{0, "no section [B]"}}},
      {"STOP\n[A]\nSTOP\n",
       {0},
       {{1, "a line before the first section header [A], [B], [C] or [D]"}}},
      {"[A]\nL001\nGOTO L002\nL001\nRETI L*\nCALL L003\n",
       {-1, true},
       {{3, "label 2 not defined"}, {4, "label 1 defined twice"}, {6, "label 3 not defined"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ProgramArea area = areaWith({{0, line({11})}});
    const ProgramArea before = area;
    EXPECT_EQ(importProgramText(area, readProgramText(c.text), c.options), c.problems);
    EXPECT_EQ(std::memcmp(&area, &before, sizeof area), 0);
  }
  // Without --strict the inconsistent labels are taken as they are.
  ProgramArea area = areaWith({});
  EXPECT_TRUE(importProgramText(area, readProgramText("[A]\nGOTO L002\n")).empty());
}

TEST(ProgramText, ASectionLongerThanItsProgramIsReportedAtItsFirstExtraLine) {
  ProgramArea area;
  resetProgramArea(area);
  // Programs of 100, 1900, 0 and 48 lines.
  const int starts[] = {0, 100, 2000, 2000, 2048};
  for (int p = 0; p <= ProgramCount; ++p) {
    area.header[static_cast<std::size_t>(4 + 4 * p)] = static_cast<std::uint8_t>(starts[p] & 0xFF);
    area.header[static_cast<std::size_t>(5 + 4 * p)] = static_cast<std::uint8_t>(starts[p] >> 8);
  }
  ASSERT_EQ(lineCount(area, 2), 0);
  const ProgramArea before = area;
  std::string text = "[C]\n\n[A]\n";
  for (int i = 0; i < 101; ++i) text += "STOP\n";
  EXPECT_EQ(importProgramText(area, readProgramText(text)),
            (std::vector<TextProblem>{{104, "program A has 100 lines; this would be line 100"}}));
  EXPECT_EQ(std::memcmp(&area, &before, sizeof area), 0);
  EXPECT_EQ(importProgramText(area, readProgramText("[C]\nNOP\n")),
            (std::vector<TextProblem>{{2, "program C has 0 lines; this would be line 0"}}));
}

// Any area: importing its own text changes no byte, and writing it again gives the same text.
TEST(ProgramText, RoundTripOfAnyArea) {
  std::uint32_t seed = 99;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(seed >> 16);
  };
  for (int round = 0; round < 20; ++round) {
    ProgramArea area;
    resetProgramArea(area);
    for (int slot = 0; slot < SlotCount; ++slot) {
      ProgramLine& l = area.slots[static_cast<std::size_t>(slot)];
      const int shape = next() % 4;
      if (shape == 0) continue;  // empty
      for (auto& b : l.bytes) b = shape == 1 ? next() : 0;
      // Mostly lines of known instructions with small values, so that many list.
      if (shape > 1) {
        l.bytes[0] = static_cast<std::uint8_t>(next() % 14);
        l.bytes[1] = static_cast<std::uint8_t>(next() % 9);
        for (std::size_t b = 2; b < 12; ++b) l.bytes[b] = static_cast<std::uint8_t>(next() % 16);
        l.bytes[12] = next();
      }
    }
    if (round % 2 == 1) area.header[8] = static_cast<std::uint8_t>(next() % 9);  // a damaged start
    const ProgramArea before = area;
    const std::string text = writeProgramText(area, "round trip");
    EXPECT_TRUE(importProgramText(area, readProgramText(text)).empty());
    ASSERT_EQ(std::memcmp(&area, &before, sizeof area), 0) << round;
    EXPECT_EQ(writeProgramText(area, "round trip"), text);
  }
}

}  // namespace
}  // namespace vx
