#include <algorithm>
#include <cstdint>
#include <vector>

#include "store/bytes.h"
#include "store/program_area.h"

namespace vx {
namespace {

constexpr std::uint8_t Goto = 3, If = 4, Call = 5, Int = 8, Reti = 9, Lbl = 12;
// A RETI target of "*" returns to wherever the interrupt came from and names no label.
constexpr std::uint16_t AnyTarget = 0xFFFF;

std::uint16_t labelOf(const ProgramLine& line) { return readU16(&line.bytes[12]); }

bool isJump(std::uint8_t instruction) {
  return instruction == Goto || instruction == If || instruction == Call || instruction == Int ||
         instruction == Reti;
}

}  // namespace

int checkLabels(const ProgramArea& area, int program) {
  const int count = lineCount(area, program);
  std::vector<std::uint16_t> defined;
  defined.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const ProgramLine& line = *lineAt(area, program, i);
    if (line.bytes[0] != Lbl) {
      continue;
    }
    const std::uint16_t label = labelOf(line);
    if (std::find(defined.begin(), defined.end(), label) != defined.end()) {
      return i;
    }
    defined.push_back(label);
  }
  for (int i = 0; i < count; ++i) {
    const ProgramLine& line = *lineAt(area, program, i);
    const std::uint8_t instruction = line.bytes[0];
    if (!isJump(instruction)) {
      continue;
    }
    const std::uint16_t label = labelOf(line);
    if (instruction == Reti && label == AnyTarget) {
      continue;
    }
    if (std::find(defined.begin(), defined.end(), label) == defined.end()) {
      return i;
    }
  }
  return -1;
}

std::vector<LabelInconsistency> labelInconsistencies(const ProgramArea& area, int program) {
  const int count = lineCount(area, program);
  std::vector<LabelInconsistency> found;
  std::vector<std::uint16_t> defined;
  defined.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const ProgramLine& line = *lineAt(area, program, i);
    if (line.bytes[0] != Lbl) {
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
    if (instruction == Reti && label == AnyTarget) {
      continue;
    }
    if (std::find(defined.begin(), defined.end(), label) == defined.end()) {
      found.push_back({i, false});
    }
  }
  return found;
}

}  // namespace vx
