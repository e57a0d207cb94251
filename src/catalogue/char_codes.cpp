// The ten character codes, their display tables and the conversions between bytes and the
// characters the user sees and types. All texts are Shift-JIS byte strings.
#include "catalogue/char_codes.h"

#include <cstddef>

namespace vx {
namespace {

using Slots64 = std::array<std::string_view, 64>;

// Every byte value as a one-character string, so that generated slots can point at constant
// storage: half-width katakana are single Shift-JIS bytes 0xA1-0xDF.
constexpr auto SingleCharacters = [] {
  std::array<std::array<char, 2>, 256> table{};
  for (std::size_t v = 0; v < table.size(); ++v) {
    table[v][0] = static_cast<char>(v);
  }
  return table;
}();

constexpr std::string_view single(std::size_t value) { return {SingleCharacters[value].data(), 1}; }

// The full-width cent sign as its two Shift-JIS bytes.
constexpr std::string_view CentSign = "\x81\x91";

// Copies the `N` slots of a half and closes it with the end marker.
template <std::size_t N>
constexpr CharHalfTable closedHalf(const std::array<std::string_view, N>& slots) {
  static_assert(N < CharHalfSlots);
  CharHalfTable half{};
  for (std::size_t v = 0; v < N; ++v) {
    half[v] = slots[v];
  }
  half[N] = CharTableEndMarker;
  // Assigned one by one: GCC 12 cannot read value-initialised views of a constant table in a loop.
  for (std::size_t v = N + 1; v < half.size(); ++v) {
    half[v] = std::string_view("", 0);  // NOLINT(bugprone-string-constructor): see above
  }
  return half;
}

constexpr CharHalfTable EmptyHalf = closedHalf(std::array<std::string_view, 0>{});

// clang-format off
constexpr std::array<std::string_view, 32> AsciiControlNames = {
  "NU", "SH", "SX", "EX", "ET", "EQ", "AK", "BL",  // 0x00
  "BS", "HT", "LF", "VT", "FF", "CR", "SO", "SI",  // 0x08
  "DL", "D1", "D2", "D3", "D4", "NK", "SY", "EB",  // 0x10
  "CN", "EM", "SB", "EC", "FS", "GS", "RS", "US",  // 0x18
};
// clang-format on

// ASCII: control names, the blank, the printable characters and DEL.
constexpr std::array<std::string_view, 128> asciiSlots() {
  std::array<std::string_view, 128> slots{};
  for (std::size_t v = 0; v < 0x20; ++v) {
    slots[v] = AsciiControlNames[v];
  }
  slots[0x20] = " ";
  for (std::size_t v = 0x21; v <= 0x7E; ++v) {
    slots[v] = single(v);
  }
  slots[0x7F] = "DT";
  return slots;
}

// The katakana half of JIS7: byte b shows the JIS X 0201 character b + 0x80.
constexpr std::array<std::string_view, 96> jis7ShiftedSlots() {
  std::array<std::string_view, 96> slots{};
  for (std::size_t v = 0; v < 0x20; ++v) {
    slots[v] = AsciiControlNames[v];
  }
  slots[0x20] = " ";
  for (std::size_t v = 0x21; v <= 0x5F; ++v) {
    slots[v] = single(v + 0x80);
  }
  return slots;
}

// JIS8: ASCII below 0x80 and the katakana at their own codes 0xA1-0xDF.
constexpr std::array<std::string_view, 256> jis8Slots() {
  std::array<std::string_view, 256> slots{};
  const auto ascii = asciiSlots();
  for (std::size_t v = 0; v < ascii.size(); ++v) {
    slots[v] = ascii[v];
  }
  for (std::size_t v = 0xA1; v <= 0xDF; ++v) {
    slots[v] = single(v);
  }
  return slots;
}

// clang-format off
// EBCDIC and EBCDIK share the control names below 0x40 ("" is an empty slot).
constexpr Slots64 EbcdicControlNames = {
  "NU", "SH", "SX", "EX", "PF", "HT", "LC", "DT",  // 0x00
  "GE", "S1", "RT", "VT", "FF", "CR", "SO", "SI",  // 0x08
  "DL", "D1", "D2", "D3", "RE", "NL", "BS", "PC",  // 0x10
  "CN", "EM", "US", "C1", "IF", "IG", "RS", "US",  // 0x18
  "DS", "SS", "FS", "WS", "BP", "LF", "EB", "EC",  // 0x20
  "SA", "SE", "SM", "CP", "MA", "EQ", "AK", "BL",  // 0x28
  "",   "",   "SY", "IR", "PN", "TN", "NS", "ET",  // 0x30
  "S2", "IT", "RF", "C3", "D4", "NK", "",   "SB",  // 0x38
};

struct SingleSlot {
  std::uint8_t byte;
  std::string_view text;
};

// The filled slots from 0x40 that both EBCDIC variants have; all others are empty.
constexpr std::array<SingleSlot, 31> EbcdicSymbols = {{
  {0x40, " "}, {0x4A, CentSign}, {0x4B, "."}, {0x4C, "<"}, {0x4D, "("}, {0x4E, "+"}, {0x4F, "|"},
  {0x50, "&"},
  {0x5A, "!"}, {0x5B, "$"}, {0x5C, "*"}, {0x5D, ")"}, {0x5E, ";"}, {0x5F, "^"},
  {0x60, "-"}, {0x61, "/"},
  {0x6B, ","}, {0x6C, "%"}, {0x6D, "_"}, {0x6E, ">"}, {0x6F, "?"},
  {0x7A, ":"}, {0x7B, "#"}, {0x7C, "@"}, {0x7D, "'"}, {0x7E, "="}, {0x7F, "\""},
  {0xA1, "~"},
  {0xC0, "{"},
  {0xD0, "}"},
  {0xE0, "\\"},
}};

constexpr bool everySymbolHasText() {
  for (const SingleSlot& symbol : EbcdicSymbols) {
    if (symbol.text.empty()) return false;
  }
  return true;
}
static_assert(everySymbolHasText());

// A run of consecutive single-byte characters: `count` slots from `byte` show `first`, first+1...
struct CharacterRun {
  std::uint8_t byte;
  std::uint8_t first;
  std::uint8_t count;
};

constexpr std::array<CharacterRun, 4> EbcdicUppercaseAndDigits = {{
  {0xC1, 'A', 9}, {0xD1, 'J', 9}, {0xE2, 'S', 8}, {0xF0, '0', 10},
}};
constexpr std::array<CharacterRun, 3> EbcdicLowercase = {{
  {0x81, 'a', 9}, {0x91, 'j', 9}, {0xA2, 's', 8},
}};
// EBCDIK puts half-width katakana (Shift-JIS 0xB1 ｱ ... 0xDE ﾞ) where EBCDIC has the lowercase
// letters.
constexpr std::array<CharacterRun, 7> EbcdikKatakana = {{
  {0x81, 0xB1, 10},  // ｱ ... ｺ
  {0x8C, 0xBB, 5},   // ｻ ... ｿ
  {0x91, 0xC0, 10},  // ﾀ ... ﾉ
  {0x9D, 0xCA, 3},   // ﾊ ﾋ ﾌ
  {0xA2, 0xCD, 9},   // ﾍ ... ﾕ
  {0xAC, 0xD6, 4},   // ﾖ ﾗ ﾘ ﾙ
  {0xBA, 0xDA, 5},   // ﾚ ﾛ ﾜ ﾝ ﾞ
}};
// clang-format on

template <std::size_t N>
constexpr void putRuns(std::array<std::string_view, 256>& slots,
                       const std::array<CharacterRun, N>& runs) {
  for (const CharacterRun& run : runs) {
    for (std::size_t k = 0; k < run.count; ++k) {
      slots[run.byte + k] = single(run.first + k);
    }
  }
}

template <std::size_t N>
constexpr std::array<std::string_view, 256> ebcdicSlots(
    const std::array<CharacterRun, N>& upperHalfRuns) {
  std::array<std::string_view, 256> slots{};
  for (std::size_t v = 0; v < EbcdicControlNames.size(); ++v) {
    slots[v] = EbcdicControlNames[v];
  }
  for (const SingleSlot& symbol : EbcdicSymbols) {
    slots[symbol.byte] = symbol.text;
  }
  putRuns(slots, EbcdicUppercaseAndDigits);
  putRuns(slots, upperHalfRuns);
  return slots;
}

// clang-format off
// The six-bit codes, laid out as the instrument's code charts: rows are the byte value with its low
// three bits zero, columns the low three bits. " " is the blank, "" an empty slot.
constexpr Slots64 EbcdNormal = {
//  +0    +1    +2    +3    +4    +5    +6    +7
  " ",  "-",  "@",  "&",  "8",  "q",  "y",  "h",   // 0x00
  "4",  "m",  "u",  "d",  "",   "",   "",   "",    // 0x08
  "2",  "k",  "s",  "b",  "0",  "VT", "FF", "",    // 0x10
  "6",  "o",  "w",  "f",  "SO", "BS", "EB", "SI",  // 0x18
  "1",  "j",  "/",  "a",  "9",  "r",  "z",  "i",   // 0x20
  "5",  "n",  "v",  "e",  "RS", "CR", "LF", "HT",  // 0x28
  "3",  "l",  "t",  "c",  "#",  "$",  ",",  ".",   // 0x30
  "7",  "p",  "x",  "g",  "ET", "SY", "EC", "DT",  // 0x38
};

constexpr Slots64 EbcdShifted = {
//  +0    +1    +2    +3    +4    +5    +6    +7
  " ",  "_",  "",   "+",  "*",  "Q",  "Y",  "H",   // 0x00
  ":",  "M",  "U",  "D",  "",   "",   "",   "",    // 0x08
  "<",  "K",  "S",  "B",  ")",  "VT", "FF", "",    // 0x10
  ",",  "O",  "W",  "F",  "SO", "BS", "EB", "SI",  // 0x18
  "=",  "J",  "?",  "A",  "(",  "R",  "Z",  "I",   // 0x20
  "%",  "N",  "V",  "E",  "RS", "CR", "LF", "HT",  // 0x28
  ";",  "L",  "T",  "C",  "\"", "!",  ",",  ".",   // 0x30
  ">",  "P",  "X",  "G",  "ET", "SY", "EC", "DT",  // 0x38
};

constexpr Slots64 TranscodeNormal = {
//  +0    +1    +2    +3    +4    +5    +6    +7
  "SH", "A",  "B",  "C",  "D",  "E",  "F",  "G",   // 0x00
  "H",  "I",  "SX", ".",  "<",  "BL", "SB", "EB",  // 0x08
  "&",  "J",  "K",  "L",  "M",  "N",  "O",  "P",   // 0x10
  "Q",  "R",  " ",  "$",  "*",  "US", "ET", "DL",  // 0x18
  "_",  "/",  "S",  "T",  "U",  "V",  "W",  "X",   // 0x20
  "Y",  "Z",  "EC", ",",  "%",  "EQ", "EX", "HT",  // 0x28
  "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",   // 0x30
  "8",  "9",  "SY", "#",  "@",  "NK", "EM", "DT",  // 0x38
};

constexpr Slots64 IparsNormal = {
//  +0    +1    +2    +3    +4    +5    +6    +7
  "",   "1",  "2",  "3",  "4",  "5",  "6",  "7",   // 0x00
  "8",  "9",  "0",  "*",  "CR", "EI", "=",  "",    // 0x08
  "",   "/",  "S",  "T",  "U",  "V",  "W",  "X",   // 0x10
  "Y",  "Z",  "-",  "#",  " ",  "EC", "[",  ",",   // 0x18
  "@",  "J",  "K",  "L",  "M",  "N",  "O",  "P",   // 0x20
  "Q",  "R",  ":",  "<",  "+",  "EU", ")",  "(",   // 0x28
  "$",  "A",  "B",  "C",  "D",  "E",  "F",  "G",   // 0x30
  "H",  "I",  "?",  ".",  "%",  "EP", "S2", "S1",  // 0x38
};

// Letters.
constexpr std::array<std::string_view, 32> BaudotNormal = {
//  +0    +1    +2    +3    +4    +5    +6    +7
  "NU", "E",  "LF", "A",  " ",  "S",  "I",  "U",   // 0x00
  "CR", "D",  "R",  "J",  "N",  "F",  "C",  "K",   // 0x08
  "T",  "Z",  "L",  "W",  "H",  "Y",  "P",  "Q",   // 0x10
  "O",  "B",  "G",  "SO", "M",  "X",  "V",  "SI",  // 0x18
};

// Figures.
constexpr std::array<std::string_view, 32> BaudotShifted = {
//  +0    +1    +2    +3    +4    +5    +6    +7
  "NU", "3",  "LD", "-",  " ",  "'",  "8",  "7",   // 0x00
  "CR", "$",  "4",  "BL", ",",  "!",  ":",  "(",   // 0x08
  "5",  "\"", ")",  "2",  "#",  "6",  "0",  "1",   // 0x10
  "9",  "?",  "&",  "SO", ".",  "/",  ";",  "SI",  // 0x18
};
// clang-format on

}  // namespace

// clang-format off
const std::array<const char*, CharCodeCount + 1> CharCodeNameList = {
  "ASCII", "EBCDIC", "EBCDIK", "JIS7", "JIS8", "HEX", "EBCD", "TRANSCODE", "IPARS", "BAUDOT",
  "***",
};

constexpr std::array<ShiftPair, CharCodeCount> ShiftBytes = {{
  {0x00, 0x00},  // ASCII
  {0x00, 0x00},  // EBCDIC
  {0x00, 0x00},  // EBCDIK
  {0x0F, 0x0E},  // JIS7
  {0x00, 0x00},  // JIS8
  {0x00, 0x00},  // HEX
  {0x1F, 0x1C},  // EBCD
  {0x00, 0x00},  // TRANSCODE
  {0x00, 0x00},  // IPARS
  {0x1F, 0x1B},  // BAUDOT
}};

// Built in one function: GCC 12 does not accept the table as a constant when each half is the
// result of a separate call in the initializer.
constexpr std::array<std::array<CharHalfTable, 2>, CharCodeCount> CharDisplayTable = [] {
  std::array<std::array<CharHalfTable, 2>, CharCodeCount> table{};
  using enum CharCode;
  table[charCodeIndex(Ascii)]     = {closedHalf(asciiSlots()),                 EmptyHalf};
  table[charCodeIndex(Ebcdic)]    = {closedHalf(ebcdicSlots(EbcdicLowercase)), EmptyHalf};
  table[charCodeIndex(Ebcdik)]    = {closedHalf(ebcdicSlots(EbcdikKatakana)),  EmptyHalf};
  table[charCodeIndex(Jis7)]      = {closedHalf(asciiSlots()),                 closedHalf(jis7ShiftedSlots())};
  table[charCodeIndex(Jis8)]      = {closedHalf(jis8Slots()),                  EmptyHalf};
  table[charCodeIndex(Hex)]       = {EmptyHalf,                                EmptyHalf};
  table[charCodeIndex(Ebcd)]      = {closedHalf(EbcdNormal),                   closedHalf(EbcdShifted)};
  table[charCodeIndex(Transcode)] = {closedHalf(TranscodeNormal),              EmptyHalf};
  table[charCodeIndex(Ipars)]     = {closedHalf(IparsNormal),                  EmptyHalf};
  table[charCodeIndex(Baudot)]    = {closedHalf(BaudotNormal),                 closedHalf(BaudotShifted)};
  return table;
}();

// Slots per half, {Normal, Shifted}.
constexpr std::array<std::array<int, 2>, CharCodeCount> SlotCounts = {{
  {128, 0},   // ASCII
  {256, 0},   // EBCDIC
  {256, 0},   // EBCDIK
  {128, 96},  // JIS7
  {256, 0},   // JIS8
  {0, 0},     // HEX
  {64, 64},   // EBCD
  {64, 0},    // TRANSCODE
  {64, 0},    // IPARS
  {32, 32},   // BAUDOT
}};
// clang-format on

constexpr std::array<std::array<char, 3>, 256> HexFallback = [] {
  constexpr std::string_view Digits = "0123456789abcdef";
  std::array<std::array<char, 3>, 256> table{};
  for (std::size_t v = 0; v < table.size(); ++v) {
    table[v] = {Digits[v >> 4], Digits[v & 0xF], '\0'};
  }
  return table;
}();

std::string_view hexByteText(std::uint8_t value) { return {HexFallback[value].data(), 2}; }

namespace {

constexpr bool markersStandAfterTheSlots() {
  for (std::size_t code = 0; code < CharDisplayTable.size(); ++code) {
    for (std::size_t half = 0; half < 2; ++half) {
      const CharHalfTable& table = CharDisplayTable[code][half];
      const auto count = static_cast<std::size_t>(SlotCounts[code][half]);
      for (std::size_t v = 0; v < table.size(); ++v) {
        if ((table[v] == CharTableEndMarker) != (v == count)) return false;
        if (v > count && !table[v].empty()) return false;
      }
    }
  }
  return true;
}
static_assert(markersStandAfterTheSlots());

// In a shifting code both halves show the shift bytes as "SO" and "SI".
constexpr bool shiftBytesShowAsSoAndSi() {
  for (std::size_t code = 0; code < ShiftBytes.size(); ++code) {
    const ShiftPair shift = ShiftBytes[code];
    if (shift.toNormal == 0) continue;
    for (const CharHalfTable& table : CharDisplayTable[code]) {
      if (table[static_cast<std::size_t>(shift.toShifted)] != "SO") return false;
      if (table[static_cast<std::size_t>(shift.toNormal)] != "SI") return false;
    }
  }
  return true;
}
static_assert(shiftBytesShowAsSoAndSi());

const CharHalfTable& halfTable(CharCode code, CharHalf half) {
  return CharDisplayTable[charCodeIndex(code)][half == CharHalf::Shifted ? 1 : 0];
}

bool isValidHalf(CharHalf half) { return half == CharHalf::Normal || half == CharHalf::Shifted; }

CharHalf otherHalf(CharHalf half) {
  return half == CharHalf::Normal ? CharHalf::Shifted : CharHalf::Normal;
}

}  // namespace

CharCode normaliseCharCode(int code) {
  return code >= 0 && code < CharCodeCount ? static_cast<CharCode>(code) : CharCode::Ascii;
}

const char* charCodeName(CharCode code) { return CharCodeNameList[charCodeIndex(code)]; }

int slotCount(CharCode code, CharHalf half) {
  if (!isValidHalf(half)) return 0;
  return SlotCounts[charCodeIndex(code)][half == CharHalf::Shifted ? 1 : 0];
}

std::string_view displaySlot(CharCode code, CharHalf half, int value) {
  if (value < 0 || value >= slotCount(code, half)) return {};
  return halfTable(code, half)[static_cast<std::size_t>(value)];
}

std::array<std::string_view, 8> displayStrings(bool showCharacters, CharCode code,
                                               const std::array<std::uint8_t, 8>& data,
                                               bool usesMask, std::uint8_t mask) {
  const ShiftPair shift = ShiftBytes[charCodeIndex(code)];
  std::array<std::string_view, 8> strings{};
  CharHalf half = CharHalf::Normal;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const std::uint8_t byte = data[i];
    if (usesMask && ((static_cast<unsigned>(mask) >> i) & 1U) != 0) {
      // A pattern position that holds the don't-care or the flag token.
      strings[i] = byte == 0 ? "*" : "|>";
      continue;
    }
    const std::string_view slot = displaySlot(code, half, byte);
    strings[i] = showCharacters && !slot.empty() ? slot : hexByteText(byte);
    // A byte shows in the half in force before it; then the shift bytes switch the half.
    if (byte == shift.toShifted) half = CharHalf::Shifted;
    if (byte == shift.toNormal) half = CharHalf::Normal;
  }
  return strings;
}

int byteForCharacter(CharCode code, char c, CharHalf half) {
  if (!isValidHalf(half)) return -1;
  const std::string_view wanted(&c, 1);
  const CharHalfTable& table = halfTable(code, half);
  for (std::size_t v = 0; v < table.size(); ++v) {
    if (table[v] == CharTableEndMarker) break;
    if (table[v] == wanted) return static_cast<int>(v);
  }
  return -1;
}

int textToBytes(CharCode code, std::string_view text, std::span<std::uint8_t, 15> out) {
  const ShiftPair shift = ShiftBytes[charCodeIndex(code)];
  const bool canShift = shift.toNormal != 0;
  std::size_t written = 0;
  CharHalf half = CharHalf::Normal;
  for (std::size_t i = 0; i < 8 && i < text.size() && text[i] != '\0'; ++i) {
    const char c = text[i];
    const int byte = byteForCharacter(code, c, half);
    if (byte >= 0) {
      out[written++] = static_cast<std::uint8_t>(byte);
      continue;
    }
    // No shift is inserted for the eighth character: the line holds no room for it.
    const CharHalf other = otherHalf(half);
    const int otherByte = i != 7 && canShift ? byteForCharacter(code, c, other) : -1;
    if (otherByte >= 0) {
      const std::int32_t shiftByte = other == CharHalf::Shifted ? shift.toShifted : shift.toNormal;
      out[written++] = static_cast<std::uint8_t>(shiftByte);
      out[written++] = static_cast<std::uint8_t>(otherByte);
      half = other;
    } else {
      out[written++] = 0x00;
    }
  }
  return static_cast<int>(written);
}

}  // namespace vx
