#include "DxTestSupport.h"

namespace runeplate::test {

std::vector<uint8_t> PatternPixels() {
  std::vector<uint8_t> pixels(FontFilePixelBytes);
  uint32_t state = 12345;
  for (uint8_t& byte : pixels) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(state >> 23);
  }
  return pixels;
}

uint32_t ExpectedTexel(const std::vector<uint8_t>& pixels, int32_t x, int32_t y) {
  return FontRowInk(pixels.data() + StoredFontRow(y) * FontFileRowBytes, x) ? 0xFFFFFFFFu : 0u;
}

bool SameParameters(const D3DPRESENT_PARAMETERS& a, const D3DPRESENT_PARAMETERS& b) {
  return a.BackBufferWidth == b.BackBufferWidth && a.BackBufferHeight == b.BackBufferHeight &&
         a.BackBufferFormat == b.BackBufferFormat && a.BackBufferCount == b.BackBufferCount &&
         a.MultiSampleType == b.MultiSampleType && a.MultiSampleQuality == b.MultiSampleQuality &&
         a.SwapEffect == b.SwapEffect && a.hDeviceWindow == b.hDeviceWindow &&
         a.Windowed == b.Windowed && a.EnableAutoDepthStencil == b.EnableAutoDepthStencil &&
         a.AutoDepthStencilFormat == b.AutoDepthStencilFormat && a.Flags == b.Flags &&
         a.FullScreen_RefreshRateInHz == b.FullScreen_RefreshRateInHz &&
         a.PresentationInterval == b.PresentationInterval;
}

std::deque<DWORD> ClockReadings;
int ClockReads = 0;

DWORD WINAPI FakeClock() {
  ++ClockReads;
  const DWORD reading = ClockReadings.empty() ? 0 : ClockReadings.front();
  if (ClockReadings.size() > 1) ClockReadings.pop_front();
  return reading;
}

DxTest::DxTest() : savedClock_(FrameClock) {
  RandomSeed = 0;
  LastFrameTime = 0;
  ClockReadings.clear();
  ClockReads = 0;
  FrameClock = &FakeClock;
  Game.FFontFileName = FontFile.Path();
  GameMain = &Game;
}

DxTest::~DxTest() {
  GameMain = nullptr;
  FrameClock = savedClock_;
}

void DxTest::InitializeFullScreen() { Game.Initialize(FakeWindow(), 800, 600, 32, true); }

}  // namespace runeplate::test
