// The program list, the status area and the two display settings the listing depends on.
#include "catalogue/listing.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

// The list is hidden while it is emptied and refilled, so that 512 lines are not drawn one by one.
// Hiding takes the focus away; a list that had it gets it back, so that the keys typed next (a
// second Ctrl+Z or Ctrl+V) still go to the list.
int fillProgramList(HWND list, const ProgramArea& area, int program, CharCode code,
                    bool showCharacters) {
  const bool focused = GetFocus() == list;
  ShowWindow(list, SW_HIDE);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  ListingText buffer{};
  int count = 0;
  for (const ProgramLine* line = lineAt(area, program, 0); line != nullptr;
       line = lineAt(area, program, ++count)) {
    addListString(list, listingText(*line, code, showCharacters, buffer));
  }
  // A stored cursor outside the program (possible in a loaded file) counts as line 0, so that
  // the selection and the current line are always the same line and no edit lands outside.
  int selected = cursor(area, program);
  if (selected < 0 || selected >= count) selected = 0;
  if (count > 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  ShowWindow(list, SW_SHOWNORMAL);
  if (focused) SetFocus(list);
  return selected;
}

void showStatus(HWND dialog, unsigned stringId) {
  setWideText(GetDlgItem(dialog, IDC_STATUS),
              stringId == 0 ? std::wstring() : loadString(stringId));
}

CharCode currentCharCode(HWND dialog) {
  const int selection = comboSelection(GetDlgItem(dialog, IDC_CHAR_CODE));
  return normaliseCharCode(selection);
}

bool characterDisplayOn(HWND dialog) {
  return SendMessageW(GetDlgItem(dialog, IDC_CHAR_DISPLAY), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace vx::ui
