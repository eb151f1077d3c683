// Helpers shared by the Direct3D layer's tests: font pixels, a clock the test
// sets, present parameters compared whole, and a fixture that gives every test
// fresh process-wide state and a fake Direct3D runtime.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeD3D9.h"
#include "support/TempFile.h"
#include "dx/UDxApp.h"

namespace runeplate::test {

// 16384 bytes of pixel rows, byte k of the block being a fixed pseudo-random
// value, so that every row and every bit position differs.
std::vector<uint8_t> PatternPixels();

// The texel (x, y) that the pixel rows Pixels (in file order) stand for.
uint32_t ExpectedTexel(const std::vector<uint8_t>& pixels, int32_t x, int32_t y);

// What Initialize asks the device for: a lockable X8R8G8B8 back buffer of
// Width x Height, discarded at each present, Windowed as given; zero elsewhere.
D3DPRESENT_PARAMETERS ExpectedParameters(UINT width, UINT height, BOOL windowed);

// The clock readings Render gets, in turn; the last one repeats.
extern std::deque<DWORD> ClockReadings;
extern int ClockReads;
DWORD WINAPI FakeClock();

// The pauses Render asked for, in milliseconds, in turn; nothing sleeps.
extern std::vector<DWORD> Pauses;
void WINAPI FakePause(DWORD milliseconds);

// A fresh world per test: the fake runtime installed, the random generator,
// LastFrameTime, the clock and the pauses back at their start, GameMain pointing at Game
// with a valid font file.
class DxTest : public ::testing::Test {
 protected:
  DxTest();
  ~DxTest() override;

  // Initialize full screen (800 x 600) on a made-up window handle.
  void InitializeFullScreen();

  static HWND FakeWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234)); }

  TFakeDirect3D Fake;  // declared first: the fakes outlive Game's references
  TTempFile FontFile{PatternPixels()};
  TGameMain Game;

 private:
  TClock savedClock_;
  TPause savedPause_;
};

}  // namespace runeplate::test

// Present parameters compare and print whole, so that a test states the record
// it expects in one comparison. (Global, where lookup finds them for the
// global D3DPRESENT_PARAMETERS.)
bool operator==(const D3DPRESENT_PARAMETERS& a, const D3DPRESENT_PARAMETERS& b);
void PrintTo(const D3DPRESENT_PARAMETERS& parameters, std::ostream* out);
