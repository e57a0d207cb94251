// The text of one line in the program list.
#pragma once

#include <array>
#include <string_view>

#include "catalogue/char_codes.h"
#include "store/program_area.h"

namespace vx {

// A listing text is at most 39 characters; the buffer holds it and its NUL.
using ListingText = std::array<char, 40>;

// Renders the line into `out` (NUL-terminated) and returns a view of the text. Lines the editor
// never writes (unknown instruction or kind, count above 8, list indices past their lists) render
// their raw numbers instead of reading past a table.
std::string_view listingText(const ProgramLine& line, CharCode code, bool showCharacters,
                             ListingText& out);

}  // namespace vx
