// The field panel inside the "program editing" frame of the main dialog: one control per layout
// position of the current line, and the character cells of its data bytes. This file holds the
// entry points the main dialog calls; the panel itself is built here.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "store/program_area.h"

namespace vx::ui {

struct MainDialog;

inline constexpr int PanelControlCount = 1 + PositionCount;
inline constexpr int CharacterCellCount = 8;

// The five kinds of panel control.
enum class ControlKind : std::uint8_t { PlainEdit, DataEdit, Caption, EditableList, DropList };

struct FieldPanel {
  // Top-left corner of the first control, in the dialog's client coordinates.
  POINT origin{};
  // Where control 1 starts, and where the first field after a kind selector starts (pixels).
  int kindSelectorX = 0;
  int firstFieldX = 0;
  // Panel control n (id 10000 + n); nullptr while not created.
  std::array<HWND, PanelControlCount> controls{};
  // The kind of each created control.
  std::array<ControlKind, PanelControlCount> controlKinds{};
  // The character cells under the data fields; nullptr while not created.
  std::array<HWND, CharacterCellCount> characterCells{};
  // Creating windows is what makes a line change slow, so controls are kept. While the panel is
  // rebuilt, the controls it showed wait in `replaced`: one that the new row wants with the same
  // kind at the same place is reused where it stands; the others are parked (hidden, without an
  // id) and taken back by the next control of the same kind.
  struct PlacedControl {
    HWND window = nullptr;
    ControlKind kind = ControlKind::PlainEdit;
    int x = 0;
    int width = 0;
  };
  std::array<PlacedControl, PanelControlCount> placed{};
  std::array<PlacedControl, PanelControlCount> replaced{};
  std::array<HWND, CharacterCellCount> replacedCells{};
  int cellsX = -1;
  // Set once a rebuild has put a control at the end of the sibling order: every later control
  // goes there too, so that the tab order stays the order of the controls.
  bool appending = false;
  std::vector<std::pair<ControlKind, HWND>> parkedControls;
  std::vector<HWND> parkedCells;
  // Reused edits and cells whose old text still has to go. Showing a line writes most of them
  // anyway, so it empties only the rest, once it has written the line (`deferBlanks`).
  std::array<bool, PanelControlCount> blankPending{};
  std::array<bool, CharacterCellCount> cellBlankPending{};
  bool deferBlanks = false;
  // The instruction whose kinds the kind selector (control 1) lists.
  int kindListInstruction = -1;
  // Set while the editor itself writes into the panel, so that the controls' notifications
  // do not start commits.
  bool suppressFieldEvents = false;
};

// Marks every control and cell as not created.
void resetPanel(FieldPanel& panel);

// Creates the panel's controls for the first time.
void buildPanel(MainDialog& dialog);

// Shows `line` (nullptr: no line, an empty panel); rebuilds the controls unless keepControls.
void showLine(MainDialog& dialog, const ProgramLine* line, bool keepControls);

// Notifications of the panel controls (ids 10000 to 10011). True when handled.
bool handlePanelCommand(MainDialog& dialog, int id, int code);

// UM_INSERT_CHAR and UM_DELETE_CHAR for the data field of panel control `control`.
void onCharacterMessage(MainDialog& dialog, UINT message, int control);

// Gives the instruction selector (panel control 0) the focus, when it exists.
void focusInstructionSelector(MainDialog& dialog);

// Writes the Shift-JIS text into panel control n (with field events suppressed); nothing when the
// control does not exist.
void setControlText(MainDialog& dialog, int control, std::string_view text);

// Encodes the panel into the current line, stores it and replaces its list entry. `reason` is the
// notification code that caused the commit; only CBN_SELCHANGE on controls 0 and 1 rebuilds.
void commitEdit(MainDialog& dialog, int control, int reason);

// The guidance text for panel control n in the status area.
void showGuidance(MainDialog& dialog, int control);

}  // namespace vx::ui
