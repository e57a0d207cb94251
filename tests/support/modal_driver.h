// Driving a modal window (a dialog or a message box) or a popup menu from inside its own message
// loop, so that the real DialogBoxParamW, MessageBoxW and TrackPopupMenu paths, with their
// results, are what a test runs.
#pragma once

#include <windows.h>

#include <functional>

namespace vx::test {

// Runs `trigger`, which opens a modal window owned by `owner`, and runs `action` on that window
// from inside its loop once the window is active: a dialog's loop says when it waits for input
// (WM_ENTERIDLE to the owner), a message box is followed from its creation to its activation
// (which posts the owner a turn inside the modal loop). What the action posts to the window runs
// next; a window the action leaves open fails the test and is ended. False when no modal window
// was driven.
bool whileModal(HWND owner, const std::function<void()>& trigger,
                const std::function<void(HWND)>& action);

// Runs `trigger`, which shows a popup menu owned by `owner` (TrackPopupMenu), and runs `action`
// on the menu's window once the menu's loop waits for input (WM_ENTERIDLE with MSGF_MENU to the
// owner). The action must end the menu, by a key posted to the menu window for instance; a menu
// still open once what the action posted has been handled fails the test and is ended. False
// when no menu was driven.
bool whileMenu(HWND owner, const std::function<void()>& trigger,
               const std::function<void(HWND menuWindow)>& action);

}  // namespace vx::test
