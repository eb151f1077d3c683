// The words of the fatal-error report: its text, the cut at 1024 characters,
// and what a failure caught at the entry is called.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "errors/Exceptions.h"
#include "errors/ReportText.h"

using namespace runeplate;

namespace {

std::string ReportText(const char* className, const char* moduleName, uint32_t offset,
                       const char* message) {
  char buffer[ReportTextLimit + 1];
  const size_t length =
      FormatReportText(className, moduleName, offset, message, buffer, sizeof buffer);
  EXPECT_EQ(length, std::strlen(buffer));
  return buffer;
}

}  // namespace

TEST(ReportText, NamesClassModuleOffsetAndMessageWithOneFullStop) {
  struct {
    const char* ClassName;
    const char* Module;
    uint32_t Offset;
    const char* Message;
    const char* Expected;
  } cases[] = {
      {"EInOutError", "runeplate.exe", 0x94A3, "File not found",
       "Exception EInOutError in module runeplate.exe at 000094A3.\nFile not found."},
      {"EInOutError", "runeplate.exe", 0x1000, "I/O error 131",
       "Exception EInOutError in module runeplate.exe at 00001000.\nI/O error 131."},
      {"EAccessViolation", "kernel32.dll", 0xFFFFFFFF, "Already ends.",
       "Exception EAccessViolation in module kernel32.dll at FFFFFFFF.\nAlready ends."},
      {"Exception", "runeplate.exe", 0, "",
       "Exception Exception in module runeplate.exe at 00000000.\n"},
      {"EAssertionFailed", "runeplate.exe", 0xABCDEF,
       "Assertion failure (src/dx/UDxApp.cpp, line 173)",
       "Exception EAssertionFailed in module runeplate.exe at 00ABCDEF.\n"
       "Assertion failure (src/dx/UDxApp.cpp, line 173)."},
      {"EOutOfMemory", "runeplate.exe", 0, "...",
       "Exception EOutOfMemory in module runeplate.exe at 00000000.\n..."},
      {"EInOutError", "runeplate.exe", 0, "a.b",
       "Exception EInOutError in module runeplate.exe at 00000000.\na.b."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReportText(c.ClassName, c.Module, c.Offset, c.Message), c.Expected) << c.Message;
  }
}

TEST(ReportText, IsCutAtTheGivenSizeLessTheTerminator) {
  const std::string message(2000, 'x');
  const std::string whole = "Exception EInOutError in module runeplate.exe at 00000010.\n" +
                            message + ".";

  char buffer[ReportTextLimit + 1];
  EXPECT_EQ(FormatReportText("EInOutError", "runeplate.exe", 0x10, message.c_str(), buffer,
                             sizeof buffer),
            ReportTextLimit);
  EXPECT_EQ(std::string(buffer), whole.substr(0, ReportTextLimit));

  char small[10];
  EXPECT_EQ(FormatReportText("EInOutError", "runeplate.exe", 0x10, "", small, sizeof small), 9u);
  EXPECT_STREQ(small, "Exception");

  char untouched = '?';
  EXPECT_EQ(FormatReportText("EInOutError", "runeplate.exe", 0x10, "", &untouched, 0), 0u);
  EXPECT_EQ(untouched, '?');
}

TEST(ReportText, CutsTheModuleNameAt260Characters) {
  const std::string longName(300, 'm');
  const std::string text = ReportText("Exception", longName.c_str(), 0, "");
  EXPECT_EQ(text, "Exception Exception in module " + std::string(260, 'm') + " at 00000000.\n");
}

namespace {

// What DescribeFailure handed on; the report callback carries no context.
struct TDescribed {
  int Calls = 0;
  std::string ClassName;
  std::string Message;
  const void* Address = nullptr;
} Described;

void RecordFailure(const Exception& failure, const void* address) {
  ++Described.Calls;
  Described.ClassName = failure.ClassName();
  Described.Message = failure.Message();
  Described.Address = address;
}

template <class Throw>
std::exception_ptr Caught(Throw raise) {
  try {
    raise();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

}  // namespace

TEST(DescribeFailure, NamesEveryKindOfCaughtFailure) {
  struct {
    const char* Name;
    std::exception_ptr Failure;
    const char* ClassName;
    const char* Message;
  } cases[] = {
      {"program's exception", Caught([] { throw EInOutError(5); }), "EInOutError",
       "File access denied"},
      {"bad_alloc", Caught([] { throw std::bad_alloc(); }), "EOutOfMemory", "Out of memory"},
      {"bad_array_new_length", Caught([] { throw std::bad_array_new_length(); }),
       "EOutOfMemory", "Out of memory"},
      {"standard exception", Caught([] { throw std::runtime_error("disk on fire"); }),
       "std::runtime_error", "disk on fire"},
      {"not an exception class", Caught([] { throw 42; }), "Exception", ""},
      {"no failure", nullptr, "Exception", ""},
  };
  for (const auto& c : cases) {
    Described = {};
    DescribeFailure(c.Failure, RecordFailure);
    EXPECT_EQ(Described.Calls, 1) << c.Name;
    EXPECT_EQ(Described.ClassName, c.ClassName) << c.Name;
    EXPECT_EQ(Described.Message, c.Message) << c.Name;
    EXPECT_EQ(Described.Address, nullptr) << c.Name;
  }
}

TEST(DescribeFailure, KeepsTheAddressTheProgramRaisedAt) {
  const std::exception_ptr failure = Caught([] { Raise(EInOutError(2)); });
  Described = {};
  DescribeFailure(failure, RecordFailure);
  EXPECT_EQ(Described.ClassName, "EInOutError");
  EXPECT_EQ(Described.Message, "File not found");
  EXPECT_NE(Described.Address, nullptr);
}
