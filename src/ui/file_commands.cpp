// Loading and saving: the common file dialogs, the start-up load and the two warnings with the
// file and the reason.
#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "ui/command_line.h"
#include "ui/file_dialog.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

constexpr wchar_t LoadWarning[] = L"Program load error";
constexpr wchar_t SaveWarning[] = L"Program save error";

// A path longer than the path buffer is refused rather than cut into another path.
constexpr char PathTooLong[] = "the path is longer than 259 characters";
constexpr char NoPath[] = "no file name";

// Loads `path` into the document; -1 on failure, which leaves the document unchanged, with the
// reason in `why`.
int loadPath(MainDialog& dialog, const std::wstring& path, std::string& why) {
  if (path.empty()) {
    why = NoPath;
    return -1;
  }
  if (path.size() > MaxPathLength) {
    why = PathTooLong;
    return -1;
  }
  LoadError error = LoadError::None;
  const int result = load(*dialog.document, std::filesystem::path(path), &error);
  if (result == -1) why = describe(error);
  return result;
}

// The warning's first line stays as it was; the file and the reason follow it.
void warn(MainDialog& dialog, const wchar_t* first, const std::wstring& path,
          const std::string& why) {
  dialog.showWarning(dialog.window,
                     std::wstring(first) + L"\r\n" + path + L"\r\n" + sjisToWide(why),
                     dialog.dialogTitle);
}

// Saves the document to `path`, asking first when it is the document's own file and that has
// changed on disk. A failure shows the warning with the reason. True when saved.
bool saveTo(MainDialog& dialog, const std::wstring& path) {
  std::string why;
  if (path.empty()) {
    why = NoPath;
  } else if (path.size() > MaxPathLength) {
    why = PathTooLong;
  } else {
    if (!confirmReplace(dialog, path)) return false;
    if (save(*dialog.document, std::filesystem::path(path), &why) != -1) {
      documentSaved(dialog, path);
      showStatus(dialog.window, IDS_SAVED);
      return true;
    }
  }
  warn(dialog, SaveWarning, path, why);
  return false;
}

}  // namespace

OPENFILENAMEW fileDialogRequest(HWND owner, FileDialogKind kind, std::span<wchar_t> buffer) {
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  const bool text = kind == FileDialogKind::ImportText || kind == FileDialogKind::ExportText;
  request.lpstrFilter = text ? L"Program text(*.vxp)\0*.vxp\0All files(*.*)\0*.*\0"
                             : L"Setup files(*.su, *.sp)\0*.su;*.sp\0All files(*.*)\0*.*\0";
  request.nFilterIndex = 1;
  request.lpstrFile = buffer.data();
  request.nMaxFile = static_cast<DWORD>(buffer.size());
  request.lpstrDefExt = text ? L"vxp" : L"su";
  const bool opening = kind == FileDialogKind::Open || kind == FileDialogKind::ImportText;
  request.Flags = opening ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY
                          : OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  return request;
}

std::wstring withBackslashes(std::wstring_view path) {
  std::wstring text(path);
  std::replace(text.begin(), text.end(), L'/', L'\\');
  return text;
}

std::wstring startingFolder(std::wstring_view path) {
  const std::wstring text = withBackslashes(path);
  const std::size_t last = text.find_last_of(L'\\');
  if (last == std::wstring::npos) return {};
  // A drive's root keeps its backslash: "C:" alone would be the drive's current folder.
  if (last == 2 && text[1] == L':') return text.substr(0, 3);
  return text.substr(0, last);
}

// The dialog starts in the folder of the current file, with the file's name as its text.
bool runFileDialog(HWND owner, FileDialogKind kind, std::wstring& path) {
  std::array<wchar_t, MaxPathLength + 1> buffer{};
  // A path the buffer cannot hold is not offered as the starting text.
  const std::wstring start = withBackslashes(path);
  if (start.size() <= MaxPathLength) start.copy(buffer.data(), start.size());
  OPENFILENAMEW request = fileDialogRequest(owner, kind, buffer);
  const std::wstring folder = startingFolder(start);
  if (!folder.empty() && start.size() <= MaxPathLength) request.lpstrInitialDir = folder.c_str();
  const bool opening = kind == FileDialogKind::Open || kind == FileDialogKind::ImportText;
  const BOOL chosen = opening ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
  if (!chosen) return false;
  path.assign(buffer.data());
  return true;
}

void warningBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
  MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

CharCode loadAtStartUp(MainDialog& dialog) {
  std::string why;
  const int result = loadPath(dialog, dialog.filePath, why);
  if (result == -1) {
    warn(dialog, LoadWarning, dialog.filePath, why);
    return CharCode::Ascii;
  }
  documentLoaded(dialog, dialog.filePath);
  // A code the selector does not list is shown as ASCII.
  return normaliseCharCode(result);
}

// Unsaved changes are asked about first. The character code that the file names is not applied
// here, unlike at start-up.
void onLoad(MainDialog& dialog) {
  if (!confirmDiscard(dialog)) return;
  if (!dialog.chooseFilePath(dialog.window, FileDialogKind::Open, dialog.filePath)) return;
  std::string why;
  if (loadPath(dialog, dialog.filePath, why) == -1) {
    warn(dialog, LoadWarning, dialog.filePath, why);
    return;
  }
  documentLoaded(dialog, dialog.filePath);
  dialog.currentProgram = 0;
  SendMessageW(GetDlgItem(dialog.window, IDC_PROGRAM_SELECT), CB_SETCURSEL, 0, 0);
  dialog.currentLine =
      fillProgramList(programList(dialog), dialog.document->programArea, 0,
                      currentCharCode(dialog.window), characterDisplayOn(dialog.window));
  showStatus(dialog.window, IDS_LOADED);
  postShowLine(dialog, RebuildPanel);
}

bool saveWithDialog(MainDialog& dialog) {
  if (!dialog.chooseFilePath(dialog.window, FileDialogKind::Save, dialog.filePath)) return false;
  return saveTo(dialog, dialog.filePath);
}

bool saveToCurrentFile(MainDialog& dialog) {
  const std::wstring& path = dialog.documentState.path;
  return path.empty() ? saveWithDialog(dialog) : saveTo(dialog, path);
}

void onSave(MainDialog& dialog) { saveWithDialog(dialog); }

}  // namespace vx::ui
