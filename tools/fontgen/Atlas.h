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

// The atlas of these ASCII cells and jamo glyphs; the rest of the image,
// which the program never shows, blank.
TFontImage ComposeAtlas(const TAsciiCells& ascii, const THangulGlyphs& jamo);

}  // namespace runeplate::fontgen
