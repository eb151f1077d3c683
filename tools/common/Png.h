// Png: pictures as 8-bit RGB PNG files, written and read through libpng's
// simplified API.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Picture.h"

namespace runeplate {

// The largest picture libpng writes: its default limits, 1,000,000 pixels a
// side.
constexpr int64_t PngMaxSide = 1000000;

// The largest picture we make, whatever its sides: 100 million pixels, 300 MB
// of RGB. Above it an enlarged text would take minutes and gigabytes; the
// whole frame enlarged 14 times still fits.
constexpr int64_t PngMaxPixels = 100000000;

// Whether a `width` x `height` picture can be written: each side within
// PngMaxSide and the whole within PngMaxPixels. False with a message naming
// the size when it cannot, which callers give before allocating anything.
bool CheckPngSize(int64_t width, int64_t height, std::string& error);

// Writes `image` to `path` as an 8-bit RGB PNG, whole or not at all. The
// size is checked (CheckPngSize) before anything is written.
bool WritePngFile(const std::string& path, const TRgbImage& image, std::string& error);

// The PNG file of a `width` x `height` picture with transparency, in memory:
// `rgba` holds 4 bytes a pixel (red, green, blue, alpha), rows top to bottom.
// False with a message in `error` when the size is out of range
// (CheckPngSize) or libpng fails.
bool EncodePngRgba(int64_t width, int64_t height, const std::vector<uint8_t>& rgba,
                   std::vector<uint8_t>& png, std::string& error);

// Decodes the PNG file held in `bytes`, whatever its colour type, as RGB
// (transparent pixels composed onto `background`, 0x00RRGGBB, white unless
// given). A picture of more than
// `maxPixels` pixels is refused before it is decoded, so a hostile header
// cannot make us allocate gigabytes. False with a one-line message otherwise,
// `image` untouched.
bool DecodePng(const std::vector<uint8_t>& bytes, int64_t maxPixels, TRgbImage& image, std::string& error,
               uint32_t background = 0xFFFFFF);

// Reads the PNG file at `path` as DecodePng does; its messages name `path`.
bool ReadPngFile(const std::string& path, int64_t maxPixels, TRgbImage& image, std::string& error,
                 uint32_t background = 0xFFFFFF);

}  // namespace runeplate
