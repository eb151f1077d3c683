// What the composer's tests share: an atlas with a different pattern in
// every cell, and a character's expected picture read pixel by pixel.
#pragma once

#include <cstdint>

#include "font/FontFile.h"
#include "font/GlyphComposer.h"

namespace runeplate {

// An atlas with a different pattern in every cell, so a wrong row, column,
// shift or order shows.
inline TFontImage NoiseAtlas() {
  TFontImage image;
  uint32_t state = 12345;
  for (uint8_t& byte : image.Bits) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(state >> 16);
  }
  return image;
}

// The picture of `rects` read texel by texel, as the program's quads copy them.
inline TCellBitmap Expected(const TFontImage& atlas, const TGlyphRects& rects) {
  TCellBitmap cell{};
  if (rects.Count == 0) return cell;
  cell.Width = rects.Rects[0].Right - rects.Rects[0].Left;
  cell.Height = rects.Rects[0].Bottom - rects.Rects[0].Top;
  for (int32_t k = 0; k < rects.Count; ++k)
    for (int32_t y = 0; y < cell.Height; ++y)
      for (int32_t x = 0; x < cell.Width; ++x)
        if (atlas.IsInk(rects.Rects[k].Left + x, rects.Rects[k].Top + y))
          cell.Rows[y] = static_cast<uint16_t>(cell.Rows[y] | 0x8000u >> x);
  return cell;
}

inline bool Same(const TCellBitmap& a, const TCellBitmap& b) {
  if (a.Width != b.Width || a.Height != b.Height) return false;
  for (int32_t y = 0; y < 16; ++y)
    if (a.Rows[y] != b.Rows[y]) return false;
  return true;
}


}  // namespace runeplate
