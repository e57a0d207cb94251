// The questions that keep unsaved changes and other people's changes from being lost: before
// the editor closes or loads over unsaved changes, and before it replaces its file when that file
// has changed on disk since it was loaded or saved.
#include <filesystem>
#include <system_error>

#include "ui/edit_safety.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

// The file's name and an empty line ahead of a question about it; nothing without a file.
std::wstring aboutFile(const std::wstring& path) {
  if (path.empty()) return {};
  return std::filesystem::path(path).filename().wstring() + L"\r\n\r\n";
}

bool sameFile(const std::wstring& a, const std::wstring& b) {
  std::error_code error;
  const bool equivalent = std::filesystem::equivalent(a, b, error);
  return error ? a == b : equivalent;
}

}  // namespace

int questionBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT buttons) {
  return MessageBoxW(owner, text.c_str(), caption.c_str(), buttons | MB_ICONQUESTION);
}

bool confirmDiscard(MainDialog& dialog) {
  const DocumentState& state = dialog.documentState;
  if (!state.history.modified()) return true;
  const int answer =
      dialog.askQuestion(dialog.window, aboutFile(state.path) + loadString(IDS_SAVE_CHANGES),
                         dialog.dialogTitle, MB_YESNOCANCEL);
  if (answer == IDYES) return saveToCurrentFile(dialog);
  return answer == IDNO;
}

bool confirmReplace(MainDialog& dialog, const std::wstring& path) {
  const DocumentState& state = dialog.documentState;
  if (state.path.empty() || !state.identity || !sameFile(path, state.path)) return true;
  if (compareWithDisk(*state.identity, std::filesystem::path(path)) != DiskState::Changed) {
    return true;
  }
  const int answer =
      dialog.askQuestion(dialog.window, aboutFile(path) + loadString(IDS_FILE_CHANGED_ON_DISK),
                         dialog.dialogTitle, MB_YESNO);
  return answer == IDYES;
}

}  // namespace vx::ui
