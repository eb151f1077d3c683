// OpenType: an exported font as OpenType, written by our own sfnt writer
// (the tables in sfnt/, one file per table family): TrueType outlines
// (.ttf) with each syllable a composite of its jamo glyphs, CFF outlines
// (.otf) with each syllable calling its jamo glyphs' outlines as
// subroutines, WOFF2 (.woff2) from the TrueType font by Google's woff2
// library, or a bitmap-only font with one 16-pixel strike (.otb). The 344
// jamo glyphs are mapped from PrivateJamoFirst (and in CFF also carry
// Neo둥근모's names, NeoJamoNames), so fontgen reads every one of these
// fonts back as a source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fontgen/export/ExportFont.h"
#include "fontgen/export/sfnt/SfntFont.h"

namespace runeplate::fontgen {

enum class TOpenTypeFlavour { TrueType, Cff, Woff2, Bitmap };

// The font as OpenType describes it, one step per part: .notdef, then the
// characters' glyphs in code point order (a Hangul character a composite of
// its jamo glyphs, the rest traced outlines), then the 344 jamo glyphs; the
// characters mapped to them, the jamo glyphs also from PrivateJamoFirst.
// With `pictures`, also each glyph's picture, by glyph number.
sfnt::TSfntFont DescribeFont(const TExportFont& font, std::vector<TCellBitmap>* pictures = nullptr);

// The TrueType font file of `font`: glyf outlines, syllables composed of
// their jamo glyphs, instructions that keep the hinted load on the grid.
// With `shareParts`, syllables that share an initial and a medial share a
// composite of the two (ShareCommonParts): a smaller file, the same pixels.
std::vector<uint8_t> TrueTypeFile(sfnt::TSfntFont font, bool shareParts);

// The OpenType font file of `font` with CFF outlines, each jamo glyph's
// outline a subroutine its syllables call.
std::vector<uint8_t> CffFile(const sfnt::TSfntFont& font);

// The bitmap-only font file of `font`: the glyphs of `font` without
// outlines, `pictures` (by glyph number) their one strike.
std::vector<uint8_t> BitmapFile(sfnt::TSfntFont font, const std::vector<TCellBitmap>& pictures, int ascent,
                                int descent);

// The bytes of `font` as `flavour`. Throws std::invalid_argument when the
// font breaks a limit of the format.
std::vector<uint8_t> OpenTypeFile(const TExportFont& font, TOpenTypeFlavour flavour);

// Writes `font` to `path` as `flavour`, whole or not at all. Throws
// TFontGenError with one line when the font breaks a limit of the format or
// the file cannot be written.
void WriteOpenType(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour);

}  // namespace runeplate::fontgen
