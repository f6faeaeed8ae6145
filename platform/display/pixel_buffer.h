#pragma once
// A block of pixels in memory: what every surface, back buffer, render target and texture of the
// display is. Rows are pitch bytes apart (a multiple of 16, so a row may be longer than its pixels).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/display/key_spans.h"
#include "platform/host/pixel_format.h"

// Sizes beyond these are refused: no picture of the game comes near them.
constexpr std::int32_t kMaxSurfaceSide = 16384;
constexpr std::size_t kMaxSurfaceBytes = std::size_t{256} << 20;

struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

class cPixelBuffer {
 public:
  // Makes width x height pixels, all bits zero; false (and the buffer empty) when the size is
  // refused or the memory cannot be had.
  bool Create(std::int32_t width, std::int32_t height, PixelFormat format);
  void Free();
  bool Empty() const { return m_Bits.empty(); }

  std::int32_t Width() const { return m_Width; }
  std::int32_t Height() const { return m_Height; }
  std::int32_t Pitch() const { return m_Pitch; }
  PixelFormat Format() const { return m_Format; }
  int BytesPerPixel() const { return ::BytesPerPixel(m_Format); }
  std::size_t SizeBytes() const { return m_Bits.size(); }

  // Every access to the pixels that could write them (the non-const ones) counts as a write.
  std::uint8_t* Bits() {
    Written();
    return m_Bits.data();
  }
  const std::uint8_t* Bits() const { return m_Bits.data(); }
  std::uint8_t* Row(std::int32_t y) {
    Written();
    return m_Bits.data() + static_cast<std::ptrdiff_t>(y) * m_Pitch;
  }
  const std::uint8_t* Row(std::int32_t y) const { return m_Bits.data() + static_cast<std::ptrdiff_t>(y) * m_Pitch; }
  PixelView View() const { return {m_Bits.data(), m_Width, m_Height, m_Pitch, m_Format}; }

  // One pixel as a value of the buffer's format (an index, a u16 or a u32); x and y must lie inside.
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) const;
  void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value);
  // Sets every pixel of the rectangle that lies inside the buffer to value.
  void FillRect(const PixelRect& rect, std::uint32_t value);
  void Fill(std::uint32_t value) { FillRect({0, 0, m_Width, m_Height}, value); }

  // Exchanges the pixels of two buffers of one size and format (a flip); false when they differ.
  bool SwapPixels(cPixelBuffer& other);

  // A lock: while one is open, its holder may write through a pointer it keeps, so no key spans are
  // built or used; the end of the lock counts as a write. Locks nest.
  void OpenWrites() {
    ++m_OpenWrites;
    Written();
  }
  void CloseWrites() {
    if (m_OpenWrites > 0) --m_OpenWrites;
    Written();
  }

  // The key spans of the pixels under rule, for keyed copies from them; null when there are none to
  // use. They are built at the second keyed read since the last write (a picture drawn for a single
  // copy is not scanned for nothing), dropped by any write, and never used while a lock is open.
  const cKeySpans* KeySpans(const sKeyRule& rule) const;
  bool HasKeySpans() const { return m_Spans.Valid(); }

 private:
  void Written() {
    m_Spans.Drop();
    m_KeyedReads = 0;
  }

  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  std::int32_t m_Pitch = 0;
  PixelFormat m_Format = PixelFormat::Xrgb8888;
  std::vector<std::uint8_t> m_Bits;
  std::int32_t m_OpenWrites = 0;
  // What the copies learn from the pixels; a cache, so reads may fill it.
  mutable cKeySpans m_Spans;
  mutable std::uint32_t m_KeyedReads = 0;
};

// A colour in the device's colour form, 0xAARRGGBB, as a pixel value of format; an indexed format
// takes the low byte. And back: a pixel value of format as 0xAARRGGBB (alpha 255 where the format
// has none; an index is returned as it is).
std::uint32_t PackColour(PixelFormat format, std::uint32_t argb);
std::uint32_t UnpackColour(PixelFormat format, std::uint32_t pixel);
