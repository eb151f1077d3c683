#include "fontgen/Atlas.h"

namespace runeplate::fontgen {

TFontImage BuildAtlas(const TUnifontSource& source, const THangulGlyphs& glyphs) {
  TFontImage atlas;
  for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code) {
    const TRect cell = AsciiCell(static_cast<int32_t>(code));
    const auto& rows = source.Ascii[code - FirstPrintableAscii];
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 8; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, (rows[y] >> (7 - x)) & 1);
    }
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    const TRect cell = HangulCell(g);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, glyphs[g].Pixel(x, y));
    }
  }
  return atlas;
}

}  // namespace runeplate::fontgen
