#include "platform/display/quad.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/display/blit_rows.h"

namespace {

constexpr std::uint32_t D3DTOP_MODULATE2X = 5;
constexpr std::uint32_t D3DTOP_MODULATE4X = 6;
constexpr std::uint32_t D3DTOP_ADDSIGNED = 8;
constexpr std::uint32_t D3DTOP_ADDSIGNED2X = 9;
constexpr std::uint32_t D3DTOP_ADDSMOOTH = 11;
constexpr std::uint32_t D3DTOP_BLENDFACTORALPHA = 14;
constexpr std::uint32_t D3DTA_SELECTMASK = 0x0F;
constexpr std::uint32_t D3DTA_COMPLEMENT = 0x10;
constexpr std::uint32_t D3DTA_ALPHAREPLICATE = 0x20;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

thread_local std::uint64_t t_PixelsOneByOne = 0;
// Every quad by the plain per-pixel rule that the row and span loops must match (the tests).
thread_local bool t_ReferenceRule = false;

inline std::uint32_t Channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// (x / 255) rounded to nearest; x up to 2 * 255 * 255.
inline std::uint32_t Div255(std::uint32_t x) { return (2 * x + 255) / 510; }

// One channel of a stage operation.
std::uint32_t CombineChannel(std::uint32_t op, std::uint32_t a, std::uint32_t b, std::uint32_t factorAlpha) {
  switch (op) {
    case D3DTOP_SELECTARG2:
      return b;
    case D3DTOP_MODULATE:
      return MulChannel(a, b);
    case D3DTOP_MODULATE2X:
      return std::min<std::uint32_t>(255, 2 * MulChannel(a, b));
    case D3DTOP_MODULATE4X:
      return std::min<std::uint32_t>(255, 4 * MulChannel(a, b));
    case D3DTOP_ADD:
      return std::min<std::uint32_t>(255, a + b);
    case D3DTOP_ADDSIGNED:
      return static_cast<std::uint32_t>(std::clamp(static_cast<int>(a + b) - 128, 0, 255));
    case D3DTOP_ADDSIGNED2X:
      return static_cast<std::uint32_t>(std::clamp(2 * (static_cast<int>(a + b) - 128), 0, 255));
    case D3DTOP_SUBTRACT:
      return a > b ? a - b : 0;
    case D3DTOP_ADDSMOOTH:
      return std::min<std::uint32_t>(255, a + b - MulChannel(a, b));
    case D3DTOP_BLENDFACTORALPHA:
      return Div255(a * factorAlpha + b * (255 - factorAlpha));
    default:
      // SELECTARG1, and operations this device does not offer.
      return a;
  }
}

// The value a stage argument selects, with its modifiers.
inline std::uint32_t Argument(std::uint32_t selector, std::uint32_t texel, std::uint32_t diffuse,
                              std::uint32_t factor) {
  std::uint32_t v;
  switch (selector & D3DTA_SELECTMASK) {
    case D3DTA_TEXTURE:
      v = texel;
      break;
    case D3DTA_TFACTOR:
      v = factor;
      break;
    default:
      // DIFFUSE, and CURRENT, which is the diffuse colour at stage 0.
      v = diffuse;
      break;
  }
  if (selector & D3DTA_COMPLEMENT) v = ~v;
  if (selector & D3DTA_ALPHAREPLICATE) v = (v >> 24) * 0x01010101u;
  return v;
}

// Stage 0 for one texel: the 0xAARRGGBB it gives.
inline std::uint32_t Stage0(const D3DTextureStage& stage, std::uint32_t texel, std::uint32_t diffuse,
                            std::uint32_t factor) {
  if (stage.colorOp == D3DTOP_DISABLE) return diffuse;
  const std::uint32_t rgb = CombineColour(stage.colorOp, Argument(stage.colorArg1, texel, diffuse, factor),
                                          Argument(stage.colorArg2, texel, diffuse, factor), factor);
  const std::uint32_t alpha = stage.alphaOp == D3DTOP_DISABLE
                                  ? diffuse >> 24
                                  : CombineAlpha(stage.alphaOp, Argument(stage.alphaArg1, texel, diffuse, factor),
                                                 Argument(stage.alphaArg2, texel, diffuse, factor), factor);
  return (alpha << 24) | rgb;
}

inline std::uint32_t BlendFactor(std::uint32_t blend, std::uint32_t srcAlpha) {
  switch (blend) {
    case D3DBLEND_ZERO:
      return 0;
    case D3DBLEND_SRCALPHA:
      return srcAlpha;
    case D3DBLEND_INVSRCALPHA:
      return 255 - srcAlpha;
    default:
      return 255;
  }
}

// The blended pixel, both 0xAARRGGBB.
inline std::uint32_t Blend(const D3DRenderStates& states, std::uint32_t src, std::uint32_t dst) {
  if (!states.alphaBlendEnable) return src;
  const std::uint32_t a = src >> 24;
  const std::uint32_t fs = BlendFactor(states.srcBlend, a);
  const std::uint32_t fd = BlendFactor(states.destBlend, a);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8)
    out |= std::min<std::uint32_t>(255, Div255(Channel(src, shift) * fs + Channel(dst, shift) * fd)) << shift;
  return out;
}

std::uint32_t ReadPixel(const std::uint8_t* row, std::int32_t x, PixelFormat format) {
  switch (BytesPerPixel(format)) {
    case 1:
      return row[x];
    case 2: {
      std::uint16_t v;
      std::memcpy(&v, row + x * 2, sizeof v);
      return v;
    }
    default: {
      std::uint32_t v;
      std::memcpy(&v, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof v);
      return v;
    }
  }
}

void WritePixel(std::uint8_t* row, std::int32_t x, PixelFormat format, std::uint32_t value) {
  switch (BytesPerPixel(format)) {
    case 1:
      row[x] = static_cast<std::uint8_t>(value);
      break;
    case 2: {
      std::uint16_t v = static_cast<std::uint16_t>(value);
      std::memcpy(row + x * 2, &v, sizeof v);
      break;
    }
    default:
      std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 4, &value, sizeof value);
      break;
  }
}

inline std::int32_t Wrap(std::int64_t v, std::int32_t n) {
  // Inside the texture already (every unscaled copy): no division.
  if (v >= 0 && v < n) return static_cast<std::int32_t>(v);
  std::int64_t r = v % n;
  return static_cast<std::int32_t>(r < 0 ? r + n : r);
}

// floor(t) without the library call: below 2^52 in size through a conversion, beyond it a double is
// whole already (and a NaN stays one).
inline double FloorOf(double t) {
  if (!(std::fabs(t) < 4503599627370496.0)) return std::floor(t);
  const double whole = static_cast<double>(static_cast<std::int64_t>(t));
  return whole > t ? whole - 1.0 : whole;
}

// The texel of a texture at (col, row), already wrapped, as 0xAARRGGBB.
inline std::uint32_t Texel(const cPixelBuffer* texture, std::int32_t col, std::int32_t row) {
  if (!texture) return kWhite;
  return UnpackColour(texture->Format(), ReadPixel(texture->Row(row), col, texture->Format()));
}

// One axis of an axis-aligned quad: the covered pixel span and, for each pixel, its texel.
struct sAxis {
  std::int32_t first = 0;  // first covered pixel
  std::int32_t end = 0;    // one past the last
  // Whole pixels and texels: exact integer rule; else the texel from the interpolated coordinate.
  bool exact = false;
  std::int64_t origin = 0;  // the pixel of texel offset 0 (the quad's x)
  std::int64_t s0 = 0, sn = 0, n = 0;
  double p0 = 0, p1 = 0, t0 = 0, t1 = 0;  // positions and texel coordinates (scaled by the size)
  std::int32_t size = 1;                  // texture side, for wrapping

  std::int32_t TexelAt(std::int32_t pixel) const {
    std::int64_t t;
    if (exact && sn == n) {
      t = s0 + (pixel - origin);  // one texel a pixel
    } else if (exact) {
      t = s0 + QuadTexel(pixel - origin, sn, n);
    } else {
      const double u = t0 + (pixel - p0) / (p1 - p0) * (t1 - t0);
      t = static_cast<std::int64_t>(std::floor(u));
    }
    return Wrap(t, size);
  }
};

// Within a thousandth of a whole number (of at most 1e9), and which. Rounded by conversion rather
// than nearbyint, a call that saves and restores the floating-point state for every quad; the two
// differ only at a half, which is never near a whole number.
bool NearWhole(double v, std::int64_t* out) {
  if (!(std::fabs(v) <= 1e9 + 0.5)) return false;  // NaN too
  const std::int64_t r = static_cast<std::int64_t>(v < 0 ? v - 0.5 : v + 0.5);
  if (std::fabs(v - static_cast<double>(r)) > 1e-3 || std::abs(r) > 1000000000) return false;
  *out = r;
  return true;
}

// p0, p1: the edge positions; t0, t1: the texture coordinates there; limit: the target's side.
sAxis MakeAxis(float p0, float p1, float t0, float t1, std::int32_t textureSize, std::int32_t limit) {
  sAxis axis;
  axis.size = std::max(textureSize, 1);
  axis.p0 = p0;
  axis.p1 = p1;
  axis.t0 = static_cast<double>(t0) * axis.size;
  axis.t1 = static_cast<double>(t1) * axis.size;
  const double lo = std::min(p0, p1), hi = std::max(p0, p1);
  axis.first = static_cast<std::int32_t>(std::clamp(std::ceil(lo), 0.0, static_cast<double>(limit)));
  axis.end = static_cast<std::int32_t>(std::clamp(std::ceil(hi), 0.0, static_cast<double>(limit)));
  std::int64_t x0 = 0, x1 = 0, s0 = 0, s1 = 0;
  if (NearWhole(static_cast<double>(p0) + 0.5, &x0) && NearWhole(static_cast<double>(p1) + 0.5, &x1) &&
      NearWhole(axis.t0, &s0) && NearWhole(axis.t1, &s1) && x1 != x0) {
    axis.exact = true;
    axis.origin = x0;
    axis.s0 = s0;
    axis.sn = s1 - s0;
    axis.n = x1 - x0;
  }
  return axis;
}

// Per-draw scratch for the texel columns of a row: grown, never shrunk, so a draw allocates only
// when it is wider than every draw before it on this thread.
std::vector<std::int32_t>& ColumnScratch(std::size_t n) {
  thread_local std::vector<std::int32_t> columns;
  if (columns.size() < n) columns.resize(n);
  return columns;
}

// Stage 0 gives the texel itself: the game's plain copies (MODULATE with white, or SELECTARG1).
bool StagePassesTexel(const D3DTextureStage& stage, std::uint32_t diffuse) {
  auto passes = [](std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2, bool neutralDiffuse) {
    if (op == D3DTOP_SELECTARG1) return arg1 == D3DTA_TEXTURE;
    if (op == D3DTOP_SELECTARG2) return arg2 == D3DTA_TEXTURE;
    if (op != D3DTOP_MODULATE || !neutralDiffuse) return false;
    const bool diffuse1 = arg1 == D3DTA_DIFFUSE || arg1 == D3DTA_CURRENT;
    const bool diffuse2 = arg2 == D3DTA_DIFFUSE || arg2 == D3DTA_CURRENT;
    return (arg1 == D3DTA_TEXTURE && diffuse2) || (arg2 == D3DTA_TEXTURE && diffuse1);
  };
  return passes(stage.colorOp, stage.colorArg1, stage.colorArg2, (diffuse & 0xFFFFFF) == 0xFFFFFF) &&
         passes(stage.alphaOp, stage.alphaArg1, stage.alphaArg2, (diffuse >> 24) == 0xFF);
}

// Stage 0 multiplies the texel by the diffuse colour, colour and alpha alike: the tints, the
// translucent copies and the copies in a draw colour.
bool StageModulatesTexel(const D3DTextureStage& stage) {
  auto modulates = [](std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2) {
    const bool diffuse1 = arg1 == D3DTA_DIFFUSE || arg1 == D3DTA_CURRENT;
    const bool diffuse2 = arg2 == D3DTA_DIFFUSE || arg2 == D3DTA_CURRENT;
    return op == D3DTOP_MODULATE && ((arg1 == D3DTA_TEXTURE && diffuse2) || (arg2 == D3DTA_TEXTURE && diffuse1));
  };
  return modulates(stage.colorOp, stage.colorArg1, stage.colorArg2) &&
         modulates(stage.alphaOp, stage.alphaArg1, stage.alphaArg2);
}

// Per-draw scratch for the colours of a row, kept like the column table.
std::vector<std::uint32_t>& ColourScratch(std::size_t n) {
  thread_local std::vector<std::uint32_t> colours;
  if (colours.size() < n) colours.resize(n);
  return colours;
}

// The texels of count pixels of texture row ty as 0xAARRGGBB: columns[i] when given, else the
// count columns from column0 on.
void ReadTexels(const cPixelBuffer* texture, std::int32_t ty, const std::int32_t* columns, std::int32_t column0,
                std::int32_t count, std::uint32_t* out) {
  if (!texture) {
    std::fill(out, out + count, kWhite);
    return;
  }
  const std::uint8_t* row = texture->Row(ty);
  const PixelFormat format = texture->Format();
  if (format == PixelFormat::Argb8888 || format == PixelFormat::Xrgb8888) {
    const std::uint32_t alpha = format == PixelFormat::Xrgb8888 ? 0xFF000000u : 0;
    for (std::int32_t i = 0; i < count; ++i)
      out[i] = alpha | LoadPixel<std::uint32_t>(row, columns ? columns[i] : column0 + i);
    return;
  }
  auto read16 = [&](auto constFormat) {
    for (std::int32_t i = 0; i < count; ++i)
      out[i] = UnpackColour(constFormat(), LoadPixel<std::uint16_t>(row, columns ? columns[i] : column0 + i));
  };
  if (format == PixelFormat::Argb1555)
    read16([] { return PixelFormat::Argb1555; });
  else if (format == PixelFormat::Rgb565)
    read16([] { return PixelFormat::Rgb565; });
  else
    for (std::int32_t i = 0; i < count; ++i)
      out[i] = UnpackColour(format, ReadPixel(row, columns ? columns[i] : column0 + i, format));
}

// PutColours on a 16-bit target of one format, with the usual blend or none.
template <PixelFormat F>
void PutColours16(const D3DRenderStates& states, std::uint8_t* out, const std::uint32_t* colours, std::int32_t count,
                  bool usualBlend, bool skipClear) {
  t_PixelsOneByOne += static_cast<std::uint64_t>(count);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t colour = colours[i];
    const std::uint32_t a = colour >> 24;
    if (usualBlend && skipClear && a == 0) continue;
    if (!usualBlend || (skipClear && a == 255)) {
      StorePixel<std::uint16_t>(out, i, static_cast<std::uint16_t>(PackColour(F, colour)));
      continue;
    }
    const std::uint32_t under = UnpackColour(F, LoadPixel<std::uint16_t>(out, i));
    StorePixel<std::uint16_t>(out, i, static_cast<std::uint16_t>(PackColour(F, Blend(states, colour, under))));
  }
}

// Stage 0 over a row of texels with one diffuse colour, in place.
void ShadeColours(const D3DTextureStage& stage, std::uint32_t* colours, std::int32_t count, std::uint32_t diffuse,
                  std::uint32_t factor) {
  if (StagePassesTexel(stage, diffuse)) return;
  if (StageModulatesTexel(stage)) {
    ModulateColours32(colours, count, diffuse);
    return;
  }
  t_PixelsOneByOne += static_cast<std::uint64_t>(count);
  for (std::int32_t i = 0; i < count; ++i) colours[i] = Stage0(stage, colours[i], diffuse, factor);
}

// The blend of a row of stage-0 colours onto count pixels of a target row from x. The quads leave
// fully transparent colours out under the usual blend (skipClear); the triangles blend every pixel.
void PutColours(const D3DRenderStates& states, cPixelBuffer& target, std::int32_t y, std::int32_t x,
                const std::uint32_t* colours, std::int32_t count, bool skipClear) {
  const PixelFormat format = target.Format();
  std::uint8_t* out = target.Row(y);
  const bool usualBlend =
      states.alphaBlendEnable && states.srcBlend == D3DBLEND_SRCALPHA && states.destBlend == D3DBLEND_INVSRCALPHA;
  if (BytesPerPixel(format) == 4 && (usualBlend || !states.alphaBlendEnable)) {
    const std::uint32_t keepMask = format == PixelFormat::Xrgb8888 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    std::uint8_t* first = out + static_cast<std::ptrdiff_t>(x) * 4;
    if (!usualBlend) {
      for (std::int32_t i = 0; i < count; ++i) StorePixel<std::uint32_t>(first, i, colours[i] & keepMask);
    } else if (skipClear) {
      BlendTexels32(first, reinterpret_cast<const std::uint8_t*>(colours), count, keepMask);
    } else {
      OverColours32(first, colours, count, keepMask);
    }
    return;
  }
  if (usualBlend || !states.alphaBlendEnable) {
    std::uint8_t* first = out + static_cast<std::ptrdiff_t>(x) * 2;
    if (format == PixelFormat::Rgb565) {
      PutColours16<PixelFormat::Rgb565>(states, first, colours, count, usualBlend, skipClear);
      return;
    }
    if (format == PixelFormat::Argb1555) {
      PutColours16<PixelFormat::Argb1555>(states, first, colours, count, usualBlend, skipClear);
      return;
    }
  }
  t_PixelsOneByOne += static_cast<std::uint64_t>(count);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t colour = colours[i];
    if (usualBlend && skipClear) {
      const std::uint32_t a = colour >> 24;
      if (a == 0) continue;
      if (a == 255) {
        WritePixel(out, x + i, format, PackColour(format, colour));
        continue;
      }
    }
    const std::uint32_t under = UnpackColour(format, ReadPixel(out, x + i, format));
    WritePixel(out, x + i, format, PackColour(format, Blend(states, colour, under)));
  }
}

void DrawAxisQuad(cD3DDevice& device, cPixelBuffer& target, const cVertexBuffer& vb, const cPixelBuffer* texture) {
  const D3DVertex* v = vb.m_Vertices.data();
  const std::int32_t tw = texture ? texture->Width() : 1;
  const std::int32_t th = texture ? texture->Height() : 1;
  const sAxis ax = MakeAxis(v[0].x, v[2].x, v[0].u, v[2].u, tw, target.Width());
  const sAxis ay = MakeAxis(v[0].y, v[1].y, v[0].v, v[1].v, th, target.Height());
  if (ax.first >= ax.end || ay.first >= ay.end) return;

  const std::int32_t count = ax.end - ax.first;
  // A plain run: the texels of a row are the next ones along, unwrapped; no table needed.
  const std::int32_t column0 = ax.TexelAt(ax.first);
  const bool contiguous = ax.exact && ax.sn == ax.n && std::int64_t{column0} + count <= tw;
  const std::int32_t* columns = nullptr;
  if (!contiguous) {
    std::vector<std::int32_t>& table = ColumnScratch(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) table[i] = ax.TexelAt(ax.first + i);
    columns = table.data();
  }

  const D3DRenderStates& states = device.m_RenderStates;
  const D3DTextureStage& stage = device.m_Stage0;
  const std::uint32_t diffuse = v[0].diffuse;
  const std::uint32_t factor = states.textureFactor;
  const PixelFormat targetFormat = target.Format();
  const bool usualBlend =
      states.alphaBlendEnable && states.srcBlend == D3DBLEND_SRCALPHA && states.destBlend == D3DBLEND_INVSRCALPHA;
  const bool fast32 = !t_ReferenceRule && texture && texture->Format() == PixelFormat::Argb8888 && BytesPerPixel(targetFormat) == 4 &&
                      usualBlend && contiguous && StagePassesTexel(stage, diffuse);
  const std::uint32_t keepMask = targetFormat == PixelFormat::Xrgb8888 ? 0x00FFFFFFu : 0xFFFFFFFFu;
  const cKeySpans* spans = fast32 ? texture->KeySpans(kTexelKeyRule) : nullptr;

  // No texture: one colour for the whole quad (fills and fades).
  if (!t_ReferenceRule && !texture && BytesPerPixel(targetFormat) == 4 && (usualBlend || !states.alphaBlendEnable)) {
    const std::uint32_t colour = Stage0(stage, kWhite, diffuse, factor);
    const std::uint32_t packed = PackColour(targetFormat, colour);
    for (std::int32_t y = ay.first; y < ay.end; ++y) {
      std::uint8_t* out = target.Row(y) + static_cast<std::ptrdiff_t>(ax.first) * 4;
      if (usualBlend) {
        BlendColour32(out, count, colour, keepMask);
      } else {
        for (std::int32_t i = 0; i < count; ++i) StorePixel<std::uint32_t>(out, i, packed);
      }
    }
    return;
  }

  // The same on 16-bit targets: one packed value where the colour covers; under a translucent one
  // each pixel blended, a run of equal pixels (the usual ground under a fill or a fade) once.
  if (!t_ReferenceRule && !texture && BytesPerPixel(targetFormat) == 2 && (usualBlend || !states.alphaBlendEnable)) {
    const std::uint32_t colour = Stage0(stage, kWhite, diffuse, factor);
    if (usualBlend && (colour >> 24) == 0) return;
    const auto packed = static_cast<std::uint16_t>(PackColour(targetFormat, colour));
    const bool covers = !usualBlend || (colour >> 24) == 255;
    for (std::int32_t y = ay.first; y < ay.end; ++y) {
      std::uint8_t* out = target.Row(y) + static_cast<std::ptrdiff_t>(ax.first) * 2;
      if (covers) {
        for (std::int32_t i = 0; i < count; ++i) StorePixel<std::uint16_t>(out, i, packed);
        continue;
      }
      std::uint16_t under = LoadPixel<std::uint16_t>(out, 0);
      auto blended = [&](std::uint16_t pixel) {
        return static_cast<std::uint16_t>(
            PackColour(targetFormat, Blend(states, colour, UnpackColour(targetFormat, pixel))));
      };
      std::uint16_t result = blended(under);
      for (std::int32_t i = 0; i < count; ++i) {
        const std::uint16_t pixel = LoadPixel<std::uint16_t>(out, i);
        if (pixel != under) {
          under = pixel;
          result = blended(pixel);
        }
        StorePixel<std::uint16_t>(out, i, result);
      }
    }
    return;
  }

  // Runs of texture rows one after the other (the rows of an unscaled copy, up to a wrap) go to a
  // span copy in one call each.
  auto bySpans = [&](auto&& copyRows) {
    const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(ax.first) * target.BytesPerPixel();
    std::int32_t y = ay.first;
    while (y < ay.end) {
      const std::int32_t ty = ay.TexelAt(y);
      std::int32_t rows = 1;
      if (ay.exact && ay.sn == ay.n)
        rows = std::min(ay.end - y, ay.size - ty);  // one texel a pixel: up to the texture's last row
      else
        while (y + rows < ay.end && ay.TexelAt(y + rows) == ty + rows) ++rows;
      copyRows(sSpanCopy{target.Row(y) + offset, target.Pitch(), texture->Bits(), texture->Pitch(), ty, rows, column0,
                         count});
      y += rows;
    }
  };
  if (spans) {
    bySpans([&](const sSpanCopy& copy) { CopyTexelRowsBySpans(copy, *spans, keepMask); });
    return;
  }

  // 16-bit texels onto a 16-bit target as stage 0 passes them: row loops; an Argb1555 texture's
  // transparent texels under the usual blend skipped by its spans.
  const bool fast16 = !t_ReferenceRule && texture && BytesPerPixel(texture->Format()) == 2 &&
                      BytesPerPixel(targetFormat) == 2 && (usualBlend || !states.alphaBlendEnable) &&
                      StagePassesTexel(stage, diffuse);
  if (fast16) {
    const cKeySpans* spans16 = usualBlend && contiguous && texture->Format() == PixelFormat::Argb1555
                                   ? texture->KeySpans(kTexel16KeyRule)
                                   : nullptr;
    if (spans16) {
      bySpans([&](const sSpanCopy& copy) { CopyTexelRowsBySpans16(copy, *spans16, targetFormat); });
      return;
    }
    for (std::int32_t y = ay.first; y < ay.end; ++y)
      CopyTexels16({target.Row(y) + static_cast<std::ptrdiff_t>(ax.first) * 2, texture->Row(ay.TexelAt(y)),
                    contiguous ? nullptr : columns, column0, count, targetFormat, texture->Format(), usualBlend});
    return;
  }

  for (std::int32_t y = ay.first; y < ay.end; ++y) {
    const std::int32_t ty = ay.TexelAt(y);
    std::uint8_t* out = target.Row(y);
    if (fast32) {
      std::uint8_t* first = out + static_cast<std::ptrdiff_t>(ax.first) * 4;
      if (!CopyOpaqueTexels32(first, texture->Row(ty) + static_cast<std::ptrdiff_t>(column0) * 4, count,
                                     keepMask)) {
        // Partly transparent texels were left alone: the blend goes over the row once more.
        BlendTexels32(first, texture->Row(ty) + static_cast<std::ptrdiff_t>(column0) * 4, count, keepMask);
      }
      continue;
    }
    if (t_ReferenceRule) {
      const std::uint8_t* texRow = texture ? texture->Row(ty) : nullptr;
      t_PixelsOneByOne += static_cast<std::uint64_t>(count);
      for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t column = contiguous ? column0 + i : columns[i];
        const std::uint32_t texel =
            texRow ? UnpackColour(texture->Format(), ReadPixel(texRow, column, texture->Format())) : kWhite;
        const std::uint32_t colour = Stage0(stage, texel, diffuse, factor);
        const std::int32_t x = ax.first + i;
        if (usualBlend) {
          const std::uint32_t a = colour >> 24;
          if (a == 0) continue;
          if (a == 255) {
            WritePixel(out, x, targetFormat, PackColour(targetFormat, colour));
            continue;
          }
        }
        const std::uint32_t under = UnpackColour(targetFormat, ReadPixel(out, x, targetFormat));
        WritePixel(out, x, targetFormat, PackColour(targetFormat, Blend(states, colour, under)));
      }
      continue;
    }
    std::uint32_t* colours = ColourScratch(static_cast<std::size_t>(count)).data();
    ReadTexels(texture, ty, contiguous ? nullptr : columns, column0, count, colours);
    ShadeColours(stage, colours, count, diffuse, factor);
    PutColours(states, target, y, ax.first, colours, count, true);
  }
}

// Any other quad: two triangles, each pixel centre inside exactly one of them, coordinates and
// colours interpolated across.
struct sEdge {
  double ax, ay, dx, dy;
  bool includeTies;
  double At(double px, double py) const { return dx * (py - ay) - dy * (px - ax); }
};

// A triangle's corners turned to run one way round, its doubled area, edges and the pixels whose
// centres its bounding box holds, clipped to the target. False for a triangle of no area.
struct sTriangle {
  const D3DVertex* p[3] = {};
  double area = 0;
  sEdge edges[3] = {};
  std::int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;

  bool SetUp(const D3DVertex& a, const D3DVertex& b, const D3DVertex& c, const cPixelBuffer& target) {
    p[0] = &a, p[1] = &b, p[2] = &c;
    area = (b.x - a.x) * static_cast<double>(c.y - a.y) - (b.y - a.y) * static_cast<double>(c.x - a.x);
    if (area == 0) return false;
    if (area < 0) {
      std::swap(p[1], p[2]);
      area = -area;
    }
    for (int i = 0; i < 3; ++i) {
      const D3DVertex& from = *p[(i + 1) % 3];
      const D3DVertex& to = *p[(i + 2) % 3];
      sEdge& e = edges[i];
      e.ax = from.x;
      e.ay = from.y;
      e.dx = static_cast<double>(to.x) - from.x;
      e.dy = static_cast<double>(to.y) - from.y;
      // A shared edge is met in opposite directions by its two triangles: exactly one takes it.
      e.includeTies = e.dy > 0 || (e.dy == 0 && e.dx < 0);
    }
    const double minX = std::min({p[0]->x, p[1]->x, p[2]->x}), maxX = std::max({p[0]->x, p[1]->x, p[2]->x});
    const double minY = std::min({p[0]->y, p[1]->y, p[2]->y}), maxY = std::max({p[0]->y, p[1]->y, p[2]->y});
    const double w = target.Width(), h = target.Height();
    x0 = static_cast<std::int32_t>(std::clamp(std::ceil(minX), 0.0, w));
    x1 = static_cast<std::int32_t>(std::clamp(std::floor(maxX) + 1, 0.0, w));
    y0 = static_cast<std::int32_t>(std::clamp(std::ceil(minY), 0.0, h));
    y1 = static_cast<std::int32_t>(std::clamp(std::floor(maxY) + 1, 0.0, h));
    return true;
  }
};

void DrawTriangle(cD3DDevice& device, cPixelBuffer& target, const D3DVertex& a, const D3DVertex& b0,
                  const D3DVertex& c0, const cPixelBuffer* texture) {
  sTriangle triangle;
  if (!triangle.SetUp(a, b0, c0, target)) return;
  const auto& p = triangle.p;
  const auto& edges = triangle.edges;
  const double area = triangle.area;
  const std::int32_t x0 = triangle.x0, x1 = triangle.x1, y0 = triangle.y0, y1 = triangle.y1;
  const std::int32_t tw = texture ? texture->Width() : 1;
  const std::int32_t th = texture ? texture->Height() : 1;
  const D3DRenderStates& states = device.m_RenderStates;
  const PixelFormat format = target.Format();
  for (std::int32_t y = y0; y < y1; ++y) {
    std::uint8_t* out = target.Row(y);
    t_PixelsOneByOne += static_cast<std::uint64_t>(x1 > x0 ? x1 - x0 : 0);
    for (std::int32_t x = x0; x < x1; ++x) {
      double w[3];
      bool inside = true;
      for (int i = 0; i < 3 && inside; ++i) {
        w[i] = edges[i].At(x, y);
        inside = w[i] > 0 || (w[i] == 0 && edges[i].includeTies);
      }
      if (!inside) continue;
      double u = 0, vv = 0, ch[4] = {0, 0, 0, 0};
      for (int i = 0; i < 3; ++i) {
        const double k = w[i] / area;
        u += k * p[i]->u;
        vv += k * p[i]->v;
        for (int c = 0; c < 4; ++c) ch[c] += k * Channel(p[i]->diffuse, c * 8);
      }
      std::uint32_t diffuse = 0;
      for (int c = 0; c < 4; ++c)
        diffuse |= static_cast<std::uint32_t>(std::clamp(std::lround(ch[c]), 0L, 255L)) << (c * 8);
      const std::int32_t col = Wrap(static_cast<std::int64_t>(std::floor(u * tw)), tw);
      const std::int32_t row = Wrap(static_cast<std::int64_t>(std::floor(vv * th)), th);
      const std::uint32_t colour = Stage0(device.m_Stage0, Texel(texture, col, row), diffuse, states.textureFactor);
      const std::uint32_t under = UnpackColour(format, ReadPixel(out, x, format));
      WritePixel(out, x, format, PackColour(format, Blend(states, colour, under)));
    }
  }
}

// The first pixel of [lo, hi) whose centre passes the edge's test, or hi; the test holds on one side
// of the edge only (the row's sum is monotonic in x even as rounded), so a bisection finds the
// boundary with the very test the per-pixel rule makes.
bool EdgeInside(const sEdge& e, double x, double y) {
  const double w = e.At(x, y);
  return w > 0 || (w == 0 && e.includeTies);
}

// The span [first, end) of row y inside all three edges, within [lo, hi).
void RowSpan(const sEdge (&edges)[3], std::int32_t y, std::int32_t lo, std::int32_t hi, std::int32_t* first,
             std::int32_t* end) {
  for (const sEdge& e : edges) {
    if (lo >= hi) break;
    const bool atLo = EdgeInside(e, lo, y), atHi = EdgeInside(e, hi - 1, y);
    if (atLo && atHi) continue;
    if (!atLo && !atHi) {
      hi = lo;
      break;
    }
    // One boundary between lo and hi - 1: find the first pixel on the far side of it.
    std::int32_t a = lo, b = hi - 1;  // inside(a) == atLo, inside(b) == atHi
    while (b - a > 1) {
      const std::int32_t m = a + (b - a) / 2;
      (EdgeInside(e, m, y) == atLo ? a : b) = m;
    }
    if (atLo)
      hi = b;
    else
      lo = b;
  }
  *first = lo;
  *end = std::max(lo, hi);
}

// One texture coordinate of the per-pixel rule, times the texture's side: the barycentric sum in
// the same order and rounding.
double TexelCoordinate(const sEdge (&edges)[3], const D3DVertex* const (&p)[3], double area, bool isU,
                       std::int32_t x, std::int32_t y, std::int32_t size) {
  double t = 0;
  for (int i = 0; i < 3; ++i) t += edges[i].At(x, y) / area * (isU ? p[i]->u : p[i]->v);
  return t * size;
}

// Texel indices along a span: stepped from the exact values at its ends; where the stepped value
// comes near a texel border (closer than its possible rounding error) the exact sum decides.
struct sSpanAxis {
  double start = 0, step = 0, guard = 0;
  std::int32_t size = 1;
  std::int32_t At(const sEdge (&edges)[3], const D3DVertex* const (&p)[3], double area, bool isU, std::int32_t x,
                  std::int32_t xs, std::int32_t y) const {
    double t = start + step * (x - xs);
    double f = FloorOf(t);
    if (t - f < guard || f + 1 - t < guard) return Exact(edges, p, area, isU, x, y);
    return Wrap(static_cast<std::int64_t>(f), size);
  }
  std::int32_t Exact(const sEdge (&edges)[3], const D3DVertex* const (&p)[3], double area, bool isU, std::int32_t x,
                     std::int32_t y) const {
    return Wrap(static_cast<std::int64_t>(FloorOf(TexelCoordinate(edges, p, area, isU, x, y, size))), size);
  }
  // The stepped coordinates of a span of count pixels all lie within +-2^30 (NaN: not).
  bool Small(std::int32_t count) const {
    constexpr double kLimit = 1073741824.0;
    const double last = start + step * (count - 1);
    return std::fabs(start) < kLimit && std::fabs(last) < kLimit;
  }
};

constexpr std::int32_t kSpanChunk = 64;

// The stepped texel indices of pixels from .. from + n - 1 of a span along one axis, as whole
// doubles not yet wrapped, and which of them lie too near a texel border to be trusted (1): the
// rule of At in a loop of doubles only, without branches or calls, which the compiler makes vector
// code of. For Small spans only: below 2^51, adding and taking away 1.5 x 2^52 rounds to a whole
// number, and the floor is that number or the one below.
void StepTexelIndices(const sSpanAxis& axis, std::int32_t from, std::int32_t n, double* whole, double* near) {
  constexpr double kRound = 6755399441055744.0;
  const double start = axis.start, step = axis.step, guard = axis.guard;
  for (std::int32_t k = 0; k < n; ++k) {
    const double t = start + step * static_cast<double>(from + k);
    const double nearest = (t + kRound) - kRound;
    const double f = nearest - (nearest > t ? 1.0 : 0.0);
    whole[k] = f;
    near[k] = ((t - f < guard) | (f + 1 - t < guard)) ? 1.0 : 0.0;
  }
}

// The texels of a span of turned texture coordinates, read(row pointer, column) giving each as
// 0xAARRGGBB: the indices of a chunk stepped first, the few near a border summed exactly, then the
// texels read.
template <typename Read>
void GatherSpanTexels(const cPixelBuffer& texture, const sEdge (&edges)[3], const D3DVertex* const (&p)[3],
                      double area, const sSpanAxis& su, const sSpanAxis& sv, std::int32_t xs, std::int32_t y,
                      std::int32_t count, std::uint32_t* colours, Read read) {
  if (!su.Small(count) || !sv.Small(count)) {
    for (std::int32_t i = 0; i < count; ++i) {
      const std::int32_t x = xs + i;
      const std::int32_t column = su.At(edges, p, area, true, x, xs, y);
      colours[i] = read(texture.Row(sv.At(edges, p, area, false, x, xs, y)), column);
    }
    return;
  }
  double columns[kSpanChunk], rows[kSpanChunk], nearU[kSpanChunk], nearV[kSpanChunk];
  for (std::int32_t from = 0; from < count; from += kSpanChunk) {
    const std::int32_t n = std::min(kSpanChunk, count - from);
    StepTexelIndices(su, from, n, columns, nearU);
    StepTexelIndices(sv, from, n, rows, nearV);
    for (std::int32_t k = 0; k < n; ++k) {
      const std::int32_t x = xs + from + k;
      const std::int32_t column = nearU[k] != 0 ? su.Exact(edges, p, area, true, x, y)
                                                : Wrap(static_cast<std::int32_t>(columns[k]), su.size);
      const std::int32_t row = nearV[k] != 0 ? sv.Exact(edges, p, area, false, x, y)
                                             : Wrap(static_cast<std::int32_t>(rows[k]), sv.size);
      colours[from + k] = read(texture.Row(row), column);
    }
  }
}

// A triangle of one diffuse colour, row by row: the covered span of each row found once, the texels
// stepped along it, stage 0 and the blend run over the row. Every pixel comes out as the per-pixel
// rule gives it (the interpolated diffuse of equal corners is that colour exactly).
void DrawTriangleSpans(cD3DDevice& device, cPixelBuffer& target, const D3DVertex& a, const D3DVertex& b0,
                       const D3DVertex& c0, const cPixelBuffer* texture) {
  sTriangle triangle;
  if (!triangle.SetUp(a, b0, c0, target)) return;
  const auto& p = triangle.p;
  const auto& edges = triangle.edges;
  const double area = triangle.area;
  const std::int32_t x0 = triangle.x0, x1 = triangle.x1, y0 = triangle.y0, y1 = triangle.y1;
  if (x0 >= x1) return;
  const std::int32_t tw = texture ? texture->Width() : 1;
  const std::int32_t th = texture ? texture->Height() : 1;
  const D3DRenderStates& states = device.m_RenderStates;
  const std::uint32_t diffuse = a.diffuse;
  std::uint32_t* colours = ColourScratch(static_cast<std::size_t>(x1 - x0)).data();
  // The rounding error of a stepped coordinate stays far below a millionth of a texel for any
  // coordinates the corners can hold; the guard is wider still.
  auto guardOf = [&](bool isU, std::int32_t size) {
    double most = 0;
    for (const D3DVertex* v : p) most = std::max(most, std::fabs(static_cast<double>(isU ? v->u : v->v)) * size);
    return 1e-6 + most * 1e-9;
  };
  sSpanAxis su, sv;
  su.size = tw;
  sv.size = th;
  su.guard = guardOf(true, tw);
  sv.guard = guardOf(false, th);
  for (std::int32_t y = y0; y < y1; ++y) {
    std::int32_t xs, xe;
    RowSpan(edges, y, x0, x1, &xs, &xe);
    const std::int32_t count = xe - xs;
    if (count <= 0) continue;
    su.start = TexelCoordinate(edges, p, area, true, xs, y, tw);
    sv.start = TexelCoordinate(edges, p, area, false, xs, y, th);
    su.step = count > 1 ? (TexelCoordinate(edges, p, area, true, xe - 1, y, tw) - su.start) / (count - 1) : 0;
    sv.step = count > 1 ? (TexelCoordinate(edges, p, area, false, xe - 1, y, th) - sv.start) / (count - 1) : 0;
    if (!texture) {
      std::fill(colours, colours + count, kWhite);
    } else {
      // Texels by row of the texture: a turned span crosses many, so each pixel is read on its own,
      // in the texture's format chosen once a span.
      auto gather = [&](auto read) { GatherSpanTexels(*texture, edges, p, area, su, sv, xs, y, count, colours, read); };
      switch (texture->Format()) {
        case PixelFormat::Argb8888:
          gather([](const std::uint8_t* row, std::int32_t x) { return LoadPixel<std::uint32_t>(row, x); });
          break;
        case PixelFormat::Xrgb8888:
          gather([](const std::uint8_t* row, std::int32_t x) {
            return 0xFF000000u | LoadPixel<std::uint32_t>(row, x);
          });
          break;
        case PixelFormat::Argb1555:
          gather([](const std::uint8_t* row, std::int32_t x) {
            return UnpackColour(PixelFormat::Argb1555, LoadPixel<std::uint16_t>(row, x));
          });
          break;
        default:
          gather([format = texture->Format()](const std::uint8_t* row, std::int32_t x) {
            return UnpackColour(format, ReadPixel(row, x, format));
          });
          break;
      }
    }
    ShadeColours(device.m_Stage0, colours, count, diffuse, states.textureFactor);
    PutColours(states, target, y, xs, colours, count, false);
  }
}

bool IsAxisAligned(const cVertexBuffer& vb) {
  const D3DVertex* v = vb.m_Vertices.data();
  return v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y && v[0].u == v[1].u &&
         v[2].u == v[3].u && v[0].v == v[2].v && v[1].v == v[3].v && v[0].diffuse == v[1].diffuse &&
         v[0].diffuse == v[2].diffuse && v[0].diffuse == v[3].diffuse;
}

}  // namespace

std::uint64_t QuadPixelsDrawnOneByOne() { return t_PixelsOneByOne; }

void SetQuadReferenceRule(bool on) { t_ReferenceRule = on; }

std::uint32_t CombineColour(std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2, std::uint32_t textureFactor) {
  const std::uint32_t k = textureFactor >> 24;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= CombineChannel(op, Channel(arg1, shift), Channel(arg2, shift), k) << shift;
  return out;
}

std::uint32_t CombineAlpha(std::uint32_t op, std::uint32_t arg1, std::uint32_t arg2, std::uint32_t textureFactor) {
  return CombineChannel(op, arg1 >> 24, arg2 >> 24, textureFactor >> 24);
}

HRESULT DrawQuad(cD3DDevice& device, const cVertexBuffer& vertices, const cPixelBuffer* texture) {
  if (device.Lost()) return D3D_OK;
  const std::shared_ptr<cPixelBuffer>& target = device.RenderTarget();
  if (!target || target->Empty()) return D3DERR_INVALIDCALL;
  if (texture && texture->Empty()) texture = nullptr;
  if (texture == target.get()) {
    // Drawing a texture onto itself reads it as it was before the draw (the hardware leaves this
    // undefined; reading pixels already drawn would smear them).
    thread_local cPixelBuffer snapshot;
    if (snapshot.Width() != texture->Width() || snapshot.Height() != texture->Height() ||
        snapshot.Format() != texture->Format() || snapshot.Empty()) {
      if (!snapshot.Create(texture->Width(), texture->Height(), texture->Format())) return E_OUTOFMEMORY;
    }
    std::memcpy(snapshot.Bits(), texture->Bits(), texture->SizeBytes());
    texture = &snapshot;
  }
  if (IsAxisAligned(vertices)) {
    DrawAxisQuad(device, *target, vertices, texture);
  } else {
    const auto& v = vertices.m_Vertices;
    const bool oneColour = v[0].diffuse == v[1].diffuse && v[0].diffuse == v[2].diffuse &&
                           v[0].diffuse == v[3].diffuse;
    const auto draw = oneColour && !t_ReferenceRule ? DrawTriangleSpans : DrawTriangle;
    draw(device, *target, v[0], v[1], v[2], texture);
    draw(device, *target, v[1], v[2], v[3], texture);
  }
  return D3D_OK;
}

void WriteQuadVertices(cVertexBuffer& vertices, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                       std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh, std::int32_t textureWidth,
                       std::int32_t textureHeight, std::uint32_t diffuse) {
  const float tw = static_cast<float>(std::max(textureWidth, 1));
  const float th = static_cast<float>(std::max(textureHeight, 1));
  const float left = static_cast<float>(x) - 0.5f, top = static_cast<float>(y) - 0.5f;
  const float right = static_cast<float>(x + w) - 0.5f, bottom = static_cast<float>(y + h) - 0.5f;
  const float u0 = static_cast<float>(sx) / tw, u1 = static_cast<float>(sx + sw) / tw;
  const float v0 = static_cast<float>(sy) / th, v1 = static_cast<float>(sy + sh) / th;
  vertices.m_Vertices[0] = {left, top, 0, 1, diffuse, u0, v0};
  vertices.m_Vertices[1] = {left, bottom, 0, 1, diffuse, u0, v1};
  vertices.m_Vertices[2] = {right, top, 0, 1, diffuse, u1, v0};
  vertices.m_Vertices[3] = {right, bottom, 0, 1, diffuse, u1, v1};
}
