// UDrawText: the text layout engine.
//
// Turns UTF-16 code units into glyphs of the 512 x 256 font image and walks a
// line of text, reporting every glyph through a callback. Pure computation
// over constant tables: no platform headers, no allocation, no state. Safe to
// call from any thread. Freestanding C++14: no heap, no exceptions, no RTTI,
// nothing of the standard library beyond <stdint.h> and <stddef.h>, so it
// builds for microcontrollers too (on the AVR its tables stay in flash: see
// Flash.h).
//
// This is the one header users include. The engine's parts, each a header of
// one concern, in the order they build on each other:
//   JamoIndices.h   a code unit to its jamo indices, through Johab; a
//                   syllable number to its letters
//   GlyphSets.h     which glyph set each letter takes; glyph numbers 0..343
//   GlyphCells.h    where each glyph lies in the image; one code unit of the
//                   program's line as a glyph cell (TGlyphCell: its source
//                   and one to three glyph numbers) or as rectangles
//                   (GetGlyphRects); the pen's advance
//   ComposedText.h  the rules of text as people write it (TBlockOptions)
//   Utf8.h          decoding UTF-8
//   Walk.h          the one walk all the walks below are made of
//
// Every walk reads its text once, from left to right, lays out each character
// with the one layout of its kind (LayOutCode for the program's line,
// LayOutComposedCode for composed text) and hands it on at the pen position:
// as glyph rectangles to a glyph function (ForEachGlyph, DrawTextRun,
// DrawTextBlock), as a character's rectangles to a cell function
// (ForEachCell), or as its glyph numbers (ForEachGlyphCell), which a composer
// turns into a picture in one step. The measuring walks only move the pen.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "text/ComposedText.h"
#include "text/Flash.h"
#include "text/GlyphCells.h"
#include "text/GlyphSets.h"
#include "text/JamoIndices.h"
#include "text/Utf8.h"
#include "text/Walk.h"

namespace runeplate {

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
  return detail::WalkCells(x, y, detail::TUnitReader{text, text + length}, detail::TLineLayout{},
                           detail::EmitGlyphs(glyph, userValue))
      .X;
}

// ForEachGlyph over composed text (ComposedText.h): the same calls, for
// characters as composed text has them, lines ended by line breaks and
// wrapped to `options`.WrapWidth. Returns the pen after the text. Allocates
// nothing; a null `text` draws nothing.
template <class TGlyphFunction>
TPen ForEachGlyph(int32_t x, int32_t y, const char16_t* text, size_t length,
                  const TBlockOptions& options, TGlyphFunction&& glyph, int32_t userValue = 0) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf16Text{text}, length, options,
                           detail::EmitGlyphs(glyph, userValue));
}

// The same for `length` bytes of UTF-8, ill-formed parts replaced as
// DecodeUtf8 says.
template <class TGlyphFunction>
TPen ForEachGlyphUtf8(int32_t x, int32_t y, const char* text, size_t length,
                      const TBlockOptions& options, TGlyphFunction&& glyph,
                      int32_t userValue = 0) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf8Text{text}, length, options,
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
  return detail::WalkCells(x, y, detail::TUnitReader{text, text + length}, detail::TLineLayout{},
                           detail::EmitRects(cell))
      .X;
}
template <class TCellFunction>
TPen ForEachCell(int32_t x, int32_t y, const char16_t* text, size_t length,
                 const TBlockOptions& options, TCellFunction&& cell) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf16Text{text}, length, options,
                           detail::EmitRects(cell));
}
template <class TCellFunction>
TPen ForEachCellUtf8(int32_t x, int32_t y, const char* text, size_t length,
                     const TBlockOptions& options, TCellFunction&& cell) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf8Text{text}, length, options,
                           detail::EmitRects(cell));
}

// ForEachCell over composed text with each character's glyph numbers:
// `cell`(x, y, glyphCell) gets a TGlyphCell (its source and one to three
// glyph numbers), for a composer that goes from glyph number to bitmap in one
// step (ComposePicture in the font layer). The same characters, places and
// pen as ForEachCell.
template <class TCellFunction>
TPen ForEachGlyphCell(int32_t x, int32_t y, const char16_t* text, size_t length,
                      const TBlockOptions& options, TCellFunction&& cell) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf16Text{text}, length, options, cell);
}
template <class TCellFunction>
TPen ForEachGlyphCellUtf8(int32_t x, int32_t y, const char* text, size_t length,
                          const TBlockOptions& options, TCellFunction&& cell) {
  if (text == nullptr) return {x, y};
  return detail::WalkBlock(x, y, detail::TUtf8Text{text}, length, options, cell);
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
// far as they fit a WrapWidth) and its height, LineHeight a line. A text that
// ends in a line break has an empty last line; an empty or null text is 0 x 0.
struct TBlockSize {
  int32_t Width;
  int32_t Height;
};
TBlockSize MeasureBlock(const char16_t* text, size_t length, const TBlockOptions& options);
TBlockSize MeasureBlockUtf8(const char* text, size_t length, const TBlockOptions& options);

}  // namespace runeplate
