#include "store/edit_history.h"

#include <utility>

namespace vx {

EditStep differences(const ProgramArea& before, const ProgramArea& after, EditPlace place) {
  EditStep step;
  step.place = place;
  for (int program = 0; program < ProgramCount; ++program) {
    const int count = lineCount(before, program);
    for (int index = 0; index < count; ++index) {
      const ProgramLine* old = lineAt(before, program, index);
      const ProgramLine* now = lineAt(after, program, index);
      if (now != nullptr && *old != *now) step.lines.push_back({program, index, *old, *now});
    }
    if (cursor(before, program) != cursor(after, program)) {
      step.cursors.push_back({program, cursor(before, program), cursor(after, program)});
    }
  }
  return step;
}

void EditHistory::dropUndoneSteps() {
  if (saved_ != Unreachable && saved_ > applied_) saved_ = Unreachable;
  steps_.resize(applied_);
}

void EditHistory::record(EditStep step) {
  runOpen_ = false;
  if (step.empty()) return;
  dropUndoneSteps();
  steps_.push_back(std::move(step));
  ++applied_;
}

void EditHistory::recordKeyInLine(int program, int index, const ProgramLine& before,
                                  const ProgramLine& after) {
  if (runOpen_ && applied_ == steps_.size() && applied_ > 0) {
    EditStep& last = steps_.back();
    if (last.lines.size() == 1 && last.cursors.empty() && last.lines[0].program == program &&
        last.lines[0].index == index) {
      last.lines[0].after = after;
      if (last.lines[0].before == after) {
        // The run has brought the line back: no step is left, and the run starts afresh.
        steps_.pop_back();
        --applied_;
        runOpen_ = false;
      }
      return;
    }
  }
  if (before == after) return;
  dropUndoneSteps();
  steps_.push_back(EditStep{{{program, index, before, after}}, {}, {program, index}});
  ++applied_;
  runOpen_ = true;
}

std::optional<EditPlace> EditHistory::undo(ProgramArea& area) {
  runOpen_ = false;
  if (!canUndo()) return std::nullopt;
  const EditStep& step = steps_[--applied_];
  for (const LineChange& change : step.lines) {
    storeLine(area, change.program, change.index, change.before);
  }
  for (const CursorChange& change : step.cursors) setCursor(area, change.program, change.before);
  return step.place;
}

std::optional<EditPlace> EditHistory::redo(ProgramArea& area) {
  runOpen_ = false;
  if (!canRedo()) return std::nullopt;
  const EditStep& step = steps_[applied_++];
  for (const LineChange& change : step.lines) {
    storeLine(area, change.program, change.index, change.after);
  }
  for (const CursorChange& change : step.cursors) setCursor(area, change.program, change.after);
  return step.place;
}

void EditHistory::markSaved() {
  runOpen_ = false;
  saved_ = applied_;
}

void EditHistory::clear() {
  steps_.clear();
  applied_ = 0;
  saved_ = 0;
  runOpen_ = false;
}

}  // namespace vx
