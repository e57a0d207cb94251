// The main dialog's procedure: initialisation, the private line messages, the program list's
// context menu and closing.
#include "ui/main_dialog.h"

#include <windowsx.h>

#include "catalogue/char_codes.h"
#include "ui/about.h"
#include "ui/layout_scale.h"
#include "ui/listing_drawing.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/text_transfer.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

MainDialog* dialogOf(HWND window) {
  return reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

// The panel starts 10 pixels right of and 20 pixels below the top-left corner of its frame (at
// 96 DPI in the template font; scaled like the panel itself).
POINT panelOrigin(HWND window) {
  RECT frame{};
  GetWindowRect(GetDlgItem(window, IDC_EDIT_FRAME), &frame);
  POINT corner{frame.left, frame.top};
  ScreenToClient(window, &corner);
  const LayoutScale scale = layoutScale(window);
  return POINT{corner.x + scale.x(10), corner.y + scale.y(20)};
}

BOOL onInitDialog(MainDialog& dialog) {
  HWND window = dialog.window;
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_EDITOR));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  dialog.dialogTitle = getWideText(window);
  fitStaticTexts(window);
  addAboutToSystemMenu(window);
  resetPanel(dialog.panel);
  dialog.panel.origin = panelOrigin(window);
  dialog.documentState = DocumentState{};

  dialog.currentProgram = 0;
  fillChoiceList(GetDlgItem(window, IDC_PROGRAM_SELECT), ProgramNames, 0);

  // A failed start-up load has shown its warning; the dialog goes on with ASCII and the
  // document as it was, so that the window is usable.
  const CharCode code = dialog.fileGiven ? loadAtStartUp(dialog) : CharCode::Ascii;
  fillChoiceList(GetDlgItem(window, IDC_CHAR_CODE), CharCodeNameList,
                 static_cast<int>(charCodeIndex(code)));

  updateTitle(dialog);
  installListShortcuts(dialog);
  buildPanel(dialog);
  reserveRoomForDataRows(dialog);
  dialog.currentLine =
      fillProgramList(programList(dialog), dialog.document->programArea, dialog.currentProgram,
                      currentCharCode(window), characterDisplayOn(window));
  SetFocus(programList(dialog));
  postShowLine(dialog, RebuildPanel);
  return FALSE;  // the focus has been set
}

void onNextLine(MainDialog& dialog) {
  HWND list = programList(dialog);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (dialog.currentLine + 1 >= count) return;
  ++dialog.currentLine;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(dialog.currentLine), 0);
  focusInstructionSelector(dialog);
  postShowLine(dialog, RebuildPanel);
}

void onPrevLine(MainDialog& dialog) {
  if (dialog.currentLine <= 0) return;
  --dialog.currentLine;
  SendMessageW(programList(dialog), LB_SETCURSEL, static_cast<WPARAM>(dialog.currentLine), 0);
  focusInstructionSelector(dialog);
  postShowLine(dialog, RebuildPanel);
}

void onShowLine(MainDialog& dialog, WPARAM how) {
  // A new line or a changed view: the next key starts a new undo step.
  if (how == RebuildPanel) endEditRun(dialog);
  const ProgramLine* line =
      lineAt(dialog.document->programArea, dialog.currentProgram, dialog.currentLine);
  showLine(dialog, line, how == KeepControls);
}

}  // namespace

MainDialog* mainDialogOf(HWND control) { return dialogOf(GetAncestor(control, GA_ROOT)); }

HWND programList(const MainDialog& dialog) { return GetDlgItem(dialog.window, IDC_PROGRAM_LIST); }

void postShowLine(const MainDialog& dialog, ShowLine how) {
  PostMessageW(dialog.window, UM_SHOW_LINE, how, 0);
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<MainDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    dialog->window = window;
    return onInitDialog(*dialog);
  }
  if (message == WM_SYSCOMMAND && onAboutCommand(window, wParam)) return TRUE;
  // The list asks for its line height while the dialog is being created.
  if (message == WM_MEASUREITEM || message == WM_DRAWITEM)
    return drawListMessage(window, message, lParam);
  MainDialog* dialog = dialogOf(window);
  if (dialog == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return onCommand(*dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case UM_NEXT_LINE:
      onNextLine(*dialog);
      return TRUE;
    case UM_PREV_LINE:
      onPrevLine(*dialog);
      return TRUE;
    case UM_INSERT_CHAR:
    case UM_DELETE_CHAR:
      onCharacterMessage(*dialog, message, static_cast<int>(wParam));
      return TRUE;
    case UM_SHOW_LINE:
      onShowLine(*dialog, wParam);
      return TRUE;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != programList(*dialog)) return FALSE;
      showListMenu(*dialog, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return TRUE;
    case WM_CLOSE:
      // The close box, Alt+F4 and WM_CLOSE ask first when there are unsaved changes.
      if (confirmDiscard(*dialog)) EndDialog(window, 0);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, DWLP_USER, 0);
      dialog->window = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR runMainDialog(MainDialog& dialog) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                         mainDialogProc, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace vx::ui
