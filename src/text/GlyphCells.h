// GlyphCells: where each glyph lies in the 512 x 256 font image, what one
// code unit of the program's line lays out to, and how far the pen moves.
// Part of the layout engine (UDrawText.h, the one include for users).
//
// Font image regions (x from the left edge, y from the top edge):
//   rows   0..31   compatibility letters U+3131..U+3163 in cells of their own
//                  (composed text only, when the atlas has them)
//   rows  32..47   ASCII codes 0..63,   8 x 16 cells, code a at x = 8a
//   rows  48..63   ASCII codes 64..127, 8 x 16 cells, code a at x = 8(a - 64)
//   rows  64..239  Hangul glyphs 0..343, 16 x 16 cells, 32 per row,
//                  glyph g at x = 16(g mod 32), y = 64 + 16(g div 32)
#pragma once

#include <stdint.h>

#include "text/Flash.h"
#include "text/GlyphSets.h"
#include "text/JamoIndices.h"

namespace runeplate {

// Width of the font image in pixels; every cell position derives from it.
constexpr int32_t FontImageWidth = 512;
// Height of the font image in pixels.
constexpr int32_t FontImageHeight = 256;

// A rectangle of the font image; right and bottom are exclusive.
struct TRect {
  int32_t Left;
  int32_t Top;
  int32_t Right;
  int32_t Bottom;
};

// The layout of one character: Count (0..3) source rectangles, for Hangul in
// the order initial, medial, final. Entries at and after Count are never
// written by GetGlyphRects and must not be read.
struct TGlyphRects {
  int32_t Count;
  TRect Rects[3];
};

// Per-glyph callback: destination x, destination y, cell width, cell height,
// source left, source top (in the font image), and the caller's user value.
using TGlyphCallback = void (*)(int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t srcLeft, int32_t srcTop, int32_t userValue);

// Source cell of ASCII code a (0..127): 8 x 16 at grid cell a + 128 of a
// 64-column grid. Computed unsigned so the compiler can use shifts: the grid
// cell of any code from -128 up is non-negative, so the result is the same.
inline TRect AsciiCell(int32_t code) {
  constexpr uint32_t columns = FontImageWidth / 8;
  const uint32_t cell = static_cast<uint32_t>(code) + (2 * FontImageWidth) / 8;
  const int32_t left = static_cast<int32_t>((cell % columns) * 8);
  const int32_t top = static_cast<int32_t>((cell / columns) * 16);
  return {left, top, left + 8, top + 16};
}
// Source cell of Hangul glyph g (0..343): 16 x 16 at grid cell g + 128 of a
// 32-column grid.
inline TRect HangulCell(int32_t glyph) {
  constexpr uint32_t columns = FontImageWidth / 16;
  const uint32_t cell = static_cast<uint32_t>(glyph) + (4 * FontImageWidth) / 16;
  const int32_t left = static_cast<int32_t>((cell % columns) * 16);
  const int32_t top = static_cast<int32_t>((cell / columns) * 16);
  return {left, top, left + 16, top + 16};
}
// The 16 x 16 cell of compatibility letter U+3131 + `k` (0..50): grid cell k
// of the 32-column grid, in image rows 0..31.
constexpr TRect LetterCell(int32_t k) {
  return {16 * (k % 32), 16 * (k / 32), 16 * (k % 32) + 16, 16 * (k / 32) + 16};
}

// What a character's glyph numbers count: ASCII cells (AsciiCell), jamo
// glyphs (HangulCell) or letter cells (LetterCell).
enum TCellSource : uint8_t { SourceAscii, SourceJamo, SourceLetter };

// The layout of one character as glyph numbers: Count (0..3) glyphs of
// Source, drawn on top of each other in one cell; for jamo in the order
// initial, medial, final. An ASCII or letter cell has one glyph: the ASCII
// code (0..127) or the letter's k (0..50). Entries at and after Count are
// not meaningful. What the walks hand a composer that goes from glyph number
// to bitmap in one step; the rectangles are a function of it (GlyphRect).
struct TGlyphCell {
  TCellSource Source;
  uint8_t Count;
  int16_t Glyphs[3];
};

// The rectangle of glyph `glyph` of `source` in the font image.
inline TRect GlyphRect(TCellSource source, int32_t glyph) {
  return source == SourceJamo ? HangulCell(glyph)
         : source == SourceAscii ? AsciiCell(glyph)
                                 : LetterCell(glyph);
}
// The width of a cell of `source`: 8 for ASCII, 16 otherwise; every cell is
// 16 high.
constexpr int32_t CellWidthOf(TCellSource source) { return source == SourceAscii ? 8 : 16; }
constexpr int32_t CellHeight = 16;

// The rectangles of `cell`, in its order, into `list`: only the first Count
// entries are written.
inline void RectsOfCell(const TGlyphCell& cell, TGlyphRects& list) {
  list.Count = cell.Count;
  for (int32_t k = 0; k < cell.Count; ++k) list.Rects[k] = GlyphRect(cell.Source, cell.Glyphs[k]);
}

namespace detail {
// The code units that are neither ASCII nor a syllable (UDrawText.cpp).
void LayOutOtherCode(uint32_t code, TGlyphCell& cell);
}  // namespace detail

// Lays out one code unit `code` (0..65535) into `cell`:
//   below 128                       1 ASCII cell, its code
//   syllable without / with final   2 / 3 jamo glyphs (initial, medial[, final])
//   compatibility consonant         1 jamo glyph (initial set 1)
//   compatibility vowel             1 jamo glyph, its medial (medial set 1)
//   final-only cluster (ㄳ ㄵ ...)   1 jamo glyph, its final (final set 1)
//   anything else                   2 jamo glyphs, ReplacementGlyph twice
// Negative glyph numbers of SelectGlyphs are skipped, so a lone vowel or a
// final-only cluster still shows its glyph. The one definition of the
// program's layout, inlined into the walks.
RUNEPLATE_ALWAYS_INLINE void LayOutCode(uint32_t code, TGlyphCell& cell) {
  if (code < 128) {
    cell.Source = SourceAscii;
    cell.Count = 1;
    cell.Glyphs[0] = static_cast<int16_t>(code);
    return;
  }
  if (code - SyllableFirst < SyllableCount) {
    // Nearly every character of a Korean line is a syllable: its glyphs come
    // straight from its letters, without the round trip through Johab.
    const TSyllableLetters letters = DecomposeSyllable(code - SyllableFirst);
    cell.Source = SourceJamo;
    cell.Count = static_cast<uint8_t>(
        SyllableGlyphs(letters.Initial, letters.Medial, letters.Final, cell.Glyphs));
    return;
  }
  detail::LayOutOtherCode(code, cell);
}
void GetGlyphCell(uint32_t code, TGlyphCell& cell);

// LayOutCode as rectangles: one code unit `code` (0..65535) into `list`,
// 1 to 3 rectangles as the table above says (glyph 254 is left 480, top 176).
void GetGlyphRects(uint32_t code, TGlyphRects& list);

// Pen advance of one code unit: 8 below 128, 16 for every other code unit.
constexpr int32_t AdvanceOf(uint32_t code) { return code < 128 ? 8 : 16; }

// The pen after `code`: `x` + AdvanceOf(`code`), wrapping modulo 2^32 as
// 32-bit two's-complement arithmetic does, so every `x` gives a defined run:
// from 2147483647 an ASCII character moves the pen to -2147483641. (The sum
// is taken unsigned; converting it back is modulo 2^32 in GCC, Clang and
// MSVC, and in every C++20 compiler.)
constexpr int32_t AdvancePen(int32_t x, uint32_t code) {
  return static_cast<int32_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(AdvanceOf(code)));
}

// The pen after a line: `y` + LineHeight, wrapping as AdvancePen does.
constexpr int32_t LineHeight = 16;
constexpr int32_t AdvanceLine(int32_t y) {
  return static_cast<int32_t>(static_cast<uint32_t>(y) + static_cast<uint32_t>(LineHeight));
}

// Where the pen stands after a run: the left edge of the next character's
// cell and the top edge of its line.
struct TPen {
  int32_t X;
  int32_t Y;
};

}  // namespace runeplate
