// The direct string input (template 102): its template, its dialog procedure and the way the
// main dialog runs it.
#include "ui/direct_input.h"

#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "secondary_dialog_fixture.h"

namespace vx::ui::test {
namespace {

// clang-format off
const std::array<TemplateControl, 5> DirectInputControls = {{
    {-1,              L"Static", LeftText,          false, L"文字列(&C):",                                       {5, 7, 32, 8}},
    {IDC_DIRECT_TEXT, L"Edit",   TextEdit,          true,  L"",                                                  {45, 5, 50, 14}},
    {-1,              L"Static", LeftText,          false, L"最大8文字まで入力可能\r\n（文字コードによってはそれ以下）", {5, 25, 120, 15}},
    {IDOK,            L"Button", DefaultPushButton, false, L"OK",                                                {135, 5, 50, 14}},
    {IDCANCEL,        L"Button", PushButton,        false, L"ｷｬﾝｾﾙ",                                             {135, 25, 50, 14}},
}};
// clang-format on

// ---------------------------------------------------------------------------------------------
// Direct string input: the dialog itself

using DirectInputText = std::optional<std::string>;

TEST_F(SecondaryDialogTest, DirectInputTemplateHoldsItsControlsInTabOrder) {
  DirectInputText text;
  modeless = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                nullptr, directInputProc, reinterpret_cast<LPARAM>(&text));
  ASSERT_NE(modeless, nullptr);
  expectDialogTemplate(modeless, L"文字列の直接入力", SIZE{189, 46}, DirectInputControls);
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
    HWND input = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                    nullptr, directInputProc, reinterpret_cast<LPARAM>(&text));
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(getWideText(GetDlgItem(input, IDC_DIRECT_TEXT)), L"") << "starts empty";
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), typed);
    SendMessageW(input, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(text, accepted);
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
    DirectInputText text = "kept";
    HWND input = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECT_INPUT),
                                    nullptr, directInputProc, reinterpret_cast<LPARAM>(&text));
    ASSERT_NE(input, nullptr);
    ShowWindow(input, SW_SHOW);
    setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"XYZ");
    SendMessageW(input, message, wParam, 0);
    pump();  // the close box posts its cancel command
    EXPECT_EQ(text, "kept");
    // Only cancel and the close box end the dialog (which hides it).
    EXPECT_EQ(IsWindowVisible(input) == FALSE, message == WM_CLOSE || LOWORD(wParam) == IDCANCEL);
    DestroyWindow(input);
  }
}

TEST_F(SecondaryDialogTest, DirectInputDialogReturnsTheAcceptedTextOrNothingWhenCancelled) {
  struct Ending {
    const char* name;
    std::function<void(HWND)> end;
    std::optional<std::string> result;
  };
  const Ending endings[] = {
      {"ok", [](HWND input) { pressButton(input, IDOK); }, "ABCDEFGH"},
      {"enter", [](HWND) { pressKey(VK_RETURN); }, "ABCDEFGH"},
      {"cancel", [](HWND input) { pressButton(input, IDCANCEL); }, std::nullopt},
      {"escape", [](HWND) { pressKey(VK_ESCAPE); }, std::nullopt},
      {"close box", [](HWND input) { SendMessageW(input, WM_SYSCOMMAND, SC_CLOSE, 0); },
       std::nullopt},
  };
  open();
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    std::optional<std::string> result = "not run";
    ASSERT_TRUE(vx::test::whileModal(
        window, [&] { result = runDirectInputDialog(window); },
        [&](HWND input) {
          EXPECT_EQ(GetWindow(input, GW_OWNER), window);
          EXPECT_FALSE(IsWindowEnabled(window)) << "modal over its owner";
          setWideText(GetDlgItem(input, IDC_DIRECT_TEXT), L"ABCDEFGHIJ");
          ending.end(input);
        }));
    EXPECT_EQ(result, ending.result);
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
  }
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
}

TEST_F(SecondaryDialogTest, DirectInputOnALineWithoutDataFieldsOpensNoDialog) {
  storeLine(document.programArea, 0, 0, gotoLine(12));
  storeLine(document.programArea, 0, 1, sendChr({0x41}));
  open();
  chooseLine(1);
  if (dialog.panel.controls[2] == nullptr) {
    GTEST_SKIP() << NoPanel;
  }
  chooseLine(0);
  ASSERT_NE(dialog.panel.controls[0], nullptr);

  EXPECT_FALSE(whileOpen(IDC_DIRECT_INPUT, [](HWND input) { pressButton(input, IDOK); }));
  EXPECT_EQ(*lineAt(document.programArea, 0, 0), gotoLine(12));
}

}  // namespace
}  // namespace vx::ui::test
