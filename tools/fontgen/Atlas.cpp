#include "fontgen/Atlas.h"

namespace runeplate::fontgen {

TFontImage ComposeAtlas(const TAsciiCells& ascii, const THangulGlyphs& jamo) {
  TFontImage atlas;
  for (int32_t code = 0; code < 128; ++code) {
    const TRect cell = AsciiCell(code);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 8; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, (ascii[code][y] >> (7 - x)) & 1);
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    const TRect cell = HangulCell(g);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, jamo[g].Pixel(x, y));
  }
  return atlas;
}

}  // namespace runeplate::fontgen
