#include "cli/text_encoding.h"

#include <cstdint>

namespace vx {
namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
  auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
  const auto v = static_cast<std::uint32_t>(c);
  if (v < 0x80) {
    put(v);
  } else if (v < 0x800) {
    put(0xC0 | (v >> 6));
    put(0x80 | (v & 0x3F));
  } else if (v < 0x10000) {
    put(0xE0 | (v >> 12));
    put(0x80 | ((v >> 6) & 0x3F));
    put(0x80 | (v & 0x3F));
  } else {
    put(0xF0 | (v >> 18));
    put(0x80 | ((v >> 12) & 0x3F));
    put(0x80 | ((v >> 6) & 0x3F));
    put(0x80 | (v & 0x3F));
  }
}

bool isLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

}  // namespace

std::string sjisToUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 2);
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const unsigned b = static_cast<unsigned char>(sjis[i]);
    if (b < 0x80) {
      appendUtf8(out, b);
    } else if (b >= 0xA1 && b <= 0xDF) {
      // Half-width katakana of JIS X 0201.
      appendUtf8(out, 0xFF61 + (b - 0xA1));
    } else if (isLeadByte(b) && i + 1 < sjis.size() &&
               isTrailByte(static_cast<unsigned char>(sjis[i + 1]))) {
      const unsigned trail = static_cast<unsigned char>(sjis[i + 1]);
      ++i;
      // The full-width cent sign is the only two-byte character of the display tables.
      appendUtf8(out, (b == 0x81 && trail == 0x91) ? char32_t{0xFFE0} : ReplacementCharacter);
    } else {
      appendUtf8(out, ReplacementCharacter);
    }
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      const char32_t low = utf16[i + 1];
      ++i;
      appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(out, ReplacementCharacter);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace vx
