// The row loops of the copies against one-line scalar references, over row lengths around the
// vector widths and the places where the left-out pixels fall, at an aligned and an unaligned start.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/display/blit_rows.h"
#include "platform/display/pixel_buffer.h"
#include "tests/support/row_patterns.h"

namespace {

constexpr std::size_t kOffsets[] = {0, 3};  // bytes from an aligned start

// count pixels of T starting offset bytes into a buffer with a guard pixel on each side.
template <typename T>
struct sRow {
  std::vector<std::uint8_t> bytes;
  std::size_t offset;
  sRow(std::int32_t count, std::size_t offsetBytes)
      : bytes(offsetBytes + (static_cast<std::size_t>(count) + 2) * sizeof(T), 0xA5), offset(offsetBytes) {}
  std::uint8_t* Pixels() { return bytes.data() + offset + sizeof(T); }
  T Get(std::int32_t i) const { return LoadPixel<T>(bytes.data() + offset + sizeof(T), i); }
  void Set(std::int32_t i, T v) { StorePixel<T>(Pixels(), i, v); }
};

struct sCase {
  std::int32_t count;
  RowMarks keys;
  std::size_t offset;
};

std::vector<sCase> AllCases() {
  std::vector<sCase> cases;
  for (std::int32_t n : kRowLengths)
    for (RowMarks k : kRowMarks)
      for (std::size_t o : kOffsets) cases.push_back({n, k, o});
  return cases;
}

std::string Name(const sCase& c) {
  return "count " + std::to_string(c.count) + " keys " + std::to_string(static_cast<int>(c.keys)) + " offset " +
         std::to_string(c.offset);
}

template <typename T>
void CheckKeyedCopy(T key) {
  std::mt19937 random(11);
  for (const sCase& c : AllCases()) {
    SCOPED_TRACE(Name(c));
    sRow<T> src(c.count, c.offset), dst(c.count, c.offset), expect(c.count, c.offset);
    for (std::int32_t i = 0; i < c.count; ++i) {
      T v = static_cast<T>(random());
      if (v == key) v = static_cast<T>(v ^ 1);
      src.Set(i, MarkedAt(c.keys, i, c.count) ? key : v);
      dst.Set(i, static_cast<T>(random()));
    }
    expect.bytes = dst.bytes;
    for (std::int32_t i = 0; i < c.count; ++i) expect.Set(i, src.Get(i) == key ? expect.Get(i) : src.Get(i));
    CopyRowKeyed<T>(dst.Pixels(), src.Pixels(), c.count, key);
    EXPECT_EQ(dst.bytes, expect.bytes);
  }
}

TEST(RowCopy, KeyedCopiesMatchTheScalarRuleAtEveryWidth) {
  CheckKeyedCopy<std::uint8_t>(0xF3);
  CheckKeyedCopy<std::uint16_t>(0xF81F);
  CheckKeyedCopy<std::uint32_t>(0x00FF00FF);
}

// The usual blend of one channel, as the quad's pixel rule writes it.
std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t a = s >> 24;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8)
    out |= ((2 * (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a)) + 255) / 510) << shift;
  return out;
}

// Texels of the row: transparent where the pattern puts its keys, else opaque, or (partial) of any
// alpha 1..254 at every third of the others.
void MakeTexels(sRow<std::uint32_t>& src, sRow<std::uint32_t>& dst, const sCase& c, bool partial,
                std::mt19937& random) {
  for (std::int32_t i = 0; i < c.count; ++i) {
    std::uint32_t alpha = partial && i % 3 == 1 ? 1 + random() % 254 : 255;
    src.Set(i, MarkedAt(c.keys, i, c.count) ? (random() & 0xFFFFFF) : (alpha << 24) | (random() & 0xFFFFFF));
    dst.Set(i, random());
  }
}

TEST(RowCopy, OpaqueTexelCopyMatchesTheScalarRuleAndReportsPartialTexels) {
  std::mt19937 random(5);
  for (const std::uint32_t keepMask : {0x00FFFFFFu, 0xFFFFFFFFu})
    for (const bool partial : {false, true})
      for (const sCase& c : AllCases()) {
        SCOPED_TRACE(Name(c) + (partial ? " partial" : "") + " mask " + std::to_string(keepMask));
        sRow<std::uint32_t> src(c.count, c.offset), dst(c.count, c.offset);
        MakeTexels(src, dst, c, partial, random);
        sRow<std::uint32_t> expect = dst;
        bool anyPartial = false;
        for (std::int32_t i = 0; i < c.count; ++i) {
          const std::uint32_t s = src.Get(i), a = s >> 24;
          anyPartial |= a != 0 && a != 255;
          expect.Set(i, a == 255 ? (s & keepMask) : expect.Get(i));
        }
        EXPECT_EQ(CopyOpaqueTexels32(dst.Pixels(), src.Pixels(), c.count, keepMask), !anyPartial);
        EXPECT_EQ(dst.bytes, expect.bytes);
      }
}

TEST(RowCopy, TexelBlendMatchesTheQuadsPixelRule) {
  std::mt19937 random(9);
  for (const std::uint32_t keepMask : {0x00FFFFFFu, 0xFFFFFFFFu})
    for (const sCase& c : AllCases()) {
      SCOPED_TRACE(Name(c) + " mask " + std::to_string(keepMask));
      sRow<std::uint32_t> src(c.count, c.offset), dst(c.count, c.offset);
      MakeTexels(src, dst, c, true, random);
      sRow<std::uint32_t> expect = dst;
      for (std::int32_t i = 0; i < c.count; ++i)
        expect.Set(i, (src.Get(i) >> 24) == 0 ? expect.Get(i) : Over(src.Get(i), expect.Get(i)) & keepMask);
      BlendTexels32(dst.Pixels(), src.Pixels(), c.count, keepMask);
      EXPECT_EQ(dst.bytes, expect.bytes);
    }
}

TEST(RowCopy, OpaqueCopyAndColourBlendMatchTheScalarRule) {
  std::mt19937 random(3);
  for (const std::uint32_t colour : {0x00123456u, 0x80FF8040u, 0xFF0000FFu, 0x01FFFFFFu})
    for (const sCase& c : AllCases()) {
      SCOPED_TRACE(Name(c) + " colour " + std::to_string(colour));
      sRow<std::uint32_t> src(c.count, c.offset), dst(c.count, c.offset);
      MakeTexels(src, dst, c, false, random);
      sRow<std::uint32_t> copied = dst, blended = dst;
      sRow<std::uint32_t> expectCopy = dst, expectBlend = dst;
      for (std::int32_t i = 0; i < c.count; ++i) {
        expectCopy.Set(i, src.Get(i) & 0x00FFFFFF);
        expectBlend.Set(i, (colour >> 24) == 0 ? dst.Get(i) : Over(colour, dst.Get(i)) & 0x00FFFFFF);
      }
      CopyTexels32(copied.Pixels(), src.Pixels(), c.count, 0x00FFFFFF);
      BlendColour32(blended.Pixels(), c.count, colour, 0x00FFFFFF);
      EXPECT_EQ(copied.bytes, expectCopy.bytes);
      EXPECT_EQ(blended.bytes, expectBlend.bytes);
    }
}

TEST(RowCopy, TheShiftDivisionIsTheRoundedQuotientForEveryBlendSum) {
  // BlendTexels32 divides by 255 with shifts; every sum a blend can make must round as the quad does.
  for (std::uint32_t s = 0; s < 256; ++s)
    for (const std::uint32_t a : {1u, 64u, 127u, 128u, 200u, 254u}) {
      const std::uint32_t texel = (a << 24) | (s << 16) | (s << 8) | s;
      for (std::uint32_t d = 0; d < 256; d += 5) {
        const std::uint32_t pixel = 0xFF000000u | (d << 16) | (d << 8) | d;
        std::uint32_t out = pixel;
        BlendTexels32(reinterpret_cast<std::uint8_t*>(&out), reinterpret_cast<const std::uint8_t*>(&texel), 1,
                      0xFFFFFFFF);
        ASSERT_EQ(out, Over(texel, pixel)) << "s " << s << " a " << a << " d " << d;
      }
    }
}

TEST(RowCopy, SixteenBitTexelCopyMatchesTheColourRuleForEveryTexel) {
  // Every 16-bit value as a texel, at an aligned and an unaligned start, read in order and through
  // a column table (backwards), with and without the blend that leaves transparent texels out.
  constexpr std::int32_t kAll = 65536;
  const PixelFormat kFormats[] = {PixelFormat::Rgb565, PixelFormat::Argb1555};
  std::vector<std::int32_t> backwards(kAll);
  for (std::int32_t i = 0; i < kAll; ++i) backwards[static_cast<std::size_t>(i)] = kAll - 1 - i;
  std::mt19937 random(17);
  for (const PixelFormat to : kFormats)
    for (const PixelFormat from : kFormats)
      for (const bool blend : {false, true})
        for (const bool gather : {false, true})
          for (const std::size_t offset : kOffsets) {
            SCOPED_TRACE("to " + std::to_string(static_cast<int>(to)) + " from " +
                         std::to_string(static_cast<int>(from)) + " blend " + std::to_string(blend) + " gather " +
                         std::to_string(gather) + " offset " + std::to_string(offset));
            sRow<std::uint16_t> src(kAll, offset), dst(kAll, offset);
            for (std::int32_t i = 0; i < kAll; ++i) {
              src.Set(i, static_cast<std::uint16_t>(i));
              dst.Set(i, static_cast<std::uint16_t>(random()));
            }
            sRow<std::uint16_t> expect = dst;
            for (std::int32_t i = 0; i < kAll; ++i) {
              const std::uint32_t texel = UnpackColour(from, gather ? kAll - 1 - i : i);
              if (!blend || (texel >> 24) != 0) expect.Set(i, static_cast<std::uint16_t>(PackColour(to, texel)));
            }
            CopyTexels16({dst.Pixels(), src.Pixels(), gather ? backwards.data() : nullptr, 0, kAll, to, from, blend});
            ASSERT_EQ(dst.bytes, expect.bytes);
          }
}

}  // namespace
