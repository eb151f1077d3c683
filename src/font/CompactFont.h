// CompactFont: the font in its compact form, for small devices.
//
// Only the glyphs the engine draws, CompactFontBytes (12,528) bytes instead
// of the atlas's 16,384: the 95 printable ASCII glyphs, 16 bytes each, then
// the 344 jamo glyphs, 32 bytes each (the layout GlyphComposer.h describes
// under FontCompactGlyphs, which the composer reads). The atlas's letter
// cells and every other unused area are left out. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "font/GlyphComposer.h"

namespace runeplate {

// The compact form of `image`: CompactFontBytes bytes.
std::vector<uint8_t> EncodeCompactFont(const TFontImage& image);

// The compact form as C source: a header declaring
// `static const unsigned char Name[12528]`, placed in flash on the AVR
// (RUNEPLATE_FLASH), behind a comment holding `notice` (where the atlas came
// from and its licence) and how to read it. `name` must be a C identifier.
std::string EncodeCompactFontCArray(const TFontImage& image, const std::string& name,
                                    const std::string& notice);

}  // namespace runeplate
