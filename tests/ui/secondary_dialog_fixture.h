// What the tests of the secondary dialogs share: small helpers and a main
// dialog whose move and copy command runs the real dialog. The modal dialogs are driven from
// inside their own message loop (support/modal_driver.h), so the real DialogBoxParamW path with
// its results is what runs.
#pragma once

#include <array>
#include <cctype>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "support/modal_driver.h"
#include "ui/move_copy_dialog.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {

// Posts a key press to the control that has the focus, as the keyboard would.
inline void pressKey(WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 0);
  PostMessageW(focus, WM_KEYUP, key, 0);
}

inline int sendInt(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(SendMessageW(window, message, wParam, lParam));
}

// Picks a program in one of the move/copy dialog's selectors, as the user's choice does.
inline void chooseProgram(HWND moveCopy, int selectorId, int program) {
  HWND selector = GetDlgItem(moveCopy, selectorId);
  SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(program), 0);
  SendMessageW(moveCopy, WM_COMMAND, MAKEWPARAM(selectorId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(selector));
}

inline void pressButton(HWND moveCopy, int id) {
  SendMessageW(GetDlgItem(moveCopy, id), BM_CLICK, 0, 0);
}

// Test names from the cases' names, with every character but letters and digits as "_".
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

class SecondaryDialogTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    dialog.runMoveCopy = [this](HWND owner, ProgramArea& area, const MoveCopyView& view) {
      ++moveCopyRuns;
      moveCopyViewSeen = view;
      moveCopyResult = runMoveCopyDialog(owner, area, view);
      return moveCopyResult;
    };
  }

  void TearDown() override {
    if (modeless != nullptr) DestroyWindow(modeless);
    MainDialogTest::TearDown();
  }

  // Sends the command of `id` to the main dialog and runs `action` on the modal dialog it opens.
  // False when no dialog opened.
  bool whileOpen(int id, const std::function<void(HWND)>& action) {
    return vx::test::whileModal(
        window, [&] { notify(id, BN_CLICKED); }, action);
  }

  std::wstring lineListing(int program, int index) const {
    return expectedListing(*lineAt(document.programArea, program, index));
  }

  HWND modeless = nullptr;
  // How often the main dialog ran the move and copy dialog, on which view, and its result.
  int moveCopyRuns = 0;
  std::optional<MoveCopyView> moveCopyViewSeen;
  std::optional<MoveCopyResult> moveCopyResult;
};

}  // namespace vx::ui::test
