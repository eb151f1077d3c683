// Walk: the one walk of the layout engine and its parts, for the public
// walks in UDrawText.h (the one include for users). A reader hands out the
// text's characters, a layout turns each into its glyph cell, and a cell
// function does what the caller wants with it at the pen position.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "text/ComposedText.h"
#include "text/Flash.h"
#include "text/GlyphCells.h"
#include "text/GlyphSets.h"
#include "text/JamoIndices.h"
#include "text/Utf8.h"

namespace runeplate {
namespace detail {

// What a reader hands the walk in place of a code for a line break.
constexpr uint32_t LineBreakCode = 0xFFFFFFFFu;

// One character as a reader hands it out: its code (as LayOutCode or
// LayOutComposedCode take it, or LineBreakCode), and, when the reader has
// already taken a syllable apart to see whether a final follows, its
// letters, so that the layout does not take it apart again.
struct TCharacter {
  uint32_t Code;
  bool HasLetters;
  uint8_t Initial, Medial, Final;  // as DecomposeSyllable gives them
};

// The program's line: every UTF-16 code unit is a character.
struct TUnitReader {
  static constexpr bool HasLineBreaks = false;
  const char16_t* At;
  const char16_t* End;
  bool Next(TCharacter& character) {
    if (At == End) return false;
    character.Code = *At++;
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
  bool Next(TCharacter& character) {
    if (Pending != 0) {
      character.Code = Pending;
      Pending = 0;
      return true;
    }
    if (At >= Length) return false;
    uint32_t codePoint;
    At += DecodeUtf8(Text + At, Length - At, codePoint);
    if (codePoint < 0x10000) {
      character.Code = codePoint;
    } else {
      character.Code = 0xD800 + ((codePoint - 0x10000) >> 10);
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
  uint32_t UnitAt(size_t at) const { return Text[at]; }
};

// Code points of UTF-8 text, ill-formed parts replaced as DecodeUtf8 says.
struct TUtf8Text {
  const char* Text;
  RUNEPLATE_ALWAYS_INLINE size_t Decode(size_t at, size_t end, uint32_t& codePoint) const {
    // ASCII without the call: most characters of most text, and on a small
    // device the call costs more than the decoding.
    const uint8_t lead = static_cast<uint8_t>(Text[at]);
    if (lead < 0x80) {
      codePoint = lead;
      return 1;
    }
    return DecodeUtf8(Text + at, end - at, codePoint);
  }
  bool IsSpace(size_t at) const { return Text[at] == ' '; }
  uint32_t UnitAt(size_t at) const { return static_cast<uint8_t>(Text[at]); }
};

// The next character of composed text from `at` (< `end`), moving `at` past
// it.
template <class TText>
RUNEPLATE_ALWAYS_INLINE void NextComposed(const TText& text, size_t& at, size_t end,
                                          TCharacter& character) {
  uint32_t first;
  at += text.Decode(at, end, first);
  character.HasLetters = false;
  if (first < LeadingJamoFirst) {
    character.Code = first;
    if (first == u'\n') character.Code = LineBreakCode;
    if (first == u'\r') {
      character.Code = LineBreakCode;
      uint32_t next;
      if (at < end) {
        const size_t size = text.Decode(at, end, next);
        if (next == u'\n') at += size;
      }
    }
    return;
  }
  uint32_t initial, medial;
  if (first - SyllableFirst < SyllableCount) {
    const TSyllableLetters letters = DecomposeSyllable(first - SyllableFirst);
    character.Code = first;
    character.HasLetters = true;
    character.Initial = static_cast<uint8_t>(letters.Initial);
    character.Medial = static_cast<uint8_t>(letters.Medial);
    character.Final = static_cast<uint8_t>(letters.Final);
    if (letters.Final != 0) return;  // has its final already
    initial = letters.Initial;
    medial = letters.Medial;
  } else if (first - LeadingJamoFirst < InitialCount) {
    character.Code = ComposedCode(first);
    if (at == end) return;
    uint32_t vowel;
    const size_t size = text.Decode(at, end, vowel);
    if (vowel - VowelJamoFirst >= MedialCount) return;
    at += size;
    initial = first - LeadingJamoFirst;
    medial = vowel - VowelJamoFirst;
    character.Code = SyllableFirst + (initial * MedialCount + medial) * FinalCount;
    character.HasLetters = true;
    character.Initial = static_cast<uint8_t>(initial);
    character.Medial = static_cast<uint8_t>(medial);
    character.Final = 0;
  } else {
    character.Code = ComposedCode(first);
    return;
  }
  if (at < end) {
    uint32_t trailing;
    const size_t size = text.Decode(at, end, trailing);
    if (trailing - TrailingJamoFirst < FinalCount - 1) {
      at += size;
      character.Final = static_cast<uint8_t>(trailing - TrailingJamoFirst + 1);
      character.Code += character.Final;
    }
  }
}

// NextComposed for its code alone (LineBreakCode for a line break), for a
// reader that needs no letters.
template <class TText>
uint32_t NextComposed(const TText& text, size_t& at, size_t end) {
  TCharacter character;
  NextComposed(text, at, end, character);
  return character.Code;
}

template <class TText>
struct TComposedReader {
  static constexpr bool HasLineBreaks = true;
  TText Text;
  size_t At;
  size_t End;
  RUNEPLATE_HOT_INLINE bool Next(TCharacter& character) {
    if (At >= End) return false;
    // An ASCII character other than a line break is one unit and joins
    // nothing: taken here, without the call a small device pays for.
    const uint32_t unit = Text.UnitAt(At);
    if (unit < 0x80 && unit != u'\n' && unit != u'\r') {
      character.Code = unit;
      character.HasLetters = false;
      ++At;
      return true;
    }
    NextComposed(Text, At, End, character);
    return true;
  }
};

// The layouts: the program's line, and composed text with its options.
struct TLineLayout {
  RUNEPLATE_ALWAYS_INLINE void operator()(const TCharacter& character, TGlyphCell& cell) const {
    LayOutCode(character.Code, cell);
  }
};
struct TComposedLayout {
  const TBlockOptions& Options;
  RUNEPLATE_HOT_INLINE void operator()(const TCharacter& character, TGlyphCell& cell) const {
    if (character.HasLetters) {
      cell.Source = SourceJamo;
      cell.Count = static_cast<uint8_t>(
          SyllableGlyphs(character.Initial, character.Medial, character.Final, cell.Glyphs));
      return;
    }
    LayOutComposedCode(character.Code, Options, cell);
  }
};

// The one walk: lays out each character the reader gives with `layOut`,
// hands `cell`(x, y, glyphCell) the character's glyph cell at its pen
// position, and advances the pen with AdvancePen; a line break moves the pen
// to the starting x, one line lower. Returns the pen after the last
// character.
template <class TReader, class TLayout, class TCellFunction>
TPen WalkCells(int32_t x, int32_t y, TReader reader, TLayout layOut, TCellFunction&& cell) {
  const int32_t lineX = x;
  TGlyphCell glyphs;
  TCharacter character;
  while (reader.Next(character)) {
    if (TReader::HasLineBreaks && character.Code == LineBreakCode) {
      x = lineX;
      y = AdvanceLine(y);
      continue;
    }
    layOut(static_cast<const TCharacter&>(character), glyphs);
    cell(x, y, static_cast<const TGlyphCell&>(glyphs));
    x = AdvancePen(x, character.Code);
  }
  return {x, y};
}

// Hands each glyph of a character to a glyph function as its rectangle, all
// at the character's pen position, with the size of the character's cell.
template <class TGlyphFunction>
struct TGlyphEmitter {
  TGlyphFunction& Glyph;
  int32_t UserValue;
  RUNEPLATE_ALWAYS_INLINE void operator()(int32_t x, int32_t y, const TGlyphCell& cell) const {
    // Written out for the at most three glyphs: as a loop, the compiler
    // spilled the run's state around every call.
    const int32_t count = cell.Count;
    if (count <= 0) return;
    if (cell.Source != SourceJamo) {
      const TRect rect = GlyphRect(cell.Source, cell.Glyphs[0]);
      Glyph(x, y, rect.Right - rect.Left, CellHeight, rect.Left, rect.Top, UserValue);
      return;
    }
    TRect rect = HangulCell(cell.Glyphs[0]);
    Glyph(x, y, 16, CellHeight, rect.Left, rect.Top, UserValue);
    if (count > 1) {
      rect = HangulCell(cell.Glyphs[1]);
      Glyph(x, y, 16, CellHeight, rect.Left, rect.Top, UserValue);
    }
    if (count > 2) {
      rect = HangulCell(cell.Glyphs[2]);
      Glyph(x, y, 16, CellHeight, rect.Left, rect.Top, UserValue);
    }
  }
};
template <class TGlyphFunction>
TGlyphEmitter<TGlyphFunction> EmitGlyphs(TGlyphFunction& glyph, int32_t userValue) {
  return {glyph, userValue};
}

// Hands each character to a cell function as its rectangles (TGlyphRects).
template <class TRectsFunction>
struct TRectsEmitter {
  TRectsFunction& Rects;
  void operator()(int32_t x, int32_t y, const TGlyphCell& cell) const {
    TGlyphRects list;
    RectsOfCell(cell, list);
    Rects(x, y, static_cast<const TGlyphRects&>(list));
  }
};
template <class TRectsFunction>
TRectsEmitter<TRectsFunction> EmitRects(TRectsFunction& rects) {
  return {rects};
}

// A cell function that does nothing: the walk for its pen alone.
struct TNoCell {
  void operator()(int32_t, int32_t, const TGlyphCell&) const {}
};

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
  const size_t room =
      (static_cast<uint32_t>(wrapWidth) - used) / static_cast<uint32_t>(AdvanceOf(u' '));
  return room < spaces ? room : spaces;
}

// The walk over composed text: lines end at line breaks and, with a
// `wrapWidth` above 0, wrap; each line is one walk of WalkCells.
template <class TText, class TCellFunction>
TPen WalkBlock(int32_t x, int32_t y, const TText& text, size_t length,
               const TBlockOptions& options, TCellFunction&& cell) {
  const TComposedLayout layOut{options};
  const int32_t wrapWidth = options.WrapWidth;
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

}  // namespace detail
}  // namespace runeplate
