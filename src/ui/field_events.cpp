// The panel's reactions to its controls' notifications: guidance on focus, the standard form
// again when a field is left, and a commit for every change the user makes.
#include "catalogue/catalogue.h"
#include "catalogue/value_parsing.h"
#include "ui/field_panel.h"
#include "ui/field_panel_parts.h"
#include "ui/key_state.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

constexpr int KeyF = 0x46;
constexpr int Key8 = 0x38;

// The pattern-field shortcuts: Shift+F gives the flag "|>"; Shift with the colon key of a
// Japanese layout, Shift+8 of a US layout or the keypad's "*" give the don't-care "*".
bool applyPatternShortcut(MainDialog& dialog, int control) {
  bool applied = false;
  if (held(VK_SHIFT) && held(KeyF)) {
    setControlText(dialog, control, "|>");
    applied = true;
  }
  if ((held(VK_SHIFT) && held(VK_OEM_1)) || (held(VK_SHIFT) && held(Key8)) || held(VK_MULTIPLY)) {
    setControlText(dialog, control, "*");
    applied = true;
  }
  return applied;
}

// A change of the user's in control n: shortcuts, the move on after a complete byte, the commit.
// After a complete byte the next data field keeps its byte: the focus selects its text, so that
// typing replaces it and a line's later bytes are never lost to a sequence typed over them.
void onFieldChanged(MainDialog& dialog, int control, int code) {
  const int instruction = selectedInstruction(dialog);
  const int kind = selectedKind(dialog, instruction);
  bool advance = false;
  if (controlFieldType(instruction, kind, control) == FieldType::PatternByte)
    advance = applyPatternShortcut(dialog, control);
  const bool nextIsData =
      isDataControl(instruction, kind, control + 1) && panelControl(dialog, control + 1) != nullptr;
  if (isDataControl(instruction, kind, control) && nextIsData) {
    const std::string text = controlText(dialog, control);
    const FieldTypeRow& byte = fieldTypeRow(FieldType::CharByte);
    const ParsedValue parsed =
        parseFieldValue(text, byte.radix, byte.digits, byte.minimum, byte.maximum, TokenMode::None);
    if (parsed.result == ParseResult::Number &&
        text.size() >= static_cast<std::size_t>(byte.digits))
      advance = true;
  }
  commitEdit(dialog, control, code);
  if (advance && nextIsData) SetFocus(panelControl(dialog, control + 1));
}

}  // namespace

bool handlePanelCommand(MainDialog& dialog, int id, int code) {
  const int control = id - IDC_PANEL_FIRST;
  if (control < 0 || control >= PanelControlCount) return false;
  if (dialog.panel.suppressFieldEvents) return true;
  switch (code) {
    case CBN_SETFOCUS:
    case EN_SETFOCUS:
      showGuidance(dialog, control);
      if (HWND window = panelControl(dialog, control); window != nullptr) {
        // Posted, so that the whole text is selected once the focus has arrived.
        if (isListControl(dialog, control)) {
          PostMessageW(window, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        } else {
          PostMessageW(window, EM_SETSEL, 0, -1);
        }
      }
      return true;
    case CBN_KILLFOCUS:
    case EN_KILLFOCUS:
      postShowLine(dialog, KeepControls);
      return true;
    case CBN_SELCHANGE:
      // The chosen word becomes the text of an editable list before the line is encoded.
      if (isListControl(dialog, control) &&
          dialog.panel.controlKinds[static_cast<std::size_t>(control)] ==
              ControlKind::EditableList) {
        HWND window = panelControl(dialog, control);
        const int selection = comboSelection(window);
        const auto length =
            SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection), 0);
        if (selection >= 0 && length >= 0) {
          std::wstring word(static_cast<std::size_t>(length) + 1, L'\0');
          SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(selection),
                       reinterpret_cast<LPARAM>(word.data()));
          word.resize(static_cast<std::size_t>(length));
          setControlText(dialog, control, wideToSjis(word));
        }
      }
      onFieldChanged(dialog, control, code);
      return true;
    case CBN_EDITCHANGE:
    case EN_CHANGE:
      onFieldChanged(dialog, control, code);
      return true;
    default:
      return true;
  }
}

}  // namespace vx::ui
