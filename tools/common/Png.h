// Png: 8-bit RGB PNG files, written and read through libpng's simplified API.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace runeplate {

// The largest picture libpng writes: its default limits, 1,000,000 pixels a
// side.
constexpr int64_t PngMaxSide = 1000000;

// Whether a Width x Height picture can be written; false with a message
// naming the size when it cannot.
bool CheckPngSize(int64_t width, int64_t height, std::string& error);

// Writes a Width x Height picture to Path, whole or not at all. Rgb holds 3
// bytes a pixel (red, green, blue), rows top to bottom. The size is checked
// before anything is written.
bool WritePngFile(const std::string& path, int64_t width, int64_t height,
                  const std::vector<uint8_t>& rgb, std::string& error);

// The PNG file of a Width x Height picture with transparency, in memory:
// Rgba holds 4 bytes a pixel (red, green, blue, alpha), rows top to bottom.
// False with a message when the size is out of range or libpng fails.
bool EncodePngRgba(int64_t width, int64_t height, const std::vector<uint8_t>& rgba,
                   std::vector<uint8_t>& png, std::string& error);

// A picture read from a PNG file: 3 bytes a pixel, rows top to bottom.
struct TPngPicture {
  int64_t Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;
};

// Reads the PNG file at Path, whatever its colour type, as 8-bit RGB
// (transparent pixels composed onto white). A picture of more than MaxPixels
// pixels is refused before it is decoded, so a hostile header cannot make us
// allocate gigabytes. False with a one-line message naming Path otherwise.
bool ReadPngFile(const std::string& path, int64_t maxPixels, TPngPicture& picture, std::string& error);

}  // namespace runeplate
