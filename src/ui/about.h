// "About" in the editor's system menu: the program's name and version (the project's version,
// as in the executables' version information and in "vxprog --version").
#pragma once

#include <windows.h>

#include <string>

namespace vx::ui {

// The system-menu command of "About"; a multiple of 16 below 0xF000, as system commands must be.
inline constexpr UINT AboutCommand = 0x0110;

// The text of the About box: "VXプログラムエディタ" and "バージョン " with the version.
std::wstring aboutText();

// Appends a separator and "About" to the dialog's system menu.
void addAboutToSystemMenu(HWND dialog);

// WM_SYSCOMMAND: shows the About box for AboutCommand. True when it was that command.
bool onAboutCommand(HWND dialog, WPARAM command);

}  // namespace vx::ui
