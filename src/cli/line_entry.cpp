#include "cli/line_entry.h"

#include "cli/cli_arguments.h"

namespace vx {
namespace {

// clang-format off
// The command-line shape of every field type; list types are spelled out from their lists.
constexpr std::array<const char*, FieldTypeCount> FieldShapes = {
    "",                     // End
    "",                     // KindSelect
    "unit(0-1)",            // UnitNumber
    "level(0-1)",           // LevelBit
    "trigger(1-3)",         // TriggerNumber
    "digit(0-6)",           // SmallDigit
    "hex(0-F)",             // HexDigit
    "index(0-F|*)",         // IndexRegister
    "entry(0-99)",          // EntryNumber
    "byte(00-FF)",          // CharByte
    "pattern(00-FF|*||>)",  // PatternByte
    "byte(00-FF)",          // EntryByte
    "label(0-999)",         // LabelNumber
    "time(1-9999)",         // WaitTime
    "",                     // ClearSelect
    "",                     // OutputLineSelect
    "",                     // SignalLineSelect
    "",                     // CompareSelect
    "value(0-999999)",      // RegisterValue
    "value(1-999999)",      // TimerValue
    "value(1-999999)",      // CounterValue
    "",                     // RegCaption
    "",                     // PlusRegCaption
    "",                     // EqualsCaption
    "",                     // LabelCaption
    "",                     // TriggerZeroCaption
};
// clang-format on
static_assert(FieldShapes.size() == FieldTypeCount);

bool isEditableList(FieldType type) {
  return type == FieldType::RegisterValue || type == FieldType::TimerValue ||
         type == FieldType::CounterValue;
}

bool isPlainList(FieldType type) {
  return type == FieldType::ClearSelect || type == FieldType::OutputLineSelect ||
         type == FieldType::SignalLineSelect || type == FieldType::CompareSelect;
}

int firstValuePosition(int instruction) { return hasKinds(instruction) ? 1 : 0; }

}  // namespace

std::string fieldShape(FieldType type) {
  const auto index = static_cast<std::size_t>(type);
  if (index >= FieldShapes.size()) return "?";
  if (const char* caption = captionText(type)) return std::string("(") + caption + ")";
  if (isPlainList(type)) return joinNames(namesOf(optionList(type)), "|");
  if (isEditableList(type)) {
    return std::string(FieldShapes[index]) + "|" + joinNames(namesOf(optionList(type)), "|");
  }
  return FieldShapes[index];
}

std::string rowShape(int instruction, int kind) {
  std::string shape;
  for (int p = firstValuePosition(instruction); p < PositionCount; ++p) {
    const FieldType type = fieldTypeAt(instruction, kind, p);
    if (type == FieldType::End) break;
    if (!shape.empty()) shape += ' ';
    shape += fieldShape(type);
  }
  return shape;
}

std::string rowName(int instruction, int kind) {
  if (instruction < 0 || instruction >= InstructionCount) return "?";
  std::string name = InstructionHelpNames[static_cast<std::size_t>(instruction)];
  if (hasKinds(instruction)) {
    const auto kinds = namesOf(kindNameList(instruction));
    if (kind >= 0 && static_cast<std::size_t>(kind) < kinds.size()) {
      name += ' ';
      name += kinds[static_cast<std::size_t>(kind)];
    }
  }
  return name;
}

std::string buildLineEntry(int instruction, int kind, std::span<const std::string> values,
                           LineEntry& entry) {
  entry = LineEntry{};
  entry.valueIndex.fill(-1);
  if (hasKinds(instruction)) {
    const auto kinds = namesOf(kindNameList(instruction));
    if (kind >= 0 && static_cast<std::size_t>(kind) < kinds.size()) {
      entry.positions[0] = {kinds[static_cast<std::size_t>(kind)], kind};
    }
  }
  std::size_t next = 0;
  for (int p = firstValuePosition(instruction); p < PositionCount; ++p) {
    const FieldType type = fieldTypeAt(instruction, kind, p);
    if (type == FieldType::End) break;
    auto& position = entry.positions[static_cast<std::size_t>(p)];
    if (const char* caption = captionText(type)) {
      position = {caption, -1};
      continue;
    }
    const bool given = next < values.size();
    const std::string text = given ? values[next] : std::string();
    if (given) entry.valueIndex[static_cast<std::size_t>(p)] = static_cast<int>(next++);
    if (isPlainList(type)) {
      const auto names = namesOf(optionList(type));
      const int selection = text.empty() ? 0 : findName(names, text, true);
      if (selection < 0 || names.empty()) {
        return quotedText(text) + " is no entry of value " + std::to_string(next) + " of " +
               rowName(instruction, kind) + "; entries: " + joinNames(names);
      }
      position = {names[static_cast<std::size_t>(selection)], selection};
    } else if (isEditableList(type)) {
      // A typed word selects its entry, as picking it from the list would.
      position = {text, findName(namesOf(optionList(type)), text, false)};
    } else {
      position = {text, -1};
    }
  }
  if (next < values.size()) {
    const std::string shape = rowShape(instruction, kind);
    return "too many values for " + rowName(instruction, kind) + "; it takes " +
           std::to_string(next) + (shape.empty() ? std::string() : ": " + shape);
  }
  return {};
}

}  // namespace vx
