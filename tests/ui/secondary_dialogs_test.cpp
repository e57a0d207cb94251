// The direct string input and the move/copy dialog: their templates, their dialog procedures and
// the way the main dialog runs them. The modal dialogs are driven from inside their own message
// loop by a thread timer, so the real DialogBoxParamW path with its results is what runs.
#include "ui/secondary_dialogs.h"

#include <array>
#include <cctype>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

// ---------------------------------------------------------------------------------------------
// Template checks

struct Style {
  DWORD mask;
  DWORD bits;
};

constexpr Style LeftText = {SS_TYPEMASK, SS_LEFT};
constexpr Style DropDownList = {0x3 | CBS_SORT | WS_TABSTOP, CBS_DROPDOWNLIST | WS_TABSTOP};
constexpr DWORD ListStyleMask = LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL |
                                LBS_DISABLENOSCROLL | WS_VSCROLL | WS_TABSTOP;
constexpr Style SingleSelectionList = {ListStyleMask,
                                       LBS_NOTIFY | LBS_DISABLENOSCROLL | WS_VSCROLL | WS_TABSTOP};
constexpr Style ExtendedSelectionList = {
    ListStyleMask, LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_DISABLENOSCROLL | WS_VSCROLL | WS_TABSTOP};
constexpr Style PushButton = {BS_TYPEMASK | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP};
constexpr Style DefaultPushButton = {BS_TYPEMASK | WS_TABSTOP, BS_DEFPUSHBUTTON | WS_TABSTOP};
constexpr Style TextEdit = {ES_AUTOHSCROLL | ES_MULTILINE | ES_READONLY | WS_TABSTOP,
                            ES_AUTOHSCROLL | WS_TABSTOP};

struct TemplateControl {
  int id;
  const wchar_t* className;
  Style style;
  bool bordered;
  const wchar_t* text;
  RECT units;  // x, y, width, height in dialog units
};

// clang-format off
const std::array<TemplateControl, 5> DirectInputControls = {{
    {-1,              L"Static", LeftText,          false, L"文字列(&C):",                                       {5, 7, 32, 8}},
    {IDC_DIRECT_TEXT, L"Edit",   TextEdit,          true,  L"",                                                  {45, 5, 50, 14}},
    {-1,              L"Static", LeftText,          false, L"最大8文字まで入力可能\r\n（文字コードによってはそれ以下）", {5, 25, 120, 15}},
    {IDOK,            L"Button", DefaultPushButton, false, L"OK",                                                {135, 5, 50, 14}},
    {IDCANCEL,        L"Button", PushButton,        false, L"ｷｬﾝｾﾙ",                                             {135, 25, 50, 14}},
}};

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

std::wstring classOf(HWND window) {
  std::array<wchar_t, 64> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

// Title, frame style, centring, client size and every control in tab order with its id, class,
// style, text and geometry.
void expectTemplate(HWND dialog, const wchar_t* title, SIZE units,
                    std::span<const TemplateControl> controls) {
  EXPECT_EQ(getWideText(dialog), title);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & DS_MODALFRAME);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  RECT frame{};
  GetWindowRect(dialog, &frame);
  EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 2);
  EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
  RECT client{0, 0, units.cx, units.cy};
  MapDialogRect(dialog, &client);
  RECT actual{};
  GetClientRect(dialog, &actual);
  EXPECT_EQ(actual.right, client.right);
  EXPECT_EQ(actual.bottom, client.bottom);

  HWND child = GetWindow(dialog, GW_CHILD);
  for (const TemplateControl& expected : controls) {
    ASSERT_NE(child, nullptr) << "missing " << wideToSjis(expected.text);
    SCOPED_TRACE(wideToSjis(expected.text) + " / id " + std::to_string(expected.id));
    EXPECT_EQ(GetDlgCtrlID(child), expected.id);
    EXPECT_EQ(classOf(child), expected.className);
    EXPECT_EQ(getWideText(child), expected.text);
    const auto childStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    EXPECT_EQ(childStyle & expected.style.mask, expected.style.bits) << std::hex << childStyle;
    if (expected.bordered) {
      // The dialog manager may draw a bordered control with a client edge instead.
      const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE));
      EXPECT_TRUE((childStyle & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
    }
    expectTemplateGeometry(dialog, child, expected.units, expected.className);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Driving a modal dialog from inside its message loop

struct ModalAction {
  HWND owner = nullptr;
  std::function<void(HWND)> action;
  bool ran = false;
  int waits = 0;
};

ModalAction* pendingAction = nullptr;

struct DialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK findOwnedDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<DialogSearch*>(lParam);
  if (window != search->owner && GetWindow(window, GW_OWNER) == search->owner &&
      classOf(window) == L"#32770" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK driveModalDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  ModalAction* pending = pendingAction;
  if (pending == nullptr || pending->ran) {
    KillTimer(nullptr, timer);
    return;
  }
  DialogSearch search{pending->owner, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), findOwnedDialog, reinterpret_cast<LPARAM>(&search));
  // The action starts once the dialog has been activated and has put the focus on its control;
  // a dialog that never becomes active is driven after half a second anyway.
  if (search.found == nullptr || (GetActiveWindow() != search.found && pending->waits < 50)) {
    ++pending->waits;
    return;
  }
  KillTimer(nullptr, timer);
  pending->ran = true;
  pending->action(search.found);
  // What the action posted to the dialog (keys, the close box's cancel command) runs first,
  // through the dialog manager as in the modal loop.
  MSG message;
  while (PeekMessageW(&message, search.found, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(search.found, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // A dialog that the action left open would keep the test waiting for ever.
  if (IsWindow(search.found) && IsWindowVisible(search.found)) {
    ADD_FAILURE() << "the dialog is still open after the test's action";
    EndDialog(search.found, 0);
  }
}

int sendInt(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(SendMessageW(window, message, wParam, lParam));
}

// Picks a program in one of the move/copy dialog's selectors, as the user's choice does.
void chooseProgram(HWND moveCopy, int selectorId, int program) {
  HWND selector = GetDlgItem(moveCopy, selectorId);
  SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(program), 0);
  SendMessageW(moveCopy, WM_COMMAND, MAKEWPARAM(selectorId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(selector));
}

void pressButton(HWND moveCopy, int id) { SendMessageW(GetDlgItem(moveCopy, id), BM_CLICK, 0, 0); }

// Test names from the cases' names, with every character but letters and digits as "_".
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

class SecondaryDialogTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    dialog.runMoveCopy = [this](MainDialog& owner) {
      moveCopyResult = runMoveCopyDialog(owner);
      return moveCopyResult;
    };
  }

  void TearDown() override {
    if (modeless != nullptr) DestroyWindow(modeless);
    MainDialogTest::TearDown();
  }

  // Sends the command of `id` to the main dialog and runs `action` on the modal dialog it opens.
  // False when no dialog opened.
  bool whileOpen(int id, std::function<void(HWND)> action) {
    ModalAction pending{window, std::move(action)};
    pendingAction = &pending;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, driveModalDialog);
    notify(id, BN_CLICKED);
    pendingAction = nullptr;
    KillTimer(nullptr, timer);
    return pending.ran;
  }

  std::wstring lineListing(int program, int index) const {
    return expectedListing(*lineAt(document.programArea, program, index));
  }

  HWND modeless = nullptr;
  INT_PTR moveCopyResult = -100;
};

// ---------------------------------------------------------------------------------------------
// Direct string input: the dialog itself

using DirectInputText = std::array<char, 9>;

TEST_F(SecondaryDialogTest, DirectInputTemplateHoldsItsControlsInTabOrder) {
  DirectInputText text{};
  modeless = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                nullptr, directInputProc, reinterpret_cast<LPARAM>(&text));
  ASSERT_NE(modeless, nullptr);
  expectTemplate(modeless, L"文字列の直接入力", SIZE{189, 46}, DirectInputControls);
  // The edit sets no limit of its own.
  HWND edit = GetDlgItem(modeless, IDC_DIRECT_TEXT);
  setWideText(edit, L"ABCDEFGHIJKL");
  EXPECT_EQ(getWideText(edit), L"ABCDEFGHIJKL");
}

struct AcceptCase {
  const wchar_t* typed;
  const char* accepted;  // Shift-JIS
};

TEST_F(SecondaryDialogTest, DirectInputOkTakesTheFirstEightShiftJisBytes) {
  // clang-format off
  constexpr AcceptCase cases[] = {
      {L"ABC",          "ABC"},
      {L"ABCDEFGHIJ",   "ABCDEFGH"},
      {L"",             ""},
      {L"ｱｲｳ",          "\xB1\xB2\xB3"},                      // half-width katakana: one byte each
      {L"アイウエオ",   "\x83\x41\x83\x43\x83\x45\x83\x47"},  // full-width: two bytes each
  };
  // clang-format on
  for (const auto& [typed, accepted] : cases) {
    SCOPED_TRACE(wideToSjis(typed));
    DirectInputText text;
    text.fill('x');
    HWND input = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                    nullptr, directInputProc, reinterpret_cast<LPARAM>(&text));
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(getWideText(GetDlgItem(input, IDC_DIRECT_TEXT)), L"") << "starts empty";
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), typed);
    SendMessageW(input, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(std::string(text.data()), accepted);
    EXPECT_EQ(text[8], '\0');
    DestroyWindow(input);
  }
}

TEST_F(SecondaryDialogTest, DirectInputCancelCloseAndOtherCommandsLeaveTheTextAlone) {
  struct Ending {
    const char* name;
    UINT message;
    WPARAM wParam;
  };
  // clang-format off
  constexpr Ending endings[] = {
      {"cancel",      WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
      {"close box",   WM_CLOSE,   0},
      {"edit change", WM_COMMAND, MAKEWPARAM(IDC_DIRECT_TEXT, EN_CHANGE)},
  };
  // clang-format on
  for (const auto& [name, message, wParam] : endings) {
    SCOPED_TRACE(name);
    DirectInputText text = {'k', 'e', 'p', 't', '\0'};
    HWND input = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                    nullptr, directInputProc, reinterpret_cast<LPARAM>(&text));
    ASSERT_NE(input, nullptr);
    ShowWindow(input, SW_SHOW);
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"XYZ");
    SendMessageW(input, message, wParam, 0);
    pump();  // the close box posts its cancel command
    EXPECT_EQ(std::string(text.data()), "kept");
    // Only cancel and the close box end the dialog (which hides it).
    EXPECT_EQ(IsWindowVisible(input) == FALSE, message == WM_CLOSE || LOWORD(wParam) == IDCANCEL);
    DestroyWindow(input);
  }
}

// ---------------------------------------------------------------------------------------------
// Direct string input through the main dialog and its field panel

struct DirectInputCase {
  const char* name;
  int code;
  bool characterDisplay;
  ProgramLine before;
  const wchar_t* typed;
  std::array<const wchar_t*, 8> fields;
  ProgramLine after;
  const wchar_t* listing;               // nullptr: not checked
  std::array<const wchar_t*, 3> cells;  // the first three character cells; nullptr: not checked
};

void PrintTo(const DirectInputCase& c, std::ostream* out) { *out << c.name; }

constexpr int Ascii = 0;
constexpr int Jis7 = 3;
constexpr int Hex = 5;
constexpr int Baudot = 9;

ProgramLine setDa(int entry, std::initializer_list<int> data) {
  return makeLine(7, 6, entry, static_cast<int>(data.size()), data);
}

// clang-format off
const DirectInputCase DirectInputCases[] = {
    {"ascii ABC", Ascii, true, sendChr({0x30}), L"ABC",
     {L"41", L"42", L"43", L"", L"", L"", L"", L""}, sendChr({0x41, 0x42, 0x43}),
     L" SEND CHR A B C ", {nullptr, nullptr, nullptr}},
    {"baudot A1", Baudot, false, sendChr({}), L"A1",
     {L"03", L"1b", L"17", L"", L"", L"", L"", L""}, sendChr({0x03, 0x1b, 0x17}),
     nullptr, {L"A", L"SO", L"1"}},
    {"hex", Hex, false, sendChr({}), L"XY",
     {L"00", L"00", L"", L"", L"", L"", L"", L""}, sendChr({0x00, 0x00}),
     nullptr, {nullptr, nullptr, nullptr}},
    {"set da keeps its entry number", Ascii, false, setDa(42, {0x10}), L"AB",
     {L"41", L"42", L"", L"", L"", L"", L"", L""}, setDa(42, {0x41, 0x42}),
     nullptr, {nullptr, nullptr, nullptr}},
    {"jis7 beyond eight bytes", Jis7, false, sendChr({}), L"AｱBｲCｳDｴ",
     {L"41", L"0e", L"31", L"0f", L"42", L"0e", L"32", L"0f"},
     sendChr({0x41, 0x0e, 0x31, 0x0f, 0x42, 0x0e, 0x32, 0x0f}),
     nullptr, {nullptr, nullptr, nullptr}},
    {"ten characters", Ascii, false, sendChr({}), L"ABCDEFGHIJ",
     {L"41", L"42", L"43", L"44", L"45", L"46", L"47", L"48"},
     sendChr({0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48}),
     nullptr, {nullptr, nullptr, nullptr}},
    {"empty text empties every field", Ascii, false, sendChr({1, 2, 3, 4, 5, 6, 7, 8}), L"",
     {L"", L"", L"", L"", L"", L"", L"", L""}, sendChr({}),
     L" SEND CHR ", {nullptr, nullptr, nullptr}},
    {"wait chr tokens are replaced", Ascii, false, makeLine(2, 0, 3, 0b011, {0, 1, 0x0d}), L"Z",
     {L"5a", L"", L"", L"", L"", L"", L"", L""}, makeLine(2, 0, 1, 0, {0x5a}),
     nullptr, {nullptr, nullptr, nullptr}},
};
// clang-format on

class DirectInputTest : public SecondaryDialogTest,
                        public ::testing::WithParamInterface<DirectInputCase> {};

// The panel builds its controls on the first UM_SHOW_LINE; until it does, there are no data
// fields to write into and the direct input has nothing to work on.
constexpr const char* NoPanel = "the field panel builds no controls for a data line (yet)";

TEST_P(DirectInputTest, WritesTheBytesIntoTheDataFieldsAndStoresTheLine) {
  const DirectInputCase& c = GetParam();
  storeLine(document.programArea, 0, 3, c.before);
  storeLine(document.programArea, 0, 4, gotoLine(5));
  setCursor(document.programArea, 0, 3);
  open();
  chooseInCombo(IDC_CHAR_CODE, c.code);
  if (c.characterDisplay) click(IDC_CHAR_DISPLAY);
  if (dialog.panel.controls[2] == nullptr) {
    GTEST_SKIP() << NoPanel;
  }
  const int first = c.before.bytes[0] == 7 ? 3 : 2;

  ASSERT_TRUE(whileOpen(IDC_DIRECT_INPUT, [&](HWND input) {
    EXPECT_EQ(getWideText(input), L"文字列の直接入力");
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), c.typed);
    pressButton(input, IDOK);
  }));
  pump();

  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE("data field " + std::to_string(i));
    EXPECT_EQ(getWideText(dialog.panel.controls[static_cast<std::size_t>(first + i)]),
              c.fields[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(*lineAt(document.programArea, 0, 3), c.after);
  EXPECT_EQ(*lineAt(document.programArea, 0, 4), gotoLine(5));
  EXPECT_EQ(listEntry(3), expectedListing(c.after));
  if (c.listing != nullptr) {
    EXPECT_EQ(listEntry(3), c.listing);
  }
  for (std::size_t i = 0; i < c.cells.size(); ++i) {
    if (c.cells[i] == nullptr) continue;
    ASSERT_NE(dialog.panel.characterCells[i], nullptr);
    EXPECT_EQ(getWideText(dialog.panel.characterCells[i]), c.cells[i]) << "cell " << i;
  }
  EXPECT_EQ(dialog.currentLine, 3);
  EXPECT_EQ(listSelection(), 3);
}

INSTANTIATE_TEST_SUITE_P(Cases, DirectInputTest, ::testing::ValuesIn(DirectInputCases),
                         caseName<DirectInputCase>);

TEST_F(SecondaryDialogTest, DirectInputCancelOrCloseChangesNothing) {
  const ProgramLine line = sendChr({0x31, 0x32});
  storeLine(document.programArea, 0, 0, line);
  open();
  if (dialog.panel.controls[2] == nullptr) {
    GTEST_SKIP() << NoPanel;
  }
  dialog.directInputText = {'O', 'L', 'D', '\0'};
  for (const bool viaCloseBox : {false, true}) {
    SCOPED_TRACE(viaCloseBox ? "close box" : "cancel");
    ASSERT_TRUE(whileOpen(IDC_DIRECT_INPUT, [&](HWND input) {
      setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"ABC");
      if (viaCloseBox) {
        SendMessageW(input, WM_SYSCOMMAND, SC_CLOSE, 0);
      } else {
        pressButton(input, IDCANCEL);
      }
    }));
    pump();
    EXPECT_EQ(*lineAt(document.programArea, 0, 0), line);
    EXPECT_EQ(getWideText(dialog.panel.controls[2]), L"31");
    EXPECT_EQ(getWideText(dialog.panel.controls[3]), L"32");
    EXPECT_EQ(listEntry(0), expectedListing(line));
    EXPECT_EQ(std::string(dialog.directInputText.data()), "OLD");
  }
}

// Posts a key press to the control that has the focus, as the keyboard would.
void pressKey(WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 0);
  PostMessageW(focus, WM_KEYUP, key, 0);
}

TEST_F(SecondaryDialogTest, DirectInputEnterAcceptsAndEscapeCancels) {
  storeLine(document.programArea, 0, 0, sendChr({0x31}));
  open();
  if (dialog.panel.controls[2] == nullptr) {
    GTEST_SKIP() << NoPanel;
  }
  ASSERT_TRUE(whileOpen(IDC_DIRECT_INPUT, [](HWND input) {
    EXPECT_EQ(GetFocus(), GetDlgItem(input, IDC_DIRECT_TEXT)) << "the user types at once";
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"AB");
    pressKey(VK_RETURN);
  }));
  pump();
  EXPECT_EQ(*lineAt(document.programArea, 0, 0), sendChr({0x41, 0x42}));

  ASSERT_TRUE(whileOpen(IDC_DIRECT_INPUT, [](HWND input) {
    EXPECT_EQ(getWideText(GetDlgItem(input, IDC_DIRECT_TEXT)), L"") << "starts empty again";
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"CD");
    pressKey(VK_ESCAPE);
  }));
  pump();
  EXPECT_EQ(*lineAt(document.programArea, 0, 0), sendChr({0x41, 0x42}));
  EXPECT_EQ(std::string(dialog.directInputText.data()), "AB");
}

TEST_F(SecondaryDialogTest, DirectInputOnALineWithoutDataFieldsOpensNoDialog) {
  storeLine(document.programArea, 0, 0, gotoLine(12));
  storeLine(document.programArea, 0, 1, sendChr({0x41}));
  open();
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, 1, 0);
  notify(IDC_PROGRAM_LIST, LBN_SELCHANGE);
  if (dialog.panel.controls[2] == nullptr) {
    GTEST_SKIP() << NoPanel;
  }
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, 0, 0);
  notify(IDC_PROGRAM_LIST, LBN_SELCHANGE);
  ASSERT_NE(dialog.panel.controls[0], nullptr);

  EXPECT_FALSE(whileOpen(IDC_DIRECT_INPUT, [](HWND input) { pressButton(input, IDOK); }));
  EXPECT_EQ(*lineAt(document.programArea, 0, 0), gotoLine(12));
}

// ---------------------------------------------------------------------------------------------
// Move and copy

TEST_F(SecondaryDialogTest, MoveCopyTemplateHoldsItsControlsInTabOrder) {
  open();
  modeless = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MOVE_COPY), window,
                                moveCopyDialogProc, reinterpret_cast<LPARAM>(&dialog));
  ASSERT_NE(modeless, nullptr);
  expectTemplate(modeless, L"移動・コピー", SIZE{303, 286}, MoveCopyControls);
}

TEST_F(SecondaryDialogTest, MoveCopyStartsOnTheMainProgramScrolledToTheMainListsTop) {
  ProgramArea& area = document.programArea;
  storeLine(area, 1, 35, sendChr({0x41, 0x42}));
  storeLine(area, 1, 36, gotoLine(36));
  open();
  click(IDC_CHAR_DISPLAY);
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, 40, 0);
  notify(IDC_PROGRAM_LIST, LBN_SELCHANGE);
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
  EXPECT_EQ(moveCopyResult, 2);
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
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, 30, 0);
  notify(IDC_PROGRAM_LIST, LBN_SELCHANGE);
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
  EXPECT_EQ(moveCopyResult, 1);

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
  EXPECT_EQ(moveCopyResult, 1);
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
  SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, 4, 0);
  notify(IDC_PROGRAM_LIST, LBN_SELCHANGE);
  showStatus(window, IDS_SAVED);
  const ProgramArea before = area;
  for (const auto& [name, selectSource, message, id] : cases) {
    SCOPED_TRACE(name);
    moveCopyResult = -100;
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
    EXPECT_EQ(moveCopyResult, 2);
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
  EXPECT_EQ(moveCopyResult, 2);
  EXPECT_TRUE(area.slots == before.slots);
}

}  // namespace
}  // namespace vx::ui::test
