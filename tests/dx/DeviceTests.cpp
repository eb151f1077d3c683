// The Direct3D layer on Wine's real Direct3D 9 (needs an X display): set-up
// on a real window, one frame read back from the lockable back buffer, and
// release of everything.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "support/D3D9Stubs.h"
#include "support/TempFile.h"
#include "support/TestWindow.h"
#include "dx/UDxApp.h"

namespace runeplate {
namespace {

// Reads the back buffer (lockable, as the program asks for) as 0xRRGGBB, row
// by row; empty when it cannot be read.
std::vector<uint32_t> ReadBackBuffer(IDirect3DDevice9* device) {
  std::vector<uint32_t> pixels;
  Microsoft::WRL::ComPtr<IDirect3DSurface9> backBuffer;
  if (device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.GetAddressOf()) != D3D_OK)
    return pixels;
  D3DLOCKED_RECT locked;
  if (backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY) != D3D_OK) return pixels;
  pixels.resize(FrameWidth * FrameHeight);
  for (int32_t y = 0; y < FrameHeight; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) +
                                                        y * locked.Pitch);
    for (int32_t x = 0; x < FrameWidth; ++x) pixels[y * FrameWidth + x] = row[x] & 0xFFFFFF;
  }
  backBuffer->UnlockRect();
  return pixels;
}

// Stands in front of the real device and keeps a copy of each frame just
// before it is presented: a discarding swap leaves nothing to read after.
class TPresentTap : public test::TForwardDirect3DDevice9 {
 public:
  using TForwardDirect3DDevice9::TForwardDirect3DDevice9;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    return Inner->QueryInterface(id, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE Present(const RECT* source, const RECT* dest, HWND window,
                                    const RGNDATA* dirty) override {
    Frame = ReadBackBuffer(Inner);
    PresentedTo = window;
    return Inner->Present(source, dest, window, dirty);
  }

  std::vector<uint32_t> Frame;
  HWND PresentedTo = nullptr;

 private:
  ULONG refs_ = 1;
};

struct TDeviceCase {
  const char* Name;
  DWORD Style;
  bool FullScreen;
};

void PrintTo(const TDeviceCase& device, std::ostream* out) { *out << device.Name; }

class RealDeviceTest : public ::testing::TestWithParam<TDeviceCase> {
 protected:
  void SetUp() override {
    ASSERT_NE(window_.Handle(), nullptr);
    window_.Show();
    RandomSeed = 0;
    LastFrameTime = 0;
    game_.FFontFileName = font_.Path();
    GameMain = &game_;
    game_.Initialize(window_.Handle(), FrameWidth, FrameHeight, 32, GetParam().FullScreen);
  }
  void TearDown() override {
    game_.Finalize();
    GameMain = nullptr;
  }

  test::TTestWindow window_{GetParam().Style, {0, 0, FrameWidth, FrameHeight}};
  // Every byte 0xF0: in every glyph cell, columns 0-3 and 8-11 are ink and
  // columns 4-7 and 12-15 clear, so a pixel tells which line covered it, and
  // whether the clear texels were kept out.
  test::TTempFile font_{std::vector<uint8_t>(FontFilePixelBytes, 0xF0)};
  TGameMain game_;
};

TEST_P(RealDeviceTest, AFrameShowsEachLineInItsColourOnWhite) {
  ASSERT_NE(game_.FFontTexture, nullptr);
  ASSERT_EQ(game_.FDevice->TestCooperativeLevel(), D3D_OK);
  const Microsoft::WRL::ComPtr<IDirect3DDevice9> device = game_.FDevice;
  TPresentTap tap(device.Get());
  game_.FDevice = &tap;
  game_.Render();
  game_.FDevice = device;

  EXPECT_EQ(tap.PresentedTo, window_.Handle());
  const std::vector<uint32_t>& pixels = tap.Frame;
  ASSERT_EQ(pixels.size(), static_cast<size_t>(FrameWidth * FrameHeight));
  const auto at = [&](int32_t x, int32_t y) { return pixels[y * FrameWidth + x]; };
  struct {
    int32_t X, Y;
    uint32_t Rgb;
  } const samples[] = {
      {0, 15, 0xFFFFFF},    // the counter band: no counter before a second frame
      {0, 16, 0x000000},    // line 1, colour 0x00000000: alpha 0 draws all the same
      {3, 24, 0x000000},    // the last ink column of the cell's first byte
      {4, 24, 0xFFFFFF},    // clear texels leave the background
      {8, 24, 0x000000},
      {11, 31, 0x000000},   // the cell's bottom row
      {12, 31, 0xFFFFFF},
      {0, 32, 0x088405},    // line 2: 0x08088405, from its top row
      {5, 40, 0xFFFFFF},
      {200, 56, 0x6DAC1E},  // line 3: 0xDC6DAC1E
      {96, 591, 0xF9467B},  // the bottom row of line 36: 0xF9F9467B
      {96, 592, 0xFFFFFF},  // below line 36
      {797, 24, 0xFFFFFF},  // right of the sample line
  };
  for (const auto& sample : samples)
    EXPECT_EQ(at(sample.X, sample.Y), sample.Rgb) << "pixel (" << sample.X << ", " << sample.Y << ")";
}

TEST_P(RealDeviceTest, RenderPresentsFramesAndKeepsTheTime) {
  game_.Render();
  const int32_t first = LastFrameTime;
  EXPECT_NE(first, 0);
  Sleep(20);
  game_.Render();
  EXPECT_GE(LastFrameTime - first, 20);
}

TEST_P(RealDeviceTest, FinalizeLeavesNoCountOnTheRuntimesObjects) {
  // Extra counts of our own show what remains once Finalize has run.
  Microsoft::WRL::ComPtr<IDirect3DTexture9> texture = game_.FFontTexture;
  Microsoft::WRL::ComPtr<IDirect3DDevice9> device = game_.FDevice;
  Microsoft::WRL::ComPtr<IDirect3D9> direct3D = game_.FD3D;
  game_.Finalize();
  EXPECT_EQ(game_.FFontTexture, nullptr);
  EXPECT_EQ(game_.FDevice, nullptr);
  EXPECT_EQ(game_.FD3D, nullptr);
  // Resources hold their device and the device its Direct3D object, so the
  // counts fall to zero in this order.
  EXPECT_EQ(texture.Reset(), 0u);
  EXPECT_EQ(device.Reset(), 0u);
  EXPECT_EQ(direct3D.Reset(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Devices, RealDeviceTest,
                         ::testing::Values(TDeviceCase{"Windowed", WS_OVERLAPPEDWINDOW, false},
                                           TDeviceCase{"FullScreen", WS_POPUP, true}),
                         [](const ::testing::TestParamInfo<TDeviceCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace runeplate
