#include "dx/Direct3D9.h"

namespace runeplate {

TDirect3DCreate9 Direct3DCreate9Function = &Direct3DCreate9;

Microsoft::WRL::ComPtr<IDirect3D9> CreateDirect3D9(UINT version) {
  Microsoft::WRL::ComPtr<IDirect3D9> direct3D;
  // The factory's one count becomes the reference's own. (MinGW-w64's
  // ComPtr::Attach would add a second count, unlike the Windows SDK's.)
  *direct3D.GetAddressOf() = Direct3DCreate9Function(version);
  return direct3D;
}

}  // namespace runeplate
