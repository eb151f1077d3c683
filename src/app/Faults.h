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

#include "Exceptions.h"

namespace runeplate {

// The parts of a platform exception record the report uses.
struct TFaultRecord {
  uint32_t Code = 0;             // the exception code, 0xC0000005 for an access violation
  const void* Address = nullptr;  // the faulting instruction
  // The record's first two parameters. For an access violation: the kind of
  // access (0 read, anything else write) and the data address.
  uintptr_t Information[2] = {};
};

// Exception codes of the fault table.
constexpr uint32_t AccessViolationCode = 0xC0000005;
constexpr uint32_t ArrayBoundsExceededCode = 0xC000008C;
constexpr uint32_t FloatDenormalOperandCode = 0xC000008D;
constexpr uint32_t FloatDivideByZeroCode = 0xC000008E;
constexpr uint32_t FloatInexactResultCode = 0xC000008F;
constexpr uint32_t FloatInvalidOperationCode = 0xC0000090;
constexpr uint32_t FloatOverflowCode = 0xC0000091;
constexpr uint32_t FloatStackCheckCode = 0xC0000092;
constexpr uint32_t FloatUnderflowCode = 0xC0000093;
constexpr uint32_t IntegerDivideByZeroCode = 0xC0000094;
constexpr uint32_t IntegerOverflowCode = 0xC0000095;
constexpr uint32_t PrivilegedInstructionCode = 0xC0000096;
constexpr uint32_t StackOverflowCode = 0xC00000FD;
constexpr uint32_t ControlCExitCode = 0xC000013A;

// Root of the fault classes: keeps the fault's record. Address is the
// faulting instruction.
class EExternal : public Exception {
 public:
  EExternal(std::string className, std::string message, const TFaultRecord& fault);
  TFaultRecord Fault;
};

class EAccessViolation : public EExternal {
 public:
  EAccessViolation(std::string message, const TFaultRecord& fault)
      : EExternal("EAccessViolation", std::move(message), fault) {}
};
class ERangeError : public EExternal {
 public:
  explicit ERangeError(const TFaultRecord& fault)
      : EExternal("ERangeError", "Range check error", fault) {}
};
class EUnderflow : public EExternal {
 public:
  explicit EUnderflow(const TFaultRecord& fault)
      : EExternal("EUnderflow", "Floating point underflow", fault) {}
};
class EZeroDivide : public EExternal {
 public:
  explicit EZeroDivide(const TFaultRecord& fault)
      : EExternal("EZeroDivide", "Floating point division by zero", fault) {}
};
class EInvalidOp : public EExternal {
 public:
  explicit EInvalidOp(const TFaultRecord& fault)
      : EExternal("EInvalidOp", "Invalid floating point operation", fault) {}
};
class EOverflow : public EExternal {
 public:
  explicit EOverflow(const TFaultRecord& fault)
      : EExternal("EOverflow", "Floating point overflow", fault) {}
};
class EDivByZero : public EExternal {
 public:
  explicit EDivByZero(const TFaultRecord& fault)
      : EExternal("EDivByZero", "Division by zero", fault) {}
};
class EIntOverflow : public EExternal {
 public:
  explicit EIntOverflow(const TFaultRecord& fault)
      : EExternal("EIntOverflow", "Integer overflow", fault) {}
};
class EPrivilege : public EExternal {
 public:
  explicit EPrivilege(const TFaultRecord& fault)
      : EExternal("EPrivilege", "Privileged instruction", fault) {}
};
class EStackOverflow : public EExternal {
 public:
  explicit EStackOverflow(const TFaultRecord& fault)
      : EExternal("EStackOverflow", "Stack overflow", fault) {}
};
class EControlC : public EExternal {
 public:
  explicit EControlC(const TFaultRecord& fault) : EExternal("EControlC", "Control-C hit", fault) {}
};
// Any code the table does not list: "External exception %X".
class EExternalException : public EExternal {
 public:
  explicit EExternalException(const TFaultRecord& fault);
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
