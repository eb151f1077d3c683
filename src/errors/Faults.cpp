#include "errors/Faults.h"

#include <cstdio>

namespace runeplate {

EExternal::EExternal(std::string className, std::string message, const TFaultRecord& fault)
    : Exception(std::move(className), std::move(message)), Fault(fault) {
  Address = fault.Address;
}

namespace {

std::string ExternalExceptionMessage(uint32_t code) {
  char text[32];
  std::snprintf(text, sizeof text, "External exception %X", static_cast<unsigned>(code));
  return text;
}

// An address as the report writes absolute ones: every digit of the pointer.
void FormatAbsoluteAddress(const void* address, char (&text)[2 * sizeof(void*) + 1]) {
  std::snprintf(text, sizeof text, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
}

}  // namespace

std::string AccessViolationMessage(const void* codeAddress, const char* moduleName, bool write,
                                   const void* dataAddress) {
  char code[2 * sizeof(void*) + 1];
  char data[2 * sizeof(void*) + 1];
  FormatAbsoluteAddress(codeAddress, code);
  FormatAbsoluteAddress(dataAddress, data);
  const char* access = write ? "Write" : "Read";
  std::string text = std::string("Access violation at address ") + code;
  if (moduleName) text = text + " in module '" + moduleName + "'";
  return text + ". " + access + " of address " + data;
}

std::unique_ptr<EExternal> CreateFaultException(const TFaultRecord& fault,
                                                const char* codeModuleName) {
  for (const TFaultKind& kind : FaultTable) {
    if (kind.Code != fault.Code) continue;
    std::string message =
        kind.Message ? kind.Message
                     : AccessViolationMessage(fault.Address, codeModuleName,
                                              fault.Information[0] != 0,
                                              reinterpret_cast<const void*>(fault.Information[1]));
    return std::make_unique<EExternal>(kind.ClassName, std::move(message), fault);
  }
  return std::make_unique<EExternal>("EExternalException", ExternalExceptionMessage(fault.Code),
                                     fault);
}

}  // namespace runeplate
