// How the program lists and the character cells are drawn. The lists are owner-drawn list boxes
// that keep their strings (the listing texts): each entry shows its line number, four decimal
// digits as in "vxprog list", in a margin, then its text in a fixed-pitch font so that the byte
// columns line up. The character cells, disabled so that they never take the focus, draw their
// text in the normal text colour rather than the faint grey of a disabled edit.
#pragma once

#include <windows.h>

#include <string>

namespace vx::ui {

// The fixed-pitch font of the lists for `dialog`: "ＭＳ ゴシック" as high as the dialog's font.
// Made once per height and kept for the life of the process.
HFONT listingFont(HWND dialog);

// The entry's line number as the margin shows it ("0007").
std::wstring lineNumberText(int line);

// WM_MEASUREITEM and WM_DRAWITEM of a dialog holding program lists. True when the message was
// about a list box (the dialog procedure then returns TRUE).
bool measureListingItem(HWND dialog, MEASUREITEMSTRUCT& item);
bool drawListingItem(HWND dialog, const DRAWITEMSTRUCT& item);

// Both messages for a dialog procedure: TRUE when handled, FALSE otherwise.
INT_PTR drawListMessage(HWND dialog, UINT message, LPARAM lParam);

// Makes a disabled character cell draw its text in the window text colour.
void drawCellReadably(HWND cell);

}  // namespace vx::ui
