// FontSource: a font as the generator takes it in, whatever file it came
// from: its ASCII glyphs, its precomposed syllables, its jamo glyphs, each
// only where the font has them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fontgen/FontGen.h"

namespace runeplate::fontgen {

// The 128 ASCII cells, 8 x 16, one byte a row, bit 7 the leftmost pixel.
using TAsciiCells = std::array<std::array<uint8_t, 16>, 128>;

// Where a source's jamo glyphs come from.
enum class TJamoOrigin {
  None,   // the font has none: they are to be fitted to its syllables
  Named,  // glyphs of the font named after their set and letter
  Drawn,  // the file holds them as they are (an 8x4x4 file, an atlas)
};

struct TFontSource {
  std::string Name;  // the file, for messages

  bool HasAscii = false;
  TAsciiCells Ascii{};

  // The 11,172 syllables U+AC00..U+D7A3 in code order, each on the 16 x 16
  // cell; HasSyllable tells which the font draws (the others are blank).
  std::vector<TCell> Syllables = std::vector<TCell>(SyllableCount);
  std::vector<bool> HasSyllable = std::vector<bool>(SyllableCount, false);

  TJamoOrigin JamoOrigin = TJamoOrigin::None;
  THangulGlyphs Jamo{};

  // Things worth telling that do not stop the conversion, one line each.
  std::vector<std::string> Warnings;

  int SyllablesPresent() const;
};

}  // namespace runeplate::fontgen
