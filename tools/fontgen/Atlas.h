// Atlas: the font image the generator writes, from ASCII cells and jamo
// glyphs.
#pragma once

#include <array>
#include <cstdint>

#include "font/FontFile.h"
#include "fontgen/GlyphFit.h"

namespace runeplate::fontgen {

// The 128 ASCII cells, 8 x 16, one byte a row, bit 7 the leftmost pixel.
using TAsciiCells = std::array<std::array<uint8_t, 16>, 128>;

// The 51 compatibility letters U+3131..U+3163, each on a 16 x 16 cell.
using TLetterCells = std::array<TCell, CompatJamoCount>;

// The atlas of these ASCII cells and jamo glyphs, and of the compatibility
// letters in their letter cells (rows 0..31) when `letters` is given; the rest
// of the image, which nothing shows, blank.
TFontImage ComposeAtlas(const TAsciiCells& ascii, const THangulGlyphs& jamo,
                        const TLetterCells* letters = nullptr);

}  // namespace runeplate::fontgen
