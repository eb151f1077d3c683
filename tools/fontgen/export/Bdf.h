// Bdf: an exported font as BDF 2.1, the bitmap font text format of X11 that
// FontForge, u8g2's converter and many LED-matrix and terminal libraries
// read. Unicode encoding (ISO10646-1), one 16-pixel strike; every glyph is
// its whole cell, so its picture is exactly the character's.
#pragma once

#include <string>

#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

// The BDF file of `font`: an XLFD name from its family, FONT_ASCENT and
// FONT_DESCENT from its line, COPYRIGHT and NOTICE properties from its
// notice, one glyph per character named uniXXXX; then the 344 jamo glyphs,
// named as NeoJamoNames names them and kept at PrivateJamoFirst + glyph
// number, so that fontgen reads the font back as a source.
std::string EncodeBdf(const TExportFont& font);

}  // namespace runeplate::fontgen
