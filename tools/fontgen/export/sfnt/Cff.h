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

#include "fontgen/export/sfnt/SfntFont.h"

namespace runeplate::fontgen::sfnt {

// A glyph of the table: the font's own description of it. Its own contours
// (TrueType's direction, as TraceOutline gives them) are drawn first, then
// its Components, laid unmoved at the origin; a component must have no
// components itself. Glyph 0's name is .notdef whatever it says.
using TCffGlyph = TSfntGlyph;

// The strings of the Top DICT. CFF strings are ASCII, and the name table
// carries every name in full: a string that is empty or not all printable
// ASCII is left out (a PostScript name is then "Runeplate-Regular") rather
// than written half.
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
