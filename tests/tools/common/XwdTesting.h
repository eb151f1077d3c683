// X screen dumps built from pictures, for the screenshot checker's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/RefRender.h"
#include "shot/XwdFile.h"

namespace runeplate::testing {

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
