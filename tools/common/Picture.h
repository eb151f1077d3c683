// Picture: the one RGB picture the tools draw into, read, compare and write,
// and its enlargement to whole multiples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace runeplate {

// An RGB picture: `Width` x `Height` pixels, row-major from the top-left
// corner, each 0x00RRGGBB.
struct TRgbImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;

  TRgbImage() = default;
  // A `width` x `height` picture filled with `fill` (its top byte is dropped).
  TRgbImage(int32_t width, int32_t height, uint32_t fill = 0x00FFFFFFu);

  uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Red, green and blue of an A8R8G8B8 colour, as stored in a TRgbImage.
constexpr uint32_t RgbOf(uint32_t colour) { return colour & 0x00FFFFFFu; }

// `image` with every pixel a `scale` x `scale` block (`scale` >= 1). The
// caller bounds the result first (a PNG by CheckPngSize): it is `scale`
// squared times as large.
TRgbImage Enlarge(const TRgbImage& image, int32_t scale);

}  // namespace runeplate
