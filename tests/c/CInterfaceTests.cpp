// The C interface against the engine's own walk and composer: what each
// function hands over must be exactly what the C++ layers give.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "c/runeplate.h"
#include "ComposerTesting.h"
#include "font/CompactFont.h"

using namespace runeplate;

namespace {

struct TDrawn {
  int32_t X, Y, Width, Height;
  std::vector<uint8_t> Picture;
  bool operator==(const TDrawn& o) const {
    return X == o.X && Y == o.Y && Width == o.Width && Height == o.Height && Picture == o.Picture;
  }
};

std::vector<uint8_t> PictureOf(const TCellBitmap& cell) {
  std::vector<uint8_t> picture;
  for (uint16_t row : cell.Rows) {
    picture.push_back(static_cast<uint8_t>(row >> 8));
    picture.push_back(static_cast<uint8_t>(row));
  }
  return picture;
}

void Record(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture, void* user) {
  static_cast<std::vector<TDrawn>*>(user)->push_back(
      {x, y, width, height, std::vector<uint8_t>(picture, picture + 32)});
}

// An atlas with noise everywhere, letter cells included.
struct TFonts {
  TFontImage Atlas = NoiseAtlas();
  std::vector<uint8_t> Block = EncodeFontPixels(Atlas);
  std::vector<uint8_t> Compact = EncodeCompactFont(Atlas);
};

}  // namespace

// Jamo that spell a syllable, a lone jamo (drawn from its letter cell in the
// atlas, from the glyph sets in the compact font), a line break, a wrap and a
// bad byte. Catches the picture's bytes swapped, the wrap width or the letter
// cells not passed to the walk, and the user pointer lost.
TEST(CInterface, DrawHandsEachCharacterTheWalksCellAndPicture) {
  const TFonts fonts;
  const std::string text = "Rune \xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB \xE1\x84\x80!\r\n"
                           "\xED\x95\x9C\xEA\xB8\x80 wraps here \xFF.";
  struct TCase {
    const char* Name;
    const uint8_t* Pixels;
    int Layout;
    TFontView View;
  };
  const TCase cases[] = {
      {"atlas", fonts.Block.data(), RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST, {fonts.Block.data(), FontBottomRowFirst}},
      {"compact", fonts.Compact.data(), RUNEPLATE_COMPACT, {fonts.Compact.data(), FontCompactGlyphs}},
  };
  for (const TCase& c : cases) {
    runeplate_font font;
    runeplate_font_init(&font, c.Pixels, c.Layout);
    TBlockOptions options;
    options.LetterCells = HasLetterCells(c.View);
    options.WrapWidth = 80;
    std::vector<TDrawn> expected;
    const TPen pen = ForEachCellUtf8(3, 5, text.data(), text.size(), options,
                                     [&](int32_t x, int32_t y, const TGlyphRects& rects) {
                                       TCellBitmap cell;
                                       ComposeCell(c.View, rects, cell);
                                       expected.push_back({x, y, cell.Width, cell.Height, PictureOf(cell)});
                                     });
    std::vector<TDrawn> drawn;
    const runeplate_pen end = runeplate_draw_utf8(&font, 3, 5, text.data(), text.size(), 80, Record, &drawn);
    EXPECT_EQ(drawn, expected) << c.Name;
    EXPECT_EQ(end.x, pen.X) << c.Name;
    EXPECT_EQ(end.y, pen.Y) << c.Name;
    EXPECT_EQ(font.letter_cells, c.Layout == RUNEPLATE_COMPACT ? 0 : 1) << c.Name;
  }
}

// Catches compose using the program's line instead of composed text (a lone
// jamo would be the replacement), the letter cells ignored, or the width
// taken from the wrong place; and measure disagreeing with the engine.
TEST(CInterface, ComposeAndMeasureAgreeWithTheEngine) {
  const TFonts fonts;
  runeplate_font font;
  runeplate_font_init(&font, fonts.Block.data(), RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST);
  TBlockOptions options;
  options.LetterCells = true;
  for (uint32_t codePoint : {0x41u, 0x20u, 0xD55Cu, 0x1100u, 0x3131u, 0x1F600u}) {
    TCellBitmap cell;
    ComposeCodePoint({fonts.Block.data(), FontBottomRowFirst}, codePoint, &options, cell);
    uint8_t picture[32];
    EXPECT_EQ(runeplate_compose(&font, codePoint, picture), cell.Width) << std::hex << codePoint;
    EXPECT_EQ(std::vector<uint8_t>(picture, picture + 32), PictureOf(cell)) << std::hex << codePoint;
  }
  const std::string text = "\xED\x95\x9C\xEA\xB8\x80 and Latin\nsecond line";
  for (int32_t wrap : {0, 40}) {
    options.WrapWidth = wrap;
    const TBlockSize size = MeasureBlockUtf8(text.data(), text.size(), options);
    const runeplate_size measured = runeplate_measure_utf8(text.data(), text.size(), wrap);
    EXPECT_EQ(measured.width, size.Width) << wrap;
    EXPECT_EQ(measured.height, size.Height) << wrap;
  }
  EXPECT_EQ(runeplate_measure_utf8(nullptr, 5, 0).width, 0);
}
