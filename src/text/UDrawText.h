// UDrawText: the text layout engine.
//
// Turns UTF-16 code units into glyph rectangles of the 512 x 256 font image and
// walks a line of text, reporting every glyph through a callback. Pure
// computation over constant tables: no platform headers, no allocation, no
// state. Safe to call from any thread.
//
// Font image regions (x from the left edge, y from the top edge):
//   rows  32..47   ASCII codes 0..63,   8 x 16 cells, code a at x = 8a
//   rows  48..63   ASCII codes 64..127, 8 x 16 cells, code a at x = 8(a - 64)
//   rows  64..239  Hangul glyphs 0..343, 16 x 16 cells, 32 per row,
//                  glyph g at x = 16(g mod 32), y = 64 + 16(g div 32)
#pragma once

#include <cstddef>
#include <cstdint>

namespace runeplate {

// Width of the font image in pixels; every cell position derives from it.
constexpr int32_t FontImageWidth = 512;
// Height of the font image in pixels.
constexpr int32_t FontImageHeight = 256;

// ---------------------------------------------------------------------------
// Code unit to jamo indices
// ---------------------------------------------------------------------------

// Packed jamo indices: initial index in bits 16..23, medial in bits 8..15,
// final in bits 0..7, zero in bits 24..31. Indices are 1-based in Unicode
// conjoining-jamo order; 0 means the component is absent.
constexpr uint32_t PackJamo(uint32_t initial, uint32_t medial, uint32_t final_) {
  return (initial << 16) | (medial << 8) | final_;
}

// Result of CharToJamoIndices for a code unit that is neither a precomposed
// syllable nor a compatibility letter.
constexpr uint32_t NotConvertible = 0xFFFFFFFFu;

// Precomposed syllables U+AC00..U+D7A3: S = code - first, L = S / 588,
// V = (S % 588) / 28, T = S % 28.
constexpr uint32_t SyllableFirst = 0xAC00;
constexpr uint32_t SyllableLast = 0xD7A3;
constexpr uint32_t InitialCount = 19;
constexpr uint32_t MedialCount = 21;
constexpr uint32_t FinalCount = 28;  // including "no final"
constexpr uint32_t SyllableCount = InitialCount * MedialCount * FinalCount;  // 11,172

// Hangul compatibility letters U+3131..U+3163.
constexpr uint32_t CompatJamoFirst = 0x3131;
constexpr uint32_t CompatJamoLast = 0x3163;
constexpr uint32_t CompatJamoCount = CompatJamoLast - CompatJamoFirst + 1;  // 51

// Index-to-Johab tables: slot s holds the 5-bit Johab code of initial index
// s + 1, medial index s + 1, final index s (slot 0: the fill code 1). Unused
// slots hold -1 and are never read.
extern const int32_t InitialToJohab[32];
extern const int32_t MedialToJohab[32];
extern const int32_t FinalToJohab[32];

// Johab-to-index rows (initial, medial, final), indexed by a 5-bit code 0..30;
// 0 means no letter has that code.
extern const uint8_t JohabToJamoIndex[3][31];

// Johab code of each compatibility letter U+3131..U+3163, in the low 16 bits.
extern const uint32_t CompatJamoToJohab[CompatJamoCount];

// Decodes a 16-bit Johab code into packed jamo indices. A code with bit 15
// clear, or above 0xFFFF, gives NotConvertible. A 5-bit field of 31 (which no
// code built by CharToJamoIndices has) gives index 0.
uint32_t JohabToJamoIndices(uint32_t johab);

// Packed jamo indices of one UTF-16 code unit (0..65535), or NotConvertible.
// Exactly the 11,172 syllables and the 51 compatibility letters convert.
uint32_t CharToJamoIndices(uint32_t code);

// ---------------------------------------------------------------------------
// Glyph set selection
// ---------------------------------------------------------------------------

// Base glyph number of each glyph set; the glyph of index k in a set is
// base + k - 1.
constexpr int32_t InitialSetBase[8] = {0, 19, 38, 57, 76, 95, 114, 133};
constexpr int32_t MedialSetBase[4] = {152, 173, 194, 215};
constexpr int32_t FinalSetBase[4] = {236, 263, 290, 317};
// Number of Hangul glyphs in the font image.
constexpr int32_t HangulGlyphCount = 344;
// The glyph drawn (twice) for a code unit of 128 or above that is not Hangul:
// final ㅅ of final set 1.
constexpr int32_t ReplacementGlyph = 254;

// Fills Glyphs with the glyph numbers (initial, medial, final) for packed jamo
// indices. A component with nothing to draw gets -1. Bits 24..31 are ignored;
// every field value 0..255 is accepted (NotConvertible gives 254, 254, -1).
void SelectGlyphs(uint32_t packed, int32_t glyphs[3]);

// ---------------------------------------------------------------------------
// Glyph cells and text runs
// ---------------------------------------------------------------------------

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
// 64-column grid.
TRect AsciiCell(int32_t code);
// Source cell of Hangul glyph g (0..343): 16 x 16 at grid cell g + 128 of a
// 32-column grid.
TRect HangulCell(int32_t glyph);

// Lays out one code unit (0..65535) into List:
//   below 128                       1 rectangle, its ASCII cell
//   syllable without / with final   2 / 3 rectangles (initial, medial[, final])
//   compatibility consonant         1 rectangle (initial set 1)
//   compatibility vowel             1 rectangle, its medial glyph (medial set 1)
//   final-only cluster (ㄳ ㄵ ...)   1 rectangle, its final glyph (final set 1)
//   anything else                   2 rectangles, glyph 254 twice
// Negative glyph numbers are skipped, so a lone vowel or final-only cluster
// still shows its glyph.
void GetGlyphRects(uint32_t code, TGlyphRects& list);

// Pen advance of one code unit: 8 below 128, 16 for every other code unit.
constexpr int32_t AdvanceOf(uint32_t code) { return code < 128 ? 8 : 16; }

// Walks Length code units of Text on one line starting at (X, Y): for each
// rectangle of each character calls Callback(X, Y, width, height, srcLeft,
// srcTop, UserValue), all rectangles of a character at the same destination,
// then advances X by AdvanceOf(code). Y never changes; control codes are
// ordinary cells. Returns the pen x after the run. Allocates nothing. A null
// Text draws nothing; Callback must not be null. The pen wraps modulo 2^32 as
// a 32-bit two's-complement value: from X = 2147483647 an ASCII character
// moves it to -2147483641, so every X gives a defined run.
int32_t DrawTextRun(int32_t x, int32_t y, const char16_t* text, size_t length,
                    int32_t userValue, TGlyphCallback callback);

}  // namespace runeplate
