// Programs as text in the editor, through the clipboard and through files. The text is the one
// vxprog writes and reads (UTF-8), so that a line copied here pastes into another editor window,
// into a text editor and into `vxprog import`, and an exported program imports with vxprog.
#include "ui/text_transfer.h"

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/program_text.h"
#include "catalogue/text_paste.h"
#include "ui/edit_safety.h"
#include "ui/key_state.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_parts.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

constexpr wchar_t ImportWarning[] = L"Program import error";
constexpr wchar_t ExportWarning[] = L"Program export error";
// At most this many problems are named in the status after a paste, and in the import warning.
constexpr std::size_t MaxStatusProblems = 3;
constexpr std::size_t MaxWarningProblems = 10;
// Another program may hold the clipboard for a moment.
constexpr int ClipboardAttempts = 5;
constexpr DWORD ClipboardRetryMilliseconds = 20;

bool openClipboard(HWND owner) {
  for (int attempt = 0; attempt < ClipboardAttempts; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(ClipboardRetryMilliseconds);
  }
  return false;
}

ProgramArea& areaOf(MainDialog& dialog) { return dialog.document->programArea; }

std::wstring programNameText(int program) { return sjisToWide(programName(program)); }

void setStatus(MainDialog& dialog, const std::wstring& text) {
  setWideText(GetDlgItem(dialog.window, IDC_STATUS), text);
}

// The problems one to a line, each as `prefix` LINE ": " message (without the line number when the
// problem is the text's as a whole), at most `limit` of them.
std::wstring problemLines(const std::vector<TextProblem>& problems, const std::wstring& prefix,
                          const std::wstring& wholeTextPrefix, std::size_t limit) {
  std::wstring text;
  for (std::size_t i = 0; i < problems.size(); ++i) {
    if (!text.empty()) text += L"\r\n";
    if (i == limit) {
      text += L"... (" + std::to_wstring(problems.size() - limit) + L" more)";
      break;
    }
    const TextProblem& problem = problems[i];
    text += problem.line > 0 ? prefix + std::to_wstring(problem.line) + L": " : wholeTextPrefix;
    text += utf8ToWide(problem.message);
  }
  return text;
}

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readTextFile(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  if (!file) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return text;
}

bool writeTextFile(const std::wstring& path, const std::string& text) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return !file.fail();
}

// The export's starting name: the setup file's name with the program's letter, in its folder.
std::wstring suggestedTextPath(const MainDialog& dialog) {
  if (!dialog.textPath.empty()) return dialog.textPath;
  const std::wstring name = L"_" + programNameText(dialog.currentProgram) + L".vxp";
  if (dialog.documentState.path.empty()) return L"program" + name;
  const std::filesystem::path setupFile(dialog.documentState.path);
  return (setupFile.parent_path() / (setupFile.stem().wstring() + name)).wstring();
}

// After a paste or an import: the program is listed again, the current line stays.
void showChangedProgram(MainDialog& dialog, const std::wstring& status) {
  relistKeepingTop(dialog, false);
  setStatus(dialog, status);
  postShowLine(dialog, RebuildPanel);
}

}  // namespace

std::optional<std::wstring> clipboardText(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !openClipboard(owner)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The text ends at its NUL, or at the end of its memory should the NUL be missing.
      const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
      text.emplace(characters, wcsnlen(characters, capacity));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool putClipboardText(HWND owner, const std::wstring& text) {
  if (!openClipboard(owner)) return false;
  EmptyClipboard();
  bool stored = false;
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes); memory != nullptr) {
    if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
      std::wmemcpy(target, text.c_str(), text.size() + 1);
      GlobalUnlock(memory);
      // Once set, the memory belongs to the clipboard.
      stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!stored) GlobalFree(memory);
  }
  CloseClipboard();
  return stored;
}

void copyCurrentLine(MainDialog& dialog) {
  const ProgramLine* line = lineAt(areaOf(dialog), dialog.currentProgram, dialog.currentLine);
  if (line == nullptr) return;
  const std::wstring text = utf8ToWide(programLineText(*line));
  if (!putClipboardText(dialog.window, text + L"\r\n")) {
    showStatus(dialog.window, IDS_CLIPBOARD_BUSY);
    return;
  }
  setStatus(dialog, fillIn(loadString(IDS_LINE_COPIED), 0, text));
}

void pasteLines(MainDialog& dialog) {
  if (lineAt(areaOf(dialog), dialog.currentProgram, dialog.currentLine) == nullptr) return;
  const std::optional<std::wstring> text = clipboardText(dialog.window);
  if (!text) {
    showStatus(dialog.window, IDS_CLIPBOARD_NO_TEXT);
    return;
  }
  const auto before = std::make_unique<ProgramArea>(areaOf(dialog));
  PasteResult result = pasteProgramText(areaOf(dialog), dialog.currentProgram, dialog.currentLine,
                                        wideToUtf8(*text));
  if (!result.problems.empty()) {
    setStatus(dialog, fillIn(loadString(IDS_PASTE_FAILED), 0,
                             problemLines(result.problems, L"line ", L"", MaxStatusProblems)));
    return;
  }
  dialog.documentState.pushedOff = std::move(result.pushedOff);
  recordSince(dialog, *before, {dialog.currentProgram, dialog.currentLine});
  std::wstring status = fillIn(loadString(IDS_LINES_PASTED), result.pasted, L"");
  const std::wstring pushed = pushedOffText(dialog.documentState.pushedOff);
  if (!pushed.empty()) status += L"\r\n\r\n" + pushed;
  showChangedProgram(dialog, status);
}

std::string exportedProgramText(const MainDialog& dialog) {
  std::string title = "vxedit export";
  if (!dialog.documentState.path.empty()) {
    title +=
        " of " + wideToUtf8(std::filesystem::path(dialog.documentState.path).filename().wstring());
  }
  return writeProgramText(dialog.document->programArea, title, {dialog.currentProgram});
}

void exportProgram(MainDialog& dialog) {
  std::wstring path = suggestedTextPath(dialog);
  if (!dialog.chooseFilePath(dialog.window, FileDialogKind::ExportText, path)) return;
  dialog.textPath = path;
  if (!writeTextFile(path, exportedProgramText(dialog))) {
    dialog.showWarning(dialog.window,
                       std::wstring(ExportWarning) + L"\r\n" + path + L"\r\ncannot write the file",
                       dialog.dialogTitle);
    return;
  }
  setStatus(dialog,
            fillIn(loadString(IDS_PROGRAM_EXPORTED), 0, programNameText(dialog.currentProgram)));
}

void importProgram(MainDialog& dialog) {
  std::wstring path = dialog.textPath;
  if (!dialog.chooseFilePath(dialog.window, FileDialogKind::ImportText, path)) return;
  dialog.textPath = path;
  const std::optional<std::string> text = readTextFile(path);
  if (!text) {
    dialog.showWarning(dialog.window,
                       std::wstring(ImportWarning) + L"\r\n" + path + L"\r\ncannot read the file",
                       dialog.dialogTitle);
    return;
  }
  // As `vxprog import --program P`: the section of the shown program, or a text without headers.
  const auto before = std::make_unique<ProgramArea>(areaOf(dialog));
  TextImportOptions options;
  options.program = dialog.currentProgram;
  const std::vector<TextProblem> problems =
      importProgramText(areaOf(dialog), readProgramText(*text), options);
  if (!problems.empty()) {
    dialog.showWarning(dialog.window,
                       std::wstring(ImportWarning) + L"\r\n" +
                           problemLines(problems, path + L":", path + L": ", MaxWarningProblems),
                       dialog.dialogTitle);
    return;
  }
  dialog.documentState.pushedOff.clear();
  recordSince(dialog, *before, {dialog.currentProgram, dialog.currentLine});
  showChangedProgram(
      dialog, fillIn(loadString(IDS_PROGRAM_IMPORTED), 0, programNameText(dialog.currentProgram)));
}

bool handleListClipboardKey(MainDialog& dialog, WPARAM key) {
  if (!held(VK_CONTROL) || held(VK_MENU) || held(VK_SHIFT)) return false;
  if (key == 'C') {
    copyCurrentLine(dialog);
    return true;
  }
  if (key == 'V') {
    pasteLines(dialog);
    return true;
  }
  return false;
}

bool isClipboardCharacter(WPARAM character) { return character == 0x03 || character == 0x16; }

void showListMenu(MainDialog& dialog, POINT screenPoint) {
  HWND list = programList(dialog);
  if (screenPoint.x == -1 && screenPoint.y == -1) {
    RECT line{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(dialog.currentLine),
                 reinterpret_cast<LPARAM>(&line));
    screenPoint = {line.left, line.bottom};
    ClientToScreen(list, &screenPoint);
  } else {
    POINT client = screenPoint;
    ScreenToClient(list, &client);
    const auto hit =
        static_cast<DWORD>(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y)));
    const int index = LOWORD(hit);
    if (HIWORD(hit) == 0 && index != dialog.currentLine) {
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      onCommand(dialog, IDC_PROGRAM_LIST, LBN_SELCHANGE);
    }
  }
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_LIST_MENU));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  const bool hasLine = lineAt(areaOf(dialog), dialog.currentProgram, dialog.currentLine) != nullptr;
  EnableMenuItem(popup, IDM_COPY_LINE, hasLine ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(popup, IDM_PASTE_LINES,
                 hasLine && IsClipboardFormatAvailable(CF_UNICODETEXT) ? MF_ENABLED : MF_GRAYED);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x,
                 screenPoint.y, 0, dialog.window, nullptr);
  DestroyMenu(menu);
}

}  // namespace vx::ui
