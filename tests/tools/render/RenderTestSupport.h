// Test fixtures for the reference renderer: synthetic fonts, scratch files and
// X screen dumps built from pictures.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "render/RefRender.h"
#include "render/XwdFile.h"

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

// A scratch file name unique to the running test.
inline std::string ScratchPath(const std::string& suffix) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name() + "_" + suffix;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return ::testing::TempDir() + "runeplate_" + name;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
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

// How BuildXwd lays out a dump; the defaults are what xwd writes for a
// 24-bit Xvfb screen.
struct TXwdLayout {
  uint32_t ByteOrder = XwdLsbFirst;
  uint32_t BitsPerPixel = 32;
  uint32_t RedMask = 0xFF0000, GreenMask = 0x00FF00, BlueMask = 0x0000FF;
  bool BigEndianHeader = true;
  uint32_t NColors = 256;
  uint32_t LinePadding = 0;  // extra bytes at the end of each line
  std::string WindowName = "xwdump";
};

// Packs the top 8 (or fewer) bits of a channel into Mask.
inline uint32_t PlaceInMask(uint32_t channel, uint32_t mask) {
  uint32_t shift = 0, bits = 0;
  while (mask != 0 && ((mask >> shift) & 1) == 0) ++shift;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
  const uint32_t value = bits >= 8 ? channel << (bits - 8) : channel >> (8 - bits);
  return (value << shift) & mask;
}

// An XWD file showing Image.
inline std::vector<uint8_t> BuildXwd(const TRgbImage& image, const TXwdLayout& layout = {}) {
  const uint32_t pixelBytes = layout.BitsPerPixel / 8;
  const uint32_t bytesPerLine = static_cast<uint32_t>(image.Width) * pixelBytes + layout.LinePadding;
  const uint32_t headerSize = XwdHeaderBytes + static_cast<uint32_t>(layout.WindowName.size()) + 1;
  const uint32_t fields[XwdHeaderFields] = {
      headerSize, XwdFileVersion, XwdZPixmap, 24, static_cast<uint32_t>(image.Width),
      static_cast<uint32_t>(image.Height), 0, layout.ByteOrder, 32, layout.ByteOrder, 32,
      layout.BitsPerPixel, bytesPerLine, 4 /* TrueColor */, layout.RedMask, layout.GreenMask,
      layout.BlueMask, 8, 256, layout.NColors, static_cast<uint32_t>(image.Width),
      static_cast<uint32_t>(image.Height), 0, 0, 0};
  std::vector<uint8_t> bytes;
  auto put32 = [&](uint32_t value, bool bigEndian) {
    for (int b = 0; b < 4; ++b) {
      const int shift = bigEndian ? 24 - 8 * b : 8 * b;
      bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
  };
  for (uint32_t field : fields) put32(field, layout.BigEndianHeader);
  bytes.insert(bytes.end(), layout.WindowName.begin(), layout.WindowName.end());
  bytes.push_back(0);
  for (uint32_t c = 0; c < layout.NColors; ++c) {
    // pixel, red, green, blue (16 bits each), flags, pad: contents unused by true colour
    put32(c, true);
    for (int k = 0; k < 6; ++k) bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(7);
    bytes.push_back(0);
  }
  for (int32_t y = 0; y < image.Height; ++y) {
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint32_t rgb = image.At(x, y);
      const uint32_t pixel = PlaceInMask(rgb >> 16 & 0xFF, layout.RedMask) |
                             PlaceInMask(rgb >> 8 & 0xFF, layout.GreenMask) |
                             PlaceInMask(rgb & 0xFF, layout.BlueMask);
      for (uint32_t b = 0; b < pixelBytes; ++b) {
        const uint32_t shift = layout.ByteOrder == XwdMsbFirst ? 8 * (pixelBytes - 1 - b) : 8 * b;
        bytes.push_back(static_cast<uint8_t>(pixel >> shift));
      }
    }
    bytes.insert(bytes.end(), layout.LinePadding, 0xEE);
  }
  return bytes;
}

}  // namespace runeplate::testing
