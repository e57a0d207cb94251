#include "support/window_checks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/win_text.h"

namespace vx::test {

void expectDialogFrame(HWND dialog) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & DS_MODALFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT frame{};
  GetWindowRect(dialog, &frame);
  EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 2);
  EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
}

void expectTemplateControl(HWND control, const TemplateControl& expected) {
  EXPECT_EQ(GetDlgCtrlID(control), expected.id);
  EXPECT_EQ(classOf(control), expected.className);
  // A combo box's text is its selection, compared where the template control names one.
  if (classOf(control) != L"ComboBox" || *expected.text != L'\0') {
    EXPECT_EQ(ui::getWideText(control), expected.text);
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  EXPECT_EQ(style & expected.style.mask, expected.style.bits) << std::hex << style;
  if (expected.bordered) {
    // The dialog manager may draw a bordered control with a client edge instead.
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
    EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
  }
}

RECT dialogPixels(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return units;
}

RECT rectInDialog(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE staticTextSize(HWND control, int width) {
  const std::wstring text = ui::getWideText(control);
  if (text.empty()) return SIZE{};
  const bool multiline = text.find(L'\n') != std::wstring::npos;
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT rect{0, 0, multiline ? width : 0, 0};
  DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return SIZE{rect.right, rect.bottom};
}

void expectTemplateGeometry(HWND dialog, HWND child, RECT units, const wchar_t* className) {
  const RECT pixels = dialogPixels(dialog, units);
  const RECT rect = rectInDialog(dialog, child);
  EXPECT_EQ(rect.left, pixels.left);
  EXPECT_EQ(rect.top, pixels.top);
  const std::wstring name = className;
  if (name == L"Static") {
    // A static text is widened (and heightened) to its text when the font is wider than the
    // template's, and keeps the template's size otherwise.
    const SIZE needed = staticTextSize(child, pixels.right);
    EXPECT_EQ(rect.right - rect.left, std::max<LONG>(pixels.right, needed.cx));
    EXPECT_EQ(rect.bottom - rect.top, std::max<LONG>(pixels.bottom, needed.cy));
    return;
  }
  EXPECT_EQ(rect.right - rect.left, pixels.right);
  if (name == L"ListBox") {
    const auto lineHeight = static_cast<int>(SendMessageW(child, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(rect.bottom - rect.top, pixels.bottom);
    EXPECT_GT(rect.bottom - rect.top, pixels.bottom - lineHeight);
  } else if (name != L"ComboBox") {
    EXPECT_EQ(rect.bottom - rect.top, pixels.bottom);
  }
}

HWND expectControlsInTabOrder(HWND dialog, std::span<const TemplateControl> controls,
                              const PlaceCheck& checkPlace) {
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const TemplateControl& expected : controls) {
    if (child == nullptr) {
      ADD_FAILURE() << "missing " << ui::wideToSjis(expected.text);
      return nullptr;
    }
    SCOPED_TRACE(ui::wideToSjis(expected.text) + " / id " + std::to_string(expected.id));
    expectTemplateControl(child, expected);
    if (checkPlace) {
      checkPlace(dialog, child, expected);
    } else {
      expectTemplateGeometry(dialog, child, expected.units, expected.className);
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  return child;
}

void expectDialogTemplate(HWND dialog, const wchar_t* title, SIZE units,
                          std::span<const TemplateControl> controls) {
  EXPECT_EQ(ui::getWideText(dialog), title);
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_POPUP);
  expectDialogFrame(dialog);
  const RECT client = dialogPixels(dialog, RECT{0, 0, units.cx, units.cy});
  RECT actual{};
  GetClientRect(dialog, &actual);
  EXPECT_EQ(actual.right, client.right);
  EXPECT_EQ(actual.bottom, client.bottom);
  EXPECT_EQ(expectControlsInTabOrder(dialog, controls), nullptr) << "a control too many";
}

}  // namespace vx::test
