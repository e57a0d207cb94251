// How fast the editor lists a program, run under Wine by tools/bench-ui:
//   relist  re-listing a 2048-line program through the character-code selector, against a bare
//           loop that fills the same list box with the same 2048 texts;
//   startup time from starting vxedit.exe on a file to its first shown line, against starting a
//           process that does nothing.
// Usage: ui_bench RUNS [VXEDIT.EXE]. Prints medians in milliseconds.
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

#include "setupfile/setup_file.h"
#include "store/bytes.h"
#include "store/program_area.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

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

// A setup file whose program A takes all 2048 slots.
std::filesystem::path writeLargeProgramFile(const std::filesystem::path& folder) {
  SetupDocument document;
  initialise(document);
  ProgramArea& area = document.programArea;
  for (int p = 1; p <= ProgramCount; ++p) {
    writeU16(&area.header[4 + 4 * static_cast<std::size_t>(p)], SlotCount);
  }
  for (int i = 0; i < SlotCount; ++i) {
    ProgramLine line{};
    line.bytes = LineShapes[static_cast<std::size_t>(i) % LineShapes.size()];
    storeLine(area, 0, i, line);
  }
  const std::filesystem::path path = folder / L"bench2048.su";
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
void chooseCharCode(HWND window, int code) {
  HWND selector = GetDlgItem(window, IDC_CHAR_CODE);
  SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(code), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CHAR_CODE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(selector));
}

bool benchRelist(int runs, const std::filesystem::path& file) {
  SetupDocument document;
  initialise(document);
  MainDialog dialog;
  dialog.document = &document;
  dialog.filePath = file.wstring();
  dialog.fileGiven = true;
  dialog.showWarning = [](HWND, const std::wstring&, const std::wstring&) {};
  HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                   mainDialogProc, reinterpret_cast<LPARAM>(&dialog));
  if (window == nullptr) {
    std::fprintf(stderr, "ui_bench: cannot create the main dialog\n");
    return false;
  }
  ShowWindow(window, SW_SHOW);
  pump(window);
  HWND list = GetDlgItem(window, IDC_PROGRAM_LIST);
  // Characters on, so that the texts depend on the code.
  if (SendMessageW(GetDlgItem(window, IDC_CHAR_DISPLAY), BM_GETCHECK, 0, 0) != BST_CHECKED) {
    SendMessageW(GetDlgItem(window, IDC_CHAR_DISPLAY), BM_CLICK, 0, 0);
    pump(window);
  }

  // The two codes alternate, so that every re-list changes the texts; the bare loop alternates
  // between the same two sets of texts.
  constexpr std::array<int, 2> Codes = {0, 2};  // ASCII, EBCDIK
  std::array<std::vector<std::wstring>, 2> texts;
  for (std::size_t k = 0; k < Codes.size(); ++k) {
    chooseCharCode(window, Codes[k]);
    pump(window);
    texts[k] = listTexts(list);
  }
  if (texts[0].size() != SlotCount || texts[0] == texts[1]) {
    std::fprintf(stderr, "ui_bench: the list holds %zu lines, expected %d that differ by code\n",
                 texts[0].size(), SlotCount);
    DestroyWindow(window);
    return false;
  }

  std::vector<double> relist, bare, showLine;
  for (int run = 0; run < runs; ++run) {
    for (std::size_t k = 0; k < Codes.size(); ++k) {
      double start = nowMs();
      chooseCharCode(window, Codes[k]);
      UpdateWindow(window);
      relist.push_back(nowMs() - start);
      // The panel shows the current line again afterwards; not part of the listing.
      start = nowMs();
      pump(window);
      showLine.push_back(nowMs() - start);

      start = nowMs();
      bareFill(list, texts[k]);
      UpdateWindow(window);
      bare.push_back(nowMs() - start);
      pump(window);
    }
  }
  const bool sameTexts = listTexts(list) == texts[1];
  DestroyWindow(window);
  pump(nullptr);
  if (!sameTexts) {
    std::fprintf(stderr, "ui_bench: the bare fill left other texts than the re-list\n");
    return false;
  }
  const double r = median(relist), b = median(bare);
  std::printf("  %-34s %8.1f ms   %-22s %8.1f ms   %5.2fx  (goal <= 1.25x) %s\n",
              "re-list of 2048 lines (code change)", r, "bare list-box fill", b, r / b,
              r <= 1.25 * b ? "ok" : "MISSED");
  std::printf("  %-34s %8.1f ms   (the panel showing the current line after a re-list)\n",
              "then UM_SHOW_LINE", median(showLine));
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

bool exited(const PROCESS_INFORMATION& process) {
  return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
}

bool benchStartup(int runs, const std::wstring& editor, const std::filesystem::path& file) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::vector<double> editorTimes, floorTimes;
  for (int run = 0; run < runs; ++run) {
    const double e = timeStart(L"\"" + editor + L"\" " + file.wstring(), firstLineShown);
    const double f = timeStart(L"\"" + std::wstring(self) + L"\" --nothing", exited);
    if (e < 0 || f < 0) {
      std::fprintf(stderr, "ui_bench: vxedit.exe did not show its list in time\n");
      return false;
    }
    editorTimes.push_back(e);
    floorTimes.push_back(f);
  }
  const double e = median(editorTimes), f = median(floorTimes);
  std::printf("  %-34s %8.1f ms   %-22s %8.1f ms   %5.2fx  (no goal)\n",
              "start to first shown line", e, "start of an empty exe", f, e / f);
  return true;
}

}  // namespace
}  // namespace vx::ui::bench

int wmain(int argc, wchar_t** argv) {
  using namespace vx::ui::bench;
  if (argc >= 2 && std::wstring(argv[1]) == L"--nothing") return 0;
  const int runs = argc >= 2 ? std::max(1, _wtoi(argv[1])) : 9;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error) /
                                       (L"vx-ui-bench-" + std::to_wstring(GetCurrentProcessId()));
  std::filesystem::create_directories(folder, error);
  const std::filesystem::path file = writeLargeProgramFile(folder);
  bool ok = !file.empty();
  if (!ok) std::fprintf(stderr, "ui_bench: cannot write the setup file\n");

  std::printf("the editor under Wine, median of %d runs:\n", runs);
  std::fflush(stdout);
  ok = ok && benchRelist(runs, file);
  std::fflush(stdout);
  if (ok && argc >= 3) ok = benchStartup(runs, argv[2], file);
  std::fflush(stdout);
  std::filesystem::remove_all(folder, error);
  return ok ? 0 : 1;
}
