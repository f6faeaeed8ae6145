#pragma once
// The Direct3D device's one drawing operation, done in memory: a quad of four pre-transformed
// vertices (a triangle strip: top-left, bottom-left, top-right, bottom-right) drawn onto the
// device's render target with texture stage 0 (colour and alpha operations of the texture, the
// vertex colour and the texture factor), point sampling, wrap addressing and the blend states.
//
// Where the hardware left details to the driver this draw is exact:
// - A pixel is covered when its centre (integer coordinates) lies inside the quad, left and top
//   edges included; the callers' corners at x - 0.5 and x + w - 0.5 thus cover columns x .. x + w - 1.
// - On such an axis-aligned quad whose corners and texture coordinates fall on whole pixels and
//   texels, destination pixel x + c takes texel column sx + floor((2c + 1) * sw / 2w), rows the
//   same way (QuadTexel); sw may be negative (a mirror), and so may w.
// - Channels combine at 0..255: a product is a * b / 255 rounded to nearest; blending is
//   (s * fs + d * fd) / 255 rounded to nearest, at most 255. Alpha 128 over an opaque pixel gives
//   (s * 128 + d * 127) / 255 rounded.
// - A 16-bit channel is widened to 8 bits by repeating its top bits and narrowed by cutting the low
//   ones, so a copy between 16-bit pixels of one format changes nothing.
#include <cstdint>

#include "platform/display/d3d_device.h"

// Texel offset, from the rectangle's first texel, of destination pixel k (0-based from the quad's
// x) of a quad n pixels wide over sn texels: floor((2k + 1) * sn / 2n). n must not be 0.
constexpr std::int64_t QuadTexel(std::int64_t k, std::int64_t sn, std::int64_t n) {
  constexpr std::int64_t kSmall = std::int64_t{1} << 30;
  const bool small = k > -kSmall && k < kSmall && sn > -kSmall && sn < kSmall && n > -kSmall && n < kSmall;
  if (small) {
    // Every draw of the game: exact in 64 bits.
    std::int64_t num = (2 * k + 1) * sn;
    std::int64_t den = 2 * n;
    if (den < 0) num = -num, den = -den;
    const std::int64_t q = num / den;
    return (num % den != 0 && num < 0) ? q - 1 : q;
  }
  // Wide enough for any pixel, size and texel count a caller can pass.
  __int128 num = static_cast<__int128>(2 * k + 1) * sn;
  __int128 den = static_cast<__int128>(2) * n;
  if (den < 0) num = -num, den = -den;
  __int128 q = num / den;
  if (num % den != 0 && num < 0) --q;
  constexpr __int128 kLimit = std::int64_t{1} << 62;
  return static_cast<std::int64_t>(q > kLimit ? kLimit : q < -kLimit ? -kLimit : q);
}

// The product of two channels as stage 0 forms it.
constexpr std::uint32_t MulChannel(std::uint32_t a, std::uint32_t b) {
  std::uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// One texture-stage operation on two 0xAARRGGBB values, per channel; textureFactor is the
// D3DRS_TEXTUREFACTOR some operations weigh with.
std::uint32_t CombineColour(std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2, std::uint32_t textureFactor);
std::uint32_t CombineAlpha(std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2, std::uint32_t textureFactor);

// Draws the quad onto the device's render target; texture (may be null: an opaque white texel) is
// what stage 0 samples. Nothing is drawn while the device is lost.
HRESULT DrawQuad(cD3DDevice& device, const cVertexBuffer& vertices, const cPixelBuffer* texture);

// The pixels this thread's quads have visited by the general per-pixel rule (shaded or scaled copies,
// 16-bit targets, triangles), as against the row loops the usual copies, fills and fades take; for
// the tests and benchmarks that check the game's usual draws stay on the row loops.
std::uint64_t QuadPixelsDrawnOneByOne();

// The four vertices of the callers' quads: corners (x - 0.5, y - 0.5) .. (x + w - 0.5, y + h - 0.5),
// texture coordinates (sx, sy) .. (sx + sw, sy + sh) over a texture of textureWidth x textureHeight.
void WriteQuadVertices(cVertexBuffer& vertices, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                       std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh, std::int32_t textureWidth,
                       std::int32_t textureHeight, std::uint32_t diffuse);
