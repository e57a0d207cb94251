// The one place that knows what bytes 1..15 of a line mean for each instruction and kind.
// Decoding and encoding walk the same layout row and dispatch on the field type.
#include "catalogue/line_fields.h"

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

}  // namespace vx
