// Process entry of the editor: one document, the command line as the file path, the main dialog.
// clang-format off
#include <windows.h>  // before the other Windows headers
#include <commctrl.h>
// clang-format on

#include "setupfile/setup_file.h"
#include "ui/command_line.h"
#include "ui/main_dialog.h"

namespace {
// The one document of the run; it lives until the process ends.
vx::SetupDocument document;
vx::ui::MainDialog mainDialog;
}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  vx::initialise(document);
  // Loads the common controls of the manifest (version 6, visual styles) for the dialog.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  mainDialog.document = &document;
  mainDialog.filePath = vx::ui::commandLinePath(GetCommandLineW());
  mainDialog.fileGiven = !mainDialog.filePath.empty();
  vx::ui::runMainDialog(mainDialog);
  return 0;
}
