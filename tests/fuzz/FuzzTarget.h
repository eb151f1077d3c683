// What every fuzz target shares: the entry point libFuzzer (or the corpus
// replay in RegressionMain.cpp) calls once an input, the check that ends the
// run when a property fails, so that it counts as a finding like a crash, and
// small helpers the properties need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace runeplate::fuzz {

// Ends the run with `what` on standard error unless `holds`.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Whether `message` is one line, as every refusal must be.
inline bool IsOneLine(const std::string& message) {
  return !message.empty() && message.find('\n') == std::string::npos;
}

// Appends code point `code` (a scalar value) to `units` as UTF-16.
inline void AppendUtf16(std::u16string& units, uint32_t code) {
  if (code < 0x10000) {
    units += static_cast<char16_t>(code);
    return;
  }
  units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
  units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
}

}  // namespace runeplate::fuzz
