// FrameText: what one frame of the program shows, independent of Direct3D.
//
// The program's Render and the reference renderer both lay out a frame
// through these routines, so the two cannot drift apart: the sample line on
// lines 1..36, each in a colour from the program's random generator, and the
// frame-rate counter in the top-left corner.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/UDrawText.h"

namespace runeplate {

// State of the random generator, 0 at program start and never seeded, so every
// run draws the same colours.
extern uint32_t RandomSeed;

// The generator's step: the state after Seed, Seed * 134775813 + 1 modulo 2^32.
constexpr uint32_t RandomMultiplier = 134775813u;  // 0x08088405
constexpr uint32_t RandomIncrement = 1u;
constexpr uint32_t NextRandomSeed(uint32_t seed) { return seed * RandomMultiplier + RandomIncrement; }

// Advances RandomSeed to NextRandomSeed(RandomSeed) and returns the upper
// 32 bits of seed * range (range read as unsigned): a value in 0..range-1, or
// for range -1 the new seed minus 1 (0 when the new seed is 0).
uint32_t RandomInt(int32_t range);

// The line drawn 36 times per frame (73 UTF-16 code units).
extern const char16_t SampleText[];
constexpr size_t SampleTextLength = 73;

constexpr int32_t FrameWidth = 800;
constexpr int32_t FrameHeight = 600;
constexpr int32_t FrameLineCount = 36;
constexpr int32_t FrameLineHeight = 16;          // line n has its top edge at 16n
constexpr uint32_t FrameClearColour = 0xFFFFFFFFu;  // opaque white
constexpr uint32_t CounterColour = 0xFF2040FFu;     // red 0x20, green 0x40, blue 0xFF

// Lines 1..36 of a frame: for each, one RandomInt(-1) taken before any of
// its glyphs, then `drawLine`(y, colour) to draw the sample line at x 0,
// y 16n in that colour.
template <class TLineFunction>
void ForEachFrameLine(TLineFunction&& drawLine) {
  for (int32_t line = 1; line <= FrameLineCount; ++line) {
    const uint32_t colour = RandomInt(-1);
    drawLine(FrameLineHeight * line, colour);
  }
}

// ForEachFrameLine drawing each line with DrawTextRun and `callback`.
void DrawFrameLines(TGlyphCallback callback);

// Frame rate shown for an interval: 1000 div elapsed, or -1 when no counter is
// drawn (LastFrameTime not above 0, or elapsed not above 0). Elapsed is
// now - lastFrameTime modulo 2^32, read as signed 32-bit.
int32_t FrameRate(int32_t lastFrameTime, uint32_t now);

// Decimal text of a non-negative rate, as UTF-16 code units, into Text (room
// for 11); returns the length.
size_t FormatFrameRate(int32_t rate, char16_t text[11]);

// Draws the counter at (0, 0) in CounterColour when FrameRate gives one.
// Returns the rate drawn, or -1.
int32_t DrawFrameCounter(int32_t lastFrameTime, uint32_t now, TGlyphCallback callback);

}  // namespace runeplate
