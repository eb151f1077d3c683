// Atlases as pictures: the round trip through an image editor's file, what
// such a picture must be, and the sheets drawn with an atlas.
#include <gtest/gtest.h>

#include <random>

#include "fontgen/Picture.h"
#include "fontgen/Sheet.h"
#include "text/UDrawText.h"

using namespace runeplate;
using namespace runeplate::fontgen;

namespace {

TFontImage RandomAtlas(uint32_t seed) {
  std::mt19937 random(seed);
  TFontImage atlas;
  for (uint8_t& byte : atlas.Bits) byte = static_cast<uint8_t>(random());
  return atlas;
}

void Paint(TRgbImage& picture, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
  picture.At(x, y) = uint32_t{r} << 16 | uint32_t{g} << 8 | b;
}

}  // namespace

// Catches ink and background swapped, rows or bits misplaced on the way, or
// an edited picture whose two colours are not black and white misread.
TEST(AtlasPicture, ComesBackAsTheSameAtlasInAnyTwoColours) {
  const TFontImage atlas = RandomAtlas(1);
  TFontImage read;
  std::string error;
  ASSERT_TRUE(AtlasFromPicture(AtlasPicture(atlas), read, error)) << error;
  EXPECT_TRUE(read == atlas);

  TRgbImage recoloured = AtlasPicture(atlas);
  for (int y = 0; y < FontImageHeight; ++y)
    for (int x = 0; x < FontImageWidth; ++x) {
      if (atlas.IsInk(x, y)) Paint(recoloured, x, y, 0, 0, 128);  // dark blue ink
      else Paint(recoloured, x, y, 255, 255, 200);                // on cream
    }
  TFontImage fromRecoloured;
  ASSERT_TRUE(AtlasFromPicture(recoloured, fromRecoloured, error)) << error;
  EXPECT_TRUE(fromRecoloured == atlas);
}

// Catches a picture of another size or with a third colour (an editor's
// smoothing) taken as an atlas, and the atlas changed before it is judged.
TEST(AtlasPicture, RefusesPicturesThatAreNotATwoColourAtlas) {
  TRgbImage grey = AtlasPicture(RandomAtlas(2));
  Paint(grey, 7, 3, 128, 128, 128);
  TRgbImage blank = AtlasPicture(TFontImage{});
  TRgbImage small(256, 256);
  const struct {
    const char* Name;
    const TRgbImage& Picture;
    const char* Reason;
  } cases[] = {
      {"a third colour", grey, "more than two colours (at pixel 7, 3)"},
      {"one colour", blank, "one colour only"},
      {"256 x 256", small, "a 256 x 256 picture, not a 512 x 256 font atlas"},
  };
  for (const auto& c : cases) {
    TFontImage atlas;
    atlas.SetInk(1, 1, true);
    std::string error;
    EXPECT_FALSE(AtlasFromPicture(c.Picture, atlas, error)) << c.Name;
    EXPECT_NE(error.find(c.Reason), std::string::npos) << c.Name << ": " << error;
    EXPECT_TRUE(atlas.IsInk(1, 1) && atlas.Bits[0] == 0) << c.Name << ": atlas changed";
  }
}

// Catches a sheet that lays out text differently from the engine (lines,
// scale) or leaves out syllables of the KS X 1001 grid.
TEST(Sheets, DrawTextLineByLineAndTheWholeKsX1001Grid) {
  TFontImage atlas;
  for (int y = 0; y < FontImageHeight; ++y)
    for (int x = 0; x < FontImageWidth; ++x) atlas.SetInk(x, y, true);  // every glyph a full block
  const TRgbImage text = DrawTextSheet(atlas, u"A가\nBB", 2);
  EXPECT_EQ(text.Width, (24 + 16) * 2);
  EXPECT_EQ(text.Height, (2 * 20 + 12) * 2);
  auto ink = [](const TRgbImage& p, int x, int y) { return p.At(x, y) == 0; };
  EXPECT_TRUE(ink(text, 8 * 2, 8 * 2));                // A at the margin
  EXPECT_TRUE(ink(text, (8 + 8 + 15) * 2, 8 * 2));     // 가 after it
  EXPECT_FALSE(ink(text, (8 + 24) * 2, 8 * 2));        // nothing after the first line
  EXPECT_TRUE(ink(text, (8 + 15) * 2, (8 + 20) * 2));  // the second B on line two

  const TRgbImage grid = DrawKsX1001Sheet(atlas, 1);
  int syllableCells = 0;
  for (int line = 0; line < 47; ++line)
    for (int k = 0; k < 50; ++k) syllableCells += ink(grid, 8 + 48 + 16 * k + 8, 8 + 20 * line + 8);
  EXPECT_EQ(syllableCells, 2350);
}
