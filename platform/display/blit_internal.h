#pragma once
// Inside the display library: what the drawing primitives share.
#include <cstdint>

#include "platform/display/display_results.h"

struct DDSURFACEDATA;

// The context's render target (the back buffer, or the virtual back buffer while it is on) becomes
// the device's again after a draw onto another record.
void RestoreContextRenderTarget();

// The two back-ends' copies; sizes may be negative (mirrors) but not 0.
HRESULT StretchBltDD(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                     std::int32_t key);
void StretchBltD3D(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                   std::int32_t key);
