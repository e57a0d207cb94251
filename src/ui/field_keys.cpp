// The keyboard of the field panel: Enter moves between lines, the arrows between fields, digits
// and letters pick the instruction and the kind, Shift+Insert and Shift+Delete insert and delete
// a byte inside the run of data fields. Every other key first commits the field as it stands.
#include "ui/control_procedure.h"
#include "ui/field_panel.h"
#include "ui/field_panel_parts.h"
#include "ui/key_state.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

// The reason of a commit made by a key: never CBN_SELCHANGE, so the commit does not rebuild.
constexpr int KeyReason = 0;

enum class Direction { None, Previous, Next };

// The instruction a key picks on the instruction selector (-1 for none).
int instructionForKey(WPARAM key) {
  if (key >= '0' && key <= '9') return static_cast<int>(key - '0');
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<int>(key - VK_NUMPAD0);
  if (key >= 'A' && key <= 'C') return static_cast<int>(key - 'A') + 10;
  return -1;
}

int kindForKey(WPARAM key) {
  if (key >= '0' && key <= '9') return static_cast<int>(key - '0');
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<int>(key - VK_NUMPAD0);
  return -1;
}

void focusControl(MainDialog& dialog, int control) {
  if (HWND window = panelControl(dialog, control); window != nullptr) SetFocus(window);
}

// Moves the focus from control n to the next or previous field, passing over captions. The
// next field search ends at the end of the row; the previous one ends at the selector.
void moveFocus(MainDialog& dialog, int control, Direction direction) {
  const int instruction = selectedInstruction(dialog);
  const int kind = selectedKind(dialog, instruction);
  if (direction == Direction::Next) {
    for (int k = control + 1; k < PanelControlCount; ++k) {
      const FieldType type = controlFieldType(instruction, kind, k);
      if (type == FieldType::End || panelControl(dialog, k) == nullptr) return;
      if (isCaptionType(type)) continue;
      focusControl(dialog, k);
      return;
    }
    return;
  }
  if (control == 0) return;
  for (int k = control - 1; k >= 1; --k) {
    if (isCaptionType(controlFieldType(instruction, kind, k))) continue;
    if (panelControl(dialog, k) == nullptr) continue;
    focusControl(dialog, k);
    return;
  }
  focusControl(dialog, 0);
}

// WM_KEYDOWN in panel control n. True when the key is consumed.
bool onKeyDown(MainDialog& dialog, int control, WPARAM key) {
  const int instruction = selectedInstruction(dialog);
  const bool hasKindSelector = fieldTypeAt(instruction, 0, 0) == FieldType::KindSelect;
  const int kind = selectedKind(dialog, instruction);

  if (isDataControl(instruction, kind, control) && held(VK_SHIFT)) {
    if (key == VK_INSERT || key == VK_DELETE) {
      PostMessageW(dialog.window, key == VK_INSERT ? UM_INSERT_CHAR : UM_DELETE_CHAR,
                   static_cast<WPARAM>(control), 0);
      return true;
    }
  }

  Direction direction = Direction::None;
  if (key == VK_LEFT) {
    direction = Direction::Previous;
  } else if (key == VK_RIGHT) {
    direction = Direction::Next;
  } else if (control == 0) {
    const int picked = instructionForKey(key);
    if (picked < 0) return false;
    selectEntry(dialog, 0, picked);
    rebuildForInstruction(dialog, picked);
    direction = Direction::Next;
  } else if (control == 1 && hasKindSelector) {
    const int picked = kindForKey(key);
    if (picked < 0) return false;
    // A digit that names no kind of the instruction is ignored: the layout has no row for it.
    if (picked >= kindCount(instruction)) return true;
    selectEntry(dialog, 1, picked);
    rebuildForKind(dialog, instruction, picked);
    direction = Direction::Next;
  }

  commitEdit(dialog, control, KeyReason);
  if (direction == Direction::None) return false;
  moveFocus(dialog, control, direction);
  return true;
}

LRESULT CALLBACK fieldKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainDialog* dialog = mainDialogOf(window);
  if (dialog == nullptr) return callOwnProcedure(window, message, wParam, lParam);
  switch (message) {
    case WM_KEYUP:
      if (wParam == VK_RETURN || wParam == VK_SEPARATOR) {
        PostMessageW(dialog->window, held(VK_SHIFT) ? UM_PREV_LINE : UM_NEXT_LINE, 0, 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (isShortcutCharacter(wParam)) return 0;
      break;
    case WM_KEYDOWN: {
      if (handleShortcutKey(*dialog, wParam)) return 0;
      const int control = panelControlNumber(*dialog, window);
      if (control >= 0 && onKeyDown(*dialog, control, wParam)) return 0;
      break;
    }
    default:
      break;
  }
  return callOwnProcedure(window, message, wParam, lParam);
}

// Shifts the texts of the data run that begins at control n one field to the right (the last
// text is dropped) and empties control n.
void insertByte(MainDialog& dialog, int instruction, int kind, int control) {
  if (isDataControl(instruction, kind, control + 1)) {
    int last = control + 1;
    while (last + 1 < PanelControlCount && isDataControl(instruction, kind, last + 1)) ++last;
    for (int k = last; k > control; --k) setControlText(dialog, k, controlText(dialog, k - 1));
  }
  setControlText(dialog, control, "");
}

// Shifts the texts after control n one field to the left and empties the last of the run.
void deleteByte(MainDialog& dialog, int instruction, int kind, int control) {
  int k = control;
  while (k + 1 < PanelControlCount && isDataControl(instruction, kind, k + 1)) {
    setControlText(dialog, k, controlText(dialog, k + 1));
    ++k;
  }
  setControlText(dialog, k, "");
}

}  // namespace

void takePanelKeys(HWND window) { replaceProcedure(window, fieldKeyHandler); }

void onCharacterMessage(MainDialog& dialog, UINT message, int control) {
  const int instruction = selectedInstruction(dialog);
  const int kind = selectedKind(dialog, instruction);
  // The message is posted: by now the controls may have been rebuilt for another row.
  if (!isDataControl(instruction, kind, control) || panelControl(dialog, control) == nullptr)
    return;
  if (message == UM_INSERT_CHAR) {
    insertByte(dialog, instruction, kind, control);
  } else if (message == UM_DELETE_CHAR) {
    deleteByte(dialog, instruction, kind, control);
  } else {
    return;
  }
  commitEdit(dialog, control, EN_CHANGE);
  focusControl(dialog, control);
  postShowLine(dialog, KeepControls);
}

}  // namespace vx::ui
