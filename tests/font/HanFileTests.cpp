// The classic 8x4x4 and 8 x 16 font files: where each glyph of a set lies in
// the file, what happens to the fills, which sizes are the format, and that
// a file survives the trip through the font image unchanged.
#include "font/HanFile.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace runeplate {
namespace {

// A file whose letter glyphs carry random pixels and whose fills are blank.
std::vector<uint8_t> RandomHanFile(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(HanFileBytes);
  for (int32_t index = 0; index < HanGlyphCount; ++index) {
    if (IsHanFillGlyph(index)) continue;
    for (size_t b = 0; b < HanGlyphBytes; ++b) bytes[index * HanGlyphBytes + b] = static_cast<uint8_t>(random());
  }
  return bytes;
}

}  // namespace

// Catches an off-by-one at a set boundary: the fill skipped once too often or
// not at all, or a set size of 19/21/27 instead of 20/22/28.
TEST(HanFileGlyph, PutsEachSetAfterItsFillAndTheSetsInImageOrder) {
  const struct {
    int32_t Glyph, FileGlyph;
  } cases[] = {
      {0, 1},     {18, 19},   // initial set 1, first and last letter
      {19, 21},   {151, 159}, // initial set 2 first, initial set 8 last
      {152, 161}, {172, 181}, // medial set 1
      {173, 183}, {235, 247}, // medial set 2 first, medial set 4 last
      {236, 249}, {262, 275}, // final set 1
      {263, 277}, {343, 359}, // final set 2 first, final set 4 last
  };
  for (const auto& c : cases) EXPECT_EQ(HanFileGlyph(c.Glyph), c.FileGlyph) << "glyph " << c.Glyph;

  std::vector<int32_t> fills;
  std::vector<bool> used(HanGlyphCount, false);
  for (int32_t g = 0; g < HangulGlyphCount; ++g) used[HanFileGlyph(g)] = true;
  for (int32_t index = 0; index < HanGlyphCount; ++index) {
    if (IsHanFillGlyph(index)) fills.push_back(index);
    EXPECT_NE(used[index], IsHanFillGlyph(index)) << "file glyph " << index;
  }
  EXPECT_EQ(fills, (std::vector<int32_t>{0, 20, 40, 60, 80, 100, 120, 140, 160, 182, 204, 226, 248,
                                         276, 304, 332}));
}

// Catches swapped bytes of a row, a mirrored bit order or rows upside down.
TEST(DecodeHanFile, ReadsTheLeftByteFirstAndTheTopBitLeftmost) {
  std::vector<uint8_t> bytes(HanFileBytes, 0);
  uint8_t* glyph = bytes.data() + HanFileGlyph(200) * HanGlyphBytes;
  glyph[0] = 0x80;       // row 0, x 0
  glyph[1] = 0x01;       // row 0, x 15
  glyph[2 * 15] = 0x40;  // row 15, x 1
  TFontImage image;
  ASSERT_TRUE(DecodeHanFile(bytes, image).Ok);
  const TRect cell = HangulCell(200);
  TFontImage expected;
  expected.SetInk(cell.Left + 0, cell.Top + 0, true);
  expected.SetInk(cell.Left + 15, cell.Top + 0, true);
  expected.SetInk(cell.Left + 1, cell.Top + 15, true);
  EXPECT_TRUE(image == expected);
}

// Catches a reader that takes any size (a misread file), trusts padding that
// is not zero, or writes into the image before it has judged the file.
TEST(DecodeHanFile, TakesExactlyTheTwoSizesOfTheFormat) {
  const std::vector<uint8_t> plain = RandomHanFile(1);
  std::vector<uint8_t> padded = plain;
  padded.resize(HanFilePaddedBytes, 0);
  std::vector<uint8_t> dirtyPadding = padded;
  dirtyPadding.back() = 1;
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    bool Ok;
  } cases[] = {
      {"11,520 bytes", plain, true},
      {"11,552 bytes, zero padding", padded, true},
      {"11,552 bytes, padding not zero", dirtyPadding, false},
      {"empty", {}, false},
      {"one byte short", std::vector<uint8_t>(plain.begin(), plain.end() - 1), false},
      {"one byte over", std::vector<uint8_t>(HanFileBytes + 1, 0), false},
      {"an 8 x 16 file", std::vector<uint8_t>(AsciiFontFileBytes, 0), false},
      {"an atlas", EncodeFontFile(TFontImage{}), false},
  };
  TFontImage fromPlain;
  ASSERT_TRUE(DecodeHanFile(plain, fromPlain).Ok);
  for (const auto& c : cases) {
    TFontImage image;
    image.SetInk(511, 255, true);  // outside the Hangul cells: must stay
    const THanDecodeResult result = DecodeHanFile(c.Bytes, image);
    EXPECT_EQ(result.Ok, c.Ok) << c.Name;
    EXPECT_EQ(result.Error.empty(), c.Ok) << c.Name;
    EXPECT_TRUE(image.IsInk(511, 255)) << c.Name;
    if (c.Ok) {
      image.SetInk(511, 255, false);
      EXPECT_TRUE(image == fromPlain) << c.Name;
    } else {
      TFontImage untouched;
      untouched.SetInk(511, 255, true);
      EXPECT_TRUE(image == untouched) << c.Name;
    }
  }
}

// Catches a fill read into a letter's cell, or one that is written back.
TEST(DecodeHanFile, CountsInkedFillsDropsThemAndEncodeWritesThemBlank) {
  std::vector<uint8_t> bytes = RandomHanFile(2);
  const std::vector<uint8_t> clean = bytes;
  bytes[0] = 0xFF;                       // fill of initial set 1
  bytes[332 * HanGlyphBytes + 31] = 1;   // fill of final set 4
  TFontImage image;
  const THanDecodeResult result = DecodeHanFile(bytes, image);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(result.InkedFills, 2);
  EXPECT_EQ(EncodeHanFile(image), clean);
}

// Catches any asymmetry between reader and writer: a file with blank fills
// comes back byte for byte, and so do the Hangul cells of an image.
TEST(EncodeHanFile, RoundTripsFilesAndTheHangulCellsOfAnImage) {
  for (uint32_t seed : {3u, 4u}) {
    const std::vector<uint8_t> file = RandomHanFile(seed);
    TFontImage image;
    ASSERT_TRUE(DecodeHanFile(file, image).Ok);
    EXPECT_EQ(EncodeHanFile(image), file) << "seed " << seed;
    TFontImage again;
    ASSERT_TRUE(DecodeHanFile(EncodeHanFile(image), again).Ok);
    EXPECT_TRUE(again == image) << "seed " << seed;
  }
}

// Catches characters taken from the wrong glyph of the 8 x 16 file, ones
// outside the asked range drawn, or a file of the wrong size accepted.
TEST(DecodeAsciiFontFile, DrawsTheAskedCharactersIntoTheirCells) {
  std::vector<uint8_t> bytes(AsciiFontFileBytes);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  TFontImage image;
  std::string error;
  ASSERT_TRUE(DecodeAsciiFontFile(bytes, 0x20, 0x7E, image, error)) << error;
  for (int32_t code : {0x1F, 0x20, 0x41, 0x7E, 0x7F}) {
    const TRect cell = AsciiCell(code);
    for (int32_t y = 0; y < 16; ++y) {
      uint8_t row = 0;
      for (int32_t x = 0; x < 8; ++x) row = static_cast<uint8_t>(row << 1 | image.IsInk(cell.Left + x, cell.Top + y));
      const bool drawn = code >= 0x20 && code <= 0x7E;
      EXPECT_EQ(row, drawn ? bytes[code * 16 + y] : 0) << "code " << code << " row " << y;
    }
  }
  TFontImage untouched;
  EXPECT_FALSE(DecodeAsciiFontFile(std::vector<uint8_t>(4095), 0x20, 0x7E, untouched, error));
  EXPECT_NE(error.find("4095"), std::string::npos) << error;
  EXPECT_TRUE(untouched == TFontImage{});
}

}  // namespace runeplate
