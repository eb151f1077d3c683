// GlyphComposer: the picture of one character, composed from a font atlas.
//
// A character is drawn as up to three glyph rectangles of the atlas laid on
// top of each other (see UDrawText.h). Whatever needs a character's picture
// rather than its rectangles (the reference renderer, the font generator's
// previews and reports, fonts written for other programs, a display with a
// frame buffer) composes it here, from the same layout the program uses.
// Freestanding: no allocation, no standard library beyond <stdint.h> and
// <stddef.h>, so it builds for small devices too.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "text/UDrawText.h"

namespace runeplate {

// How an atlas's 16384 bytes hold the 512 x 256 image: 64 bytes a row, the
// most significant bit of each byte the leftmost of its eight pixels, a set
// bit ink, the rows in one of two orders.
enum TFontRowOrder : uint8_t {
  FontTopRowFirst,     // image row 0 first, as TFontImage keeps it
  FontBottomRowFirst,  // image row 255 first, as the font file and its C array do
};
struct TFontView {
  const uint8_t* Pixels;
  TFontRowOrder Order;
};

// Pixels `left` to `left` + `width` - 1 (`width` 1..16, all inside the image)
// of image row `y`, the leftmost in bit 15 of the result, the rest clear.
uint16_t FontRowBits(const TFontView& font, int32_t left, int32_t width, int32_t y);

// A character's picture: Width x Height pixels (8 x 16 for ASCII, 16 x 16
// otherwise), row y in Rows[y], pixel x in bit 15 - x.
struct TCellBitmap {
  int32_t Width;
  int32_t Height;
  uint16_t Rows[16];
  bool IsInk(int32_t x, int32_t y) const { return ((Rows[y] >> (15 - x)) & 1) != 0; }
};

// The picture of the rectangles of one character (`rects`, as the walks hand
// them out): every rectangle's pixels at the size of the first, OR-ed
// together, exactly as the walks draw them on top of each other. An empty
// list gives a 0 x 0 picture.
void ComposeCell(const TFontView& font, const TGlyphRects& rects, TCellBitmap& cell);

// The picture of `codePoint` alone. With `options` null, as the program's
// line lays out the code unit (a code point above U+FFFF: the replacement
// cell); otherwise as composed text lays out the code point by itself (a
// lone jamo drawn as its letter, from the letter cells when
// `options`->LetterCells).
void ComposeCodePoint(const TFontView& font, uint32_t codePoint, const TBlockOptions* options,
                      TCellBitmap& cell);

// Whether the atlas draws the compatibility letters in cells of their own
// (LetterCell): any ink in those 51 cells.
bool HasLetterCells(const TFontView& font);

}  // namespace runeplate
