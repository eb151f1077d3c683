// Faults: processor and platform exceptions turned into exception objects.
//
// A fault (an access violation, a division by zero, a stack overflow ...) is
// not a C++ exception: it reaches the last-chance handler as the platform's
// exception record, and CreateFaultException makes the object that the
// fatal-error report names. Platform-free: the record is copied into
// TFaultRecord first, so the table and its messages are tested natively too.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "errors/Exceptions.h"

namespace runeplate {

// The parts of a platform exception record the report uses.
struct TFaultRecord {
  uint32_t Code = 0;             // the exception code, 0xC0000005 for an access violation
  const void* Address = nullptr;  // the faulting instruction
  // The record's first two parameters. For an access violation: the kind of
  // access (0 read, anything else write) and the data address.
  uintptr_t Information[2] = {};
};

// The two codes the program treats apart: an access violation's message
// names the access, and a stack overflow is reported from a fresh stack.
constexpr uint32_t AccessViolationCode = 0xC0000005;
constexpr uint32_t StackOverflowCode = 0xC00000FD;

// One row of the fault table: the class a fault's report names, and its
// message. Codes the table does not list are "EExternalException" with the
// message "External exception %X".
struct TFaultKind {
  uint32_t Code;
  const char* ClassName;
  const char* Message;  // null for the access violation, whose message is built
};

constexpr TFaultKind FaultTable[] = {
    {AccessViolationCode, "EAccessViolation", nullptr},
    {0xC000008C, "ERangeError", "Range check error"},                  // array bounds exceeded
    {0xC000008D, "EUnderflow", "Floating point underflow"},            // denormal operand
    {0xC000008E, "EZeroDivide", "Floating point division by zero"},
    {0xC000008F, "EInvalidOp", "Invalid floating point operation"},    // inexact result
    {0xC0000090, "EInvalidOp", "Invalid floating point operation"},    // invalid operation
    {0xC0000091, "EOverflow", "Floating point overflow"},
    {0xC0000092, "EInvalidOp", "Invalid floating point operation"},    // stack check
    {0xC0000093, "EUnderflow", "Floating point underflow"},
    {0xC0000094, "EDivByZero", "Division by zero"},                    // integer
    {0xC0000095, "EIntOverflow", "Integer overflow"},
    {0xC0000096, "EPrivilege", "Privileged instruction"},
    {StackOverflowCode, "EStackOverflow", "Stack overflow"},
    {0xC000013A, "EControlC", "Control-C hit"},                         // Ctrl+C exit
};

// A fault as the report names it. Address is the faulting instruction.
class EExternal : public Exception {
 public:
  EExternal(std::string className, std::string message, const TFaultRecord& fault);
  TFaultRecord Fault;
};

// The object for a fault, by its code. CodeModuleName is the file name
// (without directory) of the module that holds the faulting instruction, or
// null when it lies in no module; only the access violation message uses it.
std::unique_ptr<EExternal> CreateFaultException(const TFaultRecord& fault,
                                                const char* codeModuleName);

// "Access violation at address %p in module '%s'. %s of address %p", or
// without the module part when ModuleName is null; Read or Write; both
// addresses absolute, in upper-case hexadecimal at full pointer width.
std::string AccessViolationMessage(const void* codeAddress, const char* moduleName, bool write,
                                   const void* dataAddress);

}  // namespace runeplate
