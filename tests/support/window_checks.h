// Checks of windows made from dialog templates: class names, style bits, texts and frames.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <span>
#include <string>

namespace vx::test {

// The window's class name ("Edit", "ComboBox", "#32770" ...).
inline std::wstring classOf(HWND window) {
  std::array<wchar_t, 64> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

// Style bits a control must show: (style & mask) == bits.
struct Style {
  DWORD mask;
  DWORD bits;
};

inline namespace styles {

// The combo box hands WS_VSCROLL on to its drop-down list.
inline constexpr DWORD ComboTypeMask = 0x3;
inline constexpr DWORD ListStyleMask = LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL |
                                       LBS_DISABLENOSCROLL | WS_VSCROLL | WS_TABSTOP;
inline constexpr Style LeftText = {SS_TYPEMASK, SS_LEFT};
inline constexpr Style DropDownList = {ComboTypeMask | CBS_SORT | WS_TABSTOP,
                                       CBS_DROPDOWNLIST | WS_TABSTOP};
inline constexpr Style SingleSelectionList = {
    ListStyleMask, LBS_NOTIFY | LBS_DISABLENOSCROLL | WS_VSCROLL | WS_TABSTOP};
inline constexpr Style ExtendedSelectionList = {
    ListStyleMask, LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_DISABLENOSCROLL | WS_VSCROLL | WS_TABSTOP};
inline constexpr Style PushButton = {BS_TYPEMASK | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP};
inline constexpr Style DefaultPushButton = {BS_TYPEMASK | WS_TABSTOP,
                                            BS_DEFPUSHBUTTON | WS_TABSTOP};
inline constexpr Style AutoCheckBox = {BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP};
inline constexpr Style GroupBox = {BS_TYPEMASK, BS_GROUPBOX};
inline constexpr Style TextEdit = {ES_AUTOHSCROLL | ES_MULTILINE | ES_READONLY | WS_TABSTOP,
                                   ES_AUTOHSCROLL | WS_TABSTOP};

}  // namespace styles

// One control of a template, in tab order.
struct TemplateControl {
  int id;
  const wchar_t* className;
  Style style;
  bool bordered;
  const wchar_t* text;
  RECT units;  // x, y, width, height in dialog units
};

// A dialog's frame as its template makes it: caption, system menu and modal frame, neither
// sizing border nor minimise and maximise boxes, centred on the screen.
void expectDialogFrame(HWND dialog);

// The control's id, class, text (for a combo box, its selection), style bits and border.
void expectTemplateControl(HWND control, const TemplateControl& expected);

// A rectangle in the dialog's units as pixels (left, top, width, height as the template gives
// them).
RECT dialogPixels(HWND dialog, RECT units);
// A control's window rectangle in its dialog's client coordinates.
RECT rectInDialog(HWND dialog, HWND control);

// The size a static control's text needs in its font (wrapped at `width` when it has several
// lines); mnemonic marks take no room.
SIZE staticTextSize(HWND control, int width);

// Checks a template control's pixel position and size against its dialog units. The dialog
// manager converts position and size separately; a closed drop-down list is as high as its edit
// part, a list box shows whole lines only, so it may be up to one line less high, and a static
// text grows to its text when the font needs more room than the template gives.
void expectTemplateGeometry(HWND dialog, HWND child, RECT units, const wchar_t* className);

// Checks where a child of `dialog` stands against the template control it was made from.
using PlaceCheck = std::function<void(HWND dialog, HWND child, const TemplateControl& expected)>;

// Walks the dialog's child windows in tab order against `controls`: each must be there with the
// control's id, class, text, style and border (expectTemplateControl) and stand where `checkPlace`
// expects (by default, expectTemplateGeometry). The first child after the listed controls,
// nullptr when there is none.
HWND expectControlsInTabOrder(HWND dialog, std::span<const TemplateControl> controls,
                              const PlaceCheck& checkPlace = nullptr);

// A popup dialog made from a template: its title, its frame (expectDialogFrame), a client area
// of `units` dialog units and exactly `controls`, in tab order.
void expectDialogTemplate(HWND dialog, const wchar_t* title, SIZE units,
                          std::span<const TemplateControl> controls);

}  // namespace vx::test
