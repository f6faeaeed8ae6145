// The copies as callers see them: each picks its back-end's copy; the state variants wrap a
// Direct3D copy in a draw state.
#include "platform/display/blit.h"

#include "platform/display/blit_internal.h"
#include "platform/display/display.h"

HRESULT DDBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
              std::int32_t sx, std::int32_t sy, std::int32_t key) {
  if (DisplayIsD3D()) {
    StretchBltD3D(dst, x, y, w, h, src, sx, sy, w, h, key);
    return DD_OK;
  }
  return StretchBltDD(dst, x, y, w, h, src, sx, sy, w, h, key);
}

void DDStretchBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                  std::int32_t key) {
  if (DisplayIsD3D())
    StretchBltD3D(dst, x, y, w, h, src, sx, sy, sw, sh, key);
  else
    StretchBltDD(dst, x, y, w, h, src, sx, sy, sw, sh, key);
}

void DDBltState(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
                std::int32_t sx, std::int32_t sy, std::int32_t key, const DrawState* state) {
  if (DisplayIsD3D())
    DDStretchBltState(dst, x, y, w, h, src, sx, sy, w, h, key, state);
  else
    DDBlt(dst, x, y, w, h, src, sx, sy, key);
}

void DDStretchBltState(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                       DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                       std::int32_t key, const DrawState* state) {
  if (!DisplayIsD3D() || !state) {
    DDStretchBlt(dst, x, y, w, h, src, sx, sy, sw, sh, key);
    return;
  }
  const cDrawStateScope scope(state);
  DDStretchBlt(dst, x, y, w, h, src, sx, sy, sw, sh, key);
}

cDrawStateScope::cDrawStateScope(const DrawState* state) : m_Set(state != nullptr) {
  if (!m_Set) return;
  SetDrawColor(state->colour);
  SetDrawColorOp(state->colorOp);
}

cDrawStateScope::~cDrawStateScope() {
  if (!m_Set) return;
  ResetDrawColor();
  ResetDrawColorOp();
}
