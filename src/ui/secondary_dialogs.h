// The two secondary dialogs the main dialog starts: direct string input (template 102) and move
// and copy (template 103).
#pragma once

#include <windows.h>

namespace vx::ui {

struct MainDialog;

// Asks for a string and writes it into the data fields of the current line, committing it.
void runDirectInput(MainDialog& dialog);

// Runs the move and copy dialog modally; 1 when lines were moved or copied.
INT_PTR runMoveCopyDialog(MainDialog& dialog);

}  // namespace vx::ui
