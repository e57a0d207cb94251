#include "store/edit_history.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/lines.h"

namespace vx {
namespace {

using test::lineOf;

class EditHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProgramArea(area);
    // Every line of programs A and B holds something, so that pushed-off lines are not empty.
    for (int p = 0; p < 2; ++p) {
      for (int i = 0; i < lineCount(area, p); ++i) {
        storeLine(area, p, i, lineOf({p + 1, 0, 0, 0, i & 0xFF}));
      }
    }
    setCursor(area, 1, 17);
  }

  // Carries out an operation on the area and records it as one step.
  template <typename Operation>
  void step(EditPlace place, Operation operation) {
    const ProgramArea before = area;
    operation(area);
    history.record(differences(before, area, place));
  }

  // Types into line `index` of program A as the field panel does: store, then record.
  void key(int index, const ProgramLine& line) {
    const ProgramLine before = *lineAt(area, 0, index);
    storeLine(area, 0, index, line);
    history.recordKeyInLine(0, index, before, line);
  }

  static bool same(const ProgramArea& a, const ProgramArea& b) {
    return a.header == b.header && a.slots == b.slots;
  }

  ProgramArea area;
  EditHistory history;
};

TEST_F(EditHistoryTest, DifferencesHoldOnlyTheChangedLinesAndCursors) {
  const ProgramArea before = area;
  insertLine(area, 0, 3);
  setCursor(area, 2, 9);
  const EditStep step = differences(before, area, {0, 3});
  // Lines 3..511 of A moved down by one; B to D and the other cursors are as they were.
  ASSERT_EQ(step.lines.size(), 509u);
  EXPECT_EQ(step.lines.front().program, 0);
  EXPECT_EQ(step.lines.front().index, 3);
  EXPECT_EQ(step.lines.front().before, lineOf({1, 0, 0, 0, 3}));
  EXPECT_EQ(step.lines.front().after, ProgramLine{});
  EXPECT_EQ(step.lines.back().index, 511);
  EXPECT_EQ(step.lines.back().before, lineOf({1, 0, 0, 0, 511 & 0xFF}));
  ASSERT_EQ(step.cursors.size(), 1u);
  EXPECT_EQ(step.cursors[0].program, 2);
  EXPECT_EQ(step.cursors[0].before, 0);
  EXPECT_EQ(step.cursors[0].after, 9);
  EXPECT_TRUE(differences(area, area, {}).empty());
}

TEST_F(EditHistoryTest, UndoAndRedoEveryLineOperationAcrossPrograms) {
  // Each state of the area along the way, so that undo can be checked against every one.
  std::vector<ProgramArea> states = {area};
  const std::array<int, 3> selected = {2, 5, 511};
  step({0, 0}, [](ProgramArea& a) { insertLine(a, 0, 0); });
  states.push_back(area);
  step({1, 4}, [](ProgramArea& a) { deleteLine(a, 1, 4); });
  states.push_back(area);
  step({1, 0}, [&](ProgramArea& a) { moveCopyLines(a, 0, selected, 1, 0, true); });
  states.push_back(area);
  step({0, 7}, [&](ProgramArea& a) { moveCopyLines(a, 1, selected, 0, 7, false); });
  states.push_back(area);
  key(9, lineOf({3, 0, 0, 0, 1}));
  states.push_back(area);
  ASSERT_EQ(history.stepCount(), 5u);

  const std::array<EditPlace, 5> places = {{{0, 0}, {1, 4}, {1, 0}, {0, 7}, {0, 9}}};
  for (std::size_t k = states.size() - 1; k > 0; --k) {
    SCOPED_TRACE("undo of step " + std::to_string(k));
    const std::optional<EditPlace> place = history.undo(area);
    ASSERT_TRUE(place);
    EXPECT_EQ(*place, places[k - 1]);
    EXPECT_TRUE(same(area, states[k - 1]));
  }
  EXPECT_FALSE(history.undo(area));
  EXPECT_TRUE(same(area, states[0]));
  for (std::size_t k = 1; k < states.size(); ++k) {
    SCOPED_TRACE("redo of step " + std::to_string(k));
    ASSERT_TRUE(history.redo(area));
    EXPECT_TRUE(same(area, states[k]));
  }
  EXPECT_FALSE(history.redo(area));
}

TEST_F(EditHistoryTest, PushedOffLinesComeBackOnUndo) {
  const ProgramArea before = area;
  PushedOffLines pushed;
  step({0, 0}, [&](ProgramArea& a) {
    insertLine(a, 0, 0, nullptr, &pushed);
    insertLine(a, 0, 0, nullptr, &pushed);
  });
  ASSERT_EQ(pushed.size(), 2u);
  history.undo(area);
  EXPECT_TRUE(same(area, before));
  EXPECT_EQ(*lineAt(area, 0, 511), pushed[0].line);
}

TEST_F(EditHistoryTest, KeysInOneLineAreOneStepUntilTheRunEnds) {
  const ProgramLine original = *lineAt(area, 0, 4);
  key(4, lineOf({1, 0, 0, 0, 0x04}));
  key(4, lineOf({1, 0, 0, 0, 0x41}));
  key(4, lineOf({3}));  // another instruction: still the same run
  EXPECT_EQ(history.stepCount(), 1u);
  key(5, lineOf({2}));  // another line: a new step
  EXPECT_EQ(history.stepCount(), 2u);
  history.endRun();
  key(5, lineOf({2, 0, 0, 0, 9}));  // the same line after leaving it: a new step
  EXPECT_EQ(history.stepCount(), 3u);

  history.undo(area);
  EXPECT_EQ(*lineAt(area, 0, 5), lineOf({2}));
  history.undo(area);
  history.undo(area);
  EXPECT_EQ(*lineAt(area, 0, 4), original);
  EXPECT_EQ(*lineAt(area, 0, 5), lineOf({1, 0, 0, 0, 5}));
  // Keys after an undo join no undone step.
  key(4, lineOf({1, 0, 0, 0, 0x77}));
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.stepCount(), 1u);
}

TEST_F(EditHistoryTest, ARunThatRestoresItsLineLeavesNoStep) {
  const ProgramLine original = *lineAt(area, 0, 4);
  key(4, lineOf({9}));
  EXPECT_TRUE(history.modified());
  key(4, original);
  EXPECT_EQ(history.stepCount(), 0u);
  EXPECT_FALSE(history.modified());
  key(4, original);  // a key that stores the same line again
  EXPECT_EQ(history.stepCount(), 0u);
  key(4, lineOf({9}));
  EXPECT_EQ(history.stepCount(), 1u);
}

TEST_F(EditHistoryTest, ModifiedFollowsTheSavedState) {
  EXPECT_FALSE(history.modified());
  key(1, lineOf({5}));
  EXPECT_TRUE(history.modified());
  history.markSaved();
  EXPECT_FALSE(history.modified());
  key(1, lineOf({6}));  // the save ended the run: a new step
  EXPECT_EQ(history.stepCount(), 2u);
  EXPECT_TRUE(history.modified());
  history.undo(area);
  EXPECT_FALSE(history.modified()) << "undone back to the saved state";
  history.undo(area);
  EXPECT_TRUE(history.modified()) << "before the saved state";
  history.redo(area);
  EXPECT_FALSE(history.modified());

  // Undone past the save and changed otherwise: the saved state is gone for good.
  history.undo(area);
  step({0, 2}, [](ProgramArea& a) { deleteLine(a, 0, 2); });
  EXPECT_TRUE(history.modified());
  history.undo(area);
  EXPECT_TRUE(history.modified());

  history.clear();
  EXPECT_FALSE(history.modified());
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.canRedo());
}

TEST_F(EditHistoryTest, UndoRestoresTheCursorsAStepChanged) {
  step({1, 3}, [](ProgramArea& a) {
    setCursor(a, 1, 3);
    storeLine(a, 1, 3, lineOf({7}));
  });
  history.undo(area);
  EXPECT_EQ(cursor(area, 1), 17);
  history.redo(area);
  EXPECT_EQ(cursor(area, 1), 3);
}

TEST_F(EditHistoryTest, DepthIsLimitedOnlyByMemory) {
  const ProgramArea before = area;
  constexpr int Steps = 20000;
  for (int k = 0; k < Steps; ++k) {
    // Byte 5 holds the step's number over 255, so that every step changes its line.
    ProgramLine line = lineOf({1 + k % 12, 0, 0, 0, k});
    line.bytes[5] = static_cast<std::uint8_t>(1 + (k >> 8));
    const int index = k % 512;
    const ProgramLine previous = *lineAt(area, 0, index);
    storeLine(area, 0, index, line);
    history.record(EditStep{{{0, index, previous, line}}, {}, {0, index}});
  }
  EXPECT_EQ(history.stepCount(), static_cast<std::size_t>(Steps));
  while (history.undo(area)) {
  }
  EXPECT_TRUE(same(area, before));
}

}  // namespace
}  // namespace vx
