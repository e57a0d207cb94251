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
// how the range's bounds are written and what stands between the entries of its list. The range,
// the list and its words are the catalogue's.
struct FieldGuidance {
  FieldType type;
  unsigned format;
  unsigned appended;
  bool paddedBounds;         // with all of the field's digits ("000" to "999")
  const wchar_t* separator;  // between list entries
  // The lower bound the text names where it is not the field's minimum: the counter's text has
  // always named "000000", although a counter value takes 1 at least.
  const wchar_t* namedMinimum;
};

// clang-format off
constexpr std::array<FieldGuidance, 19> FieldGuidanceTable = {{
    {FieldType::UnitNumber,        IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::LevelBit,          IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::TriggerNumber,     IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::SmallDigit,        IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::HexDigit,          IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::IndexRegister,     IDS_VALUE_RANGE_DONT_CARE, 0,                  true,  nullptr, nullptr},
    {FieldType::EntryNumber,       IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::CharByte,          IDS_VALUE_RANGE,           IDS_CHAR_EDIT_KEYS, true,  nullptr, nullptr},
    {FieldType::EntryByte,         IDS_VALUE_RANGE,           IDS_CHAR_EDIT_KEYS, true,  nullptr, nullptr},
    {FieldType::PatternByte,       IDS_VALUE_RANGE_FLAG,      IDS_CHAR_EDIT_KEYS, true,  nullptr, nullptr},
    {FieldType::LabelNumber,       IDS_VALUE_RANGE,           0,                  true,  nullptr, nullptr},
    {FieldType::WaitTime,          IDS_VALUE_RANGE,           0,                  false, nullptr, nullptr},
    {FieldType::ClearSelect,       IDS_CHOOSE_FROM,           0,                  false, L" / ",  nullptr},
    {FieldType::OutputLineSelect,  IDS_CHOOSE_FROM,           0,                  false, L" / ",  nullptr},
    {FieldType::SignalLineSelect,  IDS_CHOOSE_FROM,           0,                  false, L" / ",  nullptr},
    {FieldType::CompareSelect,     IDS_CHOOSE_FROM,           0,                  false, L",",    nullptr},
    {FieldType::RegisterValue,     IDS_VALUE_RANGE_OR_CHOOSE, 0,                  true,  L" / ",  nullptr},
    {FieldType::TimerValue,        IDS_VALUE_RANGE_OR_CHOOSE, 0,                  true,  L" / ",  nullptr},
    {FieldType::CounterValue,      IDS_VALUE_RANGE_OR_CHOOSE, 0,                  true,  L" / ",  L"000000"},
}};
// clang-format on

using PlaceholderValues = std::array<std::wstring, 3>;

// The entries of the field's list, one separator between each two.
std::wstring listText(FieldType type, const wchar_t* separator) {
  std::wstring text;
  for (const char* name : namesOf(optionList(type))) {
    if (!text.empty()) text += separator;
    text += sjisToWide(name);
  }
  return text;
}

// What fills the format's placeholders: the range's bounds, then the list; or the list alone.
PlaceholderValues placeholderValues(const FieldGuidance& guidance) {
  const FieldTypeRow& row = fieldTypeRow(guidance.type);
  if (row.radix == 0) return {listText(guidance.type, guidance.separator), {}, {}};
  PlaceholderValues values{
      guidance.namedMinimum != nullptr
          ? guidance.namedMinimum
          : sjisToWide(boundText(row.minimum, guidance.type, guidance.paddedBounds)),
      sjisToWide(boundText(row.maximum, guidance.type, guidance.paddedBounds)),
      {}};
  if (guidance.separator != nullptr) values[2] = listText(guidance.type, guidance.separator);
  return values;
}

// The format with each "%s" replaced by the next value; "%%" stands for one "%".
std::wstring fillPlaceholders(const std::wstring& format, const PlaceholderValues& values) {
  std::wstring text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      if (format[i + 1] == L's') {
        if (next < values.size()) text += values[next];
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
  return fillPlaceholders(format, placeholderValues(*row));
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
        // LBL's label stands where other instructions have their kind.
        return fieldGuidance(FieldType::LabelNumber);
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
