// ErrorReport: where every failure ends.
//
// Nothing in the program catches a failure and goes on. A C++ exception
// travels to the one catch at the entry (RunGuarded), the stack unwinding on
// the way; a processor fault reaches LastChanceHandler, the process's
// unhandled-exception filter. Either way one message box titled
// "Application Error" names the exception's class, the module and offset of
// the code that raised it and its message, and the process ends with exit
// code 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

#include <windows.h>

#include "errors/Exceptions.h"
#include "errors/ReportText.h"

namespace runeplate {

// Where a code address lies: the file name of its module without directory,
// and the address's offset from the module's start. An address in no module
// is put in the program's own executable at address - 4096 (0 stays 0).
struct TCodeLocation {
  char ModuleName[ReportModuleNameLimit + 1];
  uint32_t Offset;
  bool InModule;  // false when the executable stands in for an unknown module
};
TCodeLocation LocateCodeAddress(const void* address);

// Writes the report text of Failure raised at Address into Buffer (see
// FormatReportText: at most Size - 1 characters and a terminating zero) and
// returns its length.
size_t FormatExceptionReport(const Exception& failure, const void* address, char* buffer,
                             size_t size);

// Shows the report of Failure raised at Address in a task-modal message box
// without owner and returns when it has been closed.
void ShowExceptionReport(const Exception& failure, const void* address);

// True from the moment a report is about to be shown: the box's modal message
// loop still dispatches to the program's window, which must draw no more.
bool ReportInProgress();

// The process's unhandled-exception filter: reports a processor or platform
// fault by the fault table and ends the process with exit code 1. Leaves
// unwinding records to the platform, and lets a C++ exception that found no
// handler go back to the C++ runtime, which then calls std::terminate.
LONG WINAPI LastChanceHandler(EXCEPTION_POINTERS* info);

// Installs LastChanceHandler, and a terminate handler that reports the C++
// exception in flight the same way.
void ArmLastChanceHandler();

// Removes LastChanceHandler and ends the process with ExitCode.
[[noreturn]] void EndProgram(int32_t exitCode);

// Reports Failure (DescribeFailure decides what it is called) and ends the
// process with exit code 1. A failure during a report ends it without a
// second box.
[[noreturn]] void ReportFailureAndEnd(const std::exception_ptr& failure);

// The program's last-chance catch: returns Body's result, or, when Body
// raises anything, reports it once its stack has unwound and ends the
// process with exit code 1.
int32_t RunGuarded(int32_t (*body)());

}  // namespace runeplate
