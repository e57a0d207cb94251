#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "store/program_area.h"

namespace vx {
namespace {

// The program's lines as one contiguous range, empty for a program without lines.
std::span<ProgramLine> programLines(ProgramArea& area, int program) {
  const int count = lineCount(area, program);
  if (count == 0) {
    return {};
  }
  return {lineAt(area, program, 0), static_cast<std::size_t>(count)};
}

}  // namespace

void insertLine(ProgramArea& area, int program, int index, const ProgramLine* line,
                PushedOffLines* pushedOff) {
  const std::span<ProgramLine> lines = programLines(area, program);
  if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) {
    return;
  }
  if (pushedOff != nullptr && lines.back() != ProgramLine{}) {
    pushedOff->push_back({program, static_cast<int>(lines.size()) - 1, lines.back()});
  }
  const ProgramLine entering = line ? *line : ProgramLine{};
  std::copy_backward(lines.begin() + index, lines.end() - 1, lines.end());
  lines[static_cast<std::size_t>(index)] = entering;
}

void deleteLine(ProgramArea& area, int program, int index) {
  const std::span<ProgramLine> lines = programLines(area, program);
  if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) {
    return;
  }
  std::copy(lines.begin() + index + 1, lines.end(), lines.begin() + index);
  lines.back() = ProgramLine{};
}

void moveCopyLines(ProgramArea& area, int source, std::span<const int> selected, int destination,
                   int destinationIndex, bool move, PushedOffLines* pushedOff) {
  if (selected.empty()) {
    return;
  }
  const int sourceCount = lineCount(area, source);
  const int destinationCount = lineCount(area, destination);
  const bool ascending = std::adjacent_find(selected.begin(), selected.end(),
                                            [](int a, int b) { return a >= b; }) == selected.end();
  if (!ascending || selected.front() < 0 || selected.back() >= sourceCount ||
      destinationIndex < 0 || destinationIndex >= destinationCount) {
    return;
  }

  // Where each line of the destination stood before the call (program, index), kept only to
  // name the lines that fall off its end.
  std::vector<std::pair<int, int>> origins;
  if (pushedOff != nullptr) {
    for (int i = 0; i < destinationCount; ++i) {
      origins.emplace_back(destination, i);
    }
  }
  const std::size_t firstReported = pushedOff != nullptr ? pushedOff->size() : 0;

  // Taken from the highest index down, so that each deletion leaves the lower indices valid.
  std::vector<ProgramLine> buffer(selected.size());
  for (std::size_t k = selected.size(); k-- > 0;) {
    buffer[k] = *lineAt(area, source, selected[k]);
    if (move) {
      deleteLine(area, source, selected[k]);
      if (pushedOff != nullptr && source == destination) {
        origins.erase(origins.begin() + selected[k]);
        origins.emplace_back(destination, -1);  // the empty line that entered at the end
      }
      if (source == destination && selected[k] < destinationIndex) {
        --destinationIndex;
      }
    }
  }
  // Each insertion at the same index pushes the earlier ones on: buffer[0] ends at the index.
  for (std::size_t k = buffer.size(); k-- > 0;) {
    if (pushedOff != nullptr) {
      const ProgramLine& last = *lineAt(area, destination, destinationCount - 1);
      if (last != ProgramLine{}) {
        pushedOff->push_back({origins.back().first, origins.back().second, last});
      }
      origins.pop_back();
      origins.insert(origins.begin() + destinationIndex, {source, selected[k]});
    }
    insertLine(area, destination, destinationIndex, &buffer[k]);
  }
  if (pushedOff != nullptr) {
    std::sort(pushedOff->begin() + static_cast<std::ptrdiff_t>(firstReported), pushedOff->end(),
              [](const PushedOffLine& a, const PushedOffLine& b) {
                return std::pair(a.program, a.formerIndex) < std::pair(b.program, b.formerIndex);
              });
  }
}

}  // namespace vx
