// GlyphFit: the 344 jamo glyphs recovered from Unifont's syllables.
//
// Unifont draws every one of its 11,172 precomposed syllables as a whole
// picture, while the layout engine draws a syllable as the OR of two or three
// glyphs chosen by SelectGlyphs. FitHangulGlyphs recovers the jamo shapes
// from the syllables, choosing each glyph so that as many syllables as
// possible compose pixel for pixel like Unifont's. Deterministic: the same
// syllables give the same glyphs.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "fontgen/Cell.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

using THangulGlyphs = std::array<TCell, HangulGlyphCount>;

// The three glyph numbers SelectGlyphs gives syllable CODE (U+AC00..U+D7A3).
std::array<int32_t, 3> SyllableGlyphs(uint32_t code);

// The picture our engine draws for syllable CODE: the OR of its glyphs.
TCell ComposeSyllable(const THangulGlyphs& glyphs, uint32_t code);

// A glyph drawn by hand rather than fitted: it is pinned before fitting, so
// the other glyphs fit around it.
struct THandFix {
  int32_t Glyph;
  std::array<const char*, 16> Picture;
  const char* Reason;
};
// The hand-fix table of the generator.
const std::vector<THandFix>& HandFixes();

// Fits the 344 jamo glyphs to Unifont's syllables (11,172 pictures in code
// order), with the glyphs of FIXES drawn by hand. Coordinate descent: each
// glyph in turn takes the best of a few candidate shapes for the score
// 5 x identical syllables - differing pixels, until no glyph changes. The
// medial glyphs of ㅝ ㅞ ㅟ with a final are not fitted but take the plain
// vowel: left to the fit they draw pieces of consonants across the initial.
// Last, pixels move to the letters they belong to, making no syllable worse,
// so a glyph drawn alone shows its own letter only.
THangulGlyphs FitHangulGlyphs(const std::vector<TCell>& syllables,
                              const std::vector<THandFix>& fixes = HandFixes());

// The general fit, for any font with precomposed syllables: the same descent
// and pixel assignment as FitHangulGlyphs, without Unifont's hand fixes and
// ㅝ ㅞ ㅟ rule, over the syllables Known marks (a font may have only some,
// such as KS X 1001's 2,350). A glyph none of them shows takes the same
// letter's glyph of the most alike set that one shows (StandIns lists them,
// From -1 when there is none and the glyph stays blank).
struct TStandIn {
  int32_t Glyph, From;
};
struct TJamoFit {
  THangulGlyphs Glyphs;
  std::vector<TStandIn> StandIns;
};
TJamoFit FitJamoGlyphs(const std::vector<TCell>& syllables, const std::vector<bool>& known);

}  // namespace runeplate::fontgen
