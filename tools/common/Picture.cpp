#include "common/Picture.h"

#include <algorithm>

namespace runeplate {

TRgbImage::TRgbImage(int32_t width, int32_t height, uint32_t fill)
    : Width(width), Height(height),
      Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), RgbOf(fill)) {}

TRgbImage Enlarge(const TRgbImage& image, int32_t scale) {
  TRgbImage large(image.Width * scale, image.Height * scale);
  auto out = large.Pixels.begin();
  const size_t width = static_cast<size_t>(large.Width);
  for (int32_t y = 0; y < image.Height; ++y) {
    const auto rowStart = out;
    for (int32_t x = 0; x < image.Width; ++x) out = std::fill_n(out, scale, image.At(x, y));
    // The other rows of the enlarged pixel row repeat the first.
    for (int32_t s = 1; s < scale; ++s) out = std::copy_n(rowStart, width, out);
  }
  return large;
}

}  // namespace runeplate
