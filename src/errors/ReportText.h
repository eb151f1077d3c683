// ReportText: the words of the fatal-error report, independent of the
// platform.
//
// The report is one message box titled "Application Error" whose text is
// "Exception <class> in module <module> at <offset>.\n<message>." Finding the
// module of an address is the platform's part (ErrorReport); composing the
// text and deciding what a caught failure is called are here, tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "errors/Exceptions.h"

namespace runeplate {

// Title of the report's message box.
constexpr const char* ReportTitle = "Application Error";

// The report text is cut at this many characters.
constexpr size_t ReportTextLimit = 1024;

// The module name in the report is cut at this many characters.
constexpr size_t ReportModuleNameLimit = 260;

// Writes "Exception %s in module %s at %08X.\n%s%s" into `buffer`:
// `className`, `moduleName` (cut at 260 characters), `offset` as exactly 8
// upper-case hexadecimal digits, `message`, and "." when `message` is not
// empty and does not end with one. At most `size` - 1 characters are written,
// followed by a terminating zero; returns their number (0 when `size` is 0).
// Allocates nothing, so it can run after memory has run out.
size_t FormatReportText(const char* className, const char* moduleName, uint32_t offset,
                        const char* message, char* buffer, size_t size);

// Receives the exception object and code address that describe a failure.
using TFailureReport = void (*)(const Exception& failure, const void* address);

// Calls `report` once with what the report shows of the failure `failure`
// holds:
// - one of the program's exceptions: itself, and the address it was raised at;
// - std::bad_alloc: an EOutOfMemory made at start-up ("Out of memory"), address 0;
// - any other std::exception: its type name as class name, what() as message, address 0;
// - anything else (or no failure at all): class "Exception", no message, address 0.
void DescribeFailure(const std::exception_ptr& failure, TFailureReport report);

}  // namespace runeplate
