#include "fontgen/export/sfnt/Glyf.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

// Simple glyph point flags.
constexpr uint8_t OnCurve = 0x01, XShort = 0x02, YShort = 0x04, Repeat = 0x08, XSameOrPositive = 0x10,
                  YSameOrPositive = 0x20;
// Component flags.
constexpr uint16_t ArgsAreXyValues = 0x0002, RoundXyToGrid = 0x0004, MoreComponents = 0x0020;
constexpr uint8_t PushByte = 0xB0, ScanControl = 0x85;
constexpr uint16_t GaspGridFit = 0x0001, GaspGrey = 0x0002, GaspSymmetricGridFit = 0x0004,
                   GaspSymmetricSmoothing = 0x0008;

struct TCounts {
  uint32_t Points = 0, Contours = 0;
  uint32_t Components = 0, Depth = 0;  // of a composite, 0 for a simple glyph
};

void Box(TSfntBytes& out, const std::optional<TBox>& box) {
  const TBox b = box.value_or(TBox{});
  out.I16(b.XMin);
  out.I16(b.YMin);
  out.I16(b.XMax);
  out.I16(b.YMax);
}

// One coordinate's delta: its flag bits and bytes, appended to `out`.
void Delta(int32_t d, uint8_t shortBit, uint8_t sameBit, uint8_t& flag, TSfntBytes& out) {
  if (d == 0) {
    flag |= sameBit;
  } else if (d > -256 && d < 256) {
    flag |= shortBit | (d > 0 ? sameBit : 0);
    out.U8(uint32_t(d < 0 ? -d : d));
  } else {
    out.I16(d);
  }
}

void SimpleGlyph(const TSfntGlyph& glyph, const std::optional<TBox>& box, TSfntBytes& out) {
  if (glyph.Contours.size() > 0x7FFF) throw std::invalid_argument(glyph.Name + ": too many contours");
  out.I16(int32_t(glyph.Contours.size()));
  Box(out, box);
  uint32_t end = 0;
  for (const TContour& contour : glyph.Contours) {
    end += uint32_t(contour.size());
    if (end > 0xFFFF) throw std::invalid_argument(glyph.Name + ": too many points");
    out.U16(end - 1);
  }
  out.U16(0);  // no instructions: the grid is the outline
  std::vector<uint8_t> flags;
  TSfntBytes xs, ys;
  TPoint at{};
  for (const TContour& contour : glyph.Contours)
    for (const TPoint& p : contour) {
      uint8_t flag = OnCurve;
      Delta(p.X - at.X, XShort, XSameOrPositive, flag, xs);
      Delta(p.Y - at.Y, YShort, YSameOrPositive, flag, ys);
      flags.push_back(flag);
      at = p;
    }
  for (size_t i = 0; i < flags.size();) {
    size_t same = 1;
    while (i + same < flags.size() && flags[i + same] == flags[i] && same < 256) ++same;
    if (same > 1) {
      out.U8(flags[i] | Repeat);
      out.U8(uint32_t(same - 1));
    } else {
      out.U8(flags[i]);
    }
    i += same;
  }
  out.Append(xs);
  out.Append(ys);
}

void CompositeGlyph(const TSfntGlyph& glyph, const std::optional<TBox>& box, TSfntBytes& out) {
  out.I16(-1);
  Box(out, box);
  for (size_t c = 0; c < glyph.Components.size(); ++c) {
    uint16_t flags = ArgsAreXyValues | RoundXyToGrid;
    if (c == 0) flags |= OverlapCompound;
    if (c + 1 < glyph.Components.size()) flags |= MoreComponents;
    out.U16(flags);
    out.U16(glyph.Components[c]);
    out.I8(0);  // dx: every part lies where the engine lays it, at the origin
    out.I8(0);  // dy
  }
}

// What maxp counts of glyph `g`, composites flattened to their simple glyphs.
TCounts CountsOf(const TSfntFont& font, uint16_t g, std::vector<std::optional<TCounts>>& known) {
  if (known[g]) return *known[g];
  const TSfntGlyph& glyph = font.Glyphs[g];
  TCounts counts;
  if (glyph.Components.empty()) {
    counts.Contours = uint32_t(glyph.Contours.size());
    for (const TContour& contour : glyph.Contours) counts.Points += uint32_t(contour.size());
  } else {
    counts.Components = uint32_t(glyph.Components.size());
    for (uint16_t part : glyph.Components) {
      const TCounts inner = CountsOf(font, part, known);  // GlyphBoxes has ruled out cycles
      counts.Points += inner.Points;
      counts.Contours += inner.Contours;
      counts.Depth = std::max(counts.Depth, inner.Depth + 1);
    }
  }
  known[g] = counts;
  return counts;
}

std::vector<uint8_t> Maxp(const TSfntFont& font) {
  std::vector<std::optional<TCounts>> known(font.Glyphs.size());
  uint32_t points = 0, contours = 0, compositePoints = 0, compositeContours = 0, elements = 0, depth = 0;
  for (size_t g = 0; g < font.Glyphs.size(); ++g) {
    const TCounts c = CountsOf(font, uint16_t(g), known);
    if (c.Depth == 0) {
      points = std::max(points, c.Points);
      contours = std::max(contours, c.Contours);
    } else {
      compositePoints = std::max(compositePoints, c.Points);
      compositeContours = std::max(compositeContours, c.Contours);
      elements = std::max(elements, c.Components);
      depth = std::max(depth, c.Depth);
    }
  }
  TSfntBytes maxp;
  maxp.U32(0x00010000);
  maxp.U16(uint32_t(font.Glyphs.size()));
  maxp.U16(points);
  maxp.U16(contours);
  maxp.U16(compositePoints);
  maxp.U16(compositeContours);
  maxp.U16(1);  // maxZones: no twilight zone
  maxp.U16(0);  // maxTwilightPoints
  maxp.U16(0);  // maxStorage
  maxp.U16(0);  // maxFunctionDefs
  maxp.U16(0);  // maxInstructionDefs
  maxp.U16(1);  // maxStackElements: prep's one push
  maxp.U16(0);  // maxSizeOfInstructions: no glyph has any
  maxp.U16(elements);
  maxp.U16(depth);
  return maxp.Bytes;
}

}  // namespace

TGlyfTables GlyfTables(const TSfntFont& font, const std::vector<std::optional<TBox>>& boxes) {
  if (font.Glyphs.size() > 0xFFFF) throw std::invalid_argument("more than 65,535 glyphs");
  TGlyfTables tables;
  TSfntBytes glyf;
  std::vector<uint32_t> offsets;
  for (size_t g = 0; g < font.Glyphs.size(); ++g) {
    offsets.push_back(uint32_t(glyf.Size()));
    const TSfntGlyph& glyph = font.Glyphs[g];
    if (!glyph.Components.empty())
      CompositeGlyph(glyph, boxes[g], glyf);
    else if (!glyph.Contours.empty())
      SimpleGlyph(glyph, boxes[g], glyf);
    if (glyf.Size() % 2) glyf.U8(0);  // short loca counts in words
  }
  offsets.push_back(uint32_t(glyf.Size()));
  tables.LongLoca = glyf.Size() > 2 * 0xFFFF;
  TSfntBytes loca;
  for (uint32_t offset : offsets) {
    if (tables.LongLoca) loca.U32(offset);
    else loca.U16(offset / 2);
  }
  tables.Glyf = std::move(glyf.Bytes);
  tables.Loca = std::move(loca.Bytes);
  tables.Maxp = Maxp(font);
  return tables;
}

void ShareCommonParts(TSfntFont& font) {
  std::map<std::pair<uint16_t, uint16_t>, std::vector<size_t>> users;
  for (size_t g = 0; g < font.Glyphs.size(); ++g) {
    const std::vector<uint16_t>& parts = font.Glyphs[g].Components;
    if (parts.size() >= 3) users[{parts[0], parts[1]}].push_back(g);
  }
  for (const auto& [pair, glyphs] : users) {
    // A shared pair costs a glyph (its composite, loca and hmtx entries) and
    // saves a component (6 bytes) in each user: worth it from five users on.
    if (glyphs.size() < 5 || font.Glyphs.size() >= 0xFFFF) continue;
    const uint16_t shared = uint16_t(font.Glyphs.size());
    TSfntGlyph both;
    both.Name = font.Glyphs[pair.first].Name + "_" + font.Glyphs[pair.second].Name;
    both.Advance = font.Glyphs[glyphs.front()].Advance;
    both.Components = {pair.first, pair.second};
    font.Glyphs.push_back(std::move(both));
    for (size_t g : glyphs) {
      std::vector<uint16_t>& parts = font.Glyphs[g].Components;
      parts.erase(parts.begin(), parts.begin() + 2);
      parts.insert(parts.begin(), shared);
    }
  }
}

std::vector<uint8_t> PrepTable() { return {PushByte, 0, ScanControl}; }

std::vector<uint8_t> GaspTable(int32_t nativePpem) {
  const uint16_t smooth = GaspGridFit | GaspGrey | GaspSymmetricGridFit | GaspSymmetricSmoothing;
  TSfntBytes gasp;
  gasp.U16(1);
  gasp.U16(3);
  gasp.U16(uint32_t(nativePpem - 1));
  gasp.U16(smooth);
  gasp.U16(uint32_t(nativePpem));
  gasp.U16(GaspGridFit);
  gasp.U16(0xFFFF);
  gasp.U16(smooth);
  return gasp.Bytes;
}

}  // namespace runeplate::fontgen::sfnt
