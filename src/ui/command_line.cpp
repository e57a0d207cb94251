#include "ui/command_line.h"

namespace vx::ui {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Length of the program name at the start, by the rules Windows itself uses for argv[0]: a
// quoted name runs to the next quote, an unquoted one to the first blank.
std::size_t programNameLength(std::wstring_view commandLine) {
  if (!commandLine.empty() && commandLine.front() == L'"') {
    const std::size_t close = commandLine.find(L'"', 1);
    return close == std::wstring_view::npos ? commandLine.size() : close + 1;
  }
  std::size_t end = 0;
  while (end < commandLine.size() && !isBlank(commandLine[end])) ++end;
  return end;
}

}  // namespace

std::wstring commandLinePath(std::wstring_view commandLine) {
  std::wstring_view rest = commandLine.substr(programNameLength(commandLine));
  while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
  if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"') {
    rest = rest.substr(1, rest.size() - 2);
  }
  return std::wstring(rest);
}

}  // namespace vx::ui
