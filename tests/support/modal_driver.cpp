#include "support/modal_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/window_checks.h"

namespace vx::test {
namespace {

constexpr UINT_PTR SubclassId = 0x7E57;
constexpr UINT_PTR WakeTimer = 0x7E57;
// Idle turns waited for the window to become active, one timer tick (10 ms) apart.
constexpr int MostWaits = 50;

struct PendingAction {
  HWND owner;
  const std::function<void(HWND)>* action;
  HWND modal = nullptr;  // the modal window once created
  HHOOK hook = nullptr;
  bool ran = false;
  int waits = 0;
};

PendingAction* pendingAction = nullptr;

void drive(HWND modal, PendingAction& pending) {
  pending.ran = true;
  (*pending.action)(modal);
  // What the action posted (keys, the close box's cancel command) runs first, through the dialog
  // manager as in the modal loop.
  MSG message;
  while (PeekMessageW(&message, modal, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(modal, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // A window that the action left open would keep the test waiting for ever.
  if (IsWindow(modal) && IsWindowVisible(modal)) {
    ADD_FAILURE() << "the modal window is still open after the test's action";
    EndDialog(modal, 0);
  }
  // The loop waits for a message once this idle turn returns: one more lets it see its end
  // (the pump above took the one that EndDialog posts).
  PostMessageW(modal, WM_NULL, 0, 0);
}

// Drives the modal window once it is active, or after the last wait; until then the loop gets
// another turn from a timer tick.
void driveWhenActive(HWND owner, HWND modal, PendingAction& pending) {
  if (pending.ran || modal == nullptr || !IsWindowVisible(modal)) return;
  if (GetActiveWindow() != modal && pending.waits < MostWaits) {
    ++pending.waits;
    SetTimer(owner, WakeTimer, 10, nullptr);
    return;
  }
  drive(modal, pending);
}

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
  auto& pending = *reinterpret_cast<PendingAction*>(data);
  if (message == WM_TIMER && wParam == WakeTimer) {
    KillTimer(window, WakeTimer);
    driveWhenActive(window, pending.modal, pending);
    return 0;
  }
  // A dialog's loop tells its owner whenever it waits for input.
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
    pending.modal = reinterpret_cast<HWND>(lParam);
    driveWhenActive(window, pending.modal, pending);
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// A message box's loop sends no WM_ENTERIDLE under Wine: its creation starts the timer instead.
LRESULT CALLBACK creationHook(int code, WPARAM wParam, LPARAM lParam) {
  PendingAction* pending = pendingAction;
  if (code == HCBT_CREATEWND && pending != nullptr && pending->modal == nullptr) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (create->lpcs->hwndParent == pending->owner && (create->lpcs->style & WS_CHILD) == 0) {
      pending->modal = reinterpret_cast<HWND>(wParam);
      SetTimer(pending->owner, WakeTimer, 10, nullptr);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct PendingMenu {
  const std::function<void(HWND)>* action;
  bool ran = false;
};

// The window of the popup menu shown by this thread, when it is visible. Windows names it in the
// idle message; Wine does not, but it is the thread's only window of the menu class.
HWND shownMenu(LPARAM idleWindow) {
  HWND menu = reinterpret_cast<HWND>(idleWindow);
  if (menu == nullptr) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
          if (classOf(window) != L"#32768" || !IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND*>(found) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&menu));
  }
  return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

// Posted to the menu's owner after the action: the menu's loop dispatches it only while the menu
// is still open, after what the action posted.
const UINT MenuLeftOpen = RegisterWindowMessageW(L"vx.test.menuLeftOpen");

// A menu's loop tells the menu's owner when it waits for input (Windows whenever its queue runs
// empty, Wine once).
LRESULT CALLBACK menuOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
  auto& pending = *reinterpret_cast<PendingMenu*>(data);
  if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
    HWND menu = shownMenu(lParam);
    if (pending.ran || menu == nullptr) return 0;
    pending.ran = true;
    (*pending.action)(menu);
    PostMessageW(window, MenuLeftOpen, 0, 0);
    return 0;
  }
  if (message == MenuLeftOpen) {
    if (shownMenu(0) != nullptr) {
      ADD_FAILURE() << "the popup menu is still open after the test's action";
      EndMenu();
    }
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

bool whileMenu(HWND owner, const std::function<void()>& trigger,
               const std::function<void(HWND)>& action) {
  PendingMenu pending{&action};
  SetWindowSubclass(owner, menuOwnerProc, SubclassId, reinterpret_cast<DWORD_PTR>(&pending));
  trigger();
  RemoveWindowSubclass(owner, menuOwnerProc, SubclassId);
  return pending.ran;
}

bool whileModal(HWND owner, const std::function<void()>& trigger,
                const std::function<void(HWND)>& action) {
  PendingAction pending{owner, &action};
  pendingAction = &pending;
  pending.hook = SetWindowsHookExW(WH_CBT, creationHook, nullptr, GetCurrentThreadId());
  SetWindowSubclass(owner, ownerProc, SubclassId, reinterpret_cast<DWORD_PTR>(&pending));
  trigger();
  RemoveWindowSubclass(owner, ownerProc, SubclassId);
  UnhookWindowsHookEx(pending.hook);
  pendingAction = nullptr;
  KillTimer(owner, WakeTimer);
  return pending.ran;
}

}  // namespace vx::test
