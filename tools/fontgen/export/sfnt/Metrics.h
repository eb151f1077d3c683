// Metrics: the tables of a font's header and line (head, hhea, hmtx, OS/2)
// and the glyph count of a font without glyf (maxp 0.5), from one TSfntFont
// and the bounds GlyphBoxes found.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "fontgen/export/sfnt/SfntFont.h"

namespace runeplate::fontgen::sfnt {

using TBoxes = std::vector<std::optional<TBox>>;

// head: dates from font.Date, indexToLocFormat 1 for a long loca, 0 for a
// short one or none.
std::vector<uint8_t> HeadTable(const TSfntFont& font, const TBoxes& boxes, bool longLoca);

// How many glyphs hmtx gives an advance of their own: the glyphs after the
// last one whose advance differs from the final glyph's share that advance.
uint16_t LongMetricCount(const TSfntFont& font);

std::vector<uint8_t> HheaTable(const TSfntFont& font, const TBoxes& boxes);
std::vector<uint8_t> HmtxTable(const TSfntFont& font, const TBoxes& boxes);

// OS/2 version 4: the line as hhea has it (and as the typo metrics, which
// fsSelection says to use), the Unicode ranges of the characters, the Korean
// code pages when font.Korean.
std::vector<uint8_t> Os2Table(const TSfntFont& font);

// maxp 0.5, all a CFF or bitmap-only font's maxp holds.
std::vector<uint8_t> MaxpCountOnly(const TSfntFont& font);

}  // namespace runeplate::fontgen::sfnt
