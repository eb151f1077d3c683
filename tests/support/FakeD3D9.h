// A recording fake of the Direct3D 9 objects the program uses.
//
// TFakeDirect3D installs itself as the factory behind CreateDirect3D9 for its
// lifetime and hands out fake objects that write every call they receive,
// with its arguments, to one shared log ("d3d1.CreateDevice(...)",
// "device1.SetRenderState(15,1)", "texture1.Release" ...). Reference counts
// are kept per object; the objects stay alive until the fake goes, so a test
// can check that the program dropped every count it held.
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "support/D3D9Stubs.h"
#include "dx/UDxApp.h"

namespace runeplate::test {

class TFakeDirect3D;

// Reference counting and logging shared by the three fakes.
template <class Stub>
class TCounted : public Stub {
 public:
  TCounted(TFakeDirect3D* system, std::string name) : System(system), Name(std::move(name)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  TFakeDirect3D* System;
  std::string Name;
  ULONG Refs = 1;  // the creator's count
};

class TFakeTexture : public TCounted<TStubDirect3DTexture9> {
 public:
  TFakeTexture(TFakeDirect3D* system, std::string name, int32_t pitch);
  HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                                     DWORD flags) override;
  HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;

  int32_t Pitch;
  // Level 0 as the program sees it when locked; starts as all 0xCD so that
  // untouched bytes show.
  std::vector<uint8_t> Bits;
  uint32_t Texel(int32_t x, int32_t y) const;
};

// One DrawPrimitiveUP call with the state it was drawn with.
struct TDraw {
  IDirect3DBaseTexture9* Texture;
  DWORD Fvf;
  D3DPRIMITIVETYPE Type;
  UINT PrimitiveCount;
  UINT Stride;
  std::array<TGlyphVertex, 4> Vertices;
};

class TFakeDevice : public TCounted<TStubDirect3DDevice9> {
 public:
  using TCounted::TCounted;
  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
  HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
  HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                          D3DFORMAT format, D3DPOOL pool,
                                          IDirect3DTexture9** texture, HANDLE* shared) override;
  HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour,
                                  float z, DWORD stencil) override;
  HRESULT STDMETHODCALLTYPE BeginScene() override;
  HRESULT STDMETHODCALLTYPE EndScene() override;
  HRESULT STDMETHODCALLTYPE Present(const RECT* source, const RECT* dest, HWND window,
                                    const RGNDATA* dirty) override;
  HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override;
  HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                            UINT stride) override;

  IDirect3DBaseTexture9* CurrentTexture = nullptr;
  DWORD CurrentFvf = 0;
};

class TFakeD3D : public TCounted<TStubDirect3D9> {
 public:
  using TCounted::TCounted;
  HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags,
                                         D3DPRESENT_PARAMETERS* parameters,
                                         IDirect3DDevice9** device) override;
};

class TFakeDirect3D {
 public:
  TFakeDirect3D();
  ~TFakeDirect3D();
  TFakeDirect3D(const TFakeDirect3D&) = delete;
  TFakeDirect3D& operator=(const TFakeDirect3D&) = delete;

  // What the fakes do.
  bool FactoryReturnsNull = false;
  bool DeviceCreationFails = false;   // CreateDevice leaves the out-reference null
  bool TextureCreationFails = false;  // CreateTexture leaves it null
  HRESULT LockResult = D3D_OK;
  int32_t TexturePitch = FontImageWidth * 4;
  std::deque<HRESULT> CooperativeLevels;  // answered in turn, then D3D_OK
  HRESULT ResetResult = D3D_OK;

  // What they saw.
  std::vector<std::string> Calls;
  std::vector<D3DPRESENT_PARAMETERS> CreateDeviceParameters;
  std::vector<D3DPRESENT_PARAMETERS> ResetParameters;
  std::vector<TDraw> Draws;
  std::vector<std::unique_ptr<TFakeD3D>> D3Ds;
  std::vector<std::unique_ptr<TFakeDevice>> Devices;
  std::vector<std::unique_ptr<TFakeTexture>> Textures;

  void Log(std::string call) { Calls.push_back(std::move(call)); }
  // The calls whose text starts with Prefix ("device1.", "texture1.Release").
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  // Every count handed out has been given back.
  bool AllReleased() const;

 private:
  static IDirect3D9* WINAPI Create(UINT version);
  TDirect3DCreate9 savedFactory_;
  TFakeDirect3D* savedInstalled_;
};

// Formats a call for the log, printf-style.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

template <class Stub>
ULONG STDMETHODCALLTYPE TCounted<Stub>::AddRef() {
  System->Log(Name + ".AddRef");
  return ++Refs;
}

template <class Stub>
ULONG STDMETHODCALLTYPE TCounted<Stub>::Release() {
  System->Log(Name + ".Release");
  return --Refs;
}

}  // namespace runeplate::test
