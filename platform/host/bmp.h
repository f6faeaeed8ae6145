#pragma once
// Our own reader of BMP files. The display needs the file's exact colour table and indices (the
// palette image, 8-bit surfaces, the palette-index maps), so no loader that converts colours will do.
//
// Read: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed (16 and 32 bits also with bit-field
// masks), bottom-up and top-down, with the Windows and the old OS/2 headers. Compressed files are
// refused. So is every file whose sizes, offsets or counts do not fit what it holds: nothing past
// the end of a file is ever read, and no size in a file makes the reader allocate more than the
// file itself.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One colour-table entry, in the order of the file.
struct BmpColour {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;

  bool operator==(const BmpColour&) const = default;
};

// The largest bitmap taken, each way. Larger ones are refused as damaged.
constexpr std::int32_t kMaxBitmapSide = 16384;
// The largest file read.
constexpr std::uint64_t kMaxBitmapFileBytes = std::uint64_t{512} << 20;

class cBitmap {
 public:
  std::int32_t Width() const { return m_Width; }
  std::int32_t Height() const { return m_Height; }
  int BitsPerPixel() const { return m_BitsPerPixel; }
  // Bytes of one row as the file stores it (a multiple of 4).
  std::int32_t RowBytes() const { return m_RowBytes; }
  // Row y of the picture, y = 0 the top row, whichever way the file stores its rows.
  const std::uint8_t* Row(std::int32_t y) const { return m_Bits.data() + static_cast<std::size_t>(y) * m_RowBytes; }

  // The colour table as the file gives it: at most 256 entries, none for 16, 24 and 32 bits.
  const std::vector<BmpColour>& ColourTable() const { return m_ColourTable; }
  // The table as 256 entries, those the file does not give zero.
  std::array<BmpColour, 256> ColourTable256() const;

  // The colour-table index of a pixel of a 1, 4 or 8-bit bitmap; 0 for deeper ones.
  std::uint8_t PixelIndex(std::int32_t x, std::int32_t y) const;
  // The colour of a pixel as 0x00RRGGBB: through the colour table (an index past the table gives
  // black) or from the pixel's own bits.
  std::uint32_t PixelRgb(std::int32_t x, std::int32_t y) const;

 private:
  friend std::optional<cBitmap> DecodeBmp(std::span<const std::uint8_t> file);

  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  int m_BitsPerPixel = 0;
  std::int32_t m_RowBytes = 0;
  // Channel masks of 16 and 32-bit pixels.
  std::array<std::uint32_t, 3> m_Masks{};
  std::vector<BmpColour> m_ColourTable;
  std::vector<std::uint8_t> m_Bits;  // rows top first
};

// Decodes a whole file image; nullopt when it is not a BMP this reader takes, or is damaged.
std::optional<cBitmap> DecodeBmp(std::span<const std::uint8_t> file);

// Reads and decodes a file of the game folder (a game path); nullopt when it is missing or refused.
std::optional<cBitmap> LoadBmpFile(std::string_view gamePath);
