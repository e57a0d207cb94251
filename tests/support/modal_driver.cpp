#include "support/modal_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/window_checks.h"

namespace vx::test {
namespace {

constexpr UINT_PTR SubclassId = 0x7E57;

// Posted to the owner when the modal window is being activated: the modal loop dispatches it
// once the window is active.
const UINT ModalActive = RegisterWindowMessageW(L"vx.test.modalActive");

struct PendingAction {
  HWND owner;
  const std::function<void(HWND)>* action;
  HWND modal = nullptr;  // the modal window once created
  HHOOK hook = nullptr;
  bool ran = false;
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
  // The loop waits for a message once this turn returns: one more lets it see its end (the pump
  // above took the one that EndDialog posts).
  PostMessageW(modal, WM_NULL, 0, 0);
}

// Drives the modal window once, when it is shown and active.
void driveWhenActive(HWND modal, PendingAction& pending) {
  if (pending.ran || modal == nullptr || !IsWindowVisible(modal)) return;
  if (GetActiveWindow() != modal) return;  // its activation brings another turn
  drive(modal, pending);
}

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
  auto& pending = *reinterpret_cast<PendingAction*>(data);
  // A dialog's loop tells its owner whenever it waits for input.
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
    if (pending.modal == nullptr) pending.modal = reinterpret_cast<HWND>(lParam);
    driveWhenActive(reinterpret_cast<HWND>(lParam), pending);
    return 0;
  }
  if (message == ModalActive) {
    driveWhenActive(pending.modal, pending);
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// A message box's loop sends no WM_ENTERIDLE under Wine: the modal window is followed from its
// creation to its activation instead, which posts the owner a turn inside the modal loop.
LRESULT CALLBACK creationHook(int code, WPARAM wParam, LPARAM lParam) {
  PendingAction* pending = pendingAction;
  if (pending != nullptr && code == HCBT_CREATEWND && pending->modal == nullptr) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (create->lpcs->hwndParent == pending->owner && (create->lpcs->style & WS_CHILD) == 0) {
      pending->modal = reinterpret_cast<HWND>(wParam);
    }
  }
  if (pending != nullptr && code == HCBT_ACTIVATE && pending->modal != nullptr &&
      reinterpret_cast<HWND>(wParam) == pending->modal) {
    PostMessageW(pending->owner, ModalActive, 0, 0);
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
  return pending.ran;
}

}  // namespace vx::test
