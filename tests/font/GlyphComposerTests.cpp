// The glyph composer: a character's picture, from the atlas in either row
// order, against the rectangles the layout gives it read pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "font/CompactFont.h"
#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "ComposerTesting.h"

using namespace runeplate;


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

// Rectangles no layout gives but a caller of ComposeCell can: each row the
// fault it catches (rows written past the cell's 16, an undefined shift for a
// width over 16, a read outside the font), in every font order. ASan and
// UBSan builds turn each into a report; here the picture must come out
// empty, or without the bad rectangle's pixels.
TEST(GlyphComposer, RectanglesThatDoNotFitACellAreRefused) {
  const TFontImage atlas = NoiseAtlas();
  const std::vector<uint8_t> block = EncodeFontPixels(atlas);
  const TRect good = HangulCell(0);
  const struct {
    const char* Fault;
    TRect First, Second;
    int32_t Width;  // of the picture: 0 when the first rectangle is refused
  } cases[] = {
      {"taller than 16 writes past the rows", {0, 64, 16, 96}, good, 0},
      {"wider than 16 shifts by a negative count", {0, 64, 24, 80}, good, 0},
      {"empty width", {16, 64, 16, 80}, good, 0},
      {"above the image", {0, -8, 16, 8}, good, 0},
      {"below the image", {0, 248, 16, 264}, good, 0},
      {"right of the image", {504, 64, 520, 80}, good, 0},
      {"a later rectangle outside the image adds nothing", good, {600, 900, 616, 916}, 16},
  };
  for (const TFontView& view : {ViewOf(atlas), TFontView{block.data(), FontBottomRowFirst}}) {
    for (const auto& c : cases) {
      const TGlyphRects rects{2, {c.First, c.Second}};
      TCellBitmap cell;
      ComposeCell(view, rects, cell);
      EXPECT_EQ(cell.Width, c.Width) << c.Fault;
      const TGlyphRects alone{c.Width == 0 ? 0 : 1, {good}};
      EXPECT_TRUE(Same(cell, Expected(atlas, alone))) << c.Fault;
    }
  }
  EXPECT_EQ(FontRowBits(ViewOf(atlas), 0, 17, 64), 0) << "a width over 16";
}

// ComposePicture goes from glyph numbers to the 32-byte picture without
// rectangles: for every code unit, in every font order, and with letter
// cells, it must be what ComposeCell reads at the glyphs' rectangles, and
// it must write every byte. Catches a wrong glyph offset or row step, an
// ASCII cell's right byte left stale, a glyph of three left out, or letter
// cells read from a compact font that keeps none.
TEST(GlyphComposer, ComposePictureIsTheCellOfItsGlyphRectangles) {
  const TFontImage atlas = NoiseAtlas();
  const std::vector<uint8_t> block = EncodeFontPixels(atlas);
  const std::vector<uint8_t> compact = EncodeCompactFont(atlas);
  const TFontView views[] = {ViewOf(atlas), {block.data(), FontBottomRowFirst},
                             {compact.data(), FontCompactGlyphs}};
  const TFontView reference[] = {views[0], views[0], views[2]};
  TBlockOptions cells;
  cells.LetterCells = true;
  for (int v = 0; v < 3; ++v) {
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
      for (bool letters : {false, true}) {
        TGlyphCell glyphs;
        if (letters) GetComposedCell(code, cells, glyphs);
        else GetGlyphCell(code, glyphs);
        if (letters && glyphs.Source != SourceLetter) continue;
        TGlyphRects rects;
        RectsOfCell(glyphs, rects);
        TCellBitmap expected;
        ComposeCell(reference[v], rects, expected);
        uint8_t picture[32];
        std::fill(picture, picture + 32, 0xA5);
        const int32_t width = ComposePicture(views[v], glyphs, picture);
        ASSERT_EQ(width, expected.Width) << v << " " << std::hex << code;
        for (int32_t y = 0; y < 16; ++y) {
          ASSERT_EQ(picture[2 * y], expected.Rows[y] >> 8) << v << " " << std::hex << code << " row " << y;
          ASSERT_EQ(picture[2 * y + 1], expected.Rows[y] & 0xFF) << v << " " << std::hex << code << " row " << y;
        }
      }
    }
  }
}
