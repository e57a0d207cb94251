// The vocabulary of the program language: instructions, operand kinds, field types, option
// lists and the field layout of every instruction and kind.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

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

// The option list a list field offers (OutputLineSelect: SignalLineList without "EX"), sentinel
// included in the span; an empty span for types without a list.
std::span<const char* const> optionList(FieldType type);
// The fixed text of a caption type ("REG", "+REG", "=", "L", "TRG 0"), or nullptr.
const char* captionText(FieldType type);

using LayoutRow = std::array<FieldType, PositionCount>;
// [instruction][kind][position]; rows not used are all End.
extern const std::array<std::array<LayoutRow, KindSlotCount>, InstructionCount> LayoutTable;

// The table entry; End for any argument outside the table.
FieldType fieldTypeAt(int instruction, int kind, int position);
// True for CharByte, PatternByte and EntryByte positions.
bool isDataPosition(int instruction, int kind, int position);
// Position of the first data byte of the row, or -1 when the row has none.
int firstDataPosition(int instruction, int kind);

// Help texts (string table entries 1..5): "0:NOP\r\n1:SEND..." and the kind lists per instruction.
std::string_view instructionHelpText();
std::string_view kindHelpText(int instruction);  // empty for instructions without kinds

}  // namespace vx
