#include "fontgen/Atlas.h"

namespace runeplate::fontgen {

namespace {

void DrawCell(TFontImage& atlas, const TRect& rect, const TCell& cell) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) atlas.SetInk(rect.Left + x, rect.Top + y, cell.Pixel(x, y));
}

}  // namespace

TFontImage ComposeAtlas(const TAsciiCells& ascii, const THangulGlyphs& jamo, const TLetterCells* letters) {
  TFontImage atlas;
  for (int32_t code = 0; code < 128; ++code) {
    const TRect cell = AsciiCell(code);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 8; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, (ascii[code][y] >> (7 - x)) & 1);
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) DrawCell(atlas, HangulCell(g), jamo[g]);
  if (letters != nullptr) {
    for (int32_t k = 0; k < int32_t(CompatJamoCount); ++k) DrawCell(atlas, LetterCell(k), (*letters)[size_t(k)]);
  }
  return atlas;
}

}  // namespace runeplate::fontgen
