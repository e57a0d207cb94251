#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "store/bytes.h"
#include "store/program_area.h"

namespace vx {
namespace {

// The instruction codes as line bytes.
constexpr std::uint8_t code(Instruction instruction) {
  return static_cast<std::uint8_t>(instruction);
}
constexpr std::uint8_t Send = code(Instruction::Send), Goto = code(Instruction::Goto),
                       If = code(Instruction::If), Call = code(Instruction::Call),
                       Set = code(Instruction::Set), Int = code(Instruction::Int),
                       Reti = code(Instruction::Reti), Lbl = code(Instruction::Lbl);

struct Placed {
  int program;
  int index;
  std::uint8_t instruction;
  std::uint16_t label;
};

struct Case {
  const char* name;
  std::vector<Placed> lines;
  int expected;  // result for program 0
};

TEST(CheckLabels, FindsTheFirstInconsistentLine) {
  const std::vector<Case> cases = {
      {"empty program", {}, -1},
      {"label defined three times reports the second",
       {{0, 10, Lbl, 5}, {0, 20, Lbl, 5}, {0, 30, Lbl, 5}},
       20},
      {"duplicate reported before an earlier undefined target",
       {{0, 3, Goto, 7}, {0, 10, Lbl, 5}, {0, 20, Lbl, 5}},
       20},
      {"first duplicate in line order",
       {{0, 1, Lbl, 9}, {0, 2, Lbl, 4}, {0, 5, Lbl, 4}, {0, 6, Lbl, 9}},
       5},
      {"label defined only in another program", {{0, 3, Goto, 7}, {1, 0, Lbl, 7}}, 3},
      {"target defined after the jump", {{0, 40, If, 12}, {0, 100, Lbl, 12}}, -1},
      {"unfilled label field names label 0", {{0, 8, Call, 0}}, 8},
      {"label 0 can be defined", {{0, 8, Call, 0}, {0, 9, Lbl, 0}}, -1},
      {"every jump kind is checked: INT", {{0, 2, Lbl, 1}, {0, 4, Int, 2}}, 4},
      {"every jump kind is checked: RETI", {{0, 6, Reti, 3}}, 6},
      {"SEND and SET never count", {{0, 1, Send, 77}, {0, 2, Set, 78}}, -1},
      {"RETI to * names no label", {{0, 6, Reti, 0xFFFF}}, -1},
      {"GOTO to 0xFFFF is still checked", {{0, 6, Goto, 0xFFFF}}, 6},
      {"an unknown instruction code is ignored", {{0, 6, 200, 3}}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramArea area;
    resetProgramArea(area);
    for (const Placed& placed : c.lines) {
      ProgramLine line;
      line.bytes[0] = placed.instruction;
      writeU16(&line.bytes[12], placed.label);
      storeLine(area, placed.program, placed.index, line);
    }
    EXPECT_EQ(checkLabels(area, 0), c.expected);
    // The full list begins with the line the check reports.
    const std::vector<LabelInconsistency> all = labelInconsistencies(area, 0);
    EXPECT_EQ(all.empty() ? -1 : all.front().index, c.expected);
  }
}

TEST(CheckLabels, ListsEveryInconsistencyDuplicatesFirst) {
  ProgramArea area;
  resetProgramArea(area);
  const Placed lines[] = {{0, 1, Goto, 7}, {0, 2, Lbl, 5}, {0, 3, If, 5},        {0, 4, Lbl, 5},
                          {0, 5, Call, 8}, {0, 6, Lbl, 5}, {0, 7, Reti, 0xFFFF}, {0, 8, Lbl, 9},
                          {0, 9, Lbl, 9},  {1, 0, Lbl, 7}, {0, 10, Int, 9}};
  for (const Placed& placed : lines) {
    ProgramLine line;
    line.bytes[0] = placed.instruction;
    writeU16(&line.bytes[12], placed.label);
    storeLine(area, placed.program, placed.index, line);
  }
  EXPECT_EQ(
      labelInconsistencies(area, 0),
      (std::vector<LabelInconsistency>{{4, true}, {6, true}, {9, true}, {1, false}, {5, false}}));
  EXPECT_TRUE(labelInconsistencies(area, 1).empty());
}

TEST(CheckLabels, ProgramWithoutLinesIsConsistent) {
  ProgramArea area;
  resetProgramArea(area);
  writeU16(&area.header[8], 0);  // program 1 starts where it ends: no lines
  writeU16(&area.header[4], 0);
  writeU16(&area.header[12], 0);
  EXPECT_EQ(checkLabels(area, 1), -1);
  EXPECT_EQ(checkLabels(area, 7), -1);
}

}  // namespace
}  // namespace vx
