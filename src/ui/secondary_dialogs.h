// The two secondary dialogs the main dialog starts: direct string input (template 102) and move
// and copy (template 103).
#pragma once

#include <windows.h>

namespace vx::ui {

struct MainDialog;

// Asks for a string and writes it into the data fields of the current line, committing it.
void runDirectInput(MainDialog& dialog);

// How the move and copy dialog ends.
enum MoveCopyOutcome : INT_PTR {
  MoveCopyDone = IDOK,           // lines were moved or copied
  MoveCopyCancelled = IDCANCEL,  // cancelled, closed, or no source line selected
};

// Runs the move and copy dialog modally; MoveCopyDone or MoveCopyCancelled.
INT_PTR runMoveCopyDialog(MainDialog& dialog);

// The dialog procedure of template 102. The creation parameter points to the 9-byte buffer that
// OK fills with the first 8 bytes of the typed text (Shift-JIS) and a NUL.
INT_PTR CALLBACK directInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of template 103. The creation parameter is the MainDialog, whose program
// selector, list and document the dialog works on.
INT_PTR CALLBACK moveCopyDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The most source lines one move or copy takes.
inline constexpr int MaxMoveCopyLines = 256;

}  // namespace vx::ui
