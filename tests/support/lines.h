// Program lines for tests, written as their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "store/bytes.h"
#include "store/program_area.h"

namespace vx::test {

// A line from its leading bytes (the rest zero); a label number other than 0 is written into
// bytes 12-13 over what the leading bytes put there.
inline ProgramLine lineOf(std::initializer_list<int> leadingBytes, int label = 0) {
  ProgramLine line;
  std::size_t i = 0;
  for (const int b : leadingBytes) line.bytes[i++] = static_cast<std::uint8_t>(b);
  if (label != 0) writeU16(&line.bytes[LabelOffset], static_cast<std::uint32_t>(label));
  return line;
}

// A line from its fields: instruction, operand kind, parameter bytes 2-3, the data bytes from
// byte 4 on and the label number (0: none).
inline ProgramLine makeLine(int instruction, int kind = 0, int byte2 = 0, int byte3 = 0,
                            std::initializer_list<int> data = {}, int label = 0) {
  ProgramLine line = lineOf({instruction, kind, byte2, byte3}, label);
  std::size_t i = DataOffset;
  for (const int b : data) line.bytes[i++] = static_cast<std::uint8_t>(b);
  return line;
}

// A line of `instruction` (LBL, or a jump) with its label number.
inline ProgramLine labelLine(int instruction, int label) { return lineOf({instruction}, label); }

}  // namespace vx::test
