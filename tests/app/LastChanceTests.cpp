// The whole failure path in a child process: a failure raised or a fault
// taken there ends in one "Application Error" box with the expected text, and
// the process ends with exit code 1 once OK is pressed.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "support/msgbox/MessageBoxReader.h"

using namespace runeplate;

namespace {

std::string ChildPath() {
  char path[4096];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path, length);
  directory.resize(directory.rfind('\\') + 1);
  return directory + "runeplate_app_fault_child.exe";
}

struct TChildRun {
  bool BoxShown = false;
  TMessageBoxContent Box;
  DWORD ExitCode = 0;
};

// Runs the child in Mode, presses OK on its report if one comes, and returns
// what it showed and its exit code. Every wait is bounded; a child that
// hangs is ended.
TChildRun RunChild(const std::string& mode) {
  TChildRun run;
  std::string commandLine = "\"" + ChildPath() + "\" " + mode;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
    return run;
  }
  // A child that ends without a report is not waited for any longer.
  const DWORD start = GetTickCount();
  HWND box = nullptr;
  while (!box && GetTickCount() - start < 20000 &&
         WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    box = WaitForMessageBox("Application Error", 100, process.dwProcessId);
  }
  if (box) {
    run.BoxShown = true;
    run.Box = ReadMessageBox(box);
    EXPECT_TRUE(PressMessageBoxOk(box, 10000)) << mode;
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << mode << ": the child did not end";
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
  GetExitCodeProcess(process.hProcess, &run.ExitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

}  // namespace

TEST(LastChance, EveryFailureIsReportedOnceAndEndsWithExitCode1) {
  const std::string child = R"(runeplate_app_fault_child\.exe)";
  const std::string offset = R"( at [0-9A-F]{8}\.\n)";
  const std::string address = "[0-9A-F]{16}";
  struct {
    const char* Mode;
    std::string Text;  // a regular expression for the whole text
  } cases[] = {
      {"read-null", "Exception EAccessViolation in module " + child + offset +
                        "Access violation at address " + address + " in module '" + child +
                        R"('\. Read of address 0000000000000000\.)"},
      {"write-address", "Exception EAccessViolation in module " + child + offset +
                            "Access violation at address " + address + " in module '" + child +
                            R"('\. Write of address 0000000000000010\.)"},
      {"divide-by-zero",
       "Exception EDivByZero in module " + child + offset + R"(Division by zero\.)"},
      {"raise-external", "Exception EExternalException in module [^ ]+\\.dll" + offset +
                             R"(External exception E0001234\.)"},
      {"stack-overflow",
       "Exception EStackOverflow in module " + child + offset + R"(Stack overflow\.)"},
      {"in-out-error",
       "Exception EInOutError in module " + child + offset + R"(I/O error 131\.)"},
      {"assertion", "Exception EAssertionFailed in module " + child + offset +
                        R"(Assertion failure \(.*FaultChild\.cpp, line \d+\)\.)"},
      {"standard-exception", "Exception std::out_of_range in module " + child +
                                 R"( at 00000000\.\nindex 7\.)"},
      {"out-of-memory",
       "Exception EOutOfMemory in module " + child + R"( at 00000000\.\nOut of memory\.)"},
      {"noexcept-escape",
       "Exception EInOutError in module " + child + offset + R"(File access denied\.)"},
  };
  for (const auto& c : cases) {
    const TChildRun run = RunChild(c.Mode);
    EXPECT_TRUE(run.BoxShown) << c.Mode;
    EXPECT_EQ(run.Box.Title, "Application Error") << c.Mode;
    EXPECT_TRUE(std::regex_match(run.Box.Text, std::regex(c.Text)))
        << c.Mode << ": " << run.Box.Text;
    EXPECT_EQ(run.ExitCode, 1u) << c.Mode;
  }
}

TEST(LastChance, EndProgramPassesTheExitCodeOnWithoutAReport) {
  const TChildRun run = RunChild("exit-7");
  EXPECT_FALSE(run.BoxShown);
  EXPECT_EQ(run.ExitCode, 7u);
}
