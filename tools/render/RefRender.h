// RefRender: a software copy of what the program's Direct3D layer puts on
// screen, pixel for pixel.
//
// The program draws every glyph as a quad shifted by half a pixel and textured
// from a 512 x 256 font texture with point sampling and an alpha test. With
// that shift, texel centres land exactly on pixel centres, so each quad is a
// straight 1:1 copy of its source cell: ink texels take the line colour's red,
// green and blue, clear texels fail the alpha test and leave the picture as it
// was, and the colour's alpha byte never shows. This renderer does exactly
// that, through the same layout engine and frame routines as the program, so
// screenshots of the real program can be compared with it byte for byte.
//
// Platform-free. Each character is drawn whole from its picture composed by
// the font layer (ComposeCell), which paints exactly what the program's quads
// of its glyphs paint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Picture.h"
#include "font/FontFile.h"
#include "frame/FrameText.h"

namespace runeplate {

// Decodes the pixel data of a font file the way the program reads it: only the
// last FontFilePixelBytes bytes count, bottom image row first, most significant
// bit leftmost, set bit = ink; anything before them is ignored. Returns false
// with a message in `error` when `fileBytes` is shorter than
// FontFilePixelBytes.
bool DecodeFontAtlas(const std::vector<uint8_t>& fileBytes, TFontImage& atlas, std::string& error);

// Reads and decodes the font file at `path` into `atlas`. On failure returns
// false and puts a one-line message naming the file in `error`. When
// `warning` is given and the file is not IsFontBitmap, says so there, in one
// line.
bool LoadFontAtlas(const std::string& path, TFontImage& atlas, std::string& error,
                   std::string* warning = nullptr);

// Draws `length` code units of `text` into `image` with `font`, on one line
// with its top-left corner at (`x`, `y`), in `colour` (A8R8G8B8; alpha
// ignored), laid out as DrawTextRun lays it out. Quads are clipped to the
// image. Returns the pen x after the run.
int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                   const char16_t* text, size_t length, uint32_t colour);
inline int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                          const std::u16string& text, uint32_t colour) {
  return RenderText(image, font, x, y, text.data(), text.size(), colour);
}

// Text laid out as composed text with `options` (line breaks, wrapping,
// every jamo drawn), its first line's top-left corner at (`x`, `y`), in
// `colour`. Returns the pen after the text.
TPen RenderBlock(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                 const std::u16string& text, const TBlockOptions& options, uint32_t colour);

// The generator state that `count` calls of RandomInt lead to from `seed`,
// computed in O(log `count`) steps; AdvanceRandomSeed(0, n) is RandomSeed after
// the program's first n calls. Leaves RandomSeed as it found it.
uint32_t AdvanceRandomSeed(uint32_t seed, uint64_t count);

// Frame `frame` (0 = the first of a run) as the program draws it with `font`,
// less its counter: FrameWidth x FrameHeight, white, lines 1..36 in the
// colours that RandomInt gives them in that frame, rows 0..15 white. Leaves
// RandomSeed where the program has it after drawing that frame's lines.
TRgbImage RenderFrame(uint64_t frame, const TFontImage& font);

// Writes `image` to `path` as an 8-bit RGB PNG, each pixel enlarged to a
// `scale` x `scale` block (`scale` >= 1), whole or not at all. Returns false
// with a message in `error` on failure; a picture too large (CheckPngSize) is
// refused before it is enlarged or anything is written.
bool WritePng(const TRgbImage& image, const std::string& path, std::string& error, int32_t scale = 1);

}  // namespace runeplate
