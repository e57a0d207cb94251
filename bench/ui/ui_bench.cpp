// How fast the editor answers the user, run under Wine by tools/bench-ui. Each path is measured
// against a floor that does the same visible work the simplest way, in the same run:
//   keystroke    a digit typed into a data field until its list entry is replaced, against
//                setting the field's text and replacing one list entry with a fixed text;
//   line change  Enter's next line shown in the panel, against showing the same line again with
//                the controls kept;
//   re-list      a character-code change and a program change, against a bare loop that fills
//                the same list box with the same texts;
//   start        starting vxedit.exe on a file until its first line is shown, against a minimal
//                program that opens the same template with the same list texts and nothing else.
// Usage: ui_bench RUNS [VXEDIT.EXE]. Prints medians in milliseconds and the ratios with their
// goals; exits 1 when a path misses its goal.
// clang-format off
#include <windows.h>  // before the other Windows headers
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/listing.h"
#include "setupfile/setup_file.h"
#include "store/bytes.h"
#include "store/program_area.h"
#include "ui/listing_drawing.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/win_text.h"

namespace vx::ui::bench {
namespace {

double nowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Lines of the busiest listing shapes: eight data bytes, labels, registers and words.
// clang-format off
constexpr std::array<std::array<std::uint8_t, LineSize>, 8> LineShapes = {{
  {1, 0, 8, 0,    0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x0D, 0, 0, 0, 0},  // SEND CHR
  {2, 0, 8, 0x01, 0x00, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x0A, 0, 0, 0, 0},  // WAIT CHR
  {4, 0, 8, 0x02, 0x4F, 0x01, 0x4B, 0xB1, 0xB2, 0xB3, 0x7F, 0x80, 12, 0, 0, 0}, // IF CHR
  {7, 6, 7, 8,    0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0, 0, 0, 0},  // SET DA
  {7, 0, 3, 0,    0x40, 0x42, 0x0F, 0x00, 0, 0, 0, 0, 0, 0, 0, 0},               // SET REG
  {4, 5, 3, 1,    12, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0},                          // IF REG
  {3, 0, 0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0xE7, 0x03, 0, 0},                     // GOTO
  {12, 0, 0, 0,   0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0},                           // LBL
}};
// clang-format on

// A setup file whose programs have the given lengths (the rest of the 2048 slots unused), filled
// with the line shapes; program p starts at shape p so that two programs list differently.
std::filesystem::path writeBenchFile(const std::filesystem::path& path,
                                     std::initializer_list<int> lengths) {
  SetupDocument document;
  initialise(document);
  ProgramArea& area = document.programArea;
  int start = 0;
  int p = 0;
  for (int length : lengths) {
    writeU16(&area.header[4 + 4 * static_cast<std::size_t>(p)], static_cast<std::uint32_t>(start));
    start += length;
    ++p;
  }
  for (; p <= ProgramCount; ++p) {
    writeU16(&area.header[4 + 4 * static_cast<std::size_t>(p)], static_cast<std::uint32_t>(start));
  }
  for (int program = 0; program < ProgramCount; ++program) {
    for (int i = 0; i < lineCount(area, program); ++i) {
      ProgramLine line{};
      line.bytes = LineShapes[static_cast<std::size_t>(i + program) % LineShapes.size()];
      storeLine(area, program, i, line);
    }
  }
  return save(document, path) == 0 ? path : std::filesystem::path();
}

void pump(HWND window) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

std::vector<std::wstring> listTexts(HWND list) {
  std::vector<std::wstring> texts;
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    texts.push_back(std::move(text));
  }
  return texts;
}

// The floor: the same list box emptied and filled with ready-made texts, hidden meanwhile.
void bareFill(HWND list, const std::vector<std::wstring>& texts) {
  ShowWindow(list, SW_HIDE);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& text : texts) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ShowWindow(list, SW_SHOWNORMAL);
}

// A character-code change as the user makes it: the selector's selection, then its notification.
void chooseCharCode(HWND window, CharCode code) {
  HWND selector = GetDlgItem(window, IDC_CHAR_CODE);
  SendMessageW(selector, CB_SETCURSEL, charCodeIndex(code), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CHAR_CODE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(selector));
}

// The same for the program selector.
void chooseProgram(HWND window, int program) {
  HWND selector = GetDlgItem(window, IDC_PROGRAM_SELECT);
  SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(program), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_SELECT, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(selector));
}

// One measured path: the editor's times and its floor's, and the goal for their ratio.
struct Measure {
  const char* path;
  const char* floor;
  double goal;
  std::vector<double> times, floorTimes;
};

bool report(const Measure& m) {
  const double t = median(m.times), f = median(m.floorTimes);
  const bool met = t <= m.goal * f;
  std::printf("  %-36s %8.2f ms   %-34s %8.2f ms   %5.2fx  (goal <= %.2fx) %s\n", m.path, t,
              m.floor, f, t / f, m.goal, met ? "ok" : "MISSED");
  std::fflush(stdout);
  return met;
}

// The editor's main dialog on a file, shown and settled.
struct Editor {
  SetupDocument document;
  MainDialog dialog;
  HWND window = nullptr;

  explicit Editor(const std::filesystem::path& file) {
    initialise(document);
    dialog.document = &document;
    dialog.filePath = file.wstring();
    dialog.fileGiven = true;
    dialog.showWarning = [](HWND, const std::wstring&, const std::wstring&) {};
    window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                mainDialogProc, reinterpret_cast<LPARAM>(&dialog));
    if (window == nullptr) {
      std::fprintf(stderr, "ui_bench: cannot create the main dialog\n");
      return;
    }
    ShowWindow(window, SW_SHOW);
    pump(window);
  }
  ~Editor() {
    if (window != nullptr) DestroyWindow(window);
    pump(nullptr);
  }
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  HWND list() const { return GetDlgItem(window, IDC_PROGRAM_LIST); }
};

// Re-listing through `choose` (alternating between two choices whose texts differ) against the
// bare fill of the same texts.
template <class Choose>
bool benchRelist(Editor& editor, int runs, Measure& measure, Choose choose, int expectedLines) {
  HWND list = editor.list();
  std::array<std::vector<std::wstring>, 2> texts;
  for (int k = 0; k < 2; ++k) {
    choose(k);
    pump(editor.window);
    texts[static_cast<std::size_t>(k)] = listTexts(list);
  }
  if (texts[0].size() != static_cast<std::size_t>(expectedLines) || texts[0] == texts[1]) {
    std::fprintf(stderr, "ui_bench: the list holds %zu lines, expected %d that differ\n",
                 texts[0].size(), expectedLines);
    return false;
  }
  for (int run = 0; run < runs; ++run) {
    for (int k = 0; k < 2; ++k) {
      double start = nowMs();
      choose(k);
      UpdateWindow(editor.window);
      measure.times.push_back(nowMs() - start);
      pump(editor.window);  // the panel shows the current line afterwards: not the listing

      start = nowMs();
      bareFill(list, texts[static_cast<std::size_t>(k)]);
      UpdateWindow(editor.window);
      measure.floorTimes.push_back(nowMs() - start);
      pump(editor.window);
    }
  }
  if (listTexts(list) != texts[1]) {
    std::fprintf(stderr, "ui_bench: the bare fill left other texts than the re-list\n");
    return false;
  }
  return true;
}

// The first data field of the line shown (an edit control holding two hex digits), or nullptr.
HWND firstDataField(HWND window) {
  for (int n = 1; n <= IDC_PANEL_LAST - IDC_PANEL_FIRST; ++n) {
    HWND control = GetDlgItem(window, IDC_PANEL_FIRST + n);
    wchar_t className[16] = {};
    if (control != nullptr && GetClassNameW(control, className, 16) > 0 &&
        _wcsicmp(className, L"Edit") == 0 && getWideText(control) == L"41") {
      return control;
    }
  }
  return nullptr;
}

// A digit typed into the first data field of line 0 (SEND CHR): the edit control's text replaced
// by one digit, committed, and its list entry replaced; against the same text set with the panel's
// events suppressed and one list entry replaced by a fixed text.
bool benchKeystroke(Editor& editor, int runs, Measure& measure) {
  HWND list = editor.list();
  HWND field = firstDataField(editor.window);
  if (field == nullptr || SendMessageW(list, LB_GETCURSEL, 0, 0) != 0) {
    std::fprintf(stderr, "ui_bench: line 0 does not show its data field\n");
    return false;
  }
  SetFocus(field);
  pump(editor.window);
  const std::wstring before = listTexts(list)[0];
  const std::wstring fixed = L"SEND CHR 05 42 43 44 45 46 47 0d";
  constexpr std::array<wchar_t, 2> Digits = {L'4', L'5'};
  for (int run = 0; run < runs; ++run) {
    for (wchar_t digit : Digits) {
      double start = nowMs();
      SendMessageW(field, EM_SETSEL, 0, -1);
      SendMessageW(field, WM_CHAR, digit, 0);
      UpdateWindow(editor.window);
      measure.times.push_back(nowMs() - start);
      pump(editor.window);

      start = nowMs();
      editor.dialog.panel.suppressFieldEvents = true;
      SendMessageW(field, EM_SETSEL, 0, -1);
      SetWindowTextW(field, digit == L'4' ? L"4" : L"5");
      editor.dialog.panel.suppressFieldEvents = false;
      SendMessageW(list, LB_DELETESTRING, 0, 0);
      SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(fixed.c_str()));
      SendMessageW(list, LB_SETCURSEL, 0, 0);
      UpdateWindow(editor.window);
      measure.floorTimes.push_back(nowMs() - start);
      pump(editor.window);
    }
  }
  // The last keystroke stored 0x05: the listing shows it where it showed 0x41.
  SendMessageW(field, EM_SETSEL, 0, -1);
  SendMessageW(field, WM_CHAR, L'5', 0);
  pump(editor.window);
  const std::wstring after = listTexts(list)[0];
  if (before.find(L"41") == std::wstring::npos || after.find(L"05") == std::wstring::npos) {
    std::fprintf(stderr, "ui_bench: the keystroke did not reach the list\n");
    return false;
  }
  return true;
}

// Enter's line change (UM_NEXT_LINE, and UM_PREV_LINE back, so that the lines alternate between
// two layouts) until the panel shows the line; against UM_SHOW_LINE with the controls kept.
bool benchLineChange(Editor& editor, int runs, Measure& measure) {
  HWND list = editor.list();
  for (int run = 0; run < runs; ++run) {
    for (UINT message : {UM_NEXT_LINE, UM_PREV_LINE}) {
      double start = nowMs();
      PostMessageW(editor.window, message, 0, 0);
      pump(editor.window);
      UpdateWindow(editor.window);
      measure.times.push_back(nowMs() - start);

      start = nowMs();
      PostMessageW(editor.window, UM_SHOW_LINE, KeepControls, 0);
      pump(editor.window);
      UpdateWindow(editor.window);
      measure.floorTimes.push_back(nowMs() - start);
    }
  }
  if (SendMessageW(list, LB_GETCURSEL, 0, 0) != 0 || editor.dialog.currentLine != 0) {
    std::fprintf(stderr, "ui_bench: the line changes did not come back to line 0\n");
    return false;
  }
  return true;
}

bool benchEditor(int runs, const std::filesystem::path& large,
                 const std::filesystem::path& twoPrograms, std::vector<Measure>& measures) {
  Measure keystroke{"keystroke in a data field", "field text + one list entry", 1.5, {}, {}};
  Measure lineChange{"line change (Enter)", "UM_SHOW_LINE(1), controls kept", 1.25, {}, {}};
  Measure codeList{"re-list of 2048 lines (code change)", "bare list-box fill", 1.25, {}, {}};
  Measure programList{"re-list on a program change", "bare list-box fill", 1.25, {}, {}};
  {
    Editor editor(large);
    if (editor.window == nullptr) return false;
    if (!benchKeystroke(editor, runs, keystroke) || !benchLineChange(editor, runs, lineChange)) {
      return false;
    }
    // Characters on, so that the texts depend on the code.
    HWND display = GetDlgItem(editor.window, IDC_CHAR_DISPLAY);
    if (SendMessageW(display, BM_GETCHECK, 0, 0) != BST_CHECKED) {
      SendMessageW(display, BM_CLICK, 0, 0);
      pump(editor.window);
    }
    constexpr std::array<CharCode, 2> Codes = {CharCode::Ascii, CharCode::Ebcdik};
    const auto chooseCode = [&](int k) {
      chooseCharCode(editor.window, Codes[static_cast<std::size_t>(k)]);
    };
    if (!benchRelist(editor, runs, codeList, chooseCode, SlotCount)) return false;
  }
  {
    Editor editor(twoPrograms);
    if (editor.window == nullptr) return false;
    const auto chooseTheProgram = [&](int k) { chooseProgram(editor.window, k); };
    if (!benchRelist(editor, runs, programList, chooseTheProgram, SlotCount / 2)) return false;
  }
  for (Measure* m : {&keystroke, &lineChange, &codeList, &programList}) {
    measures.push_back(std::move(*m));
  }
  return true;
}

// Starts the command line and waits until `ready` says so; the milliseconds taken, or -1.
template <class Ready>
double timeStart(std::wstring commandLine, Ready ready) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = nowMs();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  while (nowMs() - start < 30000) {
    if (ready(process)) {
      elapsed = nowMs() - start;
      break;
    }
    Sleep(0);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

// The editor's main dialog once its program list is visible and holds lines.
bool firstLineShown(const PROCESS_INFORMATION& process) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumThreadWindows(
      process.dwThreadId,
      [](HWND window, LPARAM data) -> BOOL {
        HWND list = GetDlgItem(window, IDC_PROGRAM_LIST);
        if (list != nullptr && IsWindowVisible(window) && IsWindowVisible(list) &&
            SendMessageW(list, LB_GETCOUNT, 0, 0) > 0) {
          reinterpret_cast<Search*>(data)->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr;
}

// The start floor: the main template opened modally with program A's listing texts in its list,
// drawn as the editor draws its list, and nothing else (no panel, no selectors filled).
INT_PTR CALLBACK floorDialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_MEASUREITEM || message == WM_DRAWITEM) {
    return drawListMessage(window, message, lParam);
  }
  if (message == WM_INITDIALOG) {
    const auto& texts = *reinterpret_cast<const std::vector<std::wstring>*>(lParam);
    HWND list = GetDlgItem(window, IDC_PROGRAM_LIST);
    for (const std::wstring& text : texts) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    return TRUE;
  }
  if (message == WM_CLOSE) {
    EndDialog(window, 0);
    return TRUE;
  }
  return FALSE;
}

int runStartFloor(const std::filesystem::path& file) {
  SetupDocument document;
  initialise(document);
  const int code = load(document, file);
  std::vector<std::wstring> texts;
  ListingText buffer{};
  for (int i = 0; i < lineCount(document.programArea, 0); ++i) {
    texts.push_back(sjisToWide(
        listingText(*lineAt(document.programArea, 0, i), normaliseCharCode(code), false, buffer)));
  }
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, floorDialogProc,
                  reinterpret_cast<LPARAM>(&texts));
  return 0;
}

bool benchStartup(int runs, const std::wstring& editor, const std::filesystem::path& file,
                  std::vector<Measure>& measures) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  Measure start{"start to first shown line", "template + list texts only", 1.25, {}, {}};
  for (int run = 0; run < runs; ++run) {
    const double e = timeStart(L"\"" + editor + L"\" " + file.wstring(), firstLineShown);
    const double f =
        timeStart(L"\"" + std::wstring(self) + L"\" --floor " + file.wstring(), firstLineShown);
    if (e < 0 || f < 0) {
      std::fprintf(stderr, "ui_bench: a program did not show its list in time\n");
      return false;
    }
    start.times.push_back(e);
    start.floorTimes.push_back(f);
  }
  measures.push_back(std::move(start));
  return true;
}

}  // namespace
}  // namespace vx::ui::bench

int wmain(int argc, wchar_t** argv) {
  using namespace vx::ui::bench;
  if (argc >= 3 && std::wstring(argv[1]) == L"--floor") return runStartFloor(argv[2]);
  const int runs = argc >= 2 ? std::max(1, _wtoi(argv[1])) : 9;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error) /
                                       (L"vx-ui-bench-" + std::to_wstring(GetCurrentProcessId()));
  std::filesystem::create_directories(folder, error);
  const std::filesystem::path large = writeBenchFile(folder / L"bench2048.su", {vx::SlotCount});
  const std::filesystem::path twoPrograms =
      writeBenchFile(folder / L"bench2x1024.su", {vx::SlotCount / 2, vx::SlotCount / 2});
  bool ok = !large.empty() && !twoPrograms.empty();
  if (!ok) std::fprintf(stderr, "ui_bench: cannot write the setup files\n");

  std::printf("the editor under Wine, median of %d runs:\n", runs);
  std::fflush(stdout);
  std::vector<Measure> measures;
  ok = ok && benchEditor(runs, large, twoPrograms, measures);
  if (ok && argc >= 3) ok = benchStartup(runs, argv[2], large, measures);
  bool met = true;
  for (const Measure& m : measures) met = report(m) && met;
  std::filesystem::remove_all(folder, error);
  return ok && met ? 0 : 1;
}
