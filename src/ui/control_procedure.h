// The editor's own handling of messages to some controls: the keys of the panel's fields and of
// the program list, the painting of the character cells. The control's window procedure is
// replaced and the control's own one kept in its GWLP_USERDATA, which the system's control classes
// leave to the program. SetWindowSubclass would look its handlers up in a window property on
// every message, which under Wine is a call to its server; the panel's controls see hundreds of
// messages on each line change.
#pragma once

#include <windows.h>

namespace vx::ui {

// Makes `procedure` the control's window procedure; a control takes one, once.
void replaceProcedure(HWND control, WNDPROC procedure);

// Hands a message on to the control's own procedure.
LRESULT callOwnProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vx::ui
