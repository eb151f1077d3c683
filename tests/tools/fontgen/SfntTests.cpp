// The sfnt container and the common tables: the container checked word by
// word against the format's rules, the character map and the metrics
// through FreeType reading a font made of them, the names and dates
// against tables of what they must be.
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "SfntTesting.h"
#include "fontgen/FontGenError.h"
#include "fontgen/export/FontDate.h"
#include "fontgen/export/OpenType.h"
#include "fontgen/export/sfnt/Container.h"
#include "fontgen/export/sfnt/Metrics.h"

namespace runeplate::fontgen::sfnt {
namespace {

using namespace testing;

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }

// A directory out of tag order (readers search it by halves), a table not
// on a 4-byte boundary, a checksum over the wrong bytes, a whole-file
// checksum that does not come to B1B0AFBA.
TEST(SfntFile, DirectoryIsSortedAlignedAndChecksummed) {
  const std::vector<TSfntTable> tables = {
      {"head", std::vector<uint8_t>(54, 7)}, {"hhea", {1}}, {"OS/2", {1, 2, 3}},
      {"cmap", {1, 2, 3, 4, 5}},             {"glyf", {}},  {"CFF ", {9, 9}},
  };
  const std::vector<uint8_t> file = SfntFile(TrueTypeVersion, tables);
  ASSERT_EQ(U32At(file, 0), TrueTypeVersion);
  ASSERT_EQ(U16At(file, 4), tables.size());
  EXPECT_EQ(U16At(file, 6), 64);  // searchRange: 16 x the largest power of two <= 6
  EXPECT_EQ(U16At(file, 8), 2);
  EXPECT_EQ(U16At(file, 10), 6 * 16 - 64);
  std::string previous;
  for (size_t i = 0; i < tables.size(); ++i) {
    const size_t record = 12 + 16 * i;
    const std::string tag(file.begin() + long(record), file.begin() + long(record) + 4);
    SCOPED_TRACE(tag);
    EXPECT_LT(previous, tag);
    previous = tag;
    const uint32_t offset = U32At(file, record + 8), length = U32At(file, record + 12);
    EXPECT_EQ(offset % 4, 0u);
    const auto given = std::find_if(tables.begin(), tables.end(), [&](const TSfntTable& t) { return t.Tag == tag; });
    ASSERT_NE(given, tables.end());
    ASSERT_EQ(length, given->Bytes.size());
    std::vector<uint8_t> stored(file.begin() + offset, file.begin() + offset + length);
    if (tag == "head") std::fill(stored.begin() + 8, stored.begin() + 12, 0);  // checkSumAdjustment
    else EXPECT_EQ(stored, given->Bytes);
    EXPECT_EQ(U32At(file, record + 4), TableChecksum(stored, 0, stored.size()));
  }
  EXPECT_EQ(file.size() % 4, 0u);
  EXPECT_EQ(TableChecksum(file, 0, file.size()), 0xB1B0AFBAu);
}

// Two tables of one tag would leave readers to pick one at random.
TEST(SfntFile, RefusesATagGivenTwiceOrMisspelt) {
  EXPECT_THROW(SfntFile(TrueTypeVersion, {{"name", {}}, {"name", {}}}), std::invalid_argument);
  EXPECT_THROW(SfntFile(TrueTypeVersion, {{"nam", {}}}), std::invalid_argument);
}

// A name programs key fonts by that is not ASCII, too long, empty, or
// loses the Korean family's words.
TEST(PostScriptName, IsAsciiAndSpeltFromAnyFamily) {
  const struct {
    const char* Family;
    std::string Name;
  } cases[] = {
      {"Runeplate Round", "RuneplateRound-Regular"},
      {"룬플레이트 둥근", "RunpeulreiteuDunggeun-Regular"},
      {"Dotum 16 깄", "Dotum16Git-Regular"},
      {"", "Runeplate-Regular"},
      {"★ ☆", "Runeplate-Regular"},
      {"\xFF broken", "Runeplate-Regular"},
      {"abcdefghij abcdefghij abcdefghij abcdefghij abcdefghij abcdefghij",
       "abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcde-Regular"},
  };
  for (const auto& c : cases) EXPECT_EQ(PostScriptName(c.Family), c.Name) << c.Family;
}

// head.fontRevision disagreeing with the name table's version.
TEST(FontRevision, ReadsTheVersionAsFixedPoint) {
  const struct {
    const char* Version;
    uint32_t Fixed;
  } cases[] = {{"1.1.0", 0x0001199A}, {"1.10", 0x0001199A}, {"2.0", 0x00020000}, {"0.5.3", 0x00008000}, {"3", 0x00030000}};
  for (const auto& c : cases) EXPECT_EQ(FontRevision(c.Version), c.Fixed) << c.Version;
}

// A day read wrong or a day that does not exist accepted.
TEST(ParseDay, ReadsCalendarDaysOnly) {
  const struct {
    const char* Text;
    bool Valid;
    int64_t Seconds;
  } cases[] = {
      {"1970-01-01", true, 0},          {"2026-12-08", true, 1796688000}, {"2024-02-29", true, 1709164800},
      {"2023-02-29", false, 0},         {"2100-02-29", false, 0},         {"2026-13-01", false, 0},
      {"2026-12-32", false, 0},         {"26-12-08", false, 0},           {"2026/12/08", false, 0},
      {"1969-12-31", false, 0},
  };
  for (const auto& c : cases) {
    int64_t seconds = -1;
    EXPECT_EQ(ParseDay(c.Text, seconds), c.Valid) << c.Text;
    if (c.Valid) {
      EXPECT_EQ(seconds, c.Seconds) << c.Text;
    }
  }
}

// The clock, or a garbled SOURCE_DATE_EPOCH taken as some date.
TEST(FontDate, ComesFromSourceDateEpochElseAFixedDay) {
  const char* saved = std::getenv("SOURCE_DATE_EPOCH");
  const std::string keep = saved ? saved : "";
  unsetenv("SOURCE_DATE_EPOCH");
  const int64_t fixed = FontDate(TProvenance{});
  EXPECT_EQ(fixed % 86400, 0) << "a day, not a time of the clock";
  setenv("SOURCE_DATE_EPOCH", "1234567890", 1);
  EXPECT_EQ(FontDate(TProvenance{}), 1234567890);
  for (const char* bad : {"", "12x", "-5", "99999999999999999999"}) {
    setenv("SOURCE_DATE_EPOCH", bad, 1);
    EXPECT_THROW(FontDate(TProvenance{}), TFontGenError) << bad;
  }
  if (saved) {
    setenv("SOURCE_DATE_EPOCH", keep.c_str(), 1);
  } else {
    unsetenv("SOURCE_DATE_EPOCH");
  }
}

// hmtx: glyphs past numberOfHMetrics take the last long metric's advance,
// so a count one short gives a glyph the wrong advance.
TEST(LongMetricCount, KeepsEveryAdvanceThatDiffersFromTheLast) {
  const struct {
    std::vector<int32_t> Advances;
    uint16_t Count;
  } cases[] = {{{8, 8, 16, 16, 16}, 3}, {{16, 16}, 1}, {{8, 16, 8}, 3}, {{8}, 1}, {{16, 8, 8, 8}, 2}};
  for (const auto& c : cases) {
    TSfntFont font;
    for (int32_t advance : c.Advances) font.Glyphs.push_back({"g", advance, {}, {}});
    EXPECT_EQ(LongMetricCount(font), c.Count);
  }
}

// A small TrueType font: glyph g a one-pixel-wide bar at column g % 8 of a
// cell as wide as `widths` says, mapped from `characters`.
TSfntFont BarFont(const std::vector<std::pair<uint32_t, uint16_t>>& characters, size_t glyphs) {
  TSfntFont font;
  font.Ascender = 12 * 16;
  font.Descender = 4 * 16;
  font.Names.Family = "Test";
  font.Names.Version = "1.0";
  font.Glyphs.push_back({".notdef", 8 * 16, {}, {}});
  for (size_t g = 1; g < glyphs; ++g) {
    TCellBitmap bar{16, 16, {}};
    bar.Rows[3] = uint16_t(0x8000u >> (g % 8));
    font.Glyphs.push_back({"g" + std::to_string(g), (g % 3 ? 16 : 8) * 16, TraceOutline(bar, 12, 16), {}});
  }
  font.Characters = characters;
  return font;
}

// The character map read back by FreeType: a segment cut short, an idDelta
// off by one, the closing segment missing, a format 4 subtable over 64 KB
// (when glyphs do not run with the characters), the planes beyond the BMP
// lost; and each glyph's advance as hmtx gives it.
TEST(CmapTable, FreeTypeFindsEveryCharacterAndNoOther) {
  std::vector<std::pair<uint32_t, uint16_t>> dense, scattered, shuffled, beyond;
  for (uint32_t c = 0x20; c < 0x7F; ++c) dense.push_back({c, uint16_t(c - 0x1F)});
  for (uint32_t c = 0xAC00, g = 1; c <= 0xD7A3; c += 3, ++g) scattered.push_back({c, uint16_t(g)});
  for (uint32_t c = 0xAC00; c <= 0xD7A3; ++c) shuffled.push_back({c, uint16_t(1 + (c * 7919) % 11000)});
  for (uint32_t c = 0; c < 344; ++c) beyond.push_back({0xF0000 + c, uint16_t(1 + c)});
  beyond.insert(beyond.begin(), {0x41, 5});
  const struct {
    const char* Fault;
    std::vector<std::pair<uint32_t, uint16_t>> Characters;
    size_t Glyphs;
  } cases[] = {{"ASCII by one delta", dense, 96},
               {"every third syllable", scattered, 3800},
               {"glyphs not in character order", shuffled, 11001},
               {"the private plane", beyond, 345}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    TMemoryFace face(TrueTypeFile(BarFont(c.Characters, c.Glyphs), true));
    ASSERT_NE(face.Face, nullptr);
    for (const auto& [code, glyph] : c.Characters) ASSERT_EQ(FT_Get_Char_Index(face.Face, code), glyph) << code;
    size_t mapped = 0;
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face.Face, &index); index != 0; code = FT_Get_Next_Char(face.Face, code, &index))
      ++mapped;
    EXPECT_EQ(mapped, c.Characters.size());
    ASSERT_EQ(FT_Set_Pixel_Sizes(face.Face, 0, 16), 0);
    for (size_t g = 1; g < c.Glyphs; g += 97) {
      const std::optional<TDrawn> drawn = Draw(face.Face, FT_UInt(g), FT_LOAD_DEFAULT, 12, 16, 16);
      ASSERT_TRUE(drawn) << g;
      EXPECT_EQ(drawn->Advance, g % 3 ? 16 : 8) << g;
      EXPECT_EQ(drawn->Picture.Rows[3], uint16_t(0x8000u >> (g % 8))) << g;
    }
  }
}

}  // namespace
}  // namespace runeplate::fontgen::sfnt
