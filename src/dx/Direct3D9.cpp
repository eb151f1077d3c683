#include "Direct3D9.h"

namespace runeplate {

TDirect3DCreate9 Direct3DCreate9Function = &Direct3DCreate9;

Microsoft::WRL::ComPtr<IDirect3D9> CreateDirect3D9(UINT version) {
  Microsoft::WRL::ComPtr<IDirect3D9> direct3D;
  // The factory hands over one count; Attach takes it without adding another.
  direct3D.Attach(Direct3DCreate9Function(version));
  return direct3D;
}

}  // namespace runeplate
