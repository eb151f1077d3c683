// Direct3D9: the program's entry to the Direct3D 9 runtime.
//
// Every Direct3D object is held through a counted reference that owns one
// count: assigning adds a count to the new object before releasing the old,
// clearing nulls the reference before releasing. Microsoft::WRL::ComPtr does
// exactly that, so the program uses it everywhere instead of bare pointers.
#pragma once

#include <d3d9.h>
#include <wrl/client.h>

namespace runeplate {

// The SDK version the program asks the runtime for.
constexpr UINT Direct3DSdkVersion = 31;

// Calls the Direct3D factory with the given SDK version and returns the object
// owning the factory's one count; a null result passes through.
Microsoft::WRL::ComPtr<IDirect3D9> CreateDirect3D9(UINT version);

// The factory CreateDirect3D9 calls; defaults to the system's Direct3DCreate9.
// Tests replace it to hand out fake objects.
using TDirect3DCreate9 = IDirect3D9*(WINAPI*)(UINT);
extern TDirect3DCreate9 Direct3DCreate9Function;

}  // namespace runeplate
