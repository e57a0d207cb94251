// The request record of the open and save file dialogs.
#pragma once

// clang-format off
#include <windows.h>  // before the other Windows headers
#include <commdlg.h>
// clang-format on

#include <span>
#include <string>
#include <string_view>

#include "ui/main_dialog.h"

namespace vx::ui {

// The setup-file dialogs show the setup files first and default to the extension "su", the text
// dialogs program texts and "vxp"; loading and importing ask for an existing file, saving and
// exporting ask before they create or replace one. `buffer` holds the starting path
// and receives the choice.
OPENFILENAMEW fileDialogRequest(HWND owner, FileDialogKind kind, std::span<wchar_t> buffer);

// `path` with "\" as its separators: the file dialogs refuse a starting text written with "/".
std::wstring withBackslashes(std::wstring_view path);
// The folder a file dialog starts in for `path` ("Z:\tmp\a.su" gives "Z:\tmp", "C:\a.su" gives
// "C:\"); empty for a bare file name, which leaves the dialog in its own default folder.
std::wstring startingFolder(std::wstring_view path);

}  // namespace vx::ui
