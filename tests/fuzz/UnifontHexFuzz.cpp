// GNU Unifont's .hex text: every line is checked, and a file is either read
// whole or refused with one line naming the file and line.
#include <string>
#include <string_view>

#include "FuzzTarget.h"
#include "fontgen/FontGenError.h"
#include "fontgen/UnifontHex.h"
#include "text/UDrawText.h"

using namespace runeplate;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const fontgen::TUnifontSource source = fontgen::ReadUnifontHex(text, "fuzz.hex");
    Require(source.Syllables.size() == SyllableCount, "every syllable is read");
  } catch (const fontgen::TFontGenError& refusal) {
    Require(std::string(refusal.what()).rfind("fuzz.hex", 0) == 0, "a refusal names the file");
  }
  return 0;
}
