#pragma once
// Where the pixels a keyed copy writes lie, row by row. A sprite sheet is mostly transparent around
// opaque shapes: knowing each row's runs of kept pixels, a copy moves only those runs, with plain
// memory copies, and skips the rest without reading it. A row whose kept pixels are scattered (noise,
// dithering) is marked so and copied by the per-pixel select instead, over the stretch between its
// first and last kept pixel.
//
// The spans belong to one picture's pixels as they were when built; the picture drops them on any
// write (see cPixelBuffer::KeySpans).
#include <cstdint>
#include <span>
#include <vector>

// Which pixels a copy leaves out, and which of the others it may copy as they are.
struct sKeyRule {
  std::uint32_t keyMask = 0;  // a pixel p is left out when (p & keyMask) == keyValue
  std::uint32_t keyValue = 0;
  // A pixel kept is opaque when (p & opaqueMask) == opaqueMask (0: every kept pixel); the others
  // are blended by whoever copies.
  std::uint32_t opaqueMask = 0;
  bool operator==(const sKeyRule&) const = default;
};

enum class RowShape : std::uint8_t {
  Empty,      // every pixel is left out
  Solid,      // no pixel is left out, and all are opaque: one straight copy
  Spans,      // a few runs of opaque pixels: copied run by run
  Scattered,  // many short runs: the per-pixel select over [first, end)
  Blended,    // some kept pixel is not opaque: blended over [first, end)
};

struct sPixelSpan {
  std::int32_t begin = 0;
  std::int32_t end = 0;
  std::uint32_t packed = 0;  // where the run's pixels start in the packed copy (in pixels)
};

struct sRowSpans {
  RowShape shape = RowShape::Empty;
  std::int32_t first = 0;  // the first kept pixel; first == end for an empty row
  std::int32_t end = 0;    // one past the last kept pixel
  std::uint32_t spanIndex = 0;
  std::uint32_t spanCount = 0;  // the runs, for RowShape::Spans only
};

class cKeySpans {
 public:
  // A row keeps its runs when it has at most one run for every kMinRunPeriod pixels of its width;
  // past that the per-pixel select is faster than copying run by run.
  static constexpr std::int32_t kMinRunPeriod = 16;

  // Describes the pixels (rows pitch bytes apart, 1, 2 or 4 bytes a pixel). Memory is kept from
  // one build to the next, so building again allocates only for a larger or busier picture.
  void Build(const std::uint8_t* bits, std::int32_t width, std::int32_t height, std::int32_t pitch, int bytesPerPixel,
             const sKeyRule& rule);
  void Drop() { m_Valid = false; }
  bool Valid() const { return m_Valid; }
  const sKeyRule& Rule() const { return m_Rule; }

  // Row y, which must lie inside the picture described.
  const sRowSpans& Row(std::int32_t y) const { return m_Rows[static_cast<std::size_t>(y)]; }
  std::span<const sPixelSpan> Runs(const sRowSpans& row) const {
    return {m_Spans.data() + row.spanIndex, row.spanCount};
  }
  // The pixels of every run, one after the other: a copy reads them densely, as from a run-length
  // encoded picture, instead of picking them out of rows that are half transparent.
  const std::uint8_t* Packed() const { return m_Packed.data(); }

 private:
  template <typename T>
  void BuildRows(const std::uint8_t* bits, std::int32_t width, std::int32_t height, std::int32_t pitch);

  std::vector<sRowSpans> m_Rows;
  std::vector<sPixelSpan> m_Spans;
  std::vector<std::uint8_t> m_Packed;
  sKeyRule m_Rule;
  bool m_Valid = false;
};

// The runs of a row that meet the columns [from, to), cut to them; calls copy(begin, end, run) for
// each, left to right.
template <typename Copy>
inline void ForEachRun(const cKeySpans& spans, const sRowSpans& row, std::int32_t from, std::int32_t to, Copy&& copy) {
  const std::span<const sPixelSpan> runs = spans.Runs(row);
  // The runs are sorted and apart: the first that ends after from, by halving (a copy of the whole
  // row starts at the first).
  std::size_t lo = 0, hi = runs.empty() || runs[0].end > from ? 0 : runs.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (runs[mid].end <= from)
      lo = mid + 1;
    else
      hi = mid;
  }
  for (std::size_t i = lo; i < runs.size() && runs[i].begin < to; ++i) {
    const std::int32_t b = runs[i].begin < from ? from : runs[i].begin;
    const std::int32_t e = runs[i].end > to ? to : runs[i].end;
    copy(b, e, runs[i]);
  }
}
