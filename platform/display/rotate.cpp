// The rotation of a source rectangle about a pivot. In software (DirectDraw, and Direct3D when a
// system-memory texture takes part) every destination pixel of the turned rectangle's bounding box
// is mapped back into the source by the inverse rotation in 1024ths, with running sums along the
// row and no floating point per pixel. Otherwise Direct3D draws one quad with turned corners.
#include <cmath>

#include "platform/display/display.h"
#include "platform/display/effect_locks.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/quad.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943278;

// sin and cos of degrees in 1024ths, truncated toward zero.
struct sTurn {
  std::int64_t s, c;
};
sTurn TurnOf(std::int32_t degrees) {
  const double a = degrees * kRadiansPerDegree;
  return {static_cast<std::int64_t>(static_cast<std::int32_t>(std::sin(a) * 1024)),
          static_cast<std::int64_t>(static_cast<std::int32_t>(std::cos(a) * 1024))};
}

struct sRotation {
  std::int64_t cx, cy, w, h, ox, oy, sx, sy;
  sTurn turn, back;  // the rotation and its inverse (for -degrees)
  bool keyed;
};

template <typename T>
void RotatePixels(const cEffectLocks& frame, const sRotation& r, const cD3D16Packer& packer) {
  const sEffectSurface& to = frame.Dst();
  const sEffectSurface& from = frame.Src();
  // The rectangle offsets that may be read: inside the rectangle and inside the source surface.
  const std::int64_t uMin = std::max<std::int64_t>(0, -r.sx), uEnd = std::min<std::int64_t>(r.w, from.width - r.sx);
  const std::int64_t vMin = std::max<std::int64_t>(0, -r.sy), vEnd = std::min<std::int64_t>(r.h, from.height - r.sy);
  if (uMin >= uEnd || vMin >= vEnd) return;

  // The scan area: the bounding box of the turned corners, two wider on every side.
  std::int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
  for (const std::int64_t x : {std::int64_t{0}, r.w - 1}) {
    for (const std::int64_t y : {std::int64_t{0}, r.h - 1}) {
      const std::int64_t tx = (((x - r.ox) * r.turn.c - (y - r.oy) * r.turn.s) >> 10) + r.ox;
      const std::int64_t ty = (((x - r.ox) * r.turn.s + (y - r.oy) * r.turn.c) >> 10) + r.oy;
      minX = std::min(minX, tx), maxX = std::max(maxX, tx);
      minY = std::min(minY, ty), maxY = std::max(maxY, ty);
    }
  }
  // Scan positions whose destination lies inside the destination: X - ox + cx in 0 .. width - 1.
  const std::int64_t x0 = std::max(minX - 2, r.ox - r.cx), x1 = std::min(maxX + 2, r.ox - r.cx + to.width);
  const std::int64_t y0 = std::max(minY - 2, r.oy - r.cy), y1 = std::min(maxY + 2, r.oy - r.cy + to.height);
  if (x0 >= x1 || y0 >= y1) return;

  const T key = static_cast<T>(EffectTransparent(sizeof(T)));
  const auto uSpan = static_cast<std::uint64_t>(uEnd - uMin), vSpan = static_cast<std::uint64_t>(vEnd - vMin);
  for (std::int64_t Y = y0; Y < y1; ++Y) {
    const std::int64_t dy = Y - r.oy;
    const std::int64_t dx0 = x0 - r.ox;
    std::int64_t uSum = dx0 * r.back.c - dy * r.back.s;
    std::int64_t vSum = dx0 * r.back.s + dy * r.back.c;
    std::uint8_t* out = to.Row(static_cast<std::int32_t>(Y - r.oy + r.cy));
    const std::int64_t shift = r.cx - r.ox;
    for (std::int64_t X = x0; X < x1; ++X, uSum += r.back.c, vSum += r.back.s) {
      const std::int64_t u = (uSum >> 10) + r.ox, v = (vSum >> 10) + r.oy;
      if (static_cast<std::uint64_t>(u - uMin) >= uSpan || static_cast<std::uint64_t>(v - vMin) >= vSpan) continue;
      const T p = LoadPixel<T>(from.Row(static_cast<std::int32_t>(r.sy + v)), static_cast<std::int32_t>(r.sx + u));
      if (r.keyed && p == key) continue;
      T shown = p;
      if constexpr (sizeof(T) == 2) shown = packer.Convert(p);
      StorePixel<T>(out, static_cast<std::int32_t>(X + shift), shown);
    }
  }
}

void RotateQuad(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t w, std::int32_t h, std::int32_t ox,
                std::int32_t oy, std::int32_t degrees, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy) {
  if (!src->lpDT->vertexBuffer) return;
  const DisplayContext& context = *g_DisplayContext;
  const float a = static_cast<float>(degrees * kRadiansPerDegree);
  const float s = std::sin(a), c = std::cos(a);
  // Placed so that a centre pivot (every caller's) lands on (cx, cy).
  const float moveX = static_cast<float>(cx) - 0.5f + static_cast<float>(ox - (w >> 1));
  const float moveY = static_cast<float>(cy) - 0.5f + static_cast<float>(oy - (h >> 1));
  const float tw = static_cast<float>(std::max(src->textureWidth, 1));
  const float th = static_cast<float>(std::max(src->textureHeight, 1));
  const float u0 = static_cast<float>(sx) / tw, u1 = static_cast<float>(sx + w) / tw;
  const float v0 = static_cast<float>(sy) / th, v1 = static_cast<float>(sy + h) / th;
  struct sCorner {
    float x, y, u, v;
  };
  // Top-left, bottom-left, top-right, bottom-right: the strip's order.
  const sCorner corners[4] = {{static_cast<float>(-ox), static_cast<float>(-oy), u0, v0},
                              {static_cast<float>(-ox), static_cast<float>(h - oy), u0, v1},
                              {static_cast<float>(w - ox), static_cast<float>(-oy), u1, v0},
                              {static_cast<float>(w - ox), static_cast<float>(h - oy), u1, v1}};
  for (int i = 0; i < 4; ++i) {
    const sCorner& k = corners[i];
    src->lpDT->vertexBuffer->m_Vertices[static_cast<std::size_t>(i)] = {
        k.x * c - k.y * s + moveX, k.x * s + k.y * c + moveY, 0, 1, context.drawColor, k.u, k.v};
  }
  DrawEffectQuad(dst, src, {context.colorOp, D3DTA_TEXTURE, D3DTA_DIFFUSE, context.alphaOp, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                 lpDevice->m_RenderStates.textureFactor);
}

}  // namespace

bool RotateBlt(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t w, std::int32_t h, std::int32_t ox,
               std::int32_t oy, std::int32_t degrees, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy,
               std::int32_t colourKey) {
  if (DisplayIsD3D()) {
    if (!dst || !src) return true;
    ResolveEffectRecords(&dst, &src);
    if (!dst->lpDT || !src->lpDT) return false;
    if (!IsSoftwareTexture(dst) && !IsSoftwareTexture(src)) {
      // Transparent texels blend away: the key flag is not needed.
      RotateQuad(dst, cx, cy, w, h, ox, oy, degrees, src, sx, sy);
      return true;
    }
  }
  cEffectLocks frame;
  if (!frame.Lock(dst, src)) return false;
  const sRotation r{cx, cy, w, h, ox, oy, sx, sy, TurnOf(degrees), TurnOf(-degrees), colourKey == 1};
  const cD3D16Packer packer(dst);
  ForPixelType(frame.PixelBytes(), [&](auto pixel) { RotatePixels<decltype(pixel)>(frame, r, packer); });
  return true;
}
