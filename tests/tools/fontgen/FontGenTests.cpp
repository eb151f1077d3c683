#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "FontGenTesting.h"
#include "fontgen/Atlas.h"
#include "fontgen/Fidelity.h"
#include "fontgen/FontGenError.h"

using namespace runeplate;
using namespace runeplate::fontgen;
using namespace runeplate::fontgen::testing;

namespace {

const std::vector<TCell>& SyntheticSyllables() {
  static const std::vector<TCell> syllables = ComposeAll(RandomGlyphs(1, TZones::Anywhere));
  return syllables;
}

const std::string& SyntheticHex() {
  static const std::string text = HexFile(SyntheticSyllables());
  return text;
}

TUnifontSource Read(const std::string& text) { return ReadUnifontHex(text, "font.hex"); }

// The synthetic hex file with line N (1-based) replaced by LINE, or removed
// when LINE is empty.
std::string WithLine(size_t n, const std::string& line) {
  std::istringstream in(SyntheticHex());
  std::string result, current;
  for (size_t i = 1; std::getline(in, current); ++i) {
    if (i != n) result += current + "\n";
    else if (!line.empty()) result += line + "\n";
  }
  return result;
}

// Line numbers in the synthetic file: line 1 is U+0000, then the printable
// ASCII glyphs, U+00E9, the syllables, U+FFFD.
constexpr size_t LineOfAscii(uint32_t code) { return 2 + code - FirstPrintableAscii; }
constexpr size_t LineOfSyllable(uint32_t code) { return 3 + PrintableAsciiCount + code - SyllableFirst; }

}  // namespace

// ---------------------------------------------------------------------------
// Reading the hex file
// ---------------------------------------------------------------------------

TEST(ReadUnifontHex, PlacesAsciiRowsAndSyllablePixels) {
  const TUnifontSource source = Read(SyntheticHex());
  for (uint32_t code : {0x20u, 0x41u, 0x7Eu}) {
    for (int y = 0; y < 16; ++y)
      EXPECT_EQ(source.Ascii[code - FirstPrintableAscii][y], AsciiRow(code, y)) << code << " row " << y;
  }
  ASSERT_EQ(source.Syllables.size(), SyllableCount);
  EXPECT_TRUE(source.Syllables == SyntheticSyllables());
}

TEST(ReadUnifontHex, ReadsTheLeftmostPixelFromTheTopBitAndAcceptsCrLfAndLowerCase) {
  // U+AC00 with only its top-left pixel and its bottom-right pixel set.
  std::string picture = "8000" + std::string(56, '0') + "0001";
  std::string text = WithLine(LineOfSyllable(0xAC00), "ac00:" + picture + "\r");
  const TUnifontSource source = Read(text);
  const TCell& cell = source.Syllables[0];
  EXPECT_TRUE(cell.Pixel(0, 0));
  EXPECT_TRUE(cell.Pixel(15, 15));
  EXPECT_EQ(cell.PopCount(), 2);
}

TEST(ReadUnifontHex, RejectsMalformedFilesNamingTheLine) {
  struct TCase {
    const char* What;
    std::string Text;
    std::string Message;
  };
  const std::string syllableLine = "AC00:" + std::string(64, '0');
  const TCase cases[] = {
      {"no colon", WithLine(5, "0023" + std::string(32, '0')), "font.hex:5: expected CODE:DATA"},
      {"empty line", WithLine(5, " "), "font.hex:5: expected CODE:DATA"},
      {"short code", WithLine(5, "023:" + std::string(32, '0')), "font.hex:5: code point must have 4 to 6 hex digits"},
      {"long code", WithLine(5, "0000023:" + std::string(32, '0')), "code point must have 4 to 6 hex digits"},
      {"bad digit in code", WithLine(5, "00G3:" + std::string(32, '0')), "font.hex:5: bad hex digit 'G' in code point"},
      {"bad digit in data", WithLine(LineOfSyllable(0xAC00), "AC00:" + std::string(63, '0') + "x"),
       "bad hex digit 'x' in glyph data of U+AC00"},
      {"control byte in data", WithLine(7, "0025:" + std::string(31, '0') + "\x01"), "bad hex digit '\\x01'"},
      // named as what they are, not counted as a wrong length
      {"space after the data", WithLine(7, "0025:" + std::string(32, '0') + " "),
       "font.hex:7: bad hex digit ' ' in glyph data of U+0025"},
      {"byte-order mark", "\xEF\xBB\xBF" + SyntheticHex(), "font.hex:1: starts with a UTF-8 byte-order mark"},
      {"data too short", WithLine(7, "0025:" + std::string(31, '0')),
       "font.hex:7: glyph data of U+0025 must have 32 or 64 hex digits, found 31"},
      {"data between sizes", WithLine(7, "0025:" + std::string(48, '0')), "must have 32 or 64 hex digits, found 48"},
      {"no data", WithLine(7, "0025:"), "found 0"},
      {"wide ASCII", WithLine(LineOfAscii('A'), "0041:" + std::string(64, '0')),
       "U+0041 must be an 8 x 16 glyph"},
      {"narrow syllable", WithLine(LineOfSyllable(0xD7A3), "D7A3:" + std::string(32, '0')),
       "U+D7A3 must be a 16 x 16 glyph"},
      {"code given twice", SyntheticHex() + syllableLine + "\n", "U+AC00 is given twice"},
      {"missing syllable", WithLine(LineOfSyllable(0xD7A3), ""), "font.hex: no glyph for U+D7A3"},
      {"missing ASCII", WithLine(LineOfAscii(' '), ""), "font.hex: no glyph for U+0020"},
      {"empty file", "", "font.hex: no glyph for U+0020"},
  };
  for (const TCase& c : cases) {
    try {
      Read(c.Text);
      ADD_FAILURE() << c.What << ": accepted";
    } catch (const TFontGenError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(c.Message), std::string::npos) << c.What << ": " << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << c.What << ": " << message;
    }
  }
}

// ---------------------------------------------------------------------------
// Fitting
// ---------------------------------------------------------------------------

TEST(FitHangulGlyphs, ReproducesEverySyllableOfAFontComposedTheEngineWay) {
  const THangulGlyphs glyphs = FitHangulGlyphs(SyntheticSyllables(), {});
  int differing = 0;
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code)
    differing += ComposeSyllable(glyphs, code) != SyntheticSyllables()[code - SyllableFirst];
  EXPECT_EQ(differing, 0);
}

TEST(FitHangulGlyphs, RecoversLettersThatDoNotOverlapExactly) {
  // Lone jamo draw a single glyph, so each glyph must hold its own letter and
  // nothing of the letters it was fitted beside.
  const THangulGlyphs truth = RandomGlyphs(7, TZones::Separate);
  const THangulGlyphs glyphs = FitHangulGlyphs(ComposeAll(truth), {});
  std::vector<int32_t> wrong;
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    if (glyphs[g] != truth[g]) wrong.push_back(g);
  }
  EXPECT_TRUE(wrong.empty()) << "first wrong glyph " << wrong.front() << " of " << wrong.size();
}

TEST(FitHangulGlyphs, KeepsHandFixesAsDrawnAndFitsTheRestAroundThem) {
  const THandFix fix = {FinalSetBase[3] + 3,
                        {"................", "................", "................", "................",
                         "................", "................", "................", "................",
                         "................", "................", "................", "...#............",
                         "...#............", "...#............", "...#########....", "................"},
                        "test"};
  const THangulGlyphs glyphs = FitHangulGlyphs(SyntheticSyllables(), {fix});
  EXPECT_TRUE(glyphs[fix.Glyph] == CellFromPicture(fix.Picture));
  // A syllable that does not use the fixed glyph still comes out exact.
  EXPECT_TRUE(ComposeSyllable(glyphs, 0xAC00) == SyntheticSyllables()[0]);
}

// Catches a general fit that reads syllables the font does not have (their
// blank pictures would pull glyphs towards nothing), leaves a glyph that no
// known syllable shows blank where a sibling set has the letter, or fails to
// reproduce the syllables it was given.
TEST(FitJamoGlyphs, FitsOnlyTheSyllablesAFontHasAndBorrowsTheRest) {
  const THangulGlyphs truth = RandomGlyphs(7, TZones::Separate);
  std::vector<TCell> syllables = ComposeAll(truth);
  std::vector<bool> known(SyllableCount, false);
  for (uint32_t code : KsX1001Syllables()) known[code - SyllableFirst] = true;
  for (size_t s = 0; s < SyllableCount; ++s)
    if (!known[s]) syllables[s] = TCell{};  // what a font without them gives
  const TJamoFit fit = FitJamoGlyphs(syllables, known);

  int differing = 0;
  for (uint32_t code : KsX1001Syllables())
    differing += ComposeSyllable(fit.Glyphs, code) != syllables[code - SyllableFirst];
  EXPECT_EQ(differing, 0);
  std::vector<bool> shown(HangulGlyphCount, false);
  for (uint32_t code : KsX1001Syllables())
    for (int32_t g : SyllableGlyphs(code))
      if (g >= 0) shown[g] = true;
  int standIns = 0;
  for (const TStandIn& s : fit.StandIns) {
    EXPECT_FALSE(shown[s.Glyph]) << s.Glyph;
    ASSERT_GE(s.From, 0) << s.Glyph;
    EXPECT_TRUE(shown[s.From]) << s.Glyph << " from " << s.From;
    EXPECT_TRUE(fit.Glyphs[s.Glyph] == fit.Glyphs[s.From]) << s.Glyph;
    ++standIns;
  }
  EXPECT_EQ(standIns, int(std::count(shown.begin(), shown.end(), false)));
  EXPECT_EQ(standIns, 30);
}

// ---------------------------------------------------------------------------
// Fidelity
// ---------------------------------------------------------------------------

TEST(KsX1001Syllables, AreTheTwoThousandThreeHundredFiftyCommonSyllablesInCodeOrder) {
  const std::vector<uint32_t> codes = KsX1001Syllables();
  ASSERT_EQ(codes.size(), 2350u);
  EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
  EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end());
  EXPECT_EQ(codes.front(), 0xAC00u);  // 가
  EXPECT_EQ(codes.back(), 0xD79Du);   // 힝
  auto has = [&](uint32_t code) { return std::binary_search(codes.begin(), codes.end(), code); };
  EXPECT_TRUE(has(0xC6B4));   // 운
  EXPECT_TRUE(has(0xB625));   // 똥
  EXPECT_FALSE(has(0xB620));  // 똠, famously left out
  EXPECT_FALSE(has(0xD7A3));  // 힣
}

TEST(MeasureFidelity, CountsIdenticalSyllablesAndListsTheWorstFirstThenByCode) {
  const std::vector<TCell>& syllables = SyntheticSyllables();
  THangulGlyphs glyphs = RandomGlyphs(1, TZones::Anywhere);
  // Give glyph 0 (ㄱ of initial set 1, drawn in the nine syllables ㄱ + an
  // upright vowel without final) three pixels none of them shows.
  const uint32_t users[] = {0xAC00, 0xAC1C, 0xAC38, 0xAC54, 0xAC70, 0xAC8C, 0xACA8, 0xACC4, 0xAE30};
  int added = 0;
  for (int p = 0; p < 256 && added < 3; ++p) {
    const bool shown = std::any_of(std::begin(users), std::end(users), [&](uint32_t code) {
      return syllables[code - SyllableFirst].Pixel(p % 16, p / 16);
    });
    if (!shown) {
      glyphs[0].SetPixel(p % 16, p / 16, true);
      ++added;
    }
  }
  ASSERT_EQ(added, 3);

  const TFidelity f = MeasureFidelity(syllables, glyphs, {0xAC00, 0xAC01, 0xB098});
  EXPECT_EQ(f.Total, 11172);
  EXPECT_EQ(f.Identical, 11172 - 9);
  EXPECT_EQ(f.TotalCommon, 3);
  EXPECT_EQ(f.IdenticalCommon, 2);  // 각 and 나, not 가
  EXPECT_EQ(f.TotalWithoutFinal, 399);
  EXPECT_EQ(f.IdenticalWithoutFinal, 399 - 9);
  EXPECT_EQ(f.DiffPixels, 27);
  EXPECT_DOUBLE_EQ(f.MeanDiff, 27.0 / 11172);
  EXPECT_EQ(f.WorstDiff, 3);
  ASSERT_EQ(f.Worst.size(), 9u) << "only syllables that differ are listed";
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(f.Worst[i].Code, users[i]);
    EXPECT_EQ(f.Worst[i].Pixels, 3);
  }

  // A font with only some syllables is measured on those alone: here all but
  // 가 and everything from 나 on.
  std::vector<bool> known(SyllableCount, false);
  for (uint32_t code = 0xAC01; code < 0xB098; ++code) known[code - SyllableFirst] = true;
  const TFidelity partial = MeasureFidelity(syllables, known, glyphs, {0xAC00, 0xAC01, 0xB098});
  EXPECT_EQ(partial.Total, 0xB098 - 0xAC01);
  EXPECT_EQ(partial.Identical, partial.Total - 8);
  EXPECT_EQ(partial.TotalCommon, 1);
  EXPECT_EQ(partial.DiffPixels, 24);
  ASSERT_EQ(partial.Worst.size(), 8u);
  EXPECT_EQ(partial.Worst[0].Code, 0xAC1Cu);

  std::ostringstream report;
  PrintFidelity(report, f);
  const std::string text = report.str();
  for (const char* line : {"identical syllables: 11163 of 11172 (99.9%)\n",
                           "identical KS X 1001 syllables: 2 of 3 (66.7%)\n",
                           "identical syllables without final: 390 of 399\n",
                           "differing pixels: mean 0.00, worst 3\n",
                           "worst syllables: 가 U+AC00 (3) 개 U+AC1C (3)"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
}

// Catches a damaged source whose blank syllables, composed from blank jamo,
// were counted as a 100% faithful fit.
TEST(MeasureFidelity, NeverCountsTwoBlankPicturesAsIdentical) {
  const std::vector<TCell> blank(SyllableCount);
  const TFidelity f = MeasureFidelity(blank, THangulGlyphs{}, {0xAC00});
  EXPECT_EQ(f.Total, 11172);
  EXPECT_EQ(f.Identical, 0);
  EXPECT_EQ(f.IdenticalCommon, 0);
  EXPECT_EQ(f.IdenticalWithoutFinal, 0);
}

// ---------------------------------------------------------------------------
// The image and its file
// ---------------------------------------------------------------------------

TEST(ComposeAtlas, PutsAsciiAndHangulCellsWhereTheEngineLooksAndNothingElse) {
  const TUnifontSource source = Read(SyntheticHex());
  TAsciiCells ascii{};
  for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code)
    ascii[code] = source.Ascii[code - FirstPrintableAscii];
  THangulGlyphs glyphs;
  for (int32_t g = 0; g < HangulGlyphCount; ++g) glyphs[g].SetRow(g % 16, static_cast<uint16_t>(0x8001 + g));
  const TFontImage atlas = ComposeAtlas(ascii, glyphs);

  // The layout's own numbers: 'A' at (8, 48), the replacement glyph 254 at
  // (480, 176), glyph 343 at (368, 224), control codes and DEL blank.
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(atlas.IsInk(8 + x, 48 + y), bool((AsciiRow('A', y) >> (7 - x)) & 1));
      EXPECT_FALSE(atlas.IsInk(0 + x, 32 + y));    // U+0000
      EXPECT_FALSE(atlas.IsInk(248 + x, 32 + y));  // U+001F
      EXPECT_FALSE(atlas.IsInk(504 + x, 48 + y));  // U+007F
    }
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(atlas.IsInk(480 + x, 176 + y), glyphs[254].Pixel(x, y));
      EXPECT_EQ(atlas.IsInk(368 + x, 224 + y), glyphs[343].Pixel(x, y));
    }
  }
  // Nothing outside the cells: all ink is accounted for by the glyphs.
  long ink = 0, expected = 0;
  for (int y = 0; y < FontImageHeight; ++y)
    for (int x = 0; x < FontImageWidth; ++x) ink += atlas.IsInk(x, y);
  for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code)
    for (int y = 0; y < 16; ++y) expected += __builtin_popcount(AsciiRow(code, y));
  for (const TCell& glyph : glyphs) expected += glyph.PopCount();
  EXPECT_EQ(ink, expected);
}
