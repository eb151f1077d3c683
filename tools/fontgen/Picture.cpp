#include "fontgen/Picture.h"

namespace runeplate::fontgen {

namespace {

uint32_t ColourAt(const TRgbImage& picture, size_t pixel) { return RgbOf(picture.Pixels[pixel]); }

// Rec. 601 luma, times 1000: enough to tell which of two colours is darker.
uint32_t Luma(uint32_t rgb) { return 299 * (rgb >> 16) + 587 * (rgb >> 8 & 0xFF) + 114 * (rgb & 0xFF); }

}  // namespace

TRgbImage AtlasPicture(const TFontImage& atlas) {
  TRgbImage picture(FontImageWidth, FontImageHeight);
  for (int32_t y = 0; y < FontImageHeight; ++y)
    for (int32_t x = 0; x < FontImageWidth; ++x)
      if (atlas.IsInk(x, y)) picture.At(x, y) = 0;
  return picture;
}

bool AtlasFromPicture(const TRgbImage& picture, TFontImage& atlas, std::string& error) {
  if (picture.Width != FontImageWidth || picture.Height != FontImageHeight) {
    error = "a " + std::to_string(picture.Width) + " x " + std::to_string(picture.Height) +
            " picture, not a 512 x 256 font atlas";
    return false;
  }
  const size_t pixels = size_t(FontImageWidth) * FontImageHeight;
  uint32_t colours[2] = {ColourAt(picture, 0), ColourAt(picture, 0)};
  bool second = false;
  for (size_t i = 0; i < pixels; ++i) {
    const uint32_t colour = ColourAt(picture, i);
    if (colour == colours[0] || (second && colour == colours[1])) continue;
    if (second) {
      error = "more than two colours (at pixel " + std::to_string(i % FontImageWidth) + ", " +
              std::to_string(i / FontImageWidth) + "): a font atlas has ink and background only";
      return false;
    }
    colours[1] = colour;
    second = true;
  }
  if (!second) {
    error = "one colour only: a font atlas has ink and background";
    return false;
  }
  const uint32_t ink = Luma(colours[0]) < Luma(colours[1]) ? colours[0] : colours[1];
  TFontImage read;
  for (size_t i = 0; i < pixels; ++i)
    read.SetInk(int32_t(i % FontImageWidth), int32_t(i / FontImageWidth), ColourAt(picture, i) == ink);
  atlas = read;
  return true;
}

}  // namespace runeplate::fontgen
