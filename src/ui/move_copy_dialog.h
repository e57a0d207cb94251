// The move and copy dialog (template 103): moves or copies lines between the programs.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "catalogue/char_codes.h"
#include "store/program_area.h"

namespace vx::ui {

// How the move and copy dialog ends.
enum MoveCopyOutcome : INT_PTR {
  MoveCopyDone = IDOK,           // lines were moved or copied
  MoveCopyCancelled = IDCANCEL,  // cancelled, closed, or no source line selected
};

// What the dialog shows when it opens, taken from the window that opens it: both sides start on
// `program`, scrolled to `topIndex`, listed in `code` with or without the character display.
struct MoveCopyView {
  int program = 0;
  int topIndex = 0;
  CharCode code{};
  bool showCharacters = false;
  friend bool operator==(const MoveCopyView&, const MoveCopyView&) = default;
};

// A move or copy that was carried out.
struct MoveCopyResult {
  int sourceProgram = 0;
  std::vector<int> sourceLines;  // ascending
  int destinationProgram = 0;
  int destinationLine = 0;
  bool move = false;  // false: copied
  // The non-empty lines pushed off a program's end.
  PushedOffLines pushedOff;
  friend bool operator==(const MoveCopyResult&, const MoveCopyResult&) = default;
};

// Runs the dialog modally over `owner` and carries out on `area` the move or copy the user asks
// for; what was done, or nothing when the dialog was cancelled (a move or copy without a selected
// source line counts as cancelled).
std::optional<MoveCopyResult> runMoveCopyDialog(HWND owner, ProgramArea& area,
                                                const MoveCopyView& view);

// What the dialog procedure works on; its creation parameter points to one.
struct MoveCopySession {
  ProgramArea& area;
  MoveCopyView view;
  // Set when a move or copy is carried out.
  std::optional<MoveCopyResult> result;
};

// The dialog procedure of template 103; the creation parameter is a MoveCopySession.
INT_PTR CALLBACK moveCopyDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The most source lines one move or copy takes.
inline constexpr int MaxMoveCopyLines = 256;

}  // namespace vx::ui
