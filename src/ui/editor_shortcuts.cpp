// The editor's shortcut keys, taken in the program list and in every field of the panel: Ctrl+Z
// undoes, Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+S saves to the document's file, Ctrl+O loads; in the
// program list also Ctrl+C and Ctrl+V, which copy and paste lines as text.
#include "ui/control_procedure.h"
#include "ui/edit_safety.h"
#include "ui/key_state.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/text_transfer.h"

namespace vx::ui {

namespace {

LRESULT CALLBACK listShortcutHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainDialog* dialog = mainDialogOf(window);
  if (dialog == nullptr) return callOwnProcedure(window, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
      if (handleShortcutKey(*dialog, wParam) || handleListClipboardKey(*dialog, wParam)) return 0;
      break;
    case WM_CHAR:
      // The list box would search its entries for the control character.
      if (isShortcutCharacter(wParam) || isClipboardCharacter(wParam)) return 0;
      break;
    default:
      break;
  }
  return callOwnProcedure(window, message, wParam, lParam);
}

}  // namespace

bool handleShortcutKey(MainDialog& dialog, WPARAM key) {
  if (!held(VK_CONTROL) || held(VK_MENU)) return false;
  switch (key) {
    case 'Z':
      if (held(VK_SHIFT)) {
        redoEdit(dialog);
      } else {
        undoEdit(dialog);
      }
      return true;
    case 'Y':
      redoEdit(dialog);
      return true;
    case 'S':
      saveToCurrentFile(dialog);
      return true;
    case 'O':
      onLoad(dialog);
      return true;
    default:
      return false;
  }
}

bool isShortcutCharacter(WPARAM character) {
  // Ctrl+Z, Ctrl+Y, Ctrl+S and Ctrl+O as characters.
  return character == 0x1A || character == 0x19 || character == 0x13 || character == 0x0F;
}

void installListShortcuts(MainDialog& dialog) {
  replaceProcedure(programList(dialog), listShortcutHandler);
}

}  // namespace vx::ui
