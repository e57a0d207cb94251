// Scaling the panel's design geometry, limiting field texts and fitting static texts.
#include "ui/layout_scale.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "ui/field_panel_parts.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

std::wstring classOf(HWND window) {
  std::array<wchar_t, 32> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

// The size `text` takes in the control's font; wrapped at `width` when it has several lines.
SIZE textSize(HWND control, const std::wstring& text, int width, bool multiline) {
  HDC dc = GetDC(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(dc, font);
  RECT rect{0, 0, multiline ? width : 0, 0};
  DrawTextW(dc, text.c_str(), -1, &rect,
            DT_CALCRECT | DT_NOCLIP | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

LayoutScale layoutScale(HWND dialog) {
  RECT units{0, 0, 4, 8};
  if (dialog == nullptr || !MapDialogRect(dialog, &units) || units.right <= 0 || units.bottom <= 0)
    return {};
  return LayoutScale{units.right, units.bottom};
}

// Digits as the encoder reads them; a value field's words ("INC", "RSTART") are no longer.
int fieldTextLimit(FieldType type) { return fieldTypeRow(type).digits; }

void limitFieldText(HWND control, FieldType type) {
  const int limit = fieldTextLimit(type);
  if (control == nullptr || limit == 0) return;
  const auto characters = static_cast<WPARAM>(limit);
  if (classOf(control) == L"ComboBox") {
    SendMessageW(control, CB_LIMITTEXT, characters, 0);
  } else {
    SendMessageW(control, EM_LIMITTEXT, characters, 0);
  }
}

namespace {

RECT clientRectOf(HWND dialog, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The template's 5-dialog-unit gap between the button and the frame's right edge.
constexpr int ButtonGapUnits = 5;

}  // namespace

void keepDirectInputClearOf(HWND dialog, const RECT& lastCell) {
  HWND button = GetDlgItem(dialog, IDC_DIRECT_INPUT);
  HWND frame = GetDlgItem(dialog, IDC_EDIT_FRAME);
  if (button == nullptr || frame == nullptr) return;
  RECT gapUnits{0, 0, ButtonGapUnits, 0};
  MapDialogRect(dialog, &gapUnits);
  const int gap = gapUnits.right;
  const RECT place = clientRectOf(dialog, button);
  if (place.left >= lastCell.right + gap / 2 || place.bottom <= lastCell.top ||
      place.top >= lastCell.bottom)
    return;
  const int left = lastCell.right + gap;
  SetWindowPos(button, nullptr, left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT box = clientRectOf(dialog, frame);
  const int grow = left + (place.right - place.left) + gap - box.right;
  if (grow <= 0) return;
  SetWindowPos(frame, nullptr, 0, 0, box.right - box.left + grow, box.bottom - box.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The dialog grows by as much, about its centre, so that it stays where it was centred.
  RECT window{};
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, window.left - grow / 2, window.top,
               window.right - window.left + grow, window.bottom - window.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void reserveRoomForDataRows(MainDialog& dialog) {
  RECT widest{};
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      const std::optional<RECT> last = lastCellPlace(dialog, instruction, kind);
      if (last && last->right > widest.right) widest = *last;
    }
  }
  if (widest.right > widest.left) keepDirectInputClearOf(dialog.window, widest);
}

void fitStaticTexts(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (classOf(child) != L"Static") continue;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    if ((style & SS_TYPEMASK) != SS_LEFT) continue;
    const std::wstring text = getWideText(child);
    if (text.empty()) continue;
    RECT client{};
    GetClientRect(child, &client);
    const bool multiline = text.find(L'\n') != std::wstring::npos;
    const SIZE needed = textSize(child, text, client.right, multiline);
    const int width = std::max<int>(client.right, needed.cx);
    const int height = std::max<int>(client.bottom, needed.cy);
    if (width == client.right && height == client.bottom) continue;
    RECT frame{};
    GetWindowRect(child, &frame);
    SetWindowPos(child, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace vx::ui
