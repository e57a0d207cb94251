// What keeps the user's edits safe: the undo history of the document, the file it belongs to and
// what that file held, the title's modified mark, the questions before unsaved changes are
// dropped or a file changed on disk is replaced, and the editor's shortcut keys.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "setupfile/file_identity.h"
#include "store/edit_history.h"
#include "store/program_area.h"

namespace vx::ui {

struct MainDialog;
struct MoveCopyView;

struct DocumentState {
  EditHistory history;
  // The file the document was last loaded from or saved to; empty while it has none.
  std::wstring path;
  // What that file held then; nothing when it could not be read back.
  std::optional<FileIdentity> identity;
  // The non-empty lines the last insert, move or copy pushed off a program's end.
  PushedOffLines pushedOff;
};

// ---- undo_commands.cpp

// Records a line that the field panel has just stored. Keys in one line join one step until the
// line is left; a direct input is a step of its own.
void noteLineStored(MainDialog& dialog, int program, int line, const ProgramLine& before,
                    const ProgramLine& after, bool runOfKeys);
// The user has left the line (or the view changed): the next key starts a new step.
void endEditRun(MainDialog& dialog);
// Records the difference between `before` and the area as it now stands as one step, made at
// `place`.
void recordSince(MainDialog& dialog, const ProgramArea& before, EditPlace place);

// Insert one line and delete one line at the current line, recorded as a step each.
void insertLineRecorded(MainDialog& dialog);
void deleteLineRecorded(MainDialog& dialog);
// Runs the move and copy dialog opened on `view`; a carried-out move or copy is recorded as a
// step, with the lines it pushed off. False when nothing was done.
bool moveCopyRecorded(MainDialog& dialog, const MoveCopyView& view);
// The status text after a move or copy: string 16 and the lines pushed off, if any.
void showMoveCopyStatus(MainDialog& dialog);
// After an insert: the lines it pushed off, when there were any; otherwise the status stays.
void showPushedOffStatus(MainDialog& dialog);

// Ctrl+Z and Ctrl+Y: the step is undone or redone, its program and line are shown.
void undoEdit(MainDialog& dialog);
void redoEdit(MainDialog& dialog);

// A new document was loaded from `path` (empty: none): no history, nothing modified.
void documentLoaded(MainDialog& dialog, const std::wstring& path);
// The document was saved to `path`.
void documentSaved(MainDialog& dialog, const std::wstring& path);

// The title: the file's name, a "*" while modified, then the template's title.
void updateTitle(MainDialog& dialog);

// "N lines were pushed off ... (former lines: A510-511, B3)"; empty when no line was pushed off.
std::wstring pushedOffText(const PushedOffLines& lines);

// ---- unsaved_guard.cpp

// Before unsaved changes would be dropped (closing, loading): asks whether to save them. True
// when the caller may go on: nothing unsaved, the changes saved, or the user chose to drop them.
bool confirmDiscard(MainDialog& dialog);
// Before the document's own file is replaced: true when it is unchanged on disk since it was
// loaded or saved, or the user agrees to replace it anyway.
bool confirmReplace(MainDialog& dialog, const std::wstring& path);

// ---- editor_shortcuts.cpp

// Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+S and Ctrl+O, wherever the key arrived. True when consumed.
bool handleShortcutKey(MainDialog& dialog, WPARAM key);
// The character that a consumed shortcut key would also produce (Ctrl+Z gives 0x1A, which an edit
// control takes as its own undo). True when it must be swallowed.
bool isShortcutCharacter(WPARAM character);
// Gives the program list the shortcut keys.
void installListShortcuts(MainDialog& dialog);

}  // namespace vx::ui
