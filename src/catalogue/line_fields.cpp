// The one place that knows what bytes 1..15 of a line mean for each instruction and kind.
// Decoding and encoding walk the same layout row and dispatch on the field type.
#include "catalogue/line_fields.h"

#include <string>

#include "catalogue/value_parsing.h"
#include "store/bytes.h"

namespace vx {

namespace {

constexpr int kDataBytes = 8;
constexpr std::size_t kDataOffset = 4;
constexpr std::size_t kLabelOffset = 12;
// The label of a RETI line given "*".
constexpr std::uint32_t kAnyLabel = 0xFFFF;
// A line keeps at most this many characters of a position's text.
constexpr std::size_t kMaxTextLength = 255;

constexpr int code(Instruction instruction) { return static_cast<int>(instruction); }

// The line byte a HexDigit position fills: byte 2, except the second register of IF REG and the
// register of SET DV.
std::size_t hexDigitByte(int instruction, int kind, int position) {
  if (instruction == code(Instruction::If) && kind == 5 && position == 4) return 4;
  if (instruction == code(Instruction::Set) && kind == 7 && position == 3) return 3;
  return 2;
}

}  // namespace

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
    switch (type) {
      case FieldType::KindSelect:
        fields.kind = b[1];
        break;
      case FieldType::HexDigit:
        switch (hexDigitByte(instruction, kind, p)) {
          case 4:
            fields.paramC = b[4];
            break;
          case 3:
            fields.paramB = b[3];
            break;
          default:
            fields.paramA = b[2];
            break;
        }
        break;
      case FieldType::UnitNumber:
      case FieldType::TriggerNumber:
      case FieldType::EntryNumber:
      case FieldType::ClearSelect:
      case FieldType::OutputLineSelect:
      case FieldType::SignalLineSelect:
        fields.paramA = b[2];
        break;
      case FieldType::LevelBit:
      case FieldType::IndexRegister:
      case FieldType::CompareSelect:
        fields.paramB = b[3];
        break;
      case FieldType::SmallDigit:
        fields.paramC = b[4];
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
        if (dataIndex < kDataBytes && dataIndex < fields.count) {
          const auto i = static_cast<std::size_t>(dataIndex);
          fields.data[i] = b[kDataOffset + i];
        }
        ++dataIndex;
        break;
      case FieldType::LabelNumber:
        fields.label = readU16(&b[kLabelOffset]);
        break;
      case FieldType::WaitTime:
        fields.value = readU32(&b[2]);
        break;
      case FieldType::RegisterValue:
      case FieldType::TimerValue:
      case FieldType::CounterValue:
        fields.paramB = b[3];
        fields.value = readU32(&b[4]);
        break;
      default:  // captions
        break;
    }
  }
  return fields;
}

namespace {

// How one position's text is parsed: radix, digits, minimum, maximum and token mode.
struct ParseRule {
  int radix;
  int digits;
  std::uint32_t minimum;
  std::uint32_t maximum;
  int mode;
};

// clang-format off
constexpr ParseRule kUnitNumber    {10, 1, 0, 1,      0};
constexpr ParseRule kLevelBit      {10, 1, 0, 1,      0};
constexpr ParseRule kTriggerNumber {10, 1, 1, 3,      0};
constexpr ParseRule kSmallDigit    {10, 1, 0, 6,      0};
constexpr ParseRule kHexDigit      {16, 1, 0, 15,     0};
constexpr ParseRule kIndexRegister {16, 1, 0, 15,     1};
constexpr ParseRule kEntryNumber   {10, 2, 0, 99,     0};
constexpr ParseRule kDataByte      {16, 2, 0, 255,    0};
constexpr ParseRule kPatternByte   {16, 2, 0, 255,    2};
constexpr ParseRule kLabelNumber   {10, 3, 0, 999,    0};
constexpr ParseRule kRetiLabel     {10, 3, 0, 999,    1};
constexpr ParseRule kWaitTime      {10, 4, 1, 9999,   0};
constexpr ParseRule kRegisterValue {10, 6, 0, 999999, 3};
constexpr ParseRule kTimerValue    {10, 6, 1, 999999, 4};
constexpr ParseRule kCounterValue  {10, 6, 1, 999999, 5};
// clang-format on

ParsedValue parse(const PositionEntry& entry, const ParseRule& rule) {
  std::string_view text = entry.text;
  if (text.size() > kMaxTextLength) text = text.substr(0, kMaxTextLength);
  return parseFieldValue(text, rule.radix, rule.digits, rule.minimum, rule.maximum, rule.mode);
}

// The minimum of a field as the panel shows it after an unusable text: "%d" or "%x".
std::string minimumText(const ParseRule& rule) {
  constexpr const char* kDigits = "0123456789abcdef";
  std::string text;
  std::uint32_t v = rule.minimum;
  const auto radix = static_cast<std::uint32_t>(rule.radix);
  do {
    text.insert(text.begin(), kDigits[v % radix]);
    v /= radix;
  } while (v != 0);
  return text;
}

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
      switch (type) {
        case FieldType::KindSelect:
          break;  // byte 1 is set before the walk
        case FieldType::UnitNumber:
          b[2] = byteValue(parse(entry, kUnitNumber));
          break;
        case FieldType::EntryNumber:
          b[2] = byteValue(parse(entry, kEntryNumber));
          break;
        case FieldType::LevelBit:
          b[3] = correctedByte(p, entry, kLevelBit);
          break;
        case FieldType::TriggerNumber:
          b[2] = correctedByte(p, entry, kTriggerNumber);
          break;
        case FieldType::SmallDigit:
          b[4] = correctedByte(p, entry, kSmallDigit);
          break;
        case FieldType::HexDigit:
          b[hexDigitByte(instruction_, kind_, p)] = correctedByte(p, entry, kHexDigit);
          break;
        case FieldType::IndexRegister: {
          const ParsedValue v = parse(entry, kIndexRegister);
          if (v.result == ParseResult::Token) {
            b[3] = 255;  // "*"
          } else {
            if (v.result == ParseResult::Invalid) show(p, minimumText(kIndexRegister));
            b[3] = byteValue(v);
          }
          break;
        }
        case FieldType::CharByte:
        case FieldType::PatternByte:
        case FieldType::EntryByte: {
          hasData = true;
          countInByte3 = type == FieldType::EntryByte;
          if (dataIndex >= kDataBytes) break;  // every data row has exactly eight
          const auto i = static_cast<std::size_t>(dataIndex);
          const ParsedValue v =
              parse(entry, type == FieldType::PatternByte ? kPatternByte : kDataByte);
          switch (v.result) {
            case ParseResult::Number:
              b[kDataOffset + i] = byteValue(v);
              dataCount = dataIndex + 1;
              break;
            case ParseResult::Token:  // "*" stands as 0, "|>" as 1, marked in the mask
              b[kDataOffset + i] = byteValue(v);
              b[3] = static_cast<std::uint8_t>(b[3] | (1u << i));
              dataCount = dataIndex + 1;
              break;
            case ParseResult::Empty:
              b[kDataOffset + i] = 0;
              if (feedback_ != nullptr) feedback_->clearCharacterCell(dataIndex);
              break;
            case ParseResult::Invalid:
              b[kDataOffset + i] = 0;
              show(p, "00");
              break;
          }
          ++dataIndex;
          break;
        }
        case FieldType::LabelNumber: {
          const bool reti = instruction_ == code(Instruction::Reti);
          const ParsedValue v = parse(entry, reti ? kRetiLabel : kLabelNumber);
          const bool anyLabel = reti && v.result == ParseResult::Token;
          writeU16(&b[kLabelOffset], anyLabel ? kAnyLabel : v.value);
          break;
        }
        case FieldType::WaitTime:
          writeU32(&b[2], parse(entry, kWaitTime).value);
          break;
        case FieldType::ClearSelect:
        case FieldType::OutputLineSelect:
        case FieldType::SignalLineSelect:
          b[2] = selectionByte(entry, type);
          break;
        case FieldType::CompareSelect:
          b[3] = selectionByte(entry, type);
          break;
        case FieldType::RegisterValue:
        case FieldType::TimerValue:
        case FieldType::CounterValue: {
          const ParseRule& rule = type == FieldType::RegisterValue ? kRegisterValue
                                  : type == FieldType::TimerValue  ? kTimerValue
                                                                   : kCounterValue;
          const ParsedValue v = parse(entry, rule);
          if (v.result == ParseResult::Invalid) return false;
          if (v.result == ParseResult::Token) {
            b[3] = byteValue(v);  // the word number; the number bytes stay 0
          } else {
            b[3] = 0;
            writeU32(&b[4], v.value);
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

  // The parsed value, or on an unusable text the minimum, which the position then shows.
  std::uint8_t correctedByte(int position, const PositionEntry& entry, const ParseRule& rule) {
    const ParsedValue v = parse(entry, rule);
    if (v.result == ParseResult::Invalid) show(position, minimumText(rule));
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
  const auto range = [](const ParseRule& rule) { return FieldRange{rule.minimum, rule.maximum}; };
  switch (type) {
    case FieldType::UnitNumber:
      return range(kUnitNumber);
    case FieldType::LevelBit:
      return range(kLevelBit);
    case FieldType::TriggerNumber:
      return range(kTriggerNumber);
    case FieldType::SmallDigit:
      return range(kSmallDigit);
    case FieldType::HexDigit:
      return range(kHexDigit);
    case FieldType::IndexRegister:
      return range(kIndexRegister);
    case FieldType::EntryNumber:
      return range(kEntryNumber);
    case FieldType::CharByte:
    case FieldType::EntryByte:
      return range(kDataByte);
    case FieldType::PatternByte:
      return range(kPatternByte);
    case FieldType::LabelNumber:
      return range(kLabelNumber);
    case FieldType::WaitTime:
      return range(kWaitTime);
    case FieldType::RegisterValue:
      return range(kRegisterValue);
    case FieldType::TimerValue:
      return range(kTimerValue);
    case FieldType::CounterValue:
      return range(kCounterValue);
    default:
      return std::nullopt;
  }
}

}  // namespace vx
