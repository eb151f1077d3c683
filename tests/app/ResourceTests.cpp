// The resources of the built runeplate.exe, read the way Windows reads them:
// version information, the manifest and the icon "vexil".
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/Shell.h"

using namespace runeplate;

namespace {

// The program's file loaded for its resources only, gone afterwards.
class ProgramResourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    Program = LoadLibraryExA(RUNEPLATE_PROGRAM, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(Program, nullptr) << RUNEPLATE_PROGRAM << ": error " << GetLastError();
  }
  void TearDown() override {
    if (Program) FreeLibrary(Program);
  }
  HMODULE Program = nullptr;
};

std::string VersionString(const std::vector<char>& info, const std::string& key) {
  void* value = nullptr;
  UINT length = 0;
  const std::string path = "\\StringFileInfo\\040904B0\\" + key;
  if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || length == 0) return "(none)";
  return static_cast<const char*>(value);
}

}  // namespace

// Catches a missing or misnamed version resource, or numbers that are not the
// project's version.
TEST(ProgramVersion, NamesTheProductItsMakersAndTheProjectVersion) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(RUNEPLATE_PROGRAM, &handle);
  ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(RUNEPLATE_PROGRAM, 0, size, info.data()));
  const struct {
    const char* Key;
    std::string Value;
  } strings[] = {
      {"ProductName", "Runeplate"},
      {"CompanyName", "the Runeplate authors"},
      {"FileDescription", "Runeplate: Hangul and Latin text drawn with Direct3D 9"},
      {"LegalCopyright", "Copyright (c) 2026 the Runeplate authors"},
      {"OriginalFilename", "runeplate.exe"},
      {"InternalName", "runeplate"},
      {"FileVersion", RUNEPLATE_VERSION},
      {"ProductVersion", RUNEPLATE_VERSION},
  };
  for (const auto& s : strings) EXPECT_EQ(VersionString(info, s.Key), s.Value) << s.Key;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  char numbers[64];
  wsprintfA(numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(std::string(numbers), RUNEPLATE_VERSION);
}

// Catches a manifest that is missing, not the one Windows reads at start-up,
// or without the settings that keep the program from being virtualised or
// stretched.
TEST_F(ProgramResourcesTest, ManifestRunsAsInvokerOnWindows7To11AndIsPerMonitorDpiAware) {
  HRSRC found = FindResourceA(Program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr) << "no manifest resource 1";
  const char* data = static_cast<const char*>(LockResource(LoadResource(Program, found)));
  const std::string manifest(data, SizeofResource(Program, found));
  for (const char* part : {
           R"(level="asInvoker")",
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
           ">true</dpiAware>",
           ">PerMonitorV2</dpiAwareness>",
       })
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

// Catches an icon under another name, or one the window class does not get.
TEST_F(ProgramResourcesTest, IconVexilLoadsInBothSizesAndTheWindowClassHasIt) {
  EXPECT_NE(LoadIconA(Program, "vexil"), nullptr);
  for (const int size : {16, 32})
    EXPECT_NE(LoadImageA(Program, "vexil", IMAGE_ICON, size, size, 0), nullptr) << size;

  ASSERT_NE(RegisterMainWindowClass(Program), 0) << "error " << GetLastError();
  WNDCLASSA registered = {};
  ASSERT_TRUE(GetClassInfoA(Program, WindowClassName, &registered));
  EXPECT_NE(registered.hIcon, nullptr);
  UnregisterClassA(WindowClassName, Program);
}
