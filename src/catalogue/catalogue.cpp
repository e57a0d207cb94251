// The constant vocabulary of the program language and the field layout of every line shape.
#include "catalogue/catalogue.h"

#include <initializer_list>

namespace vx {

namespace {

struct LayoutEntry {
  Instruction instruction;
  int kind;
  LayoutRow row;
};

constexpr LayoutRow row(std::initializer_list<FieldType> types) {
  LayoutRow r{};  // all End
  std::size_t p = 0;
  for (FieldType t : types) r[p++] = t;
  return r;
}

using enum FieldType;
using enum Instruction;

constexpr int code(Instruction instruction) { return static_cast<int>(instruction); }

// A data row: the fields before the data, eight data positions, the fields after them.
constexpr LayoutRow dataRow(std::initializer_list<FieldType> before, FieldType data,
                            std::initializer_list<FieldType> after) {
  LayoutRow r{};
  std::size_t p = 0;
  for (FieldType t : before) r[p++] = t;
  for (int i = 0; i < 8; ++i) r[p++] = data;
  for (FieldType t : after) r[p++] = t;
  return r;
}

// Every row that is not entirely End; all others stay End.
// clang-format off
constexpr auto LayoutRows = std::to_array<LayoutEntry>({
    {Send, 0, dataRow({KindSelect}, CharByte, {})},
    {Send, 1, row({KindSelect, HexDigit})},
    {Send, 2, row({KindSelect, HexDigit})},
    {Send, 3, row({KindSelect})},
    {Send, 4, row({KindSelect})},
    {Send, 5, row({KindSelect, EntryNumber, PlusRegCaption, IndexRegister})},
    {Wait, 0, dataRow({KindSelect}, PatternByte, {})},
    {Wait, 1, row({KindSelect, ClearSelect})},
    {Wait, 2, row({KindSelect, TriggerNumber})},
    {Wait, 3, row({KindSelect, WaitTime})},
    {Wait, 4, row({KindSelect})},
    {Wait, 5, row({KindSelect, SignalLineSelect, EqualsCaption, LevelBit})},
    {Goto, 0, row({LabelCaption, LabelNumber})},
    {If,   0, dataRow({KindSelect}, PatternByte, {LabelCaption, LabelNumber})},
    {If,   1, row({KindSelect, TriggerNumber, LabelCaption, LabelNumber})},
    {If,   2, row({KindSelect, UnitNumber, LabelCaption, LabelNumber})},
    {If,   3, row({KindSelect, UnitNumber, LabelCaption, LabelNumber})},
    {If,   4, row({KindSelect, SignalLineSelect, EqualsCaption, LevelBit, LabelCaption, LabelNumber})},
    {If,   5, row({KindSelect, HexDigit, CompareSelect, RegCaption, HexDigit, LabelCaption, LabelNumber})},
    {If,   6, row({KindSelect, HexDigit, LabelCaption, LabelNumber})},
    {If,   7, row({KindSelect, EntryNumber, PlusRegCaption, IndexRegister, LabelCaption, LabelNumber})},
    {Call, 0, row({LabelCaption, LabelNumber})},
    {Set,  0, row({KindSelect, HexDigit, RegisterValue})},
    {Set,  1, row({KindSelect, OutputLineSelect, EqualsCaption, LevelBit})},
    {Set,  2, row({KindSelect, UnitNumber, TimerValue})},
    {Set,  3, row({KindSelect, UnitNumber, CounterValue})},
    {Set,  4, row({KindSelect})},
    {Set,  5, row({KindSelect})},
    {Set,  6, dataRow({KindSelect, EntryNumber}, EntryByte, {})},
    {Set,  7, row({KindSelect, EntryNumber, RegCaption, HexDigit, SmallDigit})},
    {Int,  0, row({TriggerZeroCaption, LabelCaption, LabelNumber})},
    {Reti, 0, row({LabelCaption, LabelNumber})},
    {Disi, 0, row({TriggerZeroCaption})},
    {Lbl,  0, row({LabelNumber})},
});
static_assert(LayoutRows.size() == 34);
// clang-format on

constexpr std::array<std::array<LayoutRow, KindSlotCount>, InstructionCount> buildLayoutTable() {
  std::array<std::array<LayoutRow, KindSlotCount>, InstructionCount> table{};
  for (const LayoutEntry& e : LayoutRows) {
    table[static_cast<std::size_t>(e.instruction)][static_cast<std::size_t>(e.kind)] = e.row;
  }
  return table;
}

// A row holds its fields without gaps: nothing but End follows the first End.
constexpr bool rowsHaveNoGaps() {
  for (const LayoutEntry& e : LayoutRows) {
    bool ended = false;
    for (FieldType t : e.row) {
      if (t == End) {
        ended = true;
      } else if (ended) {
        return false;
      }
    }
  }
  return true;
}
static_assert(rowsHaveNoGaps());

constexpr bool isDataType(FieldType t) {
  return t == CharByte || t == PatternByte || t == EntryByte;
}

// A data row has exactly eight data positions, one after the other.
constexpr bool dataRunsAreEight() {
  for (const LayoutEntry& e : LayoutRows) {
    int count = 0;
    int first = -1;
    for (int p = 0; p < PositionCount; ++p) {
      if (isDataType(e.row[static_cast<std::size_t>(p)])) {
        if (first < 0) first = p;
        if (p != first + count) return false;
        ++count;
      }
    }
    if (count != 0 && count != 8) return false;
  }
  return true;
}
static_assert(dataRunsAreEight());

// Position 11 stays End in every row.
constexpr bool lastPositionUnused() {
  for (const LayoutEntry& e : LayoutRows) {
    if (e.row[PositionCount - 1] != End) return false;
  }
  return true;
}
static_assert(lastPositionUnused());

constexpr std::array<std::array<LayoutRow, KindSlotCount>, InstructionCount> BuiltLayout =
    buildLayoutTable();

constexpr FieldType typeAt(int instruction, int kind, int position) {
  if (instruction < 0 || instruction >= InstructionCount || kind < 0 || kind >= KindSlotCount ||
      position < 0 || position >= PositionCount) {
    return End;
  }
  return BuiltLayout[static_cast<std::size_t>(instruction)][static_cast<std::size_t>(kind)]
                    [static_cast<std::size_t>(position)];
}

constexpr int lineByteAt(int instruction, int kind, int position) {
  constexpr int FirstParameterByte = 2;
  constexpr int LastParameterByte = 4;
  bool filled[LastParameterByte + 1] = {};
  int byte = 0;
  for (int p = 0; p <= position; ++p) {
    const FieldType type = typeAt(instruction, kind, p);
    byte = FieldTypeTable[static_cast<std::size_t>(type)].lineByte;
    if (type == HexDigit) {
      byte = FirstParameterByte;
      while (byte < LastParameterByte && filled[byte]) ++byte;
    }
    if (byte >= FirstParameterByte && byte <= LastParameterByte) filled[byte] = true;
  }
  return byte;
}
// clang-format off
static_assert(lineByteAt(code(Send), 1, 1) == 2);  // SEND TBL: the table
static_assert(lineByteAt(code(If),   5, 1) == 2);  // IF REG: the first register
static_assert(lineByteAt(code(If),   5, 2) == 3);  //         the comparison
static_assert(lineByteAt(code(If),   5, 4) == 4);  //         the second register
static_assert(lineByteAt(code(Set),  7, 3) == 3);  // SET DV: the register
static_assert(lineByteAt(code(Set),  7, 4) == 4);  //         the digit
static_assert(lineByteAt(code(Set),  0, 2) == 3);  // SET REG: the value's word byte
// clang-format on

bool isSentinel(const char* name) {
  return name != nullptr && std::string_view(name) == NameListSentinel;
}

}  // namespace

const std::array<std::array<LayoutRow, KindSlotCount>, InstructionCount> LayoutTable = BuiltLayout;

std::span<const char* const> kindNameList(int instruction) {
  switch (instruction) {
    case static_cast<int>(Send):
      return SendKindNameList;
    case static_cast<int>(Wait):
      return WaitKindNameList;
    case static_cast<int>(If):
      return IfKindNameList;
    case static_cast<int>(Set):
      return SetKindNameList;
    default:
      return {};
  }
}

int kindCount(int instruction) {
  const std::size_t size = kindNameList(instruction).size();
  return size == 0 ? 0 : static_cast<int>(size) - 1;
}

bool hasKinds(int instruction) { return kindCount(instruction) > 0; }

std::span<const char* const> namesOf(std::span<const char* const> sentinelList) {
  std::size_t n = 0;
  while (n < sentinelList.size() && sentinelList[n] != nullptr && !isSentinel(sentinelList[n])) {
    ++n;
  }
  return sentinelList.first(n);
}

const FieldTypeRow& fieldTypeRow(FieldType type) {
  const auto index = static_cast<std::size_t>(type);
  return FieldTypeTable[index < FieldTypeTable.size() ? index : 0];
}

std::span<const char* const> optionList(FieldType type) {
  // KindSelect offers the instruction's kindNameList, which depends on the instruction.
  return fieldTypeRow(type).options;
}

const char* captionText(FieldType type) { return fieldTypeRow(type).caption; }

std::string_view fieldName(FieldType type, int instruction, int kind) {
  if (type == HexDigit) {
    const auto kinds = namesOf(kindNameList(instruction));
    const bool tableKind = kind >= 0 && static_cast<std::size_t>(kind) < kinds.size() &&
                           std::string_view(kinds[static_cast<std::size_t>(kind)]) == "TBL";
    if (tableKind) return "table";
  }
  return fieldTypeRow(type).name;
}

std::string boundText(std::uint32_t value, FieldType type, bool padded) {
  constexpr std::string_view Digits = "0123456789ABCDEF";
  const FieldTypeRow& row = fieldTypeRow(type);
  if (row.radix == 0) return {};
  const auto radix = static_cast<std::uint32_t>(row.radix);
  std::string text;
  do {
    text.insert(text.begin(), Digits[value % radix]);
    value /= radix;
  } while (value != 0);
  const auto width = static_cast<std::size_t>(row.digits);
  if (padded && text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

FieldType fieldTypeAt(int instruction, int kind, int position) {
  return typeAt(instruction, kind, position);
}

TokenMode fieldTokens(int instruction, FieldType type) {
  if (type == LabelNumber && instruction == code(Reti)) return TokenMode::AnyMark;
  return fieldTypeRow(type).tokens;
}

int fieldLineByte(int instruction, int kind, int position) {
  return lineByteAt(instruction, kind, position);
}

bool isDataPosition(int instruction, int kind, int position) {
  return isDataType(fieldTypeAt(instruction, kind, position));
}

int firstDataPosition(int instruction, int kind) {
  for (int p = 0; p < PositionCount; ++p) {
    const FieldType t = fieldTypeAt(instruction, kind, p);
    if (t == End) break;
    if (isDataType(t)) return p;
  }
  return -1;
}

}  // namespace vx
