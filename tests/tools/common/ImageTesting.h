// Pictures for the tests of the renderer and the screenshot checker:
// synthetic fonts, PNG files read back, and font files to run a tool on.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "render/RefRender.h"
#include "tooltest/ToolRunner.h"

namespace runeplate::testing {

// A font whose every texel is ink with probability one half, fixed by Seed:
// every cell differs from every other, so a glyph drawn from the wrong cell or
// at the wrong offset shows.
inline TFontImage NoiseAtlas(uint32_t seed) {
  TFontImage atlas;
  uint32_t state = seed * 2654435761u + 12345u;
  for (int32_t y = 0; y < FontImageHeight; ++y) {
    for (int32_t x = 0; x < FontImageWidth; ++x) {
      state ^= state << 13, state ^= state >> 17, state ^= state << 5;
      atlas.SetInk(x, y, (state >> 7) & 1);
    }
  }
  return atlas;
}

// Reads an 8-bit PNG back as RGB, or returns false.
inline bool ReadPng(const std::string& path, TRgbImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) return false;
  image = TRgbImage(static_cast<int32_t>(png.width), static_cast<int32_t>(png.height), 0);
  for (size_t k = 0; k < image.Pixels.size(); ++k) {
    image.Pixels[k] = (uint32_t{bytes[3 * k]} << 16) | (uint32_t{bytes[3 * k + 1]} << 8) | bytes[3 * k + 2];
  }
  return true;
}

// A noise font on disk, and the same font in memory, for running a tool on.
class ToolCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(FontPath, EncodeFontFile(Font));
    WriteBytes(ShortFontPath, std::vector<uint8_t>(FontFilePixelBytes - 1, 0));
  }
  void TearDown() override {
    for (const std::string& path : {FontPath, ShortFontPath, OutPath, ShotPath}) std::remove(path.c_str());
  }

  const TFontImage Font = NoiseAtlas(21);
  const std::string FontPath = ScratchPath("font.bmp");
  const std::string ShortFontPath = ScratchPath("short.bmp");
  const std::string OutPath = ScratchPath("out.png");
  const std::string ShotPath = ScratchPath("shot.xwd");
};

}  // namespace runeplate::testing
