// Preview: PNG pictures for looking at the generated font, since pixel counts
// say little about legibility.
#pragma once

#include <string>
#include <vector>

#include "font/FontFile.h"
#include "fontgen/GlyphFit.h"
#include "fontgen/UnifontHex.h"

namespace runeplate::fontgen {

// Writes into folder DIR (which must exist):
//   atlas.png    the font image, x2, cells outlined in grey;
//   text.png     lines of Korean and Latin text (a fixed set, or LINES
//                when given) drawn through the layout engine from the atlas,
//                each above the same line drawn from Unifont's own
//                syllables, x3;
//   compare.png  the syllables that differ most: Unifont's, ours, and the
//                difference (red: ours only, blue: Unifont's only), x4.
// Each file is written whole or not at all. Throws TFontGenError when one
// cannot be written.
void WritePreview(const std::string& dir, const TUnifontSource& source, const THangulGlyphs& glyphs,
                  const TFontImage& atlas, const std::vector<std::u16string>& lines = {});

}  // namespace runeplate::fontgen
