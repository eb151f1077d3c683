// CellPainter: the cell callback of the engine's walks (ForEachCell and its
// composed and UTF-8 forms) that draws text into a picture as the program's
// Direct3D layer does: each character composed from the atlas (ComposeCell)
// and its ink painted whole in one colour, clear pixels left as they were,
// everything clipped to the picture. The program draws a character's glyphs
// one over the other in one colour, which paints exactly the pixels of their
// OR, so the two agree pixel for pixel.
#pragma once

#include <cstdint>

#include "common/Picture.h"
#include "font/FontFile.h"
#include "font/GlyphComposer.h"

namespace runeplate {

// Paints the ink of `cell` in `rgb` (0x00RRGGBB) with its top-left corner at
// (`x`, `y`) of `image`, clipped to the image.
void PaintCell(TRgbImage& image, const TCellBitmap& cell, int32_t x, int32_t y, uint32_t rgb);

struct TCellPainter {
  TRgbImage& Image;
  const TFontImage& Font;
  uint32_t Rgb;  // 0x00RRGGBB
  void operator()(int32_t x, int32_t y, const TGlyphRects& rects) const {
    TCellBitmap cell;
    ComposeCell(ViewOf(Font), rects, cell);
    PaintCell(Image, cell, x, y, Rgb);
  }
};

}  // namespace runeplate
