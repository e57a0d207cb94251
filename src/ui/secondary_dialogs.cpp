// Entry points of the secondary dialogs. Their templates and dialog procedures come with their
// own files; until then the buttons change nothing.
#include "ui/secondary_dialogs.h"

#include "ui/main_dialog.h"

namespace vx::ui {

void runDirectInput(MainDialog& /*dialog*/) {}

INT_PTR runMoveCopyDialog(MainDialog& /*dialog*/) { return 0; }

}  // namespace vx::ui
