// The framebuffer example draws exactly what the reference renderer draws
// for the same lines: ink where the reference is not white.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

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
