// Cff: the `CFF ` table of an OpenType font with PostScript outlines (CFF
// version 1, one font, Type 2 charstrings). CFF has no composite glyphs, but
// it has subroutines: every glyph that another glyph is made of has its
// outline as a global subroutine, and a glyph made of others moves to each
// part's first point and calls its subroutine, which draws what a TrueType
// composite would and keeps the font about as small.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fontgen/export/sfnt/Outline.h"

namespace runeplate::fontgen::sfnt {

// One glyph: its own contours, the glyphs it is made of (laid unmoved at the
// origin, drawn after its own contours), both or neither (no ink).
struct TCffGlyph {
  std::string Name;  // the glyph name of the charset; glyph 0's is .notdef whatever it says
  int32_t Advance = 0;  // font units
  std::vector<TContour> Contours;  // as TraceOutline gives them (TrueType's direction)
  std::vector<uint16_t> Components;  // glyph numbers of glyphs that have no components themselves
};

// The strings of the Top DICT. CFF strings are ASCII: each keeps only its
// printable ASCII characters, and one left empty is not written (the
// PostScript name is then "Runeplate-Regular").
struct TCffNames {
  std::string PostScriptName;  // the Name INDEX's one entry, at most 63 characters
  std::string FullName;
  std::string FamilyName;
  std::string Version;  // "1.1.0"
  std::string Notice;   // the copyright line
};

// The table for `glyphs` (glyph 0 is .notdef), `unitsPerEm` units to the em.
// The most common advance is the Private DICT's defaultWidthX, so most
// charstrings carry no width; the subroutines are numbered most used first,
// so most calls take a one-byte operand. Throws std::invalid_argument for a
// component that is no glyph or has components itself, more than 64,999
// glyphs, or a glyph name that is not unique.
std::vector<uint8_t> CffTable(const std::vector<TCffGlyph>& glyphs, const TCffNames& names, int32_t unitsPerEm);

}  // namespace runeplate::fontgen::sfnt
