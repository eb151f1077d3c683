// SyllableLetters: a syllable's position among the 11,172 (0 = 가) by its
// letters, and the letter a glyph number draws. Used while fitting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/UDrawText.h"

namespace runeplate::fontgen {

// The letter indices of syllable S (0..11,171): initial 0..18, medial 0..20,
// final 0..27 (0: none), and back.
inline size_t InitialOf(size_t s) { return DecomposeSyllable(static_cast<uint32_t>(s)).Initial; }
inline size_t MedialOf(size_t s) { return DecomposeSyllable(static_cast<uint32_t>(s)).Medial; }
inline size_t FinalOf(size_t s) { return DecomposeSyllable(static_cast<uint32_t>(s)).Final; }
inline size_t SyllableOf(size_t initial, size_t medial, size_t final_) {
  return (initial * MedialCount + medial) * FinalCount + final_;
}

inline TJamoRole RoleOfGlyph(int32_t glyph) { return LetterOfGlyph(glyph).Role; }

// Medial index (1-based, as in SelectGlyphs) of the vowels ㅝ ㅞ ㅟ and the
// final index of ㄴ.
constexpr size_t MedialWeo = 15, MedialWe = 16, MedialWi = 17;
constexpr size_t FinalNieun = 4;

}  // namespace runeplate::fontgen
