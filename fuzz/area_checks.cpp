#include "area_checks.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "catalogue/char_codes.h"
#include "catalogue/listing.h"
#include "store/bytes.h"

namespace vx::fuzz {
namespace {

// The slots a program owns, read from the header independently of the store: a header whose
// starts do not describe a range inside the 2048 slots gives a program without lines.
struct Range {
  int start = 0;
  int count = 0;
};

int startValue(const ProgramArea& area, int program) {
  return static_cast<std::int16_t>(
      readU16(&area.header[4 + 4 * static_cast<std::size_t>(program)]));
}

Range rangeOf(const ProgramArea& area, int program) {
  if (program < 0 || program >= ProgramCount) {
    return {};
  }
  const int start = startValue(area, program);
  const int end = startValue(area, program + 1);
  if (start < 0 || end > SlotCount || end < start) {
    return {};
  }
  return {start, end - start};
}

ProgramLine& slot(ProgramArea& area, const Range& range, int index) {
  return area.slots[static_cast<std::size_t>(range.start + index)];
}

void modelInsert(ProgramArea& area, int program, int index, const ProgramLine& line) {
  const Range range = rangeOf(area, program);
  if (index < 0 || index >= range.count) {
    return;
  }
  for (int k = range.count - 1; k > index; --k) {
    slot(area, range, k) = slot(area, range, k - 1);
  }
  slot(area, range, index) = line;
}

void modelDelete(ProgramArea& area, int program, int index) {
  const Range range = rangeOf(area, program);
  if (index < 0 || index >= range.count) {
    return;
  }
  for (int k = index; k + 1 < range.count; ++k) {
    slot(area, range, k) = slot(area, range, k + 1);
  }
  slot(area, range, range.count - 1) = ProgramLine{};
}

void modelMoveCopy(ProgramArea& area, int source, const std::vector<int>& selected, int destination,
                   int destinationIndex, bool move) {
  if (selected.empty()) {
    return;
  }
  const Range from = rangeOf(area, source);
  const Range to = rangeOf(area, destination);
  for (std::size_t k = 0; k < selected.size(); ++k) {
    if (selected[k] < 0 || selected[k] >= from.count || (k > 0 && selected[k] <= selected[k - 1])) {
      return;
    }
  }
  if (destinationIndex < 0 || destinationIndex >= to.count) {
    return;
  }
  std::vector<ProgramLine> buffer(selected.size());
  for (std::size_t k = selected.size(); k-- > 0;) {
    buffer[k] = slot(area, from, selected[k]);
    if (move) {
      modelDelete(area, source, selected[k]);
      if (source == destination && selected[k] < destinationIndex) {
        --destinationIndex;
      }
    }
  }
  for (std::size_t k = buffer.size(); k-- > 0;) {
    modelInsert(area, destination, destinationIndex, buffer[k]);
  }
}

int modelCheck(const ProgramArea& area, int program) {
  const Range range = rangeOf(area, program);
  auto lineAtIndex = [&](int i) { return area.slots[static_cast<std::size_t>(range.start + i)]; };
  std::vector<std::uint16_t> defined;
  for (int i = 0; i < range.count; ++i) {
    const ProgramLine line = lineAtIndex(i);
    if (line.bytes[0] != 12) {
      continue;
    }
    const std::uint16_t label = readU16(&line.bytes[12]);
    if (std::find(defined.begin(), defined.end(), label) != defined.end()) {
      return i;
    }
    defined.push_back(label);
  }
  for (int i = 0; i < range.count; ++i) {
    const ProgramLine line = lineAtIndex(i);
    const std::uint8_t code = line.bytes[0];
    const bool jump = code == 3 || code == 4 || code == 5 || code == 8 || code == 9;
    const std::uint16_t label = readU16(&line.bytes[12]);
    if (!jump || (code == 9 && label == 0xFFFF)) {
      continue;
    }
    if (std::find(defined.begin(), defined.end(), label) == defined.end()) {
      return i;
    }
  }
  return -1;
}

void checkListingText(const ProgramLine& line, CharCode code, bool showCharacters) {
  ListingText out;
  out.fill('\x7F');
  const std::string_view text = listingText(line, code, showCharacters, out);
  const auto nul = std::find(out.begin(), out.end(), '\0');
  VX_FUZZ_CHECK(nul != out.end());
  const auto length = static_cast<std::size_t>(nul - out.begin());
  VX_FUZZ_CHECK(length <= 39);
  VX_FUZZ_CHECK(text.data() == out.data() && text.size() == length);
}

// Lists and checks one program: lineAt stops exactly at the program's end, the check agrees with
// the model, and neither changes anything.
void listAndCheck(const ProgramArea& area, int program, CharCode code, bool showCharacters) {
  const Range range = rangeOf(area, program);
  VX_FUZZ_CHECK(lineCount(area, program) == range.count);
  VX_FUZZ_CHECK(lineAt(area, program, -1) == nullptr);
  VX_FUZZ_CHECK(lineAt(area, program, range.count) == nullptr);
  for (int i = 0; i < range.count; ++i) {
    const ProgramLine* line = lineAt(area, program, i);
    VX_FUZZ_CHECK(line == &area.slots[static_cast<std::size_t>(range.start + i)]);
    checkListingText(*line, code, showCharacters);
  }
  const int at = cursor(area, program);
  const ProgramLine* current = lineAt(area, program, at);
  VX_FUZZ_CHECK((current != nullptr) == (at >= 0 && at < range.count));
  VX_FUZZ_CHECK(checkLabels(area, program) == modelCheck(area, program));
}

// An index worth trying in a program of `count` lines.
int chooseIndex(InputReader& input, int count, int cursorValue) {
  switch (input.byte() % 8) {
    case 0:
      return -1;
    case 1:
      return count - 1;
    case 2:
      return count;
    case 3:
      return cursorValue;
    case 4:
      return static_cast<std::int16_t>(input.u16());
    default:
      return input.below(count + 2) - 1;
  }
}

std::vector<int> chooseSelection(InputReader& input, int count, int cursorValue) {
  std::vector<int> selected;
  const int size = input.byte() % 12;
  const bool ascending = input.byte() % 4 != 0;
  int next = ascending ? std::max(-1, chooseIndex(input, count, cursorValue)) : 0;
  for (int k = 0; k < size; ++k) {
    if (ascending) {
      selected.push_back(next);
      next += 1 + input.byte() % 3;
    } else {
      selected.push_back(chooseIndex(input, count, cursorValue));
    }
  }
  return selected;
}

ProgramLine chooseLine(InputReader& input) {
  ProgramLine line;
  for (std::uint8_t& b : line.bytes) {
    b = input.byte();
  }
  return line;
}

// The non-empty lines of the programs, sorted, plus `extra` (its empty lines left out).
std::vector<ProgramLine> nonEmptyLines(const ProgramArea& area, std::initializer_list<int> programs,
                                       const std::vector<ProgramLine>& extra = {}) {
  std::vector<ProgramLine> lines;
  std::vector<int> seen;
  for (int program : programs) {
    if (std::find(seen.begin(), seen.end(), program) != seen.end()) {
      continue;
    }
    seen.push_back(program);
    for (int i = 0; i < rangeOf(area, program).count; ++i) {
      lines.push_back(*lineAt(area, program, i));
    }
  }
  lines.insert(lines.end(), extra.begin(), extra.end());
  std::erase(lines, ProgramLine{});
  std::sort(lines.begin(), lines.end(),
            [](const ProgramLine& a, const ProgramLine& b) { return a.bytes < b.bytes; });
  return lines;
}

// No line is lost unreported: what the programs held (and what was added) is what they hold now
// plus what was reported pushed off, and every report names the line's former place.
void checkPushedOff(const ProgramArea& before, const ProgramArea& after,
                    std::initializer_list<int> programs, const std::vector<ProgramLine>& added,
                    const PushedOffLines& pushedOff) {
  std::vector<ProgramLine> reported;
  for (const PushedOffLine& lost : pushedOff) {
    const ProgramLine* former = lineAt(before, lost.program, lost.formerIndex);
    VX_FUZZ_CHECK(former != nullptr && *former == lost.line && lost.line != ProgramLine{});
    reported.push_back(lost.line);
  }
  VX_FUZZ_CHECK(nonEmptyLines(before, programs, added) == nonEmptyLines(after, programs, reported));
}

}  // namespace

void exerciseArea(ProgramArea& area, InputReader& input, int operations) {
  // 10 and 11 are outside the list: a code cast from them counts as ASCII.
  const auto code = static_cast<CharCode>(input.byte() % 12);
  const bool showCharacters = input.flag();
  for (int program = -1; program <= ProgramCount; ++program) {
    listAndCheck(area, program, code, showCharacters);
  }
  // The model works on its own copy; after each operation both must be byte for byte the same.
  auto model = std::make_unique<ProgramArea>(area);
  for (int step = 0; step < operations && !input.done(); ++step) {
    const int program = input.byte() % 6 - 1;  // -1 and 4 are outside
    const int count = rangeOf(area, program).count;
    const int at = cursor(area, program);
    const ProgramArea before = area;
    switch (input.byte() % 6) {
      case 0: {
        const bool empty = input.flag();
        const ProgramLine line = chooseLine(input);
        const int index = chooseIndex(input, count, at);
        PushedOffLines pushedOff;
        insertLine(area, program, index, empty ? nullptr : &line, &pushedOff);
        modelInsert(*model, program, index, empty ? ProgramLine{} : line);
        if (index >= 0 && index < count) {
          checkPushedOff(before, area, {program}, {empty ? ProgramLine{} : line}, pushedOff);
        } else {
          VX_FUZZ_CHECK(pushedOff.empty());
        }
        break;
      }
      case 1: {
        const int index = chooseIndex(input, count, at);
        deleteLine(area, program, index);
        modelDelete(*model, program, index);
        break;
      }
      case 2: {
        const std::vector<int> selected = chooseSelection(input, count, at);
        const int destination = input.byte() % 6 - 1;
        const int destinationIndex =
            chooseIndex(input, rangeOf(area, destination).count, cursor(area, destination));
        const bool move = input.flag();
        PushedOffLines pushedOff;
        moveCopyLines(area, program, selected, destination, destinationIndex, move, &pushedOff);
        modelMoveCopy(*model, program, selected, destination, destinationIndex, move);
        const bool valid = !selected.empty() && std::is_sorted(selected.begin(), selected.end()) &&
                           std::adjacent_find(selected.begin(), selected.end()) == selected.end() &&
                           selected.front() >= 0 && selected.back() < count &&
                           destinationIndex >= 0 &&
                           destinationIndex < rangeOf(before, destination).count;
        // A damaged header can make two programs share slots; lines are then counted twice.
        const Range from = rangeOf(before, program);
        const Range to = rangeOf(before, destination);
        const bool shared = program != destination && from.start < to.start + to.count &&
                            to.start < from.start + from.count;
        if (valid && !shared) {
          std::vector<ProgramLine> copies;
          for (int index : selected) {
            copies.push_back(move ? ProgramLine{} : *lineAt(before, program, index));
          }
          checkPushedOff(before, area, {program, destination}, copies, pushedOff);
        } else if (!valid) {
          VX_FUZZ_CHECK(pushedOff.empty());
        }
        break;
      }
      case 3: {
        const ProgramLine line = chooseLine(input);
        const int index = chooseIndex(input, count, at);
        storeLine(area, program, index, line);
        if (index >= 0 && index < count) {
          slot(*model, rangeOf(*model, program), index) = line;
        }
        break;
      }
      case 4: {
        const int value = static_cast<std::int16_t>(input.u16()) * (input.flag() ? 3 : 1);
        setCursor(area, program, value);
        if (program >= 0 && program < ProgramCount) {
          writeU16(&model->header[6 + 4 * static_cast<std::size_t>(program)],
                   static_cast<std::uint32_t>(value) & 0xFFFF);
          VX_FUZZ_CHECK(cursor(area, program) == static_cast<std::int16_t>(value & 0xFFFF));
        }
        break;
      }
      default:
        listAndCheck(area, program, static_cast<CharCode>(input.byte() % 12), input.flag());
        break;
    }
    VX_FUZZ_CHECK(std::memcmp(&area, model.get(), sizeof area) == 0);
  }
}

}  // namespace vx::fuzz
