// The About box of the system menu.
#include "ui/about.h"

#include "ui/win_text.h"
#include "vx_version.h"

namespace vx::ui {

std::wstring aboutText() {
  const std::string version = VX_VERSION;
  return L"VXプログラムエディタ\r\nバージョン " + std::wstring(version.begin(), version.end());
}

void addAboutToSystemMenu(HWND dialog) {
  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, AboutCommand, L"About");
}

bool onAboutCommand(HWND dialog, WPARAM command) {
  if ((command & 0xFFF0) != AboutCommand) return false;
  MessageBoxW(dialog, aboutText().c_str(), L"About", MB_OK | MB_ICONINFORMATION);
  return true;
}

}  // namespace vx::ui
