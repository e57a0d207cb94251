// Programs as text in the editor: Ctrl+C and Ctrl+V in the program list through the real
// clipboard, the list's context menu, and export and import of the shown program through the file
// dialog seam, each with its undo.
#include "ui/text_transfer.h"

#include <array>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/program_text.h"
#include "support/modal_driver.h"
#include "ui/command_line.h"
#include "ui/file_dialog.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

constexpr const wchar_t* Title = L"VXプログラムエディタ";

bool contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

void writeText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

class TextTransferTest : public MainDialogTest {
 protected:
  void TearDown() override {
    releaseKeys();
    MainDialogTest::TearDown();
  }

  // A menu command, as the context menu sends it.
  void command(int id) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pump();
  }

  // Ctrl with a letter in the program list of `target` (this dialog's when nullptr), with the
  // control character that the keyboard produces as well.
  void ctrlKey(wchar_t letter, HWND target = nullptr) {
    HWND list = GetDlgItem(target == nullptr ? window : target, IDC_PROGRAM_LIST);
    SetFocus(list);
    MainDialogTest::ctrlKey(list, letter);
  }

  bool sameLines(const ProgramArea& expected) const {
    return document.programArea.slots == expected.slots;
  }
};

// ---- copy

TEST_F(TextTransferTest, CtrlCPutsTheLineAsExportedOnTheClipboard) {
  ProgramLine raw = gotoLine(5);
  raw.bytes[15] = 0x7f;  // outside the line's fields: only `.raw` gives it back
  const std::vector<ProgramLine> lines = {sendChr({0x41, 0x54, 0x5a, 0x0d}), gotoLine(12), raw,
                                          ProgramLine{}};
  for (int i = 0; i < static_cast<int>(lines.size()); ++i)
    storeLine(document.programArea, 2, i, lines[static_cast<std::size_t>(i)]);
  open();
  chooseInCombo(IDC_PROGRAM_SELECT, 2);
  const std::string exported = exportedProgramText(dialog);
  const std::array<const wchar_t*, 4> expected = {
      L"SEND CHR 41 54 5a 0d", L"GOTO L012",
      L".raw 03 00 00 00 00 00 00 00 00 00 00 00 05 00 00 7f", L"NOP"};
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    SCOPED_TRACE(i);
    const auto k = static_cast<std::size_t>(i);
    ASSERT_TRUE(putClipboardText(window, L"something else"));
    chooseLine(i);
    ctrlKey(L'C');
    EXPECT_EQ(clipboardText(window), std::wstring(expected[k]) + L"\r\n");
    // The same text as the line's line in the export of the program (the last, empty line is
    // not exported).
    if (i < 3) {
      std::string exportedLine = "\n";  // appended: GCC 12 warns wrongly about "\n" + temporary
      exportedLine += wideToUtf8(expected[k]);
      exportedLine += '\n';
      EXPECT_NE(exported.find(exportedLine), std::string::npos);
    }
    EXPECT_EQ(text(IDC_STATUS),
              L"行をクリップボードにコピーしました:\r\n" + std::wstring(expected[k]));
    EXPECT_EQ(listSelection(), i);
  }
  EXPECT_EQ(text(0), Title) << "copying changes nothing";
  EXPECT_EQ(stored(2, 2), raw);
}

// ---- paste

TEST_F(TextTransferTest, CtrlVInsertsTheLinesReportsThePushedOffOnesAndOneUndoBringsAllBack) {
  ProgramArea& area = document.programArea;
  for (int i = 0; i < 4; ++i) storeLine(area, 0, i, gotoLine(100 + i));
  storeLine(area, 0, 509, gotoLine(509));
  storeLine(area, 0, 511, gotoLine(511));
  setCursor(area, 0, 0);
  open();
  const ProgramArea before = area;
  chooseLine(2);
  ASSERT_TRUE(putClipboardText(
      window, L"# three lines\r\n\r\nSEND   chr 41 54\r\ngoto L007 # a jump\r\nL007\r\n"));
  ctrlKey(L'V');

  EXPECT_EQ(stored(0, 1), gotoLine(101));
  EXPECT_EQ(stored(0, 2), sendChr({0x41, 0x54}));
  EXPECT_EQ(stored(0, 3), gotoLine(7));
  EXPECT_EQ(stored(0, 4), labelLine(7));
  EXPECT_EQ(stored(0, 5), gotoLine(102));
  EXPECT_EQ(stored(0, 511), ProgramLine{});
  for (int i : {2, 3, 4, 5}) EXPECT_EQ(listEntry(i), expectedListing(stored(0, i))) << i;
  EXPECT_EQ(listSelection(), 2);
  EXPECT_EQ(GetFocus(), item(IDC_PROGRAM_LIST));
  EXPECT_EQ(text(IDC_STATUS),
            L"3行を貼り付けました。\r\n\r\nプログラムの末尾から2行が押し出されました(元の行: "
            L"A509, A511)。\r\nCtrl+Zで元に戻せます。");
  EXPECT_EQ(text(0), L"無題* - VXプログラムエディタ");

  // One step: one Ctrl+Z brings back every line, the pushed-off ones included.
  ctrlKey(L'Z');
  EXPECT_TRUE(sameLines(before));
  EXPECT_EQ(listEntry(2), L" GOTO L102");
  EXPECT_EQ(listEntry(511), L" GOTO L511");
  EXPECT_EQ(listSelection(), 2);
  EXPECT_EQ(GetFocus(), item(IDC_PROGRAM_LIST)) << "the next Ctrl+Z goes to the list too";
  EXPECT_EQ(text(0), Title);
  ctrlKey(L'Z');
  EXPECT_EQ(text(IDC_STATUS), L"元に戻す変更はありません。");
  ctrlKey(L'Y');
  EXPECT_EQ(stored(0, 4), labelLine(7));
  EXPECT_EQ(stored(0, 511), ProgramLine{});
}

TEST_F(TextTransferTest, AFaultyPasteChangesNothingAndNamesTheTextLine) {
  storeLine(document.programArea, 1, 0, gotoLine(1));
  storeLine(document.programArea, 1, 1, gotoLine(2));
  open();
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  chooseLine(1);
  const ProgramArea before = document.programArea;
  struct Case {
    const wchar_t* clipboard;
    const wchar_t* named;
  };
  const std::array<Case, 4> cases = {{
      {L"GOTO L003\r\n# fine so far\r\nSEND CHR 4g\r\n", L"line 3: '4g' is no data byte"},
      {L"[B]\nGOTO L003\n[Q]\n", L"line 3: unknown section '[Q]'"},
      {L"GOTO L003\nIF REG1<REG2 L1000\n", L"line 2: label 1000 is outside 0-999"},
      {L"# nothing but a comment\r\n", L"no program line in the text"},
  }};
  for (const Case& c : cases) {
    SCOPED_TRACE(wideToSjis(c.clipboard));
    ASSERT_TRUE(putClipboardText(window, c.clipboard));
    ctrlKey(L'V');
    EXPECT_TRUE(sameLines(before));
    const std::wstring status = text(IDC_STATUS);
    EXPECT_EQ(status.rfind(L"貼り付けできません。プログラムは変更されていません。", 0), 0u)
        << wideToSjis(status);
    EXPECT_TRUE(contains(status, c.named)) << wideToSjis(status);
    EXPECT_EQ(listEntry(1), L" GOTO L002");
    EXPECT_EQ(text(0), Title);
  }
  ctrlKey(L'Z');
  EXPECT_EQ(text(IDC_STATUS), L"元に戻す変更はありません。") << "no step was recorded";

  // A paste that would leave a pasted line past the end names the first line that does not fit.
  chooseLine(511);
  ASSERT_TRUE(putClipboardText(window, L"GOTO L001\nGOTO L002\n"));
  ctrlKey(L'V');
  EXPECT_TRUE(sameLines(before));
  EXPECT_TRUE(
      contains(text(IDC_STATUS), L"line 2: the program has 512 lines; this would be line 512"))
      << wideToSjis(text(IDC_STATUS));
}

TEST_F(TextTransferTest, ALineCopiedInOneWindowPastesIntoAnother) {
  const ProgramLine line = sendChr({0x0d, 0x0a});
  storeLine(document.programArea, 3, 6, line);
  open();
  chooseInCombo(IDC_PROGRAM_SELECT, 3);
  chooseLine(6);
  ctrlKey(L'C');

  SetupDocument otherDocument;
  initialise(otherDocument);
  storeLine(otherDocument.programArea, 0, 0, gotoLine(1));
  MainDialog other;
  other.document = &otherDocument;
  HWND otherWindow = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN),
                                        nullptr, mainDialogProc, reinterpret_cast<LPARAM>(&other));
  ASSERT_NE(otherWindow, nullptr);
  ShowWindow(otherWindow, SW_SHOW);
  pump();
  ctrlKey(L'V', otherWindow);
  EXPECT_EQ(*lineAt(otherDocument.programArea, 0, 0), line);
  EXPECT_EQ(*lineAt(otherDocument.programArea, 0, 1), gotoLine(1));
  EXPECT_EQ(listText(GetDlgItem(otherWindow, IDC_PROGRAM_LIST), 0), expectedListing(line));
  EXPECT_EQ(*lineAt(document.programArea, 0, 0), ProgramLine{}) << "the first window is as it was";
  DestroyWindow(otherWindow);
  pump();
}

// ---- the context menu

struct MenuSeen {
  std::vector<std::wstring> items;
  std::vector<bool> enabled;
  bool shown = false;
};

// Reads the menu shown in `popup`, then picks an entry by its key.
MenuSeen readAndPick(HWND popup, wchar_t key) {
  MenuSeen seen;
  auto* menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  seen.shown = true;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    std::array<wchar_t, 128> name{};
    GetMenuStringW(menu, static_cast<UINT>(i), name.data(), static_cast<int>(name.size()),
                   MF_BYPOSITION);
    seen.items.push_back(name.data());
    seen.enabled.push_back(
        (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0);
  }
  PostMessageW(popup, WM_CHAR, static_cast<WPARAM>(key + (L'a' - L'A')), 0);
  return seen;
}

TEST_F(TextTransferTest, TheListsContextMenuSelectsTheLineUnderThePointerAndCopiesAndPastes) {
  storeLine(document.programArea, 0, 3, gotoLine(33));
  open();
  chooseLine(0);
  HWND list = item(IDC_PROGRAM_LIST);
  // Shows the menu as WM_CONTEXTMENU at `point` would and picks the entry of `key` from inside
  // the menu's loop.
  const auto useMenu = [&](POINT point, wchar_t key) {
    MenuSeen seen;
    const bool driven = vx::test::whileMenu(
        window,
        [&] {
          SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                       MAKELPARAM(point.x, point.y));
        },
        [&](HWND popup) { seen = readAndPick(popup, key); });
    EXPECT_EQ(driven, seen.shown);
    pump();
    return seen;
  };
  const std::vector<std::wstring> items = {L"コピー(&C)", L"貼り付け(&P)", L"",
                                           L"プログラムのエクスポート(&E)...",
                                           L"プログラムのインポート(&I)..."};
  // A right click on line 3: the pointer's screen position.
  RECT lineRect{};
  SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&lineRect));
  POINT point{lineRect.left + 5, lineRect.top + 2};
  ClientToScreen(list, &point);

  for (const wchar_t key : {L'C', L'P'}) {
    SCOPED_TRACE(static_cast<char>(key));
    const MenuSeen seen = useMenu(point, key);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.items, items);
    EXPECT_EQ(listSelection(), 3);
    EXPECT_EQ(cursor(document.programArea, 0), 3) << "picked as a click would";
    EXPECT_TRUE(seen.enabled[0]);
    if (key == L'C') {
      EXPECT_EQ(clipboardText(window), L"GOTO L033\r\n");
    } else {
      EXPECT_TRUE(seen.enabled[1]) << "the clipboard holds text";
      EXPECT_EQ(stored(0, 3), gotoLine(33));
      EXPECT_EQ(stored(0, 4), gotoLine(33));
      EXPECT_EQ(listEntry(4), L" GOTO L033");
    }
  }

  // From the keyboard (Shift+F10, the menu key) at the current line, which stays; export and
  // import open their file dialogs.
  chooseLine(1);
  for (const wchar_t key : {L'E', L'I', L'C'}) {
    SCOPED_TRACE(static_cast<char>(key));
    chosenPaths = {std::nullopt};
    EXPECT_TRUE(useMenu(POINT{-1, -1}, key).shown);
    EXPECT_EQ(listSelection(), 1);
  }
  EXPECT_EQ(fileDialogsShown,
            (std::vector<FileDialogKind>{FileDialogKind::ExportText, FileDialogKind::ImportText}));
  EXPECT_EQ(clipboardText(window), L"NOP\r\n");
}

// ---- export and import

class ProgramFileTest : public TextTransferTest {
 protected:
  void SetUp() override {
    TextTransferTest::SetUp();
    setupPath = directory.path() / L"試験.su";
    SetupDocument saved;
    initialise(saved);
    storeLine(saved.programArea, 1, 0, labelLine(3));
    storeLine(saved.programArea, 1, 1, sendChr({0x41, 0x54, 0x5a, 0x0d}));
    storeLine(saved.programArea, 1, 2, *readProgramLine("IF REG1<REG2 L003").line);
    storeLine(saved.programArea, 1, 4, gotoLine(3));
    storeLine(saved.programArea, 0, 0, gotoLine(9));
    writeSetupFile(setupPath, saved, 0);
  }

  TempFolder directory;
  std::filesystem::path setupPath;
};

TEST_F(ProgramFileTest, ExportWritesTheShownProgramAsVxprogWouldWriteIt) {
  open(setupPath.wstring());
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  const auto textPath = directory.path() / L"プログラム_Ω.vxp";
  chosenPaths = {textPath.wstring()};
  command(IDM_EXPORT_PROGRAM);
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::ExportText});
  EXPECT_TRUE(warnings.empty());
  const std::vector<std::uint8_t> written = readBytes(textPath);
  const std::string expected =
      writeProgramText(document.programArea, "vxedit export of 試験.su", {1});
  EXPECT_EQ(std::string(written.begin(), written.end()), expected);
  EXPECT_EQ(
      expected,
      "# vxedit export of 試験.su\n\n[B]\nL003\nSEND CHR 41 54 5a 0d\nIF REG1<REG2 L003\nNOP\n"
      "GOTO L003\n");
  EXPECT_EQ(text(IDC_STATUS), L"プログラムBをエクスポートしました。");
  EXPECT_EQ(text(0), L"試験.su - VXプログラムエディタ") << "exporting changes nothing";

  // The export imports back into a copy of the area without a change.
  ProgramArea copy = document.programArea;
  EXPECT_TRUE(importProgramText(copy, readProgramText(expected)).empty());
  EXPECT_EQ(copy.slots, document.programArea.slots);

  // A folder that does not exist: a warning with the file, nothing else.
  const std::wstring badPath = (directory.path() / L"none" / L"b.vxp").wstring();
  chosenPaths = {badPath};
  command(IDM_EXPORT_PROGRAM);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], L"Program export error\r\n" + badPath + L"\r\ncannot write the file");
  EXPECT_EQ(warningCaptions[0], Title);
  // A cancelled dialog does nothing.
  chosenPaths = {std::nullopt};
  command(IDM_EXPORT_PROGRAM);
  EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(ProgramFileTest, ImportReplacesTheShownProgramAsOneUndoStep) {
  open(setupPath.wstring());
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  chooseLine(1);
  const ProgramArea before = document.programArea;
  const auto textPath = directory.path() / L"b.vxp";
  // Other sections of the text are not imported: only the shown program's.
  writeText(textPath, "# for B\r\n[A]\r\nNOP\r\n[B]\r\nWAIT TM 50\r\nset ln er=1\r\n");
  chosenPaths = {textPath.wstring()};
  command(IDM_IMPORT_PROGRAM);
  EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{FileDialogKind::ImportText});
  EXPECT_TRUE(warnings.empty()) << wideToSjis(warnings.empty() ? L"" : warnings[0]);
  ProgramArea expected = before;
  for (int i = 0; i < lineCount(expected, 1); ++i) storeLine(expected, 1, i, ProgramLine{});
  storeLine(expected, 1, 0, *readProgramLine("WAIT TM 50").line);
  storeLine(expected, 1, 1, *readProgramLine("SET LN ER=1").line);
  EXPECT_TRUE(sameLines(expected));
  EXPECT_EQ(listEntry(0), expectedListing(stored(1, 0)));
  EXPECT_EQ(listEntry(1), expectedListing(stored(1, 1)));
  EXPECT_EQ(listEntry(2), L" NOP");
  EXPECT_EQ(listSelection(), 1);
  EXPECT_EQ(text(IDC_STATUS), L"プログラムBをインポートしました。\r\nCtrl+Zで元に戻せます。");
  EXPECT_EQ(text(0), L"試験.su* - VXプログラムエディタ");

  chooseInCombo(IDC_PROGRAM_SELECT, 0);
  ctrlKey(L'Z');
  EXPECT_TRUE(sameLines(before));
  EXPECT_EQ(comboSelection(IDC_PROGRAM_SELECT), 1) << "undo shows the program imported";
  EXPECT_EQ(listEntry(0), L" L003");
  EXPECT_EQ(text(0), L"試験.su - VXプログラムエディタ");
  ctrlKey(L'Y');
  EXPECT_EQ(stored(1, 1), *readProgramLine("SET LN ER=1").line);

  // A text without headers is the shown program's lines; the dialog starts at the last text.
  writeText(textPath, "GOTO L004\n");
  dialog.chooseFilePath = [&](HWND, FileDialogKind, std::wstring& path) {
    EXPECT_EQ(path, textPath.wstring());
    return true;
  };
  command(IDM_IMPORT_PROGRAM);
  EXPECT_EQ(stored(1, 0), gotoLine(4));
  EXPECT_EQ(stored(1, 1), ProgramLine{});
}

TEST_F(ProgramFileTest, AFaultyImportWarnsWithFileAndLineAndChangesNothing) {
  open(setupPath.wstring());
  chooseInCombo(IDC_PROGRAM_SELECT, 1);
  const ProgramArea before = document.programArea;
  const auto textPath = directory.path() / L"bad.vxp";
  struct Case {
    const char* text;
    std::wstring problems;  // after "FILE"
  };
  const std::array<Case, 3> cases = {{
      {"[B]\nGOTO L001\n\nSEND CHR 41 4z\nWAIT XX\n",
       L":4: '4z' is no data byte (00-FF)\r\n{}:5: unknown kind 'XX' of WAIT"},
      {"[A]\nGOTO L001\n", L": no section [B]"},
      {"[b]\n.raw 01 02\n", L":2: .raw takes 16 bytes, found 2"},
  }};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    writeText(textPath, c.text);
    warnings.clear();
    chosenPaths = {textPath.wstring()};
    command(IDM_IMPORT_PROGRAM);
    EXPECT_TRUE(sameLines(before));
    ASSERT_EQ(warnings.size(), 1u);
    std::wstring problems = c.problems;
    if (const auto at = problems.find(L"{}"); at != std::wstring::npos)
      problems.replace(at, 2, textPath.wstring());
    const std::wstring head = L"Program import error\r\n" + textPath.wstring() + problems;
    EXPECT_EQ(warnings[0].substr(0, head.size()), head) << wideToSjis(warnings[0]);
    EXPECT_EQ(text(0), L"試験.su - VXプログラムエディタ");
  }
  // A file that is not there.
  warnings.clear();
  const std::wstring missing = (directory.path() / L"missing.vxp").wstring();
  chosenPaths = {missing};
  command(IDM_IMPORT_PROGRAM);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], L"Program import error\r\n" + missing + L"\r\ncannot read the file");
  ctrlKey(L'Z');
  EXPECT_EQ(text(IDC_STATUS), L"元に戻す変更はありません。");
}

TEST(FileDialogRequest, OffersProgramTextsForExportAndImport) {
  std::array<wchar_t, MaxPathLength + 1> buffer{};
  for (const auto& [kind, flags] : {std::pair{FileDialogKind::ImportText, DWORD{0x1004}},
                                    std::pair{FileDialogKind::ExportText, DWORD{0x2006}}}) {
    const OPENFILENAMEW request = fileDialogRequest(nullptr, kind, buffer);
    EXPECT_EQ(request.Flags, flags);
    constexpr wchar_t filter[] = L"Program text(*.vxp)\0*.vxp\0All files(*.*)\0*.*\0";
    EXPECT_EQ(std::wstring_view(request.lpstrFilter, std::size(filter)),
              std::wstring_view(filter, std::size(filter)));
    EXPECT_EQ(std::wstring(request.lpstrDefExt), L"vxp");
  }
}

}  // namespace
}  // namespace vx::ui::test
