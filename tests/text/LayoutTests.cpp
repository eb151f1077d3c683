// Glyph cells and text runs: the cell geometry of the font image, the
// rectangle list of every code unit, and the callbacks of DrawTextRun.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "text/UDrawText.h"

using namespace runeplate;

// Found by argument-dependent lookup from gtest and std::vector.
namespace runeplate {
bool operator==(const TRect& a, const TRect& b) {
  return std::tie(a.Left, a.Top, a.Right, a.Bottom) == std::tie(b.Left, b.Top, b.Right, b.Bottom);
}
std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "{" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << "}";
}
}  // namespace runeplate

namespace {

struct TCall {
  int32_t X, Y, Width, Height, SrcLeft, SrcTop, UserValue;
  bool operator==(const TCall& o) const {
    return std::tie(X, Y, Width, Height, SrcLeft, SrcTop, UserValue) ==
           std::tie(o.X, o.Y, o.Width, o.Height, o.SrcLeft, o.SrcTop, o.UserValue);
  }
};
std::ostream& operator<<(std::ostream& out, const TCall& c) {
  return out << "(" << c.X << "," << c.Y << "," << c.Width << "," << c.Height << "," << c.SrcLeft
             << "," << c.SrcTop << "," << c.UserValue << ")";
}

// The callback carries no context, so the calls of one run land here.
std::vector<TCall> Calls;

void RecordGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                 int32_t srcTop, int32_t userValue) {
  Calls.push_back({x, y, width, height, srcLeft, srcTop, userValue});
}

std::vector<TRect> RectsOf(uint32_t code) {
  TGlyphRects list;
  GetGlyphRects(code, list);
  return std::vector<TRect>(list.Rects, list.Rects + list.Count);
}

constexpr TRect Replacement{480, 176, 496, 192};

}  // namespace

TEST(GlyphCells, AsciiCellsLieInRows32To63) {
  struct {
    int32_t Code;
    TRect Cell;
  } const cases[] = {
      {0x00, {0, 32, 8, 48}},    {0x20, {256, 32, 264, 48}}, {0x3F, {504, 32, 512, 48}},
      {0x40, {0, 48, 8, 64}},    {0x41, {8, 48, 16, 64}},    {0x7F, {504, 48, 512, 64}},
      {0x0A, {80, 32, 88, 48}},
  };
  for (const auto& c : cases) EXPECT_EQ(AsciiCell(c.Code), c.Cell) << c.Code;
}

TEST(GlyphCells, HangulGlyphsFillRows64To239Row32PerRow) {
  struct {
    int32_t Glyph;
    TRect Cell;
  } const cases[] = {
      {0, {0, 64, 16, 80}},        {31, {496, 64, 512, 80}},    {32, {0, 80, 16, 96}},
      {95, {496, 96, 512, 112}},   {152, {384, 128, 400, 144}}, {194, {32, 160, 48, 176}},
      {236, {192, 176, 208, 192}}, {254, {480, 176, 496, 192}}, {319, {496, 208, 512, 224}},
      {320, {0, 224, 16, 240}},    {343, {368, 224, 384, 240}},
  };
  for (const auto& c : cases) EXPECT_EQ(HangulCell(c.Glyph), c.Cell) << c.Glyph;
}

TEST(GetGlyphRects, ListsTheCellsOfEachKindOfCodeUnit) {
  struct {
    const char* What;
    uint32_t Code;
    std::vector<TRect> Rects;
  } const cases[] = {
      {"ASCII A", 0x41, {{8, 48, 16, 64}}},
      {"syllable without final 가", 0xAC00, {{0, 64, 16, 80}, {384, 128, 400, 144}}},
      {"syllable with final 각", 0xAC01,
       {{496, 96, 512, 112}, {32, 160, 48, 176}, {192, 176, 208, 192}}},
      {"last syllable 힣", 0xD7A3,
       {{272, 112, 288, 128}, {176, 176, 192, 192}, {16, 208, 32, 224}}},
      {"initial consonant ㄱ", 0x3131, {{0, 64, 16, 80}}},
      {"initial consonant ㅎ", 0x314E, {{288, 64, 304, 80}}},
      // A lone vowel shows its medial glyph, a final-only cluster its final
      // glyph, both from set 1.
      {"lone vowel ㅏ", 0x314F, {{384, 128, 400, 144}}},
      {"lone vowel ㅣ", 0x3163, {{192, 144, 208, 160}}},
      {"final-only cluster ㄳ", 0x3133, {{224, 176, 240, 192}}},
      {"final-only cluster ㅄ", 0x3144, {{464, 176, 480, 192}}},
      {"Latin-1 é", 0x00E9, {Replacement, Replacement}},
      {"CJK 一", 0x4E00, {Replacement, Replacement}},
      {"conjoining jamo", 0x1100, {Replacement, Replacement}},
      {"Hangul filler", 0x3164, {Replacement, Replacement}},
      {"high surrogate", 0xD800, {Replacement, Replacement}},
      {"low surrogate", 0xDC00, {Replacement, Replacement}},
      {"last code unit", 0xFFFF, {Replacement, Replacement}},
  };
  for (const auto& c : cases) EXPECT_EQ(RectsOf(c.Code), c.Rects) << c.What;
}

TEST(GetGlyphRects, LeavesEntriesAfterCountUntouched) {
  const uint32_t codes[] = {0x41, 0xAC00, 0x3131, 0x314F, 0x3133, 0x4E00};
  for (uint32_t code : codes) {
    TGlyphRects list;
    const TRect sentinel{-1, -2, -3, -4};
    list.Rects[0] = list.Rects[1] = list.Rects[2] = sentinel;
    GetGlyphRects(code, list);
    for (int32_t k = list.Count; k < 3; ++k)
      EXPECT_EQ(list.Rects[k], sentinel) << std::hex << code << " entry " << k;
  }
}

TEST(GetGlyphRects, EveryCodeUnitHasCellsInsideTheRegionOfItsKind) {
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << code);
    TGlyphRects list;
    GetGlyphRects(code, list);
    const bool syllable = code >= SyllableFirst && code <= SyllableLast;
    const bool letter = code >= CompatJamoFirst && code <= CompatJamoLast;
    int32_t expectedCount = 2;
    if (code < 128 || letter)
      expectedCount = 1;
    else if (syllable)
      expectedCount = (code - SyllableFirst) % 28 == 0 ? 2 : 3;
    ASSERT_EQ(list.Count, expectedCount);

    for (int32_t k = 0; k < list.Count; ++k) {
      const TRect& r = list.Rects[k];
      ASSERT_GE(r.Left, 0);
      ASSERT_LE(r.Right, FontImageWidth);
      ASSERT_LE(r.Bottom, FontImageHeight);
      if (code < 128) {
        ASSERT_EQ(r.Right - r.Left, 8);
        ASSERT_EQ(r.Bottom - r.Top, 16);
        ASSERT_GE(r.Top, 32);
        ASSERT_LE(r.Bottom, 64);
      } else {
        ASSERT_EQ(r.Right - r.Left, 16);
        ASSERT_EQ(r.Bottom - r.Top, 16);
        ASSERT_EQ(r.Left % 16, 0);
        ASSERT_EQ(r.Top % 16, 0);
        ASSERT_GE(r.Top, 64);
        ASSERT_LE(r.Bottom, 240);
        if (r.Top == 224) {
          ASSERT_LE(r.Right, 384);
        }
      }
    }
    // The pen moves by the width of the cell the character is drawn in.
    ASSERT_EQ(AdvanceOf(code), list.Rects[0].Right - list.Rects[0].Left);
  }
}

TEST(GetGlyphRects, EveryCodeUnitGetsTheCellsOfItsSelectedGlyphsInOrder) {
  // The layout takes a shorter way for syllables than CharToJamoIndices and
  // SelectGlyphs; it must come to the same cells.
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    std::vector<TRect> expected;
    if (code < 128) {
      expected.push_back(AsciiCell(static_cast<int32_t>(code)));
    } else {
      int32_t glyphs[3];
      SelectGlyphs(CharToJamoIndices(code), glyphs);
      for (int32_t glyph : glyphs)
        if (glyph >= 0) expected.push_back(HangulCell(glyph));
    }
    ASSERT_EQ(RectsOf(code), expected) << "U+" << std::hex << code;
  }
}

namespace {

struct TRunCase {
  const char* What;
  int32_t X, Y;
  std::u16string Text;
  int32_t UserValue;
  std::vector<TCall> Calls;
  int32_t EndX;
};

}  // namespace

TEST(DrawTextRun, CallsBackOncePerRectangleAndAdvancesThePen) {
  const int32_t u = 0x12345678;
  const int32_t colour = static_cast<int32_t>(0xFF2040FFu);  // user values pass as they are
  const TRunCase cases[] = {
      {"empty string", 5, 6, u"", u, {}, 5},
      {"가", 0, 0, u"\uAC00", u, {{0, 0, 16, 16, 0, 64, u}, {0, 0, 16, 16, 384, 128, u}}, 16},
      {"A각", 0, 16, u"A\uAC01", u,
       {{0, 16, 8, 16, 8, 48, u},
        {8, 16, 16, 16, 496, 96, u},
        {8, 16, 16, 16, 32, 160, u},
        {8, 16, 16, 16, 192, 176, u}},
       24},
      {"one ASCII character", 100, 7, u"A", colour, {{100, 7, 8, 16, 8, 48, colour}}, 108},
      {"space, DEL and NUL", 0, 0, std::u16string(u" \x7F\0", 3), u,
       {{0, 0, 8, 16, 256, 32, u}, {8, 0, 8, 16, 504, 48, u}, {16, 0, 8, 16, 0, 32, u}},
       24},
      {"initial consonant ㄱ", 0, 0, u"\u3131", u, {{0, 0, 16, 16, 0, 64, u}}, 16},
      {"surrogate pair", 0, 0, u"\U0001F600", u,
       {{0, 0, 16, 16, 480, 176, u},
        {0, 0, 16, 16, 480, 176, u},
        {16, 0, 16, 16, 480, 176, u},
        {16, 0, 16, 16, 480, 176, u}},
       32},
      {"line feed is an ordinary cell", 0, 5, u"a\nb", u,
       {{0, 5, 8, 16, 264, 48, u}, {8, 5, 8, 16, 80, 32, u}, {16, 5, 8, 16, 272, 48, u}},
       24},
      {"lone vowel and final-only cluster advance a Hangul cell", -20, 3, u"\u314F\u3133A", u,
       {{-20, 3, 16, 16, 384, 128, u}, {-4, 3, 16, 16, 224, 176, u}, {12, 3, 8, 16, 8, 48, u}},
       20},
  };
  for (const TRunCase& c : cases) {
    Calls.clear();
    const int32_t endX =
        DrawTextRun(c.X, c.Y, c.Text.data(), c.Text.size(), c.UserValue, RecordGlyph);
    EXPECT_EQ(Calls, c.Calls) << c.What;
    EXPECT_EQ(endX, c.EndX) << c.What;
  }
}

TEST(DrawTextRun, ReadsOnlyTheGivenLengthAndToleratesNoText) {
  const char16_t text[] = u"AB";
  Calls.clear();
  EXPECT_EQ(DrawTextRun(0, 0, text, 1, 0, RecordGlyph), 8);
  EXPECT_EQ(Calls.size(), 1u);

  Calls.clear();
  EXPECT_EQ(DrawTextRun(40, 0, nullptr, 3, 0, RecordGlyph), 40);
  EXPECT_TRUE(Calls.empty());
}

// A lambda that keeps its drawing context in its capture sees the same calls
// as DrawTextRun's function pointer: there is one walk, whatever the callable.
TEST(ForEachGlyph, CallsAnyCallableWithTheCallsOfDrawTextRun) {
  const std::u16string text = u"A\uAC01 \u314F\U0001F600";
  Calls.clear();
  const int32_t endRun = DrawTextRun(3, 16, text.data(), text.size(), 9, RecordGlyph);
  std::vector<TCall> seen;
  const int32_t endEach = ForEachGlyph(
      3, 16, text.data(), text.size(),
      [&seen](int32_t x, int32_t y, int32_t w, int32_t h, int32_t l, int32_t t, int32_t u) {
        seen.push_back({x, y, w, h, l, t, u});
      },
      9);
  EXPECT_EQ(seen, Calls);
  EXPECT_EQ(endEach, endRun);
}

// MeasureText must count what the walk advances, trailing spaces included, so
// a caller can right-align or centre a run before drawing it.
TEST(MeasureText, IsThePenAfterTheRunFromZero) {
  const struct {
    std::u16string Text;
    int32_t Width;
  } cases[] = {
      {u"", 0},       {u"A", 8},           {u"A  ", 24},          {u"\uAC00", 16},
      {u"\u3133", 16}, {u"\U0001F600", 32}, {u"A\uAC01 \n", 40},
  };
  for (const auto& c : cases) EXPECT_EQ(MeasureText(c.Text.data(), c.Text.size()), c.Width);
  EXPECT_EQ(MeasureText(nullptr, 5), 0);
}

// UTF-8 input draws what the same text in UTF-16 draws; ill-formed bytes are
// replaced per maximal ill-formed part and a cut-short sequence at the end is
// never read past (the sanitizer build checks the bound).
TEST(DrawTextRunUtf8, DrawsLikeUtf16AndReplacesIllFormedParts) {
  const struct {
    const char* What;
    std::string Utf8;
    std::u16string Utf16;
  } cases[] = {
      {"ASCII and Hangul", "A\xEA\xB0\x81", u"A\uAC01"},
      {"four-byte form becomes a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"stray continuation byte", "\x80" "A", u"\uFFFD" "A"},
      {"overlong two-byte form", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three-byte form", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"cut short before a character", "\xEA\xB0" "A", u"\uFFFD" "A"},
      {"cut short at the end", "A\xF0\x9F\x98", u"A\uFFFD"},
      {"invalid lead bytes", "\xF5\xFF", u"\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    Calls.clear();
    const int32_t endUtf16 = DrawTextRun(0, 0, c.Utf16.data(), c.Utf16.size(), 1, RecordGlyph);
    const std::vector<TCall> expected = Calls;
    // An exact-size copy, so a read past the end is caught.
    const std::vector<char> bytes(c.Utf8.begin(), c.Utf8.end());
    Calls.clear();
    const int32_t endUtf8 = DrawTextRunUtf8(0, 0, bytes.data(), bytes.size(), 1, RecordGlyph);
    EXPECT_EQ(Calls, expected) << c.What;
    EXPECT_EQ(endUtf8, endUtf16) << c.What;
  }
}

// Catches a pen advanced with signed overflow: undefined behaviour, which the
// sanitizer build stops on and an optimiser may turn into anything.
TEST(DrawTextRun, PenWrapsAsThirtyTwoBitTwosComplementAtTheEdgesOfTheRange) {
  const int32_t max = 2147483647;
  const int32_t min = -max - 1;
  const struct {
    const char* What;
    int32_t X;
    std::u16string Text;
    std::vector<int32_t> CallX;
    int32_t EndX;
  } cases[] = {
      {"AB from the largest x", max, u"AB", {max, -2147483641}, -2147483633},
      {"A ending exactly on the wrap", max - 7, u"A", {max - 7}, min},
      {"가 ending exactly on the wrap", max - 15, u"\uAC00", {max - 15, max - 15}, min},
      {"AB from the smallest x", min, u"AB", {min, min + 8}, min + 16},
      {"A across zero", -8, u"A", {-8}, 0},
  };
  for (const auto& c : cases) {
    Calls.clear();
    EXPECT_EQ(DrawTextRun(c.X, 0, c.Text.data(), c.Text.size(), 0, RecordGlyph), c.EndX) << c.What;
    std::vector<int32_t> callX;
    for (const TCall& call : Calls) callX.push_back(call.X);
    EXPECT_EQ(callX, c.CallX) << c.What;
  }
}

// The glyph numbers the walks hand a composer and the rectangles the program
// draws are one layout: for every code unit, the cell's source and numbers
// give exactly GetGlyphRects' rectangles. Catches a glyph number off by one,
// an ASCII code or a letter read as a jamo glyph, or the count of a lone
// vowel or of the replacement wrong.
TEST(GetGlyphCell, EveryCodeUnitsGlyphNumbersGiveItsRectangles) {
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    TGlyphCell cell;
    GetGlyphCell(code, cell);
    ASSERT_EQ(cell.Source, code < 128 ? SourceAscii : SourceJamo) << std::hex << code;
    std::vector<TRect> fromNumbers;
    for (int32_t k = 0; k < cell.Count; ++k) fromNumbers.push_back(GlyphRect(cell.Source, cell.Glyphs[k]));
    ASSERT_EQ(fromNumbers, RectsOf(code)) << "U+" << std::hex << code;
  }
}

// The replacement is a branch of its own, not what an empty set row gives:
// each row a code unit that must come out as glyph 254 twice, whatever
// the set tables say.
TEST(GetGlyphCell, EveryOtherCodeUnitIsTheReplacementTwice) {
  const struct {
    const char* What;
    uint32_t Code;
  } cases[] = {
      {"Latin-1", 0xE9}, {"CJK", 0x4E00}, {"conjoining jamo on the program's line", 0x1100},
      {"a high surrogate", 0xD800}, {"the last code unit", 0xFFFF}, {"U+3130 before the letters", 0x3130},
      {"U+3164 after them", 0x3164}, {"U+D7A4 after the syllables", 0xD7A4},
  };
  for (const auto& c : cases) {
    TGlyphCell cell;
    GetGlyphCell(c.Code, cell);
    EXPECT_EQ(cell.Source, SourceJamo) << c.What;
    EXPECT_EQ(cell.Count, 2) << c.What;
    EXPECT_EQ(cell.Glyphs[0], ReplacementGlyph) << c.What;
    EXPECT_EQ(cell.Glyphs[1], ReplacementGlyph) << c.What;
  }
}
