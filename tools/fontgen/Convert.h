// Convert: one font file to another, the job of runeplate-fontgen. A source
// of any kind (FontSource) gives the ASCII cells and the jamo glyphs, taken
// as drawn, by name, or fitted to its syllables; they make the atlas, which
// Output writes in any of its kinds.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "fontgen/FontSource.h"

namespace runeplate::fontgen {

struct TConvertOptions {
  std::string Source;
  std::string Ascii;  // where the ASCII cells come from; empty: the source
  TFreeTypeOptions FreeType;
};

struct TConversion {
  TFontSource Source;
  std::string AsciiFrom;         // the file the ASCII cells came from, empty when blank
  THangulGlyphs Jamo{};
  bool HasLetters = false;         // the atlas has the source's compatibility letters
  std::vector<TStandIn> StandIns;  // glyphs the fit borrowed from another set
  TFontImage Atlas;
  std::vector<std::string> Warnings;
};

// Reads the sources and makes the atlas. Throws TFontGenError with one line
// when a file cannot be read or the source has neither jamo glyphs nor
// syllables to fit them to.
TConversion Convert(const TConvertOptions& options);

// The --report text: where the jamo and ASCII came from and, for a source
// with precomposed syllables, how faithfully the jamo compose them.
void PrintConversionReport(std::ostream& out, const TConversion& conversion);

}  // namespace runeplate::fontgen
