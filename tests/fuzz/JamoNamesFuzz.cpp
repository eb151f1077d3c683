// Jamo-name templates from --jamo-names: a scheme is read or refused with a
// reason, and every glyph of a scheme that was read has a name.
#include <string>

#include "FuzzTarget.h"
#include "fontgen/JamoNames.h"
#include "text/UDrawText.h"

using namespace runeplate;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fontgen::TJamoNames names;
  std::string error;
  if (!fontgen::ParseJamoNames(text, names, error)) {
    Require(!error.empty(), "a refusal gives a reason");
    return 0;
  }
  for (int32_t glyph = 0; glyph < HangulGlyphCount; ++glyph) fontgen::JamoGlyphName(names, glyph);
  return 0;
}
