#include "platform/display/pixel_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::int64_t kRowAlignment = 16;
constexpr std::int64_t kCacheAliasStride = 4096;
constexpr std::int64_t kCacheLine = 64;

inline std::uint32_t Widen5(std::uint32_t c) { return (c << 3) | (c >> 2); }
inline std::uint32_t Widen6(std::uint32_t c) { return (c << 2) | (c >> 4); }

}  // namespace

bool cPixelBuffer::Create(std::int32_t width, std::int32_t height, PixelFormat format) {
  Free();
  if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return false;
  std::int64_t pitch =
      (std::int64_t{width} * ::BytesPerPixel(format) + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  // Rows a multiple of 4 KiB apart (power-of-two textures) would all fall on the same few cache sets:
  // a copy down a column of them would keep pushing each other out.
  if (pitch % kCacheAliasStride == 0) pitch += kCacheLine;
  std::int64_t bytes = pitch * height;
  if (bytes > static_cast<std::int64_t>(kMaxSurfaceBytes)) return false;
  try {
    m_Bits.assign(static_cast<std::size_t>(bytes), 0);
  } catch (const std::bad_alloc&) {
    Free();
    return false;
  }
  m_Width = width;
  m_Height = height;
  m_Pitch = static_cast<std::int32_t>(pitch);
  m_Format = format;
  return true;
}

void cPixelBuffer::Free() {
  Written();
  std::vector<std::uint8_t>().swap(m_Bits);
  m_Width = m_Height = m_Pitch = 0;
}

std::uint32_t cPixelBuffer::Pixel(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(x) * BytesPerPixel();
  switch (BytesPerPixel()) {
    case 1:
      return *p;
    case 2: {
      std::uint16_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    default: {
      std::uint32_t v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
  }
}

void cPixelBuffer::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value) {
  std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(x) * BytesPerPixel();
  switch (BytesPerPixel()) {
    case 1:
      *p = static_cast<std::uint8_t>(value);
      break;
    case 2: {
      std::uint16_t v = static_cast<std::uint16_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    default:
      std::memcpy(p, &value, sizeof value);
      break;
  }
}

void cPixelBuffer::FillRect(const PixelRect& rect, std::uint32_t value) {
  std::int32_t left = std::max(rect.left, 0);
  std::int32_t top = std::max(rect.top, 0);
  std::int32_t right = std::min(rect.right, m_Width);
  std::int32_t bottom = std::min(rect.bottom, m_Height);
  if (left >= right || top >= bottom) return;
  Written();
  const std::int32_t count = right - left;
  for (std::int32_t y = top; y < bottom; ++y) {
    std::uint8_t* row = Row(y);
    switch (BytesPerPixel()) {
      case 1:
        std::memset(row + left, static_cast<int>(value & 0xFF), static_cast<std::size_t>(count));
        break;
      case 2: {
        std::uint16_t v = static_cast<std::uint16_t>(value);
        for (std::int32_t x = 0; x < count; ++x) std::memcpy(row + (left + x) * 2, &v, sizeof v);
        break;
      }
      default:
        for (std::int32_t x = 0; x < count; ++x) std::memcpy(row + (left + x) * 4, &value, sizeof value);
        break;
    }
  }
}

bool cPixelBuffer::SwapPixels(cPixelBuffer& other) {
  if (other.m_Width != m_Width || other.m_Height != m_Height || other.m_Format != m_Format) return false;
  m_Bits.swap(other.m_Bits);
  Written();
  other.Written();
  return true;
}

const cKeySpans* cPixelBuffer::KeySpans(const sKeyRule& rule) const {
  if (m_OpenWrites > 0 || m_Bits.empty()) return nullptr;
  if (m_Spans.Valid() && m_Spans.Rule() == rule) return &m_Spans;
  if (++m_KeyedReads < 2) return nullptr;
  m_Spans.Build(m_Bits.data(), m_Width, m_Height, m_Pitch, BytesPerPixel(), rule);
  return &m_Spans;
}

std::uint32_t PackColour(PixelFormat format, std::uint32_t argb) {
  std::uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  switch (format) {
    case PixelFormat::Index8:
      return argb & 0xFF;
    case PixelFormat::Rgb565:
      return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case PixelFormat::Argb1555:
      return ((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case PixelFormat::Xrgb8888:
      return argb & 0xFFFFFF;
    case PixelFormat::Argb8888:
      return argb;
  }
  return 0;
}

std::uint32_t UnpackColour(PixelFormat format, std::uint32_t pixel) {
  switch (format) {
    case PixelFormat::Index8:
      return pixel & 0xFF;
    case PixelFormat::Rgb565:
      return 0xFF000000u | (Widen5((pixel >> 11) & 31) << 16) | (Widen6((pixel >> 5) & 63) << 8) | Widen5(pixel & 31);
    case PixelFormat::Argb1555:
      return ((pixel & 0x8000) ? 0xFF000000u : 0) | (Widen5((pixel >> 10) & 31) << 16) |
             (Widen5((pixel >> 5) & 31) << 8) | Widen5(pixel & 31);
    case PixelFormat::Xrgb8888:
      return 0xFF000000u | (pixel & 0xFFFFFF);
    case PixelFormat::Argb8888:
      return pixel;
  }
  return 0;
}
