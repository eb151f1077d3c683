#include "fontgen/export/sfnt/Metrics.h"

#include <algorithm>

#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

// head.created counts from 1904, a Unix date from 1970.
constexpr int64_t SecondsFrom1904To1970 = 2082844800;
constexpr uint32_t HeadMagic = 0x5F0F3CF5;
// Baseline at y = 0, left side bearing point at x = 0.
constexpr uint16_t HeadFlags = 0x0003;
constexpr uint16_t LowestRecommendedPpem = 3;
constexpr uint16_t WeightRegular = 400, WidthMedium = 5;
// fsSelection: REGULAR, USE_TYPO_METRICS.
constexpr uint16_t SelectionRegular = 0x0040 | 0x0080;
// ulCodePageRange1: Korean Wansung (949) and Johab (1361).
constexpr uint32_t CodePagesKorean = (1u << 19) | (1u << 21);

// The Unicode ranges (OS/2 ulUnicodeRange bits) the characters of our fonts
// fall into.
struct TUnicodeRange {
  uint32_t First, Last;
  int Bit;
};
constexpr TUnicodeRange UnicodeRanges[] = {
    {0x0000, 0x007F, 0},     // Basic Latin
    {0x1100, 0x11FF, 28},    // Hangul Jamo
    {0x3130, 0x318F, 52},    // Hangul Compatibility Jamo
    {0xAC00, 0xD7AF, 56},    // Hangul Syllables
    {0x10000, 0x10FFFF, 57}, // Non-Plane 0
    {0xF0000, 0xFFFFD, 90},  // Private Use (plane 15)
};

}  // namespace

std::vector<uint8_t> HeadTable(const TSfntFont& font, const TBoxes& boxes, bool longLoca) {
  const TBox box = FontBox(boxes);
  TSfntBytes head;
  head.U32(0x00010000);
  head.U32(FontRevision(font.Names.Version));
  head.U32(0);  // checkSumAdjustment, set by SfntFile
  head.U32(HeadMagic);
  head.U16(HeadFlags);
  head.U16(uint32_t(font.UnitsPerEm));
  head.LongDateTime(font.Date + SecondsFrom1904To1970);
  head.LongDateTime(font.Date + SecondsFrom1904To1970);
  head.I16(box.XMin);
  head.I16(box.YMin);
  head.I16(box.XMax);
  head.I16(box.YMax);
  head.U16(0);  // macStyle
  head.U16(LowestRecommendedPpem);
  head.I16(2);  // fontDirectionHint: left to right, with neutrals
  head.I16(longLoca ? 1 : 0);
  head.I16(0);  // glyphDataFormat
  return head.Bytes;
}

uint16_t LongMetricCount(const TSfntFont& font) {
  size_t count = font.Glyphs.size();
  while (count > 1 && font.Glyphs[count - 2].Advance == font.Glyphs.back().Advance) --count;
  return uint16_t(count);
}

std::vector<uint8_t> HheaTable(const TSfntFont& font, const TBoxes& boxes) {
  int32_t advanceMax = 0, minLeft = 0, minRight = 0, extentMax = 0;
  bool inked = false;
  for (size_t g = 0; g < font.Glyphs.size(); ++g) {
    const int32_t advance = font.Glyphs[g].Advance;
    advanceMax = std::max(advanceMax, advance);
    if (!boxes[g]) continue;
    const TBox& box = *boxes[g];
    minLeft = inked ? std::min(minLeft, box.XMin) : box.XMin;
    minRight = inked ? std::min(minRight, advance - box.XMax) : advance - box.XMax;
    extentMax = inked ? std::max(extentMax, box.XMax) : box.XMax;
    inked = true;
  }
  TSfntBytes hhea;
  hhea.U32(0x00010000);
  hhea.I16(font.Ascender);
  hhea.I16(-font.Descender);
  hhea.I16(0);  // lineGap
  hhea.U16(uint32_t(advanceMax));
  hhea.I16(minLeft);
  hhea.I16(minRight);
  hhea.I16(extentMax);
  hhea.I16(1);  // caretSlopeRise: upright
  hhea.I16(0);
  hhea.I16(0);
  for (int i = 0; i < 5; ++i) hhea.I16(0);  // reserved, metricDataFormat
  hhea.U16(LongMetricCount(font));
  return hhea.Bytes;
}

std::vector<uint8_t> HmtxTable(const TSfntFont& font, const TBoxes& boxes) {
  const uint16_t longMetrics = LongMetricCount(font);
  TSfntBytes hmtx;
  for (size_t g = 0; g < font.Glyphs.size(); ++g) {
    if (g < longMetrics) hmtx.U16(uint32_t(font.Glyphs[g].Advance));
    hmtx.I16(boxes[g] ? boxes[g]->XMin : 0);
  }
  return hmtx.Bytes;
}

std::vector<uint8_t> Os2Table(const TSfntFont& font) {
  uint32_t ranges[4] = {};
  for (const auto& [code, glyph] : font.Characters)
    for (const TUnicodeRange& range : UnicodeRanges)
      if (code >= range.First && code <= range.Last) ranges[range.Bit / 32] |= 1u << (range.Bit % 32);
  // Every glyph with an advance counts towards the average, as fontTools and
  // Windows count it for OS/2 version 3 and later.
  int64_t sum = 0, counted = 0;
  for (const TSfntGlyph& glyph : font.Glyphs)
    if (glyph.Advance > 0) sum += glyph.Advance, ++counted;
  const int32_t average = counted ? int32_t((sum + counted / 2) / counted) : 0;
  const uint32_t first = font.Characters.empty() ? 0 : font.Characters.front().first;
  const uint32_t last = font.Characters.empty() ? 0 : font.Characters.back().first;

  TSfntBytes os2;
  os2.U16(4);
  os2.I16(average);
  os2.U16(WeightRegular);
  os2.U16(WidthMedium);
  os2.U16(0);  // fsType: installable, no restriction the licence does not state
  for (int i = 0; i < 10; ++i) os2.I16(0);  // sub- and superscript, strikeout: the renderer's own
  os2.I16(0);  // sFamilyClass
  for (int i = 0; i < 10; ++i) os2.U8(0);  // PANOSE: any
  for (uint32_t range : ranges) os2.U32(range);
  os2.Tag("RNPL");
  os2.U16(SelectionRegular);
  os2.U16(std::min<uint32_t>(first, 0xFFFF));
  os2.U16(std::min<uint32_t>(last, 0xFFFF));
  os2.I16(font.Ascender);
  os2.I16(-font.Descender);
  os2.I16(0);  // sTypoLineGap
  os2.U16(uint32_t(font.Ascender));
  os2.U16(uint32_t(font.Descender));
  os2.U32(font.Korean ? CodePagesKorean : 0);
  os2.U32(0);
  os2.I16(0);  // sxHeight
  os2.I16(0);  // sCapHeight
  os2.U16(0);  // usDefaultChar: .notdef
  os2.U16(' ');
  os2.U16(0);  // usMaxContext: no features
  return os2.Bytes;
}

std::vector<uint8_t> MaxpCountOnly(const TSfntFont& font) {
  TSfntBytes maxp;
  maxp.U32(0x00005000);
  maxp.U16(uint32_t(font.Glyphs.size()));
  return maxp.Bytes;
}

}  // namespace runeplate::fontgen::sfnt
