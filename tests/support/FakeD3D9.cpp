#include "support/FakeD3D9.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace runeplate::test {

namespace {

TFakeDirect3D* Installed = nullptr;

const char* Pointer(const void* p) {
  static char text[4][24];
  static int next = 0;
  char* out = text[next++ % 4];
  if (p)
    std::snprintf(out, sizeof text[0], "%p", p);
  else
    std::snprintf(out, sizeof text[0], "null");
  return out;
}

}  // namespace

std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

TFakeTexture::TFakeTexture(TFakeDirect3D* system, std::string name, int32_t pitch)
    : TCounted(system, std::move(name)),
      Pitch(pitch),
      Bits(static_cast<size_t>(pitch) * FontImageHeight, 0xCD) {}

HRESULT TFakeTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  System->Log(Format("%s.LockRect(%u,%s,%lu)", Name.c_str(), level, Pointer(rect), flags));
  if (System->LockResult != D3D_OK) return System->LockResult;
  locked->Pitch = Pitch;
  locked->pBits = Bits.data();
  return D3D_OK;
}

HRESULT TFakeTexture::UnlockRect(UINT level) {
  System->Log(Format("%s.UnlockRect(%u)", Name.c_str(), level));
  return D3D_OK;
}

uint32_t TFakeTexture::Texel(int32_t x, int32_t y) const {
  uint32_t texel;
  std::memcpy(&texel, Bits.data() + static_cast<size_t>(y) * Pitch + 4 * x, 4);
  return texel;
}

HRESULT TFakeDevice::TestCooperativeLevel() {
  System->Log(Name + ".TestCooperativeLevel");
  if (System->CooperativeLevels.empty()) return D3D_OK;
  const HRESULT level = System->CooperativeLevels.front();
  System->CooperativeLevels.pop_front();
  return level;
}

HRESULT TFakeDevice::Reset(D3DPRESENT_PARAMETERS* parameters) {
  System->Log(Name + ".Reset");
  System->ResetParameters.push_back(*parameters);
  return System->ResetResult;
}

HRESULT TFakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  System->Log(Format("%s.SetRenderState(%d,%lu)", Name.c_str(), state, value));
  return D3D_OK;
}

HRESULT TFakeDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                   D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                   HANDLE* shared) {
  System->Log(Format("%s.CreateTexture(%u,%u,%u,%lu,%d,%d,%s)", Name.c_str(), width, height,
                     levels, usage, format, pool, Pointer(shared)));
  if (*texture != nullptr) System->Log("CreateTexture: out-reference not cleared");
  if (System->TextureCreationFails) {
    *texture = nullptr;
    return D3DERR_OUTOFVIDEOMEMORY;
  }
  System->Textures.push_back(std::make_unique<TFakeTexture>(
      System, "texture" + std::to_string(System->Textures.size() + 1), System->TexturePitch));
  *texture = System->Textures.back().get();
  return D3D_OK;
}

HRESULT TFakeDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour,
                           float z, DWORD stencil) {
  System->Log(Format("%s.Clear(%lu,%s,%lu,0x%08lX,%g,%lu)", Name.c_str(), count, Pointer(rects),
                     flags, colour, z, stencil));
  return D3D_OK;
}

HRESULT TFakeDevice::BeginScene() {
  System->Log(Name + ".BeginScene");
  return D3D_OK;
}

HRESULT TFakeDevice::EndScene() {
  System->Log(Name + ".EndScene");
  return D3D_OK;
}

HRESULT TFakeDevice::Present(const RECT* source, const RECT* dest, HWND window,
                             const RGNDATA* dirty) {
  System->Log(Format("%s.Present(%s,%s,%s,%s)", Name.c_str(), Pointer(source), Pointer(dest),
                     Pointer(window), Pointer(dirty)));
  return D3D_OK;
}

HRESULT TFakeDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  System->Log(Format("%s.SetTexture(%lu,%s)", Name.c_str(), stage, Pointer(texture)));
  if (stage == 0) CurrentTexture = texture;
  return D3D_OK;
}

HRESULT TFakeDevice::SetFVF(DWORD fvf) {
  System->Log(Format("%s.SetFVF(%lu)", Name.c_str(), fvf));
  CurrentFvf = fvf;
  return D3D_OK;
}

HRESULT TFakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                     UINT stride) {
  System->Log(Format("%s.DrawPrimitiveUP(%d,%u,%u)", Name.c_str(), type, count, stride));
  TDraw draw{CurrentTexture, CurrentFvf, type, count, stride, {}};
  std::memcpy(draw.Vertices.data(), data, sizeof draw.Vertices);
  System->Draws.push_back(draw);
  return D3D_OK;
}

HRESULT TFakeD3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags,
                               D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
  System->Log(Format("%s.CreateDevice(%u,%d,%s,%lu)", Name.c_str(), adapter, type,
                     Pointer(focus), flags));
  if (*device != nullptr) System->Log("CreateDevice: out-reference not cleared");
  System->CreateDeviceParameters.push_back(*parameters);
  if (System->DeviceCreationFails) {
    *device = nullptr;
    return D3DERR_NOTAVAILABLE;
  }
  System->Devices.push_back(
      std::make_unique<TFakeDevice>(System, "device" + std::to_string(System->Devices.size() + 1)));
  *device = System->Devices.back().get();
  return D3D_OK;
}

TFakeDirect3D::TFakeDirect3D()
    : savedFactory_(Direct3DCreate9Function), savedInstalled_(Installed) {
  Installed = this;
  Direct3DCreate9Function = &Create;
}

// A fake made inside a test that has one already gives the outer one back.
TFakeDirect3D::~TFakeDirect3D() {
  Direct3DCreate9Function = savedFactory_;
  Installed = savedInstalled_;
}

IDirect3D9* WINAPI TFakeDirect3D::Create(UINT version) {
  TFakeDirect3D* self = Installed;
  self->Log(Format("Direct3DCreate9(%u)", version));
  if (self->FactoryReturnsNull) return nullptr;
  self->D3Ds.push_back(std::make_unique<TFakeD3D>(self, "d3d" + std::to_string(self->D3Ds.size() + 1)));
  return self->D3Ds.back().get();
}

std::vector<std::string> TFakeDirect3D::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> matching;
  for (const std::string& call : Calls)
    if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
  return matching;
}

bool TFakeDirect3D::AllReleased() const {
  for (const auto& object : D3Ds)
    if (object->Refs != 0) return false;
  for (const auto& object : Devices)
    if (object->Refs != 0) return false;
  for (const auto& object : Textures)
    if (object->Refs != 0) return false;
  return true;
}

}  // namespace runeplate::test
