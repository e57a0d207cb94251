#include "catalogue/value_parsing.h"

#include <gtest/gtest.h>

#include <string>

namespace vx {
namespace {

constexpr auto Invalid = ParseResult::Invalid;
constexpr auto Number = ParseResult::Number;
constexpr auto Empty = ParseResult::Empty;
constexpr auto Token = ParseResult::Token;
constexpr auto None = TokenMode::None;
constexpr auto Any = TokenMode::AnyMark;
constexpr auto Pattern = TokenMode::PatternMarks;
constexpr auto RegWords = TokenMode::RegisterWords;
constexpr auto TimerWords = TokenMode::TimerWords;
constexpr auto CountWords = TokenMode::CounterWords;
// A value outside the enumerators, as a caller's cast may produce.
constexpr TokenMode outside(int value) { return static_cast<TokenMode>(value); }

struct Case {
  std::string text;
  int radix;
  int digits;
  std::uint32_t minimum;
  std::uint32_t maximum;
  TokenMode mode;
  ParseResult result;
  std::uint32_t value;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
  return os << '"' << c.text << "\" radix " << c.radix << " digits " << c.digits << " " << c.minimum
            << ".." << c.maximum << " mode " << static_cast<int>(c.mode);
}

class ParseFieldValue : public ::testing::TestWithParam<Case> {};

TEST_P(ParseFieldValue, ClassifiesAndConverts) {
  const Case& c = GetParam();
  const ParsedValue parsed =
      parseFieldValue(c.text, c.radix, c.digits, c.minimum, c.maximum, c.mode);
  EXPECT_EQ(parsed.result, c.result);
  EXPECT_EQ(parsed.value, c.value);
}

// clang-format off
const Case BaseCases[] = {
    // text       radix digits min  max     mode        result   value
    {"1234",      10,   3,     0,   999,    None,       Number,  234},
    {"12",        10,   3,     0,   999,    None,       Number,  12},
    {"",          10,   4,     1,   9999,   None,       Empty,   1},
    {"12a",       10,   3,     0,   999,    None,       Invalid, 0},
    {"12 ",       10,   3,     0,   999,    None,       Invalid, 0},
    {" 12",       10,   3,     0,   999,    None,       Number,  12},
    {"7",         10,   1,     1,   3,      None,       Number,  3},
    {"0",         10,   1,     1,   3,      None,       Number,  1},
    {"ff",        16,   2,     0,   255,    None,       Number,  255},
    {"FF",        16,   2,     0,   255,    None,       Number,  255},
    {"1FF",       16,   2,     0,   255,    None,       Number,  255},
    {"0x1F",      16,   2,     0,   255,    None,       Number,  31},
    {"0x5",       16,   2,     0,   255,    None,       Number,  0},
    {"-1",        10,   2,     0,   99,     None,       Number,  99},
    {"-1",        10,   1,     0,   1,      None,       Number,  1},
    {"*",         16,   1,     0,   15,     None,       Invalid, 0},
    {"*",         16,   1,     0,   15,     Any,        Token,   0},
    {"*x",        16,   2,     0,   255,    Pattern,    Token,   0},
    {"|>",        16,   2,     0,   255,    Pattern,    Token,   1},
    {"|",         16,   2,     0,   255,    Pattern,    Invalid, 0},
    {"RSTART",    10,   6,     1,   999999, TimerWords, Token,   3},
    {"INC",       10,   6,     1,   999999, CountWords, Token,   1},
    {"DEC",       10,   6,     1,   999999, CountWords, Invalid, 1},
    {"Inc",       10,   6,     0,   999999, RegWords,   Invalid, 0},
};

const Case FurtherCases[] = {
    // The empty text comes before every token test and never is invalid.
    {"",          16,   2,     0,   255,    Pattern,    Empty,   0},
    {"",          10,   6,     1,   999999, TimerWords, Empty,   1},
    // Invalid texts hand back the minimum, whatever the mode.
    {"abc",       10,   6,     1,   999999, TimerWords, Invalid, 1},
    {"x",         10,   1,     1,   3,      None,       Invalid, 1},
    // Words: each list in order, whole text, exact case.
    {"INC",       10,   6,     0,   999999, RegWords,   Token,   1},
    {"DEC",       10,   6,     0,   999999, RegWords,   Token,   2},
    {"START",     10,   6,     1,   999999, TimerWords, Token,   1},
    {"STOP",      10,   6,     1,   999999, TimerWords, Token,   2},
    {"RESET",     10,   6,     1,   999999, CountWords, Token,   2},
    {"INCX",      10,   6,     0,   999999, RegWords,   Invalid, 0},
    {"INC",       10,   6,     0,   999999, None,       Invalid, 0},
    {"INC",       10,   6,     0,   999999, TimerWords, Invalid, 0},
    // Word modes have no "*"; token modes have no words.
    {"*",         10,   6,     0,   999999, RegWords,   Invalid, 0},
    {"START",     16,   2,     0,   255,    Pattern,    Invalid, 0},
    // "|>" belongs to mode 2 only; what follows a token is not examined.
    {"|>",        16,   1,     0,   15,     Any,        Invalid, 0},
    {"|>zz",      16,   2,     0,   255,    Pattern,    Token,   1},
    {"**",        16,   1,     0,   15,     Any,        Token,   0},
    // Modes outside the enumerators behave as None.
    {"*",         16,   2,     0,   255,    outside(6), Invalid, 0},
    {"*",         16,   2,     0,   255,    outside(-1), Invalid, 0},
    {"1",         16,   2,     0,   255,    outside(99), Number,  1},
    // Sign and white space.
    {"+5",        10,   2,     0,   99,     None,       Number,  5},
    {"-0",        10,   2,     0,   99,     None,       Number,  0},
    {"\t\n\v\f\r 9", 10, 1,    0,   9,      None,       Number,  9},
    {"+",         10,   1,     0,   9,      None,       Invalid, 0},
    {"-",         10,   1,     0,   9,      None,       Invalid, 0},
    {" ",         10,   1,     0,   9,      None,       Invalid, 0},
    {"+-1",       10,   3,     0,   999,    None,       Invalid, 0},
    {"- 1",       10,   3,     0,   999,    None,       Invalid, 0},
    // A tail whose digits follow a sign or blank still converts.
    {" 5",        10,   2,     0,   99,     None,       Number,  5},
    {"    7",     10,   2,     0,   99,     None,       Number,  7},
    // Radix: hexadecimal letters are no decimal digits; "0x" is hexadecimal only.
    {"1a",        10,   3,     0,   999,    None,       Invalid, 0},
    {"0x10",      10,   4,     0,   9999,   None,       Invalid, 0},
    {"0X1f",      16,   4,     0,   65535,  None,       Number,  31},
    {"0x",        16,   2,     0,   255,    None,       Invalid, 0},
    {"0xg",       16,   2,     0,   255,    None,       Invalid, 0},
    {"-0x1",      16,   2,     0,   255,    None,       Number,  0},  // tail "x1" holds no digit
    {"-0x1",      16,   4,     0,   65535,  None,       Number,  65535},
    {"g",         16,   1,     0,   15,     None,       Invalid, 0},
    // The whole text must convert, however long; only the tail makes the value.
    {"99999999999999999999", 10, 6, 0, 999999, None,       Number,  999999},
    {"123456789", 10,   6,     0,   999999, None,       Number,  456789},
    {"00000042",  16,   2,     0,   255,    None,       Number,  0x42},
    {"1000",      10,   3,     1,   999,    None,       Number,  1},
    // The text ends at its first NUL.
    {std::string("12\0x", 4), 10, 3, 0, 999, None,       Number,  12},
    {std::string("\0" "5", 2), 10, 3, 0, 999, None,       Empty,   0},
    // The full unsigned range.
    {"4294967295", 10,  6,     0,   0xFFFFFFFF, None,       Number, 967295},
    {"FFFFFF",    16,   6,     0,   0xFFFFFFFF, None,       Number, 0xFFFFFF},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Base, ParseFieldValue, ::testing::ValuesIn(BaseCases));
INSTANTIATE_TEST_SUITE_P(Further, ParseFieldValue, ::testing::ValuesIn(FurtherCases));

// Every single-character text in every mode: the value always lies within minimum..maximum.
TEST(ParseFieldValueRange, ValueStaysWithinBoundsForEveryCharacter) {
  for (int mode = 0; mode <= 5; ++mode) {
    for (int c = 1; c < 256; ++c) {
      const std::string text(1, static_cast<char>(c));
      for (const std::string& t : {text, text + text, "1" + text, text + "9"}) {
        const ParsedValue p = parseFieldValue(t, 16, 2, 3, 200, static_cast<TokenMode>(mode));
        if (p.result == ParseResult::Token) continue;
        EXPECT_GE(p.value, 3u) << t;
        EXPECT_LE(p.value, 200u) << t;
      }
    }
  }
}

}  // namespace
}  // namespace vx
