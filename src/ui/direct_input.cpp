// The direct string input dialog (template 102): the typed text, cut to its first eight bytes,
// is its result. The main dialog writes it into the current line.
#include "ui/direct_input.h"

#include "ui/layout_scale.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

using DirectInputResult = std::optional<std::string>;

// OK takes the first eight bytes of the edit's text; the edit itself does not limit the length.
std::string acceptedText(HWND window) {
  return getText(GetDlgItem(window, IDC_DIRECT_TEXT)).substr(0, DirectInputBytes);
}

// OK fills the result and ends the dialog; cancel (Escape, the close box) only ends it.
void onCommand(HWND window, DirectInputResult* result, int id) {
  switch (id) {
    case IDOK:
      if (result != nullptr) *result = acceptedText(window);
      EndDialog(window, DirectInputAccepted);
      return;
    case IDCANCEL:
      EndDialog(window, DirectInputCancelled);
      return;
    default:
      return;
  }
}

}  // namespace

INT_PTR CALLBACK directInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // Nothing else is initialised: the edit starts empty each time the dialog opens.
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    fitStaticTexts(window);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  onCommand(window, reinterpret_cast<DirectInputResult*>(GetWindowLongPtrW(window, DWLP_USER)),
            LOWORD(wParam));
  return TRUE;
}

std::optional<std::string> runDirectInputDialog(HWND owner) {
  DirectInputResult result;
  const INT_PTR end = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                      owner, directInputProc, reinterpret_cast<LPARAM>(&result));
  if (end != DirectInputAccepted) return std::nullopt;
  return result;
}

}  // namespace vx::ui
