// UDrawText: the text layout engine.
//
// Turns UTF-16 code units into glyph rectangles of the 512 x 256 font image and
// walks a line of text, reporting every glyph through a callback. Pure
// computation over constant tables: no platform headers, no allocation, no
// state. Safe to call from any thread. Freestanding C++14: no heap, no
// exceptions, no RTTI, nothing of the standard library beyond <stdint.h> and
// <stddef.h>, so it builds for microcontrollers too (on the AVR its tables
// stay in flash: see Flash.h).
//
// Font image regions (x from the left edge, y from the top edge):
//   rows  32..47   ASCII codes 0..63,   8 x 16 cells, code a at x = 8a
//   rows  48..63   ASCII codes 64..127, 8 x 16 cells, code a at x = 8(a - 64)
//   rows  64..239  Hangul glyphs 0..343, 16 x 16 cells, 32 per row,
//                  glyph g at x = 16(g mod 32), y = 64 + 16(g div 32)
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "text/Flash.h"

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

// ---------------------------------------------------------------------------
// Composed text: text as people write it
// ---------------------------------------------------------------------------
//
// The program lays out every UTF-16 code unit on one line, as above. Text
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

// The 16 x 16 cell of compatibility letter U+3131 + `k` (0..50): grid cell k
// of the 32-column grid, in image rows 0..31.
constexpr TRect LetterCell(int32_t k) {
  return {16 * (k % 32), 16 * (k / 32), 16 * (k % 32) + 16, 16 * (k / 32) + 16};
}

// The compatibility letter that draws a lone conjoining jamo `codePoint`
// (U+1100..U+1112, U+1161..U+1175, U+11A8..U+11C2); 0 for any other.
uint32_t CompatLetterOfJamo(uint32_t codePoint);

// The code a lone code point is laid out as in composed text: its
// compatibility letter for a modern conjoining jamo, ReplacementCharacter
// above U+FFFF, the code point itself otherwise.
uint32_t ComposedCode(uint32_t codePoint);

// Lays out one character of composed text, `code` as ComposedCode and the
// composing walks give it (a syllable, a compatibility letter, any other code
// up to U+FFFF), into `list`: GetGlyphRects, but a compatibility letter from
// its LetterCell when `options`.LetterCells.
void GetComposedRects(uint32_t code, const TBlockOptions& options, TGlyphRects& list);

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

// The walks' small steps are inlined into them whatever the optimiser thinks:
// they run once for every character of every line. Not on the AVR, where
// flash is scarcer than cycles and each inlined copy costs hundreds of bytes.
#if defined(__GNUC__) && !defined(__AVR__)
#define RUNEPLATE_ALWAYS_INLINE __attribute__((always_inline)) inline
#else
#define RUNEPLATE_ALWAYS_INLINE inline
#endif

namespace detail {

// What a reader hands the walk in place of a code for a line break.
constexpr uint32_t LineBreakCode = 0xFFFFFFFFu;

// The program's line: every UTF-16 code unit is a character.
struct TUnitReader {
  static constexpr bool HasLineBreaks = false;
  const char16_t* At;
  const char16_t* End;
  bool Next(uint32_t& code) {
    if (At == End) return false;
    code = *At++;
    return true;
  }
};

// The program's line from UTF-8: each code point up to U+FFFF is one code
// unit, each above it a surrogate pair (two replacement cells, as in UTF-16).
struct TUtf8UnitReader {
  static constexpr bool HasLineBreaks = false;
  const char* Text;
  size_t At;
  size_t Length;
  uint32_t Pending;  // the low surrogate still to come, or 0
  bool Next(uint32_t& code) {
    if (Pending != 0) {
      code = Pending;
      Pending = 0;
      return true;
    }
    if (At >= Length) return false;
    uint32_t codePoint;
    At += DecodeUtf8(Text + At, Length - At, codePoint);
    if (codePoint < 0x10000) {
      code = codePoint;
    } else {
      code = 0xD800 + ((codePoint - 0x10000) >> 10);
      Pending = 0xDC00 + ((codePoint - 0x10000) & 0x3FF);
    }
    return true;
  }
};

// Code points of UTF-16 text: a surrogate pair is one, a lone surrogate
// stands for itself. Decode reads the code point at `at` (< `end`) and
// returns how many units it took.
struct TUtf16Text {
  const char16_t* Text;
  RUNEPLATE_ALWAYS_INLINE size_t Decode(size_t at, size_t end, uint32_t& codePoint) const {
    const uint32_t unit = Text[at];
    if (unit - 0xD800u < 0x400u && at + 1 < end) {
      const uint32_t low = Text[at + 1];
      if (low - 0xDC00u < 0x400u) {
        codePoint = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        return 2;
      }
    }
    codePoint = unit;
    return 1;
  }
  bool IsSpace(size_t at) const { return Text[at] == u' '; }
};

// Code points of UTF-8 text, ill-formed parts replaced as DecodeUtf8 says.
struct TUtf8Text {
  const char* Text;
  size_t Decode(size_t at, size_t end, uint32_t& codePoint) const {
    return DecodeUtf8(Text + at, end - at, codePoint);
  }
  bool IsSpace(size_t at) const { return Text[at] == ' '; }
};

// The next character of composed text from `at` (< `end`), moving `at` past
// it: the code GetComposedRects lays out, or LineBreakCode.
template <class TText>
RUNEPLATE_ALWAYS_INLINE uint32_t NextComposed(const TText& text, size_t& at, size_t end) {
  uint32_t first;
  at += text.Decode(at, end, first);
  if (first < LeadingJamoFirst) {
    if (first == u'\n') return LineBreakCode;
    if (first == u'\r') {
      uint32_t next;
      if (at < end) {
        const size_t size = text.Decode(at, end, next);
        if (next == u'\n') at += size;
      }
      return LineBreakCode;
    }
    return first;
  }
  uint32_t syllable;
  if (first - SyllableFirst < SyllableCount) {
    if (DecomposeSyllable(first - SyllableFirst).Final != 0) return first;  // has its final already
    syllable = first;
  } else if (first - LeadingJamoFirst < InitialCount) {
    uint32_t vowel;
    if (at == end) return ComposedCode(first);
    const size_t size = text.Decode(at, end, vowel);
    if (vowel - VowelJamoFirst >= MedialCount) return ComposedCode(first);
    at += size;
    syllable = SyllableFirst +
               ((first - LeadingJamoFirst) * MedialCount + (vowel - VowelJamoFirst)) * FinalCount;
  } else {
    return ComposedCode(first);
  }
  if (at < end) {
    uint32_t trailing;
    const size_t size = text.Decode(at, end, trailing);
    if (trailing - TrailingJamoFirst < FinalCount - 1) {
      at += size;
      syllable += trailing - TrailingJamoFirst + 1;
    }
  }
  return syllable;
}

template <class TText>
struct TComposedReader {
  static constexpr bool HasLineBreaks = true;
  TText Text;
  size_t At;
  size_t End;
  RUNEPLATE_ALWAYS_INLINE bool Next(uint32_t& code) {
    if (At >= End) return false;
    code = NextComposed(Text, At, End);
    return true;
  }
};

// The one walk: lays out each character the reader gives with `layOut`,
// hands `cell`(x, y, rects) the character's rectangles at its pen position,
// and advances the pen with AdvancePen; a line break moves the pen to the
// starting x, one line lower. Returns the pen after the last character.
template <class TReader, class TLayout, class TCellFunction>
TPen WalkCells(int32_t x, int32_t y, TReader reader, TLayout layOut, TCellFunction&& cell) {
  const int32_t lineX = x;
  TGlyphRects list;
  uint32_t code;
  while (reader.Next(code)) {
    if (TReader::HasLineBreaks && code == LineBreakCode) {
      x = lineX;
      y = AdvanceLine(y);
      continue;
    }
    layOut(code, list);
    cell(x, y, static_cast<const TGlyphRects&>(list));
    x = AdvancePen(x, code);
  }
  return {x, y};
}

// Hands each rectangle of a character to a glyph function, all at the
// character's pen position, with the size of its first rectangle.
template <class TGlyphFunction>
struct TGlyphEmitter {
  TGlyphFunction& Glyph;
  int32_t UserValue;
  RUNEPLATE_ALWAYS_INLINE void operator()(int32_t x, int32_t y, const TGlyphRects& list) const {
    // Written out for the at most three rectangles: as a loop, the compiler
    // spilled the run's state around every call.
    const int32_t count = list.Count;
    if (count <= 0) return;
    const TRect* rects = list.Rects;
    const int32_t width = rects[0].Right - rects[0].Left;
    const int32_t height = rects[0].Bottom - rects[0].Top;
    Glyph(x, y, width, height, rects[0].Left, rects[0].Top, UserValue);
    if (count > 1) Glyph(x, y, width, height, rects[1].Left, rects[1].Top, UserValue);
    if (count > 2) Glyph(x, y, width, height, rects[2].Left, rects[2].Top, UserValue);
  }
};
template <class TGlyphFunction>
TGlyphEmitter<TGlyphFunction> EmitGlyphs(TGlyphFunction& glyph, int32_t userValue) {
  return {glyph, userValue};
}

// The end of the line that starts at `begin`, for wrapping to `wrapWidth`.
struct TLineEnd {
  size_t Ink;    // the line's characters are [begin, Ink), then spaces up to End
  size_t End;    // the line draws [begin, End) at most
  size_t Next;   // where the next line starts
  bool Wrapped;  // ended by the width, not by a line break or the text's end
};
template <class TText>
TLineEnd FindLineEnd(const TText& text, size_t begin, size_t end, int32_t wrapWidth) {
  uint32_t width = 0;
  bool inWord = false, canBreak = false;
  size_t breakAt = begin, ink = begin;
  for (size_t at = begin; at < end;) {
    const size_t start = at;
    const uint32_t code = NextComposed(text, at, end);
    if (code == LineBreakCode) return {ink, start, at, false};
    if (code == u' ') {
      if (inWord) breakAt = start, canBreak = true;  // a space run after a word
      inWord = false;
      width += AdvanceOf(code);
      continue;
    }
    const uint32_t advance = AdvanceOf(code);
    if (start != begin && width + advance > static_cast<uint32_t>(wrapWidth)) {
      if (canBreak) return {breakAt, breakAt, breakAt, true};
      return {ink, start, start, true};  // a word wider than the line
    }
    width += advance;
    inWord = true;
    ink = at;
  }
  return {ink, end, end, false};
}

// How many of `spaces` trailing spaces still fit on a line that starts at
// `lineX` and has its pen at `x`: the rest hang past the box, neither drawn
// nor counted, so a line is never wider than `wrapWidth` unless its one
// character is.
inline size_t SpacesThatFit(int32_t lineX, int32_t x, int32_t wrapWidth, size_t spaces) {
  const uint32_t used = static_cast<uint32_t>(x) - static_cast<uint32_t>(lineX);
  if (used >= static_cast<uint32_t>(wrapWidth)) return 0;
  const size_t room = (static_cast<uint32_t>(wrapWidth) - used) / static_cast<uint32_t>(AdvanceOf(u' '));
  return room < spaces ? room : spaces;
}

// The walk over composed text, each character laid out with `layOut`: lines
// end at line breaks and, with a `wrapWidth` above 0, wrap; each line is one
// walk of WalkCells.
template <class TText, class TLayout, class TCellFunction>
TPen WalkBlock(int32_t x, int32_t y, const TText& text, size_t length, TLayout layOut,
               int32_t wrapWidth, TCellFunction&& cell) {
  if (wrapWidth <= 0) return WalkCells(x, y, TComposedReader<TText>{text, 0, length}, layOut, cell);
  TPen pen{x, y};
  for (size_t at = 0; at < length;) {
    const TLineEnd line = FindLineEnd(text, at, length, wrapWidth);
    pen = WalkCells(x, pen.Y, TComposedReader<TText>{text, at, line.Ink}, layOut, cell);
    // Trailing spaces are one code unit each, in UTF-8 and UTF-16 alike.
    const size_t spaces = SpacesThatFit(x, pen.X, wrapWidth, line.End - line.Ink);
    if (spaces != 0)
      pen = WalkCells(pen.X, pen.Y, TComposedReader<TText>{text, line.Ink, line.Ink + spaces},
                      layOut, cell);
    if (line.End >= length) break;  // the pen stays after the text's last character
    pen = {x, AdvanceLine(pen.Y)};
    at = line.Next;
    if (line.Wrapped) {
      while (at < length && text.IsSpace(at)) ++at;
    }
  }
  return pen;
}

// Lays out a character of composed text with GetComposedRects.
struct TComposedLayout {
  const TBlockOptions& Options;
  void operator()(uint32_t code, TGlyphRects& list) const { GetComposedRects(code, Options, list); }
};

}  // namespace detail

// ---------------------------------------------------------------------------
// Walks
// ---------------------------------------------------------------------------

// The one walk over a line of text, for any callable: for each rectangle of
// each of the `length` code units of `text`, calls
// `glyph`(x, y, width, height, srcLeft, srcTop, `userValue`), all rectangles
// of a character at the same destination, then advances the pen with
// AdvancePen. `y` never changes; control codes are ordinary cells. Returns the
// pen x after the run. Allocates nothing. A null `text` draws nothing.
// Callbacks run synchronously, in the order of the characters and their
// rectangles.
template <class TGlyphFunction>
int32_t ForEachGlyph(int32_t x, int32_t y, const char16_t* text, size_t length,
                     TGlyphFunction&& glyph, int32_t userValue = 0) {
  if (text == nullptr) return x;
  return detail::WalkCells(x, y, detail::TUnitReader{text, text + length}, GetGlyphRects,
                           detail::EmitGlyphs(glyph, userValue))
      .X;
}

// ForEachGlyph over composed text (see above): the same calls, for
// characters as composed text has them, lines ended by line breaks and
// wrapped to `options`.WrapWidth. Returns the pen after the text. Allocates
// nothing; a null `text` draws nothing.
template <class TGlyphFunction>
TPen ForEachGlyph(int32_t x, int32_t y, const char16_t* text, size_t length,
                  const TBlockOptions& options, TGlyphFunction&& glyph, int32_t userValue = 0) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf16Text{text}, length,
                           detail::TComposedLayout{options}, options.WrapWidth,
                           detail::EmitGlyphs(glyph, userValue));
}

// The same for `length` bytes of UTF-8, ill-formed parts replaced as
// DecodeUtf8 says.
template <class TGlyphFunction>
TPen ForEachGlyphUtf8(int32_t x, int32_t y, const char* text, size_t length,
                      const TBlockOptions& options, TGlyphFunction&& glyph,
                      int32_t userValue = 0) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf8Text{text}, length,
                           detail::TComposedLayout{options}, options.WrapWidth,
                           detail::EmitGlyphs(glyph, userValue));
}

// The walks character by character instead of glyph by glyph:
// `cell`(x, y, rects) gets each character's rectangles (a TGlyphRects) at its
// pen position, for drawing a character whole (see ComposeCell in the font
// layer). The first form lays out the program's line, the second composed
// text.
template <class TCellFunction>
int32_t ForEachCell(int32_t x, int32_t y, const char16_t* text, size_t length,
                    TCellFunction&& cell) {
  if (text == nullptr) return x;
  return detail::WalkCells(x, y, detail::TUnitReader{text, text + length}, GetGlyphRects, cell).X;
}
template <class TCellFunction>
TPen ForEachCell(int32_t x, int32_t y, const char16_t* text, size_t length,
                 const TBlockOptions& options, TCellFunction&& cell) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf16Text{text}, length,
                           detail::TComposedLayout{options}, options.WrapWidth, cell);
}
template <class TCellFunction>
TPen ForEachCellUtf8(int32_t x, int32_t y, const char* text, size_t length,
                     const TBlockOptions& options, TCellFunction&& cell) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf8Text{text}, length,
                           detail::TComposedLayout{options}, options.WrapWidth, cell);
}

// ForEachGlyph with a plain function pointer: the walk as the program uses
// it. `callback` must not be null when `text` is not empty.
int32_t DrawTextRun(int32_t x, int32_t y, const char16_t* text, size_t length,
                    int32_t userValue, TGlyphCallback callback);

// The width of a run of `length` code units of `text`: the pen x after
// drawing it from x = 0, trailing spaces included (each advances 8). 0 for a
// null `text`. Wraps as AdvancePen does.
int32_t MeasureText(const char16_t* text, size_t length);

// DrawTextRun for `length` bytes of UTF-8: each code point up to U+FFFF is
// one code unit, each above it a surrogate pair (two replacement cells, as in
// UTF-16), and ill-formed input is replaced as DecodeUtf8 says.
int32_t DrawTextRunUtf8(int32_t x, int32_t y, const char* text, size_t length,
                        int32_t userValue, TGlyphCallback callback);

// ForEachGlyph over composed text with a plain function pointer, in UTF-16
// and UTF-8. `callback` must not be null when `text` is not empty.
TPen DrawTextBlock(int32_t x, int32_t y, const char16_t* text, size_t length,
                   const TBlockOptions& options, int32_t userValue, TGlyphCallback callback);
TPen DrawTextBlockUtf8(int32_t x, int32_t y, const char* text, size_t length,
                       const TBlockOptions& options, int32_t userValue,
                       TGlyphCallback callback);

// The size of a block of composed text laid out with `options`: the width of
// its widest line (the pen x after the line, trailing spaces included as
// far as they fit a WrapWidth) and its height, LineHeight a line. A text that ends
// in a line break has an empty last line; an empty or null text is 0 x 0.
struct TBlockSize {
  int32_t Width;
  int32_t Height;
};
TBlockSize MeasureBlock(const char16_t* text, size_t length, const TBlockOptions& options);
TBlockSize MeasureBlockUtf8(const char* text, size_t length, const TBlockOptions& options);

}  // namespace runeplate
