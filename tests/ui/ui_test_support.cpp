#include "ui_test_support.h"

// clang-format off
#include <windows.h>  // before the other Windows headers
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "catalogue/listing.h"
#include "ui/win_text.h"

namespace vx::ui::test {

void setProgramStart(ProgramArea& area, int program, int start) {
  const auto offset = static_cast<std::size_t>(4 + 4 * program);
  area.header[offset] = static_cast<std::uint8_t>(start & 0xFF);
  area.header[offset + 1] = static_cast<std::uint8_t>((start >> 8) & 0xFF);
}

void writeSetupFile(const std::filesystem::path& path, SetupDocument document, int code) {
  // The default settings use selector 0, whose character-code byte is file byte 56.
  ASSERT_GT(document.image.size(), 56u);
  document.image[56] = static_cast<std::uint8_t>(code);
  std::string why;
  ASSERT_EQ(save(document, path, &why), 0) << why;
}

void MainDialogTest::SetUpTestSuite() {
  // The manifest asks for the version 6 common controls; they must be loaded before the dialog.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

void MainDialogTest::SetUp() {
  initialise(document);
  dialog.document = &document;
  dialog.chooseFilePath = [this](HWND, FileDialogKind kind, std::wstring& path) {
    fileDialogsShown.push_back(kind);
    if (chosenPaths.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return false;
    }
    std::optional<std::wstring> choice = chosenPaths.front();
    chosenPaths.erase(chosenPaths.begin());
    if (!choice) return false;
    path = *choice;
    return true;
  };
  dialog.showWarning = [this](HWND, const std::wstring& message, const std::wstring& caption) {
    warnings.push_back(message);
    warningCaptions.push_back(caption);
  };
  dialog.askQuestion = [this](HWND, const std::wstring& text, const std::wstring&, UINT) {
    questions.push_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question";
      return IDCANCEL;
    }
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  };
}

void MainDialogTest::TearDown() {
  if (window != nullptr) DestroyWindow(window);
  pump();
}

void MainDialogTest::open(std::optional<std::wstring> commandLinePath) {
  if (commandLinePath) {
    dialog.filePath = *commandLinePath;
    dialog.fileGiven = !commandLinePath->empty();
  }
  window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                              mainDialogProc, reinterpret_cast<LPARAM>(&dialog));
  ASSERT_NE(window, nullptr) << "CreateDialogParamW failed: " << GetLastError();
  ShowWindow(window, SW_SHOW);
  pump();
}

void MainDialogTest::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (window == nullptr || !IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void MainDialogTest::holdKeys(std::initializer_list<int> keys) {
  std::array<BYTE, 256> state{};
  for (int key : keys) state[static_cast<std::size_t>(key)] = 0x80;
  SetKeyboardState(state.data());
}

void MainDialogTest::ctrlKey(HWND target, wchar_t letter, bool shift) {
  if (shift) {
    holdKeys({VK_CONTROL, VK_SHIFT});
  } else {
    holdKeys({VK_CONTROL});
  }
  SendMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(letter), 0);
  SendMessageW(target, WM_CHAR, static_cast<WPARAM>(letter - L'A' + 1), 0);
  SendMessageW(target, WM_KEYUP, static_cast<WPARAM>(letter), 0);
  releaseKeys();
  pump();
}

void MainDialogTest::showAsLineZero(const ProgramLine& line) {
  storeLine(document.programArea, 0, 0, line);
  if (window == nullptr) {
    open();
  } else {
    post(UM_SHOW_LINE, RebuildPanel);
  }
}

std::wstring MainDialogTest::text(int id) const { return getWideText(id == 0 ? window : item(id)); }

void MainDialogTest::notify(int id, int code) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
  pump();
}

void MainDialogTest::click(int id) {
  SendMessageW(item(id), BM_CLICK, 0, 0);
  pump();
}

void MainDialogTest::chooseInCombo(int id, int index) {
  SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  notify(id, CBN_SELCHANGE);
}

void MainDialogTest::focus(int n) {
  SetFocus(control(n));
  pump();
}

void MainDialogTest::chooseLine(int line) {
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  notify(IDC_PROGRAM_LIST, LBN_SELCHANGE);
}

void MainDialogTest::post(UINT message, WPARAM wParam) {
  PostMessageW(window, message, wParam, 0);
  pump();
}

int MainDialogTest::listCount() const {
  return static_cast<int>(SendMessageW(item(IDC_PROGRAM_LIST), LB_GETCOUNT, 0, 0));
}

int MainDialogTest::listSelection() const {
  return static_cast<int>(SendMessageW(item(IDC_PROGRAM_LIST), LB_GETCURSEL, 0, 0));
}

int MainDialogTest::listTopIndex() const {
  return static_cast<int>(SendMessageW(item(IDC_PROGRAM_LIST), LB_GETTOPINDEX, 0, 0));
}

std::wstring MainDialogTest::listEntry(int index) const {
  return listText(item(IDC_PROGRAM_LIST), index);
}

int MainDialogTest::comboCount(int id) const {
  return static_cast<int>(SendMessageW(item(id), CB_GETCOUNT, 0, 0));
}

int MainDialogTest::comboSelection(int id) const {
  return static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0));
}

std::wstring MainDialogTest::comboEntry(int id, int index) const {
  const auto length = SendMessageW(item(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return L"<none>";
  std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(entry.data()));
  entry.resize(static_cast<std::size_t>(length));
  return entry;
}

std::wstring MainDialogTest::expectedListing(const ProgramLine& line) const {
  ListingText buffer{};
  return sjisToWide(listingText(line, currentCharCode(window), characterDisplayOn(window), buffer));
}

std::wstring listText(HWND list, int index) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return L"<none>";
  std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(entry.data()));
  entry.resize(static_cast<std::size_t>(length));
  return entry;
}

}  // namespace vx::ui::test
