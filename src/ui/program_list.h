// A program's lines in a list box, as the main dialog and the move and copy dialog show them.
#pragma once

#include <windows.h>

#include "catalogue/char_codes.h"
#include "store/program_area.h"

namespace vx::ui {

// Fills the list box with the listing text of every line of `program`, selects the program's
// stored cursor and returns it. A stored cursor outside the program counts as line 0.
int fillProgramList(HWND list, const ProgramArea& area, int program, CharCode code,
                    bool showCharacters);

}  // namespace vx::ui
