// The editor's shortcut keys, taken in the program list and in every field of the panel: Ctrl+Z
// undoes, Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+S saves to the document's file, Ctrl+O loads; in the
// program list also Ctrl+C and Ctrl+V, which copy and paste lines as text.
// clang-format off
#include <windows.h>  // before the other Windows headers
#include <commctrl.h>
// clang-format on

#include "ui/edit_safety.h"
#include "ui/key_state.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/text_transfer.h"

namespace vx::ui {

namespace {

constexpr UINT_PTR ListSubclassId = 2;

LRESULT CALLBACK listShortcutHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR subclassId, DWORD_PTR refData) {
  auto* dialog = reinterpret_cast<MainDialog*>(refData);
  switch (message) {
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, listShortcutHandler, subclassId);
      break;
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
  return DefSubclassProc(window, message, wParam, lParam);
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
  SetWindowSubclass(programList(dialog), listShortcutHandler, ListSubclassId,
                    reinterpret_cast<DWORD_PTR>(&dialog));
}

}  // namespace vx::ui
