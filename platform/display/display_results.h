#pragma once
// Result codes of the display's device objects, with the numbers of the interfaces the game was
// written against: the logs print them, and callers compare with them.
#include <cstdint>

using HRESULT = std::int32_t;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT MakeResult(std::uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT DD_OK = 0;
constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_FAIL = MakeResult(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057);

constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_INVALIDMODE = MakeResult(0x8876005A);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeResult(0x8876017C);
constexpr HRESULT DDERR_SURFACELOST = MakeResult(0x887601C2);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeResult(0x88760246);
constexpr HRESULT DDERR_WRONGMODE = MakeResult(0x8876024B);

constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = MakeResult(0x8876017C);
constexpr HRESULT D3DERR_NOTAVAILABLE = MakeResult(0x8876086A);
constexpr HRESULT D3DERR_INVALIDCALL = MakeResult(0x8876086C);
constexpr HRESULT D3DERR_DEVICELOST = MakeResult(0x88760868);
constexpr HRESULT D3DERR_DEVICENOTRESET = MakeResult(0x88760869);
