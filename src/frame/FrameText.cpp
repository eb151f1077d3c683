#include "frame/FrameText.h"

namespace runeplate {

uint32_t RandomSeed = 0;

uint32_t RandomInt(int32_t range) {
  RandomSeed = NextRandomSeed(RandomSeed);
  const uint64_t product = static_cast<uint64_t>(RandomSeed) * static_cast<uint32_t>(range);
  return static_cast<uint32_t>(product >> 32);
}

const char16_t SampleText[] =
    u"아름다운 강산 ABCDEFGhijklmn!@#$%^&*()1234567890 나는 자랑스런 태극기 앞에 조국과 아름다운 강산 ABC";
static_assert(sizeof(SampleText) / sizeof(SampleText[0]) == SampleTextLength + 1,
              "the sample line is 73 code units");

void DrawFrameLines(TGlyphCallback callback) {
  ForEachFrameLine([callback](int32_t y, uint32_t colour) {
    DrawTextRun(0, y, SampleText, SampleTextLength, static_cast<int32_t>(colour), callback);
  });
}

int32_t FrameRate(int32_t lastFrameTime, uint32_t now) {
  if (lastFrameTime <= 0) return -1;
  const int32_t elapsed = static_cast<int32_t>(now - static_cast<uint32_t>(lastFrameTime));
  if (elapsed <= 0) return -1;
  return 1000 / elapsed;
}

size_t FormatFrameRate(int32_t rate, char16_t text[11]) {
  char16_t reversed[11];
  size_t n = 0;
  uint32_t value = rate < 0 ? 0u : static_cast<uint32_t>(rate);
  do {
    reversed[n++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0 && n < 11);
  for (size_t k = 0; k < n; ++k) text[k] = reversed[n - 1 - k];
  return n;
}

int32_t DrawFrameCounter(int32_t lastFrameTime, uint32_t now, TGlyphCallback callback) {
  const int32_t rate = FrameRate(lastFrameTime, now);
  if (rate < 0) return -1;
  char16_t text[11];
  const size_t length = FormatFrameRate(rate, text);
  DrawTextRun(0, 0, text, length, static_cast<int32_t>(CounterColour), callback);
  return rate;
}

}  // namespace runeplate
