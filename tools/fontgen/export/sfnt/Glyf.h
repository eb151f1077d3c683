// Glyf: TrueType outlines (glyf, loca and the maxp 1.0 that counts them)
// and the instructions that keep FreeType's hinted load exact (prep, gasp).
#pragma once

#include <cstdint>
#include <vector>

#include "fontgen/export/sfnt/SfntFont.h"

namespace runeplate::fontgen::sfnt {

// Composite flags: overlapping components, set on the first, so renderers
// that fill by the even-odd rule (older macOS) still fill the union.
constexpr uint16_t OverlapCompound = 0x0400;

struct TGlyfTables {
  std::vector<uint8_t> Glyf, Loca, Maxp;
  bool LongLoca = false;  // head.indexToLocFormat
};

// Every glyph of `font` with the bounds GlyphBoxes found: a simple glyph's
// points as short deltas where they fit and flags run-length coded, a
// composite's components at the origin (byte offsets) rounded to the grid,
// each glyph padded to an even length, loca short whenever glyf allows.
// Throws std::invalid_argument for a glyph beyond TrueType's limits.
TGlyfTables GlyfTables(const TSfntFont& font, const std::vector<std::optional<TBox>>& boxes);

// Makes glyph data smaller without changing a pixel: where several
// composites begin with the same two components (the initial and the medial
// of syllables that share them but not their final), those two become one
// composite of their own, and the composites use it instead.
void ShareCommonParts(TSfntFont& font);

// prep: PUSHB 0, SCANCTRL. FreeType's default load then runs the TrueType
// interpreter (not its auto-hinter, which moves pixels where jamo meet)
// without dropout control, so outlines on the pixel grid stay exactly it.
std::vector<uint8_t> PrepTable();

// gasp: grid-fitted without greys at the native 16 pixels per em, grey and
// grid-fitted elsewhere.
std::vector<uint8_t> GaspTable(int32_t nativePpem);

}  // namespace runeplate::fontgen::sfnt
