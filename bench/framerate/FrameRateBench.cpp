// runeplate-framerate: how fast the program's frames are drawn on a real
// device, against two baselines on the same device.
//
//   render    TGameMain::Render as the program calls it: layout of 36 lines
//             and the counter, one immediate draw per glyph, present.
//   replay    the same frame without layout: the SetTexture / SetFVF /
//             DrawPrimitiveUP calls of one Render, recorded once and issued
//             again from the recorded list, between the same clear and
//             present. This is the cost of the per-glyph draws themselves.
//   batched   every quad of that frame in one triangle-list draw (split only
//             where the device's primitive limit asks for it).
//
// Render should stay within a few per cent of replay: the layout is meant to
// cost next to nothing beside the draws. Batched shows what the draw-per-glyph
// design gives away.
//
// The variants take turns frame by frame, so that a busy machine slows them
// alike, and each frame is timed until the device has finished it (an event
// query), so that no frame is charged for work queued by another. The
// figures are frames per second over all frames of a variant and the median
// frame time; the ratios compare median frame times. The layout alone, with
// a callback that draws nothing, is timed too.
//
// usage: runeplate-framerate [--frames N] [--font FILE]
// Run it under Wine with an X display (Direct3D needs one); it creates an
// 800 x 600 full-screen device like the program does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/D3D9Stubs.h"
#include "support/TestWindow.h"
#include "errors/Exceptions.h"
#include "dx/UDxApp.h"

using namespace runeplate;

namespace {

// One device call of a recorded frame.
struct TRecordedCall {
  enum TKind { SetTexture, SetFvf, Draw } Kind;
  IDirect3DBaseTexture9* Texture = nullptr;
  DWORD Fvf = 0;
  D3DPRIMITIVETYPE Primitive = D3DPT_TRIANGLEFAN;
  UINT PrimitiveCount = 0;
  UINT Stride = 0;
  size_t FirstVertex = 0;  // index into TFrameRecorder::Vertices
  size_t VertexCount = 0;
};

// Stands in for the device during one Render and keeps the calls that draw
// glyphs; everything else the frame asks of the device succeeds and does
// nothing. The vertices are copied, since the caller's array is gone after
// the call.
class TFrameRecorder : public test::TStubDirect3DDevice9 {
 public:
  std::vector<TRecordedCall> Calls;
  std::vector<TGlyphVertex> Vertices;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of the one who records; counts do not matter.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE BeginScene() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE EndScene() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override { return D3D_OK; }

  HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override {
    if (stage != 0) return D3DERR_INVALIDCALL;
    TRecordedCall call{TRecordedCall::SetTexture};
    call.Texture = texture;
    Calls.push_back(call);
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override {
    TRecordedCall call{TRecordedCall::SetFvf};
    call.Fvf = fvf;
    Calls.push_back(call);
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE primitive, UINT primitiveCount, const void* data,
                                            UINT stride) override {
    // The program draws glyphs only as two-triangle fans of 28-byte vertices.
    if (primitive != D3DPT_TRIANGLEFAN || primitiveCount != 2 || stride != sizeof(TGlyphVertex))
      return D3DERR_INVALIDCALL;
    TRecordedCall call{TRecordedCall::Draw};
    call.Primitive = primitive;
    call.PrimitiveCount = primitiveCount;
    call.Stride = stride;
    call.FirstVertex = Vertices.size();
    call.VertexCount = primitiveCount + 2;
    const auto* vertices = static_cast<const TGlyphVertex*>(data);
    Vertices.insert(Vertices.end(), vertices, vertices + call.VertexCount);
    Calls.push_back(call);
    return D3D_OK;
  }
};

// Serves the window's messages between frames, as the program's loop does.
void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The frame around the glyph draws, as Render does it.
template <class DrawGlyphs>
void DrawFrame(IDirect3DDevice9* device, HWND window, DrawGlyphs drawGlyphs) {
  device->TestCooperativeLevel();
  device->Clear(0, nullptr, D3DCLEAR_TARGET, FrameClearColour, 1.0f, 0);
  device->BeginScene();
  drawGlyphs();
  device->EndScene();
  device->Present(nullptr, nullptr, window, nullptr);
}

struct TVariant {
  const char* Name;
  const char* Description;
  std::function<void()> DrawOneFrame;
  std::vector<double> FrameSeconds;

  double FramesPerSecond() const {
    double total = 0;
    for (double seconds : FrameSeconds) total += seconds;
    return total > 0 ? FrameSeconds.size() / total : 0;
  }
  double MedianMilliseconds() const {
    std::vector<double> times = FrameSeconds;
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return 1000.0 * (n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2);
  }
};

// Milliseconds that the layout of one frame (36 lines and a counter) takes
// with a callback that draws nothing.
volatile int32_t LayoutSink;

double LayoutMilliseconds() {
  const TGlyphCallback noDraw = [](int32_t x, int32_t, int32_t, int32_t, int32_t srcLeft, int32_t, int32_t) {
    LayoutSink = x + srcLeft;
  };
  constexpr int Repeats = 200;
  const double start = Seconds();
  for (int i = 0; i < Repeats; ++i) {
    DrawFrameLines(noDraw);
    DrawFrameCounter(1, 17, noDraw);
  }
  return (Seconds() - start) * 1000.0 / Repeats;
}

// The command line: --frames N (at least 1) and --font FILE.
struct TBenchOptions {
  int Frames = 30;
  const char* FontFile = FontFileName;
};

bool ParseOptions(int argc, char** argv, TBenchOptions& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      options.Frames = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--font") == 0 && i + 1 < argc) {
      options.FontFile = argv[++i];
    } else {
      return false;
    }
  }
  return options.Frames >= 1;
}

// Makes the device on `window` as the program does, reading `fontFile`, then
// draws a few frames: the first ones compile shaders and fill caches. False
// with a message on standard error when the device cannot be had.
bool SetUpGame(TGameMain& game, HWND window, const char* fontFile) {
  GameMain = &game;
  game.FFontFileName = fontFile;
  try {
    game.Initialize(window, FrameWidth, FrameHeight, 32, true);
  } catch (const Exception& failure) {
    std::fprintf(stderr, "runeplate-framerate: cannot set up the device: %s\n", failure.Message().c_str());
    return false;
  }
  for (int i = 0; i < 5; ++i) {
    PumpMessages();
    game.Render();
  }
  return true;
}

// One Render of `game` with `recorder` in place of its device.
void RecordFrame(TGameMain& game, TFrameRecorder& recorder) {
  Microsoft::WRL::ComPtr<IDirect3DDevice9> real = game.FDevice;
  game.FDevice = &recorder;
  game.Render();
  game.FDevice = real;
}

// The recorded frame's quads as one triangle list, drawn in as few calls as
// the device allows.
struct TBatch {
  std::vector<TGlyphVertex> Triangles;
  UINT MaxPrimitives = 0xFFFF;  // the device's limit a draw
  UINT TotalPrimitives = 0;
};

TBatch BatchFrame(const TFrameRecorder& recorder, IDirect3DDevice9* device) {
  TBatch batch;
  // Each fan 0-1-2-3 becomes the triangles 0-1-2 and 0-2-3.
  for (const TRecordedCall& call : recorder.Calls) {
    if (call.Kind != TRecordedCall::Draw) continue;
    const TGlyphVertex* v = &recorder.Vertices[call.FirstVertex];
    for (int corner : {0, 1, 2, 0, 2, 3}) batch.Triangles.push_back(v[corner]);
  }
  D3DCAPS9 caps = {};
  device->GetDeviceCaps(&caps);
  if (caps.MaxPrimitiveCount > 0) batch.MaxPrimitives = caps.MaxPrimitiveCount;
  batch.TotalPrimitives = static_cast<UINT>(batch.Triangles.size() / 3);
  return batch;
}

// Issues the recorded per-glyph calls again, between a clear and a present.
void ReplayFrame(IDirect3DDevice9* device, HWND window, const TFrameRecorder& recorder) {
  DrawFrame(device, window, [&] {
    for (const TRecordedCall& call : recorder.Calls) {
      switch (call.Kind) {
        case TRecordedCall::SetTexture:
          device->SetTexture(0, call.Texture);
          break;
        case TRecordedCall::SetFvf:
          device->SetFVF(call.Fvf);
          break;
        case TRecordedCall::Draw:
          device->DrawPrimitiveUP(call.Primitive, call.PrimitiveCount, &recorder.Vertices[call.FirstVertex],
                                  call.Stride);
          break;
      }
    }
  });
}

// Draws `batch` in triangle-list calls, between a clear and a present.
void DrawBatched(IDirect3DDevice9* device, HWND window, IDirect3DTexture9* texture, const TBatch& batch) {
  DrawFrame(device, window, [&] {
    device->SetTexture(0, texture);
    device->SetFVF(GlyphVertexFormat);
    for (UINT first = 0; first < batch.TotalPrimitives; first += batch.MaxPrimitives) {
      const UINT count = std::min(batch.TotalPrimitives - first, batch.MaxPrimitives);
      device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, count, &batch.Triangles[first * 3], sizeof(TGlyphVertex));
    }
  });
}

// Times `frames` frames of each variant, taking turns frame by frame, each
// until the device has finished it (an event query) where the device can say.
void TimeVariants(IDirect3DDevice9* device, std::vector<TVariant>& variants, int frames) {
  Microsoft::WRL::ComPtr<IDirect3DQuery9> done;
  device->CreateQuery(D3DQUERYTYPE_EVENT, &done);
  auto waitForDevice = [&] {
    if (!done) return;
    done->Issue(D3DISSUE_END);
    while (done->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) SwitchToThread();
  };
  if (!done) std::printf("(no event queries on this device: frames are timed without waiting for them)\n");
  for (TVariant& variant : variants) {
    variant.DrawOneFrame();
    waitForDevice();
  }
  for (int frame = 0; frame < frames; ++frame) {
    for (TVariant& variant : variants) {
      PumpMessages();
      const double start = Seconds();
      variant.DrawOneFrame();
      waitForDevice();
      variant.FrameSeconds.push_back(Seconds() - start);
    }
  }
}

// One line a variant, the layout alone, and the ratios of the medians
// (variants render, replay, batched in that order).
void PrintResults(const std::vector<TVariant>& variants) {
  for (const TVariant& variant : variants) {
    const auto [fastest, slowest] = std::minmax_element(variant.FrameSeconds.begin(), variant.FrameSeconds.end());
    std::printf("%-8s %8.2f frames/s  median %8.2f ms/frame (%.2f..%.2f)  %s\n", variant.Name,
                variant.FramesPerSecond(), variant.MedianMilliseconds(), 1000.0 * *fastest, 1000.0 * *slowest,
                variant.Description);
  }
  std::printf("layout alone: %.3f ms/frame\n", LayoutMilliseconds());
  const double renderToReplay = variants[1].MedianMilliseconds() / variants[0].MedianMilliseconds();
  const double batchedToReplay = variants[1].MedianMilliseconds() / variants[2].MedianMilliseconds();
  std::printf("speed of render / replay  = %.3f (target: 0.95 or more)\n", renderToReplay);
  std::printf("speed of batched / replay = %.3f\n", batchedToReplay);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  TBenchOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: runeplate-framerate [--frames N] [--font FILE]\n");
    return 64;
  }
  // The program's window: a borderless 800 x 600 popup at the top-left corner.
  const test::TTestWindow benchWindow(WS_POPUP, {0, 0, FrameWidth, FrameHeight});
  HWND window = benchWindow.Handle();
  if (!window) {
    std::fprintf(stderr, "runeplate-framerate: cannot create the window\n");
    return 1;
  }
  benchWindow.Show();
  static TGameMain game;
  if (!SetUpGame(game, window, options.FontFile)) return 1;
  IDirect3DDevice9* device = game.FDevice.Get();

  TFrameRecorder recorder;
  RecordFrame(game, recorder);
  size_t draws = 0;
  for (const TRecordedCall& call : recorder.Calls) draws += call.Kind == TRecordedCall::Draw;
  const TBatch batch = BatchFrame(recorder, device);
  IDirect3DTexture9* texture = game.FFontTexture.Get();

  std::vector<TVariant> variants = {
      {"render", "Render: layout and one draw per glyph", [&] { game.Render(); }, {}},
      {"replay", "replayed per-glyph draws, no layout", [&] { ReplayFrame(device, window, recorder); }, {}},
      {"batched", "all quads in one triangle-list draw", [&] { DrawBatched(device, window, texture, batch); }, {}},
  };
  std::printf("runeplate-framerate: %d x %d full screen, %d frames per variant, each timed until the device is done\n",
              FrameWidth, FrameHeight, options.Frames);
  std::printf("one frame: %zu glyph draws (%zu device calls); batched: %u triangles, device limit %u per draw\n",
              draws, recorder.Calls.size(), batch.TotalPrimitives, batch.MaxPrimitives);
  std::fflush(stdout);

  TimeVariants(device, variants, options.Frames);
  PrintResults(variants);
  game.Finalize();
  return 0;
}
