#include "report/ErrorReport.h"

#include <cstring>
#include <memory>

#include "errors/Faults.h"

namespace runeplate {

namespace {

// Set once, by whichever report starts first.
volatile LONG ReportStarted = 0;

bool StartReport() { return InterlockedExchange(&ReportStarted, 1) == 0; }

const char* FileNamePart(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

void CopyModuleName(const char* path, TCodeLocation& location) {
  const char* name = FileNamePart(path);
  const size_t length = strnlen(name, ReportModuleNameLimit);
  std::memcpy(location.ModuleName, name, length);
  location.ModuleName[length] = '\0';
}

// What the C++ runtime raises for a throw; mingw's own start-up filter also
// lets these go back to the runtime. The low letters spell "GCC".
constexpr DWORD CxxExceptionMask = 0x20FFFFFF;
constexpr DWORD CxxExceptionMagic = 0x20474343;

bool IsCxxException(const EXCEPTION_RECORD& record) {
  return (record.ExceptionCode & CxxExceptionMask) == CxxExceptionMagic;
}

void TerminateWithReport() { ReportFailureAndEnd(std::current_exception()); }

void ReportFault(const TFaultRecord& fault) {
  const TCodeLocation location = LocateCodeAddress(fault.Address);
  const std::unique_ptr<EExternal> failure =
      CreateFaultException(fault, location.InModule ? location.ModuleName : nullptr);
  ShowExceptionReport(*failure, fault.Address);
}

DWORD WINAPI ReportFaultThread(void* fault) {
  ReportFault(*static_cast<const TFaultRecord*>(fault));
  return 0;
}

// After a stack overflow the faulting thread has too little stack left for a
// message box, so the report gets a thread of its own.
void ReportFaultOnFreshStack(const TFaultRecord& fault) {
  TFaultRecord copy = fault;
  HANDLE thread = CreateThread(nullptr, 1 << 20, ReportFaultThread, &copy, 0, nullptr);
  if (!thread) return;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

}  // namespace

TCodeLocation LocateCodeAddress(const void* address) {
  TCodeLocation location = {};
  // Longer than MAX_PATH: Wine's paths of Unix folders (Z:\...) can be long.
  char path[4096];
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQuery(address, &region, sizeof region) != 0 && region.State == MEM_COMMIT &&
      GetModuleFileNameA(static_cast<HMODULE>(region.AllocationBase), path, sizeof path) != 0) {
    CopyModuleName(path, location);
    location.Offset = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address) -
                                            reinterpret_cast<uintptr_t>(region.AllocationBase));
    location.InModule = true;
    return location;
  }
  if (GetModuleFileNameA(nullptr, path, sizeof path) == 0) path[0] = '\0';
  CopyModuleName(path, location);
  const uintptr_t value = reinterpret_cast<uintptr_t>(address);
  location.Offset = static_cast<uint32_t>(value == 0 ? 0 : value - 4096);
  return location;
}

size_t FormatExceptionReport(const Exception& failure, const void* address, char* buffer,
                             size_t size) {
  const TCodeLocation location = LocateCodeAddress(address);
  return FormatReportText(failure.ClassName().c_str(), location.ModuleName, location.Offset,
                          failure.Message().c_str(), buffer, size);
}

void ShowExceptionReport(const Exception& failure, const void* address) {
  char text[ReportTextLimit + 1];
  FormatExceptionReport(failure, address, text, sizeof text);
  ReportStarted = 1;
  MessageBoxA(nullptr, text, ReportTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

bool ReportInProgress() { return ReportStarted != 0; }

LONG WINAPI LastChanceHandler(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& record = *info->ExceptionRecord;
  if (record.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return EXCEPTION_CONTINUE_SEARCH;
  if (IsCxxException(record))
    return record.ExceptionFlags & EXCEPTION_NONCONTINUABLE ? EXCEPTION_CONTINUE_SEARCH
                                                             : EXCEPTION_CONTINUE_EXECUTION;
  if (!StartReport()) EndProgram(1);

  TFaultRecord fault;
  fault.Code = record.ExceptionCode;
  fault.Address = record.ExceptionAddress;
  for (DWORD i = 0; i < 2 && i < record.NumberParameters; ++i)
    fault.Information[i] = record.ExceptionInformation[i];
  if (fault.Code == StackOverflowCode)
    ReportFaultOnFreshStack(fault);
  else
    ReportFault(fault);
  EndProgram(1);
}

void ArmLastChanceHandler() {
  SetUnhandledExceptionFilter(LastChanceHandler);
  std::set_terminate(TerminateWithReport);
}

void EndProgram(int32_t exitCode) {
  SetUnhandledExceptionFilter(nullptr);
  ExitProcess(static_cast<UINT>(exitCode));
}

void ReportFailureAndEnd(const std::exception_ptr& failure) {
  if (StartReport()) DescribeFailure(failure, ShowExceptionReport);
  EndProgram(1);
}

int32_t RunGuarded(int32_t (*body)()) {
  try {
    return body();
  } catch (...) {
    ReportFailureAndEnd(std::current_exception());
  }
}

}  // namespace runeplate
