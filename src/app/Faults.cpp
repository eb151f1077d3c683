#include "Faults.h"

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

EExternalException::EExternalException(const TFaultRecord& fault)
    : EExternal("EExternalException", ExternalExceptionMessage(fault.Code), fault) {}

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
  switch (fault.Code) {
    case AccessViolationCode:
      return std::make_unique<EAccessViolation>(
          AccessViolationMessage(fault.Address, codeModuleName, fault.Information[0] != 0,
                                 reinterpret_cast<const void*>(fault.Information[1])),
          fault);
    case ArrayBoundsExceededCode:
      return std::make_unique<ERangeError>(fault);
    case FloatDenormalOperandCode:
    case FloatUnderflowCode:
      return std::make_unique<EUnderflow>(fault);
    case FloatDivideByZeroCode:
      return std::make_unique<EZeroDivide>(fault);
    case FloatInexactResultCode:
    case FloatInvalidOperationCode:
    case FloatStackCheckCode:
      return std::make_unique<EInvalidOp>(fault);
    case FloatOverflowCode:
      return std::make_unique<EOverflow>(fault);
    case IntegerDivideByZeroCode:
      return std::make_unique<EDivByZero>(fault);
    case IntegerOverflowCode:
      return std::make_unique<EIntOverflow>(fault);
    case PrivilegedInstructionCode:
      return std::make_unique<EPrivilege>(fault);
    case StackOverflowCode:
      return std::make_unique<EStackOverflow>(fault);
    case ControlCExitCode:
      return std::make_unique<EControlC>(fault);
    default:
      return std::make_unique<EExternalException>(fault);
  }
}

}  // namespace runeplate
