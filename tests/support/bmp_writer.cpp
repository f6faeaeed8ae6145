#include "tests/support/bmp_writer.h"

#include "tests/support/byte_builder.h"

std::string MakeBmp(const BmpSpec& layout) {
  const bool masks = layout.compression == 3;
  const std::uint32_t tableBytes = static_cast<std::uint32_t>(layout.table.size()) * 4;
  const std::uint32_t offset = 14 + 40 + (masks ? 12 : 0) + tableBytes;
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(layout.width) * layout.bpp + 31) / 32 * 4;
  cByteBuilder rows;
  for (std::int32_t r = 0; r < layout.height; ++r) {
    const std::int32_t y = layout.topDown ? r : layout.height - 1 - r;
    std::vector<std::uint8_t> row(rowBytes, 0);
    for (std::int32_t x = 0; x < layout.width; ++x) {
      const std::uint32_t v = layout.pixels[static_cast<std::size_t>(y) * layout.width + x];
      switch (layout.bpp) {
        case 1:
          row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<std::uint8_t>((v & 0xF) << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = static_cast<std::uint8_t>(v);
          break;
        case 16:
          row[x * 2] = static_cast<std::uint8_t>(v);
          row[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
          break;
        case 24:
          row[x * 3] = static_cast<std::uint8_t>(v);
          row[x * 3 + 1] = static_cast<std::uint8_t>(v >> 8);
          row[x * 3 + 2] = static_cast<std::uint8_t>(v >> 16);
          break;
        case 32:
          row[x * 4] = static_cast<std::uint8_t>(v);
          row[x * 4 + 1] = static_cast<std::uint8_t>(v >> 8);
          row[x * 4 + 2] = static_cast<std::uint8_t>(v >> 16);
          row[x * 4 + 3] = static_cast<std::uint8_t>(v >> 24);
          break;
      }
    }
    rows.Bytes(row);
  }
  cByteBuilder file;
  file.Bytes("BM").U32(offset + static_cast<std::uint32_t>(rows.Size())).U16(0).U16(0).U32(offset);
  file.U32(40)
      .I32(layout.width)
      .I32(layout.topDown ? -layout.height : layout.height)
      .U16(1)
      .U16(static_cast<std::uint16_t>(layout.bpp));
  file.U32(layout.compression).U32(static_cast<std::uint32_t>(rows.Size())).I32(2835).I32(2835);
  file.U32(layout.coloursUsed.value_or(static_cast<std::uint32_t>(layout.table.size()))).U32(0);
  if (masks) file.U32(layout.masks[0]).U32(layout.masks[1]).U32(layout.masks[2]);
  for (const BmpColour& c : layout.table) file.U8(c.blue).U8(c.green).U8(c.red).U8(c.reserved);
  file.Append(rows);
  return file.Text();
}

std::vector<BmpColour> GreyTable(int count) {
  std::vector<BmpColour> table;
  for (int i = 0; i < count; ++i) {
    auto v = static_cast<std::uint8_t>(i);
    table.push_back({v, v, v, 0});
  }
  return table;
}
