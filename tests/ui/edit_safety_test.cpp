// The editor never loses an edit: overtype in data fields, undo and redo through the keys, the
// modified mark in the title, the questions before closing or loading over unsaved changes and
// before replacing a file changed on disk, the pushed-off lines in the status, Ctrl+S and Ctrl+O.
#include <array>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/modal_driver.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

constexpr int Panel = IDC_PANEL_FIRST;
constexpr const wchar_t* Title = L"VXプログラムエディタ";

class EditSafetyTest : public MainDialogTest {
 protected:
  void TearDown() override {
    releaseKeys();
    MainDialogTest::TearDown();
  }

  // A typed hexadecimal digit or letter: key down, the character, key up.
  void type(HWND target, wchar_t character) {
    const auto key = static_cast<WPARAM>(character >= L'a' ? character - L'a' + L'A' : character);
    SendMessageW(target, WM_KEYDOWN, key, 0);
    SendMessageW(target, WM_CHAR, character, 0);
    SendMessageW(target, WM_KEYUP, key, 0);
    pump();
  }
  void typeText(int n, const wchar_t* digits) {
    for (const wchar_t* c = digits; *c != 0; ++c) type(control(n), *c);
  }

  // Ctrl with a letter in `target` (the focused window when nullptr), with the control character
  // that the keyboard would produce as well.
  void ctrlKey(wchar_t letter, bool shift = false, HWND target = nullptr) {
    MainDialogTest::ctrlKey(target == nullptr ? GetFocus() : target, letter, shift);
  }

  // Sends the command `id` (or runs `trigger`) and runs `action` on the modal window it opens.
  bool whileModal(const std::function<void()>& trigger, const std::function<void(HWND)>& action) {
    const bool ran = vx::test::whileModal(window, trigger, action);
    pump();
    return ran;
  }

  // The lines of all programs (the stored cursors are checked on their own).
  bool sameLines(const ProgramArea& expected) const {
    return document.programArea.slots == expected.slots;
  }

  bool closed() const { return !IsWindowVisible(window); }
};

// ---- overtype

TEST_F(EditSafetyTest, TwoDigitsMoveOnAndTheNextByteIsOvertypedNotEmptied) {
  const ProgramLine line = sendChr({0x41, 0x54, 0x5a, 0x0d});
  storeLine(document.programArea, 0, 0, line);
  open();
  focus(2);
  typeText(2, L"41");
  EXPECT_EQ(stored(0, 0), line) << "the 0x54 stays";
  EXPECT_EQ(controlText(3), L"54");
  EXPECT_EQ(GetFocus(), control(3));
  EXPECT_EQ(text(0), Title) << "the line is as it was: nothing is modified";

  typeText(3, L"42");
  EXPECT_EQ(stored(0, 0), sendChr({0x41, 0x42, 0x5a, 0x0d}));
  EXPECT_EQ(GetFocus(), control(4));
  EXPECT_EQ(controlText(4), L"5a");
  EXPECT_EQ(listEntry(0), expectedListing(stored(0, 0)));

  // A new sequence into empty fields works as it always did.
  storeLine(document.programArea, 0, 1, sendChr({}));
  post(UM_NEXT_LINE);
  focus(2);
  typeText(2, L"31");
  typeText(3, L"32");
  typeText(4, L"3");
  EXPECT_EQ(stored(0, 1), sendChr({0x31, 0x32, 0x03}));
  EXPECT_EQ(GetFocus(), control(4));
  EXPECT_EQ(controlText(5), L"");
}

// ---- undo and redo

TEST_F(EditSafetyTest, DigitOnTheSelectorThenCtrlZRestoresTheLineAndItsBytes) {
  const ProgramLine line = sendChr({0x41, 0x54, 0x5a, 0x0d});
  storeLine(document.programArea, 0, 0, line);
  open();
  focus(0);
  SendMessageW(control(0), WM_KEYDOWN, '3', 0);
  SendMessageW(control(0), WM_KEYUP, '3', 0);
  pump();
  ASSERT_EQ(stored(0, 0), gotoLine(0));
  ASSERT_EQ(GetFocus(), control(2));
  typeText(2, L"12");  // the same run of keys in the same line
  ASSERT_EQ(stored(0, 0), gotoLine(12));
  EXPECT_EQ(text(0), L"無題* - VXプログラムエディタ");

  // Ctrl+Z in the label field is the document's undo, not the edit control's own.
  ctrlKey(L'Z');
  EXPECT_EQ(stored(0, 0), line);
  EXPECT_EQ(listEntry(0), expectedListing(line));
  EXPECT_EQ(comboSelection(Panel), 1);
  EXPECT_EQ(controlText(2), L"41");
  EXPECT_EQ(controlText(3), L"54");
  EXPECT_EQ(controlText(5), L"0d");
  EXPECT_EQ(text(IDC_STATUS), L"元に戻しました。");
  EXPECT_EQ(text(0), Title);

  ctrlKey(L'Y');
  EXPECT_EQ(stored(0, 0), gotoLine(12));
  EXPECT_EQ(text(IDC_STATUS), L"やり直しました。");
  ctrlKey(L'Y');
  EXPECT_EQ(text(IDC_STATUS), L"やり直す変更はありません。");
}

TEST_F(EditSafetyTest, UndoAndRedoAcrossLineOperationsDirectInputAndPrograms) {
  ProgramArea& area = document.programArea;
  for (int i = 0; i < 6; ++i) storeLine(area, 0, i, gotoLine(100 + i));
  storeLine(area, 0, 511, gotoLine(511));
  for (int i = 0; i < 6; ++i) storeLine(area, 1, i, gotoLine(200 + i));
  storeLine(area, 1, 2, sendChr({0x31}));
  setCursor(area, 2, 4);
  dialog.runMoveCopy = [](HWND, ProgramArea& owned, const MoveCopyView&) {
    MoveCopyResult result{0, {0, 1}, 1, 4, false, {}};
    moveCopyLines(owned, 0, result.sourceLines, 1, 4, false, &result.pushedOff);
    return std::optional<MoveCopyResult>{result};
  };
  open();
  std::vector<ProgramArea> states = {area};

  chooseLine(3);  // A line 3
  click(IDC_INSERT_LINE);
  states.push_back(area);
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  chooseLine(1);
  click(IDC_DELETE_LINE);  // B line 1
  states.push_back(area);
  click(IDC_MOVE_COPY);  // A lines 0 and 1 copied to B line 4
  states.push_back(area);
  chooseLine(1);  // B line 1: the SEND CHR line, after the delete
  ASSERT_EQ(stored(1, 1), sendChr({0x31}));
  ASSERT_TRUE(whileModal([&] { notify(IDC_DIRECT_INPUT, BN_CLICKED); },
                         [](HWND input) {
                           setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"AB");
                           SendMessageW(GetDlgItem(input, IDOK), BM_CLICK, 0, 0);
                         }));
  pump();
  ASSERT_EQ(stored(1, 1), sendChr({0x41, 0x42}));
  states.push_back(area);
  const std::array<int, 4> cursors = {cursor(area, 0), cursor(area, 1), cursor(area, 2),
                                      cursor(area, 3)};

  // Another program is shown when the undoing begins, from the program list.
  chooseInCombo(IDC_PROGRAM_SELECT, 2);
  SetFocus(item(IDC_PROGRAM_LIST));
  struct Shown {
    int program;
    int line;
  };
  // Where each step was made: insert A3, delete B1, copy into B4, direct input B1.
  const std::array<Shown, 4> places = {{{0, 3}, {1, 1}, {1, 4}, {1, 1}}};
  for (std::size_t k = places.size(); k-- > 0;) {
    SCOPED_TRACE("undo of step " + std::to_string(k + 1));
    ctrlKey(L'Z', false, item(IDC_PROGRAM_LIST));
    EXPECT_TRUE(sameLines(states[k]));
    EXPECT_EQ(dialog.currentProgram, places[k].program);
    EXPECT_EQ(comboSelection(IDC_PROGRAM_SELECT), places[k].program);
    EXPECT_EQ(dialog.currentLine, places[k].line);
    EXPECT_EQ(listSelection(), places[k].line);
    EXPECT_EQ(listEntry(places[k].line),
              expectedListing(stored(places[k].program, places[k].line)));
    for (int p = 0; p < 4; ++p)
      EXPECT_EQ(cursor(area, p), cursors[static_cast<std::size_t>(p)]) << "cursor " << p;
  }
  EXPECT_EQ(stored(0, 511), gotoLine(511)) << "the line the insert pushed off is back";
  ctrlKey(L'Z', false, item(IDC_PROGRAM_LIST));
  EXPECT_EQ(text(IDC_STATUS), L"元に戻す変更はありません。");

  // Redo with Ctrl+Y and Ctrl+Shift+Z in turn.
  for (std::size_t k = 0; k < places.size(); ++k) {
    SCOPED_TRACE("redo of step " + std::to_string(k + 1));
    ctrlKey(k % 2 == 0 ? L'Y' : L'Z', k % 2 == 1, item(IDC_PROGRAM_LIST));
    EXPECT_TRUE(sameLines(states[k + 1]));
    EXPECT_EQ(dialog.currentProgram, places[k].program);
    EXPECT_EQ(listEntry(places[k].line),
              expectedListing(stored(places[k].program, places[k].line)));
  }
  // The panel shows the redone direct input.
  EXPECT_EQ(controlText(2), L"41");
  EXPECT_EQ(controlText(3), L"42");
}

TEST_F(EditSafetyTest, UndoKeepsTheListsTopIndex) {
  storeLine(document.programArea, 0, 40, gotoLine(1));
  open();
  chooseLine(40);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 30, 0);
  focus(0);
  SendMessageW(control(0), WM_KEYDOWN, '0', 0);
  pump();
  ASSERT_EQ(stored(0, 40), ProgramLine{});
  ctrlKey(L'Z');
  EXPECT_EQ(stored(0, 40), gotoLine(1));
  EXPECT_EQ(listTopIndex(), 30);
  EXPECT_EQ(listSelection(), 40);
}

// ---- the title, Ctrl+S and the file changed on disk

class FileEditTest : public EditSafetyTest {
 protected:
  void SetUp() override {
    EditSafetyTest::SetUp();
    path = directory.path() / L"sample.su";
    SetupDocument sample;
    initialise(sample);
    storeLine(sample.programArea, 0, 0, gotoLine(5));
    writeSetupFile(path, sample, 0);
  }

  // Types a label into line 0 (a GOTO line) of program A.
  void editLabel(const wchar_t* digits) {
    focus(2);
    SendMessageW(control(2), EM_SETSEL, 0, -1);
    typeText(2, digits);
  }

  SetupDocument reloaded() const {
    SetupDocument copy;
    initialise(copy);
    EXPECT_EQ(load(copy, path), 0);
    return copy;
  }

  TempFolder directory;
  std::filesystem::path path;
};

TEST_F(FileEditTest, TitleMarksChangesUntilSavedOrUndoneToTheSavedState) {
  open(path.wstring());
  EXPECT_EQ(text(0), L"sample.su - VXプログラムエディタ");
  editLabel(L"7");
  EXPECT_EQ(text(0), L"sample.su* - VXプログラムエディタ");

  // Ctrl+S writes the file at once, without a file dialog.
  ctrlKey(L'S');
  EXPECT_TRUE(fileDialogsShown.empty());
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(text(0), L"sample.su - VXプログラムエディタ");
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをセーブしました。");
  EXPECT_EQ(*lineAt(reloaded().programArea, 0, 0), gotoLine(7));

  editLabel(L"9");
  EXPECT_EQ(text(0), L"sample.su* - VXプログラムエディタ");
  ctrlKey(L'Z');
  EXPECT_EQ(stored(0, 0), gotoLine(7));
  EXPECT_EQ(text(0), L"sample.su - VXプログラムエディタ") << "back at the saved state";
  ctrlKey(L'Z');
  EXPECT_EQ(stored(0, 0), gotoLine(5));
  EXPECT_EQ(text(0), L"sample.su* - VXプログラムエディタ") << "before the saved state";

  // The save button keeps its dialog; the chosen file becomes the document's.
  const auto other = directory.path() / L"other.su";
  chosenPaths = {other.wstring()};
  click(IDC_SAVE);
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Save});
  EXPECT_EQ(text(0), L"other.su - VXプログラムエディタ");
}

TEST_F(FileEditTest, CtrlSWithoutAFileAsksForOneAndCtrlOLoads) {
  storeLine(document.programArea, 0, 0, gotoLine(1));
  open();
  editLabel(L"3");
  chosenPaths = {std::nullopt};
  ctrlKey(L'S');
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Save});
  EXPECT_EQ(text(0), L"無題* - VXプログラムエディタ");

  // Ctrl+O acts as the load button: the unsaved change is asked about first.
  answers = {IDNO};
  chosenPaths = {path.wstring()};
  SetFocus(item(IDC_PROGRAM_LIST));
  ctrlKey(L'O');
  EXPECT_EQ(questions, std::vector<std::wstring>{L"変更を保存しますか?"});
  EXPECT_EQ(fileDialogsShown.back(), FileDialogKind::Open);
  EXPECT_EQ(stored(0, 0), gotoLine(5));
  EXPECT_EQ(text(0), L"sample.su - VXプログラムエディタ");
  // Loading cleared the history.
  ctrlKey(L'Z', false, item(IDC_PROGRAM_LIST));
  EXPECT_EQ(stored(0, 0), gotoLine(5));
  EXPECT_EQ(text(IDC_STATUS), L"元に戻す変更はありません。");
}

TEST_F(FileEditTest, AFileChangedOnDiskIsAskedAboutBeforeItIsReplaced) {
  open(path.wstring());
  editLabel(L"8");
  // Someone else writes the file meanwhile.
  SetupDocument theirs;
  initialise(theirs);
  storeLine(theirs.programArea, 0, 0, gotoLine(44));
  writeSetupFile(path, theirs, 0);
  const std::vector<std::uint8_t> theirBytes = readBytes(path);

  answers = {IDNO};
  ctrlKey(L'S');
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0],
            L"sample.su\r\n\r\nこのファイルは読み込みまたは保存の後に他で変更されています。"
            L"\r\n上書きしますか?");
  EXPECT_EQ(readBytes(path), theirBytes);
  EXPECT_EQ(text(0), L"sample.su* - VXプログラムエディタ");

  answers = {IDYES};
  ctrlKey(L'S');
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(*lineAt(reloaded().programArea, 0, 0), gotoLine(8));
  EXPECT_EQ(text(0), L"sample.su - VXプログラムエディタ");

  // Unchanged since our own save: no question.
  editLabel(L"9");
  ctrlKey(L'S');
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(*lineAt(reloaded().programArea, 0, 0), gotoLine(9));

  // The save button asks the same when its dialog names the document's file.
  writeSetupFile(path, theirs, 0);
  editLabel(L"3");
  answers = {IDNO};
  chosenPaths = {path.wstring()};
  click(IDC_SAVE);
  EXPECT_EQ(questions.size(), 3u);
  EXPECT_EQ(readBytes(path), theirBytes);
}

// ---- closing and loading over unsaved changes

TEST_F(FileEditTest, CloseAsksAboutUnsavedChangesAndFollowsTheAnswer) {
  struct CloseCase {
    const char* name;
    std::vector<int> answers;
    std::vector<std::optional<std::wstring>> savePaths;  // the save dialog's answers
    bool closes;
    bool saved;
  };
  const auto target = directory.path() / L"saved.su";
  const std::vector<CloseCase> cases = {
      {"cancel", {IDCANCEL}, {}, false, false},
      {"yes, save dialog cancelled", {IDYES}, {std::nullopt}, false, false},
      {"yes, saved", {IDYES}, {target.wstring()}, true, true},
      {"no", {IDNO}, {}, true, false},
  };
  for (const CloseCase& c : cases) {
    for (const bool altF4 : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (altF4 ? " (Alt+F4)" : " (WM_CLOSE)"));
      initialise(document);
      std::filesystem::remove(target);
      questions.clear();
      fileDialogsShown.clear();
      storeLine(document.programArea, 0, 0, gotoLine(1));
      open();
      // Nothing changed: no question.
      SendMessageW(window, WM_CLOSE, 0, 0);
      pump();
      ASSERT_TRUE(closed());
      EXPECT_TRUE(questions.empty());
      DestroyWindow(window);
      open();

      editLabel(L"6");
      answers = c.answers;
      chosenPaths = c.savePaths;
      if (altF4) {
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      } else {
        SendMessageW(window, WM_CLOSE, 0, 0);
      }
      pump();
      EXPECT_EQ(questions, std::vector<std::wstring>{L"変更を保存しますか?"});
      EXPECT_EQ(closed(), c.closes);
      EXPECT_EQ(std::filesystem::exists(target), c.saved);
      EXPECT_EQ(fileDialogsShown.size(), c.savePaths.size());
      EXPECT_EQ(stored(0, 0), gotoLine(6));
      DestroyWindow(window);
      window = nullptr;
    }
  }
}

TEST_F(FileEditTest, CloseQuestionIsARealMessageBoxWithTheFileName) {
  open(path.wstring());
  editLabel(L"6");
  dialog.askQuestion = questionBox;
  for (const int button : {IDCANCEL, IDNO}) {
    SCOPED_TRACE(button);
    std::wstring shown;
    std::wstring caption;
    ASSERT_TRUE(whileModal([&] { SendMessageW(window, WM_CLOSE, 0, 0); },
                           [&](HWND box) {
                             caption = getWideText(box);
                             shown = getWideText(GetDlgItem(box, 0xFFFF));
                             SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
                           }));
    EXPECT_EQ(caption, Title);
    EXPECT_EQ(shown, L"sample.su\r\n\r\n変更を保存しますか?");
    EXPECT_EQ(closed(), button == IDNO);
  }
}

TEST_F(FileEditTest, LoadAsksAboutUnsavedChangesAndFollowsTheAnswer) {
  storeLine(document.programArea, 0, 0, gotoLine(1));
  open();
  editLabel(L"6");

  answers = {IDCANCEL};
  click(IDC_LOAD);
  EXPECT_TRUE(fileDialogsShown.empty()) << "cancel: no file dialog";
  EXPECT_EQ(stored(0, 0), gotoLine(6));

  answers = {IDYES};
  chosenPaths = {std::nullopt};
  click(IDC_LOAD);
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Save})
      << "yes: the save dialog, cancelled, and no load";
  EXPECT_EQ(stored(0, 0), gotoLine(6));

  answers = {IDNO};
  chosenPaths = {path.wstring()};
  click(IDC_LOAD);
  EXPECT_EQ(fileDialogsShown.back(), FileDialogKind::Open);
  EXPECT_EQ(stored(0, 0), gotoLine(5));
  EXPECT_EQ(questions.size(), 3u);
  EXPECT_EQ(text(0), L"sample.su - VXプログラムエディタ");

  // Without changes nothing is asked.
  chosenPaths = {path.wstring()};
  click(IDC_LOAD);
  EXPECT_EQ(questions.size(), 3u);
}

// ---- lines pushed off a program's end

TEST_F(EditSafetyTest, InsertReportsThePushedOffLineAndUndoBringsItBack) {
  storeLine(document.programArea, 0, 511, gotoLine(9));
  open();
  chooseLine(10);
  click(IDC_INSERT_LINE);
  EXPECT_EQ(stored(0, 511), ProgramLine{});
  EXPECT_EQ(text(IDC_STATUS),
            L"プログラムの末尾から1行が押し出されました(元の行: A511)。\r\nCtrl+Zで元に戻せます。");
  ctrlKey(L'Z');
  EXPECT_EQ(stored(0, 511), gotoLine(9));
  EXPECT_EQ(listEntry(511), L" GOTO L009");
  EXPECT_EQ(listSelection(), 10);

  // An empty last line goes without a word: the status is the instruction selector's guidance,
  // as after every insert.
  ctrlKey(L'Y');
  click(IDC_INSERT_LINE);
  EXPECT_EQ(stored(0, 511), ProgramLine{});
  EXPECT_EQ(text(IDC_STATUS), loadString(IDS_INSTRUCTION_KEYS));
}

TEST(PushedOffText, NamesRunsOfFormerLinesPerProgram) {
  auto lines = [](std::initializer_list<std::pair<int, int>> places) {
    PushedOffLines result;
    for (const auto& [program, index] : places) result.push_back({program, index, gotoLine(1)});
    return result;
  };
  EXPECT_EQ(pushedOffText({}), L"");
  const std::wstring text = pushedOffText(lines({{0, 509}, {0, 510}, {0, 511}, {1, 3}, {1, 5}}));
  EXPECT_NE(text.find(L"5行"), std::wstring::npos) << wideToSjis(text);
  EXPECT_NE(text.find(L"(元の行: A509-511, B3, B5)"), std::wstring::npos) << wideToSjis(text);
  const std::wstring many =
      pushedOffText(lines({{0, 1}, {0, 3}, {0, 5}, {0, 7}, {0, 9}, {0, 11}, {0, 13}}));
  EXPECT_NE(many.find(L"A1, A3, A5, A7, A9, A11, ...)"), std::wstring::npos) << wideToSjis(many);
}

}  // namespace
}  // namespace vx::ui::test
