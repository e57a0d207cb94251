// Lines pasted into a program from text, as the editor's Ctrl+V does: the text form of programs,
// read as a run of lines to insert rather than as whole programs to replace.
#pragma once

#include <string_view>
#include <vector>

#include "catalogue/program_text.h"
#include "store/program_area.h"

namespace vx {

struct PasteResult {
  // What is wrong with the text; when not empty, the area is as it was.
  std::vector<TextProblem> problems;
  // The number of lines inserted.
  int pasted = 0;
  // The non-empty lines that left the program's end, with their places before the paste.
  PushedOffLines pushedOff;
};

// Inserts every program line of `text` (UTF-8, the text form of programs: comments and blank lines
// skipped, section headers [A] ... [D] skipped so that an exported program pastes as it is) at
// `index` of `program`, in text order; the lines from `index` on move down and the last ones fall
// off the program's end. All or nothing: a line that does not read, a faulty or repeated header,
// a text without any program line, or more lines than the program holds from `index` on is a
// problem of its text line, and nothing is inserted.
PasteResult pasteProgramText(ProgramArea& area, int program, int index, std::string_view text);

}  // namespace vx
