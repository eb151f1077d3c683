// The layout engine's UTF-8 decoder and the walk over UTF-8 runs. Each step
// takes 1 to 4 bytes and gives a code point that re-encodes to exactly those
// bytes, or the replacement character; drawing UTF-8 lays out the same
// glyphs as drawing the UTF-16 of those code points; and every glyph comes
// from inside the atlas.
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "common/Utf8.h"
#include "text/UDrawText.h"

using namespace runeplate;
using runeplate::fuzz::Require;

namespace {

// The glyphs a run draws, as the callback gets them (it carries no context).
std::vector<int32_t> Drawn;

void RecordGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft, int32_t srcTop,
                 int32_t userValue) {
  Require(width > 0 && height > 0 && srcLeft >= 0 && srcTop >= 0 && srcLeft + width <= FontImageWidth &&
              srcTop + height <= FontImageHeight,
          "every glyph comes from inside the atlas");
  Drawn.insert(Drawn.end(), {x, y, width, height, srcLeft, srcTop, userValue});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  std::u16string units;
  for (size_t at = 0; at < size;) {
    uint32_t code = 0;
    const size_t taken = DecodeUtf8(text + at, size - at, code);
    Require(taken >= 1 && taken <= 4 && taken <= size - at, "a step takes 1 to 4 of the bytes left");
    Require(code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF), "a step gives a scalar value");
    if (code != ReplacementCharacter)
      Require(EncodeUtf8(code) == std::string(text + at, taken), "a code point is exactly the bytes it took");
    fuzz::AppendUtf16(units, code);
    at += taken;
  }
  Drawn.clear();
  const int32_t penUtf8 = DrawTextRunUtf8(3, 5, text, size, 0x1234, RecordGlyph);
  const std::vector<int32_t> fromUtf8 = Drawn;
  Drawn.clear();
  const int32_t penUtf16 = DrawTextRun(3, 5, units.data(), units.size(), 0x1234, RecordGlyph);
  Require(penUtf8 == penUtf16 && fromUtf8 == Drawn, "UTF-8 draws as the UTF-16 of its code points");
  Require(MeasureText(units.data(), units.size()) == penUtf16 - 3, "measuring agrees with drawing");
  return 0;
}
