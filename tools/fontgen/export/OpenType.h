// OpenType: an exported font as OpenType, written by fontTools, the field's
// own library, through write_opentype.py beside this file: TrueType outlines
// (.ttf) with each syllable a composite of its jamo glyphs, CFF outlines
// (.otf) with each syllable calling its jamo glyphs' outlines as
// subroutines, WOFF2 (.woff2) from the TrueType
// font, or a bitmap-only font with one 16-pixel strike (.otb). The 344 jamo
// glyphs carry Neo둥근모's names (NeoJamoNames), so fontgen reads an outline
// font back as a source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fontgen/export/ExportFont.h"
#include "fontgen/export/sfnt/SfntFont.h"

namespace runeplate::fontgen {

enum class TOpenTypeFlavour { TrueType, Cff, Woff2, Bitmap };

// What write_opentype.py is handed: the font as JSON, the pictures of its
// characters and jamo glyphs row by row, and for each character made of
// Hangul glyphs the glyph names of its parts. Characters with the same
// layout (a conjoining jamo and its compatibility letter) share one glyph.
std::string OpenTypeDescription(const TExportFont& font);

// The font as OpenType describes it, one step per part: .notdef, then the
// characters' glyphs in code point order (a Hangul character a composite of
// its jamo glyphs, the rest traced outlines), then the 344 jamo glyphs; the
// characters mapped to them, the jamo glyphs also from PrivateJamoFirst.
sfnt::TSfntFont DescribeFont(const TExportFont& font);

// The TrueType font file of `font`: glyf outlines, syllables composed of
// their jamo glyphs, instructions that keep the hinted load on the grid.
// With `shareParts`, syllables that share an initial and a medial share a
// composite of the two (ShareCommonParts): a smaller file, the same pixels.
std::vector<uint8_t> TrueTypeFile(sfnt::TSfntFont font, bool shareParts);

// The OpenType font file of `font` with CFF outlines, each jamo glyph's
// outline a subroutine its syllables call.
std::vector<uint8_t> CffFile(const sfnt::TSfntFont& font);

// The bytes of `font` as `flavour`. Throws std::invalid_argument when the
// font breaks a limit of the format.
std::vector<uint8_t> OpenTypeFile(const TExportFont& font, TOpenTypeFlavour flavour);

// Writes `font` to `path` as `flavour`, whole or not at all. Throws
// TFontGenError with one line when Python or fontTools cannot be run or
// fails, or the file cannot be written.
void WriteOpenType(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour);

}  // namespace runeplate::fontgen
