// Glyph quads and frame rendering against the fake runtime.
#include <cmath>
#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DxTestSupport.h"

namespace runeplate::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct TCorner {
  float X, Y, U, V;
};

struct TGlyphCase {
  const char* Name;
  int32_t X, Y, SrcLeft, SrcTop, Width, Height;
  uint32_t Colour;
  std::array<TCorner, 4> Corners;  // top left, top right, bottom right, bottom left
};

void PrintTo(const TGlyphCase& glyph, std::ostream* out) { *out << glyph.Name; }

class DrawGlyphTest : public DxTest, public ::testing::WithParamInterface<TGlyphCase> {};

TEST_P(DrawGlyphTest, DrawsOneClockwiseFanShiftedHalfAPixelWithTexelEdgeCoordinates) {
  const TGlyphCase& c = GetParam();
  InitializeFullScreen();
  Fake.Calls.clear();
  IDirect3DTexture9* const texture = Game.FFontTexture.Get();

  EXPECT_TRUE(Game.DrawGlyph(c.X, c.Y, texture, c.SrcLeft, c.SrcTop, c.Width, c.Height, c.Colour));

  EXPECT_THAT(Fake.Calls, ElementsAre(Format("device1.SetTexture(0,%p)", static_cast<void*>(texture)),
                                      "device1.SetFVF(324)", "device1.DrawPrimitiveUP(6,2,28)"));
  ASSERT_EQ(Fake.Draws.size(), 1u);
  for (int k = 0; k < 4; ++k) {
    const TGlyphVertex& v = Fake.Draws[0].Vertices[k];
    SCOPED_TRACE(k);
    EXPECT_FLOAT_EQ(v.x, c.Corners[k].X);
    EXPECT_FLOAT_EQ(v.y, c.Corners[k].Y);
    EXPECT_FLOAT_EQ(v.u, c.Corners[k].U);
    EXPECT_FLOAT_EQ(v.v, c.Corners[k].V);
    EXPECT_EQ(v.z, 1.0f);
    EXPECT_EQ(v.rhw, 1.0f);
    EXPECT_EQ(v.colour, c.Colour);
  }
  // The texture is borrowed, not counted.
  EXPECT_EQ(Fake.Textures[0]->Refs, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, DrawGlyphTest,
    ::testing::Values(
        TGlyphCase{"AsciiCellOnLine1", 0, 16, 8, 32, 8, 16, 0xFF2040FF,
                   {{{-0.5f, 15.5f, 0.015625f, 0.125f},
                     {7.5f, 15.5f, 0.03125f, 0.125f},
                     {7.5f, 31.5f, 0.03125f, 0.1875f},
                     {-0.5f, 31.5f, 0.015625f, 0.1875f}}}},
        TGlyphCase{"HangulCell", 100, 32, 256, 128, 16, 16, 0x08088405,
                   {{{99.5f, 31.5f, 0.5f, 0.5f},
                     {115.5f, 31.5f, 0.53125f, 0.5f},
                     {115.5f, 47.5f, 0.53125f, 0.5625f},
                     {99.5f, 47.5f, 0.5f, 0.5625f}}}},
        // Alpha 0 still draws: the vertex alpha never reaches the alpha test.
        // Positions are neither clipped nor bounded.
        TGlyphCase{"ZeroColourOffScreen", -20, 1000, 0, 240, 16, 16, 0x00000000,
                   {{{-20.5f, 999.5f, 0.0f, 0.9375f},
                     {-4.5f, 999.5f, 0.03125f, 0.9375f},
                     {-4.5f, 1015.5f, 0.03125f, 1.0f},
                     {-20.5f, 1015.5f, 0.0f, 1.0f}}}}),
    [](const ::testing::TestParamInfo<TGlyphCase>& info) { return info.param.Name; });

using GlyphDrawingTest = DxTest;

TEST_F(GlyphDrawingTest, ANullTextureDrawsNothingAndCallsNoDevice) {
  InitializeFullScreen();
  Fake.Calls.clear();
  EXPECT_FALSE(Game.DrawGlyph(0, 16, nullptr, 8, 32, 8, 16, 0xFFFFFFFF));
  EXPECT_THAT(Fake.Calls, IsEmpty());
}

TEST_F(GlyphDrawingTest, TheCallbackDrawsOnGameMainsFontTextureWithTheUserValueAsColour) {
  InitializeFullScreen();
  Fake.Calls.clear();
  // Distinct values show the callback's order (x, y, width, height, left,
  // top) becoming DrawGlyph's (x, y, texture, left, top, width, height).
  DrawGlyphCallback(100, 32, 16, 8, 256, 128, -1);
  ASSERT_EQ(Fake.Draws.size(), 1u);
  const TDraw& draw = Fake.Draws[0];
  EXPECT_EQ(draw.Texture, Game.FFontTexture.Get());
  EXPECT_FLOAT_EQ(draw.Vertices[2].x, 115.5f);
  EXPECT_FLOAT_EQ(draw.Vertices[2].y, 39.5f);
  EXPECT_FLOAT_EQ(draw.Vertices[0].u, 0.5f);
  EXPECT_FLOAT_EQ(draw.Vertices[0].v, 0.5f);
  EXPECT_FLOAT_EQ(draw.Vertices[2].u, 0.53125f);
  EXPECT_FLOAT_EQ(draw.Vertices[2].v, 0.53125f);
  for (const TGlyphVertex& v : draw.Vertices) EXPECT_EQ(v.colour, 0xFFFFFFFFu);
}

// ---------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------

// The number of glyphs DrawTextRun reports for one sample line.
int GlyphsPerLine() {
  static int count;
  count = 0;
  DrawTextRun(0, 0, SampleText, SampleTextLength, 0,
              [](int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { ++count; });
  return count;
}

// The band a draw lies in: 0 for the counter, n for line n.
int Band(const TDraw& draw) { return static_cast<int>(std::lround(draw.Vertices[0].y + 0.5f)) / 16; }

// The text the counter shows, read back from the ASCII cells its quads use.
std::string CounterText(const std::vector<TDraw>& draws) {
  std::string text;
  for (const TDraw& draw : draws) {
    if (Band(draw) != 0) continue;
    const int left = static_cast<int>(std::lround(draw.Vertices[0].u * FontImageWidth));
    const int top = static_cast<int>(std::lround(draw.Vertices[0].v * FontImageHeight));
    text += static_cast<char>(left / 8 + (top == 48 ? 64 : 0));
  }
  return text;
}

using RenderTest = DxTest;

TEST_F(RenderTest, AFrameClearsWhiteDrawsEveryGlyphInASceneAndPresentsToTheWindow) {
  InitializeFullScreen();
  Fake.Calls.clear();
  Game.Render();

  const std::vector<std::string>& calls = Fake.Calls;
  const size_t glyphs = static_cast<size_t>(FrameLineCount * GlyphsPerLine());
  ASSERT_EQ(calls.size(), 3 + 3 * glyphs + 2);
  EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 3),
              ElementsAre("device1.TestCooperativeLevel", "device1.Clear(0,null,1,0xFFFFFFFF,1,0)",
                          "device1.BeginScene"));
  const std::string setTexture =
      Format("device1.SetTexture(0,%p)", static_cast<void*>(Game.FFontTexture.Get()));
  for (size_t k = 0; k < glyphs; ++k) {
    ASSERT_EQ(calls[3 + 3 * k], setTexture);
    ASSERT_EQ(calls[4 + 3 * k], "device1.SetFVF(324)");
    ASSERT_EQ(calls[5 + 3 * k], "device1.DrawPrimitiveUP(6,2,28)");
  }
  EXPECT_THAT(std::vector<std::string>(calls.end() - 2, calls.end()),
              ElementsAre("device1.EndScene",
                          Format("device1.Present(null,null,%p,null)", static_cast<void*>(FakeWindow()))));
}

// Colour of each line in order, checking that every glyph of a line has it.
std::vector<uint32_t> LineColours(const std::vector<TDraw>& draws) {
  std::map<int, uint32_t> colours;
  for (const TDraw& draw : draws) {
    const int band = Band(draw);
    if (band == 0) continue;
    const auto found = colours.emplace(band, draw.Vertices[0].colour);
    EXPECT_EQ(found.first->second, draw.Vertices[0].colour) << "line " << band;
  }
  std::vector<uint32_t> result;
  for (const auto& line : colours) result.push_back(line.second);
  return result;
}

TEST_F(RenderTest, LineColoursFollowTheGeneratorFromFrameToFrame) {
  InitializeFullScreen();
  Game.Render();
  const std::vector<uint32_t> first = LineColours(Fake.Draws);
  Fake.Draws.clear();
  Game.Render();
  const std::vector<uint32_t> second = LineColours(Fake.Draws);

  ASSERT_EQ(first.size(), 36u);
  ASSERT_EQ(second.size(), 36u);
  EXPECT_THAT(std::vector<uint32_t>(first.begin(), first.begin() + 4),
              ElementsAre(0x00000000u, 0x08088405u, 0xDC6DAC1Eu, 0x33DC589Bu));
  EXPECT_EQ(first[35], 0xF9F9467Bu);
  EXPECT_EQ(second[0], 0x7E16506Cu);
}

struct TCounterCase {
  const char* Name;
  int32_t LastFrameTime;
  DWORD Now;             // the first reading in the frame
  const char* Expected;  // nullptr: no counter
  int ClockReads;
};

void PrintTo(const TCounterCase& counter, std::ostream* out) { *out << counter.Name; }

class FrameCounterTest : public DxTest, public ::testing::WithParamInterface<TCounterCase> {};

TEST_P(FrameCounterTest, ShowsThousandDivElapsedWhenThereIsAnEarlierFrame) {
  const TCounterCase& c = GetParam();
  InitializeFullScreen();
  LastFrameTime = c.LastFrameTime;
  ClockReadings = {c.Now, c.Now + 7};
  Game.Render();

  if (c.Expected) {
    EXPECT_EQ(CounterText(Fake.Draws), c.Expected);
    for (const TDraw& draw : Fake.Draws) {
      if (Band(draw) == 0) {
        EXPECT_EQ(draw.Vertices[0].colour, 0xFF2040FFu);
      }
    }
    // The counter comes after the 36 lines.
    EXPECT_EQ(Band(Fake.Draws.back()), 0);
  } else {
    EXPECT_EQ(CounterText(Fake.Draws), "");
  }
  EXPECT_EQ(ClockReads, c.ClockReads);
  // The reading kept is the one taken after the counter.
  EXPECT_EQ(LastFrameTime, static_cast<int32_t>(c.ClockReads == 2 ? c.Now + 7 : c.Now));
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, FrameCounterTest,
    ::testing::Values(TCounterCase{"FirstFrame", 0, 5000, nullptr, 1},
                      TCounterCase{"Elapsed16", 1000, 1016, "62", 2},
                      TCounterCase{"Elapsed3", 1000, 1003, "333", 2},
                      TCounterCase{"Elapsed1", 1000, 1001, "1000", 2},
                      TCounterCase{"Elapsed1000", 1000, 2000, "1", 2},
                      TCounterCase{"Elapsed1001", 1000, 2001, "0", 2},
                      TCounterCase{"SameMillisecond", 1000, 1000, nullptr, 2},
                      TCounterCase{"ClockWentBack", 1000, 900, nullptr, 2},
                      // Across the wrap of the clock the difference still counts.
                      TCounterCase{"ClockWrapped", 0x7FFFFFF0, 0x80000000u, "62", 2},
                      // A reading of 2^31 or more is negative: no counter.
                      TCounterCase{"NegativeLastFrameTime", static_cast<int32_t>(0x80000010u),
                                   0x80000020u, nullptr, 1}),
    [](const ::testing::TestParamInfo<TCounterCase>& info) { return info.param.Name; });

// ---------------------------------------------------------------------------
// Lost device
// ---------------------------------------------------------------------------

using LostDeviceTest = DxTest;

TEST_F(LostDeviceTest, WhileLostNothingIsDrawnAndNoColourOrTimeIsUsed) {
  InitializeFullScreen();
  Fake.Calls.clear();
  Fake.CooperativeLevels = {D3DERR_DEVICELOST, D3DERR_DEVICELOST};
  ClockReadings = {4000};
  Game.Render();
  Game.Render();
  EXPECT_THAT(Fake.Calls, ElementsAre("device1.TestCooperativeLevel", "device1.TestCooperativeLevel"));
  EXPECT_EQ(RandomSeed, 0u);
  EXPECT_EQ(LastFrameTime, 0);
  EXPECT_EQ(ClockReads, 0);
  EXPECT_THAT(Pauses, ElementsAre(10u, 10u));
}

TEST_F(LostDeviceTest, ADeviceThatCanBeResetIsResetWithTheSameParametersAndStatesThenDraws) {
  InitializeFullScreen();
  Fake.Calls.clear();
  Fake.CooperativeLevels = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
  Game.Render();
  Game.Render();

  ASSERT_GE(Fake.Calls.size(), 8u);
  EXPECT_THAT(std::vector<std::string>(Fake.Calls.begin(), Fake.Calls.begin() + 8),
              ElementsAre("device1.TestCooperativeLevel", "device1.TestCooperativeLevel",
                          "device1.Reset", "device1.SetRenderState(15,1)",
                          "device1.SetRenderState(24,0)", "device1.SetRenderState(25,6)",
                          "device1.Clear(0,null,1,0xFFFFFFFF,1,0)", "device1.BeginScene"));
  ASSERT_EQ(Fake.ResetParameters.size(), 1u);
  EXPECT_EQ(Fake.ResetParameters[0], Fake.CreateDeviceParameters.at(0));
  EXPECT_EQ(Fake.Calls.back(),
            Format("device1.Present(null,null,%p,null)", static_cast<void*>(FakeWindow())));
  // The managed font texture survives a reset: it is neither made nor filled again.
  EXPECT_EQ(Fake.Textures.size(), 1u);
  EXPECT_THAT(Fake.CallsStartingWith("texture1."), IsEmpty());
  EXPECT_EQ(LineColours(Fake.Draws).at(0), 0x00000000u);
}

// A failed reset that did not pause spun the idle loop at full speed for as
// long as the display stayed unavailable.
TEST_F(LostDeviceTest, AFailedResetDrawsNothingPausesAndTriesAgainNextFrame) {
  InitializeFullScreen();
  Fake.Calls.clear();
  Fake.CooperativeLevels = {D3DERR_DEVICENOTRESET, D3DERR_DEVICENOTRESET};
  Fake.ResetResult = D3DERR_DEVICELOST;
  Game.Render();
  EXPECT_THAT(Fake.Calls, ElementsAre("device1.TestCooperativeLevel", "device1.Reset"));
  EXPECT_THAT(Pauses, ElementsAre(10u));
  Fake.ResetResult = D3D_OK;
  Game.Render();
  EXPECT_EQ(Fake.ResetParameters.size(), 2u);
  EXPECT_EQ(Fake.Draws.size(), static_cast<size_t>(FrameLineCount * GlyphsPerLine()));
  EXPECT_THAT(Pauses, ElementsAre(10u));
}

}  // namespace
}  // namespace runeplate::test
