// The round effects: a magnifying lens drawn pixel by pixel, and a disc copied by horizontal strips
// (the circle effect and the darkness overlay of stage play).
#include <cmath>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/effect_locks.h"
#include "platform/display/pixel_effects.h"

namespace {

// ---- lens

struct sLens {
  std::int64_t cx, cy, radius, depth, e, scx, scy;
};

constexpr std::int32_t kLensChunk = 64;

// For the n distances adx = first .. first + n - 1 from the centre on rows ady away: q the depth
// of the sphere there, sqrt(e^2 - adx^2 - ady^2), and a, b the offsets adx * depth / q and
// ady * depth / q. While e^2 is below 2^53 every integer of the sum is a double exactly, so the
// sums in doubles are the integer sums, and each product rounds as its integer would when
// converted: the values are those of the integer rule, computed two or four at a time.
void LensQuotients(const sLens& lens, std::int64_t e2, std::int64_t first, std::int64_t ady, std::int32_t n,
                   double* q, double* a, double* b) {
  if (e2 >= (std::int64_t{1} << 53)) {
    for (std::int32_t k = 0; k < n; ++k) {
      const std::int64_t adx = first + k;
      q[k] = std::sqrt(static_cast<double>(e2 - (adx * adx + ady * ady)));
      a[k] = static_cast<double>(adx * lens.depth) / q[k];
      b[k] = static_cast<double>(ady * lens.depth) / q[k];
    }
    return;
  }
  const auto e2d = static_cast<double>(e2), ady2 = static_cast<double>(ady * ady);
  const auto depth = static_cast<double>(lens.depth), bTop = static_cast<double>(ady * lens.depth);
  const auto firstD = static_cast<double>(first);
  for (std::int32_t k = 0; k < n; ++k) {
    const double adx = firstD + static_cast<double>(k);
    const double root = std::sqrt(e2d - (adx * adx + ady2));
    q[k] = root;
    a[k] = adx * depth / root;
    b[k] = bTop / root;
  }
}

// The disc is drawn a quarter at a time: the four pixels (+-dx, +-dy) share their distance from
// the centre, so one square root and two divisions serve all four. A negative offset's quotient is
// exactly the positive one negated, so every pixel comes out as its own sum would give it.
template <typename T>
void LensPixels(const cEffectLocks& frame, const sLens& lens, const cD3D16Packer& packer) {
  const sEffectSurface& to = frame.Dst();
  const sEffectSurface& from = frame.Src();
  const T key = static_cast<T>(EffectTransparent(sizeof(T)));
  // Samples come from the screen-sized part of the source, and never from beyond the source.
  const std::int64_t sampleW = std::min<std::int64_t>(g_DisplayParams.width, from.width);
  const std::int64_t sampleH = std::min<std::int64_t>(g_DisplayParams.height, from.height);
  const std::int64_t r2 = lens.radius * lens.radius;
  const std::int64_t e2 = lens.e * lens.e;
  const std::int64_t dy0 = std::max(-lens.radius, -lens.cy), dy1 = std::min(lens.radius, to.height - 1 - lens.cy);
  if (dy0 > dy1) return;
  // One pixel at offset (dx, dy) of the centre, sampled at offset (u, v).
  auto put = [&](std::uint8_t* out, std::int64_t dx, std::int64_t u, std::int64_t v) {
    const std::int64_t px = lens.scx + u, py = lens.scy + v;
    if (px < 0 || py < 0 || px >= sampleW || py >= sampleH) return;
    const T p = LoadPixel<T>(from.Row(static_cast<std::int32_t>(py)), static_cast<std::int32_t>(px));
    if (p == key) return;
    T shown = p;
    if constexpr (sizeof(T) == 2) shown = packer.Convert(p);
    StorePixel<T>(out, static_cast<std::int32_t>(lens.cx + dx), shown);
  };
  // The distances from the centre that a range [lo, hi] of offsets holds.
  auto distances = [](std::int64_t lo, std::int64_t hi, std::int64_t* first, std::int64_t* last) {
    *first = lo > 0 ? lo : (hi < 0 ? -hi : 0);
    *last = std::max(lo < 0 ? -lo : lo, hi < 0 ? -hi : hi);
  };
  std::int64_t ady0 = 0, ady1 = 0;
  distances(dy0, dy1, &ady0, &ady1);
  for (std::int64_t ady = ady0; ady <= ady1; ++ady) {
    const bool below = ady >= dy0 && ady <= dy1;
    const bool above = ady != 0 && -ady >= dy0 && -ady <= dy1;
    if (!below && !above) continue;
    // The disc's columns on these rows: dx * dx <= r2 - dy * dy.
    const std::int64_t rest = r2 - ady * ady;
    auto reach = static_cast<std::int64_t>(std::sqrt(static_cast<double>(rest)));
    while (reach * reach > rest) --reach;
    while ((reach + 1) * (reach + 1) <= rest) ++reach;
    const std::int64_t dx0 = std::max(-reach, -lens.cx), dx1 = std::min(reach, to.width - 1 - lens.cx);
    if (dx0 > dx1) continue;
    std::uint8_t* outBelow = below ? to.Row(static_cast<std::int32_t>(lens.cy + ady)) : nullptr;
    std::uint8_t* outAbove = above ? to.Row(static_cast<std::int32_t>(lens.cy - ady)) : nullptr;
    std::int64_t adx0 = 0, adx1 = 0;
    distances(dx0, dx1, &adx0, &adx1);
    // A chunk of distances at a time: first its square roots and quotients, in a loop of its own
    // that the compiler makes vector code of, then its pixels.
    for (std::int64_t chunk = adx0; chunk <= adx1; chunk += kLensChunk) {
      const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(kLensChunk, adx1 - chunk + 1));
      double q[kLensChunk], a[kLensChunk], b[kLensChunk];
      LensQuotients(lens, e2, chunk, ady, n, q, a, b);
      for (std::int32_t k = 0; k < n; ++k) {
        const std::int64_t adx = chunk + k;
        const bool right = adx >= dx0 && adx <= dx1;
        const bool left = adx != 0 && -adx >= dx0 && -adx <= dx1;
        // Offsets toward the centre, each side rounded half up as its own sum would be.
        std::int64_t uRight = adx, uLeft = -adx, vBelow = ady, vAbove = -ady;
        if (q[k] != 0) {
          uRight = static_cast<std::int64_t>(a[k] + 0.5);
          uLeft = static_cast<std::int64_t>(-a[k] + 0.5);
          vBelow = static_cast<std::int64_t>(b[k] + 0.5);
          vAbove = static_cast<std::int64_t>(-b[k] + 0.5);
        }
        if (outBelow) {
          if (right) put(outBelow, adx, uRight, vBelow);
          if (left) put(outBelow, -adx, uLeft, vBelow);
        }
        if (outAbove) {
          if (right) put(outAbove, adx, uRight, vAbove);
          if (left) put(outAbove, -adx, uLeft, vAbove);
        }
      }
    }
  }
}

// ---- circle

// Coordinates handed on to the blits, kept where a sum of script values cannot wrap.
constexpr std::int64_t kFarOutside = std::int64_t{1} << 28;
std::int32_t Coord(std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, -kFarOutside, kFarOutside)); }

// The half width of the disc at row m: floor(sqrt(radius^2 - m^2)), at most radius - 1; -1 for a
// row outside the disc.
std::int64_t HalfWidth(std::int64_t radius, std::int64_t m) {
  if (m > radius || m < -radius) return -1;
  const std::int64_t rest = radius * radius - m * m;
  if (rest < 0) return -1;
  auto half = static_cast<std::int64_t>(std::sqrt(static_cast<double>(rest)));
  while (half * half > rest) --half;
  while ((half + 1) * (half + 1) <= rest) ++half;
  return half >= radius ? radius - 1 : half;
}

// ceil(a / b) for a >= 0, b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

struct sCircle {
  DDSURFACEDATA* dst;
  DDSURFACEDATA* src;
  std::int64_t cx, cy, scx, scy, left, right;
  std::int32_t key;
};

// One strip of rows dy .. dy + rows - 1 around the centre, half columns to each side.
void DrawStrip(const sCircle& c, std::int64_t dy, std::int64_t rows, std::int64_t half) {
  if (half < 0) return;
  std::int64_t start = c.scx - half, to = c.cx - half, width = 2 * half;
  if (start < c.left) {
    const std::int64_t cut = c.left - start;
    start += cut, to += cut, width -= cut;
  }
  if (start + width >= c.right) width = c.right - start;
  // Only source rows that exist: a copy from beyond the source would wrap round a texture.
  std::int64_t from = c.scy + dy, toRow = c.cy + dy;
  if (from < 0) rows += from, toRow -= from, from = 0;
  rows = std::min<std::int64_t>(rows, c.src->height - from);
  if (width <= 0 || rows <= 0) return;
  if (DisplayIsD3D())
    DDStretchBlt(c.dst, Coord(to), Coord(toRow), Coord(width), Coord(rows), c.src, Coord(start), Coord(from),
                 Coord(width), Coord(rows), c.key);
  else
    DDBlt(c.dst, Coord(to), Coord(toRow), Coord(width), Coord(rows), c.src, Coord(start), Coord(from), c.key);
}

}  // namespace

bool LensBlt(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t radius, std::int32_t depth,
             DDSURFACEDATA* src, std::int32_t scx, std::int32_t scy, std::int32_t) {
  if (radius < 0 || depth < 0) return false;
  const std::int64_t r = radius, d = depth;
  const auto e = static_cast<std::int64_t>(std::sqrt(static_cast<double>(r * r + d * d)));
  if (e <= d) return false;
  ResolveEffectRecords(&dst, &src);
  cEffectLocks frame;
  if (!frame.Lock(dst, src)) return false;
  const sLens lens{cx, cy, r, d, e, scx, scy};
  const cD3D16Packer packer(dst);
  ForPixelType(frame.PixelBytes(), [&](auto pixel) { LensPixels<decltype(pixel)>(frame, lens, packer); });
  return true;
}

void CircleBlt(DDSURFACEDATA* dst, std::int32_t cx, std::int32_t cy, std::int32_t halfW, std::int32_t halfH,
               std::int32_t radius, std::int32_t stripHeight, DDSURFACEDATA* src, std::int32_t scx, std::int32_t scy,
               std::int32_t colourKey) {
  // A radius below 1 has no rows wider than 0; a strip height below 1 would never move on.
  if (radius < 1 || !dst || !src) return;
  const std::int64_t S = std::max(stripHeight, 1);
  if (DisplayIsD3D()) {
    ResolveSharedSurface(&dst);
    ResolveSharedSurface(&src);
  }
  const sCircle c{dst,
                  src,
                  cx,
                  cy,
                  scx,
                  scy,
                  std::max<std::int64_t>(0, std::int64_t{scx} - halfW),
                  std::min<std::int64_t>(std::int64_t{scx} + halfW, src->width),
                  colourKey};
  const std::int64_t R = radius, H = halfH;
  // The rows (from the centre) that both surfaces have: strips wholly outside draw nothing.
  const std::int64_t lo = std::max(-c.scy, -c.cy);
  const std::int64_t hi = std::min<std::int64_t>(src->height - c.scy, dst->height - c.cy);
  // Strips run from the bottom of the disc upward; one strip high rows when S is 1. The first
  // strip that reaches past halfH is moved up to end there, the last one past -halfH down to start
  // there. Strips that change nothing are stepped over in one go, so the count of blits stays
  // within the surfaces whatever the radius.
  std::int64_t dy = R - S;
  if (dy >= H) dy -= S * CeilDiv(dy - H + 1, S);
  while (dy >= -R) {
    if (dy + S <= -H) break;
    if (dy + S > H)
      dy = H - S;
    else if (dy < -H)
      dy = -H;
    DrawStrip(c, dy, S, HalfWidth(R, dy + (S >> 1)));
    dy -= S;
    // Plain strips (not the last, moved one) outside the rows of both surfaces.
    if (dy >= -H && (dy >= hi || dy + S <= lo)) {
      std::int64_t skip = CeilDiv(dy + H + 1, S);
      if (dy >= hi) skip = std::min(skip, CeilDiv(dy - hi + 1, S));
      dy -= S * skip;
    }
  }
}
