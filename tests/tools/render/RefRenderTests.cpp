#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "render/RefRender.h"
#include "tooltest/ImageTesting.h"
#include "tooltest/ToolRunner.h"

using namespace runeplate;
using namespace runeplate::testing;

namespace {

// Pixels of Image that differ from Background.
std::vector<std::pair<int32_t, int32_t>> ChangedPixels(const TRgbImage& image, uint32_t background) {
  std::vector<std::pair<int32_t, int32_t>> changed;
  for (int32_t y = 0; y < image.Height; ++y) {
    for (int32_t x = 0; x < image.Width; ++x) {
      if (image.At(x, y) != background) changed.emplace_back(x, y);
    }
  }
  return changed;
}

std::vector<uint8_t> RowsWithFirstBytes(uint8_t first, uint8_t last) {
  std::vector<uint8_t> rows(FontFilePixelBytes, 0);
  rows[0] = first;                           // first stored row: image row 255
  rows[FontFilePixelBytes - FontFileRowBytes] = last;  // last stored row: image row 0
  return rows;
}

}  // namespace

// ---------------------------------------------------------------------------
// Font file
// ---------------------------------------------------------------------------

TEST(FontAtlasFile, ReadsOnlyTheLastRowsBottomUpWithTheHighBitLeftmost) {
  const std::vector<uint8_t> header(62, 0xFF);  // bitmap header and palette, all ink if misread
  struct Case {
    const char* name;
    std::vector<uint8_t> before, rows, after;
    std::vector<int32_t> inkInRow255, inkInRow0;  // texel x of ink; all others clear
  };
  const Case cases[] = {
      {"bare rows, 0x80 then 0x01", {}, RowsWithFirstBytes(0x80, 0x01), {}, {0}, {7}},
      {"after a header", header, RowsWithFirstBytes(0x01, 0x80), {}, {7}, {0}},
      {"0xFF sets a whole byte", {}, RowsWithFirstBytes(0xFF, 0x00), {}, {0, 1, 2, 3, 4, 5, 6, 7}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> file = c.before;
    file.insert(file.end(), c.rows.begin(), c.rows.end());
    TFontImage atlas;
    std::string error;
    ASSERT_TRUE(DecodeFontAtlas(file, atlas, error)) << error;
    for (int32_t row : {0, 255}) {
      const std::vector<int32_t>& ink = row == 255 ? c.inkInRow255 : c.inkInRow0;
      for (int32_t x = 0; x < FontImageWidth; ++x) {
        const bool expected = std::find(ink.begin(), ink.end(), x) != ink.end();
        ASSERT_EQ(atlas.IsInk(x, row), expected) << "texel " << x << " of row " << row;
      }
    }
    int inkCount = 0;
    for (int32_t y = 0; y < FontImageHeight; ++y)
      for (int32_t x = 0; x < FontImageWidth; ++x) inkCount += atlas.IsInk(x, y);
    EXPECT_EQ(inkCount, static_cast<int>(c.inkInRow0.size() + c.inkInRow255.size()));
  }
}

TEST(FontAtlasFile, TrailingBytesShiftTheRowsBecauseOnlyTheLastBytesCount) {
  const TFontImage original = NoiseAtlas(1);
  std::vector<uint8_t> file(100, 0);
  const std::vector<uint8_t> rows = EncodeFontPixels(original);
  file.insert(file.end(), rows.begin(), rows.end());
  file.insert(file.end(), {0xAA, 0x55});
  TFontImage atlas;
  std::string error;
  ASSERT_TRUE(DecodeFontAtlas(file, atlas, error)) << error;
  // The last stored row is now made of the last 62 bytes of the real one plus
  // the two trailing bytes, so image row 0 ends 0xAA 0x55.
  EXPECT_TRUE(atlas.IsInk(496, 0));
  EXPECT_FALSE(atlas.IsInk(497, 0));
  EXPECT_FALSE(atlas.IsInk(504, 0));
  EXPECT_TRUE(atlas.IsInk(505, 0));
  for (int32_t x = 0; x < 496; ++x) ASSERT_EQ(atlas.IsInk(x, 0), original.IsInk(x + 16, 0)) << x;
}

TEST(FontAtlasFile, ShortOrMissingFilesAreErrorsThatNameTheFile) {
  const std::string shortPath = ScratchPath("short.bmp");
  WriteBytes(shortPath, std::vector<uint8_t>(FontFilePixelBytes - 1, 0));
  const std::string exactPath = ScratchPath("exact.bmp");
  WriteBytes(exactPath, std::vector<uint8_t>(FontFilePixelBytes, 0));
  struct Case {
    std::string path;
    bool loads;
    std::string messagePart;
  };
  const Case cases[] = {
      {shortPath, false, "16383 bytes"},
      {exactPath, true, ""},
      {ScratchPath("missing.bmp"), false, "cannot open"},
      {::testing::TempDir(), false, "is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TFontImage atlas;
    std::string error;
    EXPECT_EQ(LoadFontAtlas(c.path, atlas, error), c.loads);
    if (!c.loads) {
      EXPECT_NE(error.find(c.messagePart), std::string::npos) << error;
      EXPECT_NE(error.find(c.path), std::string::npos) << error;
      EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
  }
  std::remove(shortPath.c_str());
  std::remove(exactPath.c_str());
}

// ---------------------------------------------------------------------------
// Glyph quads
// ---------------------------------------------------------------------------

TEST(RenderText, EachInkTexelLandsOnItsPixelInTheLineColour) {
  // One ink texel in the whole font: exactly one pixel may change, so a quad
  // read from the wrong cell or placed one pixel off shows at once.
  struct Case {
    const char* name;
    std::u16string text;
    int32_t texelX, texelY;  // the font's only ink
    int32_t penX, penY;      // where the run starts
    int32_t pixelX, pixelY;  // where the ink must land
    int32_t penAfter;
  };
  const Case cases[] = {
      {"A, cell (8, 48)", u"A", 8 + 2, 48 + 3, 0, 0, 2, 3, 8},
      {"A at an offset", u"A", 8 + 7, 48 + 15, 30, 20, 37, 35, 38},
      {"space, cell (256, 32)", u" ", 256, 32, 0, 0, 0, 0, 8},
      {"U+007F, cell (504, 48)", u"\u007F", 504 + 7, 48, 0, 0, 7, 0, 8},
      {"second ASCII character", u"AB", 16 + 1, 48 + 1, 0, 0, 9, 1, 16},
      {"가 initial, glyph 0 at (0, 64)", u"가", 5, 64 + 7, 0, 0, 5, 7, 16},
      {"가 medial, glyph 176 at (384, 128)", u"가", 384 + 1, 128 + 15, 0, 0, 1, 15, 16},
      {"각 after A, final glyph 236 at (192, 176)", u"A각", 192 + 15, 176, 0, 0, 8 + 15, 0, 24},
      {"ㄱ, glyph 0", u"\u3131", 3, 64 + 3, 4, 4, 7, 7, 20},
      {"non-Hangul U+4E00, glyph 254 at (480, 176)", u"\u4E00", 480 + 9, 176 + 9, 0, 0, 9, 9, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFontImage font;
    font.SetInk(c.texelX, c.texelY, true);
    TRgbImage image(64, 48);
    EXPECT_EQ(RenderText(image, font, c.penX, c.penY, c.text, 0xFF123456u), c.penAfter);
    const auto changed = ChangedPixels(image, 0xFFFFFF);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], std::make_pair(c.pixelX, c.pixelY));
    EXPECT_EQ(image.At(c.pixelX, c.pixelY), 0x123456u);
  }
}

TEST(RenderText, ClearTexelsKeepEarlierPixelsAndLaterInkWins) {
  TFontImage font;
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      font.SetInk(8 + x, 48 + y, x < 4);   // A: left half
      font.SetInk(16 + x, 48 + y, y < 8);  // B: top half
    }
  }
  TRgbImage image(8, 16, 0x777777);
  RenderText(image, font, 0, 0, u"A", 0xFFFF0000u);
  RenderText(image, font, 0, 0, u"B", 0xFF0000FFu);
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const uint32_t expected = y < 8 ? 0x0000FF : x < 4 ? 0xFF0000 : 0x777777;
      ASSERT_EQ(image.At(x, y), expected) << x << ", " << y;
    }
  }
}

TEST(RenderText, LaterGlyphsOfOneSyllableDrawOverEarlierOnes) {
  // 가 is glyph 0 then glyph 176 at the same place; in one colour the result
  // is their union, which only holds if neither quad erases the other.
  const TFontImage font = NoiseAtlas(3);
  TRgbImage image(16, 16);
  RenderText(image, font, 0, 0, u"가", 0xFF000000u);
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      const bool ink = font.IsInk(x, 64 + y) || font.IsInk(384 + x, 128 + y);
      ASSERT_EQ(image.At(x, y), ink ? 0x000000u : 0xFFFFFFu) << x << ", " << y;
    }
  }
}

TEST(RenderText, AlphaByteNeverShows) {
  const TFontImage font = NoiseAtlas(4);
  const uint32_t colours[] = {0x00000000u, 0x80000000u, 0xFF000000u, 0x00ABCDEFu, 0xFFABCDEFu};
  TRgbImage reference(80, 16);
  RenderText(reference, font, 0, 0, u"Ab가", 0x00ABCDEFu);
  for (uint32_t colour : colours) {
    SCOPED_TRACE(colour);
    TRgbImage image(80, 16);
    RenderText(image, font, 0, 0, u"Ab가", colour);
    for (size_t k = 0; k < image.Pixels.size(); ++k) {
      const uint32_t expected = reference.Pixels[k] == 0xFFFFFF ? 0xFFFFFF : RgbOf(colour);
      ASSERT_EQ(image.Pixels[k], expected) << "pixel " << k;
    }
  }
}

TEST(RenderText, QuadsAreClippedToTheImage) {
  TFontImage font;
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) font.SetInk(480 + x, 176 + y, true);  // glyph 254, solid
  }
  struct Case {
    int32_t x, y;
    size_t visible;
  };
  const Case cases[] = {{-4, 0, 12 * 16}, {20, 0, 4 * 16}, {0, -10, 16 * 6}, {0, 14, 16 * 2},
                        {-16, 0, 0},      {24, 0, 0},      {-2000000000, 0, 0}, {2000000000, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    TRgbImage image(24, 16);
    RenderText(image, font, c.x, c.y, u"\u4E00", 0);
    EXPECT_EQ(ChangedPixels(image, 0xFFFFFF).size(), c.visible);
  }
}

// ---------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------

TEST(AdvanceRandomSeed, JumpsAsManyStepsAsRandomIntTakes) {
  RandomSeed = 0;
  uint64_t taken = 0;
  for (uint64_t target : {0ull, 1ull, 2ull, 36ull, 37ull, 1000ull, 36ull * 200000}) {
    while (taken < target) RandomInt(-1), ++taken;
    const uint32_t walked = RandomSeed;
    EXPECT_EQ(AdvanceRandomSeed(0, target), walked) << target;
    EXPECT_EQ(RandomSeed, walked) << "left RandomSeed alone";
  }
  RandomSeed = 0x12345678;
  const uint32_t start = RandomSeed;
  for (int k = 0; k < 36; ++k) RandomInt(-1);
  EXPECT_EQ(AdvanceRandomSeed(start, 36), RandomSeed);
}

TEST(RenderFrame, LinesTakeTheRandomSequenceFromPosition36KPlus1) {
  const TFontImage font = NoiseAtlas(5);
  for (uint64_t frame : {0ull, 1ull, 2ull, 1000ull}) {
    SCOPED_TRACE(frame);
    RandomSeed = 0;
    for (uint64_t k = 0; k < frame * FrameLineCount; ++k) RandomInt(-1);
    TRgbImage expected(FrameWidth, FrameHeight);
    for (int32_t line = 1; line <= FrameLineCount; ++line) {
      RenderText(expected, font, 0, FrameLineHeight * line, SampleText, SampleTextLength, RandomInt(-1));
    }
    const uint32_t seedAfterLines = RandomSeed;
    RandomSeed = 0xDEADBEEF;
    const TRgbImage image = RenderFrame(frame, font);
    EXPECT_EQ(RandomSeed, seedAfterLines);
    ASSERT_EQ(image.Width, FrameWidth);
    ASSERT_EQ(image.Height, FrameHeight);
    EXPECT_EQ(image.Pixels, expected.Pixels);
    for (int32_t y = 0; y < FrameLineHeight; ++y) {
      for (int32_t x = 0; x < FrameWidth; ++x) ASSERT_EQ(image.At(x, y), 0xFFFFFFu) << "counter band";
    }
  }
}

// ---------------------------------------------------------------------------
// PNG
// ---------------------------------------------------------------------------

TEST(WritePng, WritesEveryPixelEnlargedByTheScale) {
  TRgbImage image(3, 2);
  image.Pixels = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF};
  for (int32_t scale : {1, 3}) {
    SCOPED_TRACE(scale);
    const std::string path = ScratchPath("scale" + std::to_string(scale) + ".png");
    std::string error;
    ASSERT_TRUE(WritePng(image, path, error, scale)) << error;
    TRgbImage read;
    ASSERT_TRUE(ReadPng(path, read));
    ASSERT_EQ(read.Width, 3 * scale);
    ASSERT_EQ(read.Height, 2 * scale);
    for (int32_t y = 0; y < read.Height; ++y) {
      for (int32_t x = 0; x < read.Width; ++x) ASSERT_EQ(read.At(x, y), image.At(x / scale, y / scale));
    }
    std::remove(path.c_str());
  }
}

TEST(WritePng, RefusesWhatItCannotWrite) {
  const TRgbImage image(2, 2);
  struct Case {
    TRgbImage image;
    std::string path;
    int32_t scale;
  };
  const Case cases[] = {
      {image, ScratchPath("no-such-dir") + "/out.png", 1},
      {image, ScratchPath("zero-scale.png"), 0},
      {TRgbImage(0, 16), ScratchPath("empty.png"), 1},
      {TRgbImage(15626, 1), ScratchPath("too-wide.png"), 64},  // 1,000,064 pixels, beyond libpng
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string error;
    EXPECT_FALSE(WritePng(c.image, c.path, error, c.scale));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::ifstream(c.path).good()) << "left a file behind";
  }
}
