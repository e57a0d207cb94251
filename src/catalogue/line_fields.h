// Decoding a line into named fields, and encoding the panel's texts into a line.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "store/program_area.h"

namespace vx {

struct LineFields {
  std::uint8_t instruction = 0;
  std::uint8_t kind = 0;
  std::uint8_t paramA = 0;  // byte 2; the don't-care/flag mask (byte 3) for CHR pattern rows
  std::uint8_t paramB = 0;  // byte 3
  std::uint8_t paramC = 0;  // byte 4
  std::uint16_t label = 0;  // bytes 12-13
  std::uint32_t value = 0;  // WaitTime, or the number of a register/timer/counter value
  std::uint8_t count = 0;   // data bytes in use; a loaded line may hold more than 8
  std::array<std::uint8_t, 8> data{};

  friend bool operator==(const LineFields&, const LineFields&) = default;
};

// What one panel position holds: its text (at most 255 characters are used) and, for a list
// control, the selected entry (-1 when nothing is selected or the control is no list).
struct PositionEntry {
  std::string text;
  int selection = -1;
};

// How the encoder corrects what the panel shows.
class FieldFeedback {
 public:
  virtual void showPositionText(int position, std::string_view text) = 0;
  virtual void clearCharacterCell(int dataIndex) = 0;

 protected:
  ~FieldFeedback() = default;
};

LineFields decodeLine(const ProgramLine& line);

// Builds a line from the instruction selection and the 12 positions. Fails (nullopt) only for an
// unusable RegisterValue/TimerValue/CounterValue text, or an instruction selection outside 0..12.
// A negative kind selection counts as kind 0. `feedback` may be null.
std::optional<ProgramLine> encodeLine(int instructionSelection,
                                      std::span<const PositionEntry, PositionCount> positions,
                                      FieldFeedback* feedback);

// The smallest and largest number a field of the type takes (data bytes 0..255); nullopt for
// types that hold no number (lists, captions, End).
struct FieldRange {
  std::uint32_t minimum = 0;
  std::uint32_t maximum = 0;
};
std::optional<FieldRange> fieldRange(FieldType type);

}  // namespace vx
