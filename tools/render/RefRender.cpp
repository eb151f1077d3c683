#include "render/RefRender.h"

#include <algorithm>
#include <new>

#include "common/Files.h"
#include "common/Png.h"

namespace runeplate {

TRgbImage::TRgbImage(int32_t width, int32_t height, uint32_t fill)
    : Width(width), Height(height),
      Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), RgbOf(fill)) {}

// ---------------------------------------------------------------------------
// Font file
// ---------------------------------------------------------------------------

bool DecodeFontAtlas(const std::vector<uint8_t>& fileBytes, TFontImage& atlas, std::string& error) {
  if (fileBytes.size() < FontFilePixelBytes) {
    error = "font file has " + std::to_string(fileBytes.size()) + " bytes, fewer than the " +
            std::to_string(FontFilePixelBytes) + " bytes of pixel data";
    return false;
  }
  atlas = DecodeFontPixels(fileBytes.data() + (fileBytes.size() - FontFilePixelBytes));
  return true;
}

namespace {

uint32_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int k = size - 1; k >= 0; --k) value = value << 8 | bytes[at + k];
  return value;
}

}  // namespace

bool IsFontBitmap(const std::vector<uint8_t>& file) {
  constexpr size_t InfoHeaderEnd = 14 + 40;
  if (file.size() < InfoHeaderEnd || file[0] != 'B' || file[1] != 'M') return false;
  return LittleEndian(file, 10, 4) + uint64_t{FontFilePixelBytes} == file.size()  // pixels at the end
         && LittleEndian(file, 14, 4) >= 40                                      // header size
         && LittleEndian(file, 18, 4) == uint32_t{FontImageWidth}
         && LittleEndian(file, 22, 4) == uint32_t{FontImageHeight}  // positive: bottom row first
         && LittleEndian(file, 26, 2) == 1                           // planes
         && LittleEndian(file, 28, 2) == 1                           // bits per pixel
         && LittleEndian(file, 30, 4) == 0;                          // uncompressed
}

bool LoadFontAtlas(const std::string& path, TFontImage& atlas, std::string& error, std::string* warning) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return false;
  if (!DecodeFontAtlas(bytes, atlas, error)) {
    error = path + ": " + error;
    return false;
  }
  if (warning != nullptr && !IsFontBitmap(bytes)) {
    *warning = path + " is not a " + std::to_string(FontImageWidth) + " x " + std::to_string(FontImageHeight) +
               " one-bit bitmap; its last " + std::to_string(FontFilePixelBytes) +
               " bytes are read as the font, as the program does";
  }
  return true;
}

// ---------------------------------------------------------------------------
// Glyph quads
// ---------------------------------------------------------------------------

namespace {

// Draws one character's picture with its top-left corner at (x, y) in `rgb`,
// clipped to the image. Ink takes the colour; clear pixels leave the picture
// as it was, as the program's alpha test does.
void DrawCell(TRgbImage& image, const TCellBitmap& cell, int32_t x, int32_t y, uint32_t rgb) {
  for (int32_t j = 0; j < cell.Height; ++j) {
    const int64_t py = static_cast<int64_t>(y) + j;
    if (py < 0 || py >= image.Height || cell.Rows[j] == 0) continue;
    for (int32_t i = 0; i < cell.Width; ++i) {
      const int64_t px = static_cast<int64_t>(x) + i;
      if (px >= 0 && px < image.Width && cell.IsInk(i, j))
        image.At(static_cast<int32_t>(px), static_cast<int32_t>(py)) = rgb;
    }
  }
}

// The cell function of the walks: each character composed and drawn whole.
// The program draws a character's glyphs one over the other in one colour,
// which paints exactly the pixels of their OR.
struct TCellPainter {
  TRgbImage& Image;
  const TFontImage& Font;
  uint32_t Rgb;
  void operator()(int32_t x, int32_t y, const TGlyphRects& rects) const {
    TCellBitmap cell;
    ComposeCell(ViewOf(Font), rects, cell);
    DrawCell(Image, cell, x, y, Rgb);
  }
};

}  // namespace

int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                   const char16_t* text, size_t length, uint32_t colour) {
  return ForEachCell(x, y, text, length, TCellPainter{image, font, RgbOf(colour)});
}

TPen RenderBlock(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                 const std::u16string& text, const TBlockOptions& options, uint32_t colour) {
  return ForEachCell(x, y, text.data(), text.size(), options,
                     TCellPainter{image, font, RgbOf(colour)});
}

// ---------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------

uint32_t AdvanceRandomSeed(uint32_t seed, uint64_t count) {
  // One step maps the state s to m s + c (mod 2^32); composing the map with
  // itself by repeated squaring jumps Count steps at once.
  uint32_t stepMul = RandomMultiplier;
  uint32_t stepAdd = RandomIncrement;
  for (; count != 0; count >>= 1) {
    if (count & 1) seed = seed * stepMul + stepAdd;
    stepAdd = stepAdd * stepMul + stepAdd;
    stepMul = stepMul * stepMul;
  }
  return seed;
}

TRgbImage RenderFrame(uint64_t frame, const TFontImage& font) {
  TRgbImage image(FrameWidth, FrameHeight, FrameClearColour);
  RandomSeed = AdvanceRandomSeed(0, frame * FrameLineCount);
  ForEachFrameLine([&image, &font](int32_t y, uint32_t colour) {
    RenderText(image, font, 0, y, SampleText, SampleTextLength, colour);
  });
  return image;
}

// ---------------------------------------------------------------------------
// PNG
// ---------------------------------------------------------------------------

bool WritePng(const TRgbImage& image, const std::string& path, std::string& error, int32_t scale) {
  if (scale < 1) {
    error = path + ": scale must be at least 1";
    return false;
  }
  const int64_t width = static_cast<int64_t>(image.Width) * scale;
  const int64_t height = static_cast<int64_t>(image.Height) * scale;
  if (!CheckPngSize(width, height, error)) {
    error = path + ": " + error;
    return false;
  }
  std::vector<uint8_t> rgb;
  try {
    rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  } catch (const std::bad_alloc&) {
    error = path + ": not enough memory for a " + std::to_string(width) + " x " + std::to_string(height) + " picture";
    return false;
  }
  uint8_t* out = rgb.data();
  for (int32_t y = 0; y < image.Height; ++y) {
    uint8_t* const rowStart = out;
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint32_t pixel = image.At(x, y);
      for (int32_t s = 0; s < scale; ++s, out += 3) {
        out[0] = static_cast<uint8_t>(pixel >> 16);
        out[1] = static_cast<uint8_t>(pixel >> 8);
        out[2] = static_cast<uint8_t>(pixel);
      }
    }
    // The other rows of the enlarged pixel row repeat the first.
    for (int32_t s = 1; s < scale; ++s, out += width * 3) std::copy(rowStart, rowStart + width * 3, out);
  }
  return WritePngFile(path, width, height, rgb, error);
}

}  // namespace runeplate
