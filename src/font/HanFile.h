// HanFile: the classic 8x4x4 font file of DOS-era Hangul programs, and the
// 8 x 16 English font file that came with it. Platform-free.
//
// An 8x4x4 file holds 360 glyphs of 16 x 16 pixels, 32 bytes each: 16 rows of
// two bytes, top row first, the first byte the left eight pixels, the most
// significant bit leftmost. The glyphs come in 16 sets in the order of our
// glyph sets (8 initial, 4 medial, 4 final), and every set starts with one
// blank fill glyph before its letters: 20, 22 and 28 glyphs a set, where our
// font image keeps 19, 21 and 27. So glyph k of our set is glyph k + 1 of the
// file's set, and the fills have no place in the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"

namespace runeplate {

constexpr size_t HanGlyphBytes = 32;
constexpr int32_t HanGlyphCount = 360;
constexpr size_t HanFileBytes = HanGlyphBytes * HanGlyphCount;  // 11,520
// Some files carry one more glyph's worth of zero bytes at the end.
constexpr size_t HanFilePaddedBytes = HanFileBytes + HanGlyphBytes;  // 11,552

// The file glyph that holds Hangul glyph `glyph` (0..343) of the font image.
int32_t HanFileGlyph(int32_t glyph);

// Whether file glyph `index` (0..359) is the fill that opens a set.
bool IsHanFillGlyph(int32_t index);

struct THanDecodeResult {
  bool Ok = false;
  std::string Error;         // one line, when not Ok
  int32_t InkedFills = 0;    // fills that are not blank; their pixels are dropped
};

// Draws the 344 glyphs of the 8x4x4 file in `bytes` (HanFileBytes, or
// HanFilePaddedBytes whose last 32 bytes are zero) into the Hangul cells of
// `image`, leaving every other pixel of `image` as it was. Any other size, or
// padding that is not zero, is not this format: Ok is false and `image` is
// untouched.
THanDecodeResult DecodeHanFile(const std::vector<uint8_t>& bytes, TFontImage& image);

// The 8x4x4 file (HanFileBytes) of the Hangul cells of `image`, with blank
// fills.
std::vector<uint8_t> EncodeHanFile(const TFontImage& image);

// The DOS 8 x 16 English font file: 256 glyphs of 16 bytes, one byte a row,
// top row first, the most significant bit leftmost; glyph n is character n.
constexpr size_t AsciiFontFileBytes = 256 * 16;  // 4,096

// Draws characters `first`..`last` (below 128) of the 8 x 16 file in `bytes`
// into their ASCII cells of `image`. False with a message in `error`, `image`
// untouched, when `bytes` is not AsciiFontFileBytes long.
bool DecodeAsciiFontFile(const std::vector<uint8_t>& bytes, uint32_t first, uint32_t last,
                         TFontImage& image, std::string& error);

}  // namespace runeplate
