#include "render/RefRender.h"

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

namespace {

// Where the glyph callback draws. TGlyphCallback carries no context, so
// RenderText points this at its image and font for the length of one run and
// clears it afterwards; nothing else touches it.
struct TDrawTarget {
  TRgbImage* Image = nullptr;
  const TFontImage* Font = nullptr;
};
TDrawTarget CurrentTarget;

// Texture coordinates outside the texture wrap, as with the device's default
// addressing; the layout never asks for them, but a copy should not crash
// where the device would not.
int32_t WrapTexel(int32_t value, int32_t size) {
  const int32_t r = value % size;
  return r < 0 ? r + size : r;
}

void DrawGlyphIntoTarget(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                         int32_t srcTop, int32_t userValue) {
  TRgbImage& image = *CurrentTarget.Image;
  const TFontImage& font = *CurrentTarget.Font;
  const uint32_t rgb = RgbOf(static_cast<uint32_t>(userValue));
  // Pixel (x + i, y + j) takes texel (srcLeft + i, srcTop + j): the half-pixel
  // shift of the quad puts each texel centre on a pixel centre.
  for (int32_t j = 0; j < height; ++j) {
    const int64_t py = static_cast<int64_t>(y) + j;
    if (py < 0 || py >= image.Height) continue;
    const int32_t ty = WrapTexel(srcTop + j, FontImageHeight);
    for (int32_t i = 0; i < width; ++i) {
      const int64_t px = static_cast<int64_t>(x) + i;
      if (px < 0 || px >= image.Width) continue;
      if (font.IsInk(WrapTexel(srcLeft + i, FontImageWidth), ty)) {
        image.At(static_cast<int32_t>(px), static_cast<int32_t>(py)) = rgb;
      }
    }
  }
}

// Points CurrentTarget at one image for the life of the object.
class TTargetScope {
 public:
  TTargetScope(TRgbImage& image, const TFontImage& font) { CurrentTarget = {&image, &font}; }
  ~TTargetScope() { CurrentTarget = {}; }
  TTargetScope(const TTargetScope&) = delete;
  TTargetScope& operator=(const TTargetScope&) = delete;
};

}  // namespace

int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                   const char16_t* text, size_t length, uint32_t colour) {
  TTargetScope scope(image, font);
  return DrawTextRun(x, y, text, length, static_cast<int32_t>(colour), DrawGlyphIntoTarget);
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
  TTargetScope scope(image, font);
  DrawFrameLines(DrawGlyphIntoTarget);
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
