// Prints how the dialogs' texts fit their controls in the font Wine (or Windows) gives the
// template's face: the dialog base units, the face actually used, and for every caption and button
// the width its text needs against the width the control offers. Run by tools/font-fit.
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/window_checks.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace {

using vx::test::classOf;

int worstShortfall = 0;

INT_PTR CALLBACK plainProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The width and height the text needs in the control's font (mnemonic marks take no room).
SIZE neededSize(HWND control, const std::wstring& text, int width, bool wrap) {
  HDC dc = GetDC(control);
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font);
  RECT rect{0, 0, wrap ? width : 0, 0};
  DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void report(int templateId, const char* name) {
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr,
                                   plainProc, 0);
  if (dialog == nullptr) return;
  RECT units{0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, font);
  std::array<wchar_t, 64> face{};
  GetTextFaceW(dc, static_cast<int>(face.size()), face.data());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  std::printf("%s: face %s, base units %ld x %ld, height %ld, average width %ld\n", name,
              vx::ui::wideToSjis(face.data()).c_str(), units.right, units.bottom, metrics.tmHeight,
              metrics.tmAveCharWidth);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring cls = classOf(child);
    const std::wstring text = vx::ui::getWideText(child);
    if (text.empty() || (cls != L"Static" && cls != L"Button")) continue;
    RECT client{};
    GetClientRect(child, &client);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    const bool button = cls == L"Button" && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
    const bool box = cls == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX;
    const bool check = cls == L"Button" && !button && !box;
    int room = client.right;
    if (button) room -= 2 * GetSystemMetrics(SM_CXEDGE) + 2;
    if (check) room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
    const bool wrap = text.find(L'\n') != std::wstring::npos ||
                      (cls == L"Static" && client.bottom > 2 * units.bottom);
    const SIZE needed = neededSize(child, text, room, wrap);
    const int shortX = needed.cx - room;
    const int shortY = needed.cy - client.bottom;
    const int shortfall = shortX > shortY ? shortX : shortY;
    if (shortfall > worstShortfall) worstShortfall = shortfall;
    std::printf("  %-4s %4ld x %3ld needs %4ld x %3ld  %s  %s\n", shortfall > 0 ? "CUT" : "ok",
                static_cast<long>(room), client.bottom, needed.cx, needed.cy,
                vx::ui::wideToSjis(text).substr(0, 40).c_str(), shortfall > 0 ? "<--" : "");
  }
  DestroyWindow(dialog);
}

}  // namespace

int wmain() {
  report(IDD_MAIN, "main dialog");
  report(IDD_DIRECT_INPUT, "direct input");
  report(IDD_MOVE_COPY, "move/copy");
  std::printf("largest shortfall: %d pixels\n", worstShortfall);
  return worstShortfall > 0 ? 1 : 0;
}
