// Both programs as Windows shows them in a file's properties: the version details made
// from the project's version number, read back with the version API, and a manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace portprobe {
namespace {

// The build's programs, found from this test's own place in the build tree.
std::filesystem::path Program(const wchar_t* relative) {
  std::wstring self(MAX_PATH, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return std::filesystem::path(self).parent_path() / L".." / L".." / L"src" / relative;
}

std::wstring VersionText(const std::vector<char>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  if (!::VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const wchar_t*>(value);
}

TEST(VersionResources, BothProgramsCarryTheVersionAndAManifest) {
  const std::wstring version(PORTPROBE_VERSION, PORTPROBE_VERSION + sizeof(PORTPROBE_VERSION) - 1);
  for (const wchar_t* relative : {L"cli\\portprobe-cli.exe", L"app\\portprobe.exe"}) {
    const std::wstring path = Program(relative).wstring();
    DWORD ignored = 0;
    std::vector<char> info(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(info.empty()) << "no version details in " << Program(relative).string();
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    EXPECT_EQ(VersionText(info, L"ProductName"), L"PortProbe");
    EXPECT_EQ(VersionText(info, L"ProductVersion"), version);
    EXPECT_EQ(VersionText(info, L"FileVersion"), version);
    EXPECT_FALSE(VersionText(info, L"FileDescription").empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)),
              version);

    const HMODULE image = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(::FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr) << "no manifest";
    EXPECT_NE(::FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr) << "no icon";
    ::FreeLibrary(image);
  }
}

}  // namespace
}  // namespace portprobe
