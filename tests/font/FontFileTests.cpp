// The font file's layout: where each pixel of the image is stored, and the
// bitmap header the files we write carry.
#include "font/FontFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace runeplate {
namespace {

uint32_t Le(const std::vector<uint8_t>& file, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | file[at + i];
  return value;
}

}  // namespace

TEST(EncodeFontFile, WritesAOneBitBottomUpBitmapWithInkBlackOnWhite) {
  const std::vector<uint8_t> file = EncodeFontFile(TFontImage{});
  ASSERT_EQ(file.size(), 16446u);
  struct TField {
    const char* Name;
    size_t At;
    int Bytes;
    uint32_t Value;
  };
  const TField fields[] = {
      {"signature", 0, 2, 0x4D42},   {"file size", 2, 4, 16446}, {"reserved", 6, 4, 0},
      {"pixel offset", 10, 4, 62},   {"info size", 14, 4, 40},   {"width", 18, 4, 512},
      {"height (bottom-up)", 22, 4, 256}, {"planes", 26, 2, 1},  {"bits per pixel", 28, 2, 1},
      {"compression", 30, 4, 0},     {"image size", 34, 4, 16384}, {"colours used", 46, 4, 2},
      {"palette 0 white", 54, 4, 0x00FFFFFF}, {"palette 1 black", 58, 4, 0},
  };
  for (const TField& field : fields) EXPECT_EQ(Le(file, field.At, field.Bytes), field.Value) << field.Name;
}

TEST(EncodeFontFile, StoresTheBottomRowFirstWithTheLeftmostPixelInTheTopBit) {
  struct TCase {
    int X, Y;
    size_t Byte;  // from the start of the file
    uint8_t Bit;
  };
  const TCase cases[] = {
      {0, 0, 62 + 255 * 64, 0x80},       // top-left: last stored row
      {511, 255, 62 + 63, 0x01},         // bottom-right: first stored row
      {7, 255, 62, 0x01},
      {8, 1, 62 + 254 * 64 + 1, 0x80},
      {368, 224, 62 + 31 * 64 + 46, 0x80},  // glyph 343's corner
  };
  for (const TCase& c : cases) {
    TFontImage atlas;
    atlas.SetInk(c.X, c.Y, true);
    const std::vector<uint8_t> file = EncodeFontFile(atlas);
    for (size_t i = 62; i < file.size(); ++i)
      EXPECT_EQ(file[i], i == c.Byte ? c.Bit : 0) << "pixel (" << c.X << ", " << c.Y << ") byte " << i;
  }
}

// Decoding is the inverse of encoding, and an image row lands on its own
// row (a reversed or shifted row order would break the round trip).
TEST(FontPixels, DecodeUndoesEncodeAndTheFirstStoredRowIsTheBottomRow) {
  TFontImage image;
  for (int32_t y = 0; y < FontImageHeight; ++y) image.SetInk(y * 2 % FontImageWidth, y, true);
  const std::vector<uint8_t> block = EncodeFontPixels(image);
  ASSERT_EQ(block.size(), static_cast<size_t>(FontFilePixelBytes));
  EXPECT_EQ(DecodeFontPixels(block.data()), image);
  EXPECT_TRUE(FontRowInk(block.data(), 2 * 255 % FontImageWidth));  // image row 255
  EXPECT_EQ(StoredFontRow(0), 255);
  EXPECT_EQ(StoredFontRow(255), 0);
}

}  // namespace runeplate
