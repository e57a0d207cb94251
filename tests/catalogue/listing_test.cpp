#include "catalogue/listing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "catalogue/catalogue.h"
#include "support/lines.h"

namespace vx {
namespace {

using enum CharCode;

using test::lineOf;

std::string listed(const ProgramLine& l, CharCode code = Ascii, bool showCharacters = true) {
  ListingText out;
  out.fill('#');
  const std::string_view text = listingText(l, code, showCharacters, out);
  EXPECT_EQ(text.data(), out.data());
  EXPECT_EQ(out[text.size()], '\0');
  EXPECT_EQ(std::strlen(out.data()), text.size());
  return std::string(text);
}

struct ListingCase {
  const char* what;
  ProgramLine line;
  CharCode code;
  bool showCharacters;
  const char* expected;
};

// One row for every format of the listing, instruction by instruction, with its literal text.
// clang-format off
const ListingCase ListingCases[] = {
  {"NOP",                         lineOf({0}),                                   Ascii, true,  " NOP"},
  {"SEND CHR 41 42",              lineOf({1, 0, 2, 0, 0x41, 0x42}),              Ascii, true,  " SEND CHR A B "},
  {"SEND CHR display off",        lineOf({1, 0, 2, 0, 0x41, 0x42}),              Ascii, false, " SEND CHR 41 42 "},
  {"SEND CHR no bytes",           lineOf({1, 0}),                                Ascii, true,  " SEND CHR "},
  {"SEND REG 10",                 lineOf({1, 2, 10}),                            Ascii, true,  " SEND REGA"},
  {"SEND DA 5 any register",      lineOf({1, 5, 5, 0xFF}),                       Ascii, true,  " SEND DA05+REG*"},
  {"WAIT CHR masked",             lineOf({2, 0, 3, 0x01, 0x00, 0x0D, 0x41}),     Ascii, true,  " WAIT CHR * CR A "},
  {"WAIT FRM NOCLR",              lineOf({2, 1, 1}),                             Ascii, true,  " WAIT FRM NOCLR"},
  {"WAIT TRG 2",                  lineOf({2, 2, 2}),                             Ascii, true,  " WAIT TRG2"},
  {"WAIT TM 100",                 lineOf({2, 3, 100, 0, 0, 0}),                  Ascii, true,  " WAIT TM 0100"},
  {"WAIT LN CD=1",                lineOf({2, 5, 3, 1}),                          Ascii, true,  " WAIT LN CD=1"},
  {"GOTO 7",                      lineOf({3}, 7),                                Ascii, true,  " GOTO L007"},
  {"IF CHR 41 label 12",          lineOf({4, 0, 1, 0, 0x41}, 12),                Ascii, true,  " IF CHR A  L012"},
  {"IF REG 3<>12",                lineOf({4, 5, 3, 1, 12}, 1),                   Ascii, true,  " IF REG3<>REG12 L001"},
  {"IF DA 5 register 3",          lineOf({4, 7, 5, 3}, 2),                       Ascii, true,  " IF DA05+REG3 L002"},
  {"SET REG 3 value 100",         lineOf({7, 0, 3, 0, 100, 0, 0, 0}),            Ascii, true,  " SET REG3 000100"},
  {"SET REG 3 INC",               lineOf({7, 0, 3, 1}),                          Ascii, true,  " SET REG3 INC"},
  {"SET TM 1 RSTART",             lineOf({7, 2, 1, 3}),                          Ascii, true,  " SET TM1 RSTART"},
  {"SET DA 5 41 42",              lineOf({7, 6, 5, 2, 0x41, 0x42}),              Ascii, true,  " SET DA 05 A B "},
  {"SET DV 5 REG3 2",             lineOf({7, 7, 5, 3, 2}),                       Ascii, true,  " SET DV 05 REG3 2"},
  {"INT 5",                       lineOf({8}, 5),                                Ascii, true,  " INT TRG 0 L005"},
  {"RETI any label",              lineOf({9}, 0xFFFF),                           Ascii, true,  " RETI L*"},
  {"DISI",                        lineOf({10}),                                  Ascii, true,  " DISI TRG 0"},
  {"LBL 5",                       lineOf({12}, 5),                               Ascii, true,  " L005"},

  {"SEND TBL 15",                 lineOf({1, 1, 15}),                            Ascii, true,  " SEND TBLF"},
  {"SEND BUF",                    lineOf({1, 3}),                                Ascii, true,  " SEND BUF"},
  {"SEND KEY",                    lineOf({1, 4}),                                Ascii, true,  " SEND KEY"},
  {"SEND DA register in hex",     lineOf({1, 5, 7, 11}),                         Ascii, true,  " SEND DA07+REGB"},
  {"SEND DA entry 99",            lineOf({1, 5, 99, 0}),                         Ascii, true,  " SEND DA99+REG0"},
  {"WAIT FRM CLR",                lineOf({2, 1, 0}),                             Ascii, true,  " WAIT FRM CLR"},
  {"WAIT TM 9999",                lineOf({2, 3, 0x0F, 0x27}),                    Ascii, true,  " WAIT TM 9999"},
  {"WAIT TM signed",              lineOf({2, 3, 0xFF, 0xFF, 0xFF, 0xFF}),        Ascii, true,  " WAIT TM -001"},
  {"WAIT KEY",                    lineOf({2, 4}),                                Ascii, true,  " WAIT KEY"},
  {"WAIT LN EX=0",                lineOf({2, 5, 7, 0}),                          Ascii, true,  " WAIT LN EX=0"},
  {"CALL 999",                    lineOf({5}, 999),                              Ascii, true,  " CALL L999"},
  {"RET",                         lineOf({6}),                                   Ascii, true,  " RET"},
  {"IF TRG 3",                    lineOf({4, 1, 3}, 4),                          Ascii, true,  " IF TRG3 L004"},
  {"IF TM 1",                     lineOf({4, 2, 1}, 40),                         Ascii, true,  " IF TM1 L040"},
  {"IF CT 0",                     lineOf({4, 3, 0}, 400),                        Ascii, true,  " IF CT0 L400"},
  {"IF TBL 12 in hex",            lineOf({4, 6, 12}),                            Ascii, true,  " IF TBLC L000"},
  {"IF LN RS=0",                  lineOf({4, 4, 0, 0}, 3),                       Ascii, true,  " IF LN RS=0 L003"},
  {"IF REG registers in decimal", lineOf({4, 5, 10, 5, 15}, 7),                  Ascii, true,  " IF REG10>=REG15 L007"},
  {"IF DA any register",          lineOf({4, 7, 0, 0xFF}, 8),                    Ascii, true,  " IF DA00+REG* L008"},
  {"IF DA register in decimal",   lineOf({4, 7, 1, 11}, 8),                      Ascii, true,  " IF DA01+REG11 L008"},
  {"IF CHR no bytes",             lineOf({4, 0}, 1),                             Ascii, true,  " IF CHR  L001"},
  {"IF CHR five-digit label",     lineOf({4, 0, 1, 0, 0x41}, 65535),             Ascii, true,  " IF CHR A  L65535"},
  {"SET LN CI=1",                 lineOf({7, 1, 6, 1}),                          Ascii, true,  " SET LN CI=1"},
  {"SET TM 1500",                 lineOf({7, 2, 1, 0, 0xDC, 0x05, 0, 0}),        Ascii, true,  " SET TM1 001500"},
  {"SET CT RESET",                lineOf({7, 3, 0, 2}),                          Ascii, true,  " SET CT0 RESET"},
  {"SET REG DEC",                 lineOf({7, 0, 15, 2}),                         Ascii, true,  " SET REG15 DEC"},
  {"SET REG value 999999",        lineOf({7, 0, 0, 0, 0x3F, 0x42, 0x0F, 0}),     Ascii, true,  " SET REG0 999999"},
  {"SET BZ",                      lineOf({7, 4}),                                Ascii, true,  " SET BZ"},
  {"SET OUT",                     lineOf({7, 5}),                                Ascii, true,  " SET OUT"},
  {"SET DA no bytes",             lineOf({7, 6, 0, 0}),                          Ascii, true,  " SET DA 00 "},
  {"STOP",                        lineOf({11}),                                  Ascii, true,  " STOP"},
  {"RETI label 12",               lineOf({9}, 12),                               Ascii, true,  " RETI L012"},
  {"LBL 0",                       lineOf({12}),                                  Ascii, true,  " L000"},

  // Data bytes in other codes.
  {"EBCDIC letters",              lineOf({1, 0, 3, 0, 0xC1, 0x81, 0x4A}),        Ebcdic, true, " SEND CHR A a \x81\x91 "},  // ￠
  {"JIS7 shift in the listing",   lineOf({1, 0, 4, 0, 0x0E, 0x31, 0x0F, 0x31}),  Jis7,  true,  " SEND CHR SO \xB1 SI 1 "},  // ｱ
  {"BAUDOT figures",              lineOf({7, 6, 1, 3, 0x1B, 0x17, 0x03}),        Baudot, true, " SET DA 01 SO 1 - "},
  {"HEX code shows hex",          lineOf({2, 0, 2, 0x02, 0x41, 0x05}),           Hex,   true,  " WAIT CHR 41 |> "},
  {"unknown code as ASCII",       lineOf({1, 0, 2, 0, 0x41, 0x0D}),              CharCode{42}, true,  " SEND CHR A CR "},
  {"unknown negative code",       lineOf({1, 0, 1, 0, 0x41}),                    normaliseCharCode(-1), true,  " SEND CHR A "},
  {"SEND CHR ignores the mask",   lineOf({1, 0, 1, 0x01, 0x00}),                 Ascii, true,  " SEND CHR NU "},

  // Lines the editor never writes.
  {"instruction 13",              lineOf({13}),                                  Ascii, true,  " ?13"},
  {"instruction 200",             lineOf({200, 1, 2, 3}, 7),                     Ascii, true,  " ?200"},
  {"SEND kind 6",                 lineOf({1, 6, 1, 2}),                          Ascii, true,  " SEND ?6"},
  {"IF kind 8 has no label",      lineOf({4, 8}, 5),                             Ascii, true,  " IF ?8"},
  {"SET kind 255",                lineOf({7, 255}),                              Ascii, true,  " SET ?255"},
  {"GOTO with a kind byte",       lineOf({3, 1}, 5),                             Ascii, true,  " GOTO ?1"},
  {"NOP with a kind byte",        lineOf({0, 3}),                                Ascii, true,  " NOP"},
  {"count 200 shows eight bytes", lineOf({1, 0, 200, 0, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38}),
                                                                               Ascii, true,  " SEND CHR 1 2 3 4 5 6 7 8 "},
  {"SET DA count 9",              lineOf({7, 6, 2, 9, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41}),
                                                                               Ascii, true,  " SET DA 02 A A A A A A A A "},
  {"signal line 9",               lineOf({2, 5, 9, 1}),                          Ascii, true,  " WAIT LN ?9=1"},
  {"IF LN signal line 255",       lineOf({4, 4, 255, 255}, 1),                   Ascii, true,  " IF LN ?255=255 L001"},
  {"comparison 6",                lineOf({4, 5, 3, 6, 4}, 1),                    Ascii, true,  " IF REG3?6REG4 L001"},
  {"SET REG word 3",              lineOf({7, 0, 3, 3}),                          Ascii, true,  " SET REG3 "},
  {"SET TM word 4",               lineOf({7, 2, 1, 4}),                          Ascii, true,  " SET TM1 "},
  {"SET CT word 255",             lineOf({7, 3, 1, 255}),                        Ascii, true,  " SET CT1 "},
  {"SET LN output line EX",       lineOf({7, 1, 7, 1}),                          Ascii, true,  " SET LN EX=1"},
  {"SET LN line 8",               lineOf({7, 1, 8, 1}),                          Ascii, true,  " SET LN ?8=1"},
};
// clang-format on

TEST(ListingText, Formats) {
  for (const ListingCase& c : ListingCases) {
    EXPECT_EQ(listed(c.line, c.code, c.showCharacters), c.expected) << c.what;
  }
}

// An IF CHR line with eight two-character strings and a five-digit label is the longest text.
TEST(ListingText, LongestLineFillsThirtyNineCharacters) {
  const ProgramLine l =
      lineOf({4, 0, 8, 0x00, 0x0D, 0x0D, 0x0D, 0x0D, 0x0D, 0x0D, 0x0D, 0x0D}, 65535);
  const std::string text = listed(l);
  EXPECT_EQ(text, " IF CHR CR CR CR CR CR CR CR CR  L65535");
  EXPECT_EQ(text.size(), 39u);

  const ProgramLine cents =
      lineOf({4, 0, 8, 0x00, 0x4A, 0x4A, 0x4A, 0x4A, 0x4A, 0x4A, 0x4A, 0x4A}, 65535);
  EXPECT_EQ(listed(cents, Ebcdic).size(), 39u);
  EXPECT_EQ(listed(cents, Ebcdic, false).size(), 39u);
}

// Whatever the first four bytes hold, the text ends inside the buffer: every instruction and kind
// byte with the remaining bytes at both extremes, and every parameter pair of every instruction
// and kind that has a row.
TEST(ListingText, AnyLineFitsTheBuffer) {
  auto check = [](const ProgramLine& l) {
    for (CharCode code : {Ascii, Ebcdic, Jis7, Baudot}) {
      ListingText out;
      out.fill('#');
      const std::string_view text = listingText(l, code, true, out);
      ASSERT_LE(text.size(), 39u) << text;
      ASSERT_EQ(out[text.size()], '\0');
      ASSERT_EQ(std::strlen(out.data()), text.size());
    }
  };
  ProgramLine l;
  for (const std::uint8_t rest : {std::uint8_t{0x00}, std::uint8_t{0x0D}, std::uint8_t{0xFF}}) {
    for (int b0 = 0; b0 < 256; ++b0) {
      for (int b1 = 0; b1 < 256; ++b1) {
        l.bytes.fill(rest);
        l.bytes[0] = static_cast<std::uint8_t>(b0);
        l.bytes[1] = static_cast<std::uint8_t>(b1);
        check(l);
      }
    }
  }
  for (int b0 = 0; b0 < InstructionCount; ++b0) {
    for (int b1 = 0; b1 < KindSlotCount; ++b1) {
      if (fieldTypeAt(b0, b1, 0) == FieldType::End) continue;
      // Bytes 4..11 show as two-character strings, the label has five digits.
      l.bytes.fill(0x4A);
      l.bytes[12] = 0xFF;
      l.bytes[13] = 0xFF;
      l.bytes[0] = static_cast<std::uint8_t>(b0);
      l.bytes[1] = static_cast<std::uint8_t>(b1);
      for (int b2 = 0; b2 < 256; ++b2) {
        for (int b3 = 0; b3 < 256; ++b3) {
          l.bytes[2] = static_cast<std::uint8_t>(b2);
          l.bytes[3] = static_cast<std::uint8_t>(b3);
          ListingText out;
          const std::string_view text = listingText(l, Ebcdic, true, out);
          ASSERT_LE(text.size(), 39u) << text;
          ASSERT_EQ(out[text.size()], '\0');
        }
      }
    }
  }
}

}  // namespace
}  // namespace vx
