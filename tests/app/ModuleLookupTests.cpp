// The report's module lookup under the platform: which module a code address
// lies in, its offset there, and the report of failures this program raised.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "report/ErrorReport.h"
#include "errors/Exceptions.h"

using namespace runeplate;

namespace {

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ModuleFileName(HMODULE module) {
  char path[4096];
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  return FileNamePart(std::string(path, length));
}

const char* ImageBase() { return reinterpret_cast<const char*>(GetModuleHandleA(nullptr)); }

size_t ImageSize() {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(ImageBase());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(ImageBase() + dos->e_lfanew);
  return nt->OptionalHeader.SizeOfImage;
}

bool InOurImage(const void* address) {
  const char* p = static_cast<const char*>(address);
  return p >= ImageBase() && p < ImageBase() + ImageSize();
}

std::string Hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

}  // namespace

TEST(LocateCodeAddress, GivesTheModuleAndOffsetOfAddressesInModules) {
  const char* kernel32 = reinterpret_cast<const char*>(GetModuleHandleA("kernel32.dll"));
  ASSERT_NE(kernel32, nullptr);
  struct {
    const char* Name;
    const void* Address;
    std::string Module;
    uint32_t Offset;
  } cases[] = {
      {"our code", reinterpret_cast<const void*>(&ImageSize), ModuleFileName(nullptr),
       static_cast<uint32_t>(reinterpret_cast<const char*>(&ImageSize) - ImageBase())},
      {"start of our image", ImageBase(), ModuleFileName(nullptr), 0},
      {"a system library", kernel32 + 0x1000,
       ModuleFileName(reinterpret_cast<HMODULE>(const_cast<char*>(kernel32))), 0x1000},
  };
  for (const auto& c : cases) {
    const TCodeLocation location = LocateCodeAddress(c.Address);
    EXPECT_TRUE(location.InModule) << c.Name;
    EXPECT_STRCASEEQ(location.ModuleName, c.Module.c_str()) << c.Name;
    EXPECT_EQ(location.Offset, c.Offset) << c.Name;
  }
  EXPECT_STRCASEEQ(LocateCodeAddress(kernel32).ModuleName, "kernel32.dll");
}

TEST(LocateCodeAddress, PutsAddressesOutsideModulesInTheExecutableLess4096) {
  void* data = VirtualAlloc(nullptr, 65536, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(data, nullptr);
  const void* inData = static_cast<char*>(data) + 0x123;
  struct {
    const char* Name;
    const void* Address;
    uint32_t Offset;
  } cases[] = {
      {"null", nullptr, 0},
      {"data outside any image", inData,
       static_cast<uint32_t>(reinterpret_cast<uintptr_t>(inData) - 4096)},
  };
  for (const auto& c : cases) {
    const TCodeLocation location = LocateCodeAddress(c.Address);
    EXPECT_FALSE(location.InModule) << c.Name;
    EXPECT_EQ(location.ModuleName, ModuleFileName(nullptr)) << c.Name;
    EXPECT_EQ(location.Offset, c.Offset) << c.Name;
  }
  VirtualFree(data, 0, MEM_RELEASE);
}

TEST(FormatExceptionReport, ShowsRaisedFailuresAtTheirOffsetInOurImage) {
  const int assertLine = __LINE__ + 7;
  struct {
    const char* Name;
    std::function<void()> Fail;
    std::string Lines;
  } cases[] = {
      {"missing file", [] { Raise(EInOutError(2)); }, "EInOutError|File not found."},
      {"assertion", [] { RUNEPLATE_ASSERT(2 + 2 == 5); },
       std::string("EAssertionFailed|Assertion failure (") + __FILE__ + ", line " +
           std::to_string(assertLine) + ")."},
      {"failed system call", [] { Raise(EOSError("CreateWindowExA", 1407)); },
       "EOSError|CreateWindowExA failed, system error 1407."},
  };
  for (const auto& c : cases) {
    try {
      c.Fail();
      ADD_FAILURE() << c.Name << ": nothing raised";
    } catch (const Exception& failure) {
      EXPECT_TRUE(InOurImage(failure.Address)) << c.Name;
      const uint32_t offset =
          static_cast<uint32_t>(static_cast<const char*>(failure.Address) - ImageBase());
      const size_t bar = c.Lines.find('|');
      const std::string expected = "Exception " + c.Lines.substr(0, bar) + " in module " +
                                   ModuleFileName(nullptr) + " at " + Hex8(offset) + ".\n" +
                                   c.Lines.substr(bar + 1);
      char text[ReportTextLimit + 1];
      EXPECT_EQ(FormatExceptionReport(failure, failure.Address, text, sizeof text),
                expected.size())
          << c.Name;
      EXPECT_EQ(std::string(text), expected) << c.Name;
    }
  }
}
