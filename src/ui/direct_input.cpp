// The direct string input (template 102): a string of up to eight characters becomes the data
// bytes of the current line in the current character code.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/char_codes.h"
#include "ui/field_panel.h"
#include "ui/layout_scale.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/secondary_dialogs.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

using DirectInputText = std::array<char, 9>;

// OK takes the first eight bytes of the edit's text; the edit itself does not limit the length.
void acceptText(HWND window, DirectInputText& text) {
  const std::string typed = getText(GetDlgItem(window, IDC_DIRECT_TEXT));
  text.fill('\0');
  std::copy_n(typed.begin(), std::min(typed.size(), text.size() - 1), text.begin());
}

// Panel control number of the first data field of the line the panel shows, or -1 when its
// instruction and kind have no data fields.
int firstDataControl(const MainDialog& dialog) {
  HWND instructionSelector = dialog.panel.controls[0];
  HWND kindSelector = dialog.panel.controls[1];
  if (instructionSelector == nullptr || kindSelector == nullptr) return -1;
  const int instruction = comboSelection(instructionSelector);
  const int kind = comboSelection(kindSelector);
  const int position = firstDataPosition(instruction, kind);
  return position < 0 ? -1 : position + 1;
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
  auto* text = reinterpret_cast<DirectInputText*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (LOWORD(wParam)) {
    case IDOK:
      if (text != nullptr) acceptText(window, *text);
      EndDialog(window, IDOK);
      break;
    case IDCANCEL:
      EndDialog(window, IDCANCEL);
      break;
    default:
      break;
  }
  return TRUE;
}

void runDirectInput(MainDialog& dialog) {
  // The button is shown only for lines with data fields; any other line is left alone.
  const int first = firstDataControl(dialog);
  if (first < 0) return;
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT), dialog.window,
                      directInputProc, reinterpret_cast<LPARAM>(&dialog.directInputText));
  if (result != IDOK) return;

  std::array<std::uint8_t, 15> bytes{};
  const int count =
      textToBytes(currentCharCode(dialog.window), dialog.directInputText.data(), bytes);
  // All eight fields are rewritten, so earlier contents ("*" and "|>" tokens included) go;
  // bytes from the ninth on (the conversion may give up to 15 with shift bytes) are dropped.
  for (int i = 0; i < DataByteCount; ++i) {
    const std::string_view field = i < count ? hexByteText(bytes[static_cast<std::size_t>(i)]) : "";
    setControlText(dialog, first + i, field);
  }
  commitEdit(dialog, IDC_DIRECT_INPUT, EN_CHANGE);
  postShowLine(dialog, 1);
}

}  // namespace vx::ui
