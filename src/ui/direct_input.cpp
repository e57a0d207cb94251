// The direct string input dialog (template 102): the typed text, cut to its first eight bytes,
// is its result. The main dialog writes it into the current line.
#include "ui/direct_input.h"

#include <algorithm>

#include "ui/layout_scale.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

using DirectInputResult = std::optional<std::string>;

// OK takes the first eight bytes of the edit's text; the edit itself does not limit the length.
std::string acceptedText(HWND window) {
  const std::string typed = getText(GetDlgItem(window, IDC_DIRECT_TEXT));
  return typed.substr(0, std::min(typed.size(), DirectInputBytes));
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
  auto* result = reinterpret_cast<DirectInputResult*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (LOWORD(wParam)) {
    case IDOK:
      if (result != nullptr) *result = acceptedText(window);
      EndDialog(window, DirectInputAccepted);
      break;
    case IDCANCEL:
      EndDialog(window, DirectInputCancelled);
      break;
    default:
      break;
  }
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
