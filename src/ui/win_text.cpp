#include "ui/win_text.h"

#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"

namespace vx::ui {

namespace {

constexpr UINT ShiftJisCodePage = 932;

std::wstring toWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

std::string fromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring sjisToWide(std::string_view sjis) { return toWide(ShiftJisCodePage, sjis); }
std::string wideToSjis(std::wstring_view wide) { return fromWide(ShiftJisCodePage, wide); }
std::wstring utf8ToWide(std::string_view utf8) { return toWide(CP_UTF8, utf8); }
std::string wideToUtf8(std::wstring_view wide) { return fromWide(CP_UTF8, wide); }

void setText(HWND control, std::string_view sjis) { setWideText(control, sjisToWide(sjis)); }

std::string getText(HWND control) { return wideToSjis(getWideText(control)); }

void setWideText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }

std::wstring getWideText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring loadString(unsigned id) {
  // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
  const wchar_t* text = nullptr;
  const int length =
      LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return std::wstring(text, static_cast<std::size_t>(length));
}

std::wstring fillIn(std::wstring format, int count, const std::wstring& text) {
  if (const auto at = format.find(L"%d"); at != std::wstring::npos)
    format.replace(at, 2, std::to_wstring(count));
  if (const auto at = format.find(L"%s"); at != std::wstring::npos) format.replace(at, 2, text);
  return format;
}

int addComboString(HWND combo, std::string_view sjis) {
  const std::wstring text = sjisToWide(sjis);
  return static_cast<int>(
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

int listSelection(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void fillChoiceList(HWND combo, std::span<const char* const> names, int selection) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const char* name : names) {
    if (name == nullptr || std::string_view(name) == NameListSentinel) break;
    addComboString(combo, name);
  }
  if (selection != -1) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

}  // namespace vx::ui
