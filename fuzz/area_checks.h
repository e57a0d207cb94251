// Runs line operations, label checks and listings chosen by the fuzz input on a program area and
// compares every result with a plain model of the operations: an operation on one program must
// leave the header and every slot outside that program (or the two programs of a move or copy)
// exactly as they were, whatever the header holds.
#pragma once

#include "fuzz_support.h"
#include "store/program_area.h"

namespace vx::fuzz {

// Checks what listing and label check give for every program, then runs up to `operations`
// operations that the input chooses.
void exerciseArea(ProgramArea& area, InputReader& input, int operations);

}  // namespace vx::fuzz
