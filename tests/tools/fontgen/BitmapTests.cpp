// The bitmap strike judged by an independent reader: FreeType must read
// every glyph's picture back from a font made around the tables.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "SfntTesting.h"
#include "fontgen/export/sfnt/Bitmap.h"

namespace runeplate::fontgen::sfnt {
namespace {

using namespace testing;

std::vector<uint8_t> StrikeFont(const std::vector<TCellBitmap>& pictures, int32_t ascent, int32_t descent) {
  const TBitmapTables tables = BitmapTables(pictures, ascent, descent);
  return TestSfnt({{"EBLC", tables.Eblc}, {"EBDT", tables.Ebdt}}, TrueTypeVersion, pictures.size());
}

TCellBitmap Full(int32_t width) {
  TCellBitmap picture{width, 16, {}};
  for (uint16_t& row : picture.Rows) row = uint16_t(0xFFFF << (16 - width));
  return picture;
}

std::vector<TCellBitmap> RandomPictures(uint32_t seed, size_t count) {
  std::mt19937 random(seed);
  std::vector<TCellBitmap> pictures;
  for (size_t g = 0; g < count; ++g) pictures.push_back(RandomPicture(random, g < 96 || g % 97 == 0 ? 8 : 16, 40));
  return pictures;
}

struct TStrikeCase {
  const char* Fault;  // what a wrong strike would do
  std::vector<TCellBitmap> Pictures;
  int32_t Ascent;
};

TEST(BitmapTables, FreeTypeDrawsEveryGlyphAsItsPictureOnTheLine) {
  const TStrikeCase cases[] = {
      {"a row shifted, a bit order reversed or a size's run mis-indexed",
       {Full(8), Picture(16, {"#", ".#", "", "...............#"}), Full(16), Picture(8, {"", "#......#"}),
        TCellBitmap{16, 16, {}}},
       12},
      {"rows of 12 bits not packed straight after each other", {Picture(12, {"#..........#", ".#........#."}), Full(12)},
       14},
      {"the line placed wrongly at the extremes", {Full(16), Picture(16, {"#"})}, 16},
      {"ranges of many glyphs or alternating sizes mis-indexed", RandomPictures(7, 2000), 12},
  };
  for (const TStrikeCase& c : cases) {
    SCOPED_TRACE(c.Fault);
    TMemoryFace face(StrikeFont(c.Pictures, c.Ascent, 16 - c.Ascent));
    ASSERT_NE(face.Face, nullptr) << "FreeType cannot open the strike";
    ASSERT_EQ(face.Face->num_fixed_sizes, 1);
    ASSERT_EQ(FT_Select_Size(face.Face, 0), 0);
    EXPECT_EQ(face.Face->size->metrics.y_ppem, 16);
    EXPECT_EQ(face.Face->size->metrics.ascender >> 6, c.Ascent);
    EXPECT_EQ(face.Face->size->metrics.descender >> 6, c.Ascent - 16);
    int32_t wrong = 0;
    for (size_t g = 0; g < c.Pictures.size(); ++g) {
      TCellBitmap want = c.Pictures[g];
      const std::optional<TDrawn> got = Draw(face.Face, FT_UInt(g), FT_LOAD_DEFAULT, c.Ascent, want.Width, 16);
      want.Height = 16;
      if ((!got || got->Advance != want.Width || Rows(got->Picture) != Rows(want)) && wrong++ < 3)
        ADD_FAILURE() << "glyph " << g << ", want\n"
                      << Rows(want) << "got " << (got ? std::to_string(got->Advance) + "\n" + Rows(got->Picture) : "none");
    }
    EXPECT_EQ(wrong, 0);
  }
}

// Pictures the strike's one-byte metrics cannot describe are refused.
TEST(BitmapTables, RefusesWhatItCannotWrite) {
  struct TRefusal {
    const char* Fault;
    std::vector<TCellBitmap> Pictures;
    int32_t Ascent;
  };
  const TRefusal cases[] = {
      {"no glyph at all", {}, 12},
      {"a picture wider than a row holds", {TCellBitmap{17, 16, {}}}, 12},
      {"a negative size", {TCellBitmap{-1, 16, {}}}, 12},
      {"an ascent past a signed byte", {Full(8)}, 200},
  };
  for (const TRefusal& c : cases) {
    SCOPED_TRACE(c.Fault);
    EXPECT_THROW(BitmapTables(c.Pictures, c.Ascent, 4), std::invalid_argument);
  }
}

}  // namespace
}  // namespace runeplate::fontgen::sfnt
