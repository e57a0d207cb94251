// Undo and redo: every change of the document is recorded as a step of the history, and undoing
// or redoing a step shows the program and line where it was made. Also the title's modified mark
// and the status text about lines pushed off a program's end.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "ui/edit_safety.h"
#include "ui/field_panel_parts.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

// At most this many runs of former line numbers are named in the status text.
constexpr int MaxNamedRuns = 6;

ProgramArea& areaOf(MainDialog& dialog) { return dialog.document->programArea; }

// Where a move or copy shows after undo: its first changed line in the program shown, or else
// its first changed line anywhere.
EditPlace firstChange(const ProgramArea& before, const ProgramArea& after, int program,
                      EditPlace fallback) {
  const EditStep step = differences(before, after, fallback);
  for (const LineChange& change : step.lines) {
    if (change.program == program) return {change.program, change.index};
  }
  if (!step.lines.empty()) return {step.lines.front().program, step.lines.front().index};
  return fallback;
}

// Shows the program and line of an undone or redone step: the list keeps its top index, the
// current line is the step's line, the stored cursor stays as the step left it.
void showChange(MainDialog& dialog, EditPlace place, unsigned statusId) {
  if (place.program != dialog.currentProgram) {
    dialog.currentProgram = place.program;
    SendMessageW(GetDlgItem(dialog.window, IDC_PROGRAM_SELECT), CB_SETCURSEL,
                 static_cast<WPARAM>(place.program), 0);
  }
  dialog.currentLine = place.line;
  relistKeepingTop(dialog, false);
  // The panel's fields are rebuilt for the shown line: a field that had the focus goes.
  if (panelControlNumber(dialog, GetFocus()) > 0) focusInstructionSelector(dialog);
  showStatus(dialog.window, statusId);
  postShowLine(dialog, RebuildPanel);
  updateTitle(dialog);
}

}  // namespace

void recordSince(MainDialog& dialog, const ProgramArea& before, EditPlace place) {
  dialog.documentState.history.record(differences(before, areaOf(dialog), place));
  updateTitle(dialog);
}

void noteLineStored(MainDialog& dialog, int program, int line, const ProgramLine& before,
                    const ProgramLine& after, bool runOfKeys) {
  EditHistory& history = dialog.documentState.history;
  if (runOfKeys) {
    history.recordKeyInLine(program, line, before, after);
  } else if (before != after) {
    history.record(EditStep{{{program, line, before, after}}, {}, {program, line}});
  } else {
    history.endRun();
  }
  updateTitle(dialog);
}

void endEditRun(MainDialog& dialog) { dialog.documentState.history.endRun(); }

void insertLineRecorded(MainDialog& dialog) {
  const auto before = std::make_unique<ProgramArea>(areaOf(dialog));
  PushedOffLines& pushed = dialog.documentState.pushedOff;
  pushed.clear();
  insertLine(areaOf(dialog), dialog.currentProgram, dialog.currentLine, nullptr, &pushed);
  recordSince(dialog, *before, {dialog.currentProgram, dialog.currentLine});
}

void showPushedOffStatus(MainDialog& dialog) {
  const std::wstring pushed = pushedOffText(dialog.documentState.pushedOff);
  if (!pushed.empty()) setWideText(GetDlgItem(dialog.window, IDC_STATUS), pushed);
}

void deleteLineRecorded(MainDialog& dialog) {
  const auto before = std::make_unique<ProgramArea>(areaOf(dialog));
  deleteLine(areaOf(dialog), dialog.currentProgram, dialog.currentLine);
  recordSince(dialog, *before, {dialog.currentProgram, dialog.currentLine});
}

bool moveCopyRecorded(MainDialog& dialog, const MoveCopyView& view) {
  const auto before = std::make_unique<ProgramArea>(areaOf(dialog));
  dialog.documentState.pushedOff.clear();
  std::optional<MoveCopyResult> result = dialog.runMoveCopy(dialog.window, areaOf(dialog), view);
  if (!result) return false;
  dialog.documentState.pushedOff = std::move(result->pushedOff);
  const EditPlace fallback{dialog.currentProgram, dialog.currentLine};
  recordSince(dialog, *before,
              firstChange(*before, areaOf(dialog), dialog.currentProgram, fallback));
  return true;
}

void showMoveCopyStatus(MainDialog& dialog) {
  std::wstring text = loadString(IDS_MOVE_COPY_DONE);
  const std::wstring pushed = pushedOffText(dialog.documentState.pushedOff);
  if (!pushed.empty()) text += L"\r\n\r\n" + pushed;
  setWideText(GetDlgItem(dialog.window, IDC_STATUS), text);
}

void undoEdit(MainDialog& dialog) {
  if (const auto place = dialog.documentState.history.undo(areaOf(dialog))) {
    showChange(dialog, *place, IDS_UNDONE);
  } else {
    showStatus(dialog.window, IDS_NOTHING_TO_UNDO);
  }
}

void redoEdit(MainDialog& dialog) {
  if (const auto place = dialog.documentState.history.redo(areaOf(dialog))) {
    showChange(dialog, *place, IDS_REDONE);
  } else {
    showStatus(dialog.window, IDS_NOTHING_TO_REDO);
  }
}

void documentLoaded(MainDialog& dialog, const std::wstring& path) {
  DocumentState& state = dialog.documentState;
  state.history.clear();
  state.path = path;
  state.identity = identityOf(std::filesystem::path(path), dialog.document->image);
  updateTitle(dialog);
}

void documentSaved(MainDialog& dialog, const std::wstring& path) {
  DocumentState& state = dialog.documentState;
  state.history.markSaved();
  state.path = path;
  state.identity = identifyFile(std::filesystem::path(path));
  updateTitle(dialog);
}

void updateTitle(MainDialog& dialog) {
  const DocumentState& state = dialog.documentState;
  const bool modified = state.history.modified();
  std::wstring title = dialog.dialogTitle;
  if (!state.path.empty() || modified) {
    const std::wstring name = state.path.empty()
                                  ? loadString(IDS_UNTITLED)
                                  : std::filesystem::path(state.path).filename().wstring();
    title = name + (modified ? L"*" : L"") + L" - " + dialog.dialogTitle;
  }
  if (getWideText(dialog.window) != title) setWideText(dialog.window, title);
}

std::wstring pushedOffText(const PushedOffLines& lines) {
  if (lines.empty()) return {};
  std::wstring places;
  int runs = 0;
  for (std::size_t i = 0; i < lines.size();) {
    std::size_t last = i;
    while (last + 1 < lines.size() && lines[last + 1].program == lines[i].program &&
           lines[last + 1].formerIndex == lines[last].formerIndex + 1) {
      ++last;
    }
    if (runs == MaxNamedRuns) {
      places += L", ...";
      break;
    }
    if (!places.empty()) places += L", ";
    places += sjisToWide(programName(lines[i].program));
    places += std::to_wstring(lines[i].formerIndex);
    if (last > i) places += L"-" + std::to_wstring(lines[last].formerIndex);
    ++runs;
    i = last + 1;
  }
  return fillIn(loadString(IDS_LINES_PUSHED_OFF), static_cast<int>(lines.size()), places);
}

}  // namespace vx::ui
