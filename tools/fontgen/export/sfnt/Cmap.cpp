#include "fontgen/export/sfnt/Cmap.h"

#include <stdexcept>

#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

// A run of consecutive code points mapped to consecutive glyphs.
struct TRun {
  uint32_t First, Last;
  uint16_t Glyph;  // of First
};

std::vector<TRun> Runs(const TCharacterMap& characters, uint32_t below) {
  std::vector<TRun> runs;
  for (const auto& [code, glyph] : characters) {
    if (code >= below) break;
    if (!runs.empty() && code == runs.back().Last + 1 && glyph == runs.back().Glyph + (code - runs.back().First))
      runs.back().Last = code;
    else
      runs.push_back({code, code, glyph});
  }
  return runs;
}

// A format 4 segment: First..Last by idDelta, or, when Glyphs is not empty,
// by one glyph number a code point in glyphIdArray (0 for none).
struct TSegment {
  uint32_t First, Last;
  uint16_t Glyph;
  std::vector<uint16_t> Glyphs;
};

// One segment per run of consecutive glyphs: compact while characters and
// glyphs go up together, as in our full fonts.
std::vector<TSegment> DeltaSegments(const TCharacterMap& characters) {
  std::vector<TSegment> segments;
  for (const TRun& run : Runs(characters, 0xFFFF)) segments.push_back({run.First, run.Last, run.Glyph, {}});
  return segments;
}

// One segment per 256 code points holding any character, each with its
// glyph array: bounded (at most 256 segments) however scattered the
// characters of a --chars file are.
std::vector<TSegment> BlockSegments(const TCharacterMap& characters) {
  std::vector<TSegment> segments;
  for (const auto& [code, glyph] : characters) {
    if (code >= 0xFFFF) break;
    if (segments.empty() || code >> 8 != segments.back().First >> 8) segments.push_back({code, code, 0, {}});
    TSegment& s = segments.back();
    s.Glyphs.resize(code - s.First + 1, 0);
    s.Glyphs.back() = glyph;
    s.Last = code;
  }
  return segments;
}

std::vector<uint8_t> Format4(std::vector<TSegment> segments) {
  segments.push_back({0xFFFF, 0xFFFF, 0, {}});  // the closing segment maps U+FFFF to glyph 0
  const uint32_t count = uint32_t(segments.size());
  uint32_t power = 1, log2 = 0, arrayLength = 0;
  while (power * 2 <= count) power *= 2, ++log2;
  for (const TSegment& s : segments) arrayLength += uint32_t(s.Glyphs.size());
  TSfntBytes table;
  table.U16(4);
  table.U16(16 + 8 * count + 2 * arrayLength);  // checked by the caller
  table.U16(0);  // language
  table.U16(count * 2);
  table.U16(power * 2);
  table.U16(log2);
  table.U16(count * 2 - power * 2);
  for (const TSegment& s : segments) table.U16(s.Last);
  table.U16(0);  // reservedPad
  for (const TSegment& s : segments) table.U16(s.First);
  for (const TSegment& s : segments) table.U16(s.Glyphs.empty() ? (uint32_t(s.Glyph) - s.First) & 0xFFFF : 0);
  // idRangeOffset counts bytes from itself to the segment's first entry.
  uint32_t arrayAt = 0;
  for (uint32_t i = 0; i < count; ++i) {
    table.U16(segments[i].Glyphs.empty() ? 0 : 2 * (count - i) + 2 * arrayAt);
    arrayAt += uint32_t(segments[i].Glyphs.size());
  }
  for (const TSegment& s : segments)
    for (uint16_t glyph : s.Glyphs) table.U16(glyph);
  return table.Bytes;
}

uint32_t Format4Size(const std::vector<TSegment>& segments) {
  uint32_t size = 16 + 8 * uint32_t(segments.size() + 1);
  for (const TSegment& s : segments) size += 2 * uint32_t(s.Glyphs.size());
  return size;
}

std::vector<uint8_t> Format12(const TCharacterMap& characters) {
  const std::vector<TRun> groups = Runs(characters, 0x110000);
  TSfntBytes table;
  table.U16(12);
  table.U16(0);
  table.U32(16 + 12 * uint32_t(groups.size()));
  table.U32(0);  // language
  table.U32(uint32_t(groups.size()));
  for (const TRun& g : groups) {
    table.U32(g.First);
    table.U32(g.Last);
    table.U32(g.Glyph);
  }
  return table.Bytes;
}

}  // namespace

std::vector<uint8_t> CmapTable(const TCharacterMap& characters) {
  for (size_t i = 1; i < characters.size(); ++i)
    if (characters[i].first <= characters[i - 1].first) throw std::invalid_argument("cmap: code points not ascending");
  std::vector<TSegment> segments = DeltaSegments(characters);
  if (Format4Size(segments) > 0xFFFF) segments = BlockSegments(characters);
  const std::vector<uint8_t> bmp = Format4(segments), all = Format12(characters);
  // Unicode BMP, Unicode full, Windows BMP, Windows full: two subtables, each named twice.
  constexpr uint32_t Header = 4 + 4 * 8;
  const uint32_t bmpAt = Header, allAt = Header + uint32_t(bmp.size());
  TSfntBytes cmap;
  cmap.U16(0);
  cmap.U16(4);
  const uint32_t records[4][3] = {{0, 3, bmpAt}, {0, 4, allAt}, {3, 1, bmpAt}, {3, 10, allAt}};
  for (const auto& r : records) {
    cmap.U16(r[0]);
    cmap.U16(r[1]);
    cmap.U32(r[2]);
  }
  cmap.Append(bmp);
  cmap.Append(all);
  return cmap.Bytes;
}

}  // namespace runeplate::fontgen::sfnt
