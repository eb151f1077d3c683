// Numbers: the one way the tools read a number from text, for command-line
// values and file fields alike.
#pragma once

#include <charconv>
#include <string_view>
#include <system_error>

namespace runeplate {

// Reads the whole of Text as a number in Base into Value: digits only (for a
// signed type one leading '-'), no '+', no spaces, no "0x", within the range
// of T. Returns false and leaves Value alone otherwise.
template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
  const char* last = text.data() + text.size();
  T parsed{};
  const auto [end, ec] = std::from_chars(text.data(), last, parsed, base);
  if (text.empty() || ec != std::errc() || end != last) return false;
  value = parsed;
  return true;
}

}  // namespace runeplate
