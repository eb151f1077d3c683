// ShotCheck: decides whether a screenshot of the running program shows one of
// its frames exactly.
//
// The frame is recognised by its line colours alone: the random generator is
// never seeded, so the 36 colours of frame K are the same in every run. What
// shows of a colour is its low 24 bits, and the low 24 bits of the generator
// state repeat every 2^24 calls, so the picture of frame K + 2^22 (36 x 2^22
// calls later) is that of frame K; within one such period line 1 alone tells
// every frame apart. Once K is known the reference
// renderer draws frame K and every pixel below the counter band must match.
// The counter band (rows 0..15) depends on the clock, so it is read rather
// than compared: it may hold only white and the counter colour, and its ink
// must spell a decimal number in the font's digit cells from x = 0, or nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/RefRender.h"

namespace runeplate {

// Rows 0..CounterBandHeight-1 belong to the counter; the lines start below.
constexpr int32_t CounterBandHeight = FrameLineHeight;
// Frames this far apart look the same.
constexpr uint64_t FramePicturePeriod = uint64_t{1} << 22;
// The whole period: about 70 minutes at 1000 frames per second.
constexpr uint64_t DefaultFrameSearchLimit = FramePicturePeriod - 1;

// The last frame that a search up to `limit` looks at: beyond one period every
// picture has been seen.
constexpr uint64_t SearchedFrameLimit(uint64_t limit) {
  return limit < DefaultFrameSearchLimit ? limit : DefaultFrameSearchLimit;
}

// The RGB of each line's ink in `shot` (entry n - 1 of `lineRgb` for line n):
// the most common colour at the pixels that `font` inks for the sample line.
// Returns false with a message in `error` when the shot is smaller than a frame or the font inks no
// pixel of the sample line.
bool ReadLineColours(const TRgbImage& shot, const TFontImage& font, uint32_t lineRgb[FrameLineCount],
                     std::string& error);

// The frame K in 0..SearchedFrameLimit(`limit`) whose 36 line colours
// (RandomInt values 36K + 1 .. 36K + 36, RGB only) equal `lineRgb`, or -1 when
// there is none; K is the earliest frame that shows this picture. RandomSeed
// is not touched.
int64_t IdentifyFrame(const uint32_t lineRgb[FrameLineCount], uint64_t limit);

// What the counter band holds.
struct TCounterReading {
  bool Valid = false;      // only white and counter-colour pixels, spelling a number or nothing
  int64_t Value = -1;      // the number shown, -1 when the band is all white
  std::string Problem;     // why the band is not valid
};

// Reads rows 0..15 of `shot` (columns 0..FrameWidth-1): digits '0'..'9' drawn
// with `font` in CounterColour from x = 0 in steps of 8 with no gaps, then white.
// A leading zero before other digits, or a number above 1000 (the most that
// 1000 div elapsed gives), is not valid.
TCounterReading ReadCounter(const TRgbImage& shot, const TFontImage& font);

// One pixel that differs from the reference.
struct TPixelMismatch {
  int32_t X;
  int32_t Y;
  uint32_t Shot;      // 0x00RRGGBB
  uint32_t Expected;  // 0x00RRGGBB; for the counter band, white
};

struct TShotReport {
  int64_t Frame = -1;                      // -1 when no frame was recognised
  TCounterReading Counter;
  int64_t Mismatched = 0;                  // differing pixels in rows 16..599
  std::vector<TPixelMismatch> FirstMismatches;  // the first few, in row order
  std::vector<std::string> Problems;       // everything that makes the check fail

  bool Passed() const { return Problems.empty(); }
  // "frame=12 counter=457 mismatched=0"; frame=none, counter=none or
  // counter=invalid, mismatched=unknown where they apply.
  std::string Summary() const;
};

// How many mismatches a report keeps for its description.
constexpr size_t ReportedMismatches = 5;

// Checks the top-left FrameWidth x FrameHeight of `shot` against the frame its
// line colours name, drawn with `font`, searching frames
// 0..SearchedFrameLimit(`frameLimit`). When `diff` is given and a frame was
// recognised, fills it with a faded grey copy of the shot with every failing
// pixel in red.
TShotReport CheckShot(const TRgbImage& shot, const TFontImage& font, uint64_t frameLimit,
                      TRgbImage* diff = nullptr);

}  // namespace runeplate
