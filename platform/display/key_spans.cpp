#include "platform/display/key_spans.h"

#include <cstring>

namespace {

template <typename T>
inline T Load(const std::uint8_t* row, std::int32_t i) {
  T v;
  std::memcpy(&v, row + static_cast<std::ptrdiff_t>(i) * sizeof(T), sizeof(T));
  return v;
}

}  // namespace

template <typename T>
void cKeySpans::BuildRows(const std::uint8_t* bits, std::int32_t width, std::int32_t height, std::int32_t pitch) {
  const T keyMask = static_cast<T>(m_Rule.keyMask);
  const T keyValue = static_cast<T>(m_Rule.keyValue);
  const T opaqueMask = static_cast<T>(m_Rule.opaqueMask);
  auto kept = [&](const std::uint8_t* row, std::int32_t i) { return (Load<T>(row, i) & keyMask) != keyValue; };
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
    // One pass without branches (it vectorises): the pixels kept, the runs of them that start, and
    // the kept ones that are not opaque.
    std::int32_t keptCount = 0, starts = 0, partial = 0;
    for (std::int32_t i = 0; i < width; ++i) {
      const T p = Load<T>(row, i);
      const std::int32_t k = (p & keyMask) != keyValue;
      const std::int32_t before = i > 0 && (Load<T>(row, i - 1) & keyMask) != keyValue;
      keptCount += k;
      starts += k & (before ^ 1);
      partial += k & static_cast<std::int32_t>((p & opaqueMask) != opaqueMask);
    }
    sRowSpans& r = m_Rows[static_cast<std::size_t>(y)];
    r = {};
    if (keptCount == 0) continue;
    r.first = 0;
    while (!kept(row, r.first)) ++r.first;
    r.end = width;
    while (!kept(row, r.end - 1)) --r.end;
    if (partial > 0) {
      r.shape = RowShape::Blended;
    } else if (keptCount == width) {
      r.shape = RowShape::Solid;
    } else if (static_cast<std::int64_t>(starts) * kMinRunPeriod <= width) {
      r.shape = RowShape::Spans;
      r.spanIndex = static_cast<std::uint32_t>(m_Spans.size());
      r.spanCount = static_cast<std::uint32_t>(starts);
      std::int32_t i = r.first;
      while (i < r.end) {
        const std::int32_t begin = i;
        while (i < r.end && kept(row, i)) ++i;
        const std::size_t packed = m_Packed.size() / sizeof(T);
        m_Spans.push_back({begin, i, static_cast<std::uint32_t>(packed)});
        m_Packed.insert(m_Packed.end(), row + static_cast<std::ptrdiff_t>(begin) * sizeof(T),
                        row + static_cast<std::ptrdiff_t>(i) * sizeof(T));
        while (i < r.end && !kept(row, i)) ++i;
      }
    } else {
      r.shape = RowShape::Scattered;
    }
  }
}

void cKeySpans::Build(const std::uint8_t* bits, std::int32_t width, std::int32_t height, std::int32_t pitch,
                      int bytesPerPixel, const sKeyRule& rule) {
  m_Rule = rule;
  m_Rows.resize(static_cast<std::size_t>(height));
  m_Spans.clear();
  m_Packed.clear();
  switch (bytesPerPixel) {
    case 1:
      BuildRows<std::uint8_t>(bits, width, height, pitch);
      break;
    case 2:
      BuildRows<std::uint16_t>(bits, width, height, pitch);
      break;
    default:
      BuildRows<std::uint32_t>(bits, width, height, pitch);
      break;
  }
  m_Valid = true;
}
