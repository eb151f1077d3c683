// Png: 8-bit RGB PNG files, written through libpng's simplified API.
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

}  // namespace runeplate
