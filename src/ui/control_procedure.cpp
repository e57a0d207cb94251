#include "ui/control_procedure.h"

namespace vx::ui {

void replaceProcedure(HWND control, WNDPROC procedure) {
  const LONG_PTR own =
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  SetWindowLongPtrW(control, GWLP_USERDATA, own);
}

LRESULT callOwnProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
  return CallWindowProcW(own, control, message, wParam, lParam);
}

}  // namespace vx::ui
