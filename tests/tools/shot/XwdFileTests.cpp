#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shot/XwdFile.h"
#include "tooltest/XwdTesting.h"

using namespace runeplate;
using namespace runeplate::testing;

namespace {

TRgbImage Picture(const std::vector<uint32_t>& pixels, int32_t width) {
  TRgbImage image(width, static_cast<int32_t>(pixels.size()) / width, 0);
  image.Pixels = pixels;
  return image;
}

// Overwrites header field Index of a dump with a big-endian header.
void SetField(std::vector<uint8_t>& bytes, int index, uint32_t value) {
  for (int b = 0; b < 4; ++b) bytes[4 * index + b] = static_cast<uint8_t>(value >> (24 - 8 * b));
}

// Positions of the header fields these tests change.
enum XwdField {
  FieldHeaderSize = 0, FieldFileVersion = 1, FieldPixmapFormat = 2, FieldWidth = 4, FieldByteOrder = 7,
  FieldBitsPerPixel = 11, FieldBytesPerLine = 12, FieldRedMask = 14, FieldNColors = 19
};

}  // namespace

TEST(DecodeXwd, ReadsPixelsInEitherByteOrderThroughTheMasks) {
  // Every channel value distinct, so swapped bytes or channels show.
  const TRgbImage colourful = Picture({0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456,
                                       0xABCDEF, 0x808080, 0x010203, 0xFEDCBA, 0x7F8081, 0x00A0FF},
                                      4);
  // 5-6-5 pixels only carry full and empty channels exactly.
  const TRgbImage primaries = Picture({0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}, 3);
  struct Case {
    const char* name;
    TXwdLayout layout;
    const TRgbImage* image;
  };
  auto layout = [](auto change) {
    TXwdLayout l;
    change(l);
    return l;
  };
  const Case cases[] = {
      {"as xwd writes a 24-bit screen", {}, &colourful},
      {"most significant byte first", layout([](TXwdLayout& l) { l.ByteOrder = XwdMsbFirst; }), &colourful},
      {"little-endian header", layout([](TXwdLayout& l) { l.BigEndianHeader = false; }), &colourful},
      {"blue in the high byte", layout([](TXwdLayout& l) { l.RedMask = 0x0000FF, l.BlueMask = 0xFF0000; }),
       &colourful},
      {"24 bits, padded lines",
       layout([](TXwdLayout& l) { l.BitsPerPixel = 24, l.LinePadding = 3; }), &colourful},
      {"24 bits, most significant byte first",
       layout([](TXwdLayout& l) { l.BitsPerPixel = 24, l.ByteOrder = XwdMsbFirst; }), &colourful},
      {"no colour map, long window name",
       layout([](TXwdLayout& l) { l.NColors = 0, l.WindowName = std::string(37, 'w'); }), &colourful},
      {"16 bits 5-6-5, least significant byte first",
       layout([](TXwdLayout& l) { l.BitsPerPixel = 16, l.RedMask = 0xF800, l.GreenMask = 0x07E0, l.BlueMask = 0x001F; }),
       &primaries},
      {"16 bits 5-6-5, most significant byte first",
       layout([](TXwdLayout& l) {
         l.BitsPerPixel = 16, l.ByteOrder = XwdMsbFirst, l.RedMask = 0xF800, l.GreenMask = 0x07E0, l.BlueMask = 0x001F;
       }),
       &primaries},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRgbImage decoded;
    std::string error;
    ASSERT_TRUE(DecodeXwd(BuildXwd(*c.image, c.layout), decoded, error)) << error;
    EXPECT_EQ(decoded.Width, c.image->Width);
    EXPECT_EQ(decoded.Height, c.image->Height);
    EXPECT_EQ(decoded.Pixels, c.image->Pixels);
  }
}

TEST(DecodeXwd, ScalesNarrowChannelsToTheFullRange) {
  // 0x84 keeps its top 5 bits (16) in red and blue, 16 * 255 / 31 = 131, and
  // its top 6 bits (33) in green, 33 * 255 / 63 = 133.
  TXwdLayout layout;
  layout.BitsPerPixel = 16, layout.RedMask = 0xF800, layout.GreenMask = 0x07E0, layout.BlueMask = 0x001F;
  TRgbImage decoded;
  std::string error;
  ASSERT_TRUE(DecodeXwd(BuildXwd(Picture({0x848484}, 1), layout), decoded, error)) << error;
  EXPECT_EQ(decoded.Pixels[0], (131u << 16) | (133u << 8) | 131u);
}

TEST(DecodeXwd, RejectsWhatItCannotReadWithAReason) {
  const std::vector<uint8_t> good = BuildXwd(Picture({0x123456, 0x654321, 0xABCDEF, 0xFEDCBA}, 2));
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string reason;
  };
  auto changed = [&](int field, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    SetField(bytes, field, value);
    return bytes;
  };
  const Case cases[] = {
      {"shorter than a header", std::vector<uint8_t>(good.begin(), good.begin() + 99), "shorter than the header"},
      {"version 6", changed(FieldFileVersion, 6), "version 7"},
      {"XY pixmap", changed(FieldPixmapFormat, 1), "pixmap format"},
      {"8 bits per pixel", changed(FieldBitsPerPixel, 8), "pixel size"},
      {"byte order 2", changed(FieldByteOrder, 2), "byte order"},
      {"header size below 100", changed(FieldHeaderSize, 60), "header size"},
      {"zero width", changed(FieldWidth, 0), "out of range"},
      {"lines too short", changed(FieldBytesPerLine, 4), "too short"},
      {"no red mask", changed(FieldRedMask, 0), "masks"},
      // Its second run of bits would land in the green byte.
      {"red mask with a gap", changed(FieldRedMask, 0xF00F0000), "red mask 0xF00F0000 is not one run of bits"},
      {"missing last byte", std::vector<uint8_t>(good.begin(), good.end() - 1), "truncated"},
      {"huge colour map", changed(FieldNColors, 0x10000000), "truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRgbImage decoded;
    std::string error;
    EXPECT_FALSE(DecodeXwd(c.bytes, decoded, error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}
