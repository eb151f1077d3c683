// Exceptions: the failures that end the program through the fatal-error report.
//
// Every failure the program cannot go on from is thrown as one of these and
// caught by nobody but the last-chance catch at the entry, which shows
// "Exception <ClassName> in module <module> at <offset>.\n<Message>." and
// exits with code 1. Platform-free: the classes and their messages build and
// are tested natively too.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace runeplate {

// Root of the program's exceptions: a class name (at most 255 characters) and
// a message. Address is the code address the failure was raised at (0 when
// unknown); Raise fills it in.
class Exception : public std::exception {
 public:
  Exception(std::string className, std::string message);
  const std::string& ClassName() const { return className_; }
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

  const void* Address = nullptr;

 private:
  std::string className_;
  std::string message_;
};

// A failed file operation, with its numeric I/O error code.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int32_t code);
  int32_t ErrorCode;
};

// Message of an I/O error code: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of
// file", 101 "Disk full", 106 "Invalid numeric input", else "I/O error %d".
std::string InOutErrorMessage(int32_t code);

// A failed assertion: "%s (%s, line %d)" from the message ("Assertion failed"
// when empty), the source file and the line.
class EAssertionFailed : public Exception {
 public:
  EAssertionFailed(const std::string& message, const char* file, int line);
};

// Exhausted memory ("Out of memory").
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory();
};

// A failure of the platform itself (a failed system call), named by the call
// and the system error code.
class EOSError : public Exception {
 public:
  EOSError(const std::string& call, uint32_t errorCode);
  uint32_t ErrorCode;
};

// Throws E with Address set to the raise site (the caller of Raise).
template <class E>
[[noreturn]] __attribute__((noinline)) void Raise(E e) {
  e.Address = __builtin_extract_return_addr(__builtin_return_address(0));
  throw e;
}

}  // namespace runeplate

// Raises EAssertionFailed("Assertion failure", __FILE__, Line) when Cond is
// false: for checks whose report users quote, so Line is a fixed number of
// the check's own rather than wherever the check happens to sit in the file.
#define RUNEPLATE_ASSERT_AT(cond, line)                                         \
  do {                                                                          \
    if (!(cond))                                                                \
      ::runeplate::Raise(::runeplate::EAssertionFailed("Assertion failure",   \
                                                       __FILE__, (line)));     \
  } while (0)

// Raises EAssertionFailed("Assertion failure", __FILE__, __LINE__) when Cond
// is false.
#define RUNEPLATE_ASSERT(cond) RUNEPLATE_ASSERT_AT(cond, __LINE__)
