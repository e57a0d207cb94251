// The move and copy dialog (template 103): it gathers the source lines, the destination program
// and the destination line, and hands them to moveCopyLines. The window that opened it re-lists
// afterwards.
#include "ui/move_copy_dialog.h"

#include <array>
#include <utility>

#include "ui/layout_scale.h"
#include "ui/listing_drawing.h"
#include "ui/program_list.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

MoveCopySession* sessionOf(HWND window) {
  return reinterpret_cast<MoveCopySession*>(GetWindowLongPtrW(window, DWLP_USER));
}

// The selection of a program selector, or -1 when it holds none.
int selectedProgram(HWND window, int selectorId) {
  const int selection = comboSelection(GetDlgItem(window, selectorId));
  return selection >= 0 && selection < ProgramCount ? selection : -1;
}

// Lists `program` with the view's character code and display setting. The destination list
// selects the program's stored cursor; the source list, with its multiple selection, takes no
// single selection and starts with nothing selected.
void listProgram(HWND window, const MoveCopySession& session, int listId, int program) {
  fillProgramList(GetDlgItem(window, listId), session.area, program, session.view.code,
                  session.view.showCharacters);
}

// Both sides start on the view's program, scrolled to the view's top line.
BOOL onInitDialog(HWND window, const MoveCopySession& session) {
  int program = session.view.program;
  if (program < 0 || program >= ProgramCount) program = 0;
  for (const int selectorId : {IDC_SOURCE_PROGRAM, IDC_DESTINATION_PROGRAM}) {
    fillChoiceList(GetDlgItem(window, selectorId), ProgramNames, program);
  }
  for (const int listId : {IDC_SOURCE_LIST, IDC_DESTINATION_LIST}) {
    listProgram(window, session, listId, program);
    SendMessageW(GetDlgItem(window, listId), LB_SETTOPINDEX,
                 static_cast<WPARAM>(session.view.topIndex), 0);
  }
  return TRUE;  // the dialog manager focuses the first control that takes the focus
}

// Move (1020) or copy (1021). Without a selected source line the dialog ends as cancelled;
// without a destination line (a program without lines) the button does nothing.
void onMoveOrCopy(HWND window, MoveCopySession& session, bool move) {
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
  MoveCopyResult result;
  result.sourceProgram = source;
  result.sourceLines.assign(selected.begin(), selected.begin() + count);
  result.destinationProgram = destination;
  result.destinationLine = destinationLine;
  result.move = move;
  moveCopyLines(session.area, source, result.sourceLines, destination, destinationLine, move,
                &result.pushedOff);
  session.result = std::move(result);
  EndDialog(window, MoveCopyDone);
}

void onCommand(HWND window, MoveCopySession& session, int id, int code) {
  switch (id) {
    case IDC_SOURCE_PROGRAM:
    case IDC_DESTINATION_PROGRAM: {
      if (code != CBN_SELCHANGE) return;
      const int program = selectedProgram(window, id);
      if (program < 0) return;
      listProgram(window, session,
                  id == IDC_SOURCE_PROGRAM ? IDC_SOURCE_LIST : IDC_DESTINATION_LIST, program);
      return;
    }
    case IDC_MOVE:
    case IDC_COPY:
      onMoveOrCopy(window, session, id == IDC_MOVE);
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
    return onInitDialog(window, *reinterpret_cast<MoveCopySession*>(lParam));
  }
  if (message == WM_MEASUREITEM || message == WM_DRAWITEM)
    return drawListMessage(window, message, lParam);
  MoveCopySession* session = sessionOf(window);
  if (session == nullptr || message != WM_COMMAND) return FALSE;
  onCommand(window, *session, LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

std::optional<MoveCopyResult> runMoveCopyDialog(HWND owner, ProgramArea& area,
                                                const MoveCopyView& view) {
  MoveCopySession session{area, view, std::nullopt};
  const INT_PTR end =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MOVE_COPY), owner,
                      moveCopyDialogProc, reinterpret_cast<LPARAM>(&session));
  if (end != MoveCopyDone) return std::nullopt;
  return session.result;
}

}  // namespace vx::ui
