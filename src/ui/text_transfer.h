// Programs as text in the editor: the current line copied to the clipboard, the clipboard's lines
// pasted at the current line, the shown program exported to and imported from a text file, and
// the program list's context menu that offers all four.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vx::ui {

struct MainDialog;

// The clipboard's Unicode text (CF_UNICODETEXT). Nothing when it holds no text or cannot be
// opened.
std::optional<std::wstring> clipboardText(HWND owner);
// Makes `text` the clipboard's only content, as CF_UNICODETEXT. False when it cannot be opened.
bool putClipboardText(HWND owner, const std::wstring& text);

// Ctrl+C: the current line's text and a line end, as `vxprog export` writes the line.
void copyCurrentLine(MainDialog& dialog);
// Ctrl+V: the clipboard's program lines inserted at the current line, one undo step. A text that
// does not read changes nothing and its problems, with their text lines, go to the status.
void pasteLines(MainDialog& dialog);
// The shown program written to a text file chosen in the file dialog.
void exportProgram(MainDialog& dialog);
// The shown program's lines replaced from a text file chosen in the file dialog, one undo step;
// all or nothing, the problems as `FILE:LINE: what is wrong` in a warning.
void importProgram(MainDialog& dialog);

// The text written by export: the comment line and the shown program.
std::string exportedProgramText(const MainDialog& dialog);

// Ctrl+C and Ctrl+V in the program list. True when consumed.
bool handleListClipboardKey(MainDialog& dialog, WPARAM key);
// The control characters of Ctrl+C and Ctrl+V, which the list box would search its entries for.
bool isClipboardCharacter(WPARAM character);

// WM_CONTEXTMENU from the program list: selects the line under the pointer and shows the menu at
// `screenPoint` (-1, -1 from the keyboard: at the current line). The command arrives as WM_COMMAND.
void showListMenu(MainDialog& dialog, POINT screenPoint);

}  // namespace vx::ui
