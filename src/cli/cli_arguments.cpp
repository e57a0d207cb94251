#include "cli/cli_arguments.h"

#include <algorithm>
#include <charconv>

namespace vx {
namespace {

constexpr int MaxLineIndex = 999'999;

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<int> parseProgramName(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  const char c = lowerAscii(text[0]);
  if (c < 'a' || c > 'd') return std::nullopt;
  return c - 'a';
}

bool isDecimalNumber(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> parseLineIndex(std::string_view text) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value > MaxLineIndex) return std::nullopt;
  return value;
}

LineListResult parseLineList(std::string_view text, int lineCount) {
  LineListResult result;
  std::vector<int> lines;
  const std::string range = lineCount > 0 ? "0.." + std::to_string(lineCount - 1) : "none";
  auto fail = [&](std::string message) {
    result.error = std::move(message);
    return result;
  };
  if (text.empty()) return fail("the line list is empty");
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view item = trimBlanks(text.substr(start, comma - start));
    const std::size_t dash = item.find('-');
    const auto first = parseLineIndex(dash == std::string_view::npos ? item : item.substr(0, dash));
    const auto last =
        dash == std::string_view::npos ? first : parseLineIndex(item.substr(dash + 1));
    if (!first || !last) {
      return fail(quotedText(item) + " is no line index or range (e.g. 2,5,7-9)");
    }
    if (*first > *last) {
      return fail("the range " + quotedText(item) + " runs backwards");
    }
    if (*last >= lineCount) {
      return fail("line " + std::to_string(*last) + " is outside the program; lines: " + range);
    }
    for (int line = *first; line <= *last; ++line) lines.push_back(line);
    start = comma + 1;
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  if (lines.size() > MaxSelectedLines) {
    lines.resize(MaxSelectedLines);
    result.capped = true;
  }
  result.lines = std::move(lines);
  return result;
}

std::string quotedText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result += '\'';
  result += text;
  result += '\'';
  return result;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

int findName(std::span<const char* const> names, std::string_view text, bool ignoreCase) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (ignoreCase ? equalsIgnoringCase(names[i], text) : std::string_view(names[i]) == text) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string joinNames(std::span<const char* const> names, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += separator;
    joined += names[i];
  }
  return joined;
}

}  // namespace vx
