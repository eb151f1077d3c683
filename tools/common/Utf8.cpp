#include "common/Utf8.h"

#include <cstdio>
#include <iterator>

#include <utf8.h>

namespace runeplate {

bool DecodeUtf8(std::string_view bytes, std::u16string& units, std::string& error) {
  const auto bad = utf8::find_invalid(bytes.begin(), bytes.end());
  if (bad != bytes.end()) {
    error = "invalid UTF-8 at byte " + std::to_string(bad - bytes.begin());
    return false;
  }
  units.clear();
  utf8::utf8to16(bytes.begin(), bytes.end(), std::back_inserter(units));
  return true;
}

std::string EncodeUtf8(char32_t code) {
  std::string text;
  utf8::append(static_cast<uint32_t>(code), std::back_inserter(text));
  return text;
}

std::string CodePointName(char32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
  return text;
}

}  // namespace runeplate
