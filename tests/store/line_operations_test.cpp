#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "store/program_area.h"

namespace vx {
namespace {

// Line k of a program is marked with (program + 1, k) in bytes 14-15, so that every line is
// distinguishable and its origin readable in a failure message.
ProgramLine marked(int program, int index) {
  ProgramLine line;
  line.bytes[0] = 1;
  line.bytes[14] = static_cast<std::uint8_t>(program + 1);
  line.bytes[15] = static_cast<std::uint8_t>(index);
  line.bytes[13] = static_cast<std::uint8_t>(index >> 8);
  return line;
}

class LineOperations : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProgramArea(area);
    for (int p = 0; p < ProgramCount; ++p) {
      for (int i = 0; i < lineCount(area, p); ++i) {
        storeLine(area, p, i, marked(p, i));
      }
    }
    setCursor(area, 0, 42);
  }

  // The origin (program, index) of each line of a program, -1 for an empty line.
  std::vector<int> origins(int program) const {
    std::vector<int> result;
    for (int i = 0; i < lineCount(area, program); ++i) {
      const ProgramLine& line = *lineAt(area, program, i);
      result.push_back(line == ProgramLine{}
                           ? -1
                           : (line.bytes[14] - 1) * 10000 + line.bytes[15] + 256 * line.bytes[13]);
    }
    return result;
  }

  static std::vector<int> sequence(int program, int from, int to) {
    std::vector<int> result;
    for (int i = from; i < to; ++i) {
      result.push_back(program * 10000 + i);
    }
    return result;
  }

  static std::vector<int> join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> result;
    for (const auto& part : parts) {
      result.insert(result.end(), part.begin(), part.end());
    }
    return result;
  }

  ProgramArea area;
};

TEST_F(LineOperations, InsertPushesTheLastLineOut) {
  const ProgramLine line = marked(3, 999);
  insertLine(area, 1, 10, &line);
  EXPECT_EQ(origins(1), join({sequence(1, 0, 10), {30999}, sequence(1, 10, 511)}));
  insertLine(area, 1, 0);
  EXPECT_EQ(*lineAt(area, 1, 0), ProgramLine{});
  EXPECT_EQ(origins(0), sequence(0, 0, 512));
  EXPECT_EQ(origins(2), sequence(2, 0, 512));
  EXPECT_EQ(cursor(area, 0), 42);
}

TEST_F(LineOperations, InsertAndDeleteAtTheLastIndexTouchOnlyThatLine) {
  insertLine(area, 2, 511);
  EXPECT_EQ(origins(2), join({sequence(2, 0, 511), {-1}}));
  const ProgramLine line = marked(0, 7);
  insertLine(area, 2, 511, &line);
  deleteLine(area, 2, 511);
  EXPECT_EQ(origins(2), join({sequence(2, 0, 511), {-1}}));
}

TEST_F(LineOperations, DeleteInTheLastProgramStopsAtTheLastSlot) {
  const ProgramArea before = area;
  deleteLine(area, 3, 0);
  EXPECT_EQ(origins(3), join({sequence(3, 1, 512), {-1}}));
  EXPECT_EQ(area.slots[2047], ProgramLine{});
  EXPECT_EQ(area.header, before.header);
  EXPECT_EQ(std::memcmp(&area.slots[0], &before.slots[0], 1536 * LineSize), 0);
}

TEST_F(LineOperations, IndicesOutsideTheProgramChangeNothing) {
  const ProgramArea before = area;
  const ProgramLine line = marked(1, 1);
  for (int index : {-1, 512, 100000}) {
    insertLine(area, 0, index, &line);
    deleteLine(area, 0, index);
  }
  insertLine(area, 4, 0, &line);
  deleteLine(area, -1, 0);
  const std::vector<std::vector<int>> badSelections = {{5, 3}, {3, 3}, {-1, 2}, {510, 512}};
  for (const auto& selection : badSelections) {
    moveCopyLines(area, 0, selection, 1, 0, true);
  }
  moveCopyLines(area, 0, std::vector<int>{1, 2}, 1, 512, true);
  moveCopyLines(area, 0, std::vector<int>{1, 2}, 1, -1, false);
  moveCopyLines(area, 0, std::vector<int>{1, 2}, 5, 0, false);
  EXPECT_EQ(std::memcmp(&area, &before, sizeof area), 0);
}

TEST_F(LineOperations, MoveAndCopy) {
  struct Case {
    const char* name;
    int source;
    std::vector<int> selected;
    int destination;
    int destinationIndex;
    bool move;
    std::vector<int> expectedSource;       // after the operation
    std::vector<int> expectedDestination;  // when another program
  };
  const std::vector<Case> cases = {
      {"copy three lines to the top",
       0,
       {5, 6, 9},
       0,
       0,
       false,
       join({{5, 6, 9}, sequence(0, 0, 509)}),
       {}},
      {"move onto itself changes nothing", 0, {3, 4, 5}, 0, 4, true, sequence(0, 0, 512), {}},
      {"move two lines down",
       0,
       {0, 1},
       0,
       10,
       true,
       join({sequence(0, 2, 10), {0, 1}, sequence(0, 10, 512)}),
       {}},
      {"move lines 2 and 5 to line 8",
       0,
       {2, 5},
       0,
       8,
       true,
       join({{0, 1, 3, 4, 6, 7, 2, 5}, sequence(0, 8, 512)}),
       {}},
      {"copy lines 2 and 5 to line 8",
       0,
       {2, 5},
       0,
       8,
       false,
       join({sequence(0, 0, 8), {2, 5}, sequence(0, 8, 510)}),
       {}},
      {"move from A to B",
       0,
       {1, 3},
       1,
       2,
       true,
       join({{0, 2}, sequence(0, 4, 512), {-1, -1}}),
       join({sequence(1, 0, 2), {1, 3}, sequence(1, 2, 510)})},
      {"copy from A to B",
       0,
       {1, 3},
       1,
       0,
       false,
       sequence(0, 0, 512),
       join({{1, 3}, sequence(1, 0, 510)})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    moveCopyLines(area, c.source, c.selected, c.destination, c.destinationIndex, c.move);
    EXPECT_EQ(origins(c.source), c.expectedSource);
    if (c.destination != c.source) {
      EXPECT_EQ(origins(c.destination), c.expectedDestination);
    }
    EXPECT_EQ(origins(3), sequence(3, 0, 512));
    EXPECT_EQ(cursor(area, 0), 42);
  }
}

TEST_F(LineOperations, CopyingMoreLinesThanFitKeepsOnlyTheFirst) {
  std::vector<int> selected;
  for (int i = 0; i < 256; ++i) {
    selected.push_back(i);
  }
  moveCopyLines(area, 1, selected, 1, 500, false);
  EXPECT_EQ(origins(1), join({sequence(1, 0, 500), sequence(1, 0, 12)}));
}

TEST_F(LineOperations, PushedOffLinesAreReportedWithTheirFormerPlaces) {
  struct Case {
    const char* name;
    std::function<void(PushedOffLines*)> operation;
    std::vector<int> expected;  // program * 10000 + former index, in the reported order
  };
  std::vector<int> firstHalf;
  for (int i = 0; i < 256; ++i) {
    firstHalf.push_back(i);
  }
  const std::vector<Case> cases = {
      {"insert", [&](PushedOffLines* p) { insertLine(area, 1, 10, nullptr, p); }, {10511}},
      {"insert over an empty last line",
       [&](PushedOffLines* p) {
         deleteLine(area, 1, 0);
         insertLine(area, 1, 10, nullptr, p);
       },
       {}},
      {"copy three lines to line 510",
       [&](PushedOffLines* p) {
         moveCopyLines(area, 0, std::vector<int>{0, 1, 2}, 0, 510, false, p);
       },
       {2, 510, 511}},
      {"move within one program loses nothing",
       [&](PushedOffLines* p) {
         moveCopyLines(area, 0, std::vector<int>{0, 1}, 0, 10, true, p);
       },
       {}},
      {"move from A to B",
       [&](PushedOffLines* p) {
         moveCopyLines(area, 0, std::vector<int>{1, 3}, 1, 2, true, p);
       },
       {10510, 10511}},
      {"copy of 256 lines to line 500",
       [&](PushedOffLines* p) { moveCopyLines(area, 1, firstHalf, 1, 500, false, p); },
       join({sequence(1, 12, 256), sequence(1, 500, 512)})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    PushedOffLines pushedOff = {{3, 3, marked(3, 3)}};  // reports are appended after this one
    c.operation(&pushedOff);
    ASSERT_FALSE(pushedOff.empty());
    EXPECT_EQ(pushedOff.front(), (PushedOffLine{3, 3, marked(3, 3)}));
    std::vector<int> reported;
    for (std::size_t k = 1; k < pushedOff.size(); ++k) {
      const PushedOffLine& lost = pushedOff[k];
      reported.push_back(lost.program * 10000 + lost.formerIndex);
      EXPECT_EQ(lost.line, marked(lost.program, lost.formerIndex));
    }
    EXPECT_EQ(reported, c.expected);
  }
}

}  // namespace
}  // namespace vx
