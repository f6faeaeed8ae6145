// The row and span loops of the quads against the plain per-pixel rule: every pixel of every case
// must come out the same, turned or not, shaded or not, clipped at the target's edges or not.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "platform/display/quad.h"

namespace {

struct sGeometry {
  const char* name;
  double degrees;
  float width, height;  // the quad's sides in pixels
  float cx, cy;         // its centre on the target
  float texelsAcross;   // texture width the quad shows (a stretch when it differs from width)
};

// clang-format off
const sGeometry kGeometries[] = {
    {"upright",          0,    13, 9,  12, 10, 13},
    {"upright stretch",  0,    20, 7,  12, 10, 9},
    {"upright clipped",  0,    30, 25, 2,  3,  30},
    {"slight turn",      3,    17, 11, 12, 10, 17},
    {"thirty",           30,   19, 13, 12, 10, 19},
    {"forty-five",       45,   16, 16, 12.5f, 9.5f, 16},
    {"right angle",      90,   14, 6,  12, 10, 14},
    {"upside down",      180,  14, 6,  12, 10, 14},
    {"steep",            255,  21, 5,  12, 10, 21},
    {"turned clipped",   33,   40, 30, 0,  19, 40},
    {"turned past both", 120,  60, 50, 12, 10, 60},
    {"turned stretch",   60,   18, 12, 12, 10, 7},
};
// clang-format on

struct sShade {
  const char* name;
  std::uint32_t diffuse;
  D3DTextureStage stage;
  bool blend;
};

// clang-format off
const sShade kShades[] = {
    {"copy",         0xFFFFFFFF, {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE}, true},
    {"tint",         0x80406090, {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE}, true},
    {"faint tint",   0x10FF00FF, {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE}, true},
    {"unblended",    0xC0A0B0C0, {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE}, false},
    {"subtract",     0xFF336699, {D3DTOP_SUBTRACT,  D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE}, true},
    {"factor fill",  0x7F102030, {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR}, true},
};
// clang-format on

struct sFormats {
  PixelFormat target;
  PixelFormat texture;
  bool textured;
};

const sFormats kFormats[] = {
    {PixelFormat::Xrgb8888, PixelFormat::Argb8888, true},
    {PixelFormat::Argb8888, PixelFormat::Argb8888, true},
    {PixelFormat::Xrgb8888, PixelFormat::Xrgb8888, true},
    {PixelFormat::Xrgb8888, PixelFormat::Argb8888, false},
    {PixelFormat::Rgb565, PixelFormat::Argb1555, true},
    {PixelFormat::Rgb565, PixelFormat::Argb8888, false},
    {PixelFormat::Argb1555, PixelFormat::Argb8888, false},
};

constexpr std::int32_t kTargetW = 25, kTargetH = 21;
constexpr std::int32_t kTextureW = 32, kTextureH = 16;

// Texels of every kind: transparent, opaque and partly transparent, in random colours; the pixels
// under them random too, the unused bits of a 32-bit target included.
void Scribble(cPixelBuffer& buffer, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (std::int32_t y = 0; y < buffer.Height(); ++y) {
    for (std::int32_t x = 0; x < buffer.Width(); ++x) {
      const std::uint32_t pick = random() % 4;
      const std::uint32_t alpha = pick == 0 ? 0 : pick == 1 ? 0xFF : random() & 0xFF;
      const std::uint32_t argb = alpha << 24 | (random() & 0xFFFFFF);
      buffer.SetPixel(x, y, BytesPerPixel(buffer.Format()) == 4 ? argb : PackColour(buffer.Format(), argb));
    }
  }
}

// The device drawing onto a new target of format, scribbled from seed, with stage 0 and the usual
// blend (on or off); the target.
std::shared_ptr<cPixelBuffer> StartDevice(cD3DDevice& device, PixelFormat format, std::uint32_t seed,
                                          const D3DTextureStage& stage, bool blend, std::int32_t width = kTargetW,
                                          std::int32_t height = kTargetH) {
  auto target = std::make_shared<cPixelBuffer>();
  EXPECT_TRUE(target->Create(width, height, format));
  Scribble(*target, seed);
  EXPECT_EQ(device.SetRenderTarget(target), D3D_OK);
  device.m_Stage0 = stage;
  device.m_RenderStates.alphaBlendEnable = blend;
  device.m_RenderStates.srcBlend = D3DBLEND_SRCALPHA;
  device.m_RenderStates.destBlend = D3DBLEND_INVSRCALPHA;
  return target;
}

// The quad of a geometry, corners in the strip's order, turned about its centre.
cVertexBuffer QuadOf(const sGeometry& g, std::uint32_t diffuse) {
  const double a = g.degrees * 3.14159265358979323846 / 180;
  const double s = std::sin(a), c = std::cos(a);
  const float u1 = g.texelsAcross / kTextureW, v1 = g.height / kTextureH;
  const float corners[4][4] = {{-g.width / 2, -g.height / 2, 0, 0},
                               {-g.width / 2, g.height / 2, 0, v1},
                               {g.width / 2, -g.height / 2, u1, 0},
                               {g.width / 2, g.height / 2, u1, v1}};
  cVertexBuffer vb;
  for (int i = 0; i < 4; ++i) {
    const float x = corners[i][0], y = corners[i][1];
    vb.m_Vertices[static_cast<std::size_t>(i)] = {
        static_cast<float>(x * c - y * s + g.cx - 0.5), static_cast<float>(x * s + y * c + g.cy - 0.5), 0, 1,
        diffuse, corners[i][2], corners[i][3]};
  }
  return vb;
}

// The target after the quad, by the fast loops or by the reference rule.
cPixelBuffer Draw(const sGeometry& g, const sShade& shade, const sFormats& formats, const cPixelBuffer& texture,
                  bool reference, std::int32_t width = kTargetW, std::int32_t height = kTargetH) {
  cD3DDevice device(D3DCaps{}, nullptr);
  const auto target = StartDevice(device, formats.target, 7, shade.stage, shade.blend, width, height);
  device.m_RenderStates.textureFactor = shade.diffuse;
  SetQuadReferenceRule(reference);
  EXPECT_EQ(DrawQuad(device, QuadOf(g, shade.diffuse), formats.textured ? &texture : nullptr), D3D_OK);
  SetQuadReferenceRule(false);
  return *target;
}

TEST(QuadRowsTest, RowAndSpanLoopsDrawEveryPixelAsThePerPixelRule) {
  for (const sFormats& formats : kFormats) {
    cPixelBuffer texture;
    ASSERT_TRUE(texture.Create(kTextureW, kTextureH, formats.texture));
    Scribble(texture, 3);
    for (const sShade& shade : kShades) {
      for (const sGeometry& g : kGeometries) {
        const cPixelBuffer fast = Draw(g, shade, formats, texture, false);
        const cPixelBuffer reference = Draw(g, shade, formats, texture, true);
        std::int32_t changed = 0;
        for (std::int32_t y = 0; y < kTargetH; ++y) {
          for (std::int32_t x = 0; x < kTargetW; ++x) {
            ASSERT_EQ(fast.Pixel(x, y), reference.Pixel(x, y))
                << g.name << ", " << shade.name << ", target format " << static_cast<int>(formats.target)
                << ", textured " << formats.textured << " at " << x << "," << y;
          }
        }
        // The case draws something: a quad left out by both would prove nothing.
        cPixelBuffer before;
        ASSERT_TRUE(before.Create(kTargetW, kTargetH, formats.target));
        Scribble(before, 7);
        for (std::int32_t y = 0; y < kTargetH; ++y)
          for (std::int32_t x = 0; x < kTargetW; ++x) changed += before.Pixel(x, y) != reference.Pixel(x, y);
        EXPECT_GT(changed, 0) << g.name << ", " << shade.name;
      }
    }
  }
}

// Turned spans hundreds of pixels long, stepped in chunks, and a quad whose texture repeats so often
// that its coordinates are stepped one pixel at a time: the same pixels as the per-pixel rule.
TEST(QuadRowsTest, LongTurnedSpansDrawEveryPixelAsThePerPixelRule) {
  constexpr std::int32_t kWideW = 300, kWideH = 24;
  // clang-format off
  const sGeometry wide[] = {
      {"long thirty",   30,  340, 60, 150, 12, 340},
      {"long steep",    100, 60,  340, 150, 12, 60},
      {"long backward", 200, 340, 40, 150, 12, 340},
      {"far repeat",    20,  340, 60, 150, 12, 3e9f},
  };
  // clang-format on
  const sFormats& formats = kFormats[0];
  cPixelBuffer texture;
  ASSERT_TRUE(texture.Create(kTextureW, kTextureH, formats.texture));
  Scribble(texture, 5);
  for (const sGeometry& g : wide) {
    const cPixelBuffer fast = Draw(g, kShades[0], formats, texture, false, kWideW, kWideH);
    const cPixelBuffer reference = Draw(g, kShades[0], formats, texture, true, kWideW, kWideH);
    for (std::int32_t y = 0; y < kWideH; ++y)
      for (std::int32_t x = 0; x < kWideW; ++x)
        ASSERT_EQ(fast.Pixel(x, y), reference.Pixel(x, y)) << g.name << " at " << x << "," << y;
  }
}

}  // namespace

// The 16-bit copies: upright quads of 16-bit texels onto 16-bit targets, as the game copies its
// pictures at 16 bits. Rows of every shape a key-span description knows (none kept, all kept, a
// few runs, scattered), so that the copy guided by the spans meets each.
struct sCopy16 {
  const char* name;
  std::int32_t x, y, w, h, sx, sy, sw, sh;
};

// clang-format off
const sCopy16 kCopies16[] = {
    {"inside, odd width",        3,  2, 13, 9,  5,  0,  13, 9},
    {"whole texture",            0,  0, 32, 16, 0,  0,  32, 16},
    {"clipped left and top",    -4, -3, 20, 12, 0,  0,  20, 12},
    {"clipped right and bottom", 15, 14, 17, 10, 7,  4,  17, 10},
    {"one pixel wide",           6,  1, 1,  15, 30, 1,  1,  15},
    {"stretched",                0,  1, 25, 19, 3,  2,  9,  5},
    {"shrunk",                   2,  2, 7,  5,  1,  0,  29, 15},
    {"mirrored",                 1,  3, 13, 8,  20, 2,  -13, 8},
    {"wrapping across",          0,  0, 19, 7,  25, 3,  19, 7},
    {"wrapping down",            4,  0, 11, 20, 9,  10, 11, 20},
};
// clang-format on

struct sFormats16 {
  PixelFormat target;
  PixelFormat texture;
  bool blend;
  const char* stageName;
  D3DTextureStage stage;
};

constexpr D3DTextureStage kModulateCopy{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
                                        D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
constexpr D3DTextureStage kSelectCopy{D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE,
                                      D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};

// clang-format off
const sFormats16 kFormats16[] = {
    {PixelFormat::Rgb565,   PixelFormat::Argb1555, true,  "modulate", kModulateCopy},
    {PixelFormat::Argb1555, PixelFormat::Argb1555, true,  "modulate", kModulateCopy},
    {PixelFormat::Rgb565,   PixelFormat::Argb1555, false, "select",   kSelectCopy},
    {PixelFormat::Argb1555, PixelFormat::Argb1555, false, "modulate", kModulateCopy},
    {PixelFormat::Rgb565,   PixelFormat::Rgb565,   true,  "select",   kSelectCopy},
    {PixelFormat::Argb1555, PixelFormat::Rgb565,   true,  "modulate", kModulateCopy},
    {PixelFormat::Rgb565,   PixelFormat::Rgb565,   false, "modulate", kModulateCopy},
};
// clang-format on

// Row 0 transparent, row 1 opaque, rows 2 and 3 one and two runs, the rest random (a quarter
// transparent). An Rgb565 texture has no transparency: the same colours, all opaque.
void Scribble16(cPixelBuffer& texture, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (std::int32_t y = 0; y < texture.Height(); ++y) {
    for (std::int32_t x = 0; x < texture.Width(); ++x) {
      bool kept = (random() & 3) != 0;
      if (y == 0) kept = false;
      if (y == 1) kept = true;
      if (y == 2) kept = x >= 7 && x < 20;
      if (y == 3) kept = (x >= 2 && x < 9) || (x >= 24 && x < 31);
      const std::uint32_t argb = (kept ? 0xFF000000u : 0) | (random() & 0xFFFFFF);
      texture.SetPixel(x, y, PackColour(texture.Format(), argb));
    }
  }
}

cPixelBuffer DrawCopy16(const sCopy16& copy, const sFormats16& formats, const cPixelBuffer& texture, bool reference) {
  cD3DDevice device(D3DCaps{}, nullptr);
  const auto target = StartDevice(device, formats.target, 9, formats.stage, formats.blend);
  cVertexBuffer vb;
  WriteQuadVertices(vb, copy.x, copy.y, copy.w, copy.h, copy.sx, copy.sy, copy.sw, copy.sh, texture.Width(),
                    texture.Height(), 0xFFFFFFFF);
  SetQuadReferenceRule(reference);
  EXPECT_EQ(DrawQuad(device, vb, &texture), D3D_OK);
  SetQuadReferenceRule(false);
  return *target;
}

TEST(QuadRowsTest, SixteenBitCopiesDrawEveryPixelAsThePerPixelRule) {
  for (const sFormats16& formats : kFormats16) {
    for (const sCopy16& copy : kCopies16) {
      // A texture of its own for each case: its first copy goes by rows, the later ones by its key
      // spans once they are described.
      cPixelBuffer texture;
      ASSERT_TRUE(texture.Create(kTextureW, kTextureH, formats.texture));
      Scribble16(texture, 5);
      const cPixelBuffer reference = DrawCopy16(copy, formats, texture, true);
      for (int round = 0; round < 3; ++round) {
        const std::uint64_t oneByOne = QuadPixelsDrawnOneByOne();
        const cPixelBuffer fast = DrawCopy16(copy, formats, texture, false);
        EXPECT_EQ(QuadPixelsDrawnOneByOne(), oneByOne) << copy.name << ": not by the row loops";
        for (std::int32_t y = 0; y < kTargetH; ++y)
          for (std::int32_t x = 0; x < kTargetW; ++x)
            ASSERT_EQ(fast.Pixel(x, y), reference.Pixel(x, y))
                << copy.name << ", target " << static_cast<int>(formats.target) << ", texture "
                << static_cast<int>(formats.texture) << ", blend " << formats.blend << ", " << formats.stageName
                << ", round " << round << " at " << x << "," << y;
      }
      cPixelBuffer before;
      ASSERT_TRUE(before.Create(kTargetW, kTargetH, formats.target));
      Scribble(before, 9);
      std::int32_t changed = 0;
      for (std::int32_t y = 0; y < kTargetH; ++y)
        for (std::int32_t x = 0; x < kTargetW; ++x) changed += before.Pixel(x, y) != reference.Pixel(x, y);
      EXPECT_GT(changed, 0) << copy.name;
    }
  }
}
