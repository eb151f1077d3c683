#include "errors/ReportText.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <typeinfo>

namespace runeplate {

namespace {

// Made before the program's own code runs, so that reporting exhausted memory
// needs none.
const EOutOfMemory OutOfMemory;

}  // namespace

size_t FormatReportText(const char* className, const char* moduleName, uint32_t offset,
                        const char* message, char* buffer, size_t size) {
  if (size == 0) return 0;
  const size_t messageLength = std::strlen(message);
  const char* ending = messageLength > 0 && message[messageLength - 1] != '.' ? "." : "";
  int moduleLength = 0;
  while (moduleLength < static_cast<int>(ReportModuleNameLimit) && moduleName[moduleLength])
    ++moduleLength;
  const int written =
      std::snprintf(buffer, size, "Exception %s in module %.*s at %08X.\n%s%s", className,
                    moduleLength, moduleName, static_cast<unsigned>(offset), message, ending);
  if (written < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(written) < size ? static_cast<size_t>(written) : size - 1;
}

namespace {

// The class name the report gives a standard exception: its type's name, as
// the compiler spells it in source ("std::runtime_error").
std::string ForeignClassName(const std::exception& failure) {
  const char* mangled = typeid(failure).name();
  int status = 0;
  char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : mangled;
  std::free(demangled);
  return name;
}

}  // namespace

void DescribeFailure(const std::exception_ptr& failure, TFailureReport report) {
  if (!failure) {
    report(Exception("Exception", ""), nullptr);
    return;
  }
  try {
    std::rethrow_exception(failure);
  } catch (const Exception& raised) {
    report(raised, raised.Address);
  } catch (const std::bad_alloc&) {
    report(OutOfMemory, nullptr);
  } catch (const std::exception& other) {
    report(Exception(ForeignClassName(other), other.what()), nullptr);
  } catch (...) {
    report(Exception("Exception", ""), nullptr);
  }
}

}  // namespace runeplate
