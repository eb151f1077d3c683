// GlyphComposer: the picture of one character, composed from a font atlas.
//
// A character is drawn as up to three glyphs of the atlas laid on top of
// each other (see UDrawText.h): from their glyph numbers (ComposePicture),
// or from any rectangles of the image (ComposeCell). Whatever needs a character's picture
// rather than its rectangles (the reference renderer, the font generator's
// previews and reports, fonts written for other programs, a display with a
// frame buffer) composes it here, from the same layout the program uses.
// Freestanding: no allocation, no standard library beyond <stdint.h> and
// <stddef.h>, so it builds for small devices too; on the AVR every font byte
// is read from flash (see text/Flash.h), so a font there must be declared
// RUNEPLATE_FLASH.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "text/UDrawText.h"

namespace runeplate {

// How a font's bytes hold the 512 x 256 image. The two atlas orders keep all
// 16384 bytes: 64 bytes a row, the most significant bit of each byte the
// leftmost of its eight pixels, a set bit ink. The compact form keeps only
// the glyphs the engine draws (CompactFontBytes, for small devices): the 95
// ASCII glyphs of codes 0x20..0x7E, 16 bytes each, one a row, top row first;
// then the HangulGlyphCount jamo glyphs 0..343, 32 bytes each, two a row
// (left byte first), top row first. Every other part of the image reads as
// blank there: ASCII controls and DEL, the letter cells, the unused cells.
enum TFontRowOrder : uint8_t {
  FontTopRowFirst,     // image row 0 first, as TFontImage keeps it
  FontBottomRowFirst,  // image row 255 first, as the font file and its C array do
  FontCompactGlyphs,   // the compact form: glyphs only, ASCII first
};
// The first ASCII code, the number of ASCII glyphs and the bytes of each
// glyph in the compact form; then where the jamo glyphs start, and its size.
constexpr int32_t CompactAsciiFirst = 0x20;
constexpr int32_t CompactAsciiCount = 0x7F - CompactAsciiFirst;  // 95
constexpr int32_t CompactAsciiBytes = 16;
constexpr int32_t CompactJamoBytes = 32;
constexpr int32_t CompactJamoOffset = CompactAsciiCount * CompactAsciiBytes;  // 1520
constexpr int32_t CompactFontBytes = CompactJamoOffset + HangulGlyphCount * CompactJamoBytes;
static_assert(CompactFontBytes == 12528, "the compact font's size");

// A font as the composer reads it: `Pixels` holds FontFilePixelBytes (the
// atlas orders) or CompactFontBytes (the compact form) bytes laid out as
// `Order` says.
struct TFontView {
  const uint8_t* Pixels;
  TFontRowOrder Order;
};

// Pixels `left` to `left` + `width` - 1 (`width` 1..16, all inside the image)
// of image row `y`, the leftmost in bit 15 of the result, the rest clear; 0
// for any other `width` or a row part outside the image.
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
// list, or a first rectangle outside the image or larger than 16 x 16,
// gives a 0 x 0 picture; a later rectangle that does not lie inside the
// image at that size adds nothing.
void ComposeCell(const TFontView& font, const TGlyphRects& rects, TCellBitmap& cell);

// The picture of a character's glyph cell (as ForEachGlyphCell hands it
// out) into `picture`, 32 bytes: 16 rows of 2 bytes, top row first, the most
// significant bit of a row's first byte its leftmost pixel, a set bit ink
// (the C interface's picture). Goes from glyph number to bitmap in one step:
// a compact font's jamo glyphs are ORed straight from their 32 bytes, an
// atlas is read at each glyph's rectangle. Returns the cell's width (8 for
// ASCII, 16 otherwise; 0 and a blank picture for a cell without glyphs). A
// glyph the font does not keep (an ASCII control in the compact form, a
// number out of range) adds nothing.
int32_t ComposePicture(const TFontView& font, const TGlyphCell& cell, uint8_t picture[32]);
// ComposePicture as a TCellBitmap (16 high, or 0 x 0 for no glyphs).
void ComposeGlyphCell(const TFontView& font, const TGlyphCell& cell, TCellBitmap& bitmap);

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
