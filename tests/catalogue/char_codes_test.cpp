#include "catalogue/char_codes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vx {
namespace {

// The expected tables are written as rows of display characters in UTF-8, as the code charts
// print them, and converted to the Shift-JIS bytes the editor uses: "·" is an empty slot, "␣" the
// blank, half-width katakana U+FF61..U+FF9F become the single bytes 0xA1..0xDF and the full-width
// cent sign U+FFE0 becomes 0x81 0x91.
std::string toShiftJis(std::u8string_view token) {
  if (token == u8"·") return {};
  if (token == u8"␣") return " ";
  std::string out;
  for (std::size_t i = 0; i < token.size();) {
    const auto lead = static_cast<unsigned>(token[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    if ((lead & 0xF0) != 0xE0 || i + 2 >= token.size()) {
      ADD_FAILURE() << "unexpected character in expected table";
      return out;
    }
    const unsigned cp = ((lead & 0x0F) << 12) |
                        ((static_cast<unsigned>(token[i + 1]) & 0x3F) << 6) |
                        (static_cast<unsigned>(token[i + 2]) & 0x3F);
    if (cp >= 0xFF61 && cp <= 0xFF9F) {
      out += static_cast<char>(0xA1 + (cp - 0xFF61));
    } else if (cp == 0xFFE0) {
      out += "\x81\x91";
    } else {
      ADD_FAILURE() << "no single-byte form for U+" << std::hex << cp;
    }
    i += 3;
  }
  return out;
}

// All tokens of the rows in order; rows are only for reading.
std::vector<std::string> slotsOf(const std::vector<std::u8string_view>& rows) {
  std::vector<std::string> slots;
  for (std::u8string_view row : rows) {
    std::size_t start = 0;
    while (start < row.size()) {
      std::size_t end = row.find(u8' ', start);
      if (end == std::u8string_view::npos) end = row.size();
      if (end > start) slots.push_back(toShiftJis(row.substr(start, end - start)));
      start = end + 1;
    }
  }
  return slots;
}

// clang-format off
const std::vector<std::u8string_view> AsciiRows = {
  u8"NU SH SX EX ET EQ AK BL BS HT LF VT FF CR SO SI",
  u8"DL D1 D2 D3 D4 NK SY EB CN EM SB EC FS GS RS US",
  u8"␣ ! \" # $ % & ' ( ) * + , - . /",
  u8"0 1 2 3 4 5 6 7 8 9 : ; < = > ?",
  u8"@ A B C D E F G H I J K L M N O",
  u8"P Q R S T U V W X Y Z [ \\ ] ^ _",
  u8"` a b c d e f g h i j k l m n o",
  u8"p q r s t u v w x y z { | } ~ DT",
};

const std::vector<std::u8string_view> Jis7ShiftedRows = {
  u8"NU SH SX EX ET EQ AK BL BS HT LF VT FF CR SO SI",
  u8"DL D1 D2 D3 D4 NK SY EB CN EM SB EC FS GS RS US",
  u8"␣ ｡ ｢ ｣ ､ ･ ｦ ｧ ｨ ｩ ｪ ｫ ｬ ｭ ｮ ｯ",
  u8"ｰ ｱ ｲ ｳ ｴ ｵ ｶ ｷ ｸ ｹ ｺ ｻ ｼ ｽ ｾ ｿ",
  u8"ﾀ ﾁ ﾂ ﾃ ﾄ ﾅ ﾆ ﾇ ﾈ ﾉ ﾊ ﾋ ﾌ ﾍ ﾎ ﾏ",
  u8"ﾐ ﾑ ﾒ ﾓ ﾔ ﾕ ﾖ ﾗ ﾘ ﾙ ﾚ ﾛ ﾜ ﾝ ﾞ ﾟ",
};

const std::vector<std::u8string_view> Jis8Rows = {
  u8"NU SH SX EX ET EQ AK BL BS HT LF VT FF CR SO SI",
  u8"DL D1 D2 D3 D4 NK SY EB CN EM SB EC FS GS RS US",
  u8"␣ ! \" # $ % & ' ( ) * + , - . /",
  u8"0 1 2 3 4 5 6 7 8 9 : ; < = > ?",
  u8"@ A B C D E F G H I J K L M N O",
  u8"P Q R S T U V W X Y Z [ \\ ] ^ _",
  u8"` a b c d e f g h i j k l m n o",
  u8"p q r s t u v w x y z { | } ~ DT",
  u8"· · · · · · · · · · · · · · · ·",
  u8"· · · · · · · · · · · · · · · ·",
  u8"· ｡ ｢ ｣ ､ ･ ｦ ｧ ｨ ｩ ｪ ｫ ｬ ｭ ｮ ｯ",
  u8"ｰ ｱ ｲ ｳ ｴ ｵ ｶ ｷ ｸ ｹ ｺ ｻ ｼ ｽ ｾ ｿ",
  u8"ﾀ ﾁ ﾂ ﾃ ﾄ ﾅ ﾆ ﾇ ﾈ ﾉ ﾊ ﾋ ﾌ ﾍ ﾎ ﾏ",
  u8"ﾐ ﾑ ﾒ ﾓ ﾔ ﾕ ﾖ ﾗ ﾘ ﾙ ﾚ ﾛ ﾜ ﾝ ﾞ ﾟ",
  u8"· · · · · · · · · · · · · · · ·",
  u8"· · · · · · · · · · · · · · · ·",
};

const std::vector<std::u8string_view> EbcdicRows = {
  u8"NU SH SX EX PF HT LC DT GE S1 RT VT FF CR SO SI",
  u8"DL D1 D2 D3 RE NL BS PC CN EM US C1 IF IG RS US",
  u8"DS SS FS WS BP LF EB EC SA SE SM CP MA EQ AK BL",
  u8"·  ·  SY IR PN TN NS ET S2 IT RF C3 D4 NK ·  SB",
  u8"␣ · · · · · · · · · ￠ . < ( + |",
  u8"& · · · · · · · · · ! $ * ) ; ^",
  u8"- / · · · · · · · · · , % _ > ?",
  u8"· · · · · · · · · · : # @ ' = \"",
  u8"· a b c d e f g h i · · · · · ·",
  u8"· j k l m n o p q r · · · · · ·",
  u8"· ~ s t u v w x y z · · · · · ·",
  u8"· · · · · · · · · · · · · · · ·",
  u8"{ A B C D E F G H I · · · · · ·",
  u8"} J K L M N O P Q R · · · · · ·",
  u8"\\ · S T U V W X Y Z · · · · · ·",
  u8"0 1 2 3 4 5 6 7 8 9 · · · · · ·",
};

const std::vector<std::u8string_view> EbcdikRows = {
  u8"NU SH SX EX PF HT LC DT GE S1 RT VT FF CR SO SI",
  u8"DL D1 D2 D3 RE NL BS PC CN EM US C1 IF IG RS US",
  u8"DS SS FS WS BP LF EB EC SA SE SM CP MA EQ AK BL",
  u8"·  ·  SY IR PN TN NS ET S2 IT RF C3 D4 NK ·  SB",
  u8"␣ · · · · · · · · · ￠ . < ( + |",
  u8"& · · · · · · · · · ! $ * ) ; ^",
  u8"- / · · · · · · · · · , % _ > ?",
  u8"· · · · · · · · · · : # @ ' = \"",
  u8"· ｱ ｲ ｳ ｴ ｵ ｶ ｷ ｸ ｹ ｺ · ｻ ｼ ｽ ｾ",
  u8"ｿ ﾀ ﾁ ﾂ ﾃ ﾄ ﾅ ﾆ ﾇ ﾈ ﾉ · · ﾊ ﾋ ﾌ",
  u8"· ~ ﾍ ﾎ ﾏ ﾐ ﾑ ﾒ ﾓ ﾔ ﾕ · ﾖ ﾗ ﾘ ﾙ",
  u8"· · · · · · · · · · ﾚ ﾛ ﾜ ﾝ ﾞ ·",
  u8"{ A B C D E F G H I · · · · · ·",
  u8"} J K L M N O P Q R · · · · · ·",
  u8"\\ · S T U V W X Y Z · · · · · ·",
  u8"0 1 2 3 4 5 6 7 8 9 · · · · · ·",
};

const std::vector<std::u8string_view> EbcdNormalRows = {
  u8"␣  -  @  &  8  q  y  h",
  u8"4  m  u  d  ·  ·  ·  ·",
  u8"2  k  s  b  0  VT FF ·",
  u8"6  o  w  f  SO BS EB SI",
  u8"1  j  /  a  9  r  z  i",
  u8"5  n  v  e  RS CR LF HT",
  u8"3  l  t  c  #  $  ,  .",
  u8"7  p  x  g  ET SY EC DT",
};

const std::vector<std::u8string_view> EbcdShiftedRows = {
  u8"␣  _  ·  +  *  Q  Y  H",
  u8":  M  U  D  ·  ·  ·  ·",
  u8"<  K  S  B  )  VT FF ·",
  u8",  O  W  F  SO BS EB SI",
  u8"=  J  ?  A  (  R  Z  I",
  u8"%  N  V  E  RS CR LF HT",
  u8";  L  T  C  \" !  ,  .",
  u8">  P  X  G  ET SY EC DT",
};

const std::vector<std::u8string_view> TranscodeRows = {
  u8"SH A  B  C  D  E  F  G",
  u8"H  I  SX .  <  BL SB EB",
  u8"&  J  K  L  M  N  O  P",
  u8"Q  R  ␣  $  *  US ET DL",
  u8"_  /  S  T  U  V  W  X",
  u8"Y  Z  EC ,  %  EQ EX HT",
  u8"0  1  2  3  4  5  6  7",
  u8"8  9  SY #  @  NK EM DT",
};

const std::vector<std::u8string_view> IparsRows = {
  u8"·  1  2  3  4  5  6  7",
  u8"8  9  0  *  CR EI =  ·",
  u8"·  /  S  T  U  V  W  X",
  u8"Y  Z  -  #  ␣  EC [  ,",
  u8"@  J  K  L  M  N  O  P",
  u8"Q  R  :  <  +  EU )  (",
  u8"$  A  B  C  D  E  F  G",
  u8"H  I  ?  .  %  EP S2 S1",
};

const std::vector<std::u8string_view> BaudotLetterRows = {
  u8"NU E  LF A  ␣  S  I  U",
  u8"CR D  R  J  N  F  C  K",
  u8"T  Z  L  W  H  Y  P  Q",
  u8"O  B  G  SO M  X  V  SI",
};

const std::vector<std::u8string_view> BaudotFigureRows = {
  u8"NU 3  LD -  ␣  '  8  7",
  u8"CR $  4  BL ,  !  :  (",
  u8"5  \" )  2  #  6  0  1",
  u8"9  ?  &  SO .  /  ;  SI",
};
// clang-format on

using enum CharCode;
// Every code in selector order.
constexpr CharCode AllCodes[] = {Ascii, Ebcdic, Ebcdik,    Jis7,  Jis8,
                                 Hex,   Ebcd,   Transcode, Ipars, Baudot};
static_assert(std::size(AllCodes) == CharCodeCount);

struct HalfCase {
  const char* name;
  CharCode code;
  CharHalf half;
  const std::vector<std::u8string_view>* rows;  // nullptr: the half has no slots
};

// clang-format off
const HalfCase HalfCases[] = {
  {"AsciiNormal",      Ascii,     CharHalf::Normal,  &AsciiRows},
  {"AsciiShifted",     Ascii,     CharHalf::Shifted, nullptr},
  {"EbcdicNormal",     Ebcdic,    CharHalf::Normal,  &EbcdicRows},
  {"EbcdicShifted",    Ebcdic,    CharHalf::Shifted, nullptr},
  {"EbcdikNormal",     Ebcdik,    CharHalf::Normal,  &EbcdikRows},
  {"EbcdikShifted",    Ebcdik,    CharHalf::Shifted, nullptr},
  {"Jis7Normal",       Jis7,      CharHalf::Normal,  &AsciiRows},
  {"Jis7Shifted",      Jis7,      CharHalf::Shifted, &Jis7ShiftedRows},
  {"Jis8Normal",       Jis8,      CharHalf::Normal,  &Jis8Rows},
  {"Jis8Shifted",      Jis8,      CharHalf::Shifted, nullptr},
  {"HexNormal",        Hex,       CharHalf::Normal,  nullptr},
  {"HexShifted",       Hex,       CharHalf::Shifted, nullptr},
  {"EbcdNormal",       Ebcd,      CharHalf::Normal,  &EbcdNormalRows},
  {"EbcdShifted",      Ebcd,      CharHalf::Shifted, &EbcdShiftedRows},
  {"TranscodeNormal",  Transcode, CharHalf::Normal,  &TranscodeRows},
  {"TranscodeShifted", Transcode, CharHalf::Shifted, nullptr},
  {"IparsNormal",      Ipars,     CharHalf::Normal,  &IparsRows},
  {"IparsShifted",     Ipars,     CharHalf::Shifted, nullptr},
  {"BaudotNormal",     Baudot,    CharHalf::Normal,  &BaudotLetterRows},
  {"BaudotShifted",    Baudot,    CharHalf::Shifted, &BaudotFigureRows},
};
// clang-format on

class DisplayTableTest : public ::testing::TestWithParam<HalfCase> {};

TEST_P(DisplayTableTest, EverySlotMatchesTheCodeChart) {
  const HalfCase& c = GetParam();
  const std::vector<std::string> expected =
      c.rows == nullptr ? std::vector<std::string>{} : slotsOf(*c.rows);
  ASSERT_EQ(slotCount(c.code, c.half), static_cast<int>(expected.size()));
  for (int v = 0; v < 256; ++v) {
    const std::string want = v < static_cast<int>(expected.size())
                                 ? expected[static_cast<std::size_t>(v)]
                                 : std::string();
    EXPECT_EQ(displaySlot(c.code, c.half, v), want) << "byte 0x" << std::hex << v;
  }
}

TEST_P(DisplayTableTest, StoredHalfEndsWithTheMarkerRightAfterItsSlots) {
  const HalfCase& c = GetParam();
  const auto& stored = CharDisplayTable[charCodeIndex(c.code)][c.half == CharHalf::Shifted ? 1 : 0];
  const auto count = static_cast<std::size_t>(slotCount(c.code, c.half));
  ASSERT_EQ(stored.size(), 257u);
  EXPECT_EQ(stored[count], "***");
  for (std::size_t v = count + 1; v < stored.size(); ++v) {
    EXPECT_TRUE(stored[v].empty()) << "slot " << v;
  }
  EXPECT_TRUE(displaySlot(c.code, c.half, static_cast<int>(count)).empty());
}

// Every single-character slot is found again by the reverse search, at its own byte or at a lower
// byte that shows the same character.
TEST_P(DisplayTableTest, ReverseSearchFindsTheLowestByteOfEveryCharacter) {
  const HalfCase& c = GetParam();
  for (int v = 0; v < slotCount(c.code, c.half); ++v) {
    const std::string_view slot = displaySlot(c.code, c.half, v);
    if (slot.size() != 1) continue;
    const int found = byteForCharacter(c.code, slot[0], c.half);
    EXPECT_LE(found, v);
    EXPECT_GE(found, 0);
    EXPECT_EQ(displaySlot(c.code, c.half, found), slot) << "byte 0x" << std::hex << v;
  }
}

INSTANTIATE_TEST_SUITE_P(AllCodes, DisplayTableTest, ::testing::ValuesIn(HalfCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(CharCodes, NameListInSelectorOrderClosedBySentinel) {
  const char* const expected[] = {"ASCII", "EBCDIC",    "EBCDIK", "JIS7",   "JIS8", "HEX",
                                  "EBCD",  "TRANSCODE", "IPARS",  "BAUDOT", "***"};
  ASSERT_EQ(CharCodeNameList.size(), std::size(expected));
  for (std::size_t i = 0; i < CharCodeNameList.size(); ++i) {
    EXPECT_STREQ(CharCodeNameList[i], expected[i]);
  }
  for (std::size_t i = 0; i < std::size(AllCodes); ++i) {
    EXPECT_EQ(charCodeIndex(AllCodes[i]), i);
    EXPECT_STREQ(charCodeName(AllCodes[i]), expected[i]);
  }
}

TEST(CharCodes, ShiftBytesOfTheThreeShiftingCodes) {
  for (const CharCode code : AllCodes) {
    const ShiftPair pair = ShiftBytes[charCodeIndex(code)];
    switch (code) {
      case Jis7:
        EXPECT_EQ(pair.toNormal, 0x0F);
        EXPECT_EQ(pair.toShifted, 0x0E);
        break;
      case Ebcd:
        EXPECT_EQ(pair.toNormal, 0x1F);
        EXPECT_EQ(pair.toShifted, 0x1C);
        break;
      case Baudot:
        EXPECT_EQ(pair.toNormal, 0x1F);
        EXPECT_EQ(pair.toShifted, 0x1B);
        break;
      default:
        EXPECT_EQ(pair.toNormal, 0) << charCodeName(code);
        EXPECT_EQ(pair.toShifted, 0) << charCodeName(code);
    }
  }
}

TEST(CharCodes, HexFallbackIsTwoLowercaseDigits) {
  for (int v = 0; v < 256; ++v) {
    char want[3];
    std::snprintf(want, sizeof want, "%02x", v);
    EXPECT_STREQ(HexFallback[static_cast<std::size_t>(v)].data(), want);
  }
}

TEST(CharCodes, CodesOutsideTheListAreTreatedAsAscii) {
  for (int index : {-1, 10, 11, 255, -2147483647 - 1, 2147483647}) {
    EXPECT_EQ(normaliseCharCode(index), Ascii) << index;
  }
  // A value outside the list that a cast has made behaves as ASCII too.
  for (int value : {10, 11, 200, 255}) {
    const auto code = static_cast<CharCode>(value);
    EXPECT_EQ(charCodeIndex(code), 0u) << value;
    EXPECT_STREQ(charCodeName(code), "ASCII");
    EXPECT_EQ(slotCount(code, CharHalf::Normal), 128);
    EXPECT_EQ(displaySlot(code, CharHalf::Normal, 0x41), "A");
    EXPECT_EQ(byteForCharacter(code, 'A', CharHalf::Normal), 0x41);
    std::array<std::uint8_t, 15> out{};
    EXPECT_EQ(textToBytes(code, "AB", out), 2);
    EXPECT_EQ(out[0], 0x41);
  }
  for (int index = 0; index < CharCodeCount; ++index) {
    EXPECT_EQ(normaliseCharCode(index), AllCodes[index]);
  }
}

TEST(CharCodes, ValuesOutsideAByteHaveNoSlot) {
  for (const CharCode code : AllCodes) {
    EXPECT_TRUE(displaySlot(code, CharHalf::Normal, -1).empty());
    EXPECT_TRUE(displaySlot(code, CharHalf::Normal, 256).empty());
    EXPECT_TRUE(displaySlot(code, CharHalf::Normal, 1000).empty());
    EXPECT_TRUE(displaySlot(code, static_cast<CharHalf>(2), 0x41).empty());
    EXPECT_EQ(byteForCharacter(code, 'A', static_cast<CharHalf>(-1)), -1);
  }
}

// --- displayStrings --------------------------------------------------------------------------

using Bytes8 = std::array<std::uint8_t, 8>;
using Strings8 = std::array<std::string_view, 8>;

struct DisplayCase {
  const char* what;
  bool showCharacters;
  CharCode code;
  Bytes8 data;
  bool usesMask;
  std::uint8_t mask;
  Strings8 expected;
};

// clang-format off
const DisplayCase DisplayCases[] = {
  {"ascii controls and bytes past the half", true, Ascii,
   {0x41, 0x0D, 0x7F, 0x80, 0x20, 0xFF, 0x00, 0x7E}, false, 0,
   {"A", "CR", "DT", "80", " ", "ff", "NU", "~"}},
  {"display off shows lowercase hex", false, Ebcdic,
   {0x0A, 0xFF, 0xC1, 0x4A, 0x40, 0x00, 0x81, 0xF0}, false, 0,
   {"0a", "ff", "c1", "4a", "40", "00", "81", "f0"}},
  {"display off keeps the pattern tokens", false, Ascii,
   {0x00, 0x01, 0x41, 0x00, 0x00, 0x00, 0x00, 0x00}, true, 0x03,
   {"*", "|>", "41", "00", "00", "00", "00", "00"}},
  {"mask 0x05", true, Ascii,
   {0x00, 0x41, 0x01, 0x42, 0x00, 0x00, 0x00, 0x00}, true, 0x05,
   {"*", "A", "|>", "B", "NU", "NU", "NU", "NU"}},
  {"mask ignored without usesMask", true, Ascii,
   {0x00, 0x41, 0x01, 0x42, 0x00, 0x00, 0x00, 0x00}, false, 0xFF,
   {"NU", "A", "SH", "B", "NU", "NU", "NU", "NU"}},
  {"any non-zero masked byte is the flag", true, Ascii,
   {0xFF, 0x02, 0x00, 0x41, 0x41, 0x41, 0x41, 0x80}, true, 0x87,
   {"|>", "|>", "*", "A", "A", "A", "A", "|>"}},
  {"hex code shows every byte as hex", true, Hex,
   {0x41, 0x20, 0x0E, 0x0F, 0x31, 0xB1, 0x00, 0x7F}, false, 0,
   {"41", "20", "0e", "0f", "31", "b1", "00", "7f"}},
  {"ebcd shift bytes show in their own half", true, Ebcd,
   {0x1C, 0x23, 0x1F, 0x23, 0x1C, 0x36, 0x1F, 0x36}, false, 0,
   {"SO", "A", "SI", "a", "SO", ",", "SI", ","}},
  {"ebcd bytes past 64 slots", true, Ebcd,
   {0x40, 0x1C, 0x40, 0x0C, 0x1F, 0x3F, 0x00, 0xFF}, false, 0,
   {"40", "SO", "40", "0c", "SI", "DT", " ", "ff"}},
  {"jis7 katakana after SO, back after SI", true, Jis7,
   {0x31, 0x0E, 0x31, 0x5F, 0x60, 0x0F, 0x31, 0x0F}, false, 0,
   {"1", "SO", "\xB1", "\xDF", "60", "SI", "1", "SI"}},  // ｱ, ﾟ
  {"baudot figures and letters", true, Baudot,
   {0x03, 0x1B, 0x17, 0x1B, 0x03, 0x1F, 0x03, 0x20}, false, 0,
   {"A", "SO", "1", "SO", "-", "SI", "A", "20"}},
  {"masked shift byte does not shift", true, Baudot,
   {0x1B, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, true, 0x01,
   {"|>", "A", "NU", "NU", "NU", "NU", "NU", "NU"}},
  {"zero byte leaves a code without shift in its half", true, Transcode,
   {0x00, 0x01, 0x1A, 0x3F, 0x40, 0x00, 0x30, 0x0B}, false, 0,
   {"SH", "A", " ", "DT", "40", "SH", "0", "."}},
  {"ipars empty slots", true, Ipars,
   {0x00, 0x0F, 0x10, 0x1C, 0x3F, 0x0C, 0x31, 0x01}, false, 0,
   {"00", "0f", "10", " ", "S1", "CR", "A", "1"}},
  {"ebcdic cent sign and empty slots", true, Ebcdic,
   {0x4A, 0x4F, 0x7F, 0xE0, 0x30, 0x41, 0x3E, 0xE1}, false, 0,
   {"\x81\x91", "|", "\"", "\\", "30", "41", "3e", "e1"}},  // ￠
  {"ebcdik katakana", true, Ebcdik,
   {0x81, 0x8B, 0xA1, 0xBE, 0xBF, 0x80, 0x90, 0xC1}, false, 0,
   {"\xB1", "8b", "~", "\xDE", "bf", "80", "\xBF", "A"}},  // ｱ, ﾞ, ｿ
  {"jis8 katakana at their own codes", true, Jis8,
   {0xA1, 0xDF, 0xA0, 0xE0, 0x80, 0xB1, 0x7F, 0x41}, false, 0,
   {"\xA1", "\xDF", "a0", "e0", "80", "\xB1", "DT", "A"}},  // ｡, ﾟ, ｱ
};
// clang-format on

TEST(DisplayStrings, Cases) {
  for (const DisplayCase& c : DisplayCases) {
    SCOPED_TRACE(c.what);
    const Strings8 got = displayStrings(c.showCharacters, c.code, c.data, c.usesMask, c.mask);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(got[i], c.expected[i]) << "position " << i;
  }
}

// Each call starts in the normal half, whatever the previous line left.
TEST(DisplayStrings, EveryCallStartsInTheNormalHalf) {
  displayStrings(true, Jis7, {0x0E, 0x31, 0x31, 0x31, 0x31, 0x31, 0x31, 0x31}, false, 0);
  const Strings8 got = displayStrings(true, Jis7, {0x31, 0, 0, 0, 0, 0, 0, 0}, false, 0);
  EXPECT_EQ(got[0], "1");
}

// --- byteForCharacter and textToBytes --------------------------------------------------------

struct ByteCase {
  CharCode code;
  char c;
  CharHalf half;
  int expected;
};

// clang-format off
const ByteCase ByteCases[] = {
  {Ascii,  ' ',    CharHalf::Normal,  0x20},
  {Ebcdic, ' ',    CharHalf::Normal,  0x40},
  {Ebcd,   ' ',    CharHalf::Normal,  0x00},
  {Baudot, ' ',    CharHalf::Normal,  0x04},
  {Ebcd,   ',',    CharHalf::Shifted, 0x18},  // also at 0x36: the lower byte wins
  {Ebcdic, '\x81', CharHalf::Normal,  -1},    // first byte of the two-byte cent sign
  {Baudot, 'N',    CharHalf::Normal,  0x0C},  // the letter, not the control name "NU"
  {Baudot, 'A',    CharHalf::Shifted, -1},
  {Ascii,  'A',    CharHalf::Shifted, -1},    // a half without slots
  {Hex,    'A',    CharHalf::Normal,  -1},
  {Hex,    '0',    CharHalf::Normal,  -1},
  {Jis7,   '\xB1', CharHalf::Normal,  -1},    // ｱ
  {Jis7,   '\xB1', CharHalf::Shifted, 0x31},  // ｱ
  {Jis8,   '\xB1', CharHalf::Normal,  0xB1},  // ｱ
  {Ebcdik, '\xB1', CharHalf::Normal,  0x81},  // ｱ
  {Ebcdik, 'a',    CharHalf::Normal,  -1},
  {Ascii,  '\0',   CharHalf::Normal,  -1},
  {Ascii,  '*',    CharHalf::Normal,  0x2A},  // the marker "***" is no character
  {Ipars,  '*',    CharHalf::Normal,  0x0B},
};
// clang-format on

TEST(ByteForCharacter, Cases) {
  for (const ByteCase& c : ByteCases) {
    EXPECT_EQ(byteForCharacter(c.code, c.c, c.half), c.expected)
        << charCodeName(c.code) << " character 0x" << std::hex
        << (static_cast<unsigned>(c.c) & 0xFF) << " half " << static_cast<int>(c.half);
  }
}

struct TextCase {
  const char* what;
  CharCode code;
  std::string_view text;
  std::vector<std::uint8_t> expected;
};

// clang-format off
const TextCase TextCases[] = {
  {"letter then figure", Baudot, "A1", {0x03, 0x1B, 0x17}},
  {"figure then letter", Baudot, "1A", {0x1B, 0x17, 0x1F, 0x03}},
  {"katakana then letter", Jis7, "\xB1" "A", {0x0E, 0x31, 0x0F, 0x41}},  // ｱA
  {"no shift for the eighth character", Jis7, "ABCDEFG\xB1",  // ...ｱ
   {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x00}},
  {"hex has no characters", Hex, "AB", {0x00, 0x00}},
  {"ascii", Ascii, "Hi 1", {0x48, 0x69, 0x20, 0x31}},
  {"only the first eight characters", Ascii, "ABCDEFGHIJ",
   {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48}},
  {"stops at NUL", Ascii, std::string_view("AB\0CD", 5), {0x41, 0x42}},
  {"empty", Ebcd, "", {}},
  {"unknown character becomes zero", Ascii, "A\xB1" "B", {0x41, 0x00, 0x42}},  // AｱB
  {"code without shift never shifts", Ebcdic, "a\xB1", {0x81, 0x00}},  // aｱ
  {"two-byte character as two bytes", Ascii, "\x83\x41", {0x00, 0x41}},  // full-width ア
  {"largest result, fifteen bytes", Baudot, "1A1A1A1A",
   {0x1B, 0x17, 0x1F, 0x03, 0x1B, 0x17, 0x1F, 0x03, 0x1B, 0x17, 0x1F, 0x03, 0x1B, 0x17, 0x00}},
  {"character in both halves stays in the current half", Ebcd, "A,a,",
   {0x1C, 0x23, 0x18, 0x1F, 0x23, 0x36}},
  {"blank in both halves", Baudot, "1 2", {0x1B, 0x17, 0x04, 0x13}},
  {"eighth character only in the other half", Baudot, "1111111A",
   {0x1B, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x00}},
};
// clang-format on

TEST(TextToBytes, Cases) {
  for (const TextCase& c : TextCases) {
    SCOPED_TRACE(c.what);
    std::array<std::uint8_t, 15> out{};
    out.fill(0xEE);
    const int n = textToBytes(c.code, c.text, out);
    ASSERT_EQ(n, static_cast<int>(c.expected.size()));
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(out[i], c.expected[i]) << "byte " << i;
    }
    for (std::size_t i = c.expected.size(); i < out.size(); ++i) {
      EXPECT_EQ(out[i], 0xEE) << "written past the count at " << i;
    }
  }
}

// What textToBytes writes shows again as the typed text.
TEST(TextToBytes, RoundTripThroughTheDisplay) {
  struct RoundTrip {
    CharCode code;
    std::string_view text;
  };
  const RoundTrip cases[] = {{Ascii, "Hello!"}, {Ebcd, "Ab,cd"}, {Baudot, "AB12"}};
  for (const RoundTrip& c : cases) {
    std::array<std::uint8_t, 15> out{};
    const int n = textToBytes(c.code, c.text, out);
    ASSERT_LE(n, 8);
    Bytes8 data{};
    std::copy_n(out.begin(), n, data.begin());
    const Strings8 shown = displayStrings(true, c.code, data, false, 0);
    std::string text;
    const ShiftPair shift = ShiftBytes[charCodeIndex(c.code)];
    for (int i = 0; i < n; ++i) {
      const auto b = data[static_cast<std::size_t>(i)];
      if (shift.toNormal != 0 && (b == shift.toNormal || b == shift.toShifted)) continue;
      text += shown[static_cast<std::size_t>(i)];
    }
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
}  // namespace vx
