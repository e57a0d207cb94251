// Classifies and converts the text of one panel field.
#pragma once

#include <cstdint>
#include <string_view>

namespace vx {

enum class ParseResult : int { Invalid = 0, Number = 1, Empty = 2, Token = 3 };

struct ParsedValue {
  ParseResult result = ParseResult::Invalid;
  std::uint32_t value = 0;

  friend bool operator==(const ParsedValue&, const ParsedValue&) = default;
};

// Modes: 0 no tokens; 1 "*"; 2 "*" and "|>"; 3 RegisterWordList; 4 TimerWordList;
// 5 CounterWordList. Any other mode behaves as 0. The text ends at its first NUL, if any.
// radix is 10 or 16, digits 1..6, minimum <= maximum.
ParsedValue parseFieldValue(std::string_view text, int radix, int digits, std::uint32_t minimum,
                            std::uint32_t maximum, int mode);

}  // namespace vx
