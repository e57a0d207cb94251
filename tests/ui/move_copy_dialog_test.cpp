// The move and copy dialog (template 103): its template, its dialog procedure and the way the
// main dialog runs it.
#include "ui/move_copy_dialog.h"

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "secondary_dialog_fixture.h"

namespace vx::ui::test {
namespace {

// clang-format off
const std::array<TemplateControl, 14> MoveCopyControls = {{
    {-1,                      L"Static",   LeftText,              false, L"移動・コピー元",           {5, 5, 43, 8}},
    {-1,                      L"Static",   LeftText,              false, L"プログラム選択(&E):",      {5, 23, 55, 8}},
    {IDC_SOURCE_PROGRAM,      L"ComboBox", DropDownList,          false, L"A",                        {65, 20, 20, 65}},
    {-1,                      L"Static",   LeftText,              false, L"プログラムリスト(&S):",    {5, 40, 58, 8}},
    {IDC_SOURCE_LIST,         L"ListBox",  ExtendedSelectionList, true,  L"",                         {5, 50, 140, 195}},
    {-1,                      L"Static",   LeftText,              false, L"移動・コピー先",           {160, 5, 43, 8}},
    {-1,                      L"Static",   LeftText,              false, L"プログラム選択(&L):",      {160, 23, 55, 8}},
    {IDC_DESTINATION_PROGRAM, L"ComboBox", DropDownList,          false, L"A",                        {220, 20, 20, 65}},
    {-1,                      L"Static",   LeftText,              false, L"プログラムリスト(&D):",    {160, 40, 58, 8}},
    {IDC_DESTINATION_LIST,    L"ListBox",  SingleSelectionList,   true,  L"",                         {160, 50, 140, 195}},
    {IDC_MOVE,                L"Button",   PushButton,            false, L"移動(&U)",                 {195, 250, 50, 14}},
    {IDC_COPY,                L"Button",   PushButton,            false, L"コピー(&O)",               {250, 250, 50, 14}},
    {IDCANCEL,                L"Button",   PushButton,            false, L"ｷｬﾝｾﾙ",                    {250, 270, 50, 14}},
    {-1,                      L"Static",   LeftText,              false,
     L"こちらで移動・コピーをする行を選択します。\r\nShiftキーで範囲選択、Ctrlキーで個別選択が\r\n可能となっています。",
     {5, 250, 140, 30}},
}};
// clang-format on

// ---------------------------------------------------------------------------------------------
// Move and copy

TEST_F(SecondaryDialogTest, MoveCopyTemplateHoldsItsControlsInTabOrder) {
  open();
  MoveCopySession session{document.programArea, MoveCopyView{}, std::nullopt};
  modeless = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MOVE_COPY), window,
                                moveCopyDialogProc, reinterpret_cast<LPARAM>(&session));
  ASSERT_NE(modeless, nullptr);
  expectDialogTemplate(modeless, L"移動・コピー", SIZE{303, 286}, MoveCopyControls);
  DestroyWindow(modeless);
  modeless = nullptr;
}

TEST_F(SecondaryDialogTest, MoveCopyStartsOnTheMainProgramScrolledToTheMainListsTop) {
  ProgramArea& area = document.programArea;
  storeLine(area, 1, 35, sendChr({0x41, 0x42}));
  storeLine(area, 1, 36, gotoLine(36));
  open();
  click(IDC_CHAR_DISPLAY);
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  chooseLine(40);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 30, 0);
  ASSERT_EQ(listTopIndex(), 30);
  showStatus(window, IDS_LOADED);

  ASSERT_TRUE(whileOpen(IDC_MOVE_COPY, [&](HWND moveCopy) {
    EXPECT_EQ(getWideText(moveCopy), L"移動・コピー");
    EXPECT_FALSE(IsWindowEnabled(window)) << "modal: the main dialog takes no input";
    for (const int selectorId : {IDC_SOURCE_PROGRAM, IDC_DESTINATION_PROGRAM}) {
      HWND selector = GetDlgItem(moveCopy, selectorId);
      ASSERT_EQ(sendInt(selector, CB_GETCOUNT), 4);
      for (int p = 0; p < 4; ++p) {
        std::array<wchar_t, 8> name{};
        SendMessageW(selector, CB_GETLBTEXT, static_cast<WPARAM>(p),
                     reinterpret_cast<LPARAM>(name.data()));
        EXPECT_EQ(std::wstring(name.data()), std::wstring(1, static_cast<wchar_t>(L'A' + p)));
      }
      EXPECT_EQ(sendInt(selector, CB_GETCURSEL), 1);
    }
    HWND source = GetDlgItem(moveCopy, IDC_SOURCE_LIST);
    HWND destination = GetDlgItem(moveCopy, IDC_DESTINATION_LIST);
    for (HWND list : {source, destination}) {
      EXPECT_EQ(sendInt(list, LB_GETCOUNT), 512);
      EXPECT_EQ(sendInt(list, LB_GETTOPINDEX), 30);
      EXPECT_EQ(listText(list, 35), L" SEND CHR A B ") << "the main dialog's display settings";
      EXPECT_EQ(listText(list, 36), L" GOTO L036");
    }
    EXPECT_EQ(sendInt(source, LB_GETSELCOUNT), 0);
    EXPECT_EQ(sendInt(destination, LB_GETCURSEL), 40) << "the stored cursor of B";
    EXPECT_EQ(GetFocus(), GetDlgItem(moveCopy, IDC_SOURCE_PROGRAM));

    // Each side follows its own selector; the destination takes the program's stored cursor.
    setCursor(area, 2, 7);
    chooseProgram(moveCopy, IDC_DESTINATION_PROGRAM, 2);
    EXPECT_EQ(sendInt(destination, LB_GETCURSEL), 7);
    EXPECT_EQ(listText(destination, 36), L" NOP");
    EXPECT_EQ(listText(source, 36), L" GOTO L036");
    SendMessageW(source, LB_SETSEL, TRUE, 3);
    chooseProgram(moveCopy, IDC_SOURCE_PROGRAM, 0);
    EXPECT_EQ(sendInt(source, LB_GETSELCOUNT), 0);
    EXPECT_EQ(listText(source, 36), L" NOP");
    EXPECT_EQ(sendInt(GetDlgItem(moveCopy, IDC_DESTINATION_PROGRAM), CB_GETCURSEL), 2);

    pressButton(moveCopy, IDCANCEL);
  }));
  EXPECT_EQ(moveCopyRuns, 1);
  EXPECT_EQ(moveCopyViewSeen, (MoveCopyView{1, 30, CharCode{0}, true})) << "the main dialog's view";
  EXPECT_EQ(moveCopyResult, std::nullopt);
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをロードしました。");
  EXPECT_EQ(cursor(area, 1), 40);
  EXPECT_EQ(cursor(area, 2), 7);
}

// Lines of the programs before each move/copy case: A holds GOTO L100..L109 at lines 0..9 and
// GOTO L510/L511 at its last two lines, B GOTO L200..L204 at 0..4, C GOTO L300/L301 at 0..1.
// Expected lines are given as GOTO labels, 0 for an empty line.
struct MoveCopyCase {
  const char* name;
  int button;
  int sourceProgram;
  std::vector<int> selected;
  int destinationProgram;
  int destinationLine;
  std::vector<int> expectedA;  // lines 0.. of A
  int expectedA510;
  int expectedA511;
  std::vector<int> expectedB;  // lines 0.. of B
  std::vector<int> expectedC;  // lines 0.. of C
  const wchar_t* pushedOff;    // the former places of the lines pushed off, in the status
};

void PrintTo(const MoveCopyCase& c, std::ostream* out) { *out << c.name; }

ProgramLine lineFor(int label) { return label == 0 ? ProgramLine{} : gotoLine(label); }

// clang-format off
const MoveCopyCase MoveCopyCases[] = {
    {"move_within_A", IDC_MOVE, 0, {2, 5}, 0, 8,
     {100, 101, 103, 104, 106, 107, 102, 105, 108, 109, 0}, 510, 511,
     {200, 201, 202, 203, 204, 0}, {300, 301, 0}, nullptr},
    {"copy_within_A", IDC_COPY, 0, {2, 5}, 0, 8,
     {100, 101, 102, 103, 104, 105, 106, 107, 102, 105, 108, 109, 0}, 0, 0,
     {200, 201, 202, 203, 204, 0}, {300, 301, 0}, L"A510-511"},
    {"copy_from_A_to_B", IDC_COPY, 0, {2, 5}, 1, 3,
     {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 0}, 510, 511,
     {200, 201, 202, 102, 105, 203, 204, 0}, {300, 301, 0}, nullptr},
    {"move_from_A_to_B", IDC_MOVE, 0, {0, 9}, 1, 0,
     {101, 102, 103, 104, 105, 106, 107, 108, 0}, 0, 0,
     {100, 109, 200, 201, 202, 203, 204, 0}, {300, 301, 0}, nullptr},
    {"move_from_C_to_A", IDC_MOVE, 2, {0, 1}, 0, 0,
     {300, 301, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 0}, 0, 0,
     {200, 201, 202, 203, 204, 0}, {0, 0}, L"A510-511"},
};
// clang-format on

class MoveCopyTest : public SecondaryDialogTest,
                     public ::testing::WithParamInterface<MoveCopyCase> {
 protected:
  void SetUp() override {
    SecondaryDialogTest::SetUp();
    ProgramArea& area = document.programArea;
    for (int i = 0; i < 10; ++i) storeLine(area, 0, i, gotoLine(100 + i));
    storeLine(area, 0, 510, gotoLine(510));
    storeLine(area, 0, 511, gotoLine(511));
    for (int i = 0; i < 5; ++i) storeLine(area, 1, i, gotoLine(200 + i));
    storeLine(area, 2, 0, gotoLine(300));
    storeLine(area, 2, 1, gotoLine(301));
  }

  void expectProgram(int program, const std::vector<int>& labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(*lineAt(document.programArea, program, static_cast<int>(i)), lineFor(labels[i]))
          << "program " << program << " line " << i;
    }
  }
};

TEST_P(MoveCopyTest, CarriesOutAndTheMainDialogRelistsKeepingViewAndLine) {
  const MoveCopyCase& c = GetParam();
  open();
  chooseLine(30);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 5, 0);
  ASSERT_EQ(listTopIndex(), 5);
  // The main list shows A before the change.
  ASSERT_EQ(listEntry(6), L" GOTO L106");

  ASSERT_TRUE(whileOpen(IDC_MOVE_COPY, [&](HWND moveCopy) {
    if (c.sourceProgram != 0) chooseProgram(moveCopy, IDC_SOURCE_PROGRAM, c.sourceProgram);
    if (c.destinationProgram != 0)
      chooseProgram(moveCopy, IDC_DESTINATION_PROGRAM, c.destinationProgram);
    for (const int line : c.selected)
      SendMessageW(GetDlgItem(moveCopy, IDC_SOURCE_LIST), LB_SETSEL, TRUE, line);
    SendMessageW(GetDlgItem(moveCopy, IDC_DESTINATION_LIST), LB_SETCURSEL,
                 static_cast<WPARAM>(c.destinationLine), 0);
    pressButton(moveCopy, c.button);
  }));
  ASSERT_TRUE(moveCopyResult.has_value());
  EXPECT_EQ(moveCopyResult->sourceProgram, c.sourceProgram);
  EXPECT_EQ(moveCopyResult->sourceLines, c.selected);
  EXPECT_EQ(moveCopyResult->destinationProgram, c.destinationProgram);
  EXPECT_EQ(moveCopyResult->destinationLine, c.destinationLine);
  EXPECT_EQ(moveCopyResult->move, c.button == IDC_MOVE);
  // Every pushed-off line of the cases is A510-511.
  const PushedOffLines pushedOff = {{0, 510, gotoLine(510)}, {0, 511, gotoLine(511)}};
  EXPECT_EQ(moveCopyResult->pushedOff, c.pushedOff != nullptr ? pushedOff : PushedOffLines{});

  expectProgram(0, c.expectedA);
  EXPECT_EQ(*lineAt(document.programArea, 0, 510), lineFor(c.expectedA510));
  EXPECT_EQ(*lineAt(document.programArea, 0, 511), lineFor(c.expectedA511));
  expectProgram(1, c.expectedB);
  expectProgram(2, c.expectedC);

  // The main dialog lists A again, keeping its view and its line; the cursors stay.
  ASSERT_EQ(listCount(), 512);
  for (const int index : {0, 1, 2, 6, 7, 8, 9, 510, 511})
    EXPECT_EQ(listEntry(index), lineListing(0, index)) << "line " << index;
  EXPECT_EQ(listTopIndex(), 5);
  EXPECT_EQ(listSelection(), 30);
  EXPECT_EQ(dialog.currentLine, 30);
  EXPECT_EQ(dialog.currentProgram, 0);
  // Non-empty lines pushed off a program's end are named after the status text.
  std::wstring status = L"移動・コピーを実行しました。";
  if (c.pushedOff != nullptr) {
    status += L"\r\n\r\nプログラムの末尾から2行が押し出されました(元の行: " +
              std::wstring(c.pushedOff) + L")。\r\nCtrl+Zで元に戻せます。";
  }
  EXPECT_EQ(text(IDC_STATUS), status);
  EXPECT_EQ(cursor(document.programArea, 0), 30);
  EXPECT_EQ(cursor(document.programArea, 1), 0);
  EXPECT_EQ(cursor(document.programArea, 2), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveCopyTest, ::testing::ValuesIn(MoveCopyCases),
                         caseName<MoveCopyCase>);

TEST_F(SecondaryDialogTest, MoveCopyTakesTheFirst256SelectedLines) {
  ProgramArea& area = document.programArea;
  for (int i = 0; i < 300; ++i) storeLine(area, 0, i, gotoLine(i + 1));
  storeLine(area, 1, 0, gotoLine(900));
  open();
  ASSERT_TRUE(whileOpen(IDC_MOVE_COPY, [&](HWND moveCopy) {
    chooseProgram(moveCopy, IDC_DESTINATION_PROGRAM, 1);
    HWND source = GetDlgItem(moveCopy, IDC_SOURCE_LIST);
    SendMessageW(source, LB_SELITEMRANGEEX, 0, 299);
    ASSERT_EQ(sendInt(source, LB_GETSELCOUNT), 300);
    SendMessageW(GetDlgItem(moveCopy, IDC_DESTINATION_LIST), LB_SETCURSEL, 0, 0);
    pressButton(moveCopy, IDC_COPY);
  }));
  ASSERT_TRUE(moveCopyResult.has_value());
  ASSERT_EQ(moveCopyResult->sourceLines.size(), 256u);
  EXPECT_EQ(moveCopyResult->sourceLines.front(), 0);
  EXPECT_EQ(moveCopyResult->sourceLines.back(), 255);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(*lineAt(area, 1, i), gotoLine(i + 1)) << "line " << i;
  EXPECT_EQ(*lineAt(area, 1, 256), gotoLine(900));
  EXPECT_EQ(*lineAt(area, 1, 257), ProgramLine{});
  EXPECT_EQ(*lineAt(area, 0, 299), gotoLine(300)) << "a copy leaves the source alone";
}

struct NothingDoneCase {
  const char* name;
  bool selectSource;
  UINT message;  // WM_COMMAND: press button `id`; WM_KEYDOWN: press key `id`; WM_CLOSE: close box
  int id;
};

TEST_F(SecondaryDialogTest, MoveCopyCancelledOrWithoutSourceLinesChangesNothingAndShowsNoStatus) {
  // clang-format off
  constexpr NothingDoneCase cases[] = {
      {"move without selection", false, WM_COMMAND, IDC_MOVE},
      {"copy without selection", false, WM_COMMAND, IDC_COPY},
      {"cancel",                 true,  WM_COMMAND, IDCANCEL},
      {"close box",              true,  WM_CLOSE,   0},
      {"escape",                 true,  WM_KEYDOWN, VK_ESCAPE},
  };
  // clang-format on
  ProgramArea& area = document.programArea;
  for (int i = 0; i < 10; ++i) storeLine(area, 0, i, gotoLine(100 + i));
  open();
  chooseLine(4);
  showStatus(window, IDS_SAVED);
  const ProgramArea before = area;
  for (const auto& [name, selectSource, message, id] : cases) {
    SCOPED_TRACE(name);
    moveCopyRuns = 0;
    moveCopyResult = MoveCopyResult{};
    ASSERT_TRUE(whileOpen(IDC_MOVE_COPY, [&](HWND moveCopy) {
      if (selectSource) SendMessageW(GetDlgItem(moveCopy, IDC_SOURCE_LIST), LB_SETSEL, TRUE, 2);
      SendMessageW(GetDlgItem(moveCopy, IDC_DESTINATION_LIST), LB_SETCURSEL, 8, 0);
      if (message == WM_CLOSE) {
        SendMessageW(moveCopy, WM_SYSCOMMAND, SC_CLOSE, 0);
      } else if (message == WM_KEYDOWN) {
        pressKey(static_cast<WPARAM>(id));
      } else {
        pressButton(moveCopy, id);
      }
    }));
    EXPECT_EQ(moveCopyRuns, 1);
    EXPECT_EQ(moveCopyResult, std::nullopt);
    EXPECT_EQ(area.header, before.header);
    EXPECT_TRUE(area.slots == before.slots);
    EXPECT_EQ(text(IDC_STATUS), L"プログラムをセーブしました。");
    EXPECT_EQ(dialog.currentLine, 4);
  }
}

TEST_F(SecondaryDialogTest, MoveCopyButtonsDoNothingWithoutADestinationLine) {
  ProgramArea& area = document.programArea;
  for (int i = 0; i < 10; ++i) storeLine(area, 0, i, gotoLine(100 + i));
  open();
  const ProgramArea before = area;
  ASSERT_TRUE(whileOpen(IDC_MOVE_COPY, [&](HWND moveCopy) {
    SendMessageW(GetDlgItem(moveCopy, IDC_SOURCE_LIST), LB_SETSEL, TRUE, 2);
    SendMessageW(GetDlgItem(moveCopy, IDC_DESTINATION_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1),
                 0);
    for (const int id : {IDC_MOVE, IDC_COPY}) {
      pressButton(moveCopy, id);
      EXPECT_TRUE(IsWindowVisible(moveCopy)) << "the dialog stays open";
    }
    EXPECT_TRUE(area.slots == before.slots);
    pressButton(moveCopy, IDCANCEL);
  }));
  EXPECT_EQ(moveCopyRuns, 1);
  EXPECT_EQ(moveCopyResult, std::nullopt);
  EXPECT_TRUE(area.slots == before.slots);
}

}  // namespace
}  // namespace vx::ui::test
