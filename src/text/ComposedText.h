// ComposedText: the rules of text as people write it, beyond the program's
// line of UTF-16 code units. Part of the layout engine (UDrawText.h, the one
// include for users).
#pragma once

#include <stdint.h>

#include "text/Flash.h"
#include "text/GlyphCells.h"
#include "text/JamoIndices.h"

namespace runeplate {

// The program lays out every UTF-16 code unit on one line (GlyphCells.h). Text
// that comes from elsewhere needs more, and gets it from the walks that take
// a TBlockOptions (ForEachGlyph, ForEachCell, DrawTextBlock, MeasureBlock and
// their UTF-8 forms):
//   - conjoining jamo form the syllable they spell, with exactly the
//     rectangles of the precomposed syllable: an initial U+1100..U+1112 and a
//     medial U+1161..U+1175, then optionally a final U+11A8..U+11C2; so does a
//     precomposed syllable without final followed by a final (Unicode's
//     composition rule). A sequence cut short by the end of the text is laid
//     out as far as it goes;
//   - every modern letter has a glyph: a lone conjoining jamo is drawn as its
//     compatibility letter (U+3131..U+3163), and a compatibility letter comes
//     from its own cell in image rows 0..31 when the atlas has those
//     (LetterCells), otherwise from the glyph sets as on the program's line;
//   - a line feed, a carriage return or CR LF ends the line: the next starts
//     LineHeight lower at the starting x;
//   - lines wrap to WrapWidth pixels at spaces, a word wider than that
//     between characters (never inside a surrogate pair or a syllable spelled
//     in jamo); a wrapped line's leading spaces are not drawn, and spaces
//     at a line's end hang: those past WrapWidth are neither drawn nor
//     counted, so a block is never wider than WrapWidth unless a single
//     character is;
//   - a code point above U+FFFF is one character: one replacement cell.
// Old-Hangul jamo and everything else lay out as on the program's line.

// Conjoining jamo of modern Hangul, in the orders of the jamo indices.
constexpr uint32_t LeadingJamoFirst = 0x1100;   // initial index 1
constexpr uint32_t VowelJamoFirst = 0x1161;     // medial index 1
constexpr uint32_t TrailingJamoFirst = 0x11A8;  // final index 1 (U+11A7 is not a final)

// How composed text is laid out beyond the program's line.
struct TBlockOptions {
  // The atlas has a glyph of its own for each compatibility letter: letter
  // U+3131 + k in LetterCell(k), rows 0..31, which the program never shows.
  // The font layer tells (HasLetterCells).
  bool LetterCells = false;
  // Lines wider than this many pixels wrap; 0 or less: only line breaks end
  // lines.
  int32_t WrapWidth = 0;
};

// The compatibility letter that draws a lone conjoining jamo `codePoint`
// (U+1100..U+1112, U+1161..U+1175, U+11A8..U+11C2); 0 for any other.
uint32_t CompatLetterOfJamo(uint32_t codePoint);

// The code a lone code point is laid out as in composed text: its
// compatibility letter for a modern conjoining jamo, ReplacementCharacter
// above U+FFFF, the code point itself otherwise.
uint32_t ComposedCode(uint32_t codePoint);

// Lays out one character of composed text, `code` as ComposedCode and the
// composing walks give it (a syllable, a compatibility letter, any other code
// up to U+FFFF), into `cell`: LayOutCode, but a compatibility letter from its
// LetterCell when `options`.LetterCells. The one definition, inlined into the
// walks; GetComposedCell is it as a function, GetComposedRects as rectangles.
RUNEPLATE_ALWAYS_INLINE void LayOutComposedCode(uint32_t code, const TBlockOptions& options,
                                                TGlyphCell& cell) {
  if (options.LetterCells && code - CompatJamoFirst < CompatJamoCount) {
    cell.Source = SourceLetter;
    cell.Count = 1;
    cell.Glyphs[0] = static_cast<int16_t>(code - CompatJamoFirst);
    return;
  }
  LayOutCode(code, cell);
}
void GetComposedCell(uint32_t code, const TBlockOptions& options, TGlyphCell& cell);
void GetComposedRects(uint32_t code, const TBlockOptions& options, TGlyphRects& list);

// The Unicode replacement character, drawn as ReplacementGlyph twice.
constexpr uint32_t ReplacementCharacter = 0xFFFD;

}  // namespace runeplate
