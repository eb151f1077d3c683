// Fidelity: how closely the jamo glyphs compose a font's own syllables.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "fontgen/Cell.h"
#include "fontgen/GlyphFit.h"

namespace runeplate::fontgen {

// The 2,350 syllables of KS X 1001 in code order, from the EUC-KR rows
// 0xB0..0xC8, cells 0xA1..0xFE, decoded by the C library's iconv. Throws
// TFontGenError when the converter is missing or gives anything else.
std::vector<uint32_t> KsX1001Syllables();

struct TSyllableDiff {
  uint32_t Code;
  int Pixels;
};

struct TFidelity {
  int Identical = 0;        // syllables composing pixel-identical (a blank one never), of those measured
  int Total = 0;
  int IdenticalCommon = 0;  // of those, in the KS X 1001 list
  int TotalCommon = 0;
  int IdenticalWithoutFinal = 0;
  int TotalWithoutFinal = 0;
  long DiffPixels = 0;  // summed over all syllables
  double MeanDiff = 0;
  int WorstDiff = 0;
  std::vector<TSyllableDiff> Worst;  // up to ten that differ, most differing first, then by code
};

TFidelity MeasureFidelity(const std::vector<TCell>& syllables, const THangulGlyphs& glyphs,
                          const std::vector<uint32_t>& common);
// The same over the syllables Known marks, for a font that has only some.
TFidelity MeasureFidelity(const std::vector<TCell>& syllables, const std::vector<bool>& known,
                          const THangulGlyphs& glyphs, const std::vector<uint32_t>& common);

// The --report text.
void PrintFidelity(std::ostream& out, const TFidelity& fidelity);

}  // namespace runeplate::fontgen
