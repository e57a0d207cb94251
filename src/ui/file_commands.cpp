// Loading and saving: the common file dialogs, the start-up load and the two warnings.
#include <algorithm>
#include <array>
#include <filesystem>

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

// Loads `path` into the document; -1 on failure, which leaves the document unchanged. A path
// longer than the path buffer is refused rather than cut into another path.
int loadPath(MainDialog& dialog, const std::wstring& path) {
  if (path.empty() || path.size() > MaxPathLength) return -1;
  return load(*dialog.document, std::filesystem::path(path));
}

}  // namespace

OPENFILENAMEW fileDialogRequest(HWND owner, FileDialogKind kind, std::span<wchar_t> buffer) {
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  request.lpstrFilter = L"Setup files(*.su, *.sp)\0*.su;*.sp\0All files(*.*)\0*.*\0";
  request.nFilterIndex = 1;
  request.lpstrFile = buffer.data();
  request.nMaxFile = static_cast<DWORD>(buffer.size());
  request.lpstrDefExt = L"su";
  request.Flags = kind == FileDialogKind::Open
                      ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY
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
  const BOOL chosen =
      kind == FileDialogKind::Open ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
  if (!chosen) return false;
  path.assign(buffer.data());
  return true;
}

void warningBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
  MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

int loadAtStartUp(MainDialog& dialog) {
  const int result = loadPath(dialog, dialog.filePath);
  if (result == -1) {
    dialog.showWarning(dialog.window, LoadWarning, dialog.dialogTitle);
    return 0;
  }
  // A code the selector does not list is shown as ASCII.
  return normaliseCharCode(result);
}

// The character code that the file names is not applied here, unlike at start-up.
void onLoad(MainDialog& dialog) {
  if (!dialog.chooseFilePath(dialog.window, FileDialogKind::Open, dialog.filePath)) return;
  if (loadPath(dialog, dialog.filePath) == -1) {
    dialog.showWarning(dialog.window, LoadWarning, dialog.dialogTitle);
    return;
  }
  dialog.currentProgram = 0;
  SendMessageW(GetDlgItem(dialog.window, IDC_PROGRAM_SELECT), CB_SETCURSEL, 0, 0);
  dialog.currentLine =
      fillProgramList(programList(dialog), dialog.document->programArea, 0,
                      currentCharCode(dialog.window), characterDisplayOn(dialog.window));
  showStatus(dialog.window, IDS_LOADED);
  postShowLine(dialog, 0);
}

void onSave(MainDialog& dialog) {
  if (!dialog.chooseFilePath(dialog.window, FileDialogKind::Save, dialog.filePath)) return;
  if (dialog.filePath.empty() || dialog.filePath.size() > MaxPathLength ||
      save(*dialog.document, std::filesystem::path(dialog.filePath)) == -1) {
    dialog.showWarning(dialog.window, SaveWarning, dialog.dialogTitle);
    return;
  }
  showStatus(dialog.window, IDS_SAVED);
}

}  // namespace vx::ui
