// The editor's command line: everything after the program name is the path of the setup file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::ui {

// The file path buffer holds 259 characters and the terminator; a longer path is refused.
inline constexpr std::size_t MaxPathLength = 259;

// The path text of a whole command line (as GetCommandLineW gives it): the program name and the
// blanks after it are skipped, then one pair of enclosing double quotes is removed, since
// Explorer passes quoted paths. Anything else is taken unchanged. Empty when no file is named.
std::wstring commandLinePath(std::wstring_view commandLine);

}  // namespace vx::ui
