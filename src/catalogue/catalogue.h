// The vocabulary of the program language: instructions, operand kinds, field types, option
// lists and the field layout of every instruction and kind.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/value_parsing.h"
#include "store/program_area.h"

namespace vx {

// Every name list the UI walks ends with this entry.
inline constexpr const char* NameListSentinel = "***";

// Instruction and InstructionCount belong to the line record (store/program_area.h).
// The layout reserves room for this many kinds per instruction.
inline constexpr int KindSlotCount = 9;
inline constexpr int PositionCount = 12;

// Operand kind: an index into the instruction's KindNameList (0 for instructions without kinds).
using OperandKind = std::uint8_t;

enum class FieldType : std::uint8_t {
  End = 0,
  KindSelect = 1,
  UnitNumber = 2,
  LevelBit = 3,
  TriggerNumber = 4,
  SmallDigit = 5,
  HexDigit = 6,
  IndexRegister = 7,
  EntryNumber = 8,
  CharByte = 9,
  PatternByte = 10,
  EntryByte = 11,
  LabelNumber = 12,
  WaitTime = 13,
  ClearSelect = 14,
  OutputLineSelect = 15,
  SignalLineSelect = 16,
  CompareSelect = 17,
  RegisterValue = 18,
  TimerValue = 19,
  CounterValue = 20,
  RegCaption = 21,
  PlusRegCaption = 22,
  EqualsCaption = 23,
  LabelCaption = 24,
  TriggerZeroCaption = 25,
};
inline constexpr int FieldTypeCount = 26;

// clang-format off
// " NOP" ... " L" in code order, then the sentinel. Selector and listing names.
inline constexpr std::array<const char*, InstructionCount + 1> InstructionSelectorList = {
    " NOP", " SEND", " WAIT", " GOTO", " IF", " CALL", " RET",
    " SET", " INT", " RETI", " DISI", " STOP", " L",
    NameListSentinel,
};
// "NOP" ... "LBL": the help-text names, also what the command-line tool accepts.
inline constexpr std::array<const char*, InstructionCount> InstructionHelpNames = {
    "NOP", "SEND", "WAIT", "GOTO", "IF", "CALL", "RET",
    "SET", "INT", "RETI", "DISI", "STOP", "LBL",
};

// Kind name lists, each closed by the sentinel.
inline constexpr std::array<const char*, 7> SendKindNameList = {"CHR", "TBL", "REG", "BUF", "KEY", "DA", NameListSentinel};
inline constexpr std::array<const char*, 7> WaitKindNameList = {"CHR", "FRM", "TRG", "TM", "KEY", "LN", NameListSentinel};
inline constexpr std::array<const char*, 9> IfKindNameList   = {"CHR", "TRG", "TM", "CT", "LN", "REG", "TBL", "DA", NameListSentinel};
inline constexpr std::array<const char*, 9> SetKindNameList  = {"REG", "LN", "TM", "CT", "BZ", "OUT", "DA", "DV", NameListSentinel};

// Option lists, closed by the sentinel. Selection lists count from 0; the word lists name
// words 1, 2, 3 (a stored 0 means a number was entered).
inline constexpr std::array<const char*, 9> SignalLineList      = {"RS", "CS", "DR", "CD", "ER", "SQ", "CI", "EX", NameListSentinel};
// What an output line selector offers: the signal lines without "EX".
inline constexpr std::array<const char*, 8> OutputLineList      = {"RS", "CS", "DR", "CD", "ER", "SQ", "CI", NameListSentinel};
inline constexpr std::array<const char*, 7> CompareOperatorList = {"=", "<>", "<", ">", "<=", ">=", NameListSentinel};
inline constexpr std::array<const char*, 3> ClearOptionList     = {"CLR", "NOCLR", NameListSentinel};
inline constexpr std::array<const char*, 3> RegisterWordList    = {"INC", "DEC", NameListSentinel};
inline constexpr std::array<const char*, 4> TimerWordList       = {"START", "STOP", "RSTART", NameListSentinel};
inline constexpr std::array<const char*, 3> CounterWordList     = {"INC", "RESET", NameListSentinel};
// clang-format on

// The kind name list of an instruction (sentinel included), or an empty span when the
// instruction has no kinds or is outside 0..12.
std::span<const char* const> kindNameList(int instruction);
// Number of kinds of an instruction (0 for instructions without kinds).
int kindCount(int instruction);
// True for SEND, WAIT, IF and SET.
bool hasKinds(int instruction);

// Names of a list without its sentinel, e.g. for messages and lookups.
std::span<const char* const> namesOf(std::span<const char* const> sentinelList);

// The kind of control that shows a field in the panel.
enum class FieldControl : std::uint8_t {
  PlainEdit,     // a number typed in
  DataEdit,      // one data byte, with a character cell beneath
  Caption,       // fixed text
  EditableList,  // a number typed in, or a word chosen from the list
  DropList,      // an entry chosen from the list
  None,          // End: no control
};

// What a field of one type holds, where it goes in the line and how the panel shows it.
struct FieldTypeRow {
  FieldType type;
  int radix;              // 10 or 16; 0 for types that hold no number
  int digits;             // the text's last `digits` characters make the value
  std::uint32_t minimum;  // an unusable text stands for the minimum
  std::uint32_t maximum;
  TokenMode tokens;  // LabelNumber also takes "*" in a RETI line (fieldTokens)
  int lineByte;      // the first line byte the field fills; 0 for none
  FieldControl control;
  std::span<const char* const>
      options;          // closed by the sentinel; KindSelect's depend on the instruction
  const char* caption;  // the fixed text of a caption type
  const char* word;     // what usage texts call a field that takes a number ("" for the others)
  const char* name;     // what messages call a value field (fieldName); "" for the others
};

// One row per field type, in FieldType order.
// The record's own byte places (store/program_area.h), as the byte column takes them.
inline constexpr int FirstDataByte = static_cast<int>(DataOffset);
inline constexpr int LabelByte = static_cast<int>(LabelOffset);
// clang-format off
inline constexpr std::array<FieldTypeRow, FieldTypeCount> FieldTypeTable = {{
    // type                         radix digits min max     tokens                    byte           control                     options              caption  word      name
    {FieldType::End,                0,    0,     0,  0,      TokenMode::None,          0,             FieldControl::None,         {},                  nullptr, "",        ""},
    {FieldType::KindSelect,         0,    0,     0,  0,      TokenMode::None,          1,             FieldControl::DropList,     {},                  nullptr, "",        ""},
    {FieldType::UnitNumber,         10,   1,     0,  1,      TokenMode::None,          2,             FieldControl::PlainEdit,    {},                  nullptr, "unit",    "unit"},
    {FieldType::LevelBit,           10,   1,     0,  1,      TokenMode::None,          3,             FieldControl::PlainEdit,    {},                  nullptr, "level",   "level"},
    {FieldType::TriggerNumber,      10,   1,     1,  3,      TokenMode::None,          2,             FieldControl::PlainEdit,    {},                  nullptr, "trigger", "trigger"},
    {FieldType::SmallDigit,         10,   1,     0,  6,      TokenMode::None,          4,             FieldControl::PlainEdit,    {},                  nullptr, "digit",   "digit"},
    {FieldType::HexDigit,           16,   1,     0,  15,     TokenMode::None,          2,             FieldControl::PlainEdit,    {},                  nullptr, "hex",     "register"},
    {FieldType::IndexRegister,      16,   1,     0,  15,     TokenMode::AnyMark,       3,             FieldControl::PlainEdit,    {},                  nullptr, "index",   "index register"},
    {FieldType::EntryNumber,        10,   2,     0,  99,     TokenMode::None,          2,             FieldControl::PlainEdit,    {},                  nullptr, "entry",   "entry"},
    {FieldType::CharByte,           16,   2,     0,  255,    TokenMode::None,          FirstDataByte, FieldControl::DataEdit,     {},                  nullptr, "byte",    "data byte"},
    {FieldType::PatternByte,        16,   2,     0,  255,    TokenMode::PatternMarks,  FirstDataByte, FieldControl::DataEdit,     {},                  nullptr, "pattern", "data byte"},
    {FieldType::EntryByte,          16,   2,     0,  255,    TokenMode::None,          FirstDataByte, FieldControl::DataEdit,     {},                  nullptr, "byte",    "data byte"},
    {FieldType::LabelNumber,        10,   3,     0,  999,    TokenMode::None,          LabelByte,     FieldControl::PlainEdit,    {},                  nullptr, "label",   "label"},
    {FieldType::WaitTime,           10,   4,     1,  9999,   TokenMode::None,          2,             FieldControl::PlainEdit,    {},                  nullptr, "time",    "time"},
    {FieldType::ClearSelect,        0,    0,     0,  0,      TokenMode::None,          2,             FieldControl::DropList,     ClearOptionList,     nullptr, "",        "CLR or NOCLR"},
    {FieldType::OutputLineSelect,   0,    0,     0,  0,      TokenMode::None,          2,             FieldControl::DropList,     OutputLineList,      nullptr, "",        "output line"},
    {FieldType::SignalLineSelect,   0,    0,     0,  0,      TokenMode::None,          2,             FieldControl::DropList,     SignalLineList,      nullptr, "",        "signal line"},
    {FieldType::CompareSelect,      0,    0,     0,  0,      TokenMode::None,          3,             FieldControl::DropList,     CompareOperatorList, nullptr, "",        "comparison"},
    {FieldType::RegisterValue,      10,   6,     0,  999999, TokenMode::RegisterWords, 3,             FieldControl::EditableList, RegisterWordList,    nullptr, "value",   "value"},
    {FieldType::TimerValue,         10,   6,     1,  999999, TokenMode::TimerWords,    3,             FieldControl::EditableList, TimerWordList,       nullptr, "value",   "value"},
    {FieldType::CounterValue,       10,   6,     1,  999999, TokenMode::CounterWords,  3,             FieldControl::EditableList, CounterWordList,     nullptr, "value",   "value"},
    {FieldType::RegCaption,         0,    0,     0,  0,      TokenMode::None,          0,             FieldControl::Caption,      {},                  "REG",   "",        ""},
    {FieldType::PlusRegCaption,     0,    0,     0,  0,      TokenMode::None,          0,             FieldControl::Caption,      {},                  "+REG",  "",        ""},
    {FieldType::EqualsCaption,      0,    0,     0,  0,      TokenMode::None,          0,             FieldControl::Caption,      {},                  "=",     "",        ""},
    {FieldType::LabelCaption,       0,    0,     0,  0,      TokenMode::None,          0,             FieldControl::Caption,      {},                  "L",     "",        ""},
    {FieldType::TriggerZeroCaption, 0,    0,     0,  0,      TokenMode::None,          0,             FieldControl::Caption,      {},                  "TRG 0", "",        ""},
}};
// clang-format on

// Every row stands at its type's place.
consteval bool fieldTypeRowsInOrder() {
  for (std::size_t i = 0; i < FieldTypeTable.size(); ++i) {
    if (static_cast<std::size_t>(FieldTypeTable[i].type) != i) return false;
  }
  return true;
}
static_assert(fieldTypeRowsInOrder());

// The row of a type; End's row for a value outside the enum.
const FieldTypeRow& fieldTypeRow(FieldType type);

// The option list a list field offers (OutputLineSelect: SignalLineList without "EX"), sentinel
// included in the span; an empty span for types without a list.
std::span<const char* const> optionList(FieldType type);
// The fixed text of a caption type ("REG", "+REG", "=", "L", "TRG 0"), or nullptr.
const char* captionText(FieldType type);
// What messages call the value of a field in a row of `instruction` and `kind`: its type's name,
// and "table" for the HexDigit of a TBL kind.
std::string_view fieldName(FieldType type, int instruction, int kind);
// A bound of a field's range as usage, guidance and messages write it: in the field's radix with
// upper-case digits, and with all of the field's digits when `padded` ("000", data bytes "00").
std::string boundText(std::uint32_t value, FieldType type, bool padded);

using LayoutRow = std::array<FieldType, PositionCount>;
// [instruction][kind][position]; rows not used are all End.
extern const std::array<std::array<LayoutRow, KindSlotCount>, InstructionCount> LayoutTable;

// The table entry; End for any argument outside the table.
FieldType fieldTypeAt(int instruction, int kind, int position);
// True for CharByte, PatternByte and EntryByte positions.
bool isDataPosition(int instruction, int kind, int position);
// Position of the first data byte of the row, or -1 when the row has none.
int firstDataPosition(int instruction, int kind);

// The tokens position's field takes in a line of `instruction`: the row's, and for the label of
// a RETI line also "*" (AnyLabel).
TokenMode fieldTokens(int instruction, FieldType type);
// The first line byte the field at `position` fills (0 for none). A HexDigit takes the first of
// the parameter bytes 2-4 that no earlier field of its row fills: byte 2 on its own, byte 4 as
// the second register of IF REG, byte 3 as the register of SET DV.
int fieldLineByte(int instruction, int kind, int position);

}  // namespace vx
