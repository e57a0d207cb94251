// The text of a line in the program list: the instruction's listing name, the kind's name and the
// field values, each in its field's format ("SEND CHR 41 42", "IF REG1<REG2 L003", "WAIT TM 0100").
#include "catalogue/listing.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"

#if defined(__GNUC__)
#define VX_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define VX_PRINTF_FORMAT(fmt, args)
#endif

namespace vx {
namespace {

constexpr std::uint8_t NoIndexRegister = 0xFF;

// Appends to the caller's 40-byte buffer; the text always stays NUL-terminated and a text that
// would not fit is cut at 39 characters.
class ListingWriter {
 public:
  explicit ListingWriter(ListingText& out) : out_(out) { out_[0] = '\0'; }

  void append(std::string_view text) {
    for (const char c : text) {
      if (length_ + 1 >= out_.size()) break;
      out_[length_++] = c;
    }
    out_[length_] = '\0';
  }

  void format(const char* fmt, ...) VX_PRINTF_FORMAT(2, 3) {
    const std::size_t room = out_.size() - length_;
    std::va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(out_.data() + length_, room, fmt, args);
    va_end(args);
    if (n < 0) {
      out_[length_] = '\0';
      return;
    }
    const auto written = static_cast<std::size_t>(n);
    length_ += written < room ? written : room - 1;
  }

  std::string_view text() const { return {out_.data(), length_}; }

 private:
  ListingText& out_;
  std::size_t length_ = 0;
};

// Entry `index` of a name list closed by the sentinel, or nullptr past its names.
const char* nameAt(std::span<const char* const> sentinelList, unsigned index) {
  const std::span<const char* const> names = namesOf(sentinelList);
  return index < names.size() ? names[index] : nullptr;
}

// A list name, or "?" and the stored number for an index past the list.
void appendListName(ListingWriter& w, std::span<const char* const> list, unsigned index) {
  if (const char* name = nameAt(list, index)) {
    w.append(name);
  } else {
    w.format("?%u", index);
  }
}

// The display strings of the data bytes in use, each followed by a blank. A loaded line may claim
// more than eight bytes; the line holds only eight.
void appendDataStrings(ListingWriter& w, const LineFields& f, CharCode code, bool showCharacters,
                       bool masked) {
  const std::array<std::string_view, 8> strings =
      displayStrings(showCharacters, code, f.data, masked, masked ? f.paramA : std::uint8_t{0});
  const std::size_t count = std::min<std::size_t>(f.count, DataByteCount);
  for (std::size_t i = 0; i < count; ++i) {
    w.append(strings[i]);
    w.append(" ");
  }
}

// " %s=%d": a signal line and its level.
void appendSignalLevel(ListingWriter& w, const LineFields& f) {
  w.append(" ");
  appendListName(w, SignalLineList, f.paramA);
  w.format("=%d", f.paramB);
}

void appendSend(ListingWriter& w, const LineFields& f, CharCode code, bool showCharacters) {
  switch (f.kind) {
    case 0:  // CHR
      w.append(" ");
      appendDataStrings(w, f, code, showCharacters, false);
      break;
    case 1:  // TBL
    case 2:  // REG
      w.format("%X", unsigned{f.paramA});
      break;
    case 5:  // DA: the index register in hexadecimal
      if (f.paramB == NoIndexRegister) {
        w.format("%02d+REG*", f.paramA);
      } else {
        w.format("%02d+REG%X", f.paramA, unsigned{f.paramB});
      }
      break;
    default:  // BUF, KEY
      break;
  }
}

void appendWait(ListingWriter& w, const LineFields& f, CharCode code, bool showCharacters) {
  switch (f.kind) {
    case 0:  // CHR
      w.append(" ");
      appendDataStrings(w, f, code, showCharacters, true);
      break;
    case 1:  // FRM
      w.append(f.paramA == 0 ? " CLR" : " NOCLR");
      break;
    case 2:  // TRG
      w.format("%d", f.paramA);
      break;
    case 3:  // TM
      w.format(" %04d", static_cast<std::int32_t>(f.value));
      break;
    case 5:  // LN
      appendSignalLevel(w, f);
      break;
    default:  // KEY
      break;
  }
}

void appendIf(ListingWriter& w, const LineFields& f, CharCode code, bool showCharacters) {
  switch (f.kind) {
    case 0:  // CHR
      w.append(" ");
      appendDataStrings(w, f, code, showCharacters, true);
      break;
    case 1:  // TRG
    case 2:  // TM
    case 3:  // CT
    case 6:  // TBL
      w.format("%X", unsigned{f.paramA});
      break;
    case 4:  // LN
      appendSignalLevel(w, f);
      break;
    case 5:  // REG
      w.format("%d", f.paramA);
      appendListName(w, CompareOperatorList, f.paramB);
      w.format("REG%d", f.paramC);
      break;
    case 7:  // DA: the index register in decimal
      if (f.paramB == NoIndexRegister) {
        w.format("%02d+REG*", f.paramA);
      } else {
        w.format("%02d+REG%d", f.paramA, f.paramB);
      }
      break;
    default:
      break;
  }
  w.format(" L%03d", f.label);
}

void appendSet(ListingWriter& w, const LineFields& f, CharCode code, bool showCharacters) {
  switch (f.kind) {
    case 0:    // REG
    case 2:    // TM
    case 3: {  // CT
      if (f.paramB == 0) {
        w.format("%d %06d", f.paramA, static_cast<std::int32_t>(f.value));
        break;
      }
      w.format("%d ", f.paramA);
      std::span<const char* const> words = CounterWordList;
      if (f.kind == 0) words = RegisterWordList;
      if (f.kind == 2) words = TimerWordList;
      // Words count from 1; a number without a word adds nothing.
      if (const char* word = nameAt(words, f.paramB - 1U)) w.append(word);
      break;
    }
    case 1:  // LN
      appendSignalLevel(w, f);
      break;
    case 6:  // DA
      w.format(" %02d ", f.paramA);
      appendDataStrings(w, f, code, showCharacters, false);
      break;
    case 7:  // DV
      w.format(" %02d REG%d %d", f.paramA, f.paramB, f.paramC);
      break;
    default:  // BZ, OUT
      break;
  }
}

}  // namespace

std::string_view listingText(const ProgramLine& line, CharCode code, bool showCharacters,
                             ListingText& out) {
  ListingWriter w(out);
  const LineFields f = decodeLine(line);
  const int instruction = f.instruction;
  if (instruction >= InstructionCount) {
    w.format(" ?%d", instruction);
    return w.text();
  }
  w.append(InstructionSelectorList[static_cast<std::size_t>(instruction)]);

  // A kind byte without a layout row decodes to nothing; show the stored number rather than the
  // fields of kind 0. NOP, RET and STOP have no fields with any kind.
  const int storedKind = line.bytes[1];
  if (fieldTypeAt(instruction, storedKind, 0) == FieldType::End &&
      fieldTypeAt(instruction, 0, 0) != FieldType::End) {
    w.format(" ?%d", storedKind);
    return w.text();
  }
  if (hasKinds(instruction)) {
    w.append(" ");
    w.append(kindNameList(instruction)[f.kind]);
  }

  switch (static_cast<Instruction>(instruction)) {
    case Instruction::Send:
      appendSend(w, f, code, showCharacters);
      break;
    case Instruction::Wait:
      appendWait(w, f, code, showCharacters);
      break;
    case Instruction::If:
      appendIf(w, f, code, showCharacters);
      break;
    case Instruction::Set:
      appendSet(w, f, code, showCharacters);
      break;
    case Instruction::Goto:
    case Instruction::Call:
      w.format(" L%03d", f.label);
      break;
    case Instruction::Int:
      w.format(" TRG 0 L%03d", f.label);
      break;
    case Instruction::Reti:
      if (f.label == AnyLabel) {
        w.append(" L*");
      } else {
        w.format(" L%03d", f.label);
      }
      break;
    case Instruction::Disi:
      w.append(" TRG 0");
      break;
    case Instruction::Lbl:
      w.format("%03d", f.label);
      break;
    case Instruction::Nop:
    case Instruction::Ret:
    case Instruction::Stop:
      break;
  }
  return w.text();
}

}  // namespace vx
