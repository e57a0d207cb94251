// The command-line tool vxprog: lists, checks and edits the programs of a setup file with the
// same store, file, encoding and listing code as the editor.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace vx {

inline constexpr int ExitSuccess = 0;
// The label check found an inconsistency, or `set` could not encode its line.
inline constexpr int ExitFailed = 1;
// Usage errors, files that cannot be loaded or saved.
inline constexpr int ExitError = 2;

// Runs one command. `args` are the arguments after the program name, as UTF-8 (on Windows) or
// the native bytes (elsewhere); listings go to `out`, messages to `err`.
int runVxprog(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace vx
