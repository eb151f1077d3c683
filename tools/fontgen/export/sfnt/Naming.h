// Naming: the name table (the Windows names, UTF-16BE, as fonts carry them
// now: family, style, unique, full, version, PostScript, copyright,
// description, licence and its address) and the post table.
#pragma once

#include <cstdint>
#include <vector>

#include "fontgen/export/sfnt/SfntFont.h"

namespace runeplate::fontgen::sfnt {

// Throws std::invalid_argument when a name is not UTF-8 or the strings
// outgrow the table's 16-bit offsets.
std::vector<uint8_t> NameTable(const TSfntNames& names);

// post format 3: no glyph names (the CFF charset or the cmap find glyphs),
// a fixed pitch, the underline half-way down the descent, a pixel thick.
std::vector<uint8_t> PostTable(const TSfntFont& font);

}  // namespace runeplate::fontgen::sfnt
