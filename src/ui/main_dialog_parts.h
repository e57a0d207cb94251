// The handlers of the main dialog, shared between its files (not used outside the dialog).
#pragma once

#include "ui/main_dialog.h"

namespace vx::ui {

HWND programList(const MainDialog& dialog);
void postShowLine(const MainDialog& dialog, ShowLine how);

// Lists the current program again with the current character code and check box.
void relistKeepingTop(MainDialog& dialog, bool takeCursor);

// Commands from the buttons, the selectors and the list (main_commands.cpp).
bool onCommand(MainDialog& dialog, int id, int code);

// Files (file_commands.cpp). loadAtStartUp gives the character code to select.
CharCode loadAtStartUp(MainDialog& dialog);
void onLoad(MainDialog& dialog);
void onSave(MainDialog& dialog);
// Save with the file dialog; save to the document's file without it (with the dialog when the
// document has no file yet). False when cancelled or failed.
bool saveWithDialog(MainDialog& dialog);
bool saveToCurrentFile(MainDialog& dialog);

}  // namespace vx::ui
