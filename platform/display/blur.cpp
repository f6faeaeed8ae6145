// The box blur. Each pixel becomes the mean of the window of 2 * radiusX by 2 * radiusY pixels from
// -radius to radius - 1 around it, the window cut to the source rectangle. The sums are kept as
// running sums (per column over the window's rows, then totals along the row), so a pixel costs the
// same whatever the radii: the result is the same integer mean of the same samples.
#include <cstring>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/effect_locks.h"
#include "platform/display/pixel_effects.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

// Sums of up to this many samples of 0..255 fit in 32 bits, where the divider is exact.
constexpr std::uint64_t kFastCountLimit = std::uint64_t{1} << 24;

// Division by the sample count. The count stays the same across most of a row, so each new count
// becomes a multiplier once: q = (n * ceil(2^64 / d)) >> 64 is exact for every 32-bit n.
class cCountDivider {
 public:
  void Set(std::uint32_t d) {
    if (d == m_Divisor) return;
    m_Divisor = d;
    m_Multiplier = d > 1 ? ~std::uint64_t{0} / d + 1 : 0;
  }
  std::uint32_t operator()(std::uint64_t n) const {
    if (m_Divisor <= 1) return static_cast<std::uint32_t>(n);
    if (m_Divisor >= kFastCountLimit) return static_cast<std::uint32_t>(n / m_Divisor);
    return static_cast<std::uint32_t>((static_cast<unsigned __int128>(m_Multiplier) * n) >> 64);
  }

 private:
  std::uint32_t m_Divisor = 0;
  std::uint64_t m_Multiplier = 0;
};

// Per column of the rectangle: the sums of red, green and blue and the number of samples over the
// window's rows; and, for the row being drawn, their running totals along it (at[k]: columns 0 to
// k - 1), so that any window's sums are two lookups. Totals are kept modulo 2^32: a difference is
// exact whenever the window's own sum fits in 32 bits. Kept per thread and grown only when a wider
// rectangle comes.
struct sColumnSums {
  std::uint32_t* r;
  std::uint32_t* g;
  std::uint32_t* b;
  std::uint32_t* n;
  std::uint32_t* atR;
  std::uint32_t* atG;
  std::uint32_t* atB;
  std::uint32_t* atN;
};

sColumnSums ColumnSums(std::size_t columns) {
  thread_local std::vector<std::uint32_t> sums;
  const std::size_t size = 4 * columns + 4 * (columns + 1);
  if (sums.size() < size) sums.resize(size);
  std::fill_n(sums.begin(), size, 0u);
  std::uint32_t* p = sums.data();
  std::uint32_t* at = p + 4 * columns;
  const std::size_t n = columns + 1;
  return {p, p + columns, p + 2 * columns, p + 3 * columns, at, at + n, at + 2 * n, at + 3 * n};
}

// How one depth reads channels and writes the mean.
template <typename T>
struct sBlurPixels {
  sChannelMasks masks;
  bool keyed;
  T key;
  bool d3d16;  // Direct3D at 16 bits: packed where the pixel goes
  cD3D16Packer packer;

  void Read(T p, std::uint32_t& r, std::uint32_t& g, std::uint32_t& b) const {
    if constexpr (sizeof(T) == 2) {
      r = masks.Get(p, 0), g = masks.Get(p, 1), b = masks.Get(p, 2);
    } else {
      r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    }
  }
  T Write(T old, std::uint32_t r, std::uint32_t g, std::uint32_t b) const {
    if constexpr (sizeof(T) == 2) {
      if (d3d16) return packer.Pack(r, g, b);
      return static_cast<T>(masks.Put(r, 0) | masks.Put(g, 1) | masks.Put(b, 2));
    } else {
      return (old & 0xFF000000u) | (r << 16) | (g << 8) | b;
    }
  }
};

// Adds (sign +1) or takes away (-1) one source row from the column sums.
template <typename T>
void AccumulateRow(const sBlurPixels<T>& px, const std::uint8_t* row, std::int32_t count, const sColumnSums& sums,
                   bool add) {
  for (std::int32_t i = 0; i < count; ++i) {
    const T p = LoadPixel<T>(row, i);
    const std::uint32_t take = px.keyed && p == px.key ? 0 : 1;
    std::uint32_t r, g, b;
    px.Read(p, r, g, b);
    r *= take, g *= take, b *= take;
    if (add) {
      sums.r[i] += r, sums.g[i] += g, sums.b[i] += b, sums.n[i] += take;
    } else {
      sums.r[i] -= r, sums.g[i] -= g, sums.b[i] -= b, sums.n[i] -= take;
    }
  }
}

struct sBlurArea {
  sSpan srcCols, srcRows;  // rectangle offsets whose source lies inside the source
  sSpan outCols, outRows;  // ... and whose destination inside the destination
  std::int64_t rx, ry;
  std::int32_t x, y, sx, sy;
};

template <typename T>
void Blur(const cEffectLocks& frame, const sBlurPixels<T>& px, const sBlurArea& a) {
  const sEffectSurface& to = frame.Dst();
  const sEffectSurface& from = frame.Src();
  const std::int32_t i0 = a.srcCols.first, i1 = a.srcCols.end;
  const std::int32_t j0 = a.srcRows.first, j1 = a.srcRows.end;
  const sColumnSums sums = ColumnSums(static_cast<std::size_t>(i1 - i0));
  auto sourceRow = [&](std::int64_t j) {
    return from.Row(static_cast<std::int32_t>(a.sy + j)) + static_cast<std::ptrdiff_t>(a.sx + i0) * sizeof(T);
  };

  // The window's rows [top, bottom) are in the column sums; both edges only move down.
  std::int64_t top = std::max<std::int64_t>(j0, a.outRows.first - a.ry);
  std::int64_t bottom = top;
  cCountDivider divide;
  for (std::int32_t j = a.outRows.first; j < a.outRows.end; ++j) {
    const std::int64_t newTop = std::max<std::int64_t>(j0, j - a.ry);
    const std::int64_t newBottom = std::min<std::int64_t>(j1, j + a.ry);
    for (; bottom < newBottom; ++bottom) AccumulateRow(px, sourceRow(bottom), i1 - i0, sums, true);
    for (; top < newTop; ++top) AccumulateRow(px, sourceRow(top), i1 - i0, sums, false);

    const std::int32_t columns = i1 - i0;
    std::uint32_t totalR = 0, totalG = 0, totalB = 0, totalN = 0;
    for (std::int32_t k = 0; k < columns; ++k) {
      sums.atR[k + 1] = totalR += sums.r[k];
      sums.atG[k + 1] = totalG += sums.g[k];
      sums.atB[k + 1] = totalB += sums.b[k];
      sums.atN[k + 1] = totalN += sums.n[k];
    }
    const std::uint8_t* own = from.Row(a.sy + j);
    std::uint8_t* out = to.Row(a.y + j);
    const std::uint32_t* atR = sums.atR;
    const std::uint32_t* atG = sums.atG;
    const std::uint32_t* atB = sums.atB;
    const std::uint32_t* atN = sums.atN;
    for (std::int32_t i = a.outCols.first; i < a.outCols.end; ++i) {
      // The window's columns [left, right), as offsets from i0.
      const auto left = static_cast<std::int32_t>(std::clamp<std::int64_t>(i - a.rx, i0, i1) - i0);
      const auto right = static_cast<std::int32_t>(std::clamp<std::int64_t>(i + a.rx, i0, i1) - i0);
      const std::uint32_t n = atN[right] - atN[left];
      if (n == 0) continue;
      if (px.keyed && LoadPixel<T>(own, a.sx + i) == px.key) continue;
      const std::int32_t at = a.x + i;
      const T under = LoadPixel<T>(out, at);
      if (n < kFastCountLimit) {
        divide.Set(n);
        StorePixel<T>(out, at,
                      px.Write(under, divide(atR[right] - atR[left]), divide(atG[right] - atG[left]),
                               divide(atB[right] - atB[left])));
      } else {
        // Windows of more than 2^24 samples: summed column by column in 64 bits.
        std::uint64_t r = 0, g = 0, b = 0;
        for (std::int32_t k = left; k < right; ++k) r += sums.r[k], g += sums.g[k], b += sums.b[k];
        StorePixel<T>(out, at,
                      px.Write(under, static_cast<std::uint32_t>(r / n), static_cast<std::uint32_t>(g / n),
                               static_cast<std::uint32_t>(b / n)));
      }
    }
  }
}

}  // namespace

bool BlurBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t radiusX,
             std::int32_t radiusY, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t colourKey) {
  // A window of no samples (a radius of 0, or below) averages nothing: not even a copy is drawn.
  if (radiusX <= 0 || radiusY <= 0) return true;
  ResolveEffectRecords(&dst, &src);
  cEffectLocks frame;
  if (!frame.Lock(dst, src)) return false;
  if (g_DisplayParams.bpp == 8 && !DisplayIsD3D()) {
    LogF("%s", SJ("8ビットぼかしは不可能！").c_str());
    return true;
  }
  const int bytes = frame.PixelBytes();
  if (bytes != 2 && bytes != 4) return true;

  const sEffectSurface& to = frame.Dst();
  const sEffectSurface& from = frame.Src();
  sBlurArea area;
  area.srcCols = ClipSpan(w, sx, from.width, sx, from.width);
  area.srcRows = ClipSpan(h, sy, from.height, sy, from.height);
  area.outCols = ClipSpan(w, x, to.width, sx, from.width);
  area.outRows = ClipSpan(h, y, to.height, sy, from.height);
  if (area.outCols.Empty() || area.outRows.Empty()) return true;
  area.rx = radiusX, area.ry = radiusY;
  area.x = x, area.y = y, area.sx = sx, area.sy = sy;

  const bool keyed = colourKey == 1;
  const std::uint32_t key = EffectTransparent(bytes);
  const cD3D16Packer packer(dst);
  if (bytes == 2) {
    const sBlurPixels<std::uint16_t> px{sChannelMasks::Surface(), keyed, static_cast<std::uint16_t>(key),
                                        DisplayIsD3D(), packer};
    Blur(frame, px, area);
  } else {
    const sBlurPixels<std::uint32_t> px{sChannelMasks::Surface(), keyed, key, false, packer};
    Blur(frame, px, area);
  }
  return true;
}
