#include "cli/line_entry.h"

#include "cli/cli_arguments.h"

namespace vx {
namespace {

bool isEditableList(FieldType type) {
  return fieldTypeRow(type).control == FieldControl::EditableList;
}

bool isPlainList(FieldType type) {
  return !namesOf(optionList(type)).empty() && !isEditableList(type);
}

std::string tokensText(TokenMode tokens) {
  switch (tokens) {
    case TokenMode::AnyMark:
      return "|*";
    case TokenMode::PatternMarks:
      return "|*||>";
    default:
      return {};
  }
}

int firstValuePosition(int instruction) { return hasKinds(instruction) ? 1 : 0; }

}  // namespace

// Built by appending: GCC 12 warns wrongly about literals added to temporary strings.
std::string fieldShape(FieldType type) {
  const auto index = static_cast<std::size_t>(type);
  if (index >= FieldTypeTable.size()) return "?";
  std::string shape;
  if (const char* caption = captionText(type)) {
    shape += '(';
    shape += caption;
    shape += ')';
    return shape;
  }
  if (isPlainList(type)) return joinNames(namesOf(optionList(type)), "|");
  const FieldTypeRow& row = fieldTypeRow(type);
  if (row.radix == 0) return shape;
  // Data bytes show both of their digits.
  const bool padded = row.control == FieldControl::DataEdit;
  shape += row.word;
  shape += '(';
  shape += boundText(row.minimum, type, padded);
  shape += '-';
  shape += boundText(row.maximum, type, padded);
  shape += tokensText(row.tokens);
  shape += ')';
  if (isEditableList(type)) {
    shape += '|';
    shape += joinNames(namesOf(optionList(type)), "|");
  }
  return shape;
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
