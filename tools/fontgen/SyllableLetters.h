// SyllableLetters: a syllable's position among the 11,172 (0 = 가) by its
// letters, and the letter a glyph number draws. Used while fitting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/UDrawText.h"

namespace runeplate::fontgen {

enum TRole { RoleInitial, RoleMedial, RoleFinal };

// Syllable S (0..11,171) by its letter indices: initial 0..18, medial
// 0..20, final 0..27 (0: none).
inline size_t InitialOf(size_t s) { return s / (MedialCount * FinalCount); }
inline size_t MedialOf(size_t s) { return s % (MedialCount * FinalCount) / FinalCount; }
inline size_t FinalOf(size_t s) { return s % FinalCount; }
inline size_t SyllableOf(size_t initial, size_t medial, size_t final_) {
  return (initial * MedialCount + medial) * FinalCount + final_;
}

inline TRole RoleOfGlyph(int32_t glyph) {
  if (glyph < MedialSetBase[0]) return RoleInitial;
  return glyph < FinalSetBase[0] ? RoleMedial : RoleFinal;
}

// Medial index (1-based, as in SelectGlyphs) of the vowels ㅝ ㅞ ㅟ and the
// final index of ㄴ.
constexpr size_t MedialWeo = 15, MedialWe = 16, MedialWi = 17;
constexpr size_t FinalNieun = 4;

}  // namespace runeplate::fontgen
