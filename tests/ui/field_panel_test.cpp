// The field panel of the main dialog: its controls and their geometry, the lines it shows, the
// commits of the user's changes, its keys and its guidance texts, all through window messages.
#include <array>
#include <cstring>
#include <cwctype>
#include <ostream>
#include <string>
#include <vector>

#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

constexpr int Panel = IDC_PANEL_FIRST;
constexpr int CellBase = 11000;

class FieldPanelTest : public MainDialogTest {
 protected:
  void TearDown() override {
    releaseKeys();
    MainDialogTest::TearDown();
  }

  // Opens the dialog with `line` as line 0 of program A.
  void openWith(const ProgramLine& line) {
    storeLine(document.programArea, 0, 0, line);
    open();
  }

  HWND cell(int i) const { return item(CellBase + 4 * i); }
  std::wstring cellText(int i) const { return getWideText(cell(i)); }
  using MainDialogTest::stored;
  const ProgramLine& stored(int line = 0) const { return stored(0, line); }

  // Control rectangle in the dialog's client coordinates.
  RECT rectOf(HWND target) const { return rectInDialog(window, target); }

  // A length of the panel's 96-DPI design (template font: base units 6 x 12) in this dialog's
  // pixels, from the base units the dialog really has.
  int scaledX(int design) const {
    RECT units{0, 0, 4, 8};
    MapDialogRect(window, &units);
    return MulDiv(design, units.right, 6);
  }
  int scaledY(int design) const {
    RECT units{0, 0, 4, 8};
    MapDialogRect(window, &units);
    return MulDiv(design, units.bottom, 12);
  }
  // Whether the dialog's font and DPI are those of the design, where the pixels are exact.
  bool atDesignScale() const { return scaledX(6) == 6 && scaledY(12) == 12; }

  // The frame's corner plus (10, 20) design pixels, computed independently of the dialog's code.
  POINT origin() const {
    RECT frame = rectOf(item(IDC_EDIT_FRAME));
    return POINT{frame.left + scaledX(10), frame.top + scaledY(20)};
  }

  // A typed character: key down (the panel's key handler), the character, key up.
  void type(HWND target, wchar_t character, WPARAM key) {
    SendMessageW(target, WM_KEYDOWN, key, 0);
    SendMessageW(target, WM_CHAR, character, 0);
    SendMessageW(target, WM_KEYUP, key, 0);
    pump();
  }
  void typeDigit(int n, wchar_t digit) {
    type(control(n), digit, static_cast<WPARAM>(std::towupper(static_cast<wint_t>(digit))));
  }

  // A key press and release sent to control n, with the given keys held.
  void press(int n, WPARAM key, std::initializer_list<int> held = {}) {
    holdKeys(held);
    SendMessageW(control(n), WM_KEYDOWN, key, 0);
    pump();
    SendMessageW(control(n), WM_KEYUP, key, 0);
    pump();
    releaseKeys();
  }

  bool exists(int n) const { return control(n) != nullptr; }
};

// ---- building, by choosing in the selectors

struct ExpectedControl {
  int n;
  const wchar_t* className;
  int x;  // from the panel origin
  int width;
  int height;  // 0: a combo box, whose closed height is its edit part
  int y;       // from the panel origin
  const wchar_t* text;
};

struct BuildCase {
  const char* name;
  int instruction;
  int kind;  // -1: not chosen
  std::vector<ExpectedControl> controls;
  bool dataRow;
  std::vector<int> storedBytes;  // bytes 0..3
};

std::vector<ExpectedControl> sendDataControls() {
  std::vector<ExpectedControl> controls = {{1, L"ComboBox", 65, 50, 0, 0, L"CHR"}};
  for (int i = 0; i < 8; ++i) controls.push_back({2 + i, L"Edit", 120 + 23 * i, 22, 20, 0, L""});
  return controls;
}

TEST_F(FieldPanelTest, ChoosingInTheSelectorsBuildsTheControlsOfTheRow) {
  const std::vector<BuildCase> cases = {
      {"SEND", 1, -1, sendDataControls(), true, {1, 0, 0, 0}},
      {"WAIT TM",
       2,
       3,
       {{1, L"ComboBox", 65, 50, 0, 0, L"TM"}, {2, L"Edit", 120, 40, 20, 0, L""}},
       false,
       {2, 3}},
      {"GOTO",
       3,
       -1,
       {{1, L"Static", 65, 10, 15, 5, L"L"}, {2, L"Edit", 80, 40, 20, 0, L""}},
       false,
       {3, 0, 0, 0}},
      {"LBL", 12, -1, {{1, L"Edit", 65, 40, 20, 0, L""}}, false, {12, 0, 0, 0}},
      {"SET DV",
       7,
       7,
       {{1, L"ComboBox", 65, 50, 0, 0, L"DV"},
        {2, L"Edit", 120, 22, 20, 0, L""},
        {3, L"Static", 147, 25, 15, 5, L"REG"},
        {4, L"Edit", 177, 20, 20, 0, L""},
        {5, L"Edit", 202, 20, 20, 0, L""}},
       false,
       {7, 7, 0, 0}},
      {"NOP", 0, -1, {}, false, {0, 0, 0, 0}},
  };
  // Start from a SEND CHR line with data, so that every choice replaces another row.
  openWith(sendChr({0x41, 0x42}));
  const POINT o = origin();
  EXPECT_EQ(dialog.panel.origin.x, o.x);
  EXPECT_EQ(dialog.panel.origin.y, o.y);
  for (const BuildCase& c : cases) {
    SCOPED_TRACE(c.name);
    chooseInCombo(Panel, 1);  // SEND first, so that each case rebuilds
    chooseInCombo(Panel, c.instruction);
    if (c.kind >= 0) chooseInCombo(Panel + 1, c.kind);

    const RECT selector = rectOf(control(0));
    EXPECT_EQ(selector.left, o.x);
    EXPECT_EQ(selector.top, o.y);
    EXPECT_EQ(selector.right - selector.left, scaledX(60));
    // Scaled widths and gaps are rounded one by one, so a control after others may stand a few
    // pixels off the scaled design position; at the design's font and DPI it stands exactly there.
    const int slack = atDesignScale() ? 0 : 3;
    int last = 0;
    LONG previousRight = selector.right;
    for (const ExpectedControl& e : c.controls) {
      SCOPED_TRACE("control " + std::to_string(e.n));
      ASSERT_TRUE(exists(e.n));
      EXPECT_EQ(classOf(control(e.n)), e.className);
      const RECT r = rectOf(control(e.n));
      EXPECT_NEAR(r.left, o.x + scaledX(e.x), slack);
      EXPECT_GE(r.left, previousRight) << "controls overlap";
      EXPECT_EQ(r.top, o.y + scaledY(e.y));
      EXPECT_EQ(r.right - r.left, scaledX(e.width));
      if (e.height != 0) {
        EXPECT_EQ(r.bottom - r.top, scaledY(e.height));
      }
      EXPECT_EQ(controlText(e.n), e.text);
      last = e.n;
      previousRight = r.right;
    }
    EXPECT_FALSE(exists(last + 1));
    for (int i = 0; i < 8; ++i) {
      SCOPED_TRACE("cell " + std::to_string(i));
      ASSERT_EQ(cell(i) != nullptr, c.dataRow);
      if (!c.dataRow) continue;
      const RECT r = rectOf(cell(i));
      EXPECT_NEAR(r.left, o.x + scaledX(120 + 23 * i), slack);
      // Each cell stands exactly under its data control, as wide as it.
      const RECT field = rectOf(control(2 + i));
      EXPECT_EQ(r.left, field.left);
      EXPECT_EQ(r.right, field.right);
      EXPECT_EQ(r.top, o.y + scaledY(22));
      EXPECT_EQ(r.right - r.left, scaledX(22));
      EXPECT_EQ(r.bottom - r.top, scaledY(20));
      EXPECT_FALSE(IsWindowEnabled(cell(i)));
      EXPECT_EQ(cellText(i), L"");
    }
    EXPECT_EQ(IsWindowVisible(item(IDC_CHAR_CELLS_LABEL)) != FALSE, c.dataRow);
    EXPECT_EQ(IsWindowVisible(item(IDC_DIRECT_INPUT)) != FALSE, c.dataRow);

    const ProgramLine& line = stored();
    for (std::size_t b = 0; b < c.storedBytes.size(); ++b)
      EXPECT_EQ(line.bytes[b], c.storedBytes[b]) << "byte " << b;
    EXPECT_EQ(listEntry(0), expectedListing(line));
    EXPECT_EQ(listSelection(), 0);
  }
}

TEST_F(FieldPanelTest, ControlsTakeTheDialogFontAndTheEditFieldsScroll) {
  openWith(sendChr({}));
  const auto font = SendMessageW(window, WM_GETFONT, 0, 0);
  EXPECT_EQ(SendMessageW(control(0), WM_GETFONT, 0, 0), font);
  EXPECT_EQ(SendMessageW(control(2), WM_GETFONT, 0, 0), font);
  EXPECT_EQ(SendMessageW(cell(0), WM_GETFONT, 0, 0), font);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control(2), GWL_STYLE));
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_TRUE(GetWindowLongPtrW(control(2), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(comboCount(Panel), 13);
  EXPECT_EQ(comboEntry(Panel, 12), L" L");
  EXPECT_EQ(SendMessageW(control(2), EM_GETLIMITTEXT, 0, 0), 2);
  // A plain edit scrolls too, and takes as many characters as its field has digits.
  chooseInCombo(Panel, 12);
  const auto labelStyle = static_cast<DWORD>(GetWindowLongPtrW(control(1), GWL_STYLE));
  EXPECT_TRUE(labelStyle & ES_AUTOHSCROLL);
  EXPECT_EQ(SendMessageW(control(1), EM_GETLIMITTEXT, 0, 0), 3);
}

// ---- controls kept from line to line

// What the user can see and reach of the panel: per control its class, place, text, list
// entries and selection; the cells' texts; the data items' visibility; the tab order.
struct PanelView {
  std::vector<std::wstring> controls;
  std::vector<std::wstring> cells;
  std::vector<int> tabOrder;
  bool operator==(const PanelView&) const = default;
};

void PrintTo(const PanelView& view, std::ostream* out) {
  for (const std::wstring& c : view.controls) *out << "\n  " << wideToSjis(c);
  for (const std::wstring& c : view.cells) *out << "\n  cell " << wideToSjis(c);
  *out << "\n  tab order:";
  for (int id : view.tabOrder) *out << " " << id;
}

TEST_F(FieldPanelTest, ALineShownInTheControlsOfAnotherLooksAsIfBuiltAnew) {
  // Neighbours share layouts, kinds and data fields, so that controls are kept or moved.
  const std::vector<ProgramLine> lines = {
      sendChr({0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x0d}),
      sendChr({0x31, 0x32}),
      makeLine(2, 0, 8, 0x03, {0x4f, 0x01, 0x4b, 0xb1, 0xb2, 0xb3, 0x7f, 0x80}),  // WAIT CHR
      makeLine(4, 0, 2, 0x01, {0x41, 0x42}, 12),                                  // IF CHR
      makeLine(7, 0, 3, 0, {0x39, 0x30}),                                         // SET REG
      makeLine(7, 0, 3, 2),                                                       // SET REG word
      makeLine(7, 6, 2, 3, {0x61, 0x62, 0x63}),                                   // SET DA
      gotoLine(7),
      sendChr({}),
      labelLine(5),
      makeLine(2, 3, 0x39, 0x30),  // WAIT TM
      sendChr({0x0d}),
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    storeLine(document.programArea, 0, static_cast<int>(i), lines[i]);
  }
  const auto view = [this] {
    PanelView v;
    const POINT o = origin();
    for (int n = 0; n < PanelControlCount; ++n) {
      HWND c = control(n);
      if (c == nullptr) continue;
      const RECT r = rectOf(c);
      std::wstring entry = std::to_wstring(n) + L" " + classOf(c) + L" " +
                           std::to_wstring(r.left - o.x) + L"," + std::to_wstring(r.top - o.y) +
                           L" " + std::to_wstring(r.right - r.left) + L" [" + controlText(n) + L"]";
      if (classOf(c) == L"ComboBox") {
        entry += L" selection " + std::to_wstring(comboSelection(Panel + n)) + L" of";
        for (int k = 0; k < comboCount(Panel + n); ++k) entry += L" " + comboEntry(Panel + n, k);
      }
      if (IsWindowVisible(c) == FALSE) entry += L" hidden";
      v.controls.push_back(entry);
    }
    for (int i = 0; i < 8; ++i) {
      v.cells.push_back(cell(i) == nullptr ? L"none" : L"[" + cellText(i) + L"]");
    }
    v.cells.push_back(IsWindowVisible(item(IDC_CHAR_CELLS_LABEL)) ? L"label" : L"no label");
    for (HWND c = control(0);;) {
      c = GetNextDlgTabItem(window, c, FALSE);
      const int id = GetDlgCtrlID(c);
      if (id <= Panel || id > Panel + PanelControlCount) break;
      v.tabOrder.push_back(id - Panel);
    }
    return v;
  };

  // Built anew: the dialog opened on each line as its stored cursor.
  std::vector<PanelView> fresh;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    setCursor(document.programArea, 0, static_cast<int>(i));
    open();
    fresh.push_back(view());
    DestroyWindow(window);
    window = nullptr;
    pump();
  }
  // Shown in the controls of the line before: down with Enter's message, then back up.
  setCursor(document.programArea, 0, 0);
  open();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    SCOPED_TRACE("down to line " + std::to_string(i));
    post(UM_NEXT_LINE);
    EXPECT_EQ(view(), fresh[i]);
  }
  for (std::size_t i = lines.size() - 1; i-- > 0;) {
    SCOPED_TRACE("up to line " + std::to_string(i));
    post(UM_PREV_LINE);
    EXPECT_EQ(view(), fresh[i]);
  }
}

// A kind selector refilled for another instruction is repainted when the entry it shows changes,
// and only then: a stale entry would stay on screen, and a needless repaint costs more than the
// rest of a line change.
TEST_F(FieldPanelTest, AKindSelectorIsRepaintedOnlyWhenItsEntryChanges) {
  storeLine(document.programArea, 0, 0, sendChr({0x41}));
  storeLine(document.programArea, 0, 1, makeLine(2, 0, 1, 0, {0x42}));  // WAIT CHR
  storeLine(document.programArea, 0, 2, makeLine(1, 1, 0, 0));          // SEND TBL
  open();
  struct Step {
    int line;
    const wchar_t* entry;
    bool repaint;
  };
  for (const Step& step : {Step{1, L"CHR", false}, Step{2, L"TBL", true}}) {
    SCOPED_TRACE("line " + std::to_string(step.line));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    dialog.currentLine = step.line;
    SendMessageW(item(IDC_PROGRAM_LIST), LB_SETCURSEL, static_cast<WPARAM>(step.line), 0);
    SendMessageW(window, UM_SHOW_LINE, RebuildPanel, 0);
    EXPECT_EQ(controlText(1), step.entry);
    EXPECT_EQ(GetUpdateRect(control(1), nullptr, FALSE) != FALSE, step.repaint);
    pump();
  }
}

// ---- showing stored lines

struct ShowCase {
  const char* name;
  ProgramLine line;
  std::vector<std::pair<int, const wchar_t*>> texts;  // control, text
};

TEST_F(FieldPanelTest, ShowsEveryFormatOfAStoredLine) {
  const std::vector<ShowCase> cases = {
      {"RETI any label", makeLine(9, 0, 0, 0, {}, 0xFFFF), {{2, L"*"}}},
      {"RETI label 7", makeLine(9, 0, 0, 0, {}, 7), {{2, L"007"}}},
      {"INT", makeLine(8, 0, 0, 0, {}, 42), {{1, L"TRG 0"}, {2, L"L"}, {3, L"042"}}},
      {"LBL", labelLine(999), {{1, L"999"}}},
      {"SET DV", makeLine(7, 7, 12, 0xB, {5}), {{2, L"12"}, {4, L"B"}, {5, L"5"}}},
      {"IF REG",
       makeLine(4, 5, 0xA, 3, {0xC}, 5),
       {{2, L"A"}, {3, L">"}, {4, L"REG"}, {5, L"C"}, {7, L"005"}}},
      {"SEND DA", makeLine(1, 5, 7, 255), {{2, L"7"}, {3, L"+REG"}, {4, L"*"}}},
      {"WAIT TM", makeLine(2, 3, 0x39, 0x30), {{2, L"12345"}}},
      {"WAIT LN", makeLine(2, 5, 6, 1), {{2, L"CI"}, {4, L"1"}}},
      {"SET REG word", makeLine(7, 0, 3, 2), {{2, L"3"}, {3, L"DEC"}}},
      {"SET REG number", makeLine(7, 0, 3, 0, {0x39, 0x30}), {{3, L"012345"}}},
      {"SEND CHR", sendChr({0x41, 0x0f}), {{2, L"41"}, {3, L"0f"}, {4, L""}}},
  };
  for (const ShowCase& c : cases) {
    SCOPED_TRACE(c.name);
    showAsLineZero(c.line);
    for (const auto& [n, expected] : c.texts) {
      ASSERT_TRUE(exists(n)) << "control " << n;
      EXPECT_EQ(controlText(n), expected) << "control " << n;
    }
  }
  // The last case: the cells show the characters of the bytes in use.
  EXPECT_EQ(cellText(0), L"A");
  EXPECT_EQ(cellText(2), L"");
}

TEST_F(FieldPanelTest, PatternTokensShowInFieldAndCell) {
  // WAIT CHR: mask bit 1 marks the don't-care, bit 2 the flag.
  ProgramLine line = makeLine(2, 0, 3, 0x06, {0x30, 0, 1});
  openWith(line);
  EXPECT_EQ(controlText(2), L"30");
  EXPECT_EQ(controlText(3), L"*");
  EXPECT_EQ(controlText(4), L"|>");
  EXPECT_EQ(cellText(0), L"0");
  EXPECT_EQ(cellText(1), L"*");
  EXPECT_EQ(cellText(2), L"|>");
}

TEST_F(FieldPanelTest, LinesTheEditorNeverWritesStayInsideThePanel) {
  // Count 12 in a SEND CHR line, an instruction past LBL, a SEND kind without a row.
  const std::array<ProgramLine, 3> lines = {makeLine(1, 0, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8}),
                                            makeLine(13), makeLine(1, 8)};
  open();
  for (const ProgramLine& line : lines) {
    storeLine(document.programArea, 0, 0, line);
    post(UM_SHOW_LINE, RebuildPanel);
    EXPECT_EQ(item(Panel + 12), nullptr);
    EXPECT_EQ(item(CellBase + 32), nullptr);
  }
  // Instruction 13 leaves the selector without a selection.
  storeLine(document.programArea, 0, 0, lines[1]);
  post(UM_SHOW_LINE, RebuildPanel);
  EXPECT_EQ(comboSelection(Panel), -1);
  storeLine(document.programArea, 0, 0, lines[0]);
  post(UM_SHOW_LINE, RebuildPanel);
  EXPECT_EQ(controlText(9), L"08");
}

TEST_F(FieldPanelTest, ProgramWithoutLinesShowsANopPanelAndStoresNothing) {
  setProgramStart(document.programArea, 1, 0);  // program A: no lines
  const ProgramArea before = document.programArea;
  open();
  ASSERT_EQ(listCount(), 0);
  EXPECT_EQ(comboSelection(Panel), 0);
  EXPECT_FALSE(exists(1));
  chooseInCombo(Panel, 1);
  EXPECT_TRUE(exists(2));
  typeDigit(2, L'4');
  EXPECT_EQ(document.programArea.slots, before.slots);
}

// ---- the road of one edit

TEST_F(FieldPanelTest, TypingTwoDigitsStoresTheByteAndMovesOnToOvertypeTheNextField) {
  openWith(sendChr({0x11, 0x22}));
  // The focus selects the whole text, so that typing replaces it.
  focus(2);
  EXPECT_EQ(GetFocus(), control(2));
  typeDigit(2, L'4');
  EXPECT_EQ(stored().bytes[4], 0x04);
  EXPECT_EQ(stored().bytes[5], 0x22);
  EXPECT_EQ(listEntry(0), expectedListing(stored()));
  EXPECT_EQ(GetFocus(), control(2));
  EXPECT_EQ(controlText(3), L"22");

  typeDigit(2, L'1');
  EXPECT_EQ(controlText(2), L"41");
  // The next byte stays, selected, so that typing replaces it.
  EXPECT_EQ(controlText(3), L"22");
  EXPECT_EQ(GetFocus(), control(3));
  DWORD selectionStart = 9, selectionEnd = 9;
  SendMessageW(control(3), EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
               reinterpret_cast<LPARAM>(&selectionEnd));
  EXPECT_EQ(selectionStart, 0u);
  EXPECT_EQ(selectionEnd, 2u);
  EXPECT_EQ(stored().bytes[4], 0x41);
  EXPECT_EQ(stored().bytes[5], 0x22);
  EXPECT_EQ(stored().bytes[2], 2) << "the second byte is kept";
  EXPECT_EQ(listEntry(0), expectedListing(stored()));
  EXPECT_EQ(listSelection(), 0);
  EXPECT_EQ(cellText(0), L"A");

  // Only "4" in the second field, then leaving it: the stored byte comes back as "04".
  typeDigit(3, L'4');
  EXPECT_EQ(GetFocus(), control(3));
  focus(5);
  EXPECT_EQ(controlText(3), L"04");
  EXPECT_EQ(controlText(2), L"41");
  EXPECT_EQ(stored().bytes[5], 0x04);
  EXPECT_EQ(stored().bytes[2], 2);
}

TEST_F(FieldPanelTest, TypingIntoTheLastDataFieldNeverMovesOn) {
  openWith(sendChr({1, 2, 3, 4, 5, 6, 7, 8}));
  focus(9);
  typeDigit(9, L'a');
  typeDigit(9, L'b');
  EXPECT_EQ(GetFocus(), control(9));
  EXPECT_EQ(stored().bytes[11], 0xAB);
}

TEST_F(FieldPanelTest, InvalidHexDigitIsCorrectedToItsMinimumAndLeavingShowsUpperCase) {
  // IF REG: control 2 is a HexDigit field.
  openWith(makeLine(4, 5, 0xA, 0, {3}, 1));
  focus(2);
  type(control(2), L'x', 'X');
  EXPECT_EQ(controlText(2), L"0");
  EXPECT_EQ(stored().bytes[2], 0);
  SendMessageW(control(2), EM_SETSEL, 0, -1);
  type(control(2), L'f', 'F');
  focus(5);
  EXPECT_EQ(controlText(2), L"F");
  EXPECT_EQ(stored().bytes[2], 0xF);
}

TEST_F(FieldPanelTest, PatternShortcutsGiveFlagAndDontCareAndMoveOn) {
  // Typed into data fields 2, 3 and 4 in turn: each fills its field and moves the focus on.
  struct Shortcut {
    const char* what;
    bool shift;
    int key;  // held down while the character arrives
    wchar_t character;
    const wchar_t* text;
  };
  const Shortcut shortcuts[] = {
      {"Shift+F: the flag", true, 'F', L'F', L"|>"},
      {"keypad *: don't care", false, VK_MULTIPLY, L'*', L"*"},
      {"Shift+8: don't care, whatever character the layout gives", true, '8', L'(', L"*"},
  };
  openWith(makeLine(2, 0));
  focus(2);
  int n = 2;
  for (const Shortcut& shortcut : shortcuts) {
    SCOPED_TRACE(shortcut.what);
    if (shortcut.shift) {
      holdKeys({VK_SHIFT, shortcut.key});
    } else {
      holdKeys({shortcut.key});
    }
    SendMessageW(control(n), WM_CHAR, static_cast<WPARAM>(shortcut.character), 0);
    pump();
    releaseKeys();
    EXPECT_EQ(controlText(n), shortcut.text);
    EXPECT_EQ(GetFocus(), control(n + 1));
    ++n;
  }

  // A lower-case f is a hexadecimal digit.
  type(control(5), L'f', 'F');
  EXPECT_EQ(controlText(5), L"f");
  EXPECT_EQ(GetFocus(), control(5));

  const ProgramLine& line = stored();
  EXPECT_EQ(line.bytes[2], 4) << "count";
  EXPECT_EQ(line.bytes[3], 0x07) << "mask";
  EXPECT_EQ(line.bytes[4], 1) << "the flag stands as 1";
  EXPECT_EQ(line.bytes[5], 0);
  EXPECT_EQ(line.bytes[7], 0x0f);
  EXPECT_EQ(listEntry(0), expectedListing(line));
  EXPECT_EQ(cellText(0), L"|>");
  EXPECT_EQ(cellText(1), L"*");
}

TEST_F(FieldPanelTest, RegisterValueThatIsNoNumberStoresNothing) {
  // SET REG 3 = 000005: control 3 is the register value.
  const ProgramLine line = makeLine(7, 0, 3, 0, {5});
  openWith(line);
  EXPECT_EQ(controlText(3), L"000005");
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(control(3), &info));
  SetFocus(info.hwndItem);
  pump();
  SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
  for (const wchar_t c : {L'a', L'b', L'c'})
    type(info.hwndItem, c, static_cast<WPARAM>(std::towupper(static_cast<wint_t>(c))));
  EXPECT_EQ(controlText(3), L"abc");
  EXPECT_EQ(stored(), line);
  EXPECT_EQ(listEntry(0), expectedListing(line));
  focus(2);
  EXPECT_EQ(controlText(3), L"000005");

  // Choosing a word from the list stores it.
  chooseInCombo(Panel + 3, 1);
  EXPECT_EQ(controlText(3), L"DEC");
  EXPECT_EQ(stored().bytes[3], 2);
}

TEST_F(FieldPanelTest, ChoosingInAListFieldStoresTheEntry) {
  // WAIT FRM: control 2 offers CLR and NOCLR; WAIT LN: control 2 the eight signal lines.
  openWith(makeLine(2, 1));
  ASSERT_EQ(comboCount(Panel + 2), 2);
  chooseInCombo(Panel + 2, 1);
  EXPECT_EQ(stored(), makeLine(2, 1, 1));
  EXPECT_EQ(listEntry(0), expectedListing(stored()));
  // SET OUT offers the signal lines without EX.
  chooseInCombo(Panel, 7);
  chooseInCombo(Panel + 1, 5);
  chooseInCombo(Panel + 1, 1);
  EXPECT_EQ(comboCount(Panel + 2), 7);
  EXPECT_EQ(comboEntry(Panel + 2, 6), L"CI");
  chooseInCombo(Panel + 2, 6);
  EXPECT_EQ(stored().bytes[0], 7);
  EXPECT_EQ(stored().bytes[1], 1);
  EXPECT_EQ(stored().bytes[2], 6);
}

// ---- keys

TEST_F(FieldPanelTest, KeysOnTheInstructionSelectorPickTheInstruction) {
  struct KeyCase {
    WPARAM key;
    int instruction;
    int focused;  // control that has the focus afterwards
  };
  const std::array<KeyCase, 5> cases = {{
      {'3', 3, 2},             // GOTO: over the caption "L" to the label field
      {'C', 12, 1},            // LBL
      {'B', 11, 0},            // STOP: no field follows
      {VK_NUMPAD1, 1, 1},      // SEND: the kind selector
      {VK_NUMPAD0 + 8, 8, 3},  // INT: over "TRG 0" and "L"
  }};
  openWith(sendChr({0x41}));
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.key));
    chooseInCombo(Panel, 1);
    focus(0);
    press(0, c.key);
    EXPECT_EQ(comboSelection(Panel), c.instruction);
    EXPECT_EQ(stored().bytes[0], c.instruction);
    EXPECT_EQ(stored().bytes[12], 0);
    EXPECT_EQ(listEntry(0), expectedListing(stored()));
    EXPECT_EQ(GetFocus(), control(c.focused));
  }
}

TEST_F(FieldPanelTest, DigitOnTheWaitKindSelectorPicksTheKind) {
  openWith(makeLine(2, 0));
  focus(1);
  press(1, '3');
  EXPECT_EQ(comboSelection(Panel + 1), 3);
  EXPECT_EQ(stored().bytes[1], 3);
  ASSERT_TRUE(exists(2));
  EXPECT_EQ(rectOf(control(2)).right - rectOf(control(2)).left, scaledX(40));
  EXPECT_EQ(GetFocus(), control(2));

  // A digit that names no WAIT kind changes nothing.
  focus(1);
  press(1, '7');
  EXPECT_EQ(comboSelection(Panel + 1), 3);
  EXPECT_EQ(stored().bytes[1], 3);
  EXPECT_EQ(GetFocus(), control(1));
}

TEST_F(FieldPanelTest, ArrowsMoveBetweenFieldsPastCaptions) {
  // IF TM: kind selector, unit, caption "L", label.
  openWith(makeLine(4, 2, 1, 0, {}, 12));
  struct ArrowCase {
    int from;
    WPARAM key;
    int to;
  };
  const std::array<ArrowCase, 6> cases = {{
      {4, VK_LEFT, 2},
      {2, VK_LEFT, 1},
      {1, VK_LEFT, 0},
      {0, VK_LEFT, 0},
      {2, VK_RIGHT, 4},
      {4, VK_RIGHT, 4},
  }};
  for (const ArrowCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + (c.key == VK_LEFT ? " left" : " right"));
    focus(c.from);
    press(c.from, c.key);
    EXPECT_EQ(GetFocus(), control(c.to));
  }
  // The arrow commits the field first: a text that reached the field without a notification.
  focus(4);
  dialog.panel.suppressFieldEvents = true;
  SetWindowTextW(control(4), L"77");
  dialog.panel.suppressFieldEvents = false;
  press(4, VK_LEFT);
  EXPECT_EQ(stored().bytes[12], 77);
}

TEST_F(FieldPanelTest, EnterMovesToTheNextLineOnReleaseAndStopsAtTheLast) {
  open();
  chooseLine(5);
  focus(0);
  SendMessageW(control(0), WM_KEYDOWN, VK_RETURN, 0);
  pump();
  EXPECT_EQ(dialog.currentLine, 5) << "nothing on the press";
  SendMessageW(control(0), WM_KEYUP, VK_RETURN, 0);
  pump();
  EXPECT_EQ(dialog.currentLine, 6);
  press(0, VK_RETURN, {VK_SHIFT});
  EXPECT_EQ(dialog.currentLine, 5);

  chooseLine(511);
  chooseInCombo(Panel, 3);
  focus(2);
  press(2, VK_SEPARATOR);
  EXPECT_EQ(dialog.currentLine, 511);
  EXPECT_EQ(listSelection(), 511);
}

struct DataRunCase {
  const char* name;
  std::vector<int> data;
  int control;
  WPARAM key;
  std::vector<int> stored;  // the data bytes in use afterwards
  std::vector<const wchar_t*> shown;
};

TEST_F(FieldPanelTest, ShiftInsertAndShiftDeleteShiftTheDataRun) {
  const std::vector<DataRunCase> cases = {
      {"insert first",
       {0x41, 0x42, 0x43},
       2,
       VK_INSERT,
       {0, 0x41, 0x42, 0x43},
       {L"00", L"41", L"42", L"43", L""}},
      {"delete second", {0x41, 0x42, 0x43}, 3, VK_DELETE, {0x41, 0x43}, {L"41", L"43", L""}},
      {"insert drops the eighth",
       {1, 2, 3, 4, 5, 6, 7, 8},
       2,
       VK_INSERT,
       {0, 1, 2, 3, 4, 5, 6, 7},
       {L"00", L"01", L"02", L"03", L"04", L"05", L"06", L"07"}},
      {"insert in the last field",
       {1, 2, 3, 4, 5, 6, 7, 8},
       9,
       VK_INSERT,
       {1, 2, 3, 4, 5, 6, 7},
       {L"01", L"02", L"03", L"04", L"05", L"06", L"07", L""}},
  };
  open();
  for (const DataRunCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramLine line = makeLine(1, 0, static_cast<int>(c.data.size()));
    for (std::size_t i = 0; i < c.data.size() && i < 8; ++i)
      line.bytes[4 + i] = static_cast<std::uint8_t>(c.data[i]);
    storeLine(document.programArea, 0, 0, line);
    post(UM_SHOW_LINE, RebuildPanel);
    focus(c.control);
    press(c.control, c.key, {VK_SHIFT});
    const ProgramLine& after = stored();
    EXPECT_EQ(static_cast<std::size_t>(after.bytes[2]), c.stored.size());
    for (std::size_t i = 0; i < c.stored.size(); ++i) EXPECT_EQ(after.bytes[4 + i], c.stored[i]);
    for (std::size_t i = 0; i < c.shown.size(); ++i)
      EXPECT_EQ(controlText(2 + static_cast<int>(i)), c.shown[i]) << "field " << i;
    EXPECT_EQ(GetFocus(), control(c.control));
    EXPECT_EQ(listEntry(0), expectedListing(after));
  }
}

TEST_F(FieldPanelTest, ShiftInsertOutsideDataFieldsPastes) {
  openWith(gotoLine(5));
  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 3 * sizeof(wchar_t));
  ASSERT_NE(memory, nullptr);
  std::memcpy(GlobalLock(memory), L"36", 3 * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();

  focus(2);  // the whole text selected
  holdKeys({VK_SHIFT});
  SendMessageW(control(2), WM_KEYDOWN, VK_INSERT, 0);
  pump();
  releaseKeys();
  EXPECT_EQ(controlText(2), L"36");
  EXPECT_EQ(stored(), gotoLine(36));
}

// ---- guidance

struct GuidanceCase {
  const char* name;
  ProgramLine line;
  int control;
  const wchar_t* text;
};

TEST_F(FieldPanelTest, FocusShowsTheGuidanceOfTheField) {
  const std::wstring charKeys = L"\r\n\r\nshift+INSで一文字挿入\r\nshift+DELで一文字削除";
  const std::wstring pattern =
      L"00からFFまでの値を入力\r\n*(アスタリスク)でドントケア指定\r\nshift+Fでフラグ設定" +
      charKeys;
  const std::wstring data = L"00からFFまでの値を入力" + charKeys;
  const std::vector<GuidanceCase> cases = {
      {"instruction selector", sendChr({}), 0, nullptr},
      {"WAIT kinds", makeLine(2, 0), 1, L"0:CHR\r\n1:FRM\r\n2:TRG\r\n3:TM\r\n4:KEY\r\n5:LN"},
      {"WAIT CHR pattern", makeLine(2, 0), 5, pattern.c_str()},
      {"SEND CHR data", sendChr({}), 9, data.c_str()},
      {"SET DA data", makeLine(7, 6), 3, data.c_str()},
      {"IF CHR label", makeLine(4, 0), 11, L"000から999までの値を入力"},
      {"SET TM value", makeLine(7, 2), 3,
       L"000001から999999までの値を入力\r\nもしくはSTART / STOP / RSTARTより選択"},
      {"SET CT value", makeLine(7, 3), 3,
       L"000000から999999までの値を入力\r\nもしくはINC / RESETより選択"},
      {"SEND DA index", makeLine(1, 5), 4,
       L"0からFまでの値を入力\r\n*(アスタリスク)でドントケア指定"},
      {"WAIT LN line", makeLine(2, 5), 2, L"RS / CS / DR / CD / ER / SQ / CI / EXより選択"},
      {"LBL label", labelLine(1), 1, L"000から999までの値を入力"},
  };
  open();
  for (const GuidanceCase& c : cases) {
    SCOPED_TRACE(c.name);
    storeLine(document.programArea, 0, 0, c.line);
    post(UM_SHOW_LINE, RebuildPanel);
    showStatus(window, IDS_LOADED);
    focus(c.control);
    EXPECT_EQ(text(IDC_STATUS), c.text == nullptr ? loadString(IDS_INSTRUCTION_KEYS) : c.text);
  }
}

TEST_F(FieldPanelTest, GuidanceOfCaptionsAndKindlessSelectorsIsEmpty) {
  openWith(gotoLine(1));
  showStatus(window, IDS_LOADED);
  showGuidance(dialog, 1);
  EXPECT_EQ(text(IDC_STATUS), L"");
  showStatus(window, IDS_LOADED);
  chooseInCombo(Panel, 0);
  showGuidance(dialog, 1);
  EXPECT_EQ(text(IDC_STATUS), L"");
}

}  // namespace
}  // namespace vx::ui::test
