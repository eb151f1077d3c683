// Sheet: pictures of text drawn with an atlas, to look at a font before
// using it. Laid out by the layout engine and composed by the font layer, as
// the program and the reference renderer draw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "fontgen/Picture.h"

namespace runeplate::fontgen {

// TEXT drawn with Atlas as composed text (jamo sequences as syllables, every
// jamo drawn, letters from the atlas's own cells where it has them), black on
// white, every pixel a Scale x Scale block; each line feed in Text starts a
// new line, 20 pixels below the last.
TPicture DrawTextSheet(const TFontImage& atlas, const std::u16string& text, int scale = 3);

// The 2,350 KS X 1001 syllables with Atlas, in code order, 50 to a line, each
// line labelled with the code point of its first syllable.
TPicture DrawKsX1001Sheet(const TFontImage& atlas, int scale = 2);

}  // namespace runeplate::fontgen
