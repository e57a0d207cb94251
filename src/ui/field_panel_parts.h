// The pieces of the field panel shared between its files (building and showing, reacting to
// notifications, keys, guidance). Not used outside the panel.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "ui/field_panel.h"

namespace vx::ui {

// Sets suppressFieldEvents for its lifetime and restores the previous value afterwards, so that
// nested writes keep the flag until the outermost one ends.
class SuppressFieldEvents {
 public:
  explicit SuppressFieldEvents(FieldPanel& panel)
      : panel_(panel), previous_(panel.suppressFieldEvents) {
    panel_.suppressFieldEvents = true;
  }
  ~SuppressFieldEvents() { panel_.suppressFieldEvents = previous_; }
  SuppressFieldEvents(const SuppressFieldEvents&) = delete;
  SuppressFieldEvents& operator=(const SuppressFieldEvents&) = delete;

 private:
  FieldPanel& panel_;
  bool previous_;
};

// Recreates the kind selector, the fields and the cells for `instruction` and `kind`.
void rebuildForInstruction(MainDialog& dialog, int instruction, int kind = 0);
// Where the last character cell of the row of `instruction` and `kind` stands in the dialog's
// client area, as a rebuild would place it; nothing for a row without data fields.
std::optional<RECT> lastCellPlace(const MainDialog& dialog, int instruction, int kind);
// Recreates the fields and the cells (not the kind selector) for `instruction` and `kind`.
void rebuildForKind(MainDialog& dialog, int instruction, int kind);

// Panel control n, or nullptr when it does not exist (or n is outside 0..11).
HWND panelControl(const MainDialog& dialog, int control);
// The number of the panel control `window` (or of the combo box whose edit part it is); -1 for
// a character cell or any other window.
int panelControlNumber(const MainDialog& dialog, HWND window);
bool isListControl(const MainDialog& dialog, int control);

// The instruction selector's selection (-1 when none), and the kind selector's selection when
// the instruction has one (0 otherwise, and when nothing is selected).
int selectedInstruction(const MainDialog& dialog);
int selectedKind(const MainDialog& dialog, int instruction);

// The field type of panel control n (n >= 1) in row [instruction][kind]; End outside the row.
FieldType controlFieldType(int instruction, int kind, int control);
// Whether panel control n shows a data byte of row [instruction][kind].
bool isDataControl(int instruction, int kind, int control);
bool isCaptionType(FieldType type);

// Selects entry `index` of list control n (nothing for a missing control or one that is no list).
void selectEntry(MainDialog& dialog, int control, int index);
// Writes into character cell i (nothing when it does not exist), with field events suppressed.
void setCellText(MainDialog& dialog, int cell, std::string_view sjis);
// The text of control n as Shift-JIS, at most 255 bytes; empty for a missing control.
std::string controlText(const MainDialog& dialog, int control);

// Gives a panel control the field panel's keys.
void takePanelKeys(HWND control);

}  // namespace vx::ui
