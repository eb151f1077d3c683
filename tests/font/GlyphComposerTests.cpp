// The glyph composer: a character's picture, from the atlas in either row
// order, against the rectangles the layout gives it read pixel by pixel.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "font/FontFile.h"
#include "font/GlyphComposer.h"

using namespace runeplate;

namespace {

// An atlas with a different pattern in every cell, so a wrong row, column,
// shift or order shows.
TFontImage NoiseAtlas() {
  TFontImage image;
  uint32_t state = 12345;
  for (uint8_t& byte : image.Bits) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(state >> 16);
  }
  return image;
}

// The picture of `rects` read texel by texel, as the program's quads copy them.
TCellBitmap Expected(const TFontImage& atlas, const TGlyphRects& rects) {
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

bool Same(const TCellBitmap& a, const TCellBitmap& b) {
  if (a.Width != b.Width || a.Height != b.Height) return false;
  for (int32_t y = 0; y < 16; ++y)
    if (a.Rows[y] != b.Rows[y]) return false;
  return true;
}

}  // namespace

// Every code unit of the program's line, and every code point of composed
// text with and without letter cells, from the image in memory and from the
// file's bottom-up pixel block. Catches a row taken from the wrong end, a
// shift off by a pixel, a glyph of a Hangul character left out, or the
// composed layout of a lone code point differing from the walks'.
TEST(GlyphComposer, EveryCharacterIsTheOrOfItsRectanglesInEitherRowOrder) {
  const TFontImage atlas = NoiseAtlas();
  const std::vector<uint8_t> block = EncodeFontPixels(atlas);
  const TFontView views[] = {ViewOf(atlas), {block.data(), FontBottomRowFirst}};
  TBlockOptions sets, cells;
  cells.LetterCells = true;
  for (const TFontView& view : views) {
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
      TGlyphRects rects;
      TCellBitmap cell;
      GetGlyphRects(code, rects);
      ComposeCodePoint(view, code, nullptr, cell);
      ASSERT_TRUE(Same(cell, Expected(atlas, rects))) << std::hex << code;
      for (const TBlockOptions* options : {&sets, &cells}) {
        const char16_t unit = static_cast<char16_t>(code);
        TGlyphRects walked{};
        ForEachCell(0, 0, &unit, 1, *options,
                    [&walked](int32_t, int32_t, const TGlyphRects& r) { walked = r; });
        ComposeCodePoint(view, code, options, cell);
        // A lone CR or LF is a line break: no cell at all.
        if (code == '\r' || code == '\n') continue;
        ASSERT_TRUE(Same(cell, Expected(atlas, walked))) << std::hex << code;
      }
    }
  }
}

// Catches letter cells reported for an atlas whose rows 0..31 are blank, or
// missed when only the last letter has ink.
TEST(GlyphComposer, HasLetterCellsLooksAtTheFiftyOneLetterCellsOnly) {
  TFontImage atlas;
  EXPECT_FALSE(HasLetterCells(ViewOf(atlas)));
  const TRect last = LetterCell(50);
  atlas.SetInk(last.Right - 1, last.Bottom - 1, true);
  EXPECT_TRUE(HasLetterCells(ViewOf(atlas)));
  TFontImage outside;
  outside.SetInk(LetterCell(51).Left, LetterCell(51).Top, true);  // cell 51: no letter
  outside.SetInk(0, 32, true);                                     // the first ASCII cell
  EXPECT_FALSE(HasLetterCells(ViewOf(outside)));
}
