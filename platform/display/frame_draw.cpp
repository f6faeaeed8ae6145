// Composite draws: frames, digit strips and the strip effects, every part one primitive draw.
#include "platform/display/frame_draw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/display/blit.h"

namespace {

// Sizes and offsets come from scripts and effect records: sums of them are taken in 64 bits and
// brought back into a range where a draw simply falls outside every surface.
constexpr std::int64_t kFarOutside = std::int64_t{1} << 28;

std::int32_t Coord(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp(value, -kFarOutside, kFarOutside));
}

// trunc(sin(degrees) * amplitude), kept in range for any amplitude a script gives.
std::int32_t WaveDisplacement(double degrees, double amplitude) {
  const double d = std::sin(degrees * std::numbers::pi / 180.0) * amplitude;
  if (!std::isfinite(d)) return 0;
  return Coord(
      static_cast<std::int64_t>(std::clamp(d, -static_cast<double>(kFarOutside), static_cast<double>(kFarOutside))));
}

}  // namespace

void DrawFrameRect(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   std::int32_t thickness, std::uint32_t dwPalNum) {
  DDFillRect(dst, x, y, w, thickness, dwPalNum);
  DDFillRect(dst, x, Coord(std::int64_t{y} + h - thickness), w, thickness, dwPalNum);
  DDFillRect(dst, x, y, thickness, h, dwPalNum);
  DDFillRect(dst, Coord(std::int64_t{x} + w - thickness), y, thickness, h, dwPalNum);
}

void DrawBoxWithFrame(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      DDSURFACEDATA* image, std::int32_t thickness, std::uint32_t dwPalNum) {
  DDBlt(dst, x, y, w, h, image, 0, 0, 0);
  DrawFrameRect(dst, Coord(std::int64_t{x} - thickness), Coord(std::int64_t{y} - thickness),
                Coord(std::int64_t{w} + 2 * std::int64_t{thickness}),
                Coord(std::int64_t{h} + 2 * std::int64_t{thickness}), thickness, dwPalNum);
}

void DrawNumber(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t digitW, std::int32_t digitH,
                DDSURFACEDATA* digitImage, std::int32_t sx, std::int32_t sy, std::int32_t key, std::int32_t value,
                std::int32_t minDigits, std::int32_t centre) {
  // The strips hold the digits 0-9 only: a negative value has no sign to show and is drawn as 0.
  std::uint32_t rest = value > 0 ? static_cast<std::uint32_t>(value) : 0;
  std::array<std::int32_t, 10> digits{};
  std::int32_t count = 0;
  do {
    digits[static_cast<std::size_t>(count++)] = static_cast<std::int32_t>(rest % 10);
    rest /= 10;
  } while (rest != 0 && count < static_cast<std::int32_t>(digits.size()));

  std::int64_t offset = 0;
  if (count < minDigits) {
    offset = (std::int64_t{minDigits} - count) * digitW;
    if (centre) offset /= 2;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t d = digits[static_cast<std::size_t>(count - 1 - i)];
    DDBlt(dst, Coord(x + offset + std::int64_t{i} * digitW), y, digitW, digitH, digitImage,
          Coord(sx + std::int64_t{d} * digitW), sy, key);
  }
}

void WaveBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t frequency,
             double amplitude, std::int32_t phase, std::int32_t strip, DDSURFACEDATA* src, std::int32_t sx,
             std::int32_t sy, std::int32_t key, std::int32_t columns) {
  if (strip <= 0) return;
  const std::int32_t length = columns ? w : h;
  if (length <= 0) return;
  // In whole degrees a strip narrower than 1/360 of the picture would never move the wave on.
  const double step = static_cast<double>(strip) * 360.0 / length;
  double angle = 0.0;
  for (std::int32_t from = 0; from < length; from += std::min(strip, length - from)) {
    angle += step;
    const std::int32_t size = std::min(strip, length - from);
    const std::int32_t shift = WaveDisplacement((phase + angle) * static_cast<double>(frequency), amplitude);
    if (columns)
      DDBlt(dst, Coord(std::int64_t{x} + from), Coord(std::int64_t{y} + shift), size, h, src,
            Coord(std::int64_t{sx} + from), sy, key);
    else
      DDBlt(dst, Coord(std::int64_t{x} + shift), Coord(std::int64_t{y} + from), w, size, src, sx,
            Coord(std::int64_t{sy} + from), key);
  }
}

void StripeBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t stripe,
               std::int32_t offset, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t key,
               std::int32_t columns) {
  if (stripe == 0) {
    DDBlt(dst, x, y, w, h, src, sx, sy, key);
    return;
  }
  const std::int32_t count = (columns ? w : h) / stripe;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int64_t from = std::int64_t{k} * stripe;
    const std::int64_t shift = k % 2 ? -std::int64_t{offset} : std::int64_t{offset};
    if (columns)
      DDBlt(dst, Coord(x + from), Coord(y + shift), stripe, h, src, Coord(sx + from), sy, key);
    else
      DDBlt(dst, Coord(x + shift), Coord(y + from), w, stripe, src, sx, Coord(sy + from), key);
  }
}

void FlipBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
             DDSURFACEDATA* frontSrc, std::int32_t frontSx, std::int32_t frontSy, DDSURFACEDATA* backSrc,
             std::int32_t backSx, std::int32_t backSy, std::int32_t sw, std::int32_t sh, std::int32_t key,
             std::int32_t counter, std::int32_t mode) {
  if (mode != 0 && mode != 1) return;
  const std::int64_t size = mode == 0 ? w : h;
  const std::int64_t half = size / 2;
  if (half < 1) {
    // Nothing to turn about: the front face as it stands.
    DDStretchBlt(dst, x, y, w, h, frontSrc, frontSx, frontSy, sw, sh, key);
    return;
  }
  // A triangle wave 0 .. half - 1 .. 0: how far each edge has moved toward the axis.
  const std::int64_t turn = counter / half;
  const std::int64_t within = counter % half;
  const std::int64_t t = turn % 2 == 0 ? within : half - within - 1;
  const bool front = (half + counter) / size % 2 == 0;
  DDSURFACEDATA* face = front ? frontSrc : backSrc;
  const std::int32_t faceSx = front ? frontSx : backSx;
  const std::int32_t faceSy = front ? frontSy : backSy;
  if (mode == 0)
    DDStretchBlt(dst, Coord(x + t), y, Coord(w - 2 * t), h, face, faceSx, faceSy, sw, sh, key);
  else
    DDStretchBlt(dst, x, Coord(y + t), w, Coord(h - 2 * t), face, faceSx, faceSy, sw, sh, key);
}

void QuarterBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
                std::int32_t sx, std::int32_t sy, std::int32_t gap, std::int32_t key) {
  const std::int32_t hw = w / 2;
  const std::int32_t hh = h / 2;
  const std::int32_t left = Coord(std::int64_t{x} - gap);
  const std::int32_t top = Coord(std::int64_t{y} - gap);
  const std::int32_t right = Coord(std::int64_t{x} + hw + gap);
  const std::int32_t bottom = Coord(std::int64_t{y} + hh + gap);
  const std::int32_t sxRight = Coord(std::int64_t{sx} + hw);
  const std::int32_t syBottom = Coord(std::int64_t{sy} + hh);
  DDBlt(dst, left, top, hw, hh, src, sx, sy, key);
  DDBlt(dst, right, top, hw, hh, src, sxRight, sy, key);
  DDBlt(dst, left, bottom, hw, hh, src, sx, syBottom, key);
  DDBlt(dst, right, bottom, hw, hh, src, sxRight, syBottom, key);
}
