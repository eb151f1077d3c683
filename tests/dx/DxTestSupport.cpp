#include "DxTestSupport.h"

#include <tuple>

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

D3DPRESENT_PARAMETERS ExpectedParameters(UINT width, UINT height, BOOL windowed) {
  D3DPRESENT_PARAMETERS expected = {};
  expected.BackBufferWidth = width;
  expected.BackBufferHeight = height;
  expected.BackBufferFormat = D3DFMT_X8R8G8B8;
  expected.BackBufferCount = 1;
  expected.SwapEffect = D3DSWAPEFFECT_DISCARD;
  expected.Windowed = windowed;
  expected.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  return expected;
}

std::deque<DWORD> ClockReadings;
int ClockReads = 0;

DWORD WINAPI FakeClock() {
  ++ClockReads;
  const DWORD reading = ClockReadings.empty() ? 0 : ClockReadings.front();
  if (ClockReadings.size() > 1) ClockReadings.pop_front();
  return reading;
}

std::vector<DWORD> Pauses;

void WINAPI FakePause(DWORD milliseconds) { Pauses.push_back(milliseconds); }

DxTest::DxTest() : savedClock_(FrameClock), savedPause_(DevicePause) {
  RandomSeed = 0;
  LastFrameTime = 0;
  ClockReadings.clear();
  ClockReads = 0;
  FrameClock = &FakeClock;
  Pauses.clear();
  DevicePause = &FakePause;
  Game.FFontFileName = FontFile.Path();
  GameMain = &Game;
}

DxTest::~DxTest() {
  GameMain = nullptr;
  FrameClock = savedClock_;
  DevicePause = savedPause_;
}

void DxTest::InitializeFullScreen() { Game.Initialize(FakeWindow(), 800, 600, 32, true); }

}  // namespace runeplate::test

namespace {

// Every field, in declaration order: the one list that comparing and printing
// share.
auto Fields(const D3DPRESENT_PARAMETERS& p) {
  return std::make_tuple(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat,
                         p.BackBufferCount, p.MultiSampleType, p.MultiSampleQuality, p.SwapEffect,
                         p.hDeviceWindow, p.Windowed, p.EnableAutoDepthStencil,
                         p.AutoDepthStencilFormat, p.Flags, p.FullScreen_RefreshRateInHz,
                         p.PresentationInterval);
}

}  // namespace

bool operator==(const D3DPRESENT_PARAMETERS& a, const D3DPRESENT_PARAMETERS& b) {
  return Fields(a) == Fields(b);
}

void PrintTo(const D3DPRESENT_PARAMETERS& parameters, std::ostream* out) {
  *out << ::testing::PrintToString(Fields(parameters));
}
