// The request record of the open and save file dialogs.
#pragma once

// clang-format off
#include <windows.h>  // before the other Windows headers
#include <commdlg.h>
// clang-format on

#include <span>

#include "ui/main_dialog.h"

namespace vx::ui {

// Both dialogs show the setup files first and default to the extension "su"; loading asks for an
// existing file, saving asks before it creates or replaces one. `buffer` holds the starting path
// and receives the choice.
OPENFILENAMEW fileDialogRequest(HWND owner, FileDialogKind kind, std::span<wchar_t> buffer);

}  // namespace vx::ui
