// The program area: the four programs A-D of fixed length in 2048 shared line slots,
// held byte for byte as the program block of a setup file stores them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vx {

inline constexpr int ProgramCount = 4;
// Programs 0..3 as the user sees them.
inline constexpr std::array<const char*, ProgramCount> ProgramNames = {"A", "B", "C", "D"};
// The name of program `program`; "?" outside 0..3.
constexpr const char* programName(int program) {
  return program >= 0 && program < ProgramCount ? ProgramNames[static_cast<std::size_t>(program)]
                                                : "?";
}
inline constexpr int SlotCount = 2048;
inline constexpr int LinesPerProgramAfterReset = 512;
inline constexpr std::size_t LineSize = 16;
inline constexpr std::size_t AreaHeaderSize = 24;
// The program block is always 32,792 bytes: a 24-byte header and 2048 slots of 16 bytes.
inline constexpr std::size_t ProgramAreaSize = AreaHeaderSize + SlotCount * LineSize;

// The instruction codes of byte 0 of a line.
enum class Instruction : std::uint8_t {
  Nop = 0,
  Send,
  Wait,
  Goto,
  If,
  Call,
  Ret,
  Set,
  Int,
  Reti,
  Disi,
  Stop,
  Lbl
};
inline constexpr int InstructionCount = 13;

// Bytes 4-11 of a data line hold up to eight data bytes.
inline constexpr std::size_t DataOffset = 4;
inline constexpr int DataByteCount = 8;
// Bytes 12-13 hold the label number, little-endian.
inline constexpr std::size_t LabelOffset = 12;
// The label number of a RETI line whose target is "*": it returns to wherever the interrupt
// came from and names no label.
inline constexpr std::uint16_t AnyLabel = 0xFFFF;

// One instruction line. Byte 0 is the instruction, byte 1 the operand kind, bytes 2-11 the
// fields of the instruction's layout, bytes 12-13 the label number (little-endian).
struct ProgramLine {
  std::array<std::uint8_t, LineSize> bytes{};

  friend bool operator==(const ProgramLine&, const ProgramLine&) = default;
};

// The stored label number of a line (whatever its instruction).
std::uint16_t labelOf(const ProgramLine& line);

// The header holds the program count, a reserved word and five {start, cursor} pairs of
// signed 16-bit little-endian values; the fifth start is the end of program 3.
struct ProgramArea {
  std::array<std::uint8_t, AreaHeaderSize> header{};
  std::array<ProgramLine, SlotCount> slots{};
};
static_assert(sizeof(ProgramLine) == LineSize);
static_assert(sizeof(ProgramArea) == ProgramAreaSize);

// Zeroes the area and writes the header of four programs of 512 lines.
void resetProgramArea(ProgramArea& area);

// The raw start value of program 0..4 (4 reads the end of program 3), as stored.
int programStart(const ProgramArea& area, int program);

// Number of lines of program 0..3. A damaged header (a start outside 0..2048 or an end before
// the start) gives 0, so that no operation can reach outside the 2048 slots.
int lineCount(const ProgramArea& area, int program);

// The slot of line `index` of `program`, or nullptr outside the program.
ProgramLine* lineAt(ProgramArea& area, int program, int index);
const ProgramLine* lineAt(const ProgramArea& area, int program, int index);

// Copies the line into its slot; an index outside the program stores nothing.
void storeLine(ProgramArea& area, int program, int index, const ProgramLine& line);

// The stored cursor, read as signed 16 bits without any check: it may lie outside the program.
int cursor(const ProgramArea& area, int program);
// Stores the low 16 bits of `index` as the cursor.
void setCursor(ProgramArea& area, int program, int index);

// A line that is not all zero and that an insert, move or copy pushed off the end of a program:
// the program and index where it stood before the operation. A moved or copied line that never
// landed because later insertions pushed it out again is reported with its place in the source.
struct PushedOffLine {
  int program = 0;
  int formerIndex = 0;
  ProgramLine line;
  friend bool operator==(const PushedOffLine&, const PushedOffLine&) = default;
};
using PushedOffLines = std::vector<PushedOffLine>;

// Puts `line` (an empty line when nullptr) at `index`; the program's last line falls off and is
// appended to `pushedOff` (when given) unless it is empty.
void insertLine(ProgramArea& area, int program, int index, const ProgramLine* line = nullptr,
                PushedOffLines* pushedOff = nullptr);
// Removes the line at `index`; an empty line enters at the program's end.
void deleteLine(ProgramArea& area, int program, int index);
// Moves or copies the selected lines (ascending, distinct, inside the source program) so that
// they stand in source order from `destinationIndex` of `destination`. Arguments outside the
// programs, or a list that is not strictly ascending, change nothing. The non-empty lines that
// fall off the destination's end are appended to `pushedOff` (when given), ordered by program
// and former index.
void moveCopyLines(ProgramArea& area, int source, std::span<const int> selected, int destination,
                   int destinationIndex, bool move, PushedOffLines* pushedOff = nullptr);

// Index of the first line with a label defined twice (reported first) or a jump to a label the
// program does not define; -1 when the program is consistent.
int checkLabels(const ProgramArea& area, int program);

// One label inconsistency: a further definition of a label, or a jump to a label that the program
// does not define.
struct LabelInconsistency {
  int index = 0;
  bool duplicate = false;

  friend bool operator==(const LabelInconsistency&, const LabelInconsistency&) = default;
};
// Every label inconsistency of a program: the further definitions in line order, then the jumps
// to undefined labels in line order. The first entry is the line checkLabels reports.
std::vector<LabelInconsistency> labelInconsistencies(const ProgramArea& area, int program);

}  // namespace vx
