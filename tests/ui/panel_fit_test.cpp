// Every panel control has room for its widest value in the font and DPI the dialog really has,
// every value can be typed in full, and the three dialogs' captions fit their controls. Run in
// both locales and again at 144 DPI (ui_test.144dpi).
#include <algorithm>
#include <array>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"
#include "ui/direct_input.h"
#include "ui/move_copy_dialog.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

constexpr int Panel = IDC_PANEL_FIRST;

// The size of `text` in the control's font, as GDI measures it.
SIZE extentOf(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size;
}

// What a field can hold: its digit count, the characters of its digits, and its tokens.
struct FieldValues {
  FieldType type;
  int digits;
  const wchar_t* characters;
  std::vector<std::wstring> tokens;
};

constexpr const wchar_t* Decimal = L"0123456789";
constexpr const wchar_t* Hexadecimal = L"0123456789ABCDEFabcdef";

// clang-format off
const std::vector<FieldValues> EditableFields = {
    {FieldType::UnitNumber,    1, L"01",     {}},
    {FieldType::LevelBit,      1, L"01",     {}},
    {FieldType::TriggerNumber, 1, L"123",    {}},
    {FieldType::SmallDigit,    1, L"0123456", {}},
    {FieldType::HexDigit,      1, Hexadecimal, {}},
    {FieldType::IndexRegister, 1, Hexadecimal, {L"*"}},
    {FieldType::EntryNumber,   2, Decimal,     {}},
    {FieldType::CharByte,      2, Hexadecimal, {}},
    {FieldType::PatternByte,   2, Hexadecimal, {L"*", L"|>"}},
    {FieldType::EntryByte,     2, Hexadecimal, {}},
    {FieldType::LabelNumber,   3, Decimal,     {L"*"}},
    {FieldType::WaitTime,      4, Decimal,     {}},
    {FieldType::RegisterValue, 6, Decimal,     {}},
    {FieldType::TimerValue,    6, Decimal,     {}},
    {FieldType::CounterValue,  6, Decimal,     {}},
};
// clang-format on

const FieldValues* valuesOf(FieldType type) {
  for (const FieldValues& values : EditableFields) {
    if (values.type == type) return &values;
  }
  return nullptr;
}

// The widest text of a field in the control's font: a digit string of full length made of the
// widest digit, or a token, or (for a list) an entry of its list.
std::wstring widestValue(HWND control, const FieldValues* values, HWND list) {
  std::vector<std::wstring> candidates;
  if (values != nullptr) {
    for (const wchar_t* c = values->characters; *c != 0; ++c)
      candidates.emplace_back(static_cast<std::size_t>(values->digits), *c);
    candidates.insert(candidates.end(), values->tokens.begin(), values->tokens.end());
  }
  if (list != nullptr) {
    const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::array<wchar_t, 64> entry{};
      SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(entry.data()));
      candidates.emplace_back(entry.data());
    }
  }
  std::wstring widest;
  for (const std::wstring& candidate : candidates) {
    if (extentOf(control, candidate).cx > extentOf(control, widest).cx) widest = candidate;
  }
  return widest;
}

// The rectangle a control shows its text in: an edit's formatting rectangle, the selection field
// of a combo box (its edit part's formatting rectangle when it has one), a static's client area.
RECT textRoom(HWND control) {
  RECT room{};
  const std::wstring name = classOf(control);
  if (name == L"Edit") {
    SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
  } else if (name == L"ComboBox") {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(control, &info);
    if (info.hwndItem != nullptr && info.hwndItem != control) {
      SendMessageW(info.hwndItem, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    } else {
      room = info.rcItem;
      InflateRect(&room, -1, -1);  // the focus rectangle
    }
  } else {
    GetClientRect(control, &room);
  }
  return room;
}

void expectFits(HWND control, const std::wstring& text) {
  const SIZE needed = extentOf(control, text);
  const RECT room = textRoom(control);
  EXPECT_LE(needed.cx, room.right - room.left) << "\"" << wideToSjis(text) << "\"";
  EXPECT_LE(needed.cy, room.bottom - room.top) << "\"" << wideToSjis(text) << "\"";
}

class PanelFitTest : public MainDialogTest {
 protected:
  // The key handler's key down, the character into the control's own procedure, the key up.
  void type(HWND target, const std::wstring& text) {
    for (const wchar_t c : text) {
      const auto key = static_cast<WPARAM>(std::towupper(static_cast<wint_t>(c)));
      SendMessageW(target, WM_KEYDOWN, key, 0);
      SendMessageW(target, WM_CHAR, c, 0);
      SendMessageW(target, WM_KEYUP, key, 0);
      pump();
    }
  }

  // The edit that takes the keys of panel control n: itself, or its edit part.
  HWND editOf(int n) const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (classOf(control(n)) == L"ComboBox" && GetComboBoxInfo(control(n), &info))
      return info.hwndItem;
    return control(n);
  }
};

TEST_F(PanelFitTest, EveryControlOfEveryRowHoldsItsWidestValue) {
  open();
  RECT units{0, 0, 4, 8};
  MapDialogRect(window, &units);
  RecordProperty("base_units", std::to_string(units.right) + "x" + std::to_string(units.bottom));
  std::vector<FieldType> seen;
  expectFits(control(0), widestValue(control(0), nullptr, control(0)));
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      SCOPED_TRACE("instruction " + std::to_string(instruction) + " kind " + std::to_string(kind));
      chooseInCombo(Panel, instruction);
      if (hasKinds(instruction)) {
        chooseInCombo(Panel + 1, kind);
        expectFits(control(1), widestValue(control(1), nullptr, control(1)));
      }
      for (int n = hasKinds(instruction) ? 2 : 1; n < 12; ++n) {
        const FieldType type = fieldTypeAt(instruction, kind, n - 1);
        if (type == FieldType::End) break;
        SCOPED_TRACE("control " + std::to_string(n));
        HWND target = control(n);
        ASSERT_NE(target, nullptr);
        seen.push_back(type);
        const bool list = classOf(target) == L"ComboBox";
        if (classOf(target) == L"Static") {
          expectFits(target, getWideText(target));
        } else {
          const std::wstring widest = widestValue(target, valuesOf(type), list ? target : nullptr);
          expectFits(target, widest);
        }
      }
    }
  }
  // Every field type but the kind selector and the end mark appears in some row.
  for (int t = 2; t < FieldTypeCount; ++t) {
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<FieldType>(t)), seen.end())
        << "field type " << t;
  }
}

// Whatever row the panel shows, the direct input button covers no field and no character cell,
// and it stays inside the frame, which stays inside the dialog.
TEST_F(PanelFitTest, DirectInputButtonStandsClearOfEveryDataRow) {
  open();
  const auto rectOf = [this](HWND target) { return rectInDialog(window, target); };
  const RECT width = rectOf(item(IDC_EDIT_FRAME));
  int rows = 0;
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      if (firstDataPosition(instruction, kind) < 0) continue;
      SCOPED_TRACE("instruction " + std::to_string(instruction) + " kind " + std::to_string(kind));
      ++rows;
      chooseInCombo(Panel, instruction);
      chooseInCombo(Panel + 1, kind);
      ASSERT_TRUE(IsWindowVisible(item(IDC_DIRECT_INPUT)));
      const RECT button = rectOf(item(IDC_DIRECT_INPUT));
      for (int id = Panel; id <= IDC_PANEL_LAST + 0; ++id) {
        if (item(id) == nullptr) continue;
        RECT overlap{};
        const RECT field = rectOf(item(id));
        EXPECT_FALSE(IntersectRect(&overlap, &button, &field)) << "control " << id - Panel;
      }
      for (int i = 0; i < 8; ++i) {
        RECT overlap{};
        const RECT cell = rectOf(item(11000 + 4 * i));
        EXPECT_FALSE(IntersectRect(&overlap, &button, &cell)) << "cell " << i;
      }
      const RECT frame = rectOf(item(IDC_EDIT_FRAME));
      EXPECT_LE(button.right, frame.right);
      RECT client{};
      GetClientRect(window, &client);
      EXPECT_LE(frame.right, client.right);
      // The dialog took its width before it was shown: no row widens it again.
      EXPECT_EQ(frame.right, width.right);
    }
  }
  EXPECT_GE(rows, 4);
}

struct TypingCase {
  const char* name;
  ProgramLine line;
  FieldType type;
  const wchar_t* typed;  // one more character than the field holds, or all it holds
  const wchar_t* shown;
  std::uint32_t (*storedValue)(const LineFields&);
  std::uint32_t expected;
};

TEST_F(PanelFitTest, TypingTheMostDigitsStoresExactlyThatNumber) {
  const auto value = [](const LineFields& f) { return f.value; };
  const auto label = [](const LineFields& f) { return std::uint32_t{f.label}; };
  const auto firstByte = [](const LineFields& f) { return std::uint32_t{f.data[0]}; };
  const auto paramA = [](const LineFields& f) { return std::uint32_t{f.paramA}; };
  const auto paramB = [](const LineFields& f) { return std::uint32_t{f.paramB}; };
  // clang-format off
  const std::vector<TypingCase> cases = {
      {"SET REG 123456",     makeLine(7, 0, 3, 0, {5}), FieldType::RegisterValue, L"123456",  L"123456", value, 123456},
      {"SET REG 000000",     makeLine(7, 0, 3, 0, {5}), FieldType::RegisterValue, L"000000",  L"000000", value, 0},
      {"SET REG seventh",    makeLine(7, 0, 3, 0, {5}), FieldType::RegisterValue, L"9876543", L"987654", value, 987654},
      {"SET TM 999999",      makeLine(7, 2, 1, 0, {5}), FieldType::TimerValue,    L"999999",  L"999999", value, 999999},
      {"SET CT 888888",      makeLine(7, 3, 1, 0, {5}), FieldType::CounterValue,  L"8888889", L"888888", value, 888888},
      {"WAIT TM 9999",       makeLine(2, 3, 1),         FieldType::WaitTime,      L"99998",   L"9999",   value, 9999},
      {"LBL 888",            labelLine(1),              FieldType::LabelNumber,   L"8889",    L"888",    label, 888},
      {"GOTO 999",           gotoLine(1),               FieldType::LabelNumber,   L"999",     L"999",    label, 999},
      {"SET DV entry 99",    makeLine(7, 7, 1, 0, {5}), FieldType::EntryNumber,   L"99",      L"99",     paramA, 99},
      {"SEND CHR ff",        sendChr({1}),              FieldType::CharByte,      L"fe",      L"fe",     firstByte, 0xFE},
      {"SEND DA index F",    makeLine(1, 5, 7, 0),     FieldType::IndexRegister, L"F",       L"F",      paramB, 0xF},
  };
  // clang-format on
  for (const TypingCase& c : cases) {
    SCOPED_TRACE(c.name);
    showAsLineZero(c.line);
    const LineFields shown = decodeLine(c.line);
    int n = 1;
    while (n < 12 && fieldTypeAt(shown.instruction, shown.kind, n - 1) != c.type) ++n;
    ASSERT_LT(n, 12);
    HWND edit = editOf(n);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    pump();
    SendMessageW(edit, EM_SETSEL, 0, -1);
    type(edit, c.typed);
    EXPECT_EQ(getWideText(edit), c.shown);
    EXPECT_EQ(c.storedValue(decodeLine(*lineAt(document.programArea, 0, 0))), c.expected);
    // The whole value stays in view: the edit has not scrolled any of it out.
    SendMessageW(edit, EM_SETSEL, 0, 0);
    pump();
    const auto firstVisible =
        static_cast<int>(SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(2, 2)));
    EXPECT_EQ(LOWORD(firstVisible), 0);
    expectFits(edit, c.shown);
  }
}

// Each static text, check box, button and group box of the three dialogs shows its whole text:
// mnemonic marks take no room, several lines wrap inside the control.
void expectTextsFit(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring text = getWideText(child);
    const std::wstring name = classOf(child);
    if (text.empty() || (name != L"Static" && name != L"Button")) continue;
    SCOPED_TRACE(wideToSjis(text));
    RECT client{};
    GetClientRect(child, &client);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    const DWORD type = style & BS_TYPEMASK;
    int room = client.right;
    if (name == L"Button" && type <= BS_DEFPUSHBUTTON) room -= 2 * GetSystemMetrics(SM_CXEDGE);
    if (name == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX))
      room -= GetSystemMetrics(SM_CXMENUCHECK);
    const bool multiline = text.find(L'\n') != std::wstring::npos;
    HDC dc = GetDC(child);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, multiline ? room : 0, 0};
    DrawTextW(dc, text.c_str(), -1, &needed,
              DT_CALCRECT | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(child, dc);
    EXPECT_LE(needed.right, room);
    if (name == L"Static") {
      EXPECT_LE(needed.bottom, client.bottom);
    }
  }
}

TEST_F(PanelFitTest, CaptionsOfTheMainDialogFit) {
  open();
  expectTextsFit(window);
}

TEST_F(PanelFitTest, CaptionsOfTheDirectInputAndMoveCopyDialogsFit) {
  open();
  std::optional<std::string> directInputText;
  MoveCopySession moveCopySession{document.programArea, MoveCopyView{}, std::nullopt};
  for (const auto& [id, procedure] : {std::pair{IDD_DIRECT_INPUT, &directInputProc},
                                      std::pair{IDD_MOVE_COPY, &moveCopyDialogProc}}) {
    SCOPED_TRACE(id);
    LPARAM parameter = id == IDD_MOVE_COPY ? reinterpret_cast<LPARAM>(&moveCopySession)
                                           : reinterpret_cast<LPARAM>(&directInputText);
    HWND secondary = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), window,
                                        procedure, parameter);
    ASSERT_NE(secondary, nullptr);
    expectTextsFit(secondary);
    DestroyWindow(secondary);
  }
}

}  // namespace
}  // namespace vx::ui::test
