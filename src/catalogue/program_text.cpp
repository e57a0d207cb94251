// Programs as text. A line is read by the pattern of its instruction and kind, which follows the
// listing's formats; the values found are range-checked against their fields and handed to the
// encoder as the field panel would hand them, so that a line read from text is exactly the line
// the editor stores for the same values.
#include "catalogue/program_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "catalogue/catalogue.h"
#include "catalogue/char_codes.h"
#include "catalogue/line_fields.h"
#include "catalogue/listing.h"

namespace vx {
namespace {

// The program of the lines under a header that names no program, or one given twice.
constexpr int FaultySection = -2;

// What follows the instruction's and the kind's names, in the listing's formats:
//   ' '   one or more blanks
//   %d    the next value field of the row, written in decimal
//   %X    the next value field, written in hexadecimal
//   %s    the next list field: an entry of its list, or a number or one of its words
//   %b    the data bytes: up to eight, each after a blank
//   other characters are fixed text, matched in either case; blanks may stand before fixed text
//   and before values.
struct RowText {
  Instruction instruction;
  int kind;
  const char* pattern;
};

// clang-format off
constexpr std::array<RowText, 37> RowTexts = {{
    {Instruction::Nop,  0, ""},
    {Instruction::Send, 0, "%b"},              // CHR
    {Instruction::Send, 1, "%X"},              // TBL
    {Instruction::Send, 2, "%X"},              // REG
    {Instruction::Send, 3, ""},                // BUF
    {Instruction::Send, 4, ""},                // KEY
    {Instruction::Send, 5, "%d+REG%X"},        // DA
    {Instruction::Wait, 0, "%b"},              // CHR
    {Instruction::Wait, 1, " %s"},             // FRM
    {Instruction::Wait, 2, "%d"},              // TRG
    {Instruction::Wait, 3, " %d"},             // TM
    {Instruction::Wait, 4, ""},                // KEY
    {Instruction::Wait, 5, " %s=%d"},          // LN
    {Instruction::Goto, 0, " L%d"},
    {Instruction::If,   0, "%b L%d"},          // CHR
    {Instruction::If,   1, "%X L%d"},          // TRG
    {Instruction::If,   2, "%X L%d"},          // TM
    {Instruction::If,   3, "%X L%d"},          // CT
    {Instruction::If,   4, " %s=%d L%d"},      // LN
    {Instruction::If,   5, "%d%sREG%d L%d"},   // REG
    {Instruction::If,   6, "%X L%d"},          // TBL
    {Instruction::If,   7, "%d+REG%d L%d"},    // DA
    {Instruction::Call, 0, " L%d"},
    {Instruction::Ret,  0, ""},
    {Instruction::Set,  0, "%d %s"},           // REG
    {Instruction::Set,  1, " %s=%d"},          // LN
    {Instruction::Set,  2, "%d %s"},           // TM
    {Instruction::Set,  3, "%d %s"},           // CT
    {Instruction::Set,  4, ""},                // BZ
    {Instruction::Set,  5, ""},                // OUT
    {Instruction::Set,  6, " %d%b"},           // DA
    {Instruction::Set,  7, " %d REG%d %d"},    // DV
    {Instruction::Int,  0, " TRG 0 L%d"},
    {Instruction::Reti, 0, " L%d"},
    {Instruction::Disi, 0, " TRG 0"},
    {Instruction::Stop, 0, ""},
    {Instruction::Lbl,  0, "%d"},
}};
// clang-format on

const char* rowPattern(int instruction, int kind) {
  for (const RowText& row : RowTexts) {
    if (static_cast<int>(row.instruction) == instruction && row.kind == kind) return row.pattern;
  }
  return nullptr;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) {
  return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return upper(x) == upper(y); });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string joined(std::span<const char* const> names) {
  std::string text;
  for (const char* name : names) {
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}

// Built by appending: GCC 12 warns wrongly about a literal added to a temporary string.
std::string quoted(std::string_view text) {
  std::string result = "'";
  result += text;
  result += '\'';
  return result;
}

std::string numberText(std::uint32_t value, int radix) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), radix == 16 ? "%X" : "%u", value);
  return text.data();
}

// A register, timer or counter value: a number or a word of its list.
bool isWordList(FieldType type) { return fieldTypeRow(type).control == FieldControl::EditableList; }

// Reads the text of one line after its instruction and kind, position by position, into the
// panel entries that the encoder takes.
class LineReader {
 public:
  LineReader(std::string_view text, int instruction, int kind)
      : text_(text), instruction_(instruction), kind_(kind) {}

  // Fills `positions` from the pattern; empty on success, else what is wrong.
  std::string read(std::string_view pattern, std::array<PositionEntry, PositionCount>& positions) {
    position_ = hasKinds(instruction_) ? 1 : 0;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
      const char c = pattern[k];
      std::string problem;
      if (c == ' ') {
        if (!skipBlanks() && !atEnd()) problem = "expected a blank at " + quoted(rest());
      } else if (c == '%' && k + 1 < pattern.size()) {
        const char what = pattern[++k];
        problem = what == 'b' ? readData(positions) : readValue(what, positions);
      } else {
        std::size_t end = k;
        while (end < pattern.size() && pattern[end] != ' ' && pattern[end] != '%') ++end;
        problem = readFixedText(pattern.substr(k, end - k));
        k = end - 1;
      }
      if (!problem.empty()) return problem;
    }
    skipBlanks();
    if (!atEnd()) return "unexpected " + quoted(rest());
    return {};
  }

 private:
  bool atEnd() const { return at_ >= text_.size(); }
  std::string_view rest() const { return text_.substr(at_); }
  char peek() const { return atEnd() ? '\0' : text_[at_]; }

  bool skipBlanks() {
    const std::size_t start = at_;
    while (!atEnd() && isBlank(text_[at_])) ++at_;
    return at_ > start;
  }

  std::string restOrEnd() const {
    return atEnd() ? std::string("the end of the line") : quoted(rest());
  }

  std::string readFixedText(std::string_view fixed) {
    skipBlanks();
    if (text_.size() - at_ >= fixed.size() &&
        sameIgnoringCase(text_.substr(at_, fixed.size()), fixed)) {
      at_ += fixed.size();
      return {};
    }
    return "expected " + quoted(fixed) + " at " + restOrEnd();
  }

  // The next position of the row that holds a value (captions and the kind are skipped).
  FieldType nextValuePosition() {
    while (position_ < PositionCount) {
      const FieldType type = fieldTypeAt(instruction_, kind_, position_);
      if (type == FieldType::End) break;
      if (captionText(type) == nullptr && type != FieldType::KindSelect) return type;
      ++position_;
    }
    return FieldType::End;
  }

  PositionEntry& entry(std::array<PositionEntry, PositionCount>& positions) {
    return positions[static_cast<std::size_t>(position_)];
  }

  // A run of digits of the radix as a number (2^32 - 1 when larger, which no field takes);
  // nullopt when there is none.
  std::optional<std::uint32_t> readNumber(int radix, std::string& digits) {
    const std::size_t start = at_;
    while (!atEnd() && (radix == 16 ? isHexDigit(text_[at_]) : isDecimalDigit(text_[at_]))) ++at_;
    digits = std::string(text_.substr(start, at_ - start));
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char d : digits) {
      const int digit = isDecimalDigit(d) ? d - '0' : upper(d) - 'A' + 10;
      value = std::min<std::uint64_t>(
          value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit),
          0xFFFFFFFFu);
    }
    return static_cast<std::uint32_t>(value);
  }

  // A number in its field's range, as the panel's text for it; empty problem on success.
  std::string readRangedNumber(FieldType type, int radix, PositionEntry& target) {
    std::string digits;
    const std::optional<std::uint32_t> value = readNumber(radix, digits);
    const std::string name(fieldName(type, instruction_, kind_));
    if (!value) {
      return "expected the " + name + (radix == 16 ? " in hexadecimal" : "") + " at " + restOrEnd();
    }
    const FieldRange range = fieldRange(type).value_or(FieldRange{});
    if (*value < range.minimum || *value > range.maximum) {
      return name + " " + digits + " is outside " + numberText(range.minimum, radix) + "-" +
             numberText(range.maximum, radix);
    }
    // The panel takes the field's own radix, whichever the listing writes.
    target.text = numberText(*value, fieldTypeRow(type).radix);
    return {};
  }

  std::string readValue(char radixLetter, std::array<PositionEntry, PositionCount>& positions) {
    const FieldType type = nextValuePosition();
    if (type == FieldType::End) return "the line has no further field";  // a faulty pattern
    skipBlanks();
    PositionEntry& target = entry(positions);
    std::string problem;
    const bool anyAllowed = fieldTokens(instruction_, type) == TokenMode::AnyMark;
    if (radixLetter == 's') {
      problem = readListEntry(type, target);
    } else if (anyAllowed && peek() == '*') {
      ++at_;
      target.text = "*";
    } else {
      problem = readRangedNumber(type, radixLetter == 'X' ? 16 : 10, target);
    }
    ++position_;
    return problem;
  }

  // An entry of the field's list; for a register, timer or counter value a number or a word.
  std::string readListEntry(FieldType type, PositionEntry& target) {
    const auto names = namesOf(optionList(type));
    const std::string name(fieldName(type, instruction_, kind_));
    if (isWordList(type) && isDecimalDigit(peek())) return readRangedNumber(type, 10, target);
    if (isLetter(peek())) {
      const std::size_t start = at_;
      while (!atEnd() && isLetter(text_[at_])) ++at_;
      const std::string_view word = text_.substr(start, at_ - start);
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameIgnoringCase(word, names[i])) {
          target = {names[i], static_cast<int>(i)};
          return {};
        }
      }
      return quoted(word) + " is no " + name + "; " +
             (isWordList(type) ? "a number or one of: " : "one of: ") + joined(names);
    }
    // Symbols: the longest entry the text begins with ("<=" before "<").
    std::size_t best = names.size();
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string_view candidate = names[i];
      if (candidate.size() > bestLength && text_.size() - at_ >= candidate.size() &&
          text_.substr(at_, candidate.size()) == candidate) {
        best = i;
        bestLength = candidate.size();
      }
    }
    if (best == names.size()) {
      return "expected the " + name + " (" + joined(names) + ") at " + restOrEnd();
    }
    at_ += bestLength;
    target = {names[best], static_cast<int>(best)};
    return {};
  }

  // Up to eight data bytes, each after a blank; the run ends before a word that is no byte.
  std::string readData(std::array<PositionEntry, PositionCount>& positions) {
    int count = 0;
    while (true) {
      const std::size_t before = at_;
      if (!skipBlanks()) break;
      const std::size_t start = at_;
      while (!atEnd() && !isBlank(text_[at_])) ++at_;
      const std::string_view word = text_.substr(start, at_ - start);
      if (word.empty() || !(isHexDigit(word[0]) || word[0] == '*' || word[0] == '|')) {
        at_ = before;
        break;
      }
      const FieldType type = nextValuePosition();
      if (count == DataByteCount || type == FieldType::End) return "more than 8 data bytes";
      const bool pattern = type == FieldType::PatternByte;
      PositionEntry& target = entry(positions);
      const bool mark = pattern && (word == "*" || word == "|>");
      if (!mark && (word.size() > 2 || !std::all_of(word.begin(), word.end(), isHexDigit))) {
        return quoted(word) + " is no data byte (00-FF" + (pattern ? ", * or |>)" : ")");
      }
      target.text = std::string(word);
      ++position_;
      ++count;
    }
    // The rest of the eight data positions stay empty.
    while (count < DataByteCount && nextValuePosition() != FieldType::End &&
           isDataPosition(instruction_, kind_, position_)) {
      ++position_;
      ++count;
    }
    return {};
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int instruction_;
  int kind_;
  int position_ = 0;
};

// Counts the encoder's corrections: a line read from text must need none.
class CorrectionCounter final : public FieldFeedback {
 public:
  int corrections = 0;
  void showPositionText(int, std::string_view) override { ++corrections; }
  void clearCharacterCell(int) override {}
};

LineReading readRawLine(std::string_view rest) {
  std::array<std::uint8_t, LineSize> bytes{};
  std::size_t count = 0;
  std::size_t at = 0;
  while (true) {
    while (at < rest.size() && isBlank(rest[at])) ++at;
    if (at >= rest.size()) break;
    const std::size_t start = at;
    while (at < rest.size() && !isBlank(rest[at])) ++at;
    const std::string_view word = rest.substr(start, at - start);
    if (word.size() != 2 || !isHexDigit(word[0]) || !isHexDigit(word[1])) {
      return {std::nullopt,
              std::string(RawLineWord) + ": " + quoted(word) + " is not two hexadecimal digits"};
    }
    if (count == LineSize) {
      return {std::nullopt, std::string(RawLineWord) + " takes 16 bytes, not more"};
    }
    const auto digit = [](char d) { return isDecimalDigit(d) ? d - '0' : upper(d) - 'A' + 10; };
    bytes[count++] = static_cast<std::uint8_t>(digit(word[0]) * 16 + digit(word[1]));
  }
  if (count != LineSize) {
    return {std::nullopt,
            std::string(RawLineWord) + " takes 16 bytes, found " + std::to_string(count)};
  }
  ProgramLine line;
  line.bytes = bytes;
  return {line, {}};
}

// The instruction whose listing name the text begins with, and the length of that name.
std::optional<int> instructionOf(std::string_view text, std::size_t& length) {
  length = 0;
  while (length < text.size() && isLetter(text[length])) ++length;
  const std::string_view word = text.substr(0, length);
  for (int i = 0; i < InstructionCount; ++i) {
    if (sameIgnoringCase(word, trimmed(InstructionSelectorList[static_cast<std::size_t>(i)]))) {
      return i;
    }
  }
  return std::nullopt;
}

std::string instructionNames() {
  std::string names;
  for (int i = 0; i < InstructionCount; ++i) {
    if (!names.empty()) names += ", ";
    names += trimmed(InstructionSelectorList[static_cast<std::size_t>(i)]);
  }
  return names;
}

// The kind whose name the text begins with, the longest when several do.
std::optional<int> kindOf(int instruction, std::string_view text, std::size_t& length) {
  const auto kinds = namesOf(kindNameList(instruction));
  std::optional<int> found;
  length = 0;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    const std::string_view name = kinds[k];
    if (name.size() > length && text.size() >= name.size() &&
        sameIgnoringCase(text.substr(0, name.size()), name)) {
      found = static_cast<int>(k);
      length = name.size();
    }
  }
  return found;
}

// The listing text with the character display off, blanks collapsed and trimmed.
std::string normalisedListing(const ProgramLine& line) {
  ListingText buffer{};
  const std::string_view listing = listingText(line, CharCode::Ascii, false, buffer);
  std::string text;
  bool blank = false;
  for (const char c : trimmed(listing)) {
    if (isBlank(c)) {
      blank = true;
      continue;
    }
    if (blank) text += ' ';
    blank = false;
    text += c;
  }
  return text;
}

std::string rawText(const ProgramLine& line) {
  std::string text(RawLineWord);
  for (const std::uint8_t b : line.bytes) {
    text += ' ';
    text += hexByteText(b);
  }
  return text;
}

std::string sectionHeader(int program) {
  std::string header = "[";
  header += programName(program);
  header += ']';
  return header;
}

}  // namespace

LineReading readProgramLine(std::string_view text) {
  text = trimmed(text);
  if (text.size() >= RawLineWord.size() &&
      sameIgnoringCase(text.substr(0, RawLineWord.size()), RawLineWord) &&
      (text.size() == RawLineWord.size() || isBlank(text[RawLineWord.size()]))) {
    return readRawLine(text.substr(RawLineWord.size()));
  }
  std::size_t length = 0;
  const std::optional<int> instruction = instructionOf(text, length);
  if (!instruction) {
    const std::string_view word = text.substr(0, std::max<std::size_t>(length, 1));
    return {std::nullopt,
            "unknown instruction " + quoted(word) + "; instructions: " + instructionNames()};
  }
  std::string_view rest = text.substr(length);
  int kind = 0;
  std::array<PositionEntry, PositionCount> positions{};
  const std::string instructionName(
      trimmed(InstructionSelectorList[static_cast<std::size_t>(*instruction)]));
  if (hasKinds(*instruction)) {
    const std::string_view afterBlank = trimmed(rest);
    std::size_t kindLength = 0;
    const std::optional<int> found = rest.empty() || !isBlank(rest.front())
                                         ? std::nullopt
                                         : kindOf(*instruction, afterBlank, kindLength);
    if (!found) {
      std::size_t wordLength = 0;
      while (wordLength < afterBlank.size() && !isBlank(afterBlank[wordLength])) ++wordLength;
      return {std::nullopt,
              (afterBlank.empty() ? instructionName + " needs a kind"
                                  : "unknown kind " + quoted(afterBlank.substr(0, wordLength)) +
                                        " of " + instructionName) +
                  "; kinds: " + joined(namesOf(kindNameList(*instruction)))};
    }
    kind = *found;
    rest = afterBlank.substr(kindLength);
    positions[0] = {namesOf(kindNameList(*instruction))[static_cast<std::size_t>(kind)], kind};
  }
  const char* pattern = rowPattern(*instruction, kind);
  if (pattern == nullptr) return {std::nullopt, "no text form for " + instructionName};
  LineReader reader(rest, *instruction, kind);
  if (std::string problem = reader.read(pattern, positions); !problem.empty()) {
    return {std::nullopt, std::move(problem)};
  }
  CorrectionCounter counter;
  const std::optional<ProgramLine> line = encodeLine(*instruction, positions, &counter);
  if (!line || counter.corrections != 0) {
    return {std::nullopt, "the values do not make a line the editor stores"};
  }
  return {line, {}};
}

bool hasListingForm(const ProgramLine& line) {
  const LineReading reading = readProgramLine(normalisedListing(line));
  return reading.line && *reading.line == line;
}

std::string programLineText(const ProgramLine& line) {
  std::string listing = normalisedListing(line);
  const LineReading reading = readProgramLine(listing);
  if (reading.line && *reading.line == line) return listing;
  return rawText(line);
}

ProgramText readProgramText(std::string_view text) {
  ProgramText result;
  // A byte-order mark, as some editors write at the start of UTF-8 text.
  constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark)
    text.remove_prefix(ByteOrderMark.size());
  std::array<int, ProgramCount> headerAt{};
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    if (line.front() == '[') {
      int program = -1;
      for (int p = 0; p < ProgramCount; ++p) {
        if (sameIgnoringCase(line, sectionHeader(p))) program = p;
      }
      if (program < 0) {
        result.problems.push_back(
            {lineNumber, "unknown section " + quoted(line) + "; sections: [A], [B], [C], [D]"});
        result.sections.push_back({FaultySection, lineNumber, {}, {}});
        continue;
      }
      int& first = headerAt[static_cast<std::size_t>(program)];
      if (first != 0) {
        result.problems.push_back({lineNumber, "section " + sectionHeader(program) +
                                                   " given twice (first at line " +
                                                   std::to_string(first) + ")"});
        result.sections.push_back({FaultySection, lineNumber, {}, {}});
        continue;
      }
      first = lineNumber;
      result.sections.push_back({program, lineNumber, {}, {}});
      continue;
    }
    if (result.sections.empty()) result.sections.push_back({});
    const LineReading reading = readProgramLine(line);
    if (!reading.line) {
      result.problems.push_back({lineNumber, reading.problem});
      continue;
    }
    result.sections.back().lines.push_back(*reading.line);
    result.sections.back().textLines.push_back(lineNumber);
  }
  return result;
}

std::string writeProgramText(const ProgramArea& area, std::string_view title,
                             const std::vector<int>& programs) {
  std::string text = "# ";
  for (const char c : title) text += c == '\n' || c == '\r' ? '?' : c;
  text += '\n';
  const std::vector<int> all = {0, 1, 2, 3};
  for (const int p : programs.empty() ? all : programs) {
    text += '\n' + sectionHeader(p) + '\n';
    int used = lineCount(area, p);
    const ProgramLine empty{};
    while (used > 0 && *lineAt(area, p, used - 1) == empty) --used;
    for (int i = 0; i < used; ++i) {
      text += programLineText(*lineAt(area, p, i));
      text += '\n';
    }
  }
  return text;
}

std::vector<TextProblem> importProgramText(ProgramArea& area, const ProgramText& text,
                                           const TextImportOptions& options) {
  std::vector<TextProblem> problems = text.problems;
  const bool anyHeader = std::any_of(text.sections.begin(), text.sections.end(),
                                     [](const TextSection& s) { return s.headerLine != 0; });
  // Which sections are imported, and as which program.
  std::vector<std::pair<int, const TextSection*>> imports;
  static const TextSection NoLines{};
  if (options.program >= 0 && !anyHeader) {
    imports.push_back({options.program, text.sections.empty() ? &NoLines : &text.sections.front()});
  } else {
    for (const TextSection& section : text.sections) {
      if (section.program == -1 && !section.textLines.empty()) {
        problems.push_back({section.textLines.front(),
                            "a line before the first section header [A], [B], [C] or [D]"});
      } else if (section.program >= 0 &&
                 (options.program < 0 || options.program == section.program)) {
        imports.push_back({section.program, &section});
      }
    }
    if (options.program >= 0 && imports.empty()) {
      problems.push_back({0, "no section " + sectionHeader(options.program)});
    }
  }

  ProgramArea result = area;
  for (const auto& [program, section] : imports) {
    const auto count = static_cast<std::size_t>(lineCount(result, program));
    if (section->lines.size() > count) {
      problems.push_back(
          {section->textLines[count], "program " + std::string(programName(program)) + " has " +
                                          std::to_string(count) + " lines; this would be line " +
                                          std::to_string(count)});
      continue;
    }
    for (std::size_t i = 0; i < count; ++i) {
      storeLine(result, program, static_cast<int>(i),
                i < section->lines.size() ? section->lines[i] : ProgramLine{});
    }
  }
  if (options.requireConsistentLabels && problems.empty()) {
    for (const auto& [program, section] : imports) {
      for (const LabelInconsistency& found : labelInconsistencies(result, program)) {
        // Lines past the section are empty, so an inconsistency lies on a line of the section;
        // only programs that overlap in a damaged header may show another section's line.
        const auto index = static_cast<std::size_t>(found.index);
        problems.push_back(
            {index < section->textLines.size() ? section->textLines[index] : section->headerLine,
             describeLabelInconsistency(result, program, found)});
      }
    }
  }
  if (!problems.empty()) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const TextProblem& a, const TextProblem& b) { return a.line < b.line; });
    return problems;
  }
  area = result;
  return {};
}

std::string describeLabelInconsistency(const ProgramArea& area, int program,
                                       const LabelInconsistency& inconsistency) {
  const ProgramLine* line = lineAt(area, program, inconsistency.index);
  if (line == nullptr) return "no such line";
  const std::uint16_t label = labelOf(*line);
  const bool anyTarget =
      line->bytes[0] == static_cast<std::uint8_t>(Instruction::Reti) && label == AnyLabel;
  return "label " + (anyTarget ? std::string("*") : std::to_string(label)) +
         (inconsistency.duplicate ? " defined twice" : " not defined");
}

}  // namespace vx
