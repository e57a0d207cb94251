// Classifies the text of a panel field and turns it into a number, a token or a replacement.
#include "catalogue/value_parsing.h"

#include <span>

#include "catalogue/catalogue.h"

namespace vx {

namespace {

constexpr std::uint32_t Largest = 0xFFFFFFFFu;

struct Conversion {
  std::uint32_t value = 0;
  // Characters taken by the conversion; 0 when the text holds no number at all.
  std::size_t consumed = 0;
};

constexpr bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The value of `c` as a digit of `radix`, or -1.
constexpr int digitValue(char c, int radix) {
  int d = -1;
  if (c >= '0' && c <= '9') {
    d = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    d = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    d = c - 'A' + 10;
  }
  return d < radix ? d : -1;
}

// An unsigned 32-bit conversion with the rules of the C library's strtoul, independent of the
// locale: leading white space, an optional sign, for radix 16 an optional "0x"/"0X" prefix, then
// digits. Too large a number becomes 2^32-1 before a "-" negates it modulo 2^32.
constexpr Conversion convert(std::string_view text, int radix) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // The prefix counts only when a hexadecimal digit follows it; otherwise the "0" is the number.
  if (radix == 16 && i + 2 < text.size() && text[i] == '0' &&
      (text[i + 1] == 'x' || text[i + 1] == 'X') && digitValue(text[i + 2], 16) >= 0) {
    i += 2;
  }
  const std::size_t digitsStart = i;
  std::uint64_t value = 0;
  bool overflow = false;
  while (i < text.size()) {
    const int d = digitValue(text[i], radix);
    if (d < 0) break;
    if (!overflow) {
      value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
      if (value > Largest) overflow = true;
    }
    ++i;
  }
  if (i == digitsStart) return {};  // no digits: nothing converted
  std::uint32_t result = overflow ? Largest : static_cast<std::uint32_t>(value);
  if (negative) result = 0u - result;
  return {result, i};
}

static_assert(convert("  -1", 10).value == Largest);
static_assert(convert("0x1F", 16).value == 31 && convert("0x1F", 16).consumed == 4);
static_assert(convert("0x", 16).value == 0 && convert("0x", 16).consumed == 1);
static_assert(convert("99999999999", 10).value == Largest);
static_assert(convert("+", 10).consumed == 0);

std::span<const char* const> wordsOfMode(TokenMode mode) {
  switch (mode) {
    case TokenMode::RegisterWords:
      return namesOf(RegisterWordList);
    case TokenMode::TimerWords:
      return namesOf(TimerWordList);
    case TokenMode::CounterWords:
      return namesOf(CounterWordList);
    default:
      return {};
  }
}

}  // namespace

ParsedValue parseFieldValue(std::string_view text, int radix, int digits, std::uint32_t minimum,
                            std::uint32_t maximum, TokenMode mode) {
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    text = text.substr(0, nul);
  }
  if (radix != 16) radix = 10;

  // Empty comes first: an empty text is neither a token nor invalid.
  if (text.empty()) return {ParseResult::Empty, minimum};

  const bool marks = mode == TokenMode::AnyMark || mode == TokenMode::PatternMarks;
  if (marks && text[0] == '*') return {ParseResult::Token, 0};
  if (mode == TokenMode::PatternMarks && text.starts_with("|>")) return {ParseResult::Token, 1};
  const std::span<const char* const> words = wordsOfMode(mode);
  for (std::size_t k = 0; k < words.size(); ++k) {
    if (text == words[k]) return {ParseResult::Token, static_cast<std::uint32_t>(k + 1)};
  }

  // The whole text must be one number in the radix, or it is replaced by the minimum.
  if (convert(text, radix).consumed != text.size()) return {ParseResult::Invalid, minimum};

  // Only the last `digits` characters make the value: a 3-digit field given "1234" takes 234.
  const std::size_t keep = digits > 0 ? static_cast<std::size_t>(digits) : 0;
  const std::string_view tail = text.size() > keep ? text.substr(text.size() - keep) : text;
  std::uint32_t value = convert(tail, radix).value;
  if (value > maximum) value = maximum;
  if (value < minimum) value = minimum;
  return {ParseResult::Number, value};
}

}  // namespace vx
