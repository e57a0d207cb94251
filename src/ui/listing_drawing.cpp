// Owner-drawn program lists (line-number margin, fixed-pitch text) and readable character cells.
#include "ui/listing_drawing.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <map>

#include "ui/control_procedure.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

// Room left and right of the line number, and between the margin and the text (pixels at the
// font's own average width: a quarter of it).
constexpr int MarginPaddingQuarters = 3;

int fontHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

HFONT dialogFont(HWND dialog) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE textExtent(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The cell's face and text as a read-only edit shows them, in the normal text colour.
void paintCell(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const std::wstring text = getWideText(window);
  const auto margins = static_cast<DWORD>(SendMessageW(window, EM_GETMARGINS, 0, 0));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // One line, vertically centred, after the edit's left margin.
  const int y = (client.bottom - client.top - static_cast<int>(metrics.tmHeight)) / 2;
  ExtTextOutW(dc, client.left + LOWORD(margins), y, ETO_CLIPPED, &client, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  SelectObject(dc, previous);
}

LRESULT CALLBACK readableCellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      paintCell(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      paintCell(window, reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      break;
  }
  return callOwnProcedure(window, message, wParam, lParam);
}

// What every row of a list needs of its font, measured once per font rather than per row: a
// quarter of a digit's width, the width of four digits and the height of a line of text.
struct RowMetrics {
  int quarter = 1;
  int numberWidth = 0;
  int textHeight = 0;
};

const RowMetrics& rowMetrics(HDC dc, HFONT font) {
  static std::map<HFONT, RowMetrics> measured;
  const auto found = measured.find(font);
  if (found != measured.end()) return found->second;
  TEXTMETRICW text{};
  GetTextMetricsW(dc, &text);
  RowMetrics metrics;
  metrics.quarter = std::max(1, static_cast<int>(textExtent(dc, L"0").cx) / 4);
  metrics.numberWidth = static_cast<int>(textExtent(dc, L"0000").cx);
  metrics.textHeight = static_cast<int>(text.tmHeight);
  return measured.emplace(font, metrics).first->second;
}

}  // namespace

HFONT listingFont(HWND dialog) {
  static std::map<LONG, HFONT> fonts;
  LOGFONTW shape{};
  GetObjectW(dialogFont(dialog), sizeof(shape), &shape);
  const LONG height = shape.lfHeight;
  HFONT& font = fonts[height];
  if (font == nullptr) {
    LOGFONTW fixed{};
    fixed.lfHeight = height;
    fixed.lfWeight = FW_NORMAL;
    fixed.lfCharSet = SHIFTJIS_CHARSET;
    fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::wcsncpy(fixed.lfFaceName, L"ＭＳ ゴシック", LF_FACESIZE - 1);
    font = CreateFontIndirectW(&fixed);
  }
  return font != nullptr ? font : dialogFont(dialog);
}

std::wstring lineNumberText(int line) {
  std::array<wchar_t, 16> text{};
  std::swprintf(text.data(), text.size(), L"%04d", line);
  return text.data();
}

bool measureListingItem(HWND dialog, MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_LISTBOX) return false;
  const int height =
      std::max(fontHeight(dialog, listingFont(dialog)), fontHeight(dialog, dialogFont(dialog)));
  item.itemHeight = static_cast<UINT>(height);
  return true;
}

bool drawListingItem(HWND dialog, const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_LISTBOX) return false;
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  if (item.itemID == static_cast<UINT>(-1)) {
    // An empty list that has the focus shows only the focus rectangle.
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
    return true;
  }
  const HFONT font = listingFont(dialog);
  HGDIOBJ previousFont = SelectObject(dc, font);
  const RowMetrics& metrics = rowMetrics(dc, font);
  const int padding = MarginPaddingQuarters * metrics.quarter;
  // Both texts stand vertically centred in the row, as one line.
  const int y = row.top + (row.bottom - row.top - metrics.textHeight) / 2;
  const std::wstring number = lineNumberText(static_cast<int>(item.itemID));
  RECT margin = row;
  margin.right = margin.left + padding + metrics.numberWidth + padding;
  FillRect(dc, &margin, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  ExtTextOutW(dc, margin.left + padding, y, ETO_CLIPPED, &margin, number.c_str(),
              static_cast<UINT>(number.size()), nullptr);

  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT textRow = row;
  textRow.left = margin.right;
  FillRect(dc, &textRow, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const auto length = static_cast<int>(
      SendMessageW(item.hwndItem, LB_GETTEXTLEN, static_cast<WPARAM>(item.itemID), 0));
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  if (length > 0) {
    SendMessageW(item.hwndItem, LB_GETTEXT, static_cast<WPARAM>(item.itemID),
                 reinterpret_cast<LPARAM>(text.data()));
  }
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  ExtTextOutW(dc, textRow.left + padding, y, ETO_CLIPPED, &textRow, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &textRow);
  SelectObject(dc, previousFont);
  return true;
}

INT_PTR drawListMessage(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_MEASUREITEM)
    return measureListingItem(dialog, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
  if (message == WM_DRAWITEM)
    return drawListingItem(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
  return FALSE;
}

void drawCellReadably(HWND cell) {
  if (cell != nullptr) replaceProcedure(cell, readableCellProc);
}

}  // namespace vx::ui
