// The CFF table judged by an independent reader: FreeType draws the table as
// a bare CFF font (unhinted and with its default load) and must give back
// every picture, and find the bounds it declares to be the ink's.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "SfntTesting.h"
#include "fontgen/export/sfnt/Cff.h"

namespace runeplate::fontgen::sfnt {
namespace {

using namespace testing;

constexpr int32_t Ascent = 12, UnitsPerPixel = 16;

TCellBitmap Blank(int32_t width) { return {width, 16, {}}; }

// Glyphs and the picture each must draw.
struct TTestFont {
  std::vector<TCffGlyph> Glyphs;
  std::vector<TCellBitmap> Pictures;

  void Add(const std::string& name, const TCellBitmap& picture, std::vector<uint16_t> parts = {}) {
    TCellBitmap whole = picture;
    whole.Height = 16;
    for (uint16_t part : parts)
      for (int32_t y = 0; y < 16; ++y) whole.Rows[y] |= Pictures[part].Rows[y];
    Glyphs.push_back({name, picture.Width * UnitsPerPixel, TraceOutline(picture, Ascent, UnitsPerPixel), parts});
    Pictures.push_back(whole);
  }
};

TTestFont HandMade() {
  TTestFont font;
  font.Add(".notdef", Blank(8));
  font.Add("ring", Picture(8, {"", "", ".####", ".#..#", ".####"}));
  font.Add("left", Picture(16, {"##", "#", "", "", "", "", "", "", "", "", "", "", "", "", "", "#"}));
  font.Add("right", Picture(16, {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "..........######"}));
  font.Add("blank", Blank(16));
  font.Add("both", Blank(16), {2, 3});
  font.Add("withBlank", Blank(16), {4, 3});
  font.Add("onlyBlank", Blank(16), {4});
  font.Add("ownAndParts", Picture(16, {"", "", "", "", "", "", "", "........#"}), {3, 2});
  font.Add("wide", Picture(12, {"", "#..........#"}));
  return font;
}

// `parts` random pictures, then `made` glyphs of two or three of them.
TTestFont Random(uint32_t seed, size_t parts, size_t made, uint32_t percent) {
  std::mt19937 random(seed);
  TTestFont font;
  font.Add(".notdef", Blank(8));
  for (size_t p = 0; p < parts; ++p) font.Add("part" + std::to_string(p), RandomPicture(random, 16, percent));
  for (size_t m = 0; m < made; ++m) {
    std::vector<uint16_t> of;
    for (size_t n = 0; n < 2 + m % 2; ++n) of.push_back(uint16_t(1 + random() % parts));
    font.Add("made" + std::to_string(m), Blank(16), of);
  }
  return font;
}

struct TCffCase {
  const char* Fault;  // what would go wrong without the table being right
  TTestFont Font;
};

TEST(CffTable, FreeTypeDrawsEveryGlyphAsItsPicture) {
  const TCffCase cases[] = {
      {"holes, blank parts, own contours beside parts, widths other than the default", HandMade()},
      {"long contours past the 48-argument stack, two-byte subroutine numbers", Random(1, 300, 600, 50)},
      {"the bias of more than 1,240 subroutines", Random(2, 1300, 200, 8)},
  };
  for (const TCffCase& c : cases) {
    SCOPED_TRACE(c.Fault);
    TMemoryFace face(CffTable(c.Font.Glyphs, {"Test-Regular", "Test", "Test", "1.0", "none"}, 256));
    ASSERT_NE(face.Face, nullptr) << "FreeType cannot open the table";
    ASSERT_EQ(face.Face->num_glyphs, FT_Long(c.Font.Glyphs.size()));
    ASSERT_EQ(FT_Set_Pixel_Sizes(face.Face, 0, 16), 0);
    std::optional<TBox> ink;
    for (const TCffGlyph& glyph : c.Font.Glyphs) ink = UnionOf(ink, BoxOf(glyph.Contours));
    const FT_BBox& box = face.Face->bbox;
    EXPECT_EQ((TBox{int32_t(box.xMin), int32_t(box.yMin), int32_t(box.xMax), int32_t(box.yMax)}), ink) << "FontBBox";
    int32_t wrong = 0;
    for (size_t g = 0; g < c.Font.Glyphs.size(); ++g) {
      const TCellBitmap& want = c.Font.Pictures[g];
      char name[64] = {};
      FT_Get_Glyph_Name(face.Face, FT_UInt(g), name, sizeof name);
      EXPECT_EQ(name, g == 0 ? ".notdef" : c.Font.Glyphs[g].Name) << "charset";
      for (FT_Int32 load : {FT_Int32(FT_LOAD_NO_HINTING), FT_Int32(FT_LOAD_DEFAULT)}) {
        const std::optional<TDrawn> got = Draw(face.Face, FT_UInt(g), load, Ascent, want.Width, 16);
        const bool same = got && got->Advance == want.Width && Rows(got->Picture) == Rows(want);
        if (!same && wrong++ < 3)
          ADD_FAILURE() << "glyph " << g << (load ? " hinted" : " unhinted") << ", want\n"
                        << Rows(want) << "got " << (got ? std::to_string(got->Advance) + "\n" + Rows(got->Picture) : "none");
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

// Names lost or mangled in the Top DICT or the Name INDEX.
TEST(CffTable, CarriesItsNamesAsAsciiStrings) {
  struct TNameCase {
    const char* Fault;
    TCffNames Names;
    const char* PostScript;
    const char* Family;
  };
  const TNameCase cases[] = {
      {"the PostScript or family name dropped", {"Runeplate-Regular", "Runeplate Round", "Runeplate Round", "1.1.0", "(c)"},
       "Runeplate-Regular", "Runeplate Round"},
      {"a Korean name written as bytes no CFF reader takes", {"룬-Regular", "룬 Round", "룬 Round", "1.1.0", "©"},
       "Runeplate-Regular", "Runeplate-Regular"},
  };
  TTestFont font = HandMade();
  for (const TNameCase& c : cases) {
    SCOPED_TRACE(c.Fault);
    TMemoryFace face(CffTable(font.Glyphs, c.Names, 256));
    ASSERT_NE(face.Face, nullptr);
    EXPECT_STREQ(FT_Get_Postscript_Name(face.Face), c.PostScript);
    EXPECT_STREQ(face.Face->family_name, c.Family);
  }
}

// Input that would give a table readers refuse or draw wrongly is refused.
TEST(CffTable, RefusesGlyphsItCannotWrite) {
  struct TRefusal {
    const char* Fault;
    std::vector<TCffGlyph> Glyphs;
  };
  const TCffGlyph notdef{".notdef", 128, {}, {}};
  const TRefusal cases[] = {
      {"no glyph at all", {}},
      {"a part that is no glyph", {notdef, {"a", 256, {}, {7}}}},
      {"a part made of parts (subroutines nest once)", {notdef, {"a", 256, {}, {0}}, {"b", 256, {}, {1}}}},
      {"two glyphs of one name", {notdef, {"a", 256, {}, {}}, {"a", 256, {}, {}}}},
      {"a glyph named .notdef again", {notdef, {".notdef", 256, {}, {}}}},
      {"a glyph name that is not ASCII", {notdef, {"가", 256, {}, {}}}},
  };
  for (const TRefusal& c : cases) {
    SCOPED_TRACE(c.Fault);
    EXPECT_THROW(CffTable(c.Glyphs, {}, 256), std::invalid_argument);
  }
}

}  // namespace
}  // namespace runeplate::fontgen::sfnt
