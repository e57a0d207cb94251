#include "ui/win_text.h"

#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"

namespace vx::ui {

namespace {
constexpr UINT ShiftJisCodePage = 932;
}  // namespace

std::wstring sjisToWide(std::string_view sjis) {
  if (sjis.empty()) return {};
  const int size = static_cast<int>(sjis.size());
  const int length = MultiByteToWideChar(ShiftJisCodePage, 0, sjis.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(ShiftJisCodePage, 0, sjis.data(), size, wide.data(), length);
  return wide;
}

std::string wideToSjis(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(ShiftJisCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string sjis(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(ShiftJisCodePage, 0, wide.data(), size, sjis.data(), length, nullptr,
                      nullptr);
  return sjis;
}

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

int addComboString(HWND combo, std::string_view sjis) {
  const std::wstring text = sjisToWide(sjis);
  return static_cast<int>(
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

int addListString(HWND list, std::string_view sjis) {
  const std::wstring text = sjisToWide(sjis);
  return static_cast<int>(
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

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
