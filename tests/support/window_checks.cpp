#include "support/window_checks.h"

#include <gtest/gtest.h>

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

}  // namespace vx::test
