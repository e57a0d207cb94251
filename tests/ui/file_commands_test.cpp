// Start-up load, the load and save buttons, and the warnings, with the file dialogs replaced.
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "ui/command_line.h"
#include "ui/file_dialog.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

constexpr const wchar_t* Title = L"VXプログラムエディタ";

// A document whose program A shows a known first line and cursor.
SetupDocument sampleDocument(int cursorA) {
  SetupDocument sample;
  initialise(sample);
  storeLine(sample.programArea, 0, 0, sendChr({0x41, 0x42}));
  storeLine(sample.programArea, 0, 1, gotoLine(7));
  setCursor(sample.programArea, 0, cursorA);
  return sample;
}

struct StartUpCodeCase {
  int codeInFile;
  int selected;
};

TEST_F(MainDialogTest, StartUpWithFileSelectsItsCharacterCodeAndCursor) {
  // clang-format off
  constexpr StartUpCodeCase cases[] = {
      {3,   3},
      {9,   9},
      {0,   0},
      {10,  0},  // codes the selector does not list show as ASCII
      {255, 0},
  };
  // clang-format on
  for (const auto& [codeInFile, selected] : cases) {
    SCOPED_TRACE("code " + std::to_string(codeInFile));
    TempFolder directory;
    const auto path = directory.path() / L"start.su";
    writeSetupFile(path, sampleDocument(7), codeInFile);
    initialise(document);
    open(path.wstring());
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(comboSelection(IDC_CHAR_CODE), selected);
    EXPECT_EQ(listEntry(1), L" GOTO L007");
    EXPECT_EQ(listEntry(0), expectedListing(sendChr({0x41, 0x42})));
    EXPECT_EQ(listSelection(), 7);
    EXPECT_EQ(dialog.currentLine, 7);
    DestroyWindow(window);
    window = nullptr;
  }
}

TEST_F(MainDialogTest, StartUpOpensAPathOutsideTheShiftJisCodePage) {
  TempFolder directory;
  const std::filesystem::path path = directory.path() / L"データ\uD55C\u00E9.su";
  writeSetupFile(path, sampleDocument(1), 4);
  open(path.wstring());
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(comboSelection(IDC_CHAR_CODE), 4);
  EXPECT_EQ(listEntry(1), L" GOTO L007");
}

TEST_F(MainDialogTest, FailedStartUpLoadWarnsAndGoesOnWithTheDefaultDocument) {
  TempFolder directory;
  const auto garbage = directory.path() / L"garbage.su";
  { std::ofstream(garbage) << "not a setup file"; }
  const auto good = directory.path() / L"good.su";
  writeSetupFile(good, sampleDocument(3), 2);
  // A path one character longer than the buffer is refused, not cut into another path (here the
  // cut would name the good file).
  const std::wstring tooLong =
      good.wstring() + std::wstring(MaxPathLength - good.wstring().size() + 1, L' ');
  ASSERT_EQ(tooLong.size(), MaxPathLength + 1);

  // The warning names the file and the reason after its first line.
  const std::pair<std::wstring, const wchar_t*> cases[] = {
      {(directory.path() / L"missing.su").wstring(), L"cannot open the file"},
      {garbage.wstring(), L"no program block"},
      {tooLong, L"the path is longer than 259 characters"},
  };
  for (const auto& [path, reason] : cases) {
    SCOPED_TRACE(wideToSjis(path));
    warnings.clear();
    warningCaptions.clear();
    initialise(document);
    SetupDocument fresh;
    initialise(fresh);
    open(path);
    EXPECT_EQ(warnings,
              std::vector<std::wstring>{L"Program load error\r\n" + path + L"\r\n" + reason});
    EXPECT_EQ(warningCaptions, std::vector<std::wstring>{Title});
    EXPECT_EQ(text(0), Title) << "no file, nothing modified";
    EXPECT_EQ(comboCount(IDC_CHAR_CODE), 10);
    EXPECT_EQ(comboSelection(IDC_CHAR_CODE), 0);
    EXPECT_EQ(listCount(), 512);
    EXPECT_EQ(listSelection(), 0);
    EXPECT_EQ(document.programArea.header, fresh.programArea.header);
    EXPECT_EQ(document.programArea.slots, fresh.programArea.slots);
    EXPECT_EQ(document.image, fresh.image);
    DestroyWindow(window);
    window = nullptr;
  }
}

TEST_F(MainDialogTest, StoredCursorOutsideTheProgramSelectsLineZero) {
  for (int stored : {512, 600, -1, -32768}) {
    SCOPED_TRACE("cursor " + std::to_string(stored));
    TempFolder directory;
    const auto path = directory.path() / L"cursor.su";
    writeSetupFile(path, sampleDocument(stored), 0);
    initialise(document);
    open(path.wstring());
    EXPECT_EQ(listSelection(), 0);
    EXPECT_EQ(dialog.currentLine, 0);
    EXPECT_EQ(cursor(document.programArea, 0), stored) << "the stored cursor is only read";
    DestroyWindow(window);
    window = nullptr;
  }
}

TEST_F(MainDialogTest, ProgramWithoutLinesShowsAnEmptyListAndIgnoresLineCommands) {
  ProgramArea& area = document.programArea;
  setProgramStart(area, 1, 0);  // program A: slots 0 to -1, program B: 0 to 1023
  storeLine(area, 1, 0, gotoLine(4));
  const ProgramArea before = area;
  open();
  EXPECT_EQ(listCount(), 0);
  EXPECT_EQ(listSelection(), -1);
  click(IDC_INSERT_LINE);
  click(IDC_DELETE_LINE);
  post(UM_NEXT_LINE);
  post(UM_PREV_LINE);
  EXPECT_EQ(listCount(), 0);
  EXPECT_EQ(area.header, before.header);
  EXPECT_EQ(area.slots, before.slots);

  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  EXPECT_EQ(listCount(), 1024);
  EXPECT_EQ(listEntry(0), L" GOTO L004");
}

TEST_F(MainDialogTest, LoadButtonListsProgramAAndKeepsTheCharacterCode) {
  TempFolder directory;
  const auto path = directory.path() / L"load.su";
  writeSetupFile(path, sampleDocument(4), 5);
  open();
  chooseInCombo(IDC_CHAR_CODE, 3);
  chooseInCombo(IDC_PROGRAM_SELECT, 2);

  chosenPaths = {path.wstring()};
  click(IDC_LOAD);
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Open});
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(dialog.filePath, path.wstring());
  EXPECT_EQ(comboSelection(IDC_CHAR_CODE), 3) << "the file's code is applied only at start-up";
  EXPECT_EQ(comboSelection(IDC_PROGRAM_SELECT), 0);
  EXPECT_EQ(dialog.currentProgram, 0);
  EXPECT_EQ(listEntry(1), L" GOTO L007");
  EXPECT_EQ(listSelection(), 4);
  EXPECT_EQ(dialog.currentLine, 4);
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをロードしました。");
}

TEST_F(MainDialogTest, FailedLoadFromTheButtonChangesNothing) {
  TempFolder directory;
  const auto garbage = directory.path() / L"garbage.su";
  { std::ofstream(garbage) << "not a setup file"; }
  storeLine(document.programArea, 1, 2, gotoLine(3));
  open();
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  chooseLine(2);
  showStatus(window, IDS_SAVED);
  const ProgramArea before = document.programArea;
  const std::vector<std::uint8_t> imageBefore = document.image;

  const std::wstring missing = (directory.path() / L"missing.su").wstring();
  chosenPaths = {missing, garbage.wstring()};
  click(IDC_LOAD);
  click(IDC_LOAD);
  EXPECT_EQ(warnings,
            (std::vector<std::wstring>{
                L"Program load error\r\n" + missing + L"\r\ncannot open the file",
                L"Program load error\r\n" + garbage.wstring() + L"\r\nno program block"}));
  EXPECT_EQ(warningCaptions.front(), Title);
  EXPECT_EQ(document.programArea.header, before.header);
  EXPECT_EQ(document.programArea.slots, before.slots);
  EXPECT_EQ(document.image, imageBefore);
  EXPECT_EQ(comboSelection(IDC_PROGRAM_SELECT), 1);
  EXPECT_EQ(dialog.currentProgram, 1);
  EXPECT_EQ(listEntry(2), L" GOTO L003");
  EXPECT_EQ(dialog.currentLine, 2);
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをセーブしました。");
}

TEST_F(MainDialogTest, CancelledFileDialogsDoNothing) {
  open();
  chosenPaths = {std::nullopt, std::nullopt};
  click(IDC_LOAD);
  click(IDC_SAVE);
  EXPECT_EQ(fileDialogsShown,
            (std::vector<FileDialogKind>{FileDialogKind::Open, FileDialogKind::Save}));
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(text(IDC_STATUS), L"");
  EXPECT_TRUE(dialog.filePath.empty());
}

TEST_F(MainDialogTest, SaveWritesTheFileUnderAPathOutsideTheShiftJisCodePage) {
  TempFolder directory;
  const std::filesystem::path path = directory.path() / L"セーブ\uD55C.su";
  storeLine(document.programArea, 3, 5, gotoLine(12));
  open();
  chooseLine(9);

  chosenPaths = {path.wstring()};
  click(IDC_SAVE);
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::Save});
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをセーブしました。");
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(readBytes(path).size(), 1780u + 8u + ProgramAreaSize);

  SetupDocument reloaded;
  initialise(reloaded);
  ASSERT_EQ(load(reloaded, path), 0);
  EXPECT_EQ(*lineAt(reloaded.programArea, 3, 5), gotoLine(12));
  EXPECT_EQ(cursor(reloaded.programArea, 0), 9);
  EXPECT_EQ(reloaded.programArea.header, document.programArea.header);
  EXPECT_EQ(reloaded.programArea.slots, document.programArea.slots);
}

TEST_F(MainDialogTest, FailedSaveWarnsAndKeepsTheStatus) {
  TempFolder directory;
  open();
  showStatus(window, IDS_LOADED);
  const std::wstring path = (directory.path() / L"no such directory" / L"x.su").wstring();
  chosenPaths = {path};
  click(IDC_SAVE);
  // The first line, the file, then the reason the save gives.
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind(L"Program save error\r\n" + path + L"\r\n", 0), 0u)
      << wideToSjis(warnings[0]);
  EXPECT_GT(warnings[0].size(), (L"Program save error\r\n" + path + L"\r\n").size());
  EXPECT_EQ(warningCaptions, std::vector<std::wstring>{Title});
  EXPECT_EQ(text(IDC_STATUS), L"プログラムをロードしました。");
}

TEST(FileDialogRequest, OffersSetupFilesFirstWithTheFlagsOfLoadingAndSaving) {
  std::array<wchar_t, MaxPathLength + 1> buffer{};
  HWND owner = reinterpret_cast<HWND>(0x1234);
  for (const auto& [kind, flags] : {std::pair{FileDialogKind::Open, DWORD{0x1004}},
                                    std::pair{FileDialogKind::Save, DWORD{0x2006}}}) {
    const OPENFILENAMEW request = fileDialogRequest(owner, kind, buffer);
    EXPECT_EQ(request.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(request.hwndOwner, owner);
    EXPECT_EQ(request.Flags, flags);
    // The filter is a list of text pairs closed by an empty text (the literal's own NUL).
    constexpr wchar_t filter[] = L"Setup files(*.su, *.sp)\0*.su;*.sp\0All files(*.*)\0*.*\0";
    EXPECT_EQ(std::wstring_view(request.lpstrFilter, std::size(filter)),
              std::wstring_view(filter, std::size(filter)));
    EXPECT_EQ(request.nFilterIndex, 1u);
    EXPECT_EQ(request.lpstrCustomFilter, nullptr);
    EXPECT_EQ(request.lpstrFile, buffer.data());
    EXPECT_EQ(request.nMaxFile, 260u);
    EXPECT_EQ(std::wstring(request.lpstrDefExt), L"su");
    EXPECT_EQ(request.lpstrInitialDir, nullptr);
    EXPECT_EQ(request.lpstrTitle, nullptr);
  }
}

TEST(FileDialogRequest, StartsInTheFileFolderWrittenWithBackslashes) {
  // clang-format off
  const std::array<std::array<const wchar_t*, 3>, 6> cases = {{
      // path                       starting text               folder
      {L"Z:/tmp/run/sample.su",     L"Z:\\tmp\\run\\sample.su",   L"Z:\\tmp\\run"},
      {L"Z:\\tmp\\sample.su",       L"Z:\\tmp\\sample.su",        L"Z:\\tmp"},
      {L"C:\\a.su",                 L"C:\\a.su",                  L"C:\\"},
      {L"\\\\server\\share\\b.sp",  L"\\\\server\\share\\b.sp",   L"\\\\server\\share"},
      {L"sample.su",                L"sample.su",                L""},
      {L"",                         L"",                         L""},
  }};
  // clang-format on
  for (const auto& [path, text, folder] : cases) {
    SCOPED_TRACE(wideToSjis(path));
    EXPECT_EQ(withBackslashes(path), text);
    EXPECT_EQ(startingFolder(path), folder);
  }
}

}  // namespace
}  // namespace vx::ui::test
