// Text conversions at the edges of the command-line tool: the Shift-JIS listing texts of the
// core to UTF-8 output, and Windows' UTF-16 arguments to the UTF-8 strings the commands take.
// Plain portable functions, so the editor may use them too.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Converts Shift-JIS text as the character tables and listing texts contain it: ASCII stays as
// it is, half-width katakana 0xA1-0xDF become U+FF61-U+FF9F, the full-width cent sign 0x81 0x91
// becomes U+FFE0. Any other two-byte character, and any byte that is no Shift-JIS character,
// becomes U+FFFD.
std::string sjisToUtf8(std::string_view sjis);

// Converts UTF-16 to UTF-8; a surrogate without its partner becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

}  // namespace vx
