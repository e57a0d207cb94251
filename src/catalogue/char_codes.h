// The ten character codes of the serial line and how data bytes show as characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vx {

// The character codes in selector order: a code's value is its index in the selector, in the
// setup file's character-code byte and in every per-code table.
enum class CharCode : std::uint8_t {
  Ascii = 0,
  Ebcdic = 1,
  Ebcdik = 2,
  Jis7 = 3,
  Jis8 = 4,
  Hex = 5,
  Ebcd = 6,
  Transcode = 7,
  Ipars = 8,
  Baudot = 9,
};
inline constexpr int CharCodeCount = 10;
static_assert(static_cast<int>(CharCode::Baudot) + 1 == CharCodeCount);

// The code names in selector order, closed by the sentinel.
extern const std::array<const char*, CharCodeCount + 1> CharCodeNameList;

// The code that a stored or selected index names: the one way from a number to a CharCode. Any
// index outside 0..9 is treated as ASCII.
CharCode normaliseCharCode(int code);

// A code's index in the selector and its row in the per-code tables. A value outside the list
// (only a cast can make one) counts as ASCII, as normaliseCharCode treats it.
constexpr std::size_t charCodeIndex(CharCode code) {
  const auto index = static_cast<std::size_t>(code);
  return index < static_cast<std::size_t>(CharCodeCount) ? index : 0;
}

// "ASCII" ... "BAUDOT".
const char* charCodeName(CharCode code);

enum class CharHalf : int { Normal = 0, Shifted = 1 };

struct ShiftPair {
  std::int32_t toNormal;
  std::int32_t toShifted;
};
extern const std::array<ShiftPair, CharCodeCount> ShiftBytes;

// "00" ... "ff".
extern const std::array<std::array<char, 3>, 256> HexFallback;
// A data byte as two lower-case hexadecimal digits, as the system writes data bytes everywhere.
std::string_view hexByteText(std::uint8_t value);

// One half of a code as stored: the display strings of byte values 0 up to the half's slot count
// minus 1 (an empty view is an empty slot), the end marker "***" in the slot right after them and
// empty slots after it. The 257th slot lets a half of 256 slots keep its marker.
inline constexpr int CharHalfSlots = 257;
inline constexpr std::string_view CharTableEndMarker = "***";
using CharHalfTable = std::array<std::string_view, CharHalfSlots>;
// [code][half]
extern const std::array<std::array<CharHalfTable, 2>, CharCodeCount> CharDisplayTable;

// Display string (Shift-JIS) of byte `value` in one half of a code: empty for an empty slot and
// for values at or past the half's end marker.
std::string_view displaySlot(CharCode code, CharHalf half, int value);
// Number of slots of a half (the marker stands right after them).
int slotCount(CharCode code, CharHalf half);

// The eight display strings of a line's data bytes, following the shift bytes from left to right.
// The views refer to constant tables.
std::array<std::string_view, 8> displayStrings(bool showCharacters, CharCode code,
                                               const std::array<std::uint8_t, 8>& data,
                                               bool usesMask, std::uint8_t mask);

// The lowest byte whose display string is exactly the one character `c` in that half; -1 if none.
int byteForCharacter(CharCode code, char c, CharHalf half);

// Converts up to the first eight characters (bytes) of `text` (ending early at a NUL) into data
// bytes, inserting shift bytes; returns the number written (0..15).
int textToBytes(CharCode code, std::string_view text, std::span<std::uint8_t, 15> out);

}  // namespace vx
