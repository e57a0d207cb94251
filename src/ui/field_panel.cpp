// Entry points of the field panel. The panel's controls are created by buildPanel and showLine;
// until they exist the panel stays empty and its entry points do nothing.
#include "ui/field_panel.h"

#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

void resetPanel(FieldPanel& panel) {
  panel.controls.fill(nullptr);
  panel.characterCells.fill(nullptr);
  panel.suppressFieldEvents = false;
}

void buildPanel(MainDialog& /*dialog*/) {}

void showLine(MainDialog& /*dialog*/, const ProgramLine* /*line*/, bool /*keepControls*/) {}

bool handlePanelCommand(MainDialog& /*dialog*/, int /*id*/, int /*code*/) { return false; }

void onCharacterMessage(MainDialog& /*dialog*/, UINT /*message*/, int /*control*/) {}

void setControlText(MainDialog& /*dialog*/, int /*control*/, std::string_view /*text*/) {}

void commitEdit(MainDialog& /*dialog*/, int /*control*/, int /*reason*/) {}

void focusInstructionSelector(MainDialog& dialog) {
  if (HWND selector = dialog.panel.controls[0]; selector != nullptr) SetFocus(selector);
}

void showGuidance(MainDialog& dialog, int control) {
  // Control 0, the instruction selector, lists the keys that pick each instruction.
  if (control == 0) {
    showStatus(dialog.window, IDS_INSTRUCTION_KEYS);
  } else {
    showStatus(dialog.window, 0);
  }
}

}  // namespace vx::ui
