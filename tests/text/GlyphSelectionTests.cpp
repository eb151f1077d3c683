// Glyph set selection: SelectGlyphs on worked syllables, on the shapes of the
// compatibility letters and out-of-range fields, and over every syllable.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "text/UDrawText.h"

using namespace runeplate;

namespace {

using TGlyphs = std::array<int32_t, 3>;

TGlyphs Select(uint32_t packed) {
  TGlyphs glyphs{-7, -7, -7};
  SelectGlyphs(packed, glyphs.data());
  return glyphs;
}

}  // namespace

// The set bases, the glyph count and ReplacementGlyph are checked where
// they are defined, at compile time.

TEST(SelectGlyphs, WorkedSyllablesGetTheirGlyphs) {
  struct {
    uint32_t Code;
    TGlyphs Glyphs;
  } const cases[] = {
      {0xAC00, {0, 152, -1}},     // 가
      {0xAC01, {95, 194, 236}},   // 각
      {0xAC15, {95, 194, 256}},   // 강
      {0xC544, {11, 173, -1}},    // 아
      {0xACFC, {57, 161, -1}},    // 과
      {0xC2A4, {28, 191, -1}},    // 스
      {0xC870, {31, 181, -1}},    // 조
      {0xAD6D, {114, 207, 317}},  // 국
      {0xB984, {119, 233, 332}},  // 름
      {0xC6B4, {125, 228, 320}},  // 운
      {0xD7A3, {113, 235, 289}},  // 힣
  };
  for (const auto& c : cases)
    EXPECT_EQ(Select(CharToJamoIndices(c.Code)), c.Glyphs) << "U+" << std::hex << c.Code;
}

TEST(SelectGlyphs, PicksSetsFromTheOtherComponents) {
  struct {
    const char* What;
    uint32_t Packed;
    TGlyphs Glyphs;
  } const cases[] = {
      {"lone initial ㄱ", PackJamo(1, 0, 0), {0, -1, -1}},
      {"lone initial ㅎ", PackJamo(19, 0, 0), {18, -1, -1}},
      {"lone vowel ㅏ", PackJamo(0, 1, 0), {-1, 152, -1}},
      {"lone vowel ㅣ", PackJamo(0, 21, 0), {-1, 172, -1}},
      {"lone final ㄳ", PackJamo(0, 0, 3), {-1, -1, 238}},
      {"lone final ㅎ", PackJamo(0, 0, 27), {-1, -1, 262}},
      {"nothing", PackJamo(0, 0, 0), {-1, -1, -1}},
      {"not convertible", NotConvertible, {254, 254, -1}},
      {"top byte ignored", 0xAB000000u | PackJamo(1, 1, 0), {0, 152, -1}},
      {"ㅋ without final takes medial set 1", PackJamo(16, 1, 0), {15, 152, -1}},
      {"ㅋ with final takes medial set 3", PackJamo(16, 1, 1), {110, 194, 236}},
      {"ㄲ without final takes medial set 2", PackJamo(2, 1, 0), {1, 173, -1}},
      {"ㅣ is vertical without final", PackJamo(12, 21, 0), {11, 193, -1}},
      {"ㅣ is vertical with final but in final set 2", PackJamo(12, 21, 1), {106, 235, 263}},
      {"ㅘ in initial set 4 without final", PackJamo(1, 10, 0), {57, 161, -1}},
      {"ㅘ in initial set 8 and final set 1", PackJamo(1, 10, 1), {133, 203, 236}},
      {"ㅝ in initial set 5", PackJamo(1, 15, 0), {76, 166, -1}},
      {"ㅜ with final in initial set 7 and final set 4", PackJamo(3, 14, 4), {116, 228, 320}},
      {"ㅐ in final set 3", PackJamo(3, 2, 4), {97, 216, 293}},
      // Fields no code unit produces still follow the arithmetic.
      {"initial 20 has no medial set", PackJamo(20, 1, 0), {19, 0, -1}},
      {"vowel 22 has no initial or final set", PackJamo(1, 22, 1), {0, 215, -1}},
      {"vowel without initial but with final", PackJamo(0, 1, 1), {94, 0, 236}},
  };
  for (const auto& c : cases) EXPECT_EQ(Select(c.Packed), c.Glyphs) << c.What;
}

TEST(SelectGlyphs, EverySyllableTakesItsLettersFromTheRightKindOfSet) {
  // Within a set the glyph of index k is base + k - 1, so the offset from the
  // first set of the kind, modulo the set size, gives back the letter.
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) {
    const uint32_t s = code - SyllableFirst;
    const int32_t l = s / 588, v = (s % 588) / 28, t = s % 28;
    const TGlyphs g = Select(CharToJamoIndices(code));
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << code);
    ASSERT_GE(g[0], 0);
    ASSERT_LT(g[0], MedialSetBase[0]);
    ASSERT_EQ(g[0] % 19, l);
    ASSERT_GE(g[1], MedialSetBase[0]);
    ASSERT_LT(g[1], FinalSetBase[0]);
    ASSERT_EQ((g[1] - MedialSetBase[0]) % 21, v);
    if (t == 0) {
      ASSERT_EQ(g[2], -1);
      ASSERT_LT(g[0], InitialSetBase[5]);
      ASSERT_LT(g[1], MedialSetBase[2]);
    } else {
      ASSERT_GE(g[2], FinalSetBase[0]);
      ASSERT_LT(g[2], HangulGlyphCount);
      ASSERT_EQ((g[2] - FinalSetBase[0]) % 27, t - 1);
      ASSERT_GE(g[0], InitialSetBase[5]);
      ASSERT_GE(g[1], MedialSetBase[2]);
    }
  }
}
