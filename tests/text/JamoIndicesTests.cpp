// Code unit to jamo indices: the constant tables, the Johab decoding and
// CharToJamoIndices over every code unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "text/UDrawText.h"

using namespace runeplate;

namespace {

uint32_t InitialOf(uint32_t packed) { return (packed >> 16) & 0xFF; }
uint32_t MedialOf(uint32_t packed) { return (packed >> 8) & 0xFF; }
uint32_t FinalOf(uint32_t packed) { return packed & 0xFF; }

}  // namespace

// That each row of JohabToJamoIndex inverts its index table is checked at
// compile time, beside the tables.

TEST(JohabTables, EveryCompatibilityLetterDecodesToExactlyOneNonZeroIndex) {
  for (uint32_t slot = 0; slot < CompatJamoCount; ++slot) {
    const uint32_t entry = CompatJamoToJohab[slot];
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << CompatJamoFirst + slot);
    EXPECT_EQ(entry >> 16, 0u);
    const uint32_t packed = JohabToJamoIndices(entry);
    ASSERT_NE(packed, NotConvertible);
    const int nonZero = (InitialOf(packed) != 0) + (MedialOf(packed) != 0) + (FinalOf(packed) != 0);
    EXPECT_EQ(nonZero, 1);
  }
}

TEST(JohabToJamoIndices, RejectsCodesWithoutBit15OrAbove16Bits) {
  const uint32_t rejected[] = {0x0000, 0x0041, 0x7FFF, 0x10000, 0x18800, 0xFFFFFFFF};
  for (uint32_t johab : rejected)
    EXPECT_EQ(JohabToJamoIndices(johab), NotConvertible) << std::hex << johab;
}

TEST(JohabToJamoIndices, DecodesEachFieldAndGivesIndexZeroForAFieldOf31) {
  struct {
    uint32_t Johab;
    uint32_t Packed;
  } const cases[] = {
      {0x8000, PackJamo(0, 0, 0)},
      {0x8861, PackJamo(1, 1, 0)},     // 가
      {0xD3BD, PackJamo(19, 21, 27)},  // 힣
      {0xFC00, PackJamo(0, 0, 0)},     // initial field 31
      {0x83E0, PackJamo(0, 0, 0)},     // medial field 31
      {0x801F, PackJamo(0, 0, 0)},     // final field 31
      {0xFFFF, PackJamo(0, 0, 0)},
      {0x8BFF, PackJamo(1, 0, 0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JohabToJamoIndices(c.Johab), c.Packed) << std::hex << c.Johab;
}

TEST(CharToJamoIndices, GivesTheIndicesOfRangeEdgesAndSampleLetters) {
  struct {
    uint32_t Code;
    uint32_t Packed;
  } const cases[] = {
      {0x0000, NotConvertible},        {0x0041, NotConvertible},
      {0x007F, NotConvertible},        {0x0080, NotConvertible},
      {0x1100, NotConvertible},        {0x3130, NotConvertible},
      {0x3131, PackJamo(1, 0, 0)},     // ㄱ
      {0x3133, PackJamo(0, 0, 3)},     // ㄳ
      {0x314E, PackJamo(19, 0, 0)},    // ㅎ
      {0x314F, PackJamo(0, 1, 0)},     // ㅏ
      {0x3163, PackJamo(0, 21, 0)},    // ㅣ
      {0x3164, NotConvertible},        {0xABFF, NotConvertible},
      {0xAC00, PackJamo(1, 1, 0)},     // 가
      {0xAC01, PackJamo(1, 1, 1)},     // 각
      {0xAC15, PackJamo(1, 1, 21)},    // 강
      {0xC544, PackJamo(12, 1, 0)},    // 아
      {0xB984, PackJamo(6, 19, 16)},   // 름
      {0xD7A3, PackJamo(19, 21, 27)},  // 힣
      {0xD7A4, NotConvertible},        {0xD800, NotConvertible},
      {0xDFFF, NotConvertible},        {0xFFFD, NotConvertible},
      {0xFFFF, NotConvertible},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CharToJamoIndices(c.Code), c.Packed) << "U+" << std::hex << c.Code;
}

TEST(CharToJamoIndices, ConvertsExactlyTheSyllablesAndCompatibilityLetters) {
  uint32_t syllables = 0;
  uint32_t letters = 0;
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    const uint32_t packed = CharToJamoIndices(code);
    const bool syllable = code >= SyllableFirst && code <= SyllableLast;
    const bool letter = code >= CompatJamoFirst && code <= CompatJamoLast;
    if (!syllable && !letter) {
      ASSERT_EQ(packed, NotConvertible) << "U+" << std::hex << code;
      continue;
    }
    ASSERT_NE(packed, NotConvertible) << "U+" << std::hex << code;
    ASSERT_EQ(packed >> 24, 0u) << "U+" << std::hex << code;
    syllables += syllable;
    letters += letter;
  }
  EXPECT_EQ(syllables, 11172u);
  EXPECT_EQ(letters, 51u);
}

TEST(CharToJamoIndices, EverySyllableGivesItsUnicodeDecompositionShiftedToOneBased) {
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) {
    const uint32_t s = code - 0xAC00;
    const uint32_t l = s / 588, v = (s % 588) / 28, t = s % 28;
    ASSERT_EQ(CharToJamoIndices(code), PackJamo(l + 1, v + 1, t)) << "U+" << std::hex << code;
  }
}

TEST(CharToJamoIndices, CompatibilityLettersFollowConsonantClusterVowelOrder) {
  // U+3131..U+314E are consonants: those that can begin a syllable take the
  // initial indices in order, the clusters that can only end one their final
  // index. U+314F..U+3163 are the 21 vowels in medial index order.
  struct {
    uint32_t Code;
    uint32_t Final;
  } const finalOnly[] = {{0x3133, 3},  {0x3135, 5},  {0x3136, 6},  {0x313A, 9},
                         {0x313B, 10}, {0x313C, 11}, {0x313D, 12}, {0x313E, 13},
                         {0x313F, 14}, {0x3140, 15}, {0x3144, 18}};
  uint32_t nextInitial = 1;
  for (uint32_t code = 0x3131; code <= 0x314E; ++code) {
    const auto cluster = std::find_if(std::begin(finalOnly), std::end(finalOnly),
                                      [code](const auto& c) { return c.Code == code; });
    const uint32_t expected = cluster != std::end(finalOnly) ? PackJamo(0, 0, cluster->Final)
                                                             : PackJamo(nextInitial++, 0, 0);
    EXPECT_EQ(CharToJamoIndices(code), expected) << "U+" << std::hex << code;
  }
  EXPECT_EQ(nextInitial, 20u);
  for (uint32_t m = 1; m <= 21; ++m)
    EXPECT_EQ(CharToJamoIndices(0x314E + m), PackJamo(0, m, 0)) << m;
}
