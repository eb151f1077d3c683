#include "errors/Exceptions.h"

#include <cstdio>

namespace runeplate {

namespace {

// Class names are short identifiers; the report reserves 255 characters.
std::string LimitClassName(std::string name) {
  if (name.size() > 255) name.resize(255);
  return name;
}

}  // namespace

Exception::Exception(std::string className, std::string message)
    : className_(LimitClassName(std::move(className))), message_(std::move(message)) {}

std::string InOutErrorMessage(int32_t code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

EInOutError::EInOutError(int32_t code)
    : Exception("EInOutError", InOutErrorMessage(code)), ErrorCode(code) {}

namespace {

std::string AssertionText(const std::string& message, const char* file, int line) {
  const std::string text = message.empty() ? "Assertion failed" : message;
  return text + " (" + (file ? file : "") + ", line " + std::to_string(line) + ")";
}

}  // namespace

EAssertionFailed::EAssertionFailed(const std::string& message, const char* file, int line)
    : Exception("EAssertionFailed", AssertionText(message, file, line)) {}

EOutOfMemory::EOutOfMemory() : Exception("EOutOfMemory", "Out of memory") {}

namespace {

std::string OSErrorText(const std::string& call, uint32_t errorCode) {
  char code[16];
  std::snprintf(code, sizeof code, "%u", static_cast<unsigned>(errorCode));
  return call + " failed, system error " + code;
}

}  // namespace

EOSError::EOSError(const std::string& call, uint32_t errorCode)
    : Exception("EOSError", OSErrorText(call, errorCode)), ErrorCode(errorCode) {}

}  // namespace runeplate
