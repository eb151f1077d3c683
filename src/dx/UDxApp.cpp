#include "dx/UDxApp.h"

#include <mmsystem.h>

#include "errors/Exceptions.h"

namespace runeplate {

TGameMain* GameMain = nullptr;
int32_t LastFrameTime = 0;
TClock FrameClock = &timeGetTime;
TPause DevicePause = &Sleep;

namespace {

// Screen positions are shifted by half a pixel so that texel centres land on
// pixel centres under Direct3D 9's pixel-centre convention; texture
// coordinates stay on texel edges.
constexpr float HalfPixelBias = 0.5f;

constexpr DWORD FontTexelInk = 0xFFFFFFFFu;  // opaque white: passes the alpha test
constexpr DWORD FontTexelClear = 0x00000000u;  // alpha 0: kept out by the alpha test

// The I/O error code of a read that delivers less than was asked for.
constexpr int32_t ReadBeyondEndOfFile = 100;

// How long a lost device, or one that would not reset, is left alone before
// Render looks again, so that a program switched away from does not spin on
// its message loop.
constexpr DWORD LostDevicePauseMs = 10;

// Owns the font file's handle: closed on every path out of the fill.
class TFontFile {
 public:
  explicit TFontFile(const char* fileName) {
    // Read access only: the file is never written, and asking for write
    // access would refuse a read-only file or a write-protected installation.
    handle_ = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) Raise(EInOutError(static_cast<int32_t>(GetLastError())));
  }
  TFontFile(const TFontFile&) = delete;
  TFontFile& operator=(const TFontFile&) = delete;
  ~TFontFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  // Positions the file at its last PixelBytes bytes. A shorter file gives a
  // negative position, which the system refuses with ERROR_NEGATIVE_SEEK.
  void SeekToLast(int64_t pixelBytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_, &size)) Raise(EInOutError(static_cast<int32_t>(GetLastError())));
    LARGE_INTEGER position;
    position.QuadPart = size.QuadPart - pixelBytes;
    if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN))
      Raise(EInOutError(static_cast<int32_t>(GetLastError())));
  }

  // Reads exactly Count bytes; a short read is "Read beyond end of file".
  void Read(void* buffer, DWORD count) {
    DWORD done = 0;
    if (!ReadFile(handle_, buffer, count, &done, nullptr))
      Raise(EInOutError(static_cast<int32_t>(GetLastError())));
    if (done != count) Raise(EInOutError(ReadBeyondEndOfFile));
  }

  void Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) Raise(EInOutError(static_cast<int32_t>(GetLastError())));
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Keeps level 0 of a texture locked for as long as it lives.
class TTextureLock {
 public:
  TTextureLock(IDirect3DTexture9* texture, D3DLOCKED_RECT* locked) : texture_(texture) {
    locked_ = texture_->LockRect(0, locked, nullptr, 0) == D3D_OK;
  }
  TTextureLock(const TTextureLock&) = delete;
  TTextureLock& operator=(const TTextureLock&) = delete;
  ~TTextureLock() {
    if (locked_) texture_->UnlockRect(0);
  }
  bool Locked() const { return locked_; }

 private:
  IDirect3DTexture9* texture_;
  bool locked_ = false;
};

// Expands one stored row of 1-bit pixels into 32-bit texels.
void ExpandFontRow(const uint8_t* row, DWORD* texels) {
  for (int32_t x = 0; x < FontImageWidth; ++x) {
    texels[x] = FontRowInk(row, x) ? FontTexelInk : FontTexelClear;
  }
}

}  // namespace

void TGameMain::Initialize(HWND wnd, int32_t width, int32_t height, int32_t /*bitsPerPixel*/,
                           bool fullScreen) {
  FWnd = wnd;
  FD3D.Reset();
  FDevice.Reset();
  FFontTexture.Reset();

  // Swapped in: MinGW-w64's ComPtr move assignment copies, an extra AddRef
  // and Release for nothing.
  CreateDirect3D9(Direct3DSdkVersion).Swap(FD3D);
  RUNEPLATE_ASSERT_AT(FD3D, AssertNoDirect3D);

  if (!fullScreen) SetClientSize(wnd, width, height);

  FPresentParameters = {};
  FPresentParameters.BackBufferWidth = static_cast<UINT>(width);
  FPresentParameters.BackBufferHeight = static_cast<UINT>(height);
  FPresentParameters.BackBufferFormat = D3DFMT_X8R8G8B8;
  FPresentParameters.BackBufferCount = 1;
  FPresentParameters.MultiSampleType = D3DMULTISAMPLE_NONE;
  FPresentParameters.MultiSampleQuality = 0;
  FPresentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  FPresentParameters.hDeviceWindow = nullptr;
  // TRUE with all bits set, as the program has always stored it.
  FPresentParameters.Windowed = fullScreen ? FALSE : -1;
  FPresentParameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;

  // The runtime may write into the record it is given; the kept copy stays as
  // built, for resetting a lost device.
  D3DPRESENT_PARAMETERS presentParameters = FPresentParameters;
  FD3D->CreateDevice(0, D3DDEVTYPE_HAL, wnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                     &presentParameters, FDevice.ReleaseAndGetAddressOf());
  RUNEPLATE_ASSERT_AT(FDevice, AssertNoDevice);

  SetRenderStates();

  FDevice->CreateTexture(FontImageWidth, FontImageHeight, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                         FFontTexture.ReleaseAndGetAddressOf(), nullptr);
  RUNEPLATE_ASSERT_AT(FFontTexture, AssertNoTexture);

  FillFontTexture();
}

void TGameMain::SetRenderStates() {
  // Font texels are opaque or fully transparent; the alpha test keeps the
  // transparent ones out of the frame, so no blending is needed.
  FDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  FDevice->SetRenderState(D3DRS_ALPHAREF, 0);
  FDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_NOTEQUAL);
}

void TGameMain::FillFontTexture() {
  D3DLOCKED_RECT locked = {};
  TTextureLock lock(FFontTexture.Get(), &locked);
  RUNEPLATE_ASSERT_AT(lock.Locked(), AssertTextureNotLocked);

  TFontFile file(FFontFileName);
  file.SeekToLast(FontFilePixelBytes);
  uint8_t row[FontFileRowBytes];
  auto* const bits = static_cast<uint8_t*>(locked.pBits);
  for (int32_t stored = 0; stored < FontImageHeight; ++stored) {
    file.Read(row, sizeof row);
    ExpandFontRow(row, reinterpret_cast<DWORD*>(bits + StoredFontRow(stored) * locked.Pitch));
  }
  file.Close();
}

void TGameMain::Finalize() {
  FFontTexture.Reset();
  FDevice.Reset();
  FD3D.Reset();
}

bool TGameMain::DrawGlyph(int32_t x, int32_t y, IDirect3DTexture9* texture, int32_t srcLeft,
                          int32_t srcTop, int32_t width, int32_t height, uint32_t colour) {
  if (!texture) return false;

  const float x0 = static_cast<float>(x - static_cast<double>(HalfPixelBias));
  const float y0 = static_cast<float>(y - static_cast<double>(HalfPixelBias));
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float u0 = static_cast<float>(srcLeft / static_cast<double>(FontImageWidth));
  const float v0 = static_cast<float>(srcTop / static_cast<double>(FontImageHeight));
  const float du = static_cast<float>(width / static_cast<double>(FontImageWidth));
  const float dv = static_cast<float>(height / static_cast<double>(FontImageHeight));

  // Clockwise on screen, so the default culling of counter-clockwise
  // triangles keeps both halves of the fan.
  const TGlyphVertex quad[4] = {
      {x0, y0, 1.0f, 1.0f, colour, u0, v0},
      {x0 + w, y0, 1.0f, 1.0f, colour, u0 + du, v0},
      {x0 + w, y0 + h, 1.0f, 1.0f, colour, u0 + du, v0 + dv},
      {x0, y0 + h, 1.0f, 1.0f, colour, u0, v0 + dv},
  };
  FDevice->SetTexture(0, texture);
  FDevice->SetFVF(GlyphVertexFormat);
  FDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(TGlyphVertex));
  return true;
}

void DrawGlyphCallback(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                       int32_t srcTop, int32_t userValue) {
  GameMain->DrawGlyph(x, y, GameMain->FFontTexture.Get(), srcLeft, srcTop, width, height,
                      static_cast<uint32_t>(userValue));
}

bool TGameMain::ReadyToDraw() {
  const HRESULT state = FDevice->TestCooperativeLevel();
  if (state == D3DERR_DEVICELOST) {
    DevicePause(LostDevicePauseMs);
    return false;
  }
  if (state == D3DERR_DEVICENOTRESET) {
    // Nothing lives in the default pool (the font texture is managed), so the
    // device resets as it is; its render states do not survive the reset.
    D3DPRESENT_PARAMETERS presentParameters = FPresentParameters;
    if (FDevice->Reset(&presentParameters) != D3D_OK) {
      // Reset keeps failing for as long as the display stays unavailable.
      DevicePause(LostDevicePauseMs);
      return false;
    }
    SetRenderStates();
  }
  return true;
}

void TGameMain::Render() {
  if (!ReadyToDraw()) return;

  FDevice->Clear(0, nullptr, D3DCLEAR_TARGET, FrameClearColour, 1.0f, 0);
  FDevice->BeginScene();
  DrawFrameLines(DrawGlyphCallback);
  // The clock is read for the counter only when there is a previous frame.
  if (LastFrameTime > 0) DrawFrameCounter(LastFrameTime, FrameClock(), DrawGlyphCallback);
  LastFrameTime = static_cast<int32_t>(FrameClock());
  FDevice->EndScene();
  FDevice->Present(nullptr, nullptr, FWnd, nullptr);
}

void SetClientSize(HWND wnd, int32_t width, int32_t height) {
  WINDOWINFO info = {};
  info.cbSize = sizeof info;
  if (!GetWindowInfo(wnd, &info)) return;
  RECT outer = {0, 0, width, height};
  if (!AdjustWindowRect(&outer, info.dwStyle, GetMenu(wnd) != nullptr)) return;
  MoveWindow(wnd, info.rcWindow.left, info.rcWindow.top, outer.right - outer.left,
             outer.bottom - outer.top, TRUE);
}

}  // namespace runeplate
