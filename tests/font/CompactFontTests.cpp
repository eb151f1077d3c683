// The compact font: the atlas's glyphs only, read by the composer as the
// atlas with every part it leaves out blank.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ComposerTesting.h"
#include "font/CompactFont.h"

using namespace runeplate;

namespace {

// The atlas as the compact form keeps it: the printable ASCII cells and the
// 344 jamo glyphs, everything else blank.
TFontImage KeptPart(const TFontImage& atlas) {
  TFontImage kept;
  auto keep = [&](const TRect& cell) {
    for (int32_t y = cell.Top; y < cell.Bottom; ++y)
      for (int32_t x = cell.Left; x < cell.Right; ++x) kept.SetInk(x, y, atlas.IsInk(x, y));
  };
  for (int32_t code = 0x20; code < 0x7F; ++code) keep(AsciiCell(code));
  for (int32_t glyph = 0; glyph < HangulGlyphCount; ++glyph) keep(HangulCell(glyph));
  return kept;
}

}  // namespace

// Catches a glyph written at the wrong offset, a row or byte order the
// composer reads differently from the writer, and a control character or a
// letter cell read from a neighbour's bytes: every code unit of the
// program's line and of composed text.
TEST(CompactFont, EveryCharacterComposesAsFromTheAtlasWithTheLeftOutPartsBlank) {
  const TFontImage atlas = NoiseAtlas();
  const TFontImage kept = KeptPart(atlas);
  const std::vector<uint8_t> compact = EncodeCompactFont(atlas);
  ASSERT_EQ(compact.size(), static_cast<size_t>(CompactFontBytes));
  const TFontView view{compact.data(), FontCompactGlyphs};
  EXPECT_FALSE(HasLetterCells(view));
  TBlockOptions cells;
  cells.LetterCells = true;  // asked for, the letters still come out blank
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    TGlyphRects rects;
    TCellBitmap cell;
    GetGlyphRects(code, rects);
    ComposeCodePoint(view, code, nullptr, cell);
    ASSERT_TRUE(Same(cell, Expected(kept, rects))) << std::hex << code;
    GetComposedRects(ComposedCode(code), cells, rects);
    ComposeCodePoint(view, code, &cells, cell);
    ASSERT_TRUE(Same(cell, Expected(kept, rects))) << std::hex << code;
  }
}

// Catches the byte-by-byte path (rectangles off the glyph grid, which the
// composer's whole-cell path never sees) reading another glyph's bytes or
// past the end of the 12,528: every row, at every pixel offset and width.
TEST(CompactFont, FontRowBitsReadsAnyRectangleAsTheKeptAtlas) {
  const TFontImage atlas = NoiseAtlas();
  const TFontImage kept = KeptPart(atlas);
  const std::vector<uint8_t> compact = EncodeCompactFont(atlas);
  const TFontView view{compact.data(), FontCompactGlyphs};
  for (int32_t y = 0; y < FontImageHeight; ++y) {
    for (int32_t left = 0; left + 16 <= FontImageWidth; left += 3) {
      for (int32_t width : {1, 8, 13, 16}) {
        ASSERT_EQ(FontRowBits(view, left, width, y), FontRowBits(ViewOf(kept), left, width, y))
            << "row " << y << " left " << left << " width " << width;
      }
    }
  }
}
