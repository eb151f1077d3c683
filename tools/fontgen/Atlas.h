// Atlas: the font image the generator writes.
#pragma once

#include "font/FontFile.h"
#include "fontgen/GlyphFit.h"
#include "fontgen/UnifontHex.h"

namespace runeplate::fontgen {

// ASCII cells from Unifont (codes 0..31 and 127 blank), Hangul cells from
// GLYPHS, everything else blank.
TFontImage BuildAtlas(const TUnifontSource& source, const THangulGlyphs& glyphs);

}  // namespace runeplate::fontgen
