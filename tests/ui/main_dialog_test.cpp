// The main dialog at start-up and under its commands, driven through window messages.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

constexpr const wchar_t* Title = L"VXプログラムエディタ";

// clang-format off
const std::array<TemplateControl, 17> TemplateControls = {{
    {-1,                   L"Static",   LeftText,            false, L"プログラム選択(&S):",     {5, 8, 55, 8}},
    {IDC_PROGRAM_SELECT,   L"ComboBox", DropDownList,        false, L"",                        {65, 5, 20, 65}},
    {-1,                   L"Static",   LeftText,            false, L"プログラムリスト(&T):",   {5, 25, 58, 8}},
    {IDC_PROGRAM_LIST,     L"ListBox",  SingleSelectionList, false, L"",                        {5, 35, 140, 220}},
    {IDC_LOAD,             L"Button",   PushButton,          false, L"ロード(&L)...",           {150, 10, 50, 14}},
    {IDC_SAVE,             L"Button",   PushButton,          false, L"セーブ(&A)...",           {205, 10, 50, 14}},
    {IDC_STATUS,           L"Static",   LeftText,            false, L"",                        {150, 35, 105, 115}},
    {IDC_CHAR_DISPLAY,     L"Button",   AutoCheckBox,        false, L"キャラクタ表示(&C)",      {150, 165, 70, 10}},
    {-1,                   L"Static",   LeftText,            false, L"文字コード(&O):",         {150, 183, 45, 8}},
    {IDC_CHAR_CODE,        L"ComboBox", DropDownList,        false, L"",                        {200, 181, 55, 157}},
    {IDC_INSERT_LINE,      L"Button",   PushButton,          false, L"一行挿入(&I)",            {150, 201, 50, 14}},
    {IDC_DELETE_LINE,      L"Button",   PushButton,          false, L"一行削除(&D)",            {205, 201, 50, 14}},
    {IDC_MOVE_COPY,        L"Button",   PushButton,          false, L"移動・コピー(&P)...",     {150, 221, 105, 14}},
    {IDC_LABEL_CHECK,      L"Button",   PushButton,          false, L"ラベル整合チェック(&H)",  {150, 240, 105, 14}},
    {IDC_CHAR_CELLS_LABEL, L"Static",   LeftText,            false, L"キャラクタ表示:",         {30, 285, 45, 8}},
    {IDC_DIRECT_INPUT,     L"Button",   PushButton,          false, L"直接入力(&R)...",         {205, 283, 45, 14}},
    {IDC_EDIT_FRAME,       L"Button",   GroupBox,            false, L"プログラム編集(&E)",      {5, 255, 250, 50}},
}};
// clang-format on

TEST_F(MainDialogTest, TemplateHoldsTheControlsInTabOrderWithTheirTextsAndGeometry) {
  open();
  EXPECT_EQ(text(0), Title);
  expectDialogFrame(window);

  const RECT client = dialogPixels(window, RECT{0, 0, 263, 311});
  RECT actual{};
  GetClientRect(window, &actual);
  // When the eighth character cell would stand under the direct input button, the button moves
  // right of it and the frame and the dialog grow by the same width (checked in PanelFitTest).
  const LONG grown = actual.right - client.right;
  EXPECT_GE(grown, 0);
  EXPECT_EQ(actual.bottom, client.bottom);

  const auto checkPlace = [grown](HWND main, HWND child, const TemplateControl& expected) {
    const RECT pixels = dialogPixels(main, expected.units);
    const RECT rect = rectInDialog(main, child);
    if (grown > 0 && expected.id == IDC_EDIT_FRAME) {
      EXPECT_EQ(rect.left, pixels.left);
      EXPECT_EQ(rect.top, pixels.top);
      EXPECT_EQ(rect.right - rect.left, pixels.right + grown);
      EXPECT_EQ(rect.bottom - rect.top, pixels.bottom);
    } else if (grown > 0 && expected.id == IDC_DIRECT_INPUT) {
      // Moved right, keeping its size and its line; 5 units from the frame's right edge.
      EXPECT_GT(rect.left, pixels.left);
      EXPECT_EQ(rect.top, pixels.top);
      EXPECT_EQ(rect.right - rect.left, pixels.right);
      EXPECT_EQ(rect.bottom - rect.top, pixels.bottom);
      const RECT box = rectInDialog(main, GetDlgItem(main, IDC_EDIT_FRAME));
      EXPECT_EQ(rect.right, box.right - dialogPixels(main, RECT{0, 0, 5, 0}).right);
    } else {
      expectTemplateGeometry(main, child, expected.units, expected.className);
    }
  };
  // After the template's controls come only the panel's own, which the panel creates.
  for (HWND child = expectControlsInTabOrder(window, TemplateControls, checkPlace);
       child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    EXPECT_GE(GetDlgCtrlID(child), IDC_PANEL_FIRST) << "a control the template should not hold";
}

TEST_F(MainDialogTest, StartsWithoutFileOnProgramAInAscii) {
  open();
  EXPECT_EQ(dialog.dialogTitle, Title);
  EXPECT_TRUE(warnings.empty());
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0) << "icon 104";

  const std::array<const wchar_t*, 4> programs = {L"A", L"B", L"C", L"D"};
  ASSERT_EQ(comboCount(IDC_PROGRAM_SELECT), 4);
  for (int p = 0; p < 4; ++p)
    EXPECT_EQ(comboEntry(IDC_PROGRAM_SELECT, p), programs[static_cast<std::size_t>(p)]);
  EXPECT_EQ(comboSelection(IDC_PROGRAM_SELECT), 0);

  const std::array<const wchar_t*, 10> codes = {L"ASCII", L"EBCDIC", L"EBCDIK", L"JIS7",
                                                L"JIS8",  L"HEX",    L"EBCD",   L"TRANSCODE",
                                                L"IPARS", L"BAUDOT"};
  ASSERT_EQ(comboCount(IDC_CHAR_CODE), 10);
  for (int c = 0; c < 10; ++c)
    EXPECT_EQ(comboEntry(IDC_CHAR_CODE, c), codes[static_cast<std::size_t>(c)]);
  EXPECT_EQ(comboSelection(IDC_CHAR_CODE), 0);

  ASSERT_EQ(listCount(), 512);
  EXPECT_EQ(listEntry(0), L" NOP");
  EXPECT_EQ(listEntry(511), L" NOP");
  EXPECT_EQ(listSelection(), 0);
  EXPECT_EQ(dialog.currentProgram, 0);
  EXPECT_EQ(dialog.currentLine, 0);
  EXPECT_EQ(text(IDC_STATUS), L"");
  EXPECT_EQ(GetFocus(), item(IDC_PROGRAM_LIST));
}

TEST_F(MainDialogTest, ProgramChangeListsTheProgramAtItsStoredCursor) {
  ProgramArea& area = document.programArea;
  storeLine(area, 2, 0, sendChr({0x41, 0x42}));
  storeLine(area, 2, 3, gotoLine(7));
  setCursor(area, 2, 3);
  open();
  showStatus(window, IDS_LOADED);

  chooseInCombo(IDC_PROGRAM_SELECT, 2);
  EXPECT_EQ(dialog.currentProgram, 2);
  EXPECT_EQ(listEntry(0), L" SEND CHR 41 42 ");
  EXPECT_EQ(listEntry(3), L" GOTO L007");
  EXPECT_EQ(listSelection(), 3);
  EXPECT_EQ(dialog.currentLine, 3);
  EXPECT_EQ(text(IDC_STATUS), L"");

  chooseInCombo(IDC_PROGRAM_SELECT, 0);
  EXPECT_EQ(listEntry(0), L" NOP");
  EXPECT_EQ(dialog.currentLine, 0);
}

TEST_F(MainDialogTest, PickingALineStoresTheCursor) {
  open();
  showStatus(window, IDS_LOADED);
  chooseLine(5);
  EXPECT_EQ(dialog.currentLine, 5);
  EXPECT_EQ(cursor(document.programArea, 0), 5);
  EXPECT_EQ(text(IDC_STATUS), L"");

  // The arrow key moves the list's selection; the list itself notifies the dialog.
  SetFocus(item(IDC_PROGRAM_LIST));
  SendMessageW(item(IDC_PROGRAM_LIST), WM_KEYDOWN, VK_DOWN, 0);
  pump();
  EXPECT_EQ(listSelection(), 6);
  EXPECT_EQ(dialog.currentLine, 6);
  EXPECT_EQ(cursor(document.programArea, 0), 6);

  // A double click shows the keys of the instruction selector.
  notify(IDC_PROGRAM_LIST, LBN_DBLCLK);
  EXPECT_EQ(text(IDC_STATUS), loadString(IDS_INSTRUCTION_KEYS));
  EXPECT_EQ(cursor(document.programArea, 0), 6);
}

struct LineMoveCase {
  int from;
  UINT message;
  int expected;
};

TEST_F(MainDialogTest, NextAndPreviousLineStopAtTheEndsAndLeaveTheCursor) {
  // clang-format off
  constexpr LineMoveCase cases[] = {
      {0,   UM_PREV_LINE, 0},
      {511, UM_NEXT_LINE, 511},
      {5,   UM_NEXT_LINE, 6},
      {5,   UM_PREV_LINE, 4},
      {510, UM_NEXT_LINE, 511},
      {1,   UM_PREV_LINE, 0},
  };
  // clang-format on
  open();
  for (const auto& [from, message, expected] : cases) {
    SCOPED_TRACE(std::to_string(from) + (message == UM_NEXT_LINE ? " next" : " previous"));
    chooseLine(from);
    post(message);
    EXPECT_EQ(dialog.currentLine, expected);
    EXPECT_EQ(listSelection(), expected);
    EXPECT_EQ(cursor(document.programArea, 0), from);
    EXPECT_EQ(listCount(), 512);
  }
}

TEST_F(MainDialogTest, RelistAfterMovingDownReturnsToTheLinePickedLast) {
  open();
  chooseLine(10);
  post(UM_NEXT_LINE);
  post(UM_NEXT_LINE);
  EXPECT_EQ(dialog.currentLine, 12);
  click(IDC_CHAR_DISPLAY);
  EXPECT_EQ(dialog.currentLine, 10);
  EXPECT_EQ(listSelection(), 10);
}

TEST_F(MainDialogTest, RelistOnCheckBoxAndCodeChangeKeepsTheTopIndex) {
  const ProgramLine line = sendChr({0x41, 0x42});
  storeLine(document.programArea, 0, 300, line);
  open();
  chooseLine(300);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 280, 0);
  ASSERT_EQ(listTopIndex(), 280);
  EXPECT_EQ(listEntry(300), L" SEND CHR 41 42 ");

  click(IDC_CHAR_DISPLAY);
  EXPECT_EQ(SendMessageW(item(IDC_CHAR_DISPLAY), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(listEntry(300), L" SEND CHR A B ");
  EXPECT_EQ(listTopIndex(), 280);
  EXPECT_EQ(listSelection(), 300);
  EXPECT_EQ(GetFocus(), item(IDC_CHAR_DISPLAY));

  chooseInCombo(IDC_CHAR_CODE, 1);  // EBCDIC: 0x41 is not "A" there
  EXPECT_EQ(currentCharCode(window), CharCode::Ebcdic);
  EXPECT_NE(listEntry(300), L" SEND CHR A B ");
  EXPECT_EQ(listEntry(300), expectedListing(line));
  EXPECT_EQ(listTopIndex(), 280);
  EXPECT_EQ(listSelection(), 300);
  EXPECT_EQ(GetFocus(), item(IDC_CHAR_CODE));

  click(IDC_CHAR_DISPLAY);
  EXPECT_EQ(listEntry(300), L" SEND CHR 41 42 ");
  EXPECT_EQ(listTopIndex(), 280);
}

// The list is refilled with its drawing switched off; its scroll bar still ends up covering every
// line, with the thumb where the list stands after scrolling to the program's stored cursor.
TEST_F(MainDialogTest, TheScrollBarFollowsARefilledList) {
  setCursor(document.programArea, 1, 300);
  open();
  ASSERT_EQ(listTopIndex(), 0);
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  ASSERT_EQ(listSelection(), 300);
  ASSERT_GT(listTopIndex(), 200);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_POS;
  ASSERT_TRUE(GetScrollInfo(item(IDC_PROGRAM_LIST), SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 511);
  EXPECT_EQ(info.nPos, listTopIndex());
}

TEST_F(MainDialogTest, HalfWidthKatakanaOfTheCharacterDisplayReachTheListAsUnicode) {
  storeLine(document.programArea, 0, 0, sendChr({0xB1, 0xB2, 0xB3}));
  open();
  chooseInCombo(IDC_CHAR_CODE, 4);  // JIS8
  click(IDC_CHAR_DISPLAY);
  EXPECT_EQ(listEntry(0), L" SEND CHR ｱ ｲ ｳ ");
}

TEST_F(MainDialogTest, InsertAtTheLastLinePushesThatLineOut) {
  ProgramArea& area = document.programArea;
  storeLine(area, 0, 510, labelLine(5));
  storeLine(area, 0, 511, gotoLine(5));
  storeLine(area, 1, 0, gotoLine(9));
  open();
  chooseLine(511);
  const int top = listTopIndex();

  click(IDC_INSERT_LINE);
  EXPECT_EQ(*lineAt(area, 0, 511), ProgramLine{});
  EXPECT_EQ(*lineAt(area, 0, 510), labelLine(5));
  EXPECT_EQ(*lineAt(area, 1, 0), gotoLine(9)) << "the next program is untouched";
  EXPECT_EQ(listCount(), 512);
  EXPECT_EQ(listEntry(511), L" NOP");
  EXPECT_EQ(listEntry(510), L" L005");
  EXPECT_EQ(dialog.currentLine, 511);
  EXPECT_EQ(listSelection(), 511);
  EXPECT_EQ(listTopIndex(), top);
}

TEST_F(MainDialogTest, DeleteRemovesTheCurrentLineAndKeepsItCurrent) {
  ProgramArea& area = document.programArea;
  storeLine(area, 0, 3, gotoLine(3));
  storeLine(area, 0, 4, gotoLine(4));
  storeLine(area, 0, 511, gotoLine(511));
  storeLine(area, 1, 0, gotoLine(9));
  open();

  chooseLine(3);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 2, 0);
  click(IDC_DELETE_LINE);
  EXPECT_EQ(listTopIndex(), 2);
  EXPECT_EQ(listEntry(3), L" GOTO L004");
  EXPECT_EQ(listEntry(510), L" GOTO L511");
  EXPECT_EQ(listEntry(511), L" NOP");
  EXPECT_EQ(dialog.currentLine, 3);
  EXPECT_EQ(listSelection(), 3);

  chooseLine(511);
  storeLine(area, 0, 511, gotoLine(7));
  click(IDC_DELETE_LINE);
  EXPECT_EQ(*lineAt(area, 0, 511), ProgramLine{});
  EXPECT_EQ(listEntry(511), L" NOP");
  EXPECT_EQ(listCount(), 512);
  EXPECT_EQ(dialog.currentLine, 511);
  EXPECT_EQ(*lineAt(area, 1, 0), gotoLine(9));
}

TEST_F(MainDialogTest, MoveCopyRelistsOnlyWhenCarriedOutKeepingTheViewAndTheLine) {
  open();
  chooseLine(30);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 20, 0);
  showStatus(window, IDS_LOADED);

  // Cancelled: the lines the dialog may have touched are not re-listed, no status is shown.
  dialog.runMoveCopy = [](HWND, ProgramArea& area, const MoveCopyView&) {
    storeLine(area, 0, 25, gotoLine(2));
    return std::optional<MoveCopyResult>{};
  };
  click(IDC_MOVE_COPY);
  EXPECT_EQ(listEntry(25), L" NOP");
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをロードしました。");

  dialog.runMoveCopy = [](HWND, ProgramArea& area, const MoveCopyView&) {
    storeLine(area, 0, 26, gotoLine(3));
    return std::optional<MoveCopyResult>{MoveCopyResult{0, {26}, 0, 26, false, {}}};
  };
  click(IDC_MOVE_COPY);
  EXPECT_EQ(listEntry(25), L" GOTO L002");
  EXPECT_EQ(listEntry(26), L" GOTO L003");
  EXPECT_EQ(listTopIndex(), 20);
  EXPECT_EQ(listSelection(), 30);
  EXPECT_EQ(dialog.currentLine, 30);
  EXPECT_EQ(text(IDC_STATUS), L"移動・コピーを実行しました。");

  // The lines pushed off are those the dialog reports, named after the status; the main dialog
  // opens it on the program shown, at the list's top, with its display settings.
  MoveCopyView seen{};
  dialog.runMoveCopy = [&seen](HWND, ProgramArea&, const MoveCopyView& view) {
    seen = view;
    return std::optional<MoveCopyResult>{
        MoveCopyResult{0, {1}, 0, 5, true, {{0, 511, gotoLine(7)}}}};
  };
  click(IDC_CHAR_DISPLAY);
  chooseInCombo(IDC_CHAR_CODE, 3);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETTOPINDEX, 12, 0);
  click(IDC_MOVE_COPY);
  EXPECT_EQ(seen, (MoveCopyView{0, 12, CharCode{3}, true}));
  EXPECT_EQ(
      text(IDC_STATUS),
      L"移動・コピーを実行しました。\r\n\r\nプログラムの末尾から1行が押し出されました(元の行: "
      L"A511)。\r\nCtrl+Zで元に戻せます。");
}

TEST_F(MainDialogTest, LabelCheckMovesToTheOffendingLine) {
  ProgramArea& area = document.programArea;
  storeLine(area, 0, 2, labelLine(1));
  storeLine(area, 0, 4, gotoLine(1));
  storeLine(area, 0, 6, gotoLine(9));  // label 9 is not defined
  open();
  chooseLine(1);

  click(IDC_LABEL_CHECK);
  EXPECT_EQ(dialog.currentLine, 6);
  EXPECT_EQ(listSelection(), 6);
  EXPECT_EQ(cursor(area, 0), 6);
  EXPECT_EQ(text(IDC_STATUS),
            L"ラベル不整合箇所にカーソルを移動しました。\r\n\r\n"
            L"L(ラベル)命令上の場合、同ラベルの複数定義です。\r\n"
            L"その他の命令上の場合、存在しないラベル定義です。");
}

TEST_F(MainDialogTest, LabelCheckWithoutMismatchOnlyShowsString12) {
  ProgramArea& area = document.programArea;
  storeLine(area, 0, 2, labelLine(1));
  storeLine(area, 0, 4, gotoLine(1));
  open();
  chooseLine(8);
  post(UM_NEXT_LINE);

  click(IDC_LABEL_CHECK);
  EXPECT_EQ(text(IDC_STATUS), L"ラベル不整合はありませんでした。");
  EXPECT_EQ(dialog.currentLine, 9);
  EXPECT_EQ(listSelection(), 9);
  EXPECT_EQ(cursor(area, 0), 8);
}

TEST_F(MainDialogTest, CloseEndsTheDialog) {
  open();
  ASSERT_TRUE(IsWindowVisible(window));
  SendMessageW(window, WM_CLOSE, 0, 0);
  pump();
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(MainDialogTest, EnterAndEscapeDoNothingAtDialogLevel) {
  open();
  chooseLine(4);
  // The keys go through the dialog manager (IsDialogMessage in the pump), which turns them into
  // IDOK and IDCANCEL commands; the dialog handles neither.
  SetFocus(item(IDC_PROGRAM_LIST));
  for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
    PostMessageW(item(IDC_PROGRAM_LIST), WM_KEYDOWN, key, 0);
    PostMessageW(item(IDC_PROGRAM_LIST), WM_KEYUP, key, 0);
    pump();
  }
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(dialog.currentLine, 4);
  EXPECT_EQ(listSelection(), 4);
}

}  // namespace
}  // namespace vx::ui::test
