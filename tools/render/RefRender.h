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

#include "font/FontFile.h"
#include "frame/FrameText.h"

namespace runeplate {

// An RGB picture: Width x Height pixels, row-major from the top-left corner,
// each 0x00RRGGBB.
struct TRgbImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;

  TRgbImage() = default;
  // A Width x Height picture filled with Fill (its top byte is dropped).
  TRgbImage(int32_t width, int32_t height, uint32_t fill = 0x00FFFFFFu);

  uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Red, green and blue of an A8R8G8B8 colour, as stored in a TRgbImage.
constexpr uint32_t RgbOf(uint32_t colour) { return colour & 0x00FFFFFFu; }

// Decodes the pixel data of a font file the way the program reads it: only the
// last FontFilePixelBytes bytes count, bottom image row first, most significant
// bit leftmost, set bit = ink; anything before them is ignored. Returns false
// with a message in Error when the data is shorter than FontFilePixelBytes.
bool DecodeFontAtlas(const std::vector<uint8_t>& fileBytes, TFontImage& atlas, std::string& error);

// Whether File is a font file of the kind we write: a 512 x 256 one-bit
// bottom-up bitmap whose pixels are its last FontFilePixelBytes bytes. The
// program reads any file all the same; this only tells whether it shows what
// was meant.
bool IsFontBitmap(const std::vector<uint8_t>& file);

// Reads and decodes the font file at Path. On failure returns false and puts a
// one-line message naming the file in Error. When Warning is given and the
// file is not IsFontBitmap, says so there, in one line.
bool LoadFontAtlas(const std::string& path, TFontImage& atlas, std::string& error,
                   std::string* warning = nullptr);

// Draws Length code units of Text on one line with its top-left corner at
// (X, Y) in Colour (A8R8G8B8; alpha ignored), laid out as DrawTextRun lays
// it out. Quads are clipped to the image. Returns the pen x after the run.
int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                   const char16_t* text, size_t length, uint32_t colour);
inline int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                          const std::u16string& text, uint32_t colour) {
  return RenderText(image, font, x, y, text.data(), text.size(), colour);
}

// Text laid out as composed text with Options (line breaks, wrapping, every
// jamo drawn), its first line's top-left corner at (X, Y), in Colour.
// Returns the pen after the text.
TPen RenderBlock(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                 const std::u16string& text, const TBlockOptions& options, uint32_t colour);

// The generator state that Count calls of RandomInt lead to from Seed,
// computed in O(log Count) steps; AdvanceRandomSeed(0, n) is RandomSeed after
// the program's first n calls. Leaves RandomSeed as it found it.
uint32_t AdvanceRandomSeed(uint32_t seed, uint64_t count);

// Frame Frame (0 = the first of a run) as the program draws it, less its
// counter: FrameWidth x FrameHeight, white, lines 1..36 in the colours that
// RandomInt gives them in that frame, rows 0..15 white. Leaves RandomSeed
// where the program has it after drawing that frame's lines.
TRgbImage RenderFrame(uint64_t frame, const TFontImage& font);

// Writes Image to Path as an 8-bit RGB PNG, each pixel enlarged to a Scale x
// Scale block (Scale >= 1), whole or not at all. Returns false with a message
// on failure; a picture too large for a PNG is refused before anything is
// written.
bool WritePng(const TRgbImage& image, const std::string& path, std::string& error, int32_t scale = 1);

}  // namespace runeplate
