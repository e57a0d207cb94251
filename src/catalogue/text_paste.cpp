#include "catalogue/text_paste.h"

#include <algorithm>
#include <string>

namespace vx {

PasteResult pasteProgramText(ProgramArea& area, int program, int index, std::string_view text) {
  PasteResult result;
  const ProgramText read = readProgramText(text);
  result.problems = read.problems;
  std::vector<ProgramLine> lines;
  std::vector<int> textLines;
  for (const TextSection& section : read.sections) {
    lines.insert(lines.end(), section.lines.begin(), section.lines.end());
    textLines.insert(textLines.end(), section.textLines.begin(), section.textLines.end());
  }
  const int count = lineCount(area, program);
  if (index < 0 || index >= count) {
    result.problems.push_back({0, "no line " + std::to_string(index) + " in the program"});
  } else if (lines.empty() && result.problems.empty()) {
    result.problems.push_back({0, "no program line in the text"});
  } else if (static_cast<int>(lines.size()) > count - index) {
    // A pasted line past the end would be lost at once.
    const auto first = static_cast<std::size_t>(count - index);
    result.problems.push_back({textLines[first], "the program has " + std::to_string(count) +
                                                     " lines; this would be line " +
                                                     std::to_string(count)});
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const TextProblem& a, const TextProblem& b) { return a.line < b.line; });
  }
  if (!result.problems.empty()) return result;

  // The lines that will fall off are the program's last ones, in their places before the paste.
  const int pasted = static_cast<int>(lines.size());
  for (int i = count - pasted; i < count; ++i) {
    const ProgramLine& leaving = *lineAt(area, program, i);
    if (leaving != ProgramLine{}) result.pushedOff.push_back({program, i, leaving});
  }
  // Each insertion at the same index pushes the earlier ones on: the first line ends at `index`.
  for (int k = pasted; k-- > 0;) {
    insertLine(area, program, index, &lines[static_cast<std::size_t>(k)]);
  }
  result.pasted = pasted;
  return result;
}

}  // namespace vx
