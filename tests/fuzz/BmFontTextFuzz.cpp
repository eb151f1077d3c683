// A text BMFont's .fnt: every line is parsed and checked, and a file is read
// or refused with one line naming the file (its pages, looked for beside it,
// are mostly missing here, which is refused the same way).
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "fontgen/BmFontSource.h"
#include "fontgen/FontGenError.h"

using namespace runeplate;
using runeplate::fuzz::IsOneLine;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    const fontgen::TFontSource source = fontgen::LoadBmFontSource("fuzz.fnt", bytes);
    Require(source.Kind == fontgen::TSourceKind::BmFont, "a BMFont is read as one");
  } catch (const fontgen::TFontGenError& refusal) {
    Require(IsOneLine(refusal.what()), "a refusal is one line");
  }
  return 0;
}
