// Programs as text: each line as its listing text (data bytes in hexadecimal), or as `.raw` and its
// 16 bytes when the listing text does not give the line back; programs under `[A]` ... `[D]`.
// Reading never corrects a value: whatever does not name exactly one line is a problem of its
// text line. Free of any window system and of the command-line tool, for both to use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/program_area.h"

namespace vx {

// The word that starts a line given byte for byte.
inline constexpr std::string_view RawLineWord = ".raw";

// What is wrong with a text, and where: `line` counts text lines from 1; 0 for the text as a whole.
struct TextProblem {
  int line = 0;
  std::string message;

  friend bool operator==(const TextProblem&, const TextProblem&) = default;
};

// One program line read from its text: the line, or what is wrong with the text.
struct LineReading {
  std::optional<ProgramLine> line;
  std::string problem;  // empty when `line` is set
};

// Reads one line's text: a listing text with the character display off (blanks collapsed and
// trimmed, names and words in either case), or `.raw` and 16 two-digit hexadecimal bytes. No
// comment, no section header.
LineReading readProgramLine(std::string_view text);

// The text of a line as written out: its listing text with the character display off, blanks
// collapsed and trimmed, when reading that text gives back exactly the 16 bytes; else `.raw` and
// the 16 bytes.
std::string programLineText(const ProgramLine& line);
// True when `programLineText` writes the line as its listing text.
bool hasListingForm(const ProgramLine& line);

// The program lines of a text under one section header, or before the first header.
struct TextSection {
  // 0..3; -1 for the lines before the first header; -2 under a header that names no program or
  // one named before.
  int program = -1;
  int headerLine = 0;  // text line of the header; 0 for the lines before the first header
  std::vector<ProgramLine> lines;
  std::vector<int> textLines;  // the text line of each program line
};

// A whole text read: its sections in text order (the lines before the first header, when there
// are any, as a section of program -1), and every problem found, in text order.
struct ProgramText {
  std::vector<TextSection> sections;
  std::vector<TextProblem> problems;
};

// Reads UTF-8 text with LF or CRLF line ends: `#` starts a comment, blank lines are skipped, `[A]`
// ... `[D]` (either case) start a program, every other line is one program line.
ProgramText readProgramText(std::string_view text);

// Writes the text of the programs (all four when `programs` is empty), each as its header and its
// lines from 0 up to the last line that is not all zero; `title` becomes the first, comment line.
std::string writeProgramText(const ProgramArea& area, std::string_view title,
                             const std::vector<int>& programs = {});

struct TextImportOptions {
  // -1: every section of the text. 0..3: only that program's section; a text without any header
  // is then that program's lines (none: the program becomes empty).
  int program = -1;
  // Also refuse the text when an imported program's labels are inconsistent.
  bool requireConsistentLabels = false;
};

// Makes each imported program's lines the section's lines and the rest of the program empty
// lines; other programs, the starts and the cursors stay as they are. All or nothing: when any
// problem is found (the text's own, a section longer than its program, a section given twice, a
// missing section), the area is left as it was and every problem is returned.
std::vector<TextProblem> importProgramText(ProgramArea& area, const ProgramText& text,
                                           const TextImportOptions& options = {});

// "label 5 defined twice", "label 7 not defined" ("*" for the any-label target of RETI).
std::string describeLabelInconsistency(const ProgramArea& area, int program,
                                       const LabelInconsistency& inconsistency);

}  // namespace vx
