// Formatted text and text windows. Formatting has no length limit: the buffer grows to what the text
// needs and is kept per thread, so a text drawn every frame allocates only when it first grows.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/frame_draw.h"

namespace {

// The value of x or y that centres a window.
constexpr std::int32_t kCentred = 10000;

// The formatted text, whole; valid until the thread formats again.
const char* FormatText(const char* format, std::va_list args) {
  thread_local std::vector<char> buffer(512);
  if (!format) return "";
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(buffer.data(), buffer.size(), format, args);
  if (length < 0) {
    buffer[0] = '\0';
  } else if (static_cast<std::size_t>(length) >= buffer.size()) {
    buffer.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, again);
  }
  va_end(again);
  return buffer.data();
}

}  // namespace

void Font::Printf(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const char* text = FormatText(format, args);
  va_end(args);
  Draw(dst, x, y, text, 0);
}

void Font::CentreWindow(std::int32_t* x, std::int32_t* y, std::int32_t w, std::int32_t h) const {
  // Without a window picture the window centres on the screen.
  const DDSURFACEDATA& around = lpWindowSD ? *lpWindowSD : g_BackSurface;
  if (*x == kCentred) *x = (around.width >> 1) - (w >> 1);
  if (*y == kCentred) *y = (around.height >> 1) - (h >> 1);
}

void Font::DrawWindow(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  CentreWindow(&x, &y, w, h);
  DrawBoxWithFrame(dst, x, y, w, h, lpWindowSD, nFrameWidth, dwFramePalNum);
}

void Font::DrawTextWindow(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                          const char* text, std::int32_t margin) {
  if (!text) text = "";
  if (w == 0 || h == 0) {
    const SIZE size = MeasureText(text);
    if (w == 0) w = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{size.cx} + margin, INT32_MAX));
    if (h == 0) h = size.cy;
  }
  CentreWindow(&x, &y, w, h);
  DrawBoxWithFrame(dst, x, y, w, h, lpWindowSD, nFrameWidth, dwFramePalNum);
  Draw(dst, x + margin, y, text, 0);
}

void Font::PrintfWindow(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                        const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const char* text = FormatText(format, args);
  va_end(args);
  DrawTextWindow(dst, x, y, w, h, text, 0);
}
