// The field panel: its controls built from the layout table, a stored line shown in them, and
// the commit that encodes the panel's texts into the current line, stores it and re-lists it.
#include "ui/field_panel.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "catalogue/char_codes.h"
#include "catalogue/line_fields.h"
#include "catalogue/listing.h"
#include "ui/field_panel_parts.h"
#include "ui/layout_scale.h"
#include "ui/listing_drawing.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

constexpr int CellIdBase = 11000;
constexpr int CellIdStep = 4;
constexpr int CellWidth = 22;
constexpr int CellHeight = 20;
constexpr int CellYOffset = 22;
constexpr int CellStep = 23;
constexpr int KindSelectorOffset = 65;
constexpr int FirstFieldOffset = 120;
constexpr int InstructionSelectorWidth = 60;

struct ControlKindStyle {
  ControlKind kind;
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle;
  int height;  // for the list kinds, with the drop-down part
  int yOffset;
  int gap;  // after the control
};

// clang-format off
constexpr std::array<ControlKindStyle, 5> ControlKinds = {{
    {ControlKind::PlainEdit,    L"EDIT",     WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,            WS_EX_CLIENTEDGE, 20,  0, 5},
    {ControlKind::DataEdit,     L"EDIT",     WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,            WS_EX_CLIENTEDGE, 20,  0, 1},
    {ControlKind::Caption,      L"STATIC",   WS_CHILD | WS_VISIBLE,                                          0,                15,  5, 5},
    {ControlKind::EditableList, L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN,     0,            200, 0, 5},
    {ControlKind::DropList,     L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0,            200, 0, 5},
}};
// clang-format on
consteval bool controlKindsInOrder() {
  for (std::size_t i = 0; i < ControlKinds.size(); ++i) {
    if (static_cast<std::size_t>(ControlKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(controlKindsInOrder());

// The design width in pixels of each field type's control, in field-type order (End has none);
// the kind of control is the catalogue's.
struct FieldWidth {
  FieldType type;
  int width;
};
// clang-format off
constexpr std::array<FieldWidth, FieldTypeCount> FieldWidths = {{
    {FieldType::End,                  0},
    {FieldType::KindSelect,          50},
    {FieldType::UnitNumber,          20},
    {FieldType::LevelBit,            20},
    {FieldType::TriggerNumber,       20},
    {FieldType::SmallDigit,          20},
    {FieldType::HexDigit,            20},
    {FieldType::IndexRegister,       20},
    {FieldType::EntryNumber,         22},
    {FieldType::CharByte,            22},
    {FieldType::PatternByte,         22},
    {FieldType::EntryByte,           22},
    {FieldType::LabelNumber,         40},
    {FieldType::WaitTime,            40},
    {FieldType::ClearSelect,         70},
    {FieldType::OutputLineSelect,    40},
    {FieldType::SignalLineSelect,    40},
    {FieldType::CompareSelect,       40},
    {FieldType::RegisterValue,       70},
    {FieldType::TimerValue,          70},
    {FieldType::CounterValue,        70},
    {FieldType::RegCaption,          25},
    {FieldType::PlusRegCaption,      30},
    {FieldType::EqualsCaption,       10},
    {FieldType::LabelCaption,        10},
    {FieldType::TriggerZeroCaption,  40},
}};
// clang-format on
consteval bool fieldWidthsInOrder() {
  for (std::size_t i = 0; i < FieldWidths.size(); ++i) {
    if (static_cast<std::size_t>(FieldWidths[i].type) != i) return false;
  }
  return true;
}
static_assert(fieldWidthsInOrder());

int fieldWidth(FieldType type) { return FieldWidths[static_cast<std::size_t>(type)].width; }
ControlKind fieldKind(FieldType type) { return fieldTypeRow(type).control; }

const ControlKindStyle& styleOf(ControlKind kind) {
  return ControlKinds[static_cast<std::size_t>(kind)];
}

bool validControl(int control) { return control >= 0 && control < PanelControlCount; }

// How far a control moves the running x on: its width and its kind's gap, both scaled.
int controlAdvance(const LayoutScale& scale, ControlKind kind, int designWidth) {
  return scale.x(designWidth) + scale.x(styleOf(kind).gap);
}

// Where character cell i stands when the first data field starts at `firstDataX`: under its
// data field, which the running x placed a data width and a gap on.
RECT cellPlace(const FieldPanel& panel, const LayoutScale& scale, int firstDataX, int i) {
  const int step = scale.x(CellWidth) + scale.x(CellStep - CellWidth);
  const int left = firstDataX + step * i;
  const int top = panel.origin.y + scale.y(CellYOffset);
  return RECT{left, top, left + scale.x(CellWidth), top + scale.y(CellHeight)};
}

// A parked control of the kind, taken out of the pool; nullptr when there is none.
HWND takeParkedControl(FieldPanel& panel, ControlKind kind) {
  auto& parked = panel.parkedControls;
  const auto found = std::find_if(parked.begin(), parked.end(),
                                  [kind](const auto& entry) { return entry.first == kind; });
  if (found == parked.end()) return nullptr;
  HWND window = found->second;
  parked.erase(found);
  return window;
}

// Gives a reused control the text a new one would have: a caption at once, an edit's emptying
// left pending (see flushBlanks). Lists need nothing: their callers fill them, which empties
// them first.
void resetControl(FieldPanel& panel, int control, ControlKind kind, std::string_view text) {
  HWND window = panel.controls[static_cast<std::size_t>(control)];
  if (kind == ControlKind::Caption) {
    const std::wstring wide = sjisToWide(text);
    if (getWideText(window) != wide) setWideText(window, wide);
  } else if (kind == ControlKind::PlainEdit || kind == ControlKind::DataEdit) {
    panel.blankPending[static_cast<std::size_t>(control)] = true;
  }
}

// Empties the reused edits and cells that nothing has written since the rebuild. Setting an
// edit's text also empties its undo and its modified flag, as in a new control.
void flushBlanks(FieldPanel& panel) {
  const auto blank = [](HWND window, bool& pending) {
    if (pending && window != nullptr && GetWindowTextLengthW(window) != 0) setWideText(window, L"");
    pending = false;
  };
  for (std::size_t n = 0; n < panel.controls.size(); ++n) {
    blank(panel.controls[n], panel.blankPending[n]);
  }
  for (std::size_t i = 0; i < panel.characterCells.size(); ++i) {
    blank(panel.characterCells[i], panel.cellBlankPending[i]);
  }
}

// Refills a drop-down list that stays on screen. It is repainted only when the entry it shows
// changes: a SEND line's "CHR" and a WAIT line's "CHR" look the same, and repainting a combo box
// costs more than the rest of a line change. The refill marks the box for repainting even with
// redrawing off, so that mark is taken back, unless the box was waiting for a repaint already.
void refillShownList(HWND combo, std::span<const char* const> names, int selection) {
  const std::wstring shown = getWideText(combo);
  const bool paintPending = GetUpdateRect(combo, nullptr, FALSE) != FALSE;
  SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
  fillChoiceList(combo, names, selection);
  SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
  if (getWideText(combo) != shown) {
    InvalidateRect(combo, nullptr, TRUE);
  } else if (!paintPending) {
    ValidateRect(combo, nullptr);
  }
}

// Puts panel control n at the running x, which then moves on by the width and the kind's gap:
// the control that stood there when it fits, else a parked one of the kind, else a new one.
// Widths, heights and offsets are the 96-DPI design's, scaled to the dialog's font and DPI.
void createPanelControl(MainDialog& dialog, int control, ControlKind kind, std::string_view text,
                        int& x, int designWidth) {
  FieldPanel& panel = dialog.panel;
  const ControlKindStyle& look = styleOf(kind);
  const LayoutScale scale = layoutScale(dialog.window);
  const int width = scale.x(designWidth);
  const int height = scale.y(look.height);
  const int gap = controlAdvance(scale, kind, designWidth) - width;
  const int id = IDC_PANEL_FIRST + control;
  const auto index = static_cast<std::size_t>(control);
  const int y = panel.origin.y + scale.y(look.yOffset);
  panel.controlKinds[index] = kind;
  panel.placed[index] = {nullptr, kind, x, width};
  FieldPanel::PlacedControl& before = panel.replaced[index];
  if (before.window != nullptr && before.kind == kind && before.x == x && before.width == width) {
    panel.controls[index] = std::exchange(before.window, nullptr);
    panel.placed[index].window = panel.controls[index];
    resetControl(panel, control, kind, text);
    if (panel.appending) {
      SetWindowPos(panel.controls[index], HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    x += width + gap;
    return;
  }
  panel.appending = true;
  if (HWND parked = takeParkedControl(panel, kind); parked != nullptr) {
    panel.controls[index] = parked;
    panel.placed[index].window = parked;
    SetWindowLongPtrW(parked, GWLP_ID, id);
    resetControl(panel, control, kind, text);
    // At the end of the sibling order, as a new window would be.
    SetWindowPos(parked, HWND_BOTTOM, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    x += width + gap;
    return;
  }
  HWND window = CreateWindowExW(look.extendedStyle, look.className, sjisToWide(text).c_str(),
                                look.style, x, y, width, height, dialog.window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
  panel.controls[index] = window;
  panel.placed[index].window = window;
  if (window != nullptr) {
    SendMessageW(window, WM_SETFONT,
                 static_cast<WPARAM>(SendMessageW(dialog.window, WM_GETFONT, 0, 0)), FALSE);
    takePanelKeys(window);
    if (kind == ControlKind::EditableList) {
      // The keys of an editable list reach its edit part, not the combo box itself.
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      if (GetComboBoxInfo(window, &info) && info.hwndItem != nullptr && info.hwndItem != window)
        takePanelKeys(info.hwndItem);
    }
  }
  x += width + gap;
}

void createCharacterCells(MainDialog& dialog, int firstDataX) {
  FieldPanel& panel = dialog.panel;
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog.window, WM_GETFONT, 0, 0));
  const bool inPlace = panel.cellsX == firstDataX &&
                       std::all_of(panel.replacedCells.begin(), panel.replacedCells.end(),
                                   [](HWND cell) { return cell != nullptr; });
  panel.cellsX = firstDataX;
  const LayoutScale scale = layoutScale(dialog.window);
  for (int i = 0; i < CharacterCellCount; ++i) {
    const int id = CellIdBase + CellIdStep * i;
    const auto index = static_cast<std::size_t>(i);
    const RECT place = cellPlace(panel, scale, firstDataX, i);
    if (inPlace) {
      HWND cell = std::exchange(panel.replacedCells[index], nullptr);
      panel.characterCells[index] = cell;
      panel.cellBlankPending[index] = true;
      if (panel.appending) {
        SetWindowPos(cell, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      continue;
    }
    if (!panel.parkedCells.empty()) {
      HWND cell = panel.parkedCells.back();
      panel.parkedCells.pop_back();
      panel.characterCells[index] = cell;
      SetWindowLongPtrW(cell, GWLP_ID, id);
      setWideText(cell, L"");
      SetWindowPos(cell, HWND_BOTTOM, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
      continue;
    }
    HWND cell = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED, place.left, place.top,
        place.right - place.left, place.bottom - place.top, dialog.window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    panel.characterCells[static_cast<std::size_t>(i)] = cell;
    if (cell != nullptr) {
      SendMessageW(cell, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      // Disabled, a cell takes no keys; only its painting is the editor's own.
      drawCellReadably(cell);
    }
  }
  if (HWND last = panel.characterCells[CharacterCellCount - 1]; last != nullptr) {
    RECT place{};
    GetWindowRect(last, &place);
    MapWindowPoints(nullptr, dialog.window, reinterpret_cast<POINT*>(&place), 2);
    keepDirectInputClearOf(dialog.window, place);
  }
}

void showDataItems(const MainDialog& dialog, bool show) {
  for (int id : {IDC_CHAR_CELLS_LABEL, IDC_DIRECT_INPUT}) {
    HWND item = GetDlgItem(dialog.window, id);
    if ((IsWindowVisible(item) != FALSE) != show) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
  }
}

// Hidden and without an id, so that neither the dialog nor the tab order finds it.
void parkWindow(HWND window) {
  SendMessageW(window, CB_SHOWDROPDOWN, FALSE, 0);  // a list kind's open drop-down closes
  ShowWindow(window, SW_HIDE);
  SetWindowLongPtrW(window, GWLP_ID, 0);
}

// Takes the controls (from the kind selector on, or from control 2 on) and the cells off the
// panel, to be reused or parked by the rebuild that follows; finishRebuild parks what is left.
void destroyPanelControls(MainDialog& dialog, bool withKindSelector) {
  FieldPanel& panel = dialog.panel;
  // A focused control that goes notifies its loss of focus; that is no change of the user's.
  SuppressFieldEvents suppress(panel);
  HWND focus = GetFocus();
  bool focusGoes = false;
  for (int n = withKindSelector ? 1 : 2; n < PanelControlCount; ++n) {
    const auto index = static_cast<std::size_t>(n);
    HWND& control = panel.controls[index];
    if (control != nullptr) {
      focusGoes =
          focusGoes || focus == control || (focus != nullptr && GetParent(focus) == control);
      panel.replaced[index] = panel.placed[index];
      panel.replaced[index].window = control;
    }
    control = nullptr;
  }
  for (std::size_t i = 0; i < panel.characterCells.size(); ++i) {
    if (panel.characterCells[i] != nullptr) {
      focusGoes = focusGoes || focus == panel.characterCells[i];
      panel.replacedCells[i] = panel.characterCells[i];
    }
    panel.characterCells[i] = nullptr;
  }
  // A control that goes takes the focus with it to the dialog, even when it is reused.
  if (focusGoes) SetFocus(dialog.window);
}

void finishRebuild(FieldPanel& panel) {
  for (FieldPanel::PlacedControl& left : panel.replaced) {
    if (left.window != nullptr) {
      parkWindow(left.window);
      panel.parkedControls.emplace_back(left.kind, left.window);
    }
    left = {};
  }
  for (HWND& cell : panel.replacedCells) {
    if (cell != nullptr) {
      parkWindow(cell);
      panel.parkedCells.push_back(cell);
    }
    cell = nullptr;
  }
  panel.appending = false;
  if (!panel.deferBlanks) flushBlanks(panel);
}

std::string formatted(const char* format, unsigned value) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), format, value);
  return text.data();
}

// The panel as the encoder's feedback: corrected texts go back into the controls.
class PanelFeedback final : public FieldFeedback {
 public:
  explicit PanelFeedback(MainDialog& dialog) : dialog_(dialog) {}
  void showPositionText(int position, std::string_view text) override {
    setControlText(dialog_, position + 1, text);
  }
  void clearCharacterCell(int dataIndex) override { setCellText(dialog_, dataIndex, ""); }

 private:
  MainDialog& dialog_;
};

// The data run of a line from control m on: the bytes in hexadecimal and their display strings in
// the cells; a pattern byte marked in the mask shows its token ("*" or "|>") in both.
void showDataRun(MainDialog& dialog, const LineFields& fields, FieldType type, int first) {
  const bool pattern = type == FieldType::PatternByte;
  const std::uint8_t mask = pattern ? fields.paramA : 0;
  const auto strings =
      displayStrings(true, currentCharCode(dialog.window), fields.data, pattern, mask);
  const int count = std::min<int>(fields.count, DataByteCount);
  for (int j = 0; j < count && first + j < PanelControlCount; ++j) {
    const auto i = static_cast<std::size_t>(j);
    const std::string_view shown = strings[i];
    if (pattern && (mask & (1u << j)) != 0) {
      setControlText(dialog, first + j, shown);
    } else {
      setControlText(dialog, first + j, hexByteText(fields.data[i]));
    }
    setCellText(dialog, j, shown);
  }
}

// The fields of a SEND, WAIT, IF or SET line from control 2 on.
void showKindFields(MainDialog& dialog, const LineFields& fields) {
  const int instruction = fields.instruction;
  const int kind = fields.kind;
  int n = 2;
  while (n < PanelControlCount) {
    const FieldType type = controlFieldType(instruction, kind, n);
    switch (type) {
      case FieldType::End:
        return;
      case FieldType::UnitNumber:
      case FieldType::TriggerNumber:
      case FieldType::HexDigit: {
        const unsigned value = parameterAt(fields, fieldLineByte(instruction, kind, n - 1));
        setControlText(dialog, n, formatted("%X", value));
        break;
      }
      case FieldType::LevelBit:
        setControlText(dialog, n, formatted("%u", fields.paramB));
        break;
      case FieldType::SmallDigit:
        setControlText(dialog, n, formatted("%u", fields.paramC));
        break;
      case FieldType::IndexRegister:
        setControlText(dialog, n, fields.paramB == 255 ? "*" : formatted("%X", fields.paramB));
        break;
      case FieldType::EntryNumber:
        setControlText(dialog, n, formatted("%u", fields.paramA));
        break;
      case FieldType::CharByte:
      case FieldType::PatternByte:
      case FieldType::EntryByte:
        showDataRun(dialog, fields, type, n);
        n += DataByteCount;
        continue;
      case FieldType::LabelNumber:
        setControlText(dialog, n, formatted("%03u", fields.label));
        break;
      case FieldType::WaitTime:
        setControlText(dialog, n, formatted("%04u", fields.value));
        break;
      case FieldType::ClearSelect:
      case FieldType::OutputLineSelect:
      case FieldType::SignalLineSelect:
        selectEntry(dialog, n, fields.paramA);
        break;
      case FieldType::CompareSelect:
        selectEntry(dialog, n, fields.paramB);
        break;
      case FieldType::RegisterValue:
      case FieldType::TimerValue:
      case FieldType::CounterValue:
        if (fields.paramB == 0) {
          setControlText(dialog, n, formatted("%06u", fields.value));
        } else {
          selectEntry(dialog, n, fields.paramB - 1);
        }
        break;
      default:  // the kind selector and captions
        break;
    }
    ++n;
  }
}

}  // namespace

// ---- shared helpers

HWND panelControl(const MainDialog& dialog, int control) {
  if (!validControl(control)) return nullptr;
  return dialog.panel.controls[static_cast<std::size_t>(control)];
}

int panelControlNumber(const MainDialog& dialog, HWND window) {
  if (window == nullptr) return -1;
  for (int n = 0; n < PanelControlCount; ++n) {
    HWND control = dialog.panel.controls[static_cast<std::size_t>(n)];
    if (control == nullptr) continue;
    if (control == window || (GetParent(window) == control)) return n;
  }
  return -1;
}

bool isListControl(const MainDialog& dialog, int control) {
  if (panelControl(dialog, control) == nullptr) return false;
  const ControlKind kind = dialog.panel.controlKinds[static_cast<std::size_t>(control)];
  return kind == ControlKind::EditableList || kind == ControlKind::DropList;
}

int selectedInstruction(const MainDialog& dialog) {
  HWND selector = panelControl(dialog, 0);
  return selector == nullptr ? -1 : comboSelection(selector);
}

int selectedKind(const MainDialog& dialog, int instruction) {
  if (fieldTypeAt(instruction, 0, 0) != FieldType::KindSelect) return 0;
  if (!isListControl(dialog, 1)) return 0;
  const int selection = comboSelection(panelControl(dialog, 1));
  return selection < 0 ? 0 : selection;
}

FieldType controlFieldType(int instruction, int kind, int control) {
  return control < 1 ? FieldType::End : fieldTypeAt(instruction, kind, control - 1);
}

bool isDataControl(int instruction, int kind, int control) {
  return control >= 1 && isDataPosition(instruction, kind, control - 1);
}

bool isCaptionType(FieldType type) {
  return type >= FieldType::RegCaption && type <= FieldType::TriggerZeroCaption;
}

void selectEntry(MainDialog& dialog, int control, int index) {
  if (!isListControl(dialog, control)) return;
  HWND list = panelControl(dialog, control);
  if (comboSelection(list) == index) return;  // nothing to change, nothing to paint
  SuppressFieldEvents suppress(dialog.panel);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void setCellText(MainDialog& dialog, int cell, std::string_view sjis) {
  if (cell < 0 || cell >= CharacterCellCount) return;
  HWND window = dialog.panel.characterCells[static_cast<std::size_t>(cell)];
  if (window == nullptr) return;
  SuppressFieldEvents suppress(dialog.panel);
  setText(window, sjis);
  dialog.panel.cellBlankPending[static_cast<std::size_t>(cell)] = false;
}

std::string controlText(const MainDialog& dialog, int control) {
  HWND window = panelControl(dialog, control);
  if (window == nullptr) return {};
  std::string text = getText(window);
  if (text.size() > 255) text.resize(255);
  return text;
}

// ---- entry points

void resetPanel(FieldPanel& panel) {
  panel.controls.fill(nullptr);
  panel.characterCells.fill(nullptr);
  panel.parkedControls.clear();
  panel.parkedCells.clear();
  panel.kindListInstruction = -1;
  panel.suppressFieldEvents = false;
}

void buildPanel(MainDialog& dialog) {
  FieldPanel& panel = dialog.panel;
  SuppressFieldEvents suppress(panel);
  int x = panel.origin.x;
  createPanelControl(dialog, 0, ControlKind::DropList, "", x, InstructionSelectorWidth);
  fillChoiceList(panel.controls[0], InstructionSelectorList, 0);
  panel.kindSelectorX = panel.origin.x + layoutScale(dialog.window).x(KindSelectorOffset);
  rebuildForInstruction(dialog, 0);
}

void rebuildForInstruction(MainDialog& dialog, int instruction, int kind) {
  FieldPanel& panel = dialog.panel;
  SuppressFieldEvents suppress(panel);
  int x = panel.kindSelectorX;
  destroyPanelControls(dialog, true);
  const FieldType first = fieldTypeAt(instruction, 0, 0);
  if (first == FieldType::End) {
    showDataItems(dialog, false);
    finishRebuild(panel);
    return;
  }
  if (first == FieldType::KindSelect) {
    const HWND previous = panel.replaced[1].window;
    createPanelControl(dialog, 1, ControlKind::DropList, "", x, fieldWidth(FieldType::KindSelect));
    // A kind selector that stayed in place and lists this instruction's kinds keeps its list.
    if (panel.controls[1] != previous || panel.kindListInstruction != instruction) {
      refillShownList(panel.controls[1], kindNameList(instruction), kind);
      panel.kindListInstruction = instruction;
    } else {
      SendMessageW(panel.controls[1], CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
    }
    panel.firstFieldX = panel.origin.x + layoutScale(dialog.window).x(FirstFieldOffset);
  } else {
    panel.firstFieldX = x;
  }
  rebuildForKind(dialog, instruction, kind);
}

void rebuildForKind(MainDialog& dialog, int instruction, int kind) {
  FieldPanel& panel = dialog.panel;
  SuppressFieldEvents suppress(panel);
  int x = panel.firstFieldX;
  destroyPanelControls(dialog, false);
  const bool kindSelector = fieldTypeAt(instruction, 0, 0) == FieldType::KindSelect;
  int firstDataX = -1;
  for (int n = kindSelector ? 2 : 1; n < PanelControlCount; ++n) {
    const FieldType type = controlFieldType(instruction, kind, n);
    if (type == FieldType::End) break;
    const ControlKind control = fieldKind(type);
    if (firstDataX < 0 && control == ControlKind::DataEdit) firstDataX = x;
    const char* caption = captionText(type);
    createPanelControl(dialog, n, control, caption == nullptr ? "" : caption, x, fieldWidth(type));
    limitFieldText(panel.controls[static_cast<std::size_t>(n)], type);
    if (control == ControlKind::DropList) {
      refillShownList(panel.controls[static_cast<std::size_t>(n)], optionList(type), 0);
    } else if (control == ControlKind::EditableList) {
      fillChoiceList(panel.controls[static_cast<std::size_t>(n)], optionList(type), -1);
    }
  }
  if (firstDataX >= 0) createCharacterCells(dialog, firstDataX);
  showDataItems(dialog, firstDataX >= 0);
  finishRebuild(panel);
}

std::optional<RECT> lastCellPlace(const MainDialog& dialog, int instruction, int kind) {
  const FieldPanel& panel = dialog.panel;
  const LayoutScale scale = layoutScale(dialog.window);
  // The running x of rebuildForInstruction and rebuildForKind, without building anything.
  const bool kindSelector = fieldTypeAt(instruction, 0, 0) == FieldType::KindSelect;
  int x = kindSelector ? panel.origin.x + scale.x(FirstFieldOffset) : panel.kindSelectorX;
  for (int n = kindSelector ? 2 : 1; n < PanelControlCount; ++n) {
    const FieldType type = controlFieldType(instruction, kind, n);
    if (type == FieldType::End) break;
    if (fieldKind(type) == ControlKind::DataEdit) {
      return cellPlace(panel, scale, x, CharacterCellCount - 1);
    }
    x += controlAdvance(scale, fieldKind(type), fieldWidth(type));
  }
  return std::nullopt;
}

void showLine(MainDialog& dialog, const ProgramLine* line, bool keepControls) {
  SuppressFieldEvents suppress(dialog.panel);
  if (line == nullptr) {
    // No current line (a program without lines): an empty NOP panel.
    if (!keepControls) {
      selectEntry(dialog, 0, 0);
      rebuildForInstruction(dialog, 0);
    }
    return;
  }
  const LineFields fields = decodeLine(*line);
  const int instruction = fields.instruction;
  // The kind's fields are built at once: the kind a SEND, WAIT, IF or SET line names.
  const bool hasKinds = fieldTypeAt(instruction, 0, 0) == FieldType::KindSelect;
  if (!keepControls) {
    // An instruction the selector does not list leaves it without a selection.
    selectEntry(dialog, 0, instruction < InstructionCount ? instruction : -1);
    dialog.panel.deferBlanks = true;
    rebuildForInstruction(dialog, instruction, hasKinds ? fields.kind : 0);
  }
  // Whatever the line does not write is emptied afterwards, each control once.
  struct FlushWhenShown {
    FieldPanel& panel;
    ~FlushWhenShown() {
      panel.deferBlanks = false;
      flushBlanks(panel);
    }
  } flush{dialog.panel};
  switch (static_cast<Instruction>(instruction)) {
    case Instruction::Goto:
    case Instruction::Call:
      setControlText(dialog, 2, formatted("%03u", fields.label));
      break;
    case Instruction::Int:
      setControlText(dialog, 3, formatted("%03u", fields.label));
      break;
    case Instruction::Reti:
      setControlText(dialog, 2, fields.label == AnyLabel ? "*" : formatted("%03u", fields.label));
      break;
    case Instruction::Lbl:
      setControlText(dialog, 1, formatted("%03u", fields.label));
      break;
    case Instruction::Send:
    case Instruction::Wait:
    case Instruction::If:
    case Instruction::Set:
      // The rebuild has selected the kind; a kind the selector does not list leaves it without.
      if (!keepControls && fields.kind >= kindCount(instruction)) selectEntry(dialog, 1, -1);
      showKindFields(dialog, fields);
      break;
    default:  // NOP, RET, DISI, STOP and codes the editor never writes
      break;
  }
}

void setControlText(MainDialog& dialog, int control, std::string_view text) {
  HWND window = panelControl(dialog, control);
  if (window == nullptr) return;
  SuppressFieldEvents suppress(dialog.panel);
  setText(window, text);
  dialog.panel.blankPending[static_cast<std::size_t>(control)] = false;
}

void commitEdit(MainDialog& dialog, int control, int reason) {
  const int instruction = selectedInstruction(dialog);
  int kind = selectedKind(dialog, instruction);
  if (reason == CBN_SELCHANGE && control == 0) {
    rebuildForInstruction(dialog, instruction);
    kind = 0;
  } else if (reason == CBN_SELCHANGE && control == 1) {
    rebuildForKind(dialog, instruction, kind);
  }

  std::array<PositionEntry, PositionCount> positions;
  for (int p = 0; p < PositionCount; ++p) {
    PositionEntry& entry = positions[static_cast<std::size_t>(p)];
    entry.text = controlText(dialog, p + 1);
    entry.selection =
        isListControl(dialog, p + 1) ? comboSelection(panelControl(dialog, p + 1)) : -1;
  }
  PanelFeedback feedback(dialog);
  const std::optional<ProgramLine> encoded = encodeLine(instruction, positions, &feedback);
  if (!encoded) return;

  const int program = comboSelection(GetDlgItem(dialog.window, IDC_PROGRAM_SELECT));
  HWND list = programList(dialog);
  const int line = listSelection(list);
  ProgramArea& area = dialog.document->programArea;
  if (lineAt(area, program, line) == nullptr) return;  // no current line: nothing to store
  const ProgramLine before = *lineAt(area, program, line);
  storeLine(area, program, line, *encoded);
  noteLineStored(dialog, program, line, before, *encoded, control != IDC_DIRECT_INPUT);

  ListingText buffer{};
  const std::wstring listing = sjisToWide(listingText(*encoded, currentCharCode(dialog.window),
                                                      characterDisplayOn(dialog.window), buffer));
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(line), 0);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(line),
               reinterpret_cast<LPARAM>(listing.c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

void focusInstructionSelector(MainDialog& dialog) {
  if (HWND selector = panelControl(dialog, 0); selector != nullptr) SetFocus(selector);
}

}  // namespace vx::ui
