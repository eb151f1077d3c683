// UDxApp: everything the program holds of Direct3D 9, and the drawing of a
// frame.
//
// TGameMain owns the Direct3D object, the device made on the program's window
// and the 512 x 256 font texture, filled from the font file. The shell makes
// one instance, stores it in GameMain, calls Initialize once, Render for every
// frame and Finalize after its message loop. Everything runs on the one
// thread that starts the process.
#pragma once

#include <cstdint>

#include <windows.h>

#include "dx/Direct3D9.h"
#include "font/FontFile.h"
#include "frame/FrameText.h"

namespace runeplate {

// The line numbers that the set-up checks' assertion reports carry. Users and
// support notes quote those reports, so each check keeps its own number
// whatever line of UDxApp.cpp it sits on; __LINE__ would move with every edit.
constexpr int32_t AssertNoDirect3D = 156;        // no Direct3D 9 object
constexpr int32_t AssertNoDevice = 173;          // no 800 x 600 full-screen device
constexpr int32_t AssertNoTexture = 182;         // no font texture
constexpr int32_t AssertTextureNotLocked = 190;  // the font texture cannot be locked

class TGameMain {
 public:
  HWND FWnd = nullptr;
  Microsoft::WRL::ComPtr<IDirect3D9> FD3D;
  Microsoft::WRL::ComPtr<IDirect3DDevice9> FDevice;
  Microsoft::WRL::ComPtr<IDirect3DTexture9> FFontTexture;
  // The device's present parameters, kept to reset a lost device with.
  D3DPRESENT_PARAMETERS FPresentParameters = {};
  // The font file read by Initialize; the program never changes it.
  const char* FFontFileName = FontFileName;

  // Makes the Direct3D object, a device of `width` x `height` on `wnd` (full
  // screen when `fullScreen`, else windowed with the client area sized to
  // match), its render states and the font texture, and fills the texture from
  // the font file. `bitsPerPixel` is not read: the back buffer is always X8R8G8B8. Earlier objects are
  // released first (Direct3D object, device, texture). Raises
  // EAssertionFailed when an object cannot be made or the texture cannot be
  // locked, with the line number named above for that check, and EInOutError
  // when the font file cannot be read.
  void Initialize(HWND wnd, int32_t width, int32_t height, int32_t bitsPerPixel, bool fullScreen);

  // Releases the texture, the device and the Direct3D object, in that order.
  // Harmless on a fresh or already released instance.
  void Finalize();

  // Draws one glyph: the `width` x `height` texels at (`srcLeft`, `srcTop`) of
  // `texture` as a screen quad at (`x`, `y`), in `colour`. Borrows `texture`;
  // returns false and calls nothing when it is null.
  bool DrawGlyph(int32_t x, int32_t y, IDirect3DTexture9* texture, int32_t srcLeft,
                 int32_t srcTop, int32_t width, int32_t height, uint32_t colour);

  // Draws and presents one frame: white background, the sample line on 36
  // lines in random colours, the frame rate in the top-left corner. While the
  // device is lost it draws nothing; once it can be reset, it is reset with
  // the same present parameters and drawing goes on.
  void Render();

 private:
  void SetRenderStates();
  void FillFontTexture();
  // Tests the device and resets it when it can be; false while it is lost.
  bool ReadyToDraw();
};

// The one instance, set by the shell.
extern TGameMain* GameMain;

// Clock reading at the end of the previous frame's drawing; 0 before the
// first frame, so the first frame shows no counter.
extern int32_t LastFrameTime;

// The layout's per-glyph callback: draws the glyph on GameMain from its font
// texture; the user value is the colour, bit for bit.
void DrawGlyphCallback(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                       int32_t srcTop, int32_t userValue);

// Makes the client area of `wnd` `width` x `height`, keeping its top-left
// corner.
// Leaves the window alone when its information or the adjusted rectangle
// cannot be had.
void SetClientSize(HWND wnd, int32_t width, int32_t height);

// One corner of a glyph quad as the device reads it: position already in
// screen space, one diffuse colour, one texture coordinate pair.
struct TGlyphVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};
static_assert(sizeof(TGlyphVertex) == 28, "the device reads 28-byte vertices");

// Vertex format of TGlyphVertex: D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1.
constexpr DWORD GlyphVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
static_assert(GlyphVertexFormat == 324, "vertex format of TGlyphVertex");

// The millisecond clock of the frame-rate counter (defaults to timeGetTime).
using TClock = DWORD(WINAPI*)();
extern TClock FrameClock;

// How Render waits while the device cannot be drawn on, lost or not yet
// reset, so that the idle loop does not spin (defaults to Sleep).
using TPause = void(WINAPI*)(DWORD milliseconds);
extern TPause DevicePause;

}  // namespace runeplate
