#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "store/program_area.h"

namespace vx {
namespace {

bool isJump(std::uint8_t code) {
  using enum Instruction;
  for (const Instruction jump : {Goto, If, Call, Int, Reti}) {
    if (code == static_cast<std::uint8_t>(jump)) return true;
  }
  return false;
}

}  // namespace

int checkLabels(const ProgramArea& area, int program) {
  const std::vector<LabelInconsistency> found = labelInconsistencies(area, program);
  return found.empty() ? -1 : found.front().index;
}

std::vector<LabelInconsistency> labelInconsistencies(const ProgramArea& area, int program) {
  const int count = lineCount(area, program);
  std::vector<LabelInconsistency> found;
  std::vector<std::uint16_t> defined;
  defined.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const ProgramLine& line = *lineAt(area, program, i);
    if (line.bytes[0] != static_cast<std::uint8_t>(Instruction::Lbl)) {
      continue;
    }
    const std::uint16_t label = labelOf(line);
    if (std::find(defined.begin(), defined.end(), label) != defined.end()) {
      found.push_back({i, true});
    } else {
      defined.push_back(label);
    }
  }
  for (int i = 0; i < count; ++i) {
    const ProgramLine& line = *lineAt(area, program, i);
    const std::uint8_t instruction = line.bytes[0];
    if (!isJump(instruction)) {
      continue;
    }
    const std::uint16_t label = labelOf(line);
    if (instruction == static_cast<std::uint8_t>(Instruction::Reti) && label == AnyLabel) {
      continue;
    }
    if (std::find(defined.begin(), defined.end(), label) == defined.end()) {
      found.push_back({i, false});
    }
  }
  return found;
}

}  // namespace vx
