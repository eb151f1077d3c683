// The framebuffer example draws exactly what the reference renderer draws
// for the same lines: ink where the reference is not white.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "Screen.h"
#include "render/RefRender.h"

using namespace runeplate;

TEST(FramebufferExample, InkIsWhereTheReferenceRendererDraws) {
  const std::string out = ::testing::TempDir() + "framebuffer-" + std::to_string(::getpid()) + ".pbm";
  ASSERT_EQ(std::system((std::string(FRAMEBUFFER_EXAMPLE) + " " + out).c_str()), 0);
  std::ifstream in(out, std::ios::binary);
  const std::string pbm((std::istreambuf_iterator<char>(in)), {});
  std::remove(out.c_str());
  const std::string header = "P4\n128 64\n";
  ASSERT_EQ(pbm.size(), header.size() + 64 * 16);
  ASSERT_EQ(pbm.substr(0, header.size()), header);

  TFontImage font;
  std::string error;
  ASSERT_TRUE(LoadFontAtlas(RUNEPLATE_DEFAULT_ATLAS, font, error)) << error;
  TRgbImage reference(128, 64);
  RenderText(reference, font, 0, 8, u"Runeplate", 0xFF000000u);
  RenderText(reference, font, 0, 32, u"안녕, 세상!", 0xFF000000u);

  int ink = 0;
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 128; ++x) {
      const auto byte = static_cast<uint8_t>(pbm[header.size() + y * 16 + x / 8]);
      const bool drawn = (byte >> (7 - x % 8)) & 1;
      ASSERT_EQ(drawn, reference.At(x, y) != 0xFFFFFFu) << "pixel (" << x << ", " << y << ")";
      ink += drawn;
    }
  }
  EXPECT_GT(ink, 200) << "both lines are there";
}

// BlitPicture against a pixel-by-pixel blit, at the places that take its
// byte-wide fast path and at the edges where it must clip or draw nothing.
// Catches a fast path that narrows a coordinate beyond the display (256 or
// -256 to 0), that lets a picture run past the right or bottom edge, or
// whose rows drawn several at a time skip or repeat a row.
TEST(FramebufferExample, BlitPictureDrawsWhatAPixelByPixelBlitDraws) {
  struct TCase { int32_t X, Y, Width, Height; };
  const TCase cases[] = {
      {0, 0, 8, 16},     {40, 40, 8, 16},   {120, 48, 8, 16},  {112, 48, 16, 16},
      {120, 8, 16, 16},  {0, 49, 8, 16},    {256, 8, 8, 16},   {-256, 8, 16, 16},
      {8, 256 + 8, 8, 16}, {8, -256, 8, 16}, {3, 10, 8, 16},   {-5, -3, 16, 16},
      {124, 60, 16, 16}, {16, 16, 8, 10},   {16, 16, 264, 16}, {16, 16, 0, 16},
  };
  for (const TCase& c : cases) {
    uint8_t picture[32];
    for (int k = 0; k < 16; ++k) {
      picture[2 * k] = static_cast<uint8_t>(k * 37 + 1);
      picture[2 * k + 1] = c.Width > 8 ? static_cast<uint8_t>(k * 53 + 7) : 0;
    }
    example::TFrameBuffer frame{}, expected{};
    example::BlitPicture(c.X, c.Y, c.Width, c.Height, picture, &frame);
    for (int32_t dy = 0; dy < c.Height; ++dy) {
      for (int32_t dx = 0; dx < c.Width && dx < 16; ++dx) {
        const int32_t x = c.X + dx, y = c.Y + dy;
        if ((picture[2 * dy + dx / 8] >> (7 - dx % 8) & 1) == 0 || x < 0 || y < 0 ||
            x >= example::DisplayWidth || y >= example::DisplayHeight)
          continue;
        expected[y][x / 8] = static_cast<uint8_t>(expected[y][x / 8] | 0x80 >> x % 8);
      }
    }
    for (int32_t y = 0; y < example::DisplayHeight; ++y)
      for (int32_t b = 0; b < example::DisplayRowBytes; ++b)
        ASSERT_EQ(frame[y][b], expected[y][b])
            << "picture " << c.Width << " x " << c.Height << " at (" << c.X << ", " << c.Y
            << "), byte " << b << " of row " << y;
  }
}
