#include "render/RefRender.h"

#include "common/CellPainter.h"
#include "common/Files.h"
#include "common/Png.h"

namespace runeplate {

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
  // The size is checked before the enlarged picture is made.
  if (!CheckPngSize(int64_t{image.Width} * scale, int64_t{image.Height} * scale, error)) {
    error = path + ": " + error;
    return false;
  }
  return WritePngFile(path, scale == 1 ? image : Enlarge(image, scale), error);
}

}  // namespace runeplate
