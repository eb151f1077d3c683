#include "shot/ShotCheck.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "common/Numbers.h"

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
  // A frame's 36 calls of RandomInt map the state s to m s + c (mod 2^32).
  const uint32_t frameAdd = AdvanceRandomSeed(0, FrameLineCount);
  const uint32_t frameMul = AdvanceRandomSeed(1, FrameLineCount) - frameAdd;
  // Whether the line colours of the frame that starts at generator state
  // `seed` are LineRgb's; line 1 alone rules out all but about one frame in
  // 16 million.
  auto shows = [&](uint32_t seed) {
    for (int32_t line = 1; line <= FrameLineCount; ++line) {
      seed = NextRandomSeed(seed);
      if (RgbOf(RandomValue(seed, -1)) != lineRgb[line - 1]) return false;
    }
    return true;
  };
  uint32_t frameStart = 0;  // the generator state before line 1 of frame K
  limit = SearchedFrameLimit(limit);
  for (uint64_t k = 0; k <= limit; ++k) {
    if (shows(frameStart)) return static_cast<int64_t>(k);
    frameStart = frameStart * frameMul + frameAdd;
  }
  return -1;
}

namespace {

// Where the counter band is read: its rows, no wider than the shot.
struct TBand {
  int32_t Width;
  int32_t Height;
};

// The first pixel of the band that is neither white nor the counter colour,
// as a problem; empty when there is none.
std::string ForeignPixel(const TRgbImage& shot, const TBand& band) {
  for (int32_t y = 0; y < band.Height; ++y) {
    for (int32_t x = 0; x < band.Width; ++x) {
      const uint32_t rgb = RgbOf(shot.At(x, y));
      if (rgb != White && rgb != CounterRgb)
        return "counter band: pixel " + Position(x, y) + " is " + HexRgb(rgb) +
               ", neither white nor the counter colour";
    }
  }
  return "";
}

// The counter's cells from x = 0 as the program draws them: each digit one
// font cell in CounterColour, and a blank cell after the number.
class TDigitCells {
 public:
  explicit TDigitCells(const TFontImage& font) : Blank(DigitCellWidth, CounterBandHeight, FrameClearColour) {
    for (int32_t d = 0; d < 10; ++d) {
      Digits[d] = TRgbImage(DigitCellWidth, CounterBandHeight, FrameClearColour);
      const char16_t code = static_cast<char16_t>(u'0' + d);
      RenderText(Digits[d], font, 0, 0, &code, 1, CounterColour);
    }
  }

  bool IsBlank(const TRgbImage& shot, const TBand& band, int32_t left) const { return Matches(shot, band, left, Blank); }

  // The digit the cell at Left shows, or -1.
  int32_t DigitAt(const TRgbImage& shot, const TBand& band, int32_t left) const {
    for (int32_t d = 0; d < 10; ++d) {
      if (Matches(shot, band, left, Digits[d])) return d;
    }
    return -1;
  }

 private:
  static bool Matches(const TRgbImage& shot, const TBand& band, int32_t left, const TRgbImage& cell) {
    for (int32_t y = 0; y < band.Height; ++y) {
      for (int32_t x = 0; x < DigitCellWidth; ++x) {
        if (RgbOf(shot.At(left + x, y)) != cell.At(x, y)) return false;
      }
    }
    return true;
  }

  TRgbImage Digits[10];
  TRgbImage Blank;
};

// Reads digits from x = 0 up to the first blank cell into Text; returns the
// x after them, or -1 with Problem set.
int32_t ReadDigits(const TRgbImage& shot, const TFontImage& font, const TBand& band, std::string& text,
                   std::string& problem) {
  const TDigitCells cells(font);
  int32_t left = 0;
  for (; left + DigitCellWidth <= band.Width; left += DigitCellWidth) {
    if (cells.IsBlank(shot, band, left)) break;
    const int32_t digit = cells.DigitAt(shot, band, left);
    if (digit < 0) {
      problem = "counter band: the cell at x = " + std::to_string(left) + " matches no digit";
      return -1;
    }
    text.push_back(static_cast<char>('0' + digit));
    if (text.size() > 4) {
      problem = "counter band: more than four digits";
      return -1;
    }
  }
  return left;
}

// Past the number, the band is white up to its right edge.
std::string StrayInkAfter(const TRgbImage& shot, const TBand& band, int32_t left) {
  for (int32_t y = 0; y < band.Height; ++y) {
    for (int32_t x = left; x < band.Width; ++x) {
      if (RgbOf(shot.At(x, y)) != White)
        return "counter band: stray ink at " + Position(x, y) + " after the counter";
    }
  }
  return "";
}

// The rate that Digits spell, or a problem when the program cannot show it.
std::string CheckRate(const std::string& digits, int64_t& value) {
  if (digits.size() > 1 && digits[0] == '0') return "counter band: " + digits + " has a leading zero";
  ParseNumber(digits, value);  // at most four digits, read already
  if (value > HighestFrameRate)
    return "counter band: " + digits + " is above " + std::to_string(HighestFrameRate) + ", the highest rate there is";
  return "";
}

}  // namespace

TCounterReading ReadCounter(const TRgbImage& shot, const TFontImage& font) {
  TCounterReading reading;
  const TBand band{std::min(shot.Width, FrameWidth), std::min(shot.Height, CounterBandHeight)};
  reading.Problem = ForeignPixel(shot, band);
  if (!reading.Problem.empty()) return reading;
  std::string digits;
  const int32_t end = ReadDigits(shot, font, band, digits, reading.Problem);
  if (end < 0) return reading;
  reading.Problem = StrayInkAfter(shot, band, end);
  if (reading.Problem.empty() && !digits.empty()) reading.Problem = CheckRate(digits, reading.Value);
  reading.Valid = reading.Problem.empty();
  if (!reading.Valid) reading.Value = -1;
  return reading;
}

std::string TShotReport::Summary() const {
  std::string counter = !Counter.Valid ? "invalid" : Counter.Value < 0 ? "none" : std::to_string(Counter.Value);
  return "frame=" + (Frame < 0 ? std::string("none") : std::to_string(Frame)) + " counter=" + counter +
         " mismatched=" + (Frame < 0 ? std::string("unknown") : std::to_string(Mismatched));
}

namespace {

// A faded grey copy of the frame area of Shot, for failing pixels to be
// marked on.
TRgbImage FadedCopy(const TRgbImage& shot) {
  TRgbImage diff(FrameWidth, FrameHeight);
  for (int32_t y = 0; y < FrameHeight; ++y) {
    for (int32_t x = 0; x < FrameWidth; ++x) diff.At(x, y) = Faded(shot.At(x, y));
  }
  return diff;
}

// Compares the rows below the counter band with frame Report.Frame.
void CompareWithFrame(const TRgbImage& shot, const TFontImage& font, TShotReport& report, TRgbImage* diff) {
  const TRgbImage expected = RenderFrame(static_cast<uint64_t>(report.Frame), font);
  for (int32_t y = CounterBandHeight; y < FrameHeight; ++y) {
    for (int32_t x = 0; x < FrameWidth; ++x) {
      const uint32_t got = RgbOf(shot.At(x, y)), want = expected.At(x, y);
      if (got == want) continue;
      ++report.Mismatched;
      if (report.FirstMismatches.size() < ReportedMismatches) report.FirstMismatches.push_back({x, y, got, want});
      if (diff) diff->At(x, y) = MismatchRed;
    }
  }
  if (report.Mismatched == 0) return;
  std::string where;
  for (const TPixelMismatch& m : report.FirstMismatches) {
    where += " " + Position(m.X, m.Y) + " " + HexRgb(m.Shot) + " not " + HexRgb(m.Expected) + ";";
  }
  where.pop_back();
  report.Problems.push_back(std::to_string(report.Mismatched) + " pixels in rows " +
                            std::to_string(CounterBandHeight) + " to " + std::to_string(FrameHeight - 1) +
                            " differ from frame " + std::to_string(report.Frame) + ", first:" + where);
}

// What is wrong with the counter band of a recognised frame.
void CheckCounterBand(const TRgbImage& shot, TShotReport& report, TRgbImage* diff) {
  if (report.Counter.Valid) {
    // The first frame of a run has no previous frame to time against.
    if (report.Frame == 0 && report.Counter.Value >= 0)
      report.Problems.push_back("frame 0 shows a counter, which the first frame of a run never has");
    return;
  }
  report.Problems.push_back(report.Counter.Problem);
  if (!diff) return;
  for (int32_t y = 0; y < CounterBandHeight; ++y) {
    for (int32_t x = 0; x < FrameWidth; ++x) {
      const uint32_t rgb = RgbOf(shot.At(x, y));
      if (rgb != White && rgb != CounterRgb) diff->At(x, y) = MismatchRed;
    }
  }
}

}  // namespace

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
    report.Problems.push_back("no frame from 0 to " + std::to_string(SearchedFrameLimit(frameLimit)) +
                              " has these line colours (lines 1 to 4:" + colours + ")");
    if (!report.Counter.Valid) report.Problems.push_back(report.Counter.Problem);
    return report;
  }
  if (diff) *diff = FadedCopy(shot);
  CompareWithFrame(shot, font, report, diff);
  CheckCounterBand(shot, report, diff);
  return report;
}

}  // namespace runeplate
