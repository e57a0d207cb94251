// The move and copy dialog (template 103): it gathers the source lines, the destination program
// and the destination line, and hands them to moveCopyLines. The main dialog re-lists afterwards.
#include <array>

#include "store/program_area.h"
#include "ui/layout_scale.h"
#include "ui/listing_drawing.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/secondary_dialogs.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

MainDialog* ownerOf(HWND window) {
  return reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

// The selection of a program selector, or -1 when it holds none.
int selectedProgram(HWND window, int selectorId) {
  const int selection = comboSelection(GetDlgItem(window, selectorId));
  return selection >= 0 && selection < ProgramCount ? selection : -1;
}

// Lists `program` with the main dialog's character code and display setting. The destination
// list selects the program's stored cursor; the source list, with its multiple selection, takes
// no single selection and starts with nothing selected.
void listProgram(HWND window, const MainDialog& owner, int listId, int program) {
  fillProgramList(GetDlgItem(window, listId), owner.document->programArea, program,
                  currentCharCode(owner.window), characterDisplayOn(owner.window));
}

// Both sides start on the main dialog's program, scrolled to where its list stands.
BOOL onInitDialog(HWND window, const MainDialog& owner) {
  HWND mainList = GetDlgItem(owner.window, IDC_PROGRAM_LIST);
  int program = comboSelection(GetDlgItem(owner.window, IDC_PROGRAM_SELECT));
  if (program < 0 || program >= ProgramCount) program = owner.currentProgram;
  const LRESULT top = SendMessageW(mainList, LB_GETTOPINDEX, 0, 0);

  for (const int selectorId : {IDC_SOURCE_PROGRAM, IDC_DESTINATION_PROGRAM}) {
    fillChoiceList(GetDlgItem(window, selectorId), ProgramNames, program);
  }
  for (const int listId : {IDC_SOURCE_LIST, IDC_DESTINATION_LIST}) {
    listProgram(window, owner, listId, program);
    SendMessageW(GetDlgItem(window, listId), LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  }
  return TRUE;  // the dialog manager focuses the first control that takes the focus
}

// Move (1020) or copy (1021). Without a selected source line the dialog ends as cancelled;
// without a destination line (a program without lines) the button does nothing.
void onMoveOrCopy(HWND window, MainDialog& owner, bool move) {
  const int source = selectedProgram(window, IDC_SOURCE_PROGRAM);
  const int destination = selectedProgram(window, IDC_DESTINATION_PROGRAM);
  const auto destinationLine =
      static_cast<int>(SendMessageW(GetDlgItem(window, IDC_DESTINATION_LIST), LB_GETCURSEL, 0, 0));
  if (source < 0 || destination < 0 || destinationLine < 0) return;

  // The list box reports its selected indices in ascending order; beyond 256 the first are taken.
  std::array<int, MaxMoveCopyLines> selected{};
  const auto count =
      static_cast<int>(SendMessageW(GetDlgItem(window, IDC_SOURCE_LIST), LB_GETSELITEMS,
                                    selected.size(), reinterpret_cast<LPARAM>(selected.data())));
  if (count <= 0) {
    EndDialog(window, MoveCopyCancelled);
    return;
  }
  moveCopyLines(owner.document->programArea, source,
                std::span<const int>(selected.data(), static_cast<std::size_t>(count)), destination,
                destinationLine, move, &owner.documentState.pushedOff);
  EndDialog(window, MoveCopyDone);
}

void onCommand(HWND window, MainDialog& owner, int id, int code) {
  switch (id) {
    case IDC_SOURCE_PROGRAM:
    case IDC_DESTINATION_PROGRAM: {
      if (code != CBN_SELCHANGE) return;
      const int program = selectedProgram(window, id);
      if (program < 0) return;
      listProgram(window, owner, id == IDC_SOURCE_PROGRAM ? IDC_SOURCE_LIST : IDC_DESTINATION_LIST,
                  program);
      return;
    }
    case IDC_MOVE:
    case IDC_COPY:
      onMoveOrCopy(window, owner, id == IDC_MOVE);
      return;
    case IDCANCEL:
      EndDialog(window, MoveCopyCancelled);
      return;
    default:
      return;
  }
}

}  // namespace

INT_PTR CALLBACK moveCopyDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    fitStaticTexts(window);
    return onInitDialog(window, *reinterpret_cast<MainDialog*>(lParam));
  }
  if (message == WM_MEASUREITEM || message == WM_DRAWITEM)
    return drawListMessage(window, message, lParam);
  MainDialog* owner = ownerOf(window);
  if (owner == nullptr || message != WM_COMMAND) return FALSE;
  onCommand(window, *owner, LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

INT_PTR runMoveCopyDialog(MainDialog& dialog) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MOVE_COPY), dialog.window,
                         moveCopyDialogProc, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace vx::ui
