// The main editor dialog (template 101): the program selector and list, the load, save, line and
// label commands, the status area and the frame of the field panel.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "catalogue/char_codes.h"
#include "setupfile/setup_file.h"
#include "ui/edit_safety.h"
#include "ui/field_panel.h"
#include "ui/move_copy_dialog.h"
#include "ui/program_list.h"

namespace vx::ui {

// Private messages the dialog posts to itself (lParam 0).
inline constexpr UINT UM_NEXT_LINE = WM_USER + 1;
inline constexpr UINT UM_PREV_LINE = WM_USER + 2;
inline constexpr UINT UM_INSERT_CHAR = WM_USER + 3;  // wParam: control number
inline constexpr UINT UM_DELETE_CHAR = WM_USER + 4;  // wParam: control number
inline constexpr UINT UM_SHOW_LINE = WM_USER + 5;    // wParam: a ShowLine

// How UM_SHOW_LINE shows the current line: with the panel rebuilt for it (a new line, a new
// program, a changed view), or in the controls the panel has (the same line after an edit).
enum ShowLine : WPARAM {
  RebuildPanel = 0,
  KeepControls = 1,
};

struct MainDialog;

// Loading and saving setup files; importing and exporting a program as text (*.vxp).
enum class FileDialogKind { Open, Save, ImportText, ExportText };

// Asks the user for a file; `path` is the starting text and receives the choice. False when
// cancelled. The common file dialogs by default; tests put their own choice here.
using ChooseFilePath = std::function<bool(HWND owner, FileDialogKind kind, std::wstring& path)>;
// Shows a warning ("Program load error", "Program save error") with the dialog's title.
using ShowWarning =
    std::function<void(HWND owner, const std::wstring& text, const std::wstring& caption)>;

// Asks a question in a message box with the given buttons (MB_YESNOCANCEL, MB_YESNO); the
// button pressed (IDYES, IDNO, IDCANCEL).
using AskQuestion = std::function<int(HWND owner, const std::wstring& text,
                                      const std::wstring& caption, UINT buttons)>;

// Runs the move and copy dialog on `area`, opened on `view`; what was moved or copied, nothing
// when cancelled. The real dialog by default; tests put their own here.
using RunMoveCopy = std::function<std::optional<MoveCopyResult>(HWND owner, ProgramArea& area,
                                                                const MoveCopyView& view)>;

bool runFileDialog(HWND owner, FileDialogKind kind, std::wstring& path);
void warningBox(HWND owner, const std::wstring& text, const std::wstring& caption);
int questionBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT buttons);

struct MainDialog {
  SetupDocument* document = nullptr;
  HWND window = nullptr;
  // The program shown: always the program selector's selection.
  int currentProgram = 0;
  // The line the panel shows: kept equal to the program list's selection.
  int currentLine = 0;
  // The one path of the start-up load and of both file dialogs (UTF-16, never converted).
  std::wstring filePath;
  // The path of the last program exported or imported as text.
  std::wstring textPath;
  bool fileGiven = false;
  std::wstring dialogTitle;
  FieldPanel panel;
  ChooseFilePath chooseFilePath = runFileDialog;
  ShowWarning showWarning = warningBox;
  RunMoveCopy runMoveCopy = runMoveCopyDialog;
  AskQuestion askQuestion = questionBox;
  // The undo history, the document's file and what that file held.
  DocumentState documentState;
};

// The MainDialog of the main dialog that holds `control` (any window inside it); nullptr once the
// dialog is being destroyed.
MainDialog* mainDialogOf(HWND control);

// The dialog procedure; the MainDialog comes as the creation parameter.
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally without an owner; returns when it has been closed.
INT_PTR runMainDialog(MainDialog& dialog);

// Sets string `stringId` as the status text; 0 empties the status area.
void showStatus(HWND dialog, unsigned stringId);

// The selection of the character-code selector (ASCII while it has none).
CharCode currentCharCode(HWND dialog);
// Whether the character display check box is ticked.
bool characterDisplayOn(HWND dialog);

}  // namespace vx::ui
