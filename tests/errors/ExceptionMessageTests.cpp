// The messages the failures carry: I/O errors, assertions, failed system
// calls, and the processor faults of the fault table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "errors/Exceptions.h"
#include "errors/Faults.h"

using namespace runeplate;

TEST(InOutError, MessageComesFromTheCodeTableOrNamesTheCode) {
  struct {
    int32_t Code;
    const char* Message;
  } cases[] = {
      {2, "File not found"},          {3, "Invalid filename"},
      {4, "Too many open files"},     {5, "File access denied"},
      {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {131, "I/O error 131"},
      {32, "I/O error 32"},           {0, "I/O error 0"},
      {-1, "I/O error -1"},
  };
  for (const auto& c : cases) {
    const EInOutError failure(c.Code);
    EXPECT_EQ(failure.Message(), c.Message) << c.Code;
    EXPECT_EQ(failure.ErrorCode, c.Code);
    EXPECT_EQ(failure.ClassName(), "EInOutError");
  }
}

TEST(AssertionFailed, MessageNamesSourceFileAndLine) {
  EXPECT_EQ(EAssertionFailed("Assertion failure", "src/dx/UDxApp.cpp", 156).Message(),
            "Assertion failure (src/dx/UDxApp.cpp, line 156)");
  EXPECT_EQ(EAssertionFailed("", "src/dx/UDxApp.cpp", 182).Message(),
            "Assertion failed (src/dx/UDxApp.cpp, line 182)");
}

TEST(AssertionFailed, AssertRaisesWithThisFileAndLineAndTheRaiseSite) {
  const int line = __LINE__ + 2;
  try {
    RUNEPLATE_ASSERT(1 + 1 == 3);
    FAIL() << "no exception";
  } catch (const EAssertionFailed& failure) {
    EXPECT_EQ(failure.ClassName(), "EAssertionFailed");
    EXPECT_EQ(failure.Message(),
              std::string("Assertion failure (") + __FILE__ + ", line " + std::to_string(line) + ")");
    EXPECT_NE(failure.Address, nullptr);
  }
}

TEST(OSError, MessageNamesTheCallAndTheSystemErrorCode) {
  const EOSError failure("RegisterClassA", 1410);
  EXPECT_EQ(failure.ClassName(), "EOSError");
  EXPECT_EQ(failure.Message(), "RegisterClassA failed, system error 1410");
  EXPECT_EQ(failure.ErrorCode, 1410u);
}

TEST(FaultTable, EachCodeGivesItsClassAndMessage) {
  struct {
    uint32_t Code;
    const char* ClassName;
    const char* Message;
  } cases[] = {
      {0xC000008C, "ERangeError", "Range check error"},
      {0xC000008D, "EUnderflow", "Floating point underflow"},
      {0xC0000093, "EUnderflow", "Floating point underflow"},
      {0xC000008E, "EZeroDivide", "Floating point division by zero"},
      {0xC000008F, "EInvalidOp", "Invalid floating point operation"},
      {0xC0000090, "EInvalidOp", "Invalid floating point operation"},
      {0xC0000092, "EInvalidOp", "Invalid floating point operation"},
      {0xC0000091, "EOverflow", "Floating point overflow"},
      {0xC0000094, "EDivByZero", "Division by zero"},
      {0xC0000095, "EIntOverflow", "Integer overflow"},
      {0xC0000096, "EPrivilege", "Privileged instruction"},
      {0xC00000FD, "EStackOverflow", "Stack overflow"},
      {0xC000013A, "EControlC", "Control-C hit"},
      {0xC0000409, "EExternalException", "External exception C0000409"},
      {0xE06D7363, "EExternalException", "External exception E06D7363"},
      {0x0000ABCD, "EExternalException", "External exception ABCD"},
      {0, "EExternalException", "External exception 0"},
  };
  for (const auto& c : cases) {
    TFaultRecord fault;
    fault.Code = c.Code;
    fault.Address = reinterpret_cast<const void*>(0x140001234);
    const auto failure = CreateFaultException(fault, "runeplate.exe");
    EXPECT_EQ(failure->ClassName(), c.ClassName) << std::hex << c.Code;
    EXPECT_EQ(failure->Message(), c.Message) << std::hex << c.Code;
    EXPECT_EQ(failure->Address, fault.Address) << "the report points at the faulting instruction";
    EXPECT_EQ(failure->Fault.Code, c.Code);
  }
}

TEST(FaultTable, AccessViolationNamesAccessKindAndAbsoluteAddresses) {
  static_assert(sizeof(void*) == 8, "expected texts are written for 64-bit addresses");
  struct {
    uintptr_t Kind;
    uintptr_t DataAddress;
    const char* Module;
    const char* Message;
  } cases[] = {
      {0, 0x10, "runeplate.exe",
       "Access violation at address 0000000140001234 in module 'runeplate.exe'. "
       "Read of address 0000000000000010"},
      {1, 0x7FFE0000DEAD, "runeplate.exe",
       "Access violation at address 0000000140001234 in module 'runeplate.exe'. "
       "Write of address 00007FFE0000DEAD"},
      // Any kind but 0 is reported as a write, execution (8) included.
      {8, 0xFFFFFFFFFFFFFFFF, nullptr,
       "Access violation at address 0000000140001234. Write of address FFFFFFFFFFFFFFFF"},
      {0, 0, nullptr,
       "Access violation at address 0000000140001234. Read of address 0000000000000000"},
  };
  for (const auto& c : cases) {
    TFaultRecord fault;
    fault.Code = AccessViolationCode;
    fault.Address = reinterpret_cast<const void*>(0x140001234);
    fault.Information[0] = c.Kind;
    fault.Information[1] = c.DataAddress;
    const auto failure = CreateFaultException(fault, c.Module);
    EXPECT_EQ(failure->ClassName(), "EAccessViolation");
    EXPECT_EQ(failure->Message(), c.Message);
  }
}
