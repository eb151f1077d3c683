// GlyphSets: which of the alternative shapes (glyph sets) each letter of a
// syllable takes, by the other letters, and the glyph numbering that follows
// from the set sizes. Part of the layout engine (UDrawText.h).
#pragma once

#include <stdint.h>

#include "text/Flash.h"
#include "text/JamoIndices.h"

namespace runeplate {


// The Hangul glyphs are 8 initial sets of 19 consonants, then 4 medial sets
// of 21 vowels, then 4 final sets of 27 consonants ("no final" has no glyph).
constexpr int32_t InitialSetCount = 8;
constexpr int32_t MedialSetCount = 4;
constexpr int32_t FinalSetCount = 4;
constexpr int32_t InitialSetSize = static_cast<int32_t>(InitialCount);
constexpr int32_t MedialSetSize = static_cast<int32_t>(MedialCount);
constexpr int32_t FinalSetSize = static_cast<int32_t>(FinalCount) - 1;
constexpr int32_t InitialSetStart(int32_t set) { return set * InitialSetSize; }
constexpr int32_t MedialSetStart(int32_t set) {
  return InitialSetStart(InitialSetCount) + set * MedialSetSize;
}
constexpr int32_t FinalSetStart(int32_t set) {
  return MedialSetStart(MedialSetCount) + set * FinalSetSize;
}

// Base glyph number of each glyph set; the glyph of index k in a set is
// base + k - 1.
constexpr int32_t InitialSetBase[InitialSetCount] = {
    InitialSetStart(0), InitialSetStart(1), InitialSetStart(2), InitialSetStart(3),
    InitialSetStart(4), InitialSetStart(5), InitialSetStart(6), InitialSetStart(7)};
constexpr int32_t MedialSetBase[MedialSetCount] = {MedialSetStart(0), MedialSetStart(1),
                                                   MedialSetStart(2), MedialSetStart(3)};
constexpr int32_t FinalSetBase[FinalSetCount] = {FinalSetStart(0), FinalSetStart(1),
                                                 FinalSetStart(2), FinalSetStart(3)};
// Number of Hangul glyphs in the font image.
constexpr int32_t HangulGlyphCount = FinalSetStart(FinalSetCount);
// The glyph drawn (twice) for a code unit of 128 or above that is not Hangul:
// final ㅅ (index 19) of final set 1.
constexpr int32_t ReplacementGlyph = FinalSetBase[0] + 19 - 1;

static_assert(InitialSetBase[7] == 133 && MedialSetBase[0] == 152 && MedialSetBase[3] == 215,
              "initial and medial sets");
static_assert(FinalSetBase[0] == 236 && FinalSetBase[3] == 317 && HangulGlyphCount == 344,
              "final sets and the glyph count");
static_assert(ReplacementGlyph == 254, "the replacement glyph");

// What a Hangul glyph draws: its component (Role), its glyph set counted from
// 0 within the component (initial sets 0..7, medial and final sets 0..3), and
// its letter as a 1-based jamo index (initial 1..19, medial 1..21, final
// 1..27, as in packed jamo indices). Every reader and writer of jamo glyphs
// (font files, glyph names, the fit) goes through this one answer.
enum TJamoRole : int32_t { JamoInitial = 0, JamoMedial = 1, JamoFinal = 2 };
struct TGlyphLetter {
  TJamoRole Role;
  int32_t Set;
  int32_t Index;
};
// The letter of glyph `glyph` (0..343). (One expression, as C++11 compilers
// of small devices want a constexpr function.)
constexpr TGlyphLetter LetterOfGlyph(int32_t glyph) {
  return glyph < MedialSetBase[0]
             ? TGlyphLetter{JamoInitial, glyph / InitialSetSize, glyph % InitialSetSize + 1}
         : glyph < FinalSetBase[0]
             ? TGlyphLetter{JamoMedial, (glyph - MedialSetBase[0]) / MedialSetSize,
                            (glyph - MedialSetBase[0]) % MedialSetSize + 1}
             : TGlyphLetter{JamoFinal, (glyph - FinalSetBase[0]) / FinalSetSize,
                            (glyph - FinalSetBase[0]) % FinalSetSize + 1};
}
// The glyph of letter `index` (1-based) in set `set` (0-based) of `role`.
constexpr int32_t GlyphOfLetter(TJamoRole role, int32_t set, int32_t index) {
  return role == JamoInitial   ? InitialSetStart(set) + index - 1
         : role == JamoMedial ? MedialSetStart(set) + index - 1
                              : FinalSetStart(set) + index - 1;
}
// The number of glyph sets and letters a set of `role` has.
constexpr int32_t SetCountOf(TJamoRole role) {
  return role == JamoInitial ? InitialSetCount : role == JamoMedial ? MedialSetCount : FinalSetCount;
}
constexpr int32_t SetSizeOf(TJamoRole role) {
  return role == JamoInitial ? InitialSetSize : role == JamoMedial ? MedialSetSize : FinalSetSize;
}
static_assert(LetterOfGlyph(0).Role == JamoInitial && LetterOfGlyph(0).Index == 1 &&
                  LetterOfGlyph(151).Set == 7 && LetterOfGlyph(151).Index == 19,
              "initial glyphs");
static_assert(LetterOfGlyph(152).Role == JamoMedial && LetterOfGlyph(235).Set == 3 &&
                  LetterOfGlyph(235).Index == 21,
              "medial glyphs");
static_assert(LetterOfGlyph(ReplacementGlyph).Role == JamoFinal && LetterOfGlyph(343).Set == 3 &&
                  LetterOfGlyph(343).Index == 27 && GlyphOfLetter(JamoFinal, 3, 27) == 343,
              "final glyphs");

// Fills `glyphs` with the glyph numbers (initial, medial, final) for `packed` jamo
// indices. A component with nothing to draw gets -1. Bits 24..31 are ignored;
// every field value 0..255 is accepted. NotConvertible, what every code unit
// that is neither a syllable nor a compatibility letter converts to, gives
// ReplacementGlyph, ReplacementGlyph, -1.
void SelectGlyphs(uint32_t packed, int32_t glyphs[3]);

// The tables the set rules live in (UDrawText.cpp), in flash: read them with
// ReadFlash. Each entry is the base glyph number of a set, or NoSet.
namespace detail {
constexpr int16_t NoSet = 0;
// What the vowel (medial index, row 0 and rows 22..255: none) decides: the
// initial consonant's set without and with a final consonant, and the final
// consonant's set.
struct TVowelSets {
  int16_t Initial[2];  // [0] without, [1] with a final consonant
  int16_t Final;
};
constexpr uint32_t NoVowelRow = 22;
extern const TVowelSets VowelSets[NoVowelRow + 1] RUNEPLATE_FLASH;
// What the initial consonant (initial index, row 0 and rows 20..255: none)
// decides: the vowel's set without and with a final consonant.
struct TInitialSets {
  int16_t Medial[2];  // [0] without, [1] with a final consonant
};
constexpr uint32_t NoInitialRow = 20;
extern const TInitialSets InitialSets[NoInitialRow + 1] RUNEPLATE_FLASH;
}  // namespace detail

// The glyph numbers of the syllable of `letters` (as DecomposeSyllable gives
// them: 0-based initial and medial, final 0 for none) into `glyphs`, and how
// many there are: 2 without a final consonant (`glyphs`[2] is then -1), 3
// with one. The one definition of the set rules for a syllable: SelectGlyphs
// and the walks both come here.
RUNEPLATE_ALWAYS_INLINE int32_t SyllableGlyphs(uint32_t initial, uint32_t medial, uint32_t final_,
                                               int16_t glyphs[3]) {
  const bool hasFinal = final_ != 0;
  const detail::TVowelSets& vowel = detail::VowelSets[medial + 1];
  glyphs[0] = static_cast<int16_t>(ReadFlash(&vowel.Initial[hasFinal]) + static_cast<int16_t>(initial));
  glyphs[1] = static_cast<int16_t>(ReadFlash(&detail::InitialSets[initial + 1].Medial[hasFinal]) +
                                   static_cast<int16_t>(medial));
  glyphs[2] = hasFinal ? static_cast<int16_t>(ReadFlash(&vowel.Final) + static_cast<int16_t>(final_) - 1)
                       : static_cast<int16_t>(-1);
  return hasFinal ? 3 : 2;
}

}  // namespace runeplate
