// JamoIndices: one UTF-16 code unit to the indices of its jamo, through the
// 16-bit Johab code, and a syllable number to its letters. Part of the
// layout engine (UDrawText.h, the one include for users).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "text/Flash.h"

namespace runeplate {


// Packed jamo indices: initial index in bits 16..23, medial in bits 8..15,
// final in bits 0..7, zero in bits 24..31. Indices are 1-based in Unicode
// conjoining-jamo order; 0 means the component is absent.
constexpr uint32_t PackJamo(uint32_t initial, uint32_t medial, uint32_t final_) {
  return (initial << 16) | (medial << 8) | final_;
}

// Result of CharToJamoIndices for a code unit that is neither a precomposed
// syllable nor a compatibility letter.
constexpr uint32_t NotConvertible = 0xFFFFFFFFu;

// Precomposed syllables U+AC00..U+D7A3, numbered S = code - SyllableFirst.
constexpr uint32_t SyllableFirst = 0xAC00;
constexpr uint32_t SyllableLast = 0xD7A3;
constexpr uint32_t InitialCount = 19;
constexpr uint32_t MedialCount = 21;
constexpr uint32_t FinalCount = 28;  // including "no final"
constexpr uint32_t SyllableCount = InitialCount * MedialCount * FinalCount;  // 11,172
static_assert(SyllableLast - SyllableFirst + 1 == SyllableCount, "the syllable block");

// The letters of syllable number `s` (0..11171), 0-based in Unicode
// conjoining-jamo order: initial s / 588, medial s % 588 / 28, final s % 28
// (0: no final consonant).
struct TSyllableLetters {
  uint32_t Initial;
  uint32_t Medial;
  uint32_t Final;
};
// DecomposeSyllable by multiplying with reciprocals, exact for every
// syllable number (checked below); what the AVR uses, where dividing is a
// loop of hundreds of cycles, three times a syllable. A compiler for a larger
// processor multiplies of its own accord, and better. InitialOfSyllable(`s`)
// is s / 588; MedialOfRest(`rest`) is rest / 28 for `rest` below 588;
// LettersOf builds the letters from the initial and s % 588.
constexpr uint32_t InitialOfSyllable(uint32_t s) {
  return static_cast<uint32_t>(static_cast<uint16_t>(s)) * 28533u >> 24;
}
constexpr uint32_t MedialOfRest(uint32_t rest) {
  return static_cast<uint32_t>(static_cast<uint16_t>(rest)) * 2341u >> 16;
}
constexpr TSyllableLetters LettersOf(uint32_t initial, uint32_t rest) {
  return {initial, MedialOfRest(rest), rest - MedialOfRest(rest) * FinalCount};
}
constexpr TSyllableLetters DecomposeSyllableByReciprocals(uint32_t s) {
  return LettersOf(InitialOfSyllable(s), s - InitialOfSyllable(s) * (MedialCount * FinalCount));
}
constexpr TSyllableLetters DecomposeSyllable(uint32_t s) {
#if defined(__AVR__)
  return DecomposeSyllableByReciprocals(s);
#else
  return {s / (MedialCount * FinalCount), s % (MedialCount * FinalCount) / FinalCount,
          s % FinalCount};
#endif
}
#if __cplusplus >= 201402L  // C++11 compilers (the Arduino build) skip the proof
constexpr bool ReciprocalsDivideEverySyllable() {
  for (uint32_t s = 0; s < SyllableCount; ++s) {
    const TSyllableLetters l = DecomposeSyllableByReciprocals(s);
    if (l.Initial != s / (MedialCount * FinalCount) ||
        l.Medial != s % (MedialCount * FinalCount) / FinalCount || l.Final != s % FinalCount)
      return false;
  }
  return true;
}
static_assert(ReciprocalsDivideEverySyllable(), "the reciprocals divide every syllable number exactly");
#endif

// Hangul compatibility letters U+3131..U+3163.
constexpr uint32_t CompatJamoFirst = 0x3131;
constexpr uint32_t CompatJamoLast = 0x3163;
constexpr uint32_t CompatJamoCount = CompatJamoLast - CompatJamoFirst + 1;  // 51

// Index-to-Johab tables: slot s holds the 5-bit Johab code of initial index
// s + 1, medial index s + 1, final index s (slot 0: the fill code 1). Unused
// slots hold -1 and are never read. Like every table below, in flash: read
// them with ReadFlash.
extern const int32_t InitialToJohab[32] RUNEPLATE_FLASH;
extern const int32_t MedialToJohab[32] RUNEPLATE_FLASH;
extern const int32_t FinalToJohab[32] RUNEPLATE_FLASH;

// Johab-to-index rows (initial, medial, final), indexed by a 5-bit code 0..30;
// 0 means no letter has that code.
extern const uint8_t JohabToJamoIndex[3][31] RUNEPLATE_FLASH;

// Johab code of each compatibility letter U+3131..U+3163, in the low 16 bits.
extern const uint32_t CompatJamoToJohab[CompatJamoCount] RUNEPLATE_FLASH;

// Decodes a 16-bit Johab code into packed jamo indices. A code with bit 15
// clear, or above 0xFFFF, gives NotConvertible. A 5-bit field of 31 (which no
// code built by CharToJamoIndices has) gives index 0.
uint32_t JohabToJamoIndices(uint32_t johab);

// Packed jamo indices of one UTF-16 code unit (0..65535), or NotConvertible.
// Exactly the 11,172 syllables and the 51 compatibility letters convert.
uint32_t CharToJamoIndices(uint32_t code);

}  // namespace runeplate
