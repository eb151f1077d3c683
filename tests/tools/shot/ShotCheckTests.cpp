#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "shot/ShotCheck.h"
#include "tooltest/ImageTesting.h"

using namespace runeplate;
using namespace runeplate::testing;

namespace {

constexpr uint32_t CounterRgb = RgbOf(CounterColour);

// Frame K with Counter drawn the way the program draws it (none when empty).
TRgbImage ShotOfFrame(uint64_t frame, const TFontImage& font, const std::u16string& counter) {
  TRgbImage shot = RenderFrame(frame, font);
  RenderText(shot, font, 0, 0, counter, CounterColour);
  return shot;
}

std::u16string CounterText(int32_t rate) {
  char16_t text[11];
  return std::u16string(text, FormatFrameRate(rate, text));
}

}  // namespace

// ---------------------------------------------------------------------------
// Frame recognition
// ---------------------------------------------------------------------------

TEST(ReadLineColours, GivesTheProgramsFirstColoursForFrame0) {
  // Line 1 of a run is 0x00000000, black ink in spite of its zero alpha.
  const TFontImage font = NoiseAtlas(11);
  uint32_t lines[FrameLineCount];
  std::string error;
  ASSERT_TRUE(ReadLineColours(RenderFrame(0, font), font, lines, error)) << error;
  EXPECT_EQ(lines[0], 0x000000u);
  EXPECT_EQ(lines[1], 0x088405u);
  EXPECT_EQ(lines[2], 0x6DAC1Eu);
  EXPECT_EQ(lines[3], 0xDC589Bu);
  EXPECT_EQ(lines[35], 0xF9467Bu);
  ASSERT_TRUE(ReadLineColours(RenderFrame(1, font), font, lines, error)) << error;
  EXPECT_EQ(lines[0], 0x16506Cu);
}

TEST(ReadLineColours, OutvotesAFewDamagedPixels) {
  const TFontImage font = NoiseAtlas(12);
  TRgbImage shot = RenderFrame(9, font);
  uint32_t clean[FrameLineCount], damaged[FrameLineCount];
  std::string error;
  ASSERT_TRUE(ReadLineColours(shot, font, clean, error)) << error;
  for (int32_t x = 0; x < 40; ++x) shot.At(x, 16 * 5 + 7) = 0x00FF00;  // line 5
  ASSERT_TRUE(ReadLineColours(shot, font, damaged, error)) << error;
  EXPECT_EQ(std::vector<uint32_t>(damaged, damaged + FrameLineCount),
            std::vector<uint32_t>(clean, clean + FrameLineCount));
}

TEST(IdentifyFrame, FindsTheFrameWhoseLineColoursMatch) {
  const TFontImage font = NoiseAtlas(13);
  struct Case {
    uint64_t frame, limit;
    int64_t found;
  };
  const Case cases[] = {
      {0, DefaultFrameSearchLimit, 0},        {1, DefaultFrameSearchLimit, 1},
      {57, DefaultFrameSearchLimit, 57},      {1234, DefaultFrameSearchLimit, 1234},
      {DefaultFrameSearchLimit, DefaultFrameSearchLimit, static_cast<int64_t>(DefaultFrameSearchLimit)},
      {1234, 1233, -1},                        // beyond the search
      {FramePicturePeriod + 57, DefaultFrameSearchLimit, 57},  // the pictures repeat
      {FramePicturePeriod + 57, 2 * FramePicturePeriod, 57},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    uint32_t lines[FrameLineCount];
    std::string error;
    ASSERT_TRUE(ReadLineColours(RenderFrame(c.frame, font), font, lines, error)) << error;
    RandomSeed = 77;
    EXPECT_EQ(IdentifyFrame(lines, c.limit), c.found);
    EXPECT_EQ(RandomSeed, 77u) << "left RandomSeed alone";
  }
}

TEST(IdentifyFrame, RejectsColoursThatAgreeOnlyInPart) {
  uint32_t lines[FrameLineCount];
  RandomSeed = 0;
  for (uint32_t& line : lines) line = RgbOf(RandomInt(-1));
  uint32_t lastLineWrong[FrameLineCount];
  std::copy(lines, lines + FrameLineCount, lastLineWrong);
  lastLineWrong[35] ^= 1;
  EXPECT_EQ(IdentifyFrame(lines, 10), 0);
  EXPECT_EQ(IdentifyFrame(lastLineWrong, 10), -1);
  // The screen that xwd gives before the program draws: all black.
  uint32_t black[FrameLineCount] = {};
  EXPECT_EQ(IdentifyFrame(black, 1000), -1);
}

// ---------------------------------------------------------------------------
// Counter
// ---------------------------------------------------------------------------

TEST(ReadCounter, ReadsTheRateOrItsAbsence) {
  const TFontImage font = NoiseAtlas(14);
  const int32_t rates[] = {-1, 0, 1, 7, 62, 333, 1000};
  for (int32_t rate : rates) {
    SCOPED_TRACE(rate);
    const TRgbImage shot = ShotOfFrame(4, font, rate < 0 ? u"" : CounterText(rate));
    const TCounterReading reading = ReadCounter(shot, font);
    EXPECT_TRUE(reading.Valid) << reading.Problem;
    EXPECT_EQ(reading.Value, rate);
  }
}

TEST(ReadCounter, RejectsBandsTheProgramCannotDraw) {
  const TFontImage font = NoiseAtlas(15);
  struct Case {
    const char* name;
    std::u16string counter;
    void (*damage)(TRgbImage&, const TFontImage&);
    std::string problem;
  };
  const Case cases[] = {
      {"a pixel of another colour", u"62", [](TRgbImage& s, const TFontImage&) { s.At(700, 3) = 0x2040FE; },
       "(700, 3) is #2040FE"},
      {"black ink", u"", [](TRgbImage& s, const TFontImage&) { s.At(0, 0) = 0; },
       "neither white nor the counter colour"},
      {"a cell that is no digit", u"1",
       [](TRgbImage& s, const TFontImage&) {
         for (int32_t y = 0; y < 16; ++y) {
           for (int32_t x = 8; x < 16; ++x) s.At(x, y) = CounterRgb;
         }
       },
       "x = 8 matches no digit"},
      {"a digit one pixel off", u"",
       [](TRgbImage& s, const TFontImage& f) { RenderText(s, f, 1, 0, u"8", CounterColour); },
       "x = 0 matches no digit"},
      {"ink after a gap", u"5", [](TRgbImage& s, const TFontImage&) { s.At(17, 4) = CounterRgb; },
       "stray ink at (17, 4)"},
      {"a leading zero", u"062", nullptr, "leading zero"},
      {"above 1000", u"1001", nullptr, "above 1000"},
      {"five digits", u"10000", nullptr, "more than four digits"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRgbImage shot = ShotOfFrame(2, font, c.counter);
    if (c.damage) c.damage(shot, font);
    const TCounterReading reading = ReadCounter(shot, font);
    EXPECT_FALSE(reading.Valid);
    EXPECT_NE(reading.Problem.find(c.problem), std::string::npos) << reading.Problem;
  }
}

// ---------------------------------------------------------------------------
// Whole shots
// ---------------------------------------------------------------------------

TEST(CheckShot, PassesExactFramesWithOrWithoutCounter) {
  const TFontImage font = NoiseAtlas(16);
  struct Case {
    uint64_t frame;
    std::u16string counter;
    int32_t width, height;
    std::string summary;
  };
  const Case cases[] = {
      {0, u"", 800, 600, "frame=0 counter=none mismatched=0"},
      {12, u"457", 800, 600, "frame=12 counter=457 mismatched=0"},
      {3000, u"0", 800, 600, "frame=3000 counter=0 mismatched=0"},
      {5, u"62", 1024, 768, "frame=5 counter=62 mismatched=0"},  // a larger screen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.summary);
    const TRgbImage frame = ShotOfFrame(c.frame, font, c.counter);
    TRgbImage shot(c.width, c.height, 0x000000);
    for (int32_t y = 0; y < FrameHeight; ++y) {
      for (int32_t x = 0; x < FrameWidth; ++x) shot.At(x, y) = frame.At(x, y);
    }
    const TShotReport report = CheckShot(shot, font, DefaultFrameSearchLimit);
    EXPECT_TRUE(report.Passed()) << ::testing::PrintToString(report.Problems);
    EXPECT_EQ(report.Summary(), c.summary);
  }
}

TEST(CheckShot, CountsAndLocatesDifferingPixelsAndMarksThemInTheDiff) {
  const TFontImage font = NoiseAtlas(17);
  TRgbImage shot = ShotOfFrame(8, font, u"99");
  const TRgbImage clean = shot;
  // Row 599 lies below the last line and row 16 is the first line's top.
  const std::pair<int32_t, int32_t> damaged[] = {{5, 16}, {100, 300}, {799, 599}};
  for (const auto& [x, y] : damaged) shot.At(x, y) ^= 0x010101;
  TRgbImage diff;
  const TShotReport report = CheckShot(shot, font, DefaultFrameSearchLimit, &diff);
  EXPECT_FALSE(report.Passed());
  EXPECT_EQ(report.Summary(), "frame=8 counter=99 mismatched=3");
  ASSERT_EQ(report.FirstMismatches.size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    const auto [x, y] = damaged[k];
    EXPECT_EQ(report.FirstMismatches[k].X, x);
    EXPECT_EQ(report.FirstMismatches[k].Y, y);
    EXPECT_EQ(report.FirstMismatches[k].Expected, clean.At(x, y));
    EXPECT_EQ(report.FirstMismatches[k].Shot, shot.At(x, y));
  }
  ASSERT_EQ(report.Problems.size(), 1u);
  EXPECT_NE(report.Problems[0].find("3 pixels"), std::string::npos) << report.Problems[0];
  EXPECT_NE(report.Problems[0].find("(100, 300)"), std::string::npos) << report.Problems[0];

  ASSERT_EQ(diff.Width, FrameWidth);
  ASSERT_EQ(diff.Height, FrameHeight);
  int32_t red = 0;
  for (uint32_t pixel : diff.Pixels) {
    const uint32_t r = pixel >> 16, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    if (pixel == 0xFF0000) ++red;
    else ASSERT_TRUE(r == g && g == b && r >= 0xAA) << "faded grey elsewhere";
  }
  EXPECT_EQ(red, 3);
  for (const auto& [x, y] : damaged) EXPECT_EQ(diff.At(x, y), 0xFF0000u);
}

TEST(CheckShot, FailsWithAReasonWhenTheShotIsNoFrame) {
  const TFontImage font = NoiseAtlas(18);
  struct Case {
    const char* name;
    TRgbImage shot;
    std::string summary, problem;
  };
  TRgbImage counterInFirstFrame = ShotOfFrame(0, font, u"62");
  TRgbImage badCounter = ShotOfFrame(6, font, u"1");
  badCounter.At(300, 2) = 0x000000;
  const Case cases[] = {
      {"black screen", TRgbImage(800, 600, 0), "frame=none counter=invalid mismatched=unknown", "no frame from 0"},
      {"too small", TRgbImage(640, 480), "frame=none counter=none mismatched=unknown", "smaller than"},
      {"counter in the first frame", counterInFirstFrame, "frame=0 counter=62 mismatched=0", "frame 0 shows"},
      {"foreign ink in the band", badCounter, "frame=6 counter=invalid mismatched=0", "(300, 2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TShotReport report = CheckShot(c.shot, font, 1000);
    EXPECT_FALSE(report.Passed());
    EXPECT_EQ(report.Summary(), c.summary);
    std::string problems;
    for (const std::string& p : report.Problems) problems += p + "\n";
    EXPECT_NE(problems.find(c.problem), std::string::npos) << problems;
  }
}

// ---------------------------------------------------------------------------
// With the shipped font
// ---------------------------------------------------------------------------

class ShippedFont : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    if (!std::ifstream(RUNEPLATE_SHIPPED_FONT).good()) GTEST_SKIP() << "no " << RUNEPLATE_SHIPPED_FONT << " yet";
    ASSERT_TRUE(LoadFontAtlas(RUNEPLATE_SHIPPED_FONT, Font, error)) << error;
  }
  TFontImage Font;
};

TEST_F(ShippedFont, EveryRateTheCounterCanShowReadsBack) {
  TRgbImage band(FrameWidth, CounterBandHeight);
  for (int32_t rate = 0; rate <= 1000; ++rate) {
    std::fill(band.Pixels.begin(), band.Pixels.end(), 0xFFFFFFu);
    RenderText(band, Font, 0, 0, CounterText(rate), CounterColour);
    const TCounterReading reading = ReadCounter(band, Font);
    ASSERT_TRUE(reading.Valid) << rate << ": " << reading.Problem;
    ASSERT_EQ(reading.Value, rate);
  }
}

TEST_F(ShippedFont, FramesAreRecognisedAndMatch) {
  for (uint64_t frame : {0ull, 1ull, 4321ull}) {
    SCOPED_TRACE(frame);
    const TShotReport report = CheckShot(ShotOfFrame(frame, Font, frame ? u"16" : u""), Font, 10000);
    EXPECT_TRUE(report.Passed()) << ::testing::PrintToString(report.Problems);
    EXPECT_EQ(report.Frame, static_cast<int64_t>(frame));
  }
}
