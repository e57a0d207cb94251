#include "store/program_area.h"

#include <algorithm>

#include "store/bytes.h"

namespace vx {
namespace {

constexpr std::size_t ProgramCountOffset = 0;
constexpr std::size_t FirstPairOffset = 4;

bool validProgram(int program) { return program >= 0 && program < ProgramCount; }

std::size_t startOffset(int program) {
  return FirstPairOffset + 4 * static_cast<std::size_t>(program);
}
std::size_t cursorOffset(int program) { return startOffset(program) + 2; }

std::int16_t readS16(const std::uint8_t* p) { return static_cast<std::int16_t>(readU16(p)); }

// First slot of a program, or -1 when its header entries do not describe a range inside the area.
int firstSlot(const ProgramArea& area, int program) {
  if (!validProgram(program)) {
    return -1;
  }
  const int start = programStart(area, program);
  const int end = programStart(area, program + 1);
  if (start < 0 || end > SlotCount || end < start) {
    return -1;
  }
  return start;
}

}  // namespace

std::uint16_t labelOf(const ProgramLine& line) { return readU16(&line.bytes[LabelOffset]); }

void resetProgramArea(ProgramArea& area) {
  area = ProgramArea{};
  writeU16(&area.header[ProgramCountOffset], ProgramCount);
  for (int program = 0; program <= ProgramCount; ++program) {
    writeU16(&area.header[startOffset(program)],
             static_cast<std::uint32_t>(program * LinesPerProgramAfterReset));
  }
}

int programStart(const ProgramArea& area, int program) {
  if (program < 0 || program > ProgramCount) {
    return 0;
  }
  return readS16(&area.header[startOffset(program)]);
}

int lineCount(const ProgramArea& area, int program) {
  if (firstSlot(area, program) < 0) {
    return 0;
  }
  return programStart(area, program + 1) - programStart(area, program);
}

const ProgramLine* lineAt(const ProgramArea& area, int program, int index) {
  if (index < 0 || index >= lineCount(area, program)) {
    return nullptr;
  }
  return &area.slots[static_cast<std::size_t>(firstSlot(area, program) + index)];
}

ProgramLine* lineAt(ProgramArea& area, int program, int index) {
  return const_cast<ProgramLine*>(lineAt(static_cast<const ProgramArea&>(area), program, index));
}

void storeLine(ProgramArea& area, int program, int index, const ProgramLine& line) {
  if (ProgramLine* slot = lineAt(area, program, index)) {
    *slot = line;
  }
}

int cursor(const ProgramArea& area, int program) {
  if (!validProgram(program)) {
    return 0;
  }
  return readS16(&area.header[cursorOffset(program)]);
}

void setCursor(ProgramArea& area, int program, int index) {
  if (validProgram(program)) {
    writeU16(&area.header[cursorOffset(program)], static_cast<std::uint32_t>(index) & 0xFFFF);
  }
}

}  // namespace vx
