// OpenType: an exported font as OpenType, written by fontTools, the field's
// own library, through write_opentype.py beside this file: TrueType outlines
// (.ttf) with each syllable a composite of its jamo glyphs, CFF outlines
// (.otf) with each syllable calling its jamo glyphs' outlines as
// subroutines, WOFF2 (.woff2) from the TrueType
// font, or a bitmap-only font with one 16-pixel strike (.otb). The 344 jamo
// glyphs carry Neo둥근모's names (NeoJamoNames), so fontgen reads an outline
// font back as a source.
#pragma once

#include <string>

#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

enum class TOpenTypeFlavour { TrueType, Cff, Woff2, Bitmap };

// What write_opentype.py is handed: the font as JSON, the pictures of its
// characters and jamo glyphs row by row, and for each character made of
// Hangul glyphs the glyph names of its parts. Characters with the same
// layout (a conjoining jamo and its compatibility letter) share one glyph.
std::string OpenTypeDescription(const TExportFont& font);

// Writes `font` to `path` as `flavour`, whole or not at all. Throws
// TFontGenError with one line when Python or fontTools cannot be run or
// fails, or the file cannot be written.
void WriteOpenType(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour);

}  // namespace runeplate::fontgen
