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
    size_t Size;
    int Layout;
    TFontView View;
  };
  const TCase cases[] = {
      {"atlas", fonts.Block.data(), fonts.Block.size(), RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST, {fonts.Block.data(), FontBottomRowFirst}},
      {"compact", fonts.Compact.data(), fonts.Compact.size(), RUNEPLATE_COMPACT, {fonts.Compact.data(), FontCompactGlyphs}},
  };
  for (const TCase& c : cases) {
    runeplate_font font;
    ASSERT_EQ(runeplate_font_init(&font, c.Pixels, c.Size, c.Layout), RUNEPLATE_OK) << c.Name;
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
  ASSERT_EQ(runeplate_font_init(&font, fonts.Block.data(), fonts.Block.size(), RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST), RUNEPLATE_OK);
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

// Each row a misuse a new user makes: the refusal runeplate_font_init must
// give instead of reading the font at the wrong size or layout, and the font
// left empty so that drawing with it draws nothing.
TEST(CInterface, FontInitRefusesWhatItCannotRead) {
  const TFonts fonts;
  const struct {
    const char* Fault;
    const uint8_t* Pixels;
    size_t Size;
    int Layout;
    int Status;
  } cases[] = {
      {"null pixels read as an atlas", nullptr, RUNEPLATE_ATLAS_BYTES, RUNEPLATE_ATLAS_TOP_ROW_FIRST, RUNEPLATE_NULL_ARGUMENT},
      {"null pixels read as compact", nullptr, RUNEPLATE_COMPACT_BYTES, RUNEPLATE_COMPACT, RUNEPLATE_NULL_ARGUMENT},
      {"layout 258 truncated to compact", fonts.Compact.data(), fonts.Compact.size(), 258, RUNEPLATE_UNKNOWN_LAYOUT},
      {"layout 7 reading a compact font as an atlas", fonts.Compact.data(), fonts.Compact.size(), 7, RUNEPLATE_UNKNOWN_LAYOUT},
      {"a negative layout", fonts.Block.data(), fonts.Block.size(), -1, RUNEPLATE_UNKNOWN_LAYOUT},
      {"a compact font declared an atlas", fonts.Compact.data(), fonts.Compact.size(), RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST, RUNEPLATE_WRONG_SIZE},
      {"an atlas declared compact", fonts.Block.data(), fonts.Block.size(), RUNEPLATE_COMPACT, RUNEPLATE_WRONG_SIZE},
      {"a short blob", fonts.Compact.data(), fonts.Compact.size() - 1, RUNEPLATE_COMPACT, RUNEPLATE_WRONG_SIZE},
      {"an empty blob", fonts.Block.data(), 0, RUNEPLATE_ATLAS_TOP_ROW_FIRST, RUNEPLATE_WRONG_SIZE},
  };
  const std::string text = "A\xED\x95\x9C";
  for (const auto& c : cases) {
    runeplate_font font{fonts.Block.data(), RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST, 1};
    EXPECT_EQ(runeplate_font_init(&font, c.Pixels, c.Size, c.Layout), c.Status) << c.Fault;
    EXPECT_EQ(font.pixels, nullptr) << c.Fault;
    std::vector<TDrawn> drawn;
    const runeplate_pen pen = runeplate_draw_utf8(&font, 3, 4, text.data(), text.size(), 0, Record, &drawn);
    EXPECT_TRUE(drawn.empty()) << c.Fault;
    EXPECT_EQ(pen.x, 3) << c.Fault;
    uint8_t picture[32];
    std::memset(picture, 0xAA, sizeof picture);
    EXPECT_EQ(runeplate_compose(&font, 'A', picture), 0) << c.Fault;
    EXPECT_EQ(std::vector<uint8_t>(picture, picture + 32), std::vector<uint8_t>(32, 0)) << c.Fault;
  }
  EXPECT_EQ(runeplate_font_init(nullptr, fonts.Block.data(), fonts.Block.size(), RUNEPLATE_ATLAS_TOP_ROW_FIRST),
            RUNEPLATE_NULL_ARGUMENT);
}

// A null font, text, callback or picture is handled as runeplate.h says,
// where each crashed before.
TEST(CInterface, NullArgumentsDrawNothing) {
  const TFonts fonts;
  runeplate_font font;
  ASSERT_EQ(runeplate_font_init(&font, fonts.Compact.data(), fonts.Compact.size(), RUNEPLATE_COMPACT), RUNEPLATE_OK);
  std::vector<TDrawn> drawn;
  const struct {
    const char* Fault;
    const runeplate_font* Font;
    const char* Text;
    runeplate_draw_fn Draw;
  } cases[] = {
      {"null font with text", nullptr, "A", Record},
      {"null font and null text", nullptr, nullptr, Record},
      {"null text", &font, nullptr, Record},
      {"null callback", &font, "A", nullptr},
  };
  for (const auto& c : cases) {
    const runeplate_pen pen = runeplate_draw_utf8(c.Font, 5, 6, c.Text, 1, 0, c.Draw, &drawn);
    EXPECT_EQ(pen.x, 5) << c.Fault;
    EXPECT_EQ(pen.y, 6) << c.Fault;
  }
  EXPECT_TRUE(drawn.empty());
  uint8_t picture[32];
  EXPECT_EQ(runeplate_compose(nullptr, 0xD55C, picture), 0) << "null font";
  EXPECT_EQ(runeplate_compose(&font, 0xD55C, nullptr), 0) << "null picture";
}
