// The guidance text of the status area: what the focused panel control accepts.
#include <array>
#include <string>

#include "ui/field_panel.h"
#include "ui/field_panel_parts.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui {

namespace {

// The text of a field type: the string's format, a second string appended to it (0 for none),
// and the texts that fill its %s placeholders in order.
struct FieldGuidance {
  FieldType type;
  unsigned format;
  unsigned appended;
  std::array<const wchar_t*, 3> values;
};

// clang-format off
constexpr std::array<FieldGuidance, 19> FieldGuidanceTable = {{
    {FieldType::UnitNumber,       IDS_VALUE_RANGE,           0,                  {L"0", L"1"}},
    {FieldType::LevelBit,         IDS_VALUE_RANGE,           0,                  {L"0", L"1"}},
    {FieldType::TriggerNumber,    IDS_VALUE_RANGE,           0,                  {L"1", L"3"}},
    {FieldType::SmallDigit,       IDS_VALUE_RANGE,           0,                  {L"0", L"6"}},
    {FieldType::HexDigit,         IDS_VALUE_RANGE,           0,                  {L"0", L"F"}},
    {FieldType::IndexRegister,    IDS_VALUE_RANGE_DONT_CARE, 0,                  {L"0", L"F"}},
    {FieldType::EntryNumber,      IDS_VALUE_RANGE,           0,                  {L"00", L"99"}},
    {FieldType::CharByte,         IDS_VALUE_RANGE,           IDS_CHAR_EDIT_KEYS, {L"00", L"FF"}},
    {FieldType::EntryByte,        IDS_VALUE_RANGE,           IDS_CHAR_EDIT_KEYS, {L"00", L"FF"}},
    {FieldType::PatternByte,      IDS_VALUE_RANGE_FLAG,      IDS_CHAR_EDIT_KEYS, {L"00", L"FF"}},
    {FieldType::LabelNumber,      IDS_VALUE_RANGE,           0,                  {L"000", L"999"}},
    {FieldType::WaitTime,         IDS_VALUE_RANGE,           0,                  {L"1", L"9999"}},
    {FieldType::ClearSelect,      IDS_CHOOSE_FROM,           0,                  {L"CLR / NOCLR"}},
    {FieldType::OutputLineSelect, IDS_CHOOSE_FROM,           0,                  {L"RS / CS / DR / CD / ER / SQ / CI"}},
    {FieldType::SignalLineSelect, IDS_CHOOSE_FROM,           0,                  {L"RS / CS / DR / CD / ER / SQ / CI / EX"}},
    {FieldType::CompareSelect,    IDS_CHOOSE_FROM,           0,                  {L"=,<>,<,>,<=,>="}},
    {FieldType::RegisterValue,    IDS_VALUE_RANGE_OR_CHOOSE, 0,                  {L"000000", L"999999", L"INC / DEC"}},
    {FieldType::TimerValue,       IDS_VALUE_RANGE_OR_CHOOSE, 0,                  {L"000001", L"999999", L"START / STOP / RSTART"}},
    {FieldType::CounterValue,     IDS_VALUE_RANGE_OR_CHOOSE, 0,                  {L"000000", L"999999", L"INC / RESET"}},
}};
// clang-format on

// The format with each "%s" replaced by the next value; "%%" stands for one "%".
std::wstring fillPlaceholders(const std::wstring& format,
                              const std::array<const wchar_t*, 3>& values) {
  std::wstring text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      if (format[i + 1] == L's') {
        if (next < values.size() && values[next] != nullptr) text += values[next];
        ++next;
        ++i;
        continue;
      }
      if (format[i + 1] == L'%') {
        text += L'%';
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  return text;
}

std::wstring fieldGuidance(FieldType type) {
  const FieldGuidance* row = nullptr;
  for (const FieldGuidance& candidate : FieldGuidanceTable) {
    if (candidate.type == type) row = &candidate;
  }
  if (row == nullptr) return {};  // End, the kind selector and captions
  std::wstring format = loadString(row->format);
  if (row->appended != 0) format += loadString(row->appended);
  return fillPlaceholders(format, row->values);
}

std::wstring guidanceText(const MainDialog& dialog, int control) {
  const int instruction = selectedInstruction(dialog);
  if (control == 0) return loadString(IDS_INSTRUCTION_KEYS);
  if (control == 1) {
    switch (instruction) {
      case static_cast<int>(Instruction::Send):
        return loadString(IDS_SEND_KINDS);
      case static_cast<int>(Instruction::Wait):
        return loadString(IDS_WAIT_KINDS);
      case static_cast<int>(Instruction::If):
        return loadString(IDS_IF_KINDS);
      case static_cast<int>(Instruction::Set):
        return loadString(IDS_SET_KINDS);
      case static_cast<int>(Instruction::Lbl):
        return fillPlaceholders(loadString(IDS_VALUE_RANGE), {L"000", L"999", nullptr});
      default:
        return {};
    }
  }
  const int kind = selectedKind(dialog, instruction);
  return fieldGuidance(controlFieldType(instruction, kind, control));
}

}  // namespace

void showGuidance(MainDialog& dialog, int control) {
  setWideText(GetDlgItem(dialog.window, IDC_STATUS), guidanceText(dialog, control));
}

}  // namespace vx::ui
