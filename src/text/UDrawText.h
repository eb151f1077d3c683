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
constexpr TSyllableLetters DecomposeSyllable(uint32_t s) {
  return {s / (MedialCount * FinalCount), s % (MedialCount * FinalCount) / FinalCount,
          s % FinalCount};
}

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

// Fills `glyphs` with the glyph numbers (initial, medial, final) for `packed` jamo
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

// Lays out one code unit `code` (0..65535) into `list`:
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

// The pen after `code`: `x` + AdvanceOf(`code`), wrapping modulo 2^32 as
// 32-bit two's-complement arithmetic does, so every `x` gives a defined run:
// from 2147483647 an ASCII character moves the pen to -2147483641. (The sum
// is taken unsigned; converting it back is modulo 2^32 in GCC, Clang and
// MSVC, and in every C++20 compiler.)
constexpr int32_t AdvancePen(int32_t x, uint32_t code) {
  return static_cast<int32_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(AdvanceOf(code)));
}

// The one walk over a line of text, for any callable: for each rectangle of
// each of the `length` code units of `text`, calls
// `glyph`(x, y, width, height, srcLeft, srcTop, `userValue`), all rectangles
// of a character at the same destination, then advances the pen with
// AdvancePen. `y` never changes; control codes are ordinary cells. Returns the
// pen x after the run. Allocates nothing. A null `text` draws nothing.
// Callbacks run synchronously, in the order of the characters and their
// rectangles.
namespace detail {
// The walk itself, with the layout of one code unit as a parameter: users get
// GetGlyphRects, the engine's own runs an inlined copy of it.
template <class TLayout, class TGlyphFunction>
int32_t WalkGlyphs(int32_t x, int32_t y, const char16_t* text, size_t length, TLayout layOut,
                   TGlyphFunction glyph, int32_t userValue) {
  if (text == nullptr) return x;
  TGlyphRects list;
  for (const char16_t *unit = text, *end = text + length; unit != end; ++unit) {
    const uint32_t code = *unit;
    layOut(code, list);
    // Written out for the at most three rectangles: as a loop, the compiler
    // spilled the run's state around every call.
    const int32_t count = list.Count;
    if (count > 0) {
      const TRect* rects = list.Rects;
      const int32_t width = rects[0].Right - rects[0].Left;
      const int32_t height = rects[0].Bottom - rects[0].Top;
      glyph(x, y, width, height, rects[0].Left, rects[0].Top, userValue);
      if (count > 1) glyph(x, y, width, height, rects[1].Left, rects[1].Top, userValue);
      if (count > 2) glyph(x, y, width, height, rects[2].Left, rects[2].Top, userValue);
    }
    x = AdvancePen(x, code);
  }
  return x;
}
}  // namespace detail

template <class TGlyphFunction>
int32_t ForEachGlyph(int32_t x, int32_t y, const char16_t* text, size_t length,
                     TGlyphFunction&& glyph, int32_t userValue = 0) {
  return detail::WalkGlyphs(x, y, text, length, GetGlyphRects, glyph, userValue);
}

// ForEachGlyph with a plain function pointer: the walk as the program uses
// it. `callback` must not be null when `text` is not empty.
int32_t DrawTextRun(int32_t x, int32_t y, const char16_t* text, size_t length,
                    int32_t userValue, TGlyphCallback callback);

// The width of a run of `length` code units of `text`: the pen x after
// drawing it from x = 0, trailing spaces included (each advances 8). 0 for a
// null `text`. Wraps as AdvancePen does.
int32_t MeasureText(const char16_t* text, size_t length);

// ---------------------------------------------------------------------------
// UTF-8 text
// ---------------------------------------------------------------------------

// The Unicode replacement character, drawn as ReplacementGlyph twice.
constexpr uint32_t ReplacementCharacter = 0xFFFD;

// Decodes the code point that starts `text` (`length` > 0 bytes) into
// `codePoint` and returns how many bytes it took (1..4). Ill-formed input
// (a stray continuation byte, an overlong form, an encoded surrogate, a value
// above U+10FFFF, a sequence cut short) gives ReplacementCharacter for each
// maximal ill-formed part, as Unicode recommends: the bytes that could still
// have begun a valid sequence are taken together, so one bad byte costs one
// replacement and the next valid character is never swallowed. Never reads
// at or past `text` + `length`.
size_t DecodeUtf8(const char* text, size_t length, uint32_t& codePoint);

// DrawTextRun for `length` bytes of UTF-8: each code point up to U+FFFF is
// one code unit, each above it a surrogate pair (two replacement cells, as in
// UTF-16), and ill-formed input is replaced as DecodeUtf8 says.
int32_t DrawTextRunUtf8(int32_t x, int32_t y, const char* text, size_t length,
                        int32_t userValue, TGlyphCallback callback);

}  // namespace runeplate
