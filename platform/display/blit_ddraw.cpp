// DirectDraw copies: surface to surface in the display format (8, 16 or 32 bits), plain or scaled,
// with or without the source's colour key. Destination pixel x + c shows source pixel
// sx + floor((2c + 1) * sw / 2w) (sx + c for a plain copy), rows alike, wherever both lie inside
// their surfaces: the copy is cut at every edge of both surfaces without moving the picture.
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/display/blit_internal.h"
#include "platform/display/blit_rows.h"
#include "platform/display/display.h"
#include "platform/display/quad.h"

namespace {

cDDSurface* SurfaceOf(DDSURFACEDATA* lpSD) { return lpSD && lpSD->lpDDPart ? lpSD->lpDDPart->surface.get() : nullptr; }

// One axis of a copy: destination pixels [first, end) whose source pixel lies inside the source.
struct sAxisMap {
  std::int64_t origin = 0;  // the destination pixel of offset 0
  std::int64_t size = 1;    // destination pixels, not 0
  std::int64_t source = 0;  // the source pixel of offset 0
  std::int64_t sourceSize = 1;
  std::int32_t first = 0;
  std::int32_t end = 0;

  std::int64_t SourceOf(std::int64_t p) const {
    return sourceSize == size ? source + (p - origin) : source + QuadTexel(p - origin, sourceSize, size);
  }
};

// False when no pixel of the axis is drawn.
bool MapAxis(sAxisMap& m, std::int32_t destLimit, std::int32_t sourceLimit) {
  std::int64_t lo = std::max<std::int64_t>(std::min(m.origin, m.origin + m.size), 0);
  std::int64_t hi = std::min<std::int64_t>(std::max(m.origin, m.origin + m.size), destLimit);
  // The source pixel moves one way along the axis, so those inside the source form one run.
  auto inside = [&](std::int64_t p) {
    const std::int64_t s = m.SourceOf(p);
    return s >= 0 && s < sourceLimit;
  };
  while (lo < hi && !inside(lo)) ++lo;
  while (hi > lo && !inside(hi - 1)) --hi;
  m.first = static_cast<std::int32_t>(lo);
  m.end = static_cast<std::int32_t>(hi);
  return lo < hi;
}

// Grown, never shrunk: a copy allocates only when it needs more than every copy before it.
std::vector<std::int32_t>& ColumnTable(std::size_t n) {
  thread_local std::vector<std::int32_t> table;
  if (table.size() < n) table.resize(n);
  return table;
}

std::vector<std::uint8_t>& OverlapCopy(std::size_t n) {
  thread_local std::vector<std::uint8_t> bytes;
  if (bytes.size() < n) bytes.resize(n);
  return bytes;
}

// spans: the source's key spans, for a plain keyed copy that may use them.
template <typename T>
void CopyPixels(cPixelBuffer& to, const std::uint8_t* fromBits, std::int32_t fromPitch, const sAxisMap& mx,
                const sAxisMap& my, std::optional<std::uint32_t> key, const cKeySpans* spans) {
  const std::int32_t count = mx.end - mx.first;
  const bool plain = mx.sourceSize == mx.size;
  const std::int32_t column0 = static_cast<std::int32_t>(mx.SourceOf(mx.first));
  std::int32_t* columns = nullptr;
  if (!plain) {
    columns = ColumnTable(static_cast<std::size_t>(count)).data();
    for (std::int32_t i = 0; i < count; ++i) columns[i] = static_cast<std::int32_t>(mx.SourceOf(mx.first + i));
  }
  const T keyValue = static_cast<T>(key.value_or(0));
  if (spans && plain && my.sourceSize == my.size) {
    // Consecutive rows of both: one call for all of them.
    const sSpanCopy copy{to.Row(my.first) + static_cast<std::ptrdiff_t>(mx.first) * sizeof(T), to.Pitch(), fromBits,
                         fromPitch, static_cast<std::int32_t>(my.SourceOf(my.first)), my.end - my.first, column0,
                         count};
    CopyRowsKeyedBySpans<T>(copy, *spans, keyValue);
    return;
  }
  for (std::int32_t y = my.first; y < my.end; ++y) {
    const std::int32_t sourceRow = static_cast<std::int32_t>(my.SourceOf(y));
    const std::uint8_t* row = fromBits + static_cast<std::ptrdiff_t>(sourceRow) * fromPitch;
    std::uint8_t* out = to.Row(y) + static_cast<std::ptrdiff_t>(mx.first) * sizeof(T);
    if (plain) {
      const std::uint8_t* in = row + static_cast<std::ptrdiff_t>(column0) * sizeof(T);
      if (spans)
        CopyRowsKeyedBySpans<T>({out, to.Pitch(), fromBits, fromPitch, sourceRow, 1, column0, count}, *spans, keyValue);
      else if (key)
        CopyRowKeyed<T>(out, in, count, keyValue);
      else
        CopyRow<T>(out, in, count);
    } else if (key) {
      GatherRowKeyed<T>(out, row, columns, count, keyValue);
    } else {
      GatherRow<T>(out, row, columns, count);
    }
  }
}

// Unlocks a surface when the copy ends, whichever way.
struct sUnlock {
  cDDSurface* surface = nullptr;
  ~sUnlock() {
    if (surface) surface->Unlock();
  }
};

}  // namespace

HRESULT StretchBltDD(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                     std::int32_t key) {
  cDDSurface* toSurface = SurfaceOf(dst);
  cDDSurface* fromSurface = SurfaceOf(src);
  if (!toSurface || !fromSurface) return DDERR_INVALIDPARAMS;
  if (w == 0 || h == 0) return DD_OK;
  cPixelBuffer* to = nullptr;
  const cPixelBuffer* from = nullptr;
  if (HRESULT hr = toSurface->Lock(&to); FAILED(hr)) return hr;
  sUnlock unlockTo{toSurface};
  // The source is only read: it keeps what it knows of its pixels (its key spans).
  if (HRESULT hr = fromSurface->LockForReading(&from); FAILED(hr)) return hr;
  if (to->Format() != from->Format()) return DDERR_INVALIDPARAMS;

  sAxisMap mx{x, w, sx, sw};
  sAxisMap my{y, h, sy, sh};
  if (!MapAxis(mx, to->Width(), from->Width()) || !MapAxis(my, to->Height(), from->Height())) return DD_OK;

  // Any key flag leaves out the source's colour key; a source without one is copied whole.
  const std::optional<std::uint32_t> colourKey = key != 0 ? fromSurface->ColorKey() : std::nullopt;
  const std::uint8_t* fromBits = from->Bits();
  const cKeySpans* spans = nullptr;
  if (from == to) {
    // A copy within one surface reads the pixels as they were before it.
    std::vector<std::uint8_t>& copy = OverlapCopy(from->SizeBytes());
    std::copy_n(from->Bits(), from->SizeBytes(), copy.begin());
    fromBits = copy.data();
  } else if (colourKey && mx.sourceSize == mx.size) {
    const std::uint32_t valueMask = from->BytesPerPixel() == 4 ? 0xFFFFFFFFu : (1u << (8 * from->BytesPerPixel())) - 1;
    spans = from->KeySpans({valueMask, *colourKey & valueMask, 0});
  }
  switch (to->BytesPerPixel()) {
    case 1:
      CopyPixels<std::uint8_t>(*to, fromBits, from->Pitch(), mx, my, colourKey, spans);
      break;
    case 2:
      CopyPixels<std::uint16_t>(*to, fromBits, from->Pitch(), mx, my, colourKey, spans);
      break;
    default:
      CopyPixels<std::uint32_t>(*to, fromBits, from->Pitch(), mx, my, colourKey, spans);
      break;
  }
  return DD_OK;
}
