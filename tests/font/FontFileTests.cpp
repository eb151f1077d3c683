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

// Catches an atlas reader that takes any bitmap (another size, another depth,
// top-down rows, trailing bytes the program would read as pixels) or changes
// the image on the way, and a second rule for what an atlas is that says
// otherwise (planes and short information headers once passed here and were
// warned about by the renderer).
TEST(DecodeFontFile, TakesOnlyFilesTheProgramReadsAsTheirImage) {
  TFontImage image;
  image.SetInk(3, 250, true);
  const std::vector<uint8_t> good = EncodeFontFile(image);
  auto with = [&](size_t at, uint32_t value, int bytes) {
    std::vector<uint8_t> file = good;
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return file;
  };
  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  const struct {
    const char* Name;
    std::vector<uint8_t> File;
    const char* Reason;  // nullptr: accepted
  } cases[] = {
      {"our own file", good, nullptr},
      {"not a bitmap", with(0, 0x4D43, 2), "not a bitmap"},
      {"short", std::vector<uint8_t>(good.begin(), good.begin() + 100), "too short"},
      {"width 256", with(18, 256, 4), "256 x 256"},
      {"top-down", with(22, static_cast<uint32_t>(-256), 4), "512 x -256"},
      {"8 bits a pixel", with(28, 8, 2), "8-bit"},
      {"two planes", with(26, 2, 2), "in 2 planes"},
      {"12-byte core header", with(14, 12, 4), "information header of 12 bytes"},
      {"compressed", with(30, 1, 4), "compressed"},
      {"trailing byte", trailing, "do not end the file"},
      {"pixel block", EncodeFontPixels(image), "not a bitmap"},
  };
  for (const auto& c : cases) {
    TFontImage read;
    read.SetInk(0, 0, true);
    std::string error;
    EXPECT_EQ(DecodeFontFile(c.File, read, error), c.Reason == nullptr) << c.Name;
    EXPECT_EQ(IsFontBitmap(c.File), c.Reason == nullptr) << c.Name;
    if (c.Reason == nullptr) {
      EXPECT_EQ(read, image) << c.Name;
    } else {
      EXPECT_NE(error.find(c.Reason), std::string::npos) << c.Name << ": " << error;
      EXPECT_TRUE(read.IsInk(0, 0)) << c.Name << ": image changed";
    }
  }
}

}  // namespace runeplate
