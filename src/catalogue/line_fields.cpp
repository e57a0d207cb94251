// The one place that knows what bytes 1..15 of a line mean for each instruction and kind.
// Decoding and encoding walk the same layout row and dispatch on the field type.
#include "catalogue/line_fields.h"

#include <string>

#include "catalogue/char_codes.h"
#include "catalogue/value_parsing.h"
#include "store/bytes.h"

namespace vx {

namespace {

// A line keeps at most this many characters of a position's text.
constexpr std::size_t MaxTextLength = 255;

// The member of LineFields that holds parameter byte 2, 3 or 4.
template <typename Fields>
auto& parameter(Fields& fields, int byte) {
  return byte == 4 ? fields.paramC : byte == 3 ? fields.paramB : fields.paramA;
}

}  // namespace

std::uint8_t parameterAt(const LineFields& fields, int byte) { return parameter(fields, byte); }

LineFields decodeLine(const ProgramLine& line) {
  const auto& b = line.bytes;
  LineFields fields;
  fields.instruction = b[0];
  const int instruction = b[0];
  const int kind = b[1];
  int dataIndex = 0;
  // fieldTypeAt gives End outside the table, so an unknown instruction or kind leaves only
  // `instruction` set.
  for (int p = 0; p < PositionCount; ++p) {
    const FieldType type = fieldTypeAt(instruction, kind, p);
    if (type == FieldType::End) break;
    const auto at = static_cast<std::size_t>(fieldLineByte(instruction, kind, p));
    switch (type) {
      case FieldType::KindSelect:
        fields.kind = b[1];
        break;
      case FieldType::CharByte:
      case FieldType::PatternByte:
      case FieldType::EntryByte:
        if (type == FieldType::EntryByte) {
          fields.count = b[3];
        } else {
          fields.count = b[2];
          fields.paramA = b[3];
        }
        // A loaded line may claim more than 8 bytes; only the 8 data bytes are ever read.
        if (dataIndex < DataByteCount && dataIndex < fields.count) {
          const auto i = static_cast<std::size_t>(dataIndex);
          fields.data[i] = b[at + i];
        }
        ++dataIndex;
        break;
      case FieldType::LabelNumber:
        fields.label = readU16(&b[at]);
        break;
      case FieldType::WaitTime:
        fields.value = readU32(&b[at]);
        break;
      case FieldType::RegisterValue:
      case FieldType::TimerValue:
      case FieldType::CounterValue:
        fields.paramB = b[at];  // the word; the number follows it
        fields.value = readU32(&b[at + 1]);
        break;
      default:  // the one-byte fields; captions fill no byte
        if (at >= 2 && at <= 4) parameter(fields, static_cast<int>(at)) = b[at];
        break;
    }
  }
  return fields;
}

namespace {

// How one position's text is parsed: its field type's row, with the tokens of its line.
struct ParseRule {
  const FieldTypeRow& row;
  TokenMode tokens;
};

ParsedValue parse(const PositionEntry& entry, const ParseRule& rule) {
  std::string_view text = entry.text;
  if (text.size() > MaxTextLength) text = text.substr(0, MaxTextLength);
  return parseFieldValue(text, rule.row.radix, rule.row.digits, rule.row.minimum, rule.row.maximum,
                         rule.tokens);
}

// A number in the radix, without leading zeros: "%d" or "%x".
std::string numberText(std::uint32_t value, int radix) {
  constexpr const char* Digits = "0123456789abcdef";
  std::string text;
  const auto base = static_cast<std::uint32_t>(radix);
  do {
    text.insert(text.begin(), Digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

// A value as the field writes it: "%d", "%x", or "%02x" for data bytes.
std::string valueText(std::uint32_t value, const FieldTypeRow& row) {
  if (row.control == FieldControl::DataEdit) {
    return std::string(hexByteText(static_cast<std::uint8_t>(value)));
  }
  return numberText(value, row.radix);
}

// The minimum of a field as the panel shows it after an unusable text: "%d" or "%x".
std::string minimumText(const FieldTypeRow& row) { return numberText(row.minimum, row.radix); }

// A list selection as a stored byte; a selection outside the field's list stores the first
// entry, so that every stored index names an entry of its list.
std::uint8_t selectionByte(const PositionEntry& entry, FieldType type) {
  const auto entries = static_cast<int>(namesOf(optionList(type)).size());
  if (entry.selection < 0 || entry.selection >= entries) return 0;
  return static_cast<std::uint8_t>(entry.selection);
}

class Encoder {
 public:
  Encoder(int instruction, int kind, std::span<const PositionEntry, PositionCount> positions,
          FieldFeedback* feedback)
      : instruction_(instruction), kind_(kind), positions_(positions), feedback_(feedback) {}

  // Fills `line` from the positions of the row; false when a value field holds an unusable text.
  bool encode(ProgramLine& line) {
    auto& b = line.bytes;
    bool hasData = false;
    bool countInByte3 = false;
    int dataIndex = 0;
    int dataCount = 0;
    for (int p = 0; p < PositionCount; ++p) {
      const FieldType type = fieldTypeAt(instruction_, kind_, p);
      if (type == FieldType::End) break;
      const PositionEntry& entry = positions_[static_cast<std::size_t>(p)];
      const auto at = static_cast<std::size_t>(fieldLineByte(instruction_, kind_, p));
      switch (type) {
        case FieldType::KindSelect:
          break;  // byte 1 is set before the walk
        case FieldType::UnitNumber:
        case FieldType::EntryNumber:
          b[at] = byteValue(parseAt(p, entry, type));
          break;
        case FieldType::LevelBit:
        case FieldType::TriggerNumber:
        case FieldType::SmallDigit:
        case FieldType::HexDigit:
          b[at] = correctedByte(p, entry, type);
          break;
        case FieldType::IndexRegister: {
          const ParsedValue v = parseAt(p, entry, type);
          if (v.result == ParseResult::Token) {
            b[at] = 255;  // "*"
          } else {
            if (v.result == ParseResult::Invalid) show(p, minimumText(fieldTypeRow(type)));
            b[at] = byteValue(v);
          }
          break;
        }
        case FieldType::CharByte:
        case FieldType::PatternByte:
        case FieldType::EntryByte: {
          hasData = true;
          countInByte3 = type == FieldType::EntryByte;
          if (dataIndex >= DataByteCount) break;  // every data row has exactly eight
          const auto i = static_cast<std::size_t>(dataIndex);
          const ParsedValue v = parseAt(p, entry, type);
          switch (v.result) {
            case ParseResult::Number:
              b[at + i] = byteValue(v);
              dataCount = dataIndex + 1;
              break;
            case ParseResult::Token:  // "*" stands as 0, "|>" as 1, marked in the mask
              b[at + i] = byteValue(v);
              b[3] = static_cast<std::uint8_t>(b[3] | (1u << i));
              dataCount = dataIndex + 1;
              break;
            case ParseResult::Empty:
              b[at + i] = 0;
              if (feedback_ != nullptr) feedback_->clearCharacterCell(dataIndex);
              break;
            case ParseResult::Invalid:
              b[at + i] = 0;
              show(p, "00");
              break;
          }
          ++dataIndex;
          break;
        }
        case FieldType::LabelNumber: {
          // Only a RETI line's label takes a token: "*".
          const ParsedValue v = parseAt(p, entry, type);
          const bool anyLabel = v.result == ParseResult::Token;
          writeU16(&b[at], anyLabel ? AnyLabel : v.value);
          break;
        }
        case FieldType::WaitTime:
          writeU32(&b[at], parseAt(p, entry, type).value);
          break;
        case FieldType::ClearSelect:
        case FieldType::OutputLineSelect:
        case FieldType::SignalLineSelect:
        case FieldType::CompareSelect:
          b[at] = selectionByte(entry, type);
          break;
        case FieldType::RegisterValue:
        case FieldType::TimerValue:
        case FieldType::CounterValue: {
          const ParsedValue v = parseAt(p, entry, type);
          if (v.result == ParseResult::Invalid) return false;
          if (v.result == ParseResult::Token) {
            b[at] = byteValue(v);  // the word number; the number bytes stay 0
          } else {
            b[at] = 0;
            writeU32(&b[at + 1], v.value);
          }
          break;
        }
        default:  // captions
          break;
      }
    }
    if (hasData) b[countInByte3 ? 3 : 2] = static_cast<std::uint8_t>(dataCount);
    return true;
  }

 private:
  static std::uint8_t byteValue(const ParsedValue& v) { return static_cast<std::uint8_t>(v.value); }

  // Parses the position's text and tells the feedback when the value stored is not the one the
  // text states. An unusable value-field text fails the whole line instead and is not reported.
  ParsedValue parseAt(int position, const PositionEntry& entry, FieldType type) {
    const FieldTypeRow& row = fieldTypeRow(type);
    const ParsedValue v = parse(entry, {row, fieldTokens(instruction_, type)});
    if (feedback_ == nullptr || entry.text.empty()) return v;
    const bool valueField = row.control == FieldControl::EditableList;
    bool replaced = v.result == ParseResult::Invalid && !valueField;
    if (v.result == ParseResult::Number) {
      // The whole text's number, without the cut to the field's digits or range.
      const ParsedValue stated =
          parseFieldValue(entry.text, row.radix, static_cast<int>(entry.text.size()), 0,
                          0xFFFFFFFFu, TokenMode::None);
      replaced = stated.result != ParseResult::Number || stated.value != v.value;
    }
    if (replaced) feedback_->valueReplaced(position, valueText(v.value, row));
    return v;
  }

  // The parsed value, or on an unusable text the minimum, which the position then shows.
  std::uint8_t correctedByte(int position, const PositionEntry& entry, FieldType type) {
    const ParsedValue v = parseAt(position, entry, type);
    if (v.result == ParseResult::Invalid) show(position, minimumText(fieldTypeRow(type)));
    return byteValue(v);
  }

  void show(int position, std::string_view text) {
    if (feedback_ != nullptr) feedback_->showPositionText(position, text);
  }

  int instruction_;
  int kind_;
  std::span<const PositionEntry, PositionCount> positions_;
  FieldFeedback* feedback_;
};

}  // namespace

std::optional<ProgramLine> encodeLine(int instructionSelection,
                                      std::span<const PositionEntry, PositionCount> positions,
                                      FieldFeedback* feedback) {
  if (instructionSelection < 0 || instructionSelection >= InstructionCount) return std::nullopt;
  ProgramLine line;
  line.bytes[0] = static_cast<std::uint8_t>(instructionSelection);
  int kind = 0;
  if (hasKinds(instructionSelection)) {
    // The kind selector's selection; nothing selected, or a value no kind byte can hold,
    // counts as the first kind.
    const int selection = positions[0].selection;
    kind = selection >= 0 && selection <= 255 ? selection : 0;
    line.bytes[1] = static_cast<std::uint8_t>(kind);
  }
  Encoder encoder(instructionSelection, kind, positions, feedback);
  if (!encoder.encode(line)) return std::nullopt;
  return line;
}

std::optional<FieldRange> fieldRange(FieldType type) {
  const FieldTypeRow& row = fieldTypeRow(type);
  if (row.radix == 0) return std::nullopt;
  return FieldRange{row.minimum, row.maximum};
}

}  // namespace vx
