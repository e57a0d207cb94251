// The commands of the main dialog's buttons, selectors and program list.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "ui/direct_input.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/move_copy_dialog.h"
#include "ui/resource_ids.h"
#include "ui/text_transfer.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

// False only in a program without lines: then nothing is inserted or deleted.
bool hasCurrentLine(const MainDialog& dialog) {
  return lineAt(dialog.document->programArea, dialog.currentProgram, dialog.currentLine) != nullptr;
}

void onProgramSelected(MainDialog& dialog) {
  const int selection = comboSelection(GetDlgItem(dialog.window, IDC_PROGRAM_SELECT));
  if (selection < 0 || selection >= ProgramCount) return;
  dialog.currentProgram = selection;
  dialog.currentLine =
      fillProgramList(programList(dialog), dialog.document->programArea, dialog.currentProgram,
                      currentCharCode(dialog.window), characterDisplayOn(dialog.window));
  postShowLine(dialog, RebuildPanel);
  showStatus(dialog.window, 0);
}

// Picking a line stores it as the program's cursor; a double click goes on to the panel.
void onLinePicked(MainDialog& dialog, bool doubleClick) {
  const int selection = listSelection(programList(dialog));
  if (selection < 0) return;
  dialog.currentLine = selection;
  setCursor(dialog.document->programArea, dialog.currentProgram, selection);
  if (doubleClick) {
    focusInstructionSelector(dialog);
    showGuidance(dialog, 0);
  } else {
    showStatus(dialog.window, 0);
  }
  postShowLine(dialog, RebuildPanel);
}

// After an insertion or deletion the current line stays and is selected again.
void refreshAfterLineChange(MainDialog& dialog) {
  relistKeepingTop(dialog, false);
  focusInstructionSelector(dialog);
  postShowLine(dialog, RebuildPanel);
}

void onCheckLabels(MainDialog& dialog) {
  const int line = checkLabels(dialog.document->programArea, dialog.currentProgram);
  if (line == -1) {
    showStatus(dialog.window, IDS_LABELS_CONSISTENT);
    return;
  }
  dialog.currentLine = line;
  setCursor(dialog.document->programArea, dialog.currentProgram, line);
  SendMessageW(programList(dialog), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  showStatus(dialog.window, IDS_LABEL_MISMATCH);
  postShowLine(dialog, RebuildPanel);
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

// The direct input's text becomes the data bytes of the current line in the current character
// code, written into the panel's data fields and committed as one step.
void onDirectInput(MainDialog& dialog) {
  // The button is shown only for lines with data fields; any other line is left alone.
  const int first = firstDataControl(dialog);
  if (first < 0) return;
  const std::optional<std::string> text = runDirectInputDialog(dialog.window);
  if (!text) return;

  std::array<std::uint8_t, 15> bytes{};
  const int count = textToBytes(currentCharCode(dialog.window), *text, bytes);
  // All eight fields are rewritten, so earlier contents ("*" and "|>" tokens included) go;
  // bytes from the ninth on (the conversion may give up to 15 with shift bytes) are dropped.
  for (int i = 0; i < DataByteCount; ++i) {
    const std::string_view field = i < count ? hexByteText(bytes[static_cast<std::size_t>(i)]) : "";
    setControlText(dialog, first + i, field);
  }
  commitEdit(dialog, IDC_DIRECT_INPUT, EN_CHANGE);
  postShowLine(dialog, KeepControls);
}

// The move and copy dialog opens on the program shown, scrolled as the list stands, listed with
// the current character code and display setting.
MoveCopyView moveCopyView(const MainDialog& dialog) {
  int program = comboSelection(GetDlgItem(dialog.window, IDC_PROGRAM_SELECT));
  if (program < 0 || program >= ProgramCount) program = dialog.currentProgram;
  const auto top = static_cast<int>(SendMessageW(programList(dialog), LB_GETTOPINDEX, 0, 0));
  return {program, top, currentCharCode(dialog.window), characterDisplayOn(dialog.window)};
}

// Only a move or copy that was carried out re-lists; the current line stays and is selected.
void onMoveCopy(MainDialog& dialog) {
  if (!moveCopyRecorded(dialog, moveCopyView(dialog))) return;
  relistKeepingTop(dialog, false);
  focusInstructionSelector(dialog);
  showMoveCopyStatus(dialog);
  postShowLine(dialog, RebuildPanel);
}

}  // namespace

// Re-lists the current program and restores the list's top index, so that the view does not
// jump. With takeCursor the current line becomes the stored cursor, otherwise it stays.
void relistKeepingTop(MainDialog& dialog, bool takeCursor) {
  HWND list = programList(dialog);
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const int cursorLine =
      fillProgramList(list, dialog.document->programArea, dialog.currentProgram,
                      currentCharCode(dialog.window), characterDisplayOn(dialog.window));
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  if (takeCursor) {
    dialog.currentLine = cursorLine;
  } else {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(dialog.currentLine), 0);
  }
}

bool onCommand(MainDialog& dialog, int id, int code) {
  switch (id) {
    case IDC_PROGRAM_SELECT:
      if (code == CBN_SELCHANGE) onProgramSelected(dialog);
      return true;
    case IDC_PROGRAM_LIST:
      if (code == LBN_SELCHANGE || code == LBN_DBLCLK) onLinePicked(dialog, code == LBN_DBLCLK);
      return true;
    case IDC_LOAD:
      onLoad(dialog);
      return true;
    case IDC_SAVE:
      onSave(dialog);
      return true;
    case IDC_CHAR_CODE:
      if (code == CBN_SELCHANGE) {
        relistKeepingTop(dialog, true);
        postShowLine(dialog, RebuildPanel);
        SetFocus(GetDlgItem(dialog.window, IDC_CHAR_CODE));
      }
      return true;
    case IDC_CHAR_DISPLAY:
      if (code == BN_CLICKED) {
        relistKeepingTop(dialog, true);
        postShowLine(dialog, RebuildPanel);
        SetFocus(GetDlgItem(dialog.window, IDC_CHAR_DISPLAY));
      }
      return true;
    case IDC_INSERT_LINE:
      if (hasCurrentLine(dialog)) insertLineRecorded(dialog);
      refreshAfterLineChange(dialog);
      showPushedOffStatus(dialog);
      return true;
    case IDC_DELETE_LINE:
      if (hasCurrentLine(dialog)) deleteLineRecorded(dialog);
      refreshAfterLineChange(dialog);
      return true;
    case IDC_LABEL_CHECK:
      onCheckLabels(dialog);
      return true;
    case IDC_DIRECT_INPUT:
      onDirectInput(dialog);
      return true;
    case IDC_MOVE_COPY:
      onMoveCopy(dialog);
      return true;
    case IDM_COPY_LINE:
      copyCurrentLine(dialog);
      return true;
    case IDM_PASTE_LINES:
      pasteLines(dialog);
      return true;
    case IDM_EXPORT_PROGRAM:
      exportProgram(dialog);
      return true;
    case IDM_IMPORT_PROGRAM:
      importProgram(dialog);
      return true;
    default:
      if (id >= IDC_PANEL_FIRST && id <= IDC_PANEL_LAST)
        return handlePanelCommand(dialog, id, code);
      return false;
  }
}

}  // namespace vx::ui
