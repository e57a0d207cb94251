// The direct string input dialog (template 102): asks for a string of up to eight characters.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace vx::ui {

// How the direct input dialog ends.
enum DirectInputOutcome : INT_PTR {
  DirectInputAccepted = IDOK,       // OK (or Enter): the typed text is taken
  DirectInputCancelled = IDCANCEL,  // cancel, Escape or the close box
};

// The most bytes of the typed text (Shift-JIS) that OK takes.
inline constexpr std::size_t DirectInputBytes = 8;

// Runs the dialog modally over `owner`: the first eight bytes of the typed text (Shift-JIS), or
// nothing when the dialog was cancelled. The edit starts empty each time.
std::optional<std::string> runDirectInputDialog(HWND owner);

// The dialog procedure of template 102. The creation parameter points to the
// std::optional<std::string> that OK fills with the accepted text; cancel leaves it alone.
INT_PTR CALLBACK directInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vx::ui
