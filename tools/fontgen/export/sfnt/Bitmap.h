// Bitmap: the EBLC and EBDT tables of a bitmap-only OpenType font (the .otb
// that Pango and other FreeType programs take for a pixel font): one strike
// of 16 pixels per em, one bit a pixel, every glyph's picture in it.
//
// Glyphs in a row of the glyph order that share a size (the 8-pixel ASCII
// cells, the 16-pixel rest) share one index subtable of format 2, which
// gives their metrics once, and their pictures are stored in image format
// 5, bit-aligned with no metrics of their own: a 16 x 16 glyph is its 32
// bytes and nothing more.
#pragma once

#include <cstdint>
#include <vector>

#include "font/GlyphComposer.h"

namespace runeplate::fontgen::sfnt {

constexpr int32_t StrikePixelsPerEm = 16;

struct TBitmapTables {
  std::vector<uint8_t> Eblc;
  std::vector<uint8_t> Ebdt;
};

// The strike of `pictures` (glyph g's picture at `pictures`[g], .notdef's
// included, each Width x Height pixels with its row 0 `ascent` rows above the
// baseline and an advance of Width pixels) on a line of `ascent` pixels
// above the baseline and `descent` below. Throws std::invalid_argument for
// no picture, more than 65,535, or a size beyond 16 x 16 pixels or a line
// beyond 127 pixels.
TBitmapTables BitmapTables(const std::vector<TCellBitmap>& pictures, int32_t ascent, int32_t descent);

}  // namespace runeplate::fontgen::sfnt
