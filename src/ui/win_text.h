// The text boundary of the editor. Inside, every text is a Shift-JIS byte string; the window
// system gets and gives UTF-16 through the wide API. sjisToWide/wideToSjis are the only place
// where the two meet, so the editor works the same whatever the machine's ANSI code page is.
// Programs as text are UTF-8 (files, clipboard): utf8ToWide/wideToUtf8 are their one crossing.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

namespace vx::ui {

// Shift-JIS (code page 932) to UTF-16 and back. A character that code page 932 cannot hold
// becomes "?" on the way back.
std::wstring sjisToWide(std::string_view sjis);
std::string wideToSjis(std::wstring_view wide);

// UTF-8 (the text form of programs, on the clipboard and in files) to UTF-16 and back.
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

// Control texts.
void setText(HWND control, std::string_view sjis);
std::string getText(HWND control);
void setWideText(HWND control, const std::wstring& text);
std::wstring getWideText(HWND control);

// A string-table text of the executable; empty when the id is missing.
std::wstring loadString(unsigned id);
// Replaces the first "%d" of `format` with `count` and the first "%s" with `text`.
std::wstring fillIn(std::wstring format, int count, const std::wstring& text);

// Combo boxes and list boxes. The add function returns the new entry's index (or a negative
// error code of the control).
int addComboString(HWND combo, std::string_view sjis);
int comboSelection(HWND combo);
int listSelection(HWND list);

// Empties the drop-down list, adds the names up to but not including the first "***" (or all of
// them when there is none) and selects entry `selection` unless it is -1.
void fillChoiceList(HWND combo, std::span<const char* const> names, int selection);

}  // namespace vx::ui
