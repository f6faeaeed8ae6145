// The key spans of a picture: how rows are described, that copies guided by them give what the
// per-pixel rule gives, and that every write to the picture (a draw, a fill, a lock) drops them.
#include <cstring>
#include <random>

#include "platform/display/key_spans.h"
#include "tests/platform/display/draw_fixture.h"

namespace {

// ---- the description of rows

struct sRowCase {
  const char* pixels;  // '.' left out, 'o' opaque, 'p' kept but partly transparent
  RowShape shape;
  std::int32_t first, end;
  std::vector<std::pair<std::int32_t, std::int32_t>> runs;
};

// 64 pixels a row: up to 64 / 16 = 4 runs are kept as runs.
const sRowCase kRowCases[] = {
    {"................................................................", RowShape::Empty, 0, 0, {}},
    {"oooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooo", RowShape::Solid, 0, 64, {}},
    {"...oooo.............ooooo.......................................", RowShape::Spans, 3, 25, {{3, 7}, {20, 25}}},
    {"o......o......o......o.........................................o", RowShape::Scattered, 0, 64, {}},
    {"o..............o..............o...............................oo", RowShape::Spans, 0, 64,
     {{0, 1}, {15, 16}, {30, 31}, {62, 64}}},
    {"........oooooooooopoooooooooo...................................", RowShape::Blended, 8, 29, {}},
    {"ooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooop", RowShape::Blended, 0, 64, {}},
};

TEST(KeySpans, RowsAreDescribedByTheirRunsOfKeptPixels) {
  for (const int bytes : {1, 2, 4}) {
    // The key is the value 0x5A..., opaque pixels have every bit of opaqueMask, partial ones not all.
    const std::uint32_t mask = bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
    const sKeyRule rule{mask, 0x5A5A5A5Au & mask, 0x80u};
    const std::int32_t width = 64, height = static_cast<std::int32_t>(std::size(kRowCases));
    const std::int32_t pitch = width * bytes + 5;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(pitch) * height);
    for (std::int32_t y = 0; y < height; ++y)
      for (std::int32_t x = 0; x < width; ++x) {
        const char c = kRowCases[y].pixels[x];
        const std::uint32_t value = c == '.' ? 0x5A5A5A5Au : c == 'o' ? 0x81u + static_cast<std::uint32_t>(x) : 0x01u;
        std::memcpy(bits.data() + static_cast<std::size_t>(y) * pitch + static_cast<std::size_t>(x) * bytes, &value,
                    static_cast<std::size_t>(bytes));
      }
    cKeySpans spans;
    spans.Build(bits.data(), width, height, pitch, bytes, rule);
    ASSERT_TRUE(spans.Valid());
    for (std::int32_t y = 0; y < height; ++y) {
      SCOPED_TRACE(std::string(kRowCases[y].pixels) + " at " + std::to_string(bytes) + " bytes");
      const sRowSpans& row = spans.Row(y);
      EXPECT_EQ(row.shape, kRowCases[y].shape);
      EXPECT_EQ(row.first, kRowCases[y].first);
      EXPECT_EQ(row.end, kRowCases[y].end);
      std::vector<std::pair<std::int32_t, std::int32_t>> runs;
      for (const sPixelSpan& run : spans.Runs(row)) runs.emplace_back(run.begin, run.end);
      EXPECT_EQ(runs, kRowCases[y].runs);
      // The runs met by a window, cut to it.
      if (row.shape == RowShape::Spans) {
        std::vector<std::pair<std::int32_t, std::int32_t>> cut;
        ForEachRun(spans, row, 5, 22, [&](std::int32_t b, std::int32_t e, const sPixelSpan&) { cut.emplace_back(b, e); });
        std::vector<std::pair<std::int32_t, std::int32_t>> expect;
        for (const auto& [b, e] : kRowCases[y].runs)
          if (b < 22 && e > 5) expect.emplace_back(std::max(b, 5), std::min(e, 22));
        EXPECT_EQ(cut, expect);
      }
    }
  }
}

// ---- copies guided by the spans

class KeySpansBlitTest : public DrawTest {
 protected:
  static constexpr std::int32_t kWidth = 96, kHeight = 64;

  // A sprite sheet: discs in 16 x 16 cells with key around them, a solid band, a band of noise, an
  // empty band, and (Direct3D) a few partly transparent texels.
  std::vector<std::uint32_t> Sheet(bool d3d, std::uint32_t key, std::uint32_t valueMask) {
    std::mt19937 random(17);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    auto opaque = [&] {
      std::uint32_t v = d3d ? (0xFF000000u | (random() & 0xFFFFFF)) : (random() & valueMask);
      return !d3d && v == key ? v ^ 1 : v;
    };
    auto left = [&] { return d3d ? (random() & 0xFFFFFF) : key; };
    for (std::int32_t y = 0; y < kHeight; ++y)
      for (std::int32_t x = 0; x < kWidth; ++x) {
        const double dx = x % 16 - 7.5, dy = y % 16 - 7.5;
        std::uint32_t p;
        if (y >= 32 && y < 36)
          p = opaque();
        else if (y >= 36 && y < 40)
          p = random() & 1 ? opaque() : left();
        else if (y >= 40 && y < 48)
          p = left();
        else
          p = dx * dx + dy * dy <= 36 ? opaque() : left();
        if (d3d && y == 50 && x == 40) p = 0x80336699u;
        pixels[static_cast<std::size_t>(y) * kWidth + x] = p;
      }
    return pixels;
  }

  static void Load(DDSURFACEDATA& record, const std::vector<std::uint32_t>& pixels) {
    cPixelBuffer& buffer = PixelsOf(record);
    for (std::int32_t y = 0; y < kHeight; ++y)
      for (std::int32_t x = 0; x < kWidth; ++x) buffer.SetPixel(x, y, pixels[static_cast<std::size_t>(y) * kWidth + x]);
  }

  // What the per-pixel rule makes of a copy of (sx, sy, w, h) to (x, y) onto before.
  static std::vector<std::uint32_t> Expected(const cPixelBuffer& before, const cPixelBuffer& source, bool d3d,
                                             std::uint32_t key, std::int32_t x, std::int32_t y, std::int32_t w,
                                             std::int32_t h, std::int32_t sx, std::int32_t sy) {
    std::vector<std::uint32_t> out;
    const std::uint32_t keep = before.Format() == PixelFormat::Xrgb8888 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    for (std::int32_t py = 0; py < before.Height(); ++py)
      for (std::int32_t px = 0; px < before.Width(); ++px) {
        std::uint32_t d = before.Pixel(px, py);
        const std::int32_t u = sx + px - x, v = sy + py - y;
        if (px >= x && px < x + w && py >= y && py < y + h && u >= 0 && v >= 0 && u < kWidth && v < kHeight) {
          const std::uint32_t s = source.Pixel(u, v), a = s >> 24;
          if (!d3d) {
            d = s == key ? d : s;
          } else if (a != 0) {
            std::uint32_t blended = 0;
            for (int shift = 0; shift < 32; shift += 8)
              blended |= ((2 * (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a)) + 255) / 510) << shift;
            d = blended & keep;
          }
        }
        out.push_back(d);
      }
    return out;
  }

  static std::vector<std::uint32_t> All(const cPixelBuffer& pixels) {
    std::vector<std::uint32_t> out;
    for (std::int32_t y = 0; y < pixels.Height(); ++y)
      for (std::int32_t x = 0; x < pixels.Width(); ++x) out.push_back(pixels.Pixel(x, y));
    return out;
  }

  // Copies the window onto a fresh destination (noise) and checks every pixel against the rule.
  void CheckCopy(DDSURFACEDATA& src, DDSURFACEDATA& dst, bool d3d, std::uint32_t key, std::int32_t x,
                 std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx, std::int32_t sy) {
    cPixelBuffer& to = PixelsOf(dst);
    std::mt19937 random(static_cast<std::uint32_t>(x * 131 + y * 7 + w));
    const std::uint32_t fillMask = to.BytesPerPixel() == 4 ? 0x00FFFFFFu : (1u << (8 * to.BytesPerPixel())) - 1;
    for (std::int32_t py = 0; py < to.Height(); ++py)
      for (std::int32_t px = 0; px < to.Width(); ++px) to.SetPixel(px, py, random() & fillMask);
    const cPixelBuffer before = to;
    DDBlt(&dst, x, y, w, h, &src, sx, sy, 1);
    EXPECT_EQ(All(to), Expected(before, PixelsOf(src), d3d, key, x, y, w, h, sx, sy))
        << "copy of " << w << "x" << h << " from (" << sx << ", " << sy << ") to (" << x << ", " << y << ")";
  }
};

struct sWindow {
  std::int32_t x, y, w, h, sx, sy;
};

// Whole sheet, windows that cut runs at both ends, and windows cut by the destination's edges.
const sWindow kWindows[] = {
    {0, 0, 96, 64, 0, 0},  {5, 3, 40, 30, 3, 1},   {0, 0, 13, 64, 21, 0}, {-7, -5, 50, 40, 0, 0},
    {60, 20, 96, 64, 0, 0}, {10, 10, 9, 1, 35, 50}, {2, 2, 64, 12, 30, 34},
};

TEST_F(KeySpansBlitTest, CopiesGuidedBySpansGiveWhatThePerPixelRuleGives) {
  struct sMode {
    BackEnd backEnd;
    int bpp;
  };
  for (const sMode mode : {sMode{BackEnd::DirectDraw, 8}, sMode{BackEnd::DirectDraw, 16},
                           sMode{BackEnd::DirectDraw, 32}, sMode{BackEnd::Direct3D, 32}}) {
    SCOPED_TRACE(std::string(BackEndName(mode.backEnd == BackEnd::Direct3D)) + " at " + std::to_string(mode.bpp));
    ASSERT_TRUE(Start(mode.backEnd, mode.bpp));
    const bool d3d = mode.backEnd == BackEnd::Direct3D;
    const std::uint32_t valueMask = mode.bpp == 32 ? 0xFFFFFFFFu : (1u << mode.bpp) - 1;
    const std::uint32_t key = (mode.bpp == 32 ? 0x00FF00FFu : 0xF81Fu) & valueMask;
    g_TransparentPixel = key;
    DDSURFACEDATA src, dst;
    Make(src, kWidth, kHeight, 1);
    Make(dst, 80, 48);
    Load(src, Sheet(d3d, key, valueMask));
    for (const sWindow& w : kWindows) CheckCopy(src, dst, d3d, key, w.x, w.y, w.w, w.h, w.sx, w.sy);
    EXPECT_TRUE(PixelsOf(src).HasKeySpans()) << "the copies after the first used the spans";
    DDReleaseSurface(&src);
    DDReleaseSurface(&dst);
  }
}

// ---- every write drops them

TEST_F(KeySpansBlitTest, ADrawAFillOrALockOfTheSourceDropsItsSpans) {
  enum class Write { Draw, Fill, SurfaceLockWrite, DirectDrawLock };
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D})
    for (Write write : {Write::Draw, Write::Fill, Write::SurfaceLockWrite, Write::DirectDrawLock}) {
      const bool d3d = backEnd == BackEnd::Direct3D;
      if (d3d && write == Write::DirectDrawLock) continue;
      SCOPED_TRACE(std::string(BackEndName(d3d)) + " write " + std::to_string(static_cast<int>(write)));
      ASSERT_TRUE(Start(backEnd, 32));
      const std::uint32_t key = 0x00FF00FF;
      g_TransparentPixel = key;
      DDSURFACEDATA src, dst, patch;
      Make(src, kWidth, kHeight, 1);
      Make(dst, 80, 48);
      Make(patch, 8, 8);
      Load(src, Sheet(d3d, key, 0xFFFFFFFF));
      PixelsOf(patch).Fill(d3d ? 0xFF123456u : 0x123456u);
      CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
      CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
      ASSERT_TRUE(PixelsOf(src).HasKeySpans());

      // Each write fills transparent rows (40..47) and clears part of a disc.
      switch (write) {
        case Write::Draw:
          DDBlt(&src, 4, 40, 8, 8, &patch, 0, 0, 0);
          break;
        case Write::Fill:
          DDFillRectColor(&src, 4, 40, 8, 8, d3d ? 0xFF123456u : 0x123456u);
          break;
        case Write::SurfaceLockWrite:
        case Write::DirectDrawLock: {
          void* bits = nullptr;
          std::int32_t pitch = 0;
          SurfaceLock lock;
          DDSURFACEDESC2 desc;
          if (write == Write::SurfaceLockWrite) {
            ASSERT_TRUE(lock.Lock(&src, &bits, &pitch));
          } else {
            ASSERT_TRUE(DDLock(&src, &desc, &bits, 32));
            pitch = desc.lPitch / 4;
          }
          // While a lock of the pixels themselves is open, copies neither build nor use spans: a pixel
          // written through the pointer after a copy shows in the next one. (A Direct3D render target
          // is locked through its system-memory copy, which reaches the texture at the unlock.)
          CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
          CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
          if (write == Write::DirectDrawLock || lock.Buffer() == &PixelsOf(src)) {
            EXPECT_FALSE(PixelsOf(src).HasKeySpans());
          }
          auto* row = static_cast<std::uint32_t*>(bits);
          for (std::int32_t y = 40; y < 48; ++y)
            for (std::int32_t x = 4; x < 12; ++x) row[y * pitch + x] = d3d ? 0xFF123456u : 0x123456u;
          CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
          if (write == Write::DirectDrawLock) DDUnlock(&src);
          break;
        }
      }
      EXPECT_FALSE(PixelsOf(src).HasKeySpans()) << "dropped by the write";
      EXPECT_EQ(PixelsOf(src).Pixel(5, 41) & 0xFFFFFF, 0x123456u);
      CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
      CheckCopy(src, dst, d3d, key, 0, 0, 80, 48, 0, 0);
      EXPECT_TRUE(PixelsOf(src).HasKeySpans()) << "built again for the new pixels";
      DDReleaseSurface(&src);
      DDReleaseSurface(&dst);
      DDReleaseSurface(&patch);
    }
}

}  // namespace
