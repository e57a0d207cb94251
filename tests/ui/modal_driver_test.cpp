// The test support that drives popup menus from inside their own loop: the menu loop must tell
// the menu's owner when it waits for input (WM_ENTERIDLE with MSGF_MENU), under Wine as under
// Windows, or the context menu tests could not run without polling.
#include "support/modal_driver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/window_checks.h"

namespace vx::test {
namespace {

constexpr UINT_PTR FirstItem = 101;
constexpr UINT_PTR SecondItem = 102;

class MenuDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                            100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, FirstItem, L"&First");
    AppendMenuW(menu, MF_STRING, SecondItem, L"&Second");
  }
  void TearDown() override {
    DestroyMenu(menu);
    DestroyWindow(owner);
  }

  // Shows the menu and returns the command picked (0: none).
  UINT_PTR track() {
    return static_cast<UINT_PTR>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                20, 20, 0, owner, nullptr));
  }

  HWND owner = nullptr;
  HMENU menu = nullptr;
};

TEST_F(MenuDriverTest, TheActionRunsOnTheShownMenuAndPicksAnEntryByItsKey) {
  UINT_PTR picked = 0;
  std::vector<std::wstring> classes;
  HMENU shown = nullptr;
  const bool driven = whileMenu(
      owner, [&] { picked = track(); },
      [&](HWND menuWindow) {
        classes.push_back(classOf(menuWindow));
        EXPECT_TRUE(IsWindowVisible(menuWindow));
        shown = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        PostMessageW(menuWindow, WM_CHAR, L's', 0);
      });
  EXPECT_TRUE(driven);
  EXPECT_EQ(classes, std::vector<std::wstring>{L"#32768"}) << "the action runs once";
  EXPECT_EQ(shown, menu);
  EXPECT_EQ(picked, SecondItem);
}

TEST_F(MenuDriverTest, AMenuTheActionLeavesOpenFailsTheTestAndIsEnded) {
  UINT_PTR picked = FirstItem;
  bool driven = false;
  EXPECT_NONFATAL_FAILURE(driven = whileMenu(
                              owner, [&] { picked = track(); }, [](HWND) {}),
                          "the popup menu is still open after the test's action");
  EXPECT_TRUE(driven);
  EXPECT_EQ(picked, 0u) << "ended without a pick";
}

TEST_F(MenuDriverTest, NoMenuShownDrivesNothing) {
  bool ran = false;
  EXPECT_FALSE(whileMenu(
      owner, [] {}, [&](HWND) { ran = true; }));
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vx::test
