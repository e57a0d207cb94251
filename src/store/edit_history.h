// The history of the changes made to the program area, for undo and redo. A step keeps only the
// lines and stored cursors it changed, each with its contents before and after, so that the depth
// is limited by memory alone. The history also knows whether the area differs from the file.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "store/program_area.h"

namespace vx {

// Where a change was made: the program and line shown when it is undone or redone.
struct EditPlace {
  int program = 0;
  int line = 0;
  friend bool operator==(const EditPlace&, const EditPlace&) = default;
};

struct LineChange {
  int program = 0;
  int index = 0;
  ProgramLine before;
  ProgramLine after;
};

struct CursorChange {
  int program = 0;
  int before = 0;
  int after = 0;
};

struct EditStep {
  std::vector<LineChange> lines;
  std::vector<CursorChange> cursors;
  EditPlace place;

  bool empty() const { return lines.empty() && cursors.empty(); }
};

// Every line and stored cursor that differs between two states of the same area. The program
// starts must be the same in both: editing never changes them.
EditStep differences(const ProgramArea& before, const ProgramArea& after, EditPlace place);

class EditHistory {
 public:
  // Records a finished step (a step that changes nothing is dropped) and ends the run of keys.
  // Steps that had been undone can no longer be redone.
  void record(EditStep step);

  // Records a change of one line made by a key in that line. While the run of keys stays in the
  // same line, the changes join one step; a run that brings the line back to where it began
  // leaves no step.
  void recordKeyInLine(int program, int index, const ProgramLine& before, const ProgramLine& after);
  // Ends the run of keys: the next change starts a new step.
  void endRun() { runOpen_ = false; }

  // Puts the lines and cursors of the last step back as they were and returns where the step was
  // made; nothing when there is no step to undo.
  std::optional<EditPlace> undo(ProgramArea& area);
  // Carries out the step last undone again.
  std::optional<EditPlace> redo(ProgramArea& area);
  bool canUndo() const { return applied_ > 0; }
  bool canRedo() const { return applied_ < steps_.size(); }

  // The area now is what the file holds. Ends the run of keys.
  void markSaved();
  // Whether the area differs from the file as last loaded or saved.
  bool modified() const { return saved_ != applied_; }

  // A new document: no steps, nothing modified.
  void clear();

  std::size_t stepCount() const { return steps_.size(); }

 private:
  void dropUndoneSteps();

  std::vector<EditStep> steps_;
  // steps_[0, applied_) have been carried out, the rest undone.
  std::size_t applied_ = 0;
  // applied_ at the last load or save; Unreachable once that state cannot be reached again.
  static constexpr std::size_t Unreachable = static_cast<std::size_t>(-1);
  std::size_t saved_ = 0;
  bool runOpen_ = false;
};

}  // namespace vx
