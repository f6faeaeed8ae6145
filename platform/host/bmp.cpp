#include "platform/host/bmp.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "platform/host/game_files.h"

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;  // the old OS/2 header: 16-bit sizes, 3-byte colours
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kMasksInHeaderBytes = 52;  // headers this long or longer carry the masks

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

// Little-endian reads at a position known to lie inside the file.
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// A channel of a masked pixel brought to 0..255.
std::uint32_t MaskedChannel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  std::uint64_t max = mask >> shift;
  std::uint64_t value = (pixel & mask) >> shift;
  return static_cast<std::uint32_t>(value * 255 / max);
}

}  // namespace

std::array<BmpColour, 256> cBitmap::ColourTable256() const {
  std::array<BmpColour, 256> table{};
  for (std::size_t i = 0; i < m_ColourTable.size() && i < table.size(); ++i) table[i] = m_ColourTable[i];
  return table;
}

std::uint8_t cBitmap::PixelIndex(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = Row(y);
  switch (m_BitsPerPixel) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8:
      return row[x];
    default:
      return 0;
  }
}

std::uint32_t cBitmap::PixelRgb(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = Row(y);
  switch (m_BitsPerPixel) {
    case 1:
    case 4:
    case 8: {
      std::uint8_t index = PixelIndex(x, y);
      if (index >= m_ColourTable.size()) return 0;
      const BmpColour& c = m_ColourTable[index];
      return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
    }
    case 24: {
      const std::uint8_t* p = row + x * 3;
      return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    }
    case 16:
    case 32: {
      std::uint32_t pixel = m_BitsPerPixel == 16 ? static_cast<std::uint32_t>(row[x * 2] | (row[x * 2 + 1] << 8))
                                                 : static_cast<std::uint32_t>(row[x * 4]) | (row[x * 4 + 1] << 8) |
                                                       (row[x * 4 + 2] << 16) | (std::uint32_t{row[x * 4 + 3]} << 24);
      return (MaskedChannel(pixel, m_Masks[0]) << 16) | (MaskedChannel(pixel, m_Masks[1]) << 8) |
             MaskedChannel(pixel, m_Masks[2]);
    }
    default:
      return 0;
  }
}

std::optional<cBitmap> DecodeBmp(std::span<const std::uint8_t> file) {
  const std::uint64_t fileSize = file.size();
  if (fileSize < kFileHeaderBytes + 4 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint64_t bitsOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, kFileHeaderBytes);
  const bool core = headerSize == kCoreHeaderBytes;
  if (!core && headerSize < kInfoHeaderBytes) return std::nullopt;
  if (kFileHeaderBytes + std::uint64_t{headerSize} > fileSize) return std::nullopt;

  cBitmap bitmap;
  std::int64_t height = 0;
  std::uint32_t compression = BI_RGB;
  std::uint32_t coloursUsed = 0;
  if (core) {
    bitmap.m_Width = U16(file, 18);
    height = U16(file, 20);
    bitmap.m_BitsPerPixel = U16(file, 24);
  } else {
    bitmap.m_Width = static_cast<std::int32_t>(U32(file, 18));
    height = static_cast<std::int32_t>(U32(file, 22));
    bitmap.m_BitsPerPixel = U16(file, 28);
    compression = U32(file, 30);
    coloursUsed = U32(file, 46);
  }
  const int bpp = bitmap.m_BitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;
  // Run-length, JPEG and PNG contents are not read; bit fields only where they mean something.
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return std::nullopt;
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (bitmap.m_Width <= 0 || height <= 0 || bitmap.m_Width > kMaxBitmapSide || height > kMaxBitmapSide)
    return std::nullopt;
  bitmap.m_Height = static_cast<std::int32_t>(height);

  std::uint64_t tableStart = kFileHeaderBytes + std::uint64_t{headerSize};
  if (bpp == 16) bitmap.m_Masks = {0x7C00, 0x03E0, 0x001F};
  if (bpp == 32) bitmap.m_Masks = {0xFF0000, 0x00FF00, 0x0000FF};
  if (compression == BI_BITFIELDS) {
    // A plain info header is followed by the three masks; the longer headers hold them.
    std::uint64_t masksAt = kFileHeaderBytes + kInfoHeaderBytes;
    if (headerSize < kMasksInHeaderBytes) tableStart += 12;
    if (masksAt + 12 > fileSize) return std::nullopt;
    bitmap.m_Masks = {U32(file, masksAt), U32(file, masksAt + 4), U32(file, masksAt + 8)};
  }
  if (bitsOffset < tableStart || bitsOffset > fileSize) return std::nullopt;

  if (bpp <= 8) {
    const std::uint64_t maxColours = std::uint64_t{1} << bpp;
    std::uint64_t count = coloursUsed == 0 || coloursUsed > maxColours ? maxColours : coloursUsed;
    const std::uint64_t entryBytes = core ? 3 : 4;
    // A table that runs into the pixels is cut where the pixels begin.
    count = std::min(count, (bitsOffset - tableStart) / entryBytes);
    bitmap.m_ColourTable.resize(count);
    for (std::uint64_t i = 0; i < count; ++i) {
      std::size_t at = tableStart + i * entryBytes;
      bitmap.m_ColourTable[i] = {file[at], file[at + 1], file[at + 2], core ? std::uint8_t{0} : file[at + 3]};
    }
  }

  const std::uint64_t rowBytes = (std::uint64_t{static_cast<std::uint32_t>(bitmap.m_Width)} * bpp + 31) / 32 * 4;
  const std::uint64_t bitsBytes = rowBytes * static_cast<std::uint64_t>(height);
  if (bitsBytes > fileSize - bitsOffset) return std::nullopt;
  bitmap.m_RowBytes = static_cast<std::int32_t>(rowBytes);
  bitmap.m_Bits.resize(bitsBytes);
  for (std::int64_t y = 0; y < height; ++y) {
    std::int64_t stored = topDown ? y : height - 1 - y;
    const std::uint8_t* from = file.data() + bitsOffset + static_cast<std::uint64_t>(stored) * rowBytes;
    std::copy(from, from + rowBytes, bitmap.m_Bits.begin() + static_cast<std::ptrdiff_t>(y * rowBytes));
  }
  return bitmap;
}

std::optional<cBitmap> LoadBmpFile(std::string_view gamePath) {
  if (gamePath.empty()) return std::nullopt;
  std::optional<GameFileInfo> info = StatGameFile(gamePath);
  if (!info || info->isDirectory || info->size > kMaxBitmapFileBytes) return std::nullopt;
  GameFile file = OpenGameFile(gamePath, "rb");
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes(info->size);
  std::size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
  // The file may have changed size since it was looked at: only what was read counts.
  bytes.resize(read);
  return DecodeBmp(bytes);
}
