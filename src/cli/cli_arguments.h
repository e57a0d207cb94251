// Parsing of the command-line tool's arguments: program names, line indices, line lists and
// names from the catalogue's lists.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The move/copy dialog takes at most this many selected lines.
inline constexpr std::size_t MaxSelectedLines = 256;

// "A".."D" in either case: 0..3.
std::optional<int> parseProgramName(std::string_view text);
// A decimal line index of digits only; nullopt for anything else or a value above 999,999.
std::optional<int> parseLineIndex(std::string_view text);
// Whether `text` is a decimal number: one or more digits and nothing else.
bool isDecimalNumber(std::string_view text);

struct LineListResult {
  std::vector<int> lines;  // ascending, distinct, at most MaxSelectedLines
  std::string error;       // empty on success
  bool capped = false;     // more lines were named than are taken
};
// A comma list of indices and ranges ("2,5,7-9") in any order, each inside 0..lineCount-1;
// duplicates are ignored and only the first MaxSelectedLines (ascending) are kept.
LineListResult parseLineList(std::string_view text, int lineCount);

// The text in single quotes, for messages.
std::string quotedText(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);
// Index of `text` in `names`, or -1.
int findName(std::span<const char* const> names, std::string_view text, bool ignoreCase);
// "A, B, C".
std::string joinNames(std::span<const char* const> names, std::string_view separator = ", ");

}  // namespace vx
