// The classic 8x4x4 file: what is read writes back glyph for glyph (the set
// fills, which have no place in the atlas, blank), and nothing outside the
// Hangul cells changes.
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "font/HanFile.h"

using namespace runeplate;
using runeplate::fuzz::Require;

namespace {

// Every pixel of the Hangul cells inked, the rest clear.
TFontImage HangulCells() {
  TFontImage cells;
  for (int32_t glyph = 0; glyph < HangulGlyphCount; ++glyph) {
    const TRect cell = HangulCell(glyph);
    for (int32_t y = cell.Top; y < cell.Bottom; ++y)
      for (int32_t x = cell.Left; x < cell.Right; ++x) cells.SetInk(x, y, true);
  }
  return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  TFontImage image;
  // A diagonal hatch across the whole image, to see what the decoder leaves.
  for (int32_t y = 0; y < FontImageHeight; ++y)
    for (int32_t x = y % 8; x < FontImageWidth; x += 8) image.SetInk(x, y, true);
  const TFontImage before = image;
  const THanDecodeResult result = DecodeHanFile(bytes, image);
  if (!result.Ok) {
    Require(fuzz::IsOneLine(result.Error), "a refusal is one line");
    Require(image == before, "a refused file leaves the image untouched");
    return 0;
  }
  const std::vector<uint8_t> written = EncodeHanFile(image);
  Require(written.size() == HanFileBytes, "the file we write is 11,520 bytes");
  int32_t inkedFills = 0;
  for (int32_t glyph = 0; glyph < HanGlyphCount; ++glyph) {
    const size_t at = size_t(glyph) * HanGlyphBytes;
    bool same = true, blank = true, inked = false;
    for (size_t k = at; k < at + HanGlyphBytes; ++k) {
      same = same && written[k] == bytes[k];
      blank = blank && written[k] == 0;
      inked = inked || bytes[k] != 0;
    }
    if (IsHanFillGlyph(glyph)) {
      Require(blank, "a fill is written blank");
      inkedFills += inked;
    } else {
      Require(same, "a glyph writes back as it was read");
    }
  }
  Require(inkedFills == result.InkedFills, "every inked fill is counted");
  static const TFontImage hangulCells = HangulCells();
  for (size_t k = 0; k < image.Bits.size(); ++k)
    Require(((image.Bits[k] ^ before.Bits[k]) & ~hangulCells.Bits[k]) == 0,
            "nothing outside the Hangul cells changes");
  return 0;
}
