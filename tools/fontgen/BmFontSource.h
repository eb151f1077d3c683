// BmFontSource: an AngelCode BMFont in its text form (NAME.fnt and the PNG
// pages it names, as export/BmFont writes them) read as a source: its ASCII
// glyphs, its precomposed syllables and, when it has all 51, its
// compatibility letters, each placed on the cell at its offsets. It holds no
// jamo glyphs, so they are fitted to its syllables.
#pragma once

#include <string>
#include <vector>

#include "fontgen/FontSource.h"

namespace runeplate::fontgen {

// Whether `bytes` look like a text BMFont: they begin with an "info" line.
bool LooksLikeBmFont(const std::vector<uint8_t>& bytes);

// Reads the BMFont whose .fnt at `path` holds `bytes`, its pages beside it.
// A page's ink is what is bright when its transparency is laid on black
// (white glyphs on transparency, or on black). Throws TFontGenError with one
// line, naming the file and line, when the text or a page is malformed, a
// page cannot be read, or a character lies outside its page.
TFontSource LoadBmFontSource(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace runeplate::fontgen
