#include "render/ShotCheck.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace runeplate {

namespace {

constexpr uint32_t White = RgbOf(FrameClearColour);
constexpr uint32_t CounterRgb = RgbOf(CounterColour);
constexpr uint32_t MismatchRed = 0x00FF0000u;
constexpr int32_t DigitCellWidth = 8;
constexpr int64_t HighestFrameRate = 1000;  // 1000 div an elapsed time of 1 ms

std::string HexRgb(uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFFu));
  return text;
}

std::string Position(int32_t x, int32_t y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

bool CoversFrame(const TRgbImage& shot) {
  return shot.Width >= FrameWidth && shot.Height >= FrameHeight;
}

// A light grey version of a pixel, so that red marks stand out in a diff.
uint32_t Faded(uint32_t rgb) {
  const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  const uint32_t luma = (r * 299 + g * 587 + b * 114) / 1000;
  const uint32_t grey = 255 - (255 - luma) / 3;
  return (grey << 16) | (grey << 8) | grey;
}

}  // namespace

bool ReadLineColours(const TRgbImage& shot, const TFontImage& font, uint32_t lineRgb[FrameLineCount],
                     std::string& error) {
  if (!CoversFrame(shot)) {
    error = "shot is " + std::to_string(shot.Width) + " x " + std::to_string(shot.Height) +
            ", smaller than the " + std::to_string(FrameWidth) + " x " + std::to_string(FrameHeight) +
            " frame";
    return false;
  }
  // The pixels the font inks for one sample line, relative to the line's top.
  TRgbImage mask(FrameWidth, FrameLineHeight, 0);
  RenderText(mask, font, 0, 0, SampleText, SampleTextLength, 0x00FFFFFFu);
  std::vector<std::pair<int32_t, int32_t>> ink;
  for (int32_t y = 0; y < mask.Height; ++y) {
    for (int32_t x = 0; x < mask.Width; ++x) {
      if (mask.At(x, y) != 0) ink.emplace_back(x, y);
    }
  }
  if (ink.empty()) {
    error = "the font inks no pixel of the sample line";
    return false;
  }
  // The most common colour rather than the first ink pixel's, so that a few
  // damaged pixels do not hide which frame this is.
  for (int32_t line = 1; line <= FrameLineCount; ++line) {
    std::unordered_map<uint32_t, int32_t> votes;
    uint32_t best = 0;
    int32_t bestVotes = 0;
    for (const auto& [x, y] : ink) {
      const uint32_t rgb = RgbOf(shot.At(x, FrameLineHeight * line + y));
      const int32_t n = ++votes[rgb];
      if (n > bestVotes) best = rgb, bestVotes = n;
    }
    lineRgb[line - 1] = best;
  }
  return true;
}

int64_t IdentifyFrame(const uint32_t lineRgb[FrameLineCount], uint64_t limit) {
  const uint32_t saved = RandomSeed;
  // A frame's 36 calls of RandomInt map the state s to m s + c (mod 2^32).
  const uint32_t frameAdd = AdvanceRandomSeed(0, FrameLineCount);
  const uint32_t frameMul = AdvanceRandomSeed(1, FrameLineCount) - frameAdd;
  int64_t found = -1;
  uint32_t frameStart = 0;  // the generator state before line 1 of frame K
  limit = std::min(limit, FramePicturePeriod - 1);
  for (uint64_t k = 0; k <= limit && found < 0; ++k) {
    RandomSeed = frameStart;
    // Line 1 alone rules out all but about one frame in 16 million.
    if (RgbOf(RandomInt(-1)) == lineRgb[0]) {
      int32_t line = 2;
      while (line <= FrameLineCount && RgbOf(RandomInt(-1)) == lineRgb[line - 1]) ++line;
      if (line > FrameLineCount) found = static_cast<int64_t>(k);
    }
    frameStart = frameStart * frameMul + frameAdd;
  }
  RandomSeed = saved;
  return found;
}

TCounterReading ReadCounter(const TRgbImage& shot, const TFontImage& font) {
  TCounterReading reading;
  const int32_t width = std::min(shot.Width, FrameWidth);
  const int32_t height = std::min(shot.Height, CounterBandHeight);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = RgbOf(shot.At(x, y));
      if (rgb != White && rgb != CounterRgb) {
        reading.Problem = "counter band: pixel " + Position(x, y) + " is " + HexRgb(rgb) +
                          ", neither white nor the counter colour";
        return reading;
      }
    }
  }

  // Each digit as the program draws it: one cell of the font in CounterColour.
  TRgbImage digits[10];
  for (int32_t d = 0; d < 10; ++d) {
    digits[d] = TRgbImage(DigitCellWidth, CounterBandHeight, FrameClearColour);
    const char16_t code = static_cast<char16_t>(u'0' + d);
    RenderText(digits[d], font, 0, 0, &code, 1, CounterColour);
  }
  auto cellMatches = [&](int32_t left, const TRgbImage& cell) {
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < DigitCellWidth; ++x) {
        if (RgbOf(shot.At(left + x, y)) != cell.At(x, y)) return false;
      }
    }
    return true;
  };
  const TRgbImage blank(DigitCellWidth, CounterBandHeight, FrameClearColour);

  std::string text;
  int32_t left = 0;
  for (; left + DigitCellWidth <= width; left += DigitCellWidth) {
    if (cellMatches(left, blank)) break;
    int32_t digit = 0;
    while (digit < 10 && !cellMatches(left, digits[digit])) ++digit;
    if (digit == 10) {
      reading.Problem = "counter band: the cell at x = " + std::to_string(left) + " matches no digit";
      return reading;
    }
    text.push_back(static_cast<char>('0' + digit));
    if (text.size() > 4) {
      reading.Problem = "counter band: more than four digits";
      return reading;
    }
  }
  // Past the number, the band is white up to its right edge.
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = left; x < width; ++x) {
      if (RgbOf(shot.At(x, y)) != White) {
        reading.Problem = "counter band: stray ink at " + Position(x, y) + " after the counter";
        return reading;
      }
    }
  }
  if (text.empty()) {
    reading.Valid = true;
    return reading;
  }
  if (text.size() > 1 && text[0] == '0') {
    reading.Problem = "counter band: " + text + " has a leading zero";
    return reading;
  }
  const int64_t value = std::stoll(text);
  if (value > HighestFrameRate) {
    reading.Problem = "counter band: " + text + " is above " + std::to_string(HighestFrameRate) +
                      ", the highest rate there is";
    return reading;
  }
  reading.Valid = true;
  reading.Value = value;
  return reading;
}

std::string TShotReport::Summary() const {
  std::string counter = !Counter.Valid ? "invalid" : Counter.Value < 0 ? "none" : std::to_string(Counter.Value);
  return "frame=" + (Frame < 0 ? std::string("none") : std::to_string(Frame)) + " counter=" + counter +
         " mismatched=" + (Frame < 0 ? std::string("unknown") : std::to_string(Mismatched));
}

TShotReport CheckShot(const TRgbImage& shot, const TFontImage& font, uint64_t frameLimit, TRgbImage* diff) {
  TShotReport report;
  report.Counter = ReadCounter(shot, font);

  uint32_t lineRgb[FrameLineCount];
  std::string error;
  if (!ReadLineColours(shot, font, lineRgb, error)) {
    report.Problems.push_back(error);
    return report;
  }
  report.Frame = IdentifyFrame(lineRgb, frameLimit);
  if (report.Frame < 0) {
    std::string colours;
    for (int32_t n = 0; n < 4; ++n) colours += " " + HexRgb(lineRgb[n]);
    report.Problems.push_back("no frame from 0 to " + std::to_string(frameLimit) +
                              " has these line colours (lines 1 to 4:" + colours + ")");
    if (!report.Counter.Valid) report.Problems.push_back(report.Counter.Problem);
    return report;
  }

  const TRgbImage expected = RenderFrame(static_cast<uint64_t>(report.Frame), font);
  if (diff) {
    *diff = TRgbImage(FrameWidth, FrameHeight);
    for (int32_t y = 0; y < FrameHeight; ++y) {
      for (int32_t x = 0; x < FrameWidth; ++x) diff->At(x, y) = Faded(shot.At(x, y));
    }
  }
  for (int32_t y = CounterBandHeight; y < FrameHeight; ++y) {
    for (int32_t x = 0; x < FrameWidth; ++x) {
      const uint32_t got = RgbOf(shot.At(x, y)), want = expected.At(x, y);
      if (got == want) continue;
      ++report.Mismatched;
      if (report.FirstMismatches.size() < ReportedMismatches) report.FirstMismatches.push_back({x, y, got, want});
      if (diff) diff->At(x, y) = MismatchRed;
    }
  }
  if (report.Mismatched > 0) {
    std::string where;
    for (const TPixelMismatch& m : report.FirstMismatches) {
      where += " " + Position(m.X, m.Y) + " " + HexRgb(m.Shot) + " not " + HexRgb(m.Expected) + ";";
    }
    where.pop_back();
    report.Problems.push_back(std::to_string(report.Mismatched) + " pixels in rows " +
                              std::to_string(CounterBandHeight) + " to " + std::to_string(FrameHeight - 1) +
                              " differ from frame " + std::to_string(report.Frame) + ", first:" + where);
  }

  if (!report.Counter.Valid) {
    report.Problems.push_back(report.Counter.Problem);
    if (diff) {
      for (int32_t y = 0; y < CounterBandHeight; ++y) {
        for (int32_t x = 0; x < FrameWidth; ++x) {
          const uint32_t rgb = RgbOf(shot.At(x, y));
          if (rgb != White && rgb != CounterRgb) diff->At(x, y) = MismatchRed;
        }
      }
    }
  } else if (report.Frame == 0 && report.Counter.Value >= 0) {
    // The first frame of a run has no previous frame to time against.
    report.Problems.push_back("frame 0 shows a counter, which the first frame of a run never has");
  }
  return report;
}

}  // namespace runeplate
