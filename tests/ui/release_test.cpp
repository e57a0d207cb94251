// The editor's version: the VERSIONINFO resource (linked into this test program from the
// editor's resource script) and "About" in the system menu, both the project's version.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "ui/about.h"
#include "ui/win_text.h"
#include "ui_test_support.h"

namespace vx::ui::test {
namespace {

std::wstring versionString(const std::vector<BYTE>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || value == nullptr) return {};
  return static_cast<const wchar_t*>(value);
}

std::wstring widened(const char* text) { return std::wstring(text, text + std::strlen(text)); }

TEST(VersionInformation, NamesTheProjectVersionAndTheEditor) {
  std::array<wchar_t, MAX_PATH> path{};
  GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.data(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.data(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_NE(fixed, nullptr);
  const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, widened(VX_PROJECT_VERSION));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(versionString(info, L"FileVersion"), widened(VX_PROJECT_VERSION));
  EXPECT_EQ(versionString(info, L"ProductVersion"), widened(VX_PROJECT_VERSION));
  EXPECT_EQ(versionString(info, L"ProductName"), L"vxedit");
  EXPECT_EQ(versionString(info, L"OriginalFilename"), L"vxedit.exe");
}

TEST_F(MainDialogTest, SystemMenuEndsWithAboutWhichNamesTheVersion) {
  open();
  HMENU menu = GetSystemMenu(window, FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), AboutCommand);
  std::array<wchar_t, 64> text{};
  GetMenuStringW(menu, static_cast<UINT>(count - 1), text.data(), static_cast<int>(text.size()),
                 MF_BYPOSITION);
  EXPECT_STREQ(text.data(), L"About");
  EXPECT_EQ(aboutText(), L"VXプログラムエディタ\r\nバージョン " + widened(VX_PROJECT_VERSION));
  // Other system commands are the dialog manager's.
  EXPECT_FALSE(onAboutCommand(window, SC_KEYMENU));
}

}  // namespace
}  // namespace vx::ui::test
