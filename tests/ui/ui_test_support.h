// Drives the real main dialog for the UI tests: created modelessly from template 101 with the
// editor's own dialog procedure, fed with window messages, its posted messages pumped.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "setupfile/setup_file.h"
#include "store/program_area.h"
#include "support/files.h"
#include "support/lines.h"
#include "support/window_checks.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vx::ui::test {

using vx::test::classOf;
using vx::test::dialogPixels;
using vx::test::expectControlsInTabOrder;
using vx::test::expectDialogFrame;
using vx::test::expectDialogTemplate;
using vx::test::expectTemplateControl;
using vx::test::expectTemplateGeometry;
using vx::test::rectInDialog;
using vx::test::staticTextSize;
using vx::test::Style;
using vx::test::TemplateControl;
using namespace vx::test::styles;

using vx::test::makeLine;
inline ProgramLine sendChr(std::initializer_list<int> data) {
  return makeLine(1, 0, static_cast<int>(data.size()), 0, data);
}
inline ProgramLine gotoLine(int label) { return vx::test::labelLine(3, label); }
inline ProgramLine labelLine(int label) { return vx::test::labelLine(12, label); }

// Writes the 16-bit start value of program p (4 is the end of program 3) into the area's header.
void setProgramStart(ProgramArea& area, int program, int start);

using vx::test::TempFolder;

// Saves `document` as a setup file whose settings select character code `code`.
void writeSetupFile(const std::filesystem::path& path, SetupDocument document, int code);

using vx::test::readBytes;

class MainDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Creates the dialog; with a path, as if the command line had named it.
  void open(std::optional<std::wstring> commandLinePath = std::nullopt);
  // Handles every posted message, as the dialog's message loop would.
  void pump();

  HWND item(int id) const { return GetDlgItem(window, id); }
  std::wstring text(int id) const;
  // Control n of the field panel, its text, and the focus given to it (then pumps).
  HWND control(int n) const { return item(IDC_PANEL_FIRST + n); }
  std::wstring controlText(int n) const { return text(IDC_PANEL_FIRST + n); }
  void focus(int n);
  // Line `line` of `program` as the document holds it.
  const ProgramLine& stored(int program, int line) const {
    return *lineAt(document.programArea, program, line);
  }
  // Sends a command notification from control `id`, as the control would, then pumps.
  void notify(int id, int code);
  // Clicks a button (BM_CLICK: the button itself notifies the dialog), then pumps.
  void click(int id);
  // Selects an entry of a drop-down list and notifies CBN_SELCHANGE, as a user's choice does.
  void chooseInCombo(int id, int index);
  // Selects a line in the program list and notifies LBN_SELCHANGE, as a user's click does.
  void chooseLine(int line);
  void post(UINT message, WPARAM wParam = 0);
  // The keys GetKeyState reports as held from now on (Ctrl, Shift, ...); all others released.
  static void holdKeys(std::initializer_list<int> keys);
  static void releaseKeys() { holdKeys({}); }
  // Ctrl (with Shift when asked) and a letter sent to `target`: key down, the control character
  // the keyboard produces as well, key up; then pumps.
  void ctrlKey(HWND target, wchar_t letter, bool shift = false);
  // Stores `line` as line 0 of program A and shows it: opens the dialog, or shows the line again.
  void showAsLineZero(const ProgramLine& line);

  int listCount() const;
  int listSelection() const;
  int listTopIndex() const;
  std::wstring listEntry(int index) const;
  int comboCount(int id) const;
  int comboSelection(int id) const;
  std::wstring comboEntry(int id, int index) const;

  // The listing text the list must show for `line` with the dialog's current settings.
  std::wstring expectedListing(const ProgramLine& line) const;

  SetupDocument document;
  MainDialog dialog;
  HWND window = nullptr;
  // The file dialogs answer with these paths in turn; an empty optional is a cancel.
  std::vector<std::optional<std::wstring>> chosenPaths;
  std::vector<FileDialogKind> fileDialogsShown;
  std::vector<std::wstring> warnings;
  std::vector<std::wstring> warningCaptions;
  // The questions answer with these buttons in turn (IDYES, IDNO, IDCANCEL); the questions asked.
  std::vector<int> answers;
  std::vector<std::wstring> questions;
};

// Text of list box entry `index` ("<none>" when there is none).
std::wstring listText(HWND list, int index);

}  // namespace vx::ui::test
