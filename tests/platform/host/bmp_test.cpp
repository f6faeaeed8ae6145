#include "platform/host/bmp.h"

#include <gtest/gtest.h>

#include "tests/support/bmp_writer.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

void PutU32(std::string& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutU16(std::string& file, std::size_t at, std::uint16_t v) {
  file[at] = static_cast<char>(v & 0xFF);
  file[at + 1] = static_cast<char>(v >> 8);
}

// A 3 x 2 picture: the same colours whatever the depth, top row first.
const std::vector<std::uint32_t> kRgb = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
const std::vector<BmpColour> kTable = {{0, 0, 0xFF, 0},       {0, 0xFF, 0, 0},       {0xFF, 0, 0, 0},
                                       {0x56, 0x34, 0x12, 0}, {0xFF, 0xFF, 0xFF, 0}, {0, 0, 0, 0}};

TEST(BmpDecodeTest, EveryDepthAndOrderGivesTheSamePicture) {
  struct sCase {
    int bpp;
    bool topDown;
  };
  const sCase cases[] = {{4, false},  {4, true},  {8, false},  {8, true},
                         {24, false}, {24, true}, {32, false}, {32, true}};
  for (const sCase& c : cases) {
    BmpSpec layout{.width = 3, .height = 2, .topDown = c.topDown, .bpp = c.bpp};
    if (c.bpp <= 8) {
      layout.table = kTable;
      layout.pixels = {0, 1, 2, 3, 4, 5};
    } else {
      layout.pixels = kRgb;
    }
    std::optional<cBitmap> bitmap = DecodeBmp(Bytes(MakeBmp(layout)));
    ASSERT_TRUE(bitmap) << c.bpp << " " << c.topDown;
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(bitmap->Height(), 2);
    EXPECT_EQ(bitmap->BitsPerPixel(), c.bpp);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(bitmap->PixelRgb(x, y), kRgb[y * 3 + x]) << c.bpp << " " << c.topDown << " at " << x << "," << y;
      }
    }
    if (c.bpp <= 8) {
      EXPECT_EQ(bitmap->PixelIndex(1, 1), 4);
    }
  }
}

TEST(BmpDecodeTest, OneBitRowsAndSixteenBitMasks) {
  BmpSpec mono{.width = 10,
               .height = 2,
               .bpp = 1,
               .table = {{0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0}},
               .pixels = {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}};
  std::optional<cBitmap> bitmap = DecodeBmp(Bytes(MakeBmp(mono)));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->PixelIndex(0, 0), 1);
  EXPECT_EQ(bitmap->PixelIndex(8, 0), 0);
  EXPECT_EQ(bitmap->PixelIndex(9, 0), 1);
  EXPECT_EQ(bitmap->PixelRgb(9, 1), 0xFFFFFFu);

  // 5-6-5 through bit fields, and the plain 16-bit form (5-5-5).
  BmpSpec masked{.width = 2,
                 .height = 1,
                 .bpp = 16,
                 .pixels = {0xF800, 0x07FF},
                 .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x001F}};
  bitmap = DecodeBmp(Bytes(MakeBmp(masked)));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->PixelRgb(0, 0), 0xFF0000u);
  EXPECT_EQ(bitmap->PixelRgb(1, 0), 0x00FFFFu);
  BmpSpec plain{.width = 1, .height = 1, .bpp = 16, .pixels = {0x7C00}};
  bitmap = DecodeBmp(Bytes(MakeBmp(plain)));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->PixelRgb(0, 0), 0xFF0000u);
}

TEST(BmpDecodeTest, AShortColourTableLeavesTheRestZero) {
  BmpSpec layout{.width = 2, .height = 1, .bpp = 8, .table = GreyTable(16), .pixels = {3, 200}};
  for (auto& c : layout.table) c.reserved = 7;
  std::optional<cBitmap> bitmap = DecodeBmp(Bytes(MakeBmp(layout)));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->ColourTable().size(), 16u);
  std::array<BmpColour, 256> table = bitmap->ColourTable256();
  EXPECT_EQ(table[15], (BmpColour{15, 15, 15, 7}));
  for (int i = 16; i < 256; ++i) ASSERT_EQ(table[i], BmpColour{}) << i;
  EXPECT_EQ(bitmap->PixelRgb(0, 0), 0x030303u);
  // An index past the table is black.
  EXPECT_EQ(bitmap->PixelRgb(1, 0), 0u);
}

TEST(BmpDecodeTest, ATableCountPastThePixelsIsCutWhereThePixelsBegin) {
  BmpSpec layout{.width = 1, .height = 1, .bpp = 8, .table = GreyTable(4), .pixels = {2}};
  layout.coloursUsed = 256;
  std::optional<cBitmap> bitmap = DecodeBmp(Bytes(MakeBmp(layout)));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->ColourTable().size(), 4u);
  EXPECT_EQ(bitmap->PixelRgb(0, 0), 0x020202u);
}

TEST(BmpDecodeTest, DamagedFilesAreRefused) {
  const std::string good = MakeBmp(
      {.width = 4, .height = 4, .bpp = 8, .table = GreyTable(256), .pixels = std::vector<std::uint32_t>(16, 9)});
  ASSERT_TRUE(DecodeBmp(Bytes(good)));
  struct sCase {
    const char* what;
    std::string file;
  };
  auto with = [&](auto change) {
    std::string file = good;
    change(file);
    return file;
  };
  const sCase cases[] = {
      {"empty", ""},
      {"no signature", with([](std::string& f) { f[0] = 'X'; })},
      {"truncated pixels", good.substr(0, good.size() - 1)},
      {"truncated header", good.substr(0, 30)},
      {"offset past the end", with([](std::string& f) { PutU32(f, 10, 0x7FFFFFF0); })},
      {"offset inside the header", with([](std::string& f) { PutU32(f, 10, 20); })},
      {"header size too small", with([](std::string& f) { PutU32(f, 14, 20); })},
      {"header size past the end", with([](std::string& f) { PutU32(f, 14, 0xFFFFFFF0); })},
      {"huge width", with([](std::string& f) { PutU32(f, 18, 100000); })},
      {"huge height", with([](std::string& f) { PutU32(f, 22, 0x7FFFFFFF); })},
      {"most negative height", with([](std::string& f) { PutU32(f, 22, 0x80000000); })},
      {"negative width", with([](std::string& f) { PutU32(f, 18, 0xFFFFFFFC); })},
      {"zero height", with([](std::string& f) { PutU32(f, 22, 0); })},
      {"width beyond the data", with([](std::string& f) { PutU32(f, 18, 16000); })},
      {"3 bits per pixel", with([](std::string& f) { PutU16(f, 28, 3); })},
      {"run-length compressed", with([](std::string& f) { PutU32(f, 30, 1); })},
      {"bit fields at 8 bits", with([](std::string& f) { PutU32(f, 30, 3); })},
      {"PNG inside", with([](std::string& f) { PutU32(f, 30, 5); })},
  };
  for (const sCase& c : cases) EXPECT_FALSE(DecodeBmp(Bytes(c.file))) << c.what;
}

TEST(BmpDecodeTest, EveryCutOfAFileIsRefusedWithoutReadingPastIt) {
  // Under the sanitizer build, a read past the end of any of these fails the run.
  for (int bpp : {1, 4, 8, 24, 32}) {
    BmpSpec layout{.width = 5, .height = 3, .bpp = bpp};
    if (bpp <= 8) layout.table = GreyTable(1 << bpp);
    layout.pixels.assign(15, 1);
    const std::string file = MakeBmp(layout);
    for (std::size_t size = 0; size < file.size(); ++size) {
      std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_FALSE(DecodeBmp(cut)) << bpp << " bits, " << size << " bytes";
    }
  }
}

class BmpFileTest : public GameFolderTest {};

TEST_F(BmpFileTest, LoadsThroughTheGameFolderAndRefusesWhatIsNotThere) {
  WriteHostFile("Bmp/Block.BMP", MakeBmp({.width = 1, .height = 1, .bpp = 24, .pixels = {0xABCDEF}}));
  std::optional<cBitmap> bitmap = LoadBmpFile("bmp\\block.bmp");
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->PixelRgb(0, 0), 0xABCDEFu);
  EXPECT_FALSE(LoadBmpFile("bmp\\missing.bmp"));
  EXPECT_FALSE(LoadBmpFile(""));
  EXPECT_FALSE(LoadBmpFile("bmp"));
  WriteHostFile("bmp/text.bmp", "not a picture");
  EXPECT_FALSE(LoadBmpFile("bmp\\text.bmp"));
}

}  // namespace
