// SfntFont: one plain description of an OpenType font, from which each table
// is written by a function of its own (SfntTables.h, Glyf.h, Cmap.h, ...),
// and the bounds every table that needs them shares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fontgen/export/sfnt/Outline.h"

namespace runeplate::fontgen::sfnt {

// One glyph: a simple outline (Contours, TrueType's direction), a composite
// of other glyphs laid at the origin (Components), or neither (no ink).
struct TSfntGlyph {
  std::string Name;  // the PostScript name (the CFF charset, post format 2)
  int32_t Advance = 0;  // font units
  std::vector<TContour> Contours;
  std::vector<uint16_t> Components;  // glyph numbers, drawn over each other in this order
};

// The names a font carries, each one line.
struct TSfntNames {
  std::string Family;  // "Runeplate Round", any printable Unicode
  std::string Version;  // "1.1.0"
  std::string Copyright;
  std::string Licence;
  std::string LicenceUrl;
  std::string Description;
};

struct TSfntFont {
  int32_t UnitsPerEm = 256;
  int32_t UnitsPerPixel = 16;
  int32_t Ascender = 0;   // font units above the baseline
  int32_t Descender = 0;  // font units below it, positive
  int64_t Date = 0;       // seconds since 1970-01-01 UTC: created and modified
  bool Korean = false;    // the Korean code pages (Wansung, Johab) are covered
  TSfntNames Names;
  std::vector<TSfntGlyph> Glyphs;  // glyph 0 is .notdef
  std::vector<std::pair<uint32_t, uint16_t>> Characters;  // code point to glyph, ascending, each code once
};

// The bounds of every glyph by glyph number (a composite's the union of its
// components', as they lie unmoved); none for a glyph without ink. Throws
// std::invalid_argument for a component that is no glyph or a composite
// that contains itself.
std::vector<std::optional<TBox>> GlyphBoxes(const TSfntFont& font);

// The union of `boxes`, or all zeros when none has ink.
TBox FontBox(const std::vector<std::optional<TBox>>& boxes);

// head.fontRevision as 16.16 fixed point from "MAJOR.MINOR[.PATCH]": 1.1.0
// is 1.1, as the name table's "Version 1.1.0" reads.
uint32_t FontRevision(const std::string& version);

// A PostScript name for `family`, the ASCII letters and digits of at most 63
// characters that programs key fonts by: Hangul syllables spelt in the
// Revised Romanization letter by letter, each word capitalised, other
// characters left out, "-Regular" after; "Runeplate-Regular" when nothing
// is left. "Runeplate Round" is RuneplateRound-Regular, "룬플레이트 둥근"
// RunpeulreiteuDunggeun-Regular.
std::string PostScriptName(const std::string& family);

}  // namespace runeplate::fontgen::sfnt
