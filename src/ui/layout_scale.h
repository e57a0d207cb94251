// The editor's pixel geometry on any font and DPI. The field panel is laid out in pixels for the
// template font ("ＭＳ Ｐゴシック", 9 points) at 96 DPI, whose dialog base units are 6 × 12 pixels;
// on another font or DPI the same layout is stretched by the dialog's own base units, so that a
// control keeps the room its widest value needs.
#pragma once

#include <windows.h>

#include "catalogue/catalogue.h"

namespace vx::ui {

struct MainDialog;

inline constexpr int DesignBaseUnitX = 6;
inline constexpr int DesignBaseUnitY = 12;

struct LayoutScale {
  int baseUnitX = DesignBaseUnitX;
  int baseUnitY = DesignBaseUnitY;

  // A horizontal or vertical length of the 96-DPI design, in this dialog's pixels.
  int x(int designPixels) const { return MulDiv(designPixels, baseUnitX, DesignBaseUnitX); }
  int y(int designPixels) const { return MulDiv(designPixels, baseUnitY, DesignBaseUnitY); }
};

// The scale of `dialog`, from the base units its template font gives it.
LayoutScale layoutScale(HWND dialog);

// The most characters a field's text can need: its digit count, or its longest word for the
// fields that also take one ("RSTART"). 0 for the selectors and captions.
int fieldTextLimit(FieldType type);

// Limits what the user can type into a panel edit (or the edit part of an editable list) to
// the field's text limit; the control also scrolls, so that the whole value can be typed.
void limitFieldText(HWND control, FieldType type);

// Moves the direct input button (1011) right of `lastCell`, the last character cell's rectangle
// in client coordinates, when it would cover it, and widens the frame (1005) and the dialog as
// far as the button then needs. Never narrows them.
void keepDirectInputClearOf(HWND dialog, const RECT& lastCell);

// Moves the direct input button clear of the widest row's character cells, while the dialog is
// still hidden, so that the dialog takes its final width before it is first shown.
void reserveRoomForDataRows(MainDialog& dialog);

// Widens (and for several lines heightens) each static text of `dialog` whose text does not fit
// its control in the font the system actually gave the dialog.
void fitStaticTexts(HWND dialog);

}  // namespace vx::ui
