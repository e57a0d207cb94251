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

// What a field's text may hold besides a number: nothing (None), "*" (AnyMark), "*" or "|>"
// (PatternMarks), or a word of RegisterWordList, TimerWordList or CounterWordList. A value
// outside the enumerators behaves as None.
enum class TokenMode : int {
  None = 0,
  AnyMark = 1,
  PatternMarks = 2,
  RegisterWords = 3,
  TimerWords = 4,
  CounterWords = 5,
};

// The text ends at its first NUL, if any. radix is 10 or 16, digits 1..6, minimum <= maximum.
ParsedValue parseFieldValue(std::string_view text, int radix, int digits, std::uint32_t minimum,
                            std::uint32_t maximum, TokenMode mode);

}  // namespace vx
