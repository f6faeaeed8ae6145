#pragma once
// The 8-bit blend table: at 8 bits under DirectDraw the mixing of two colours is a palette index
// looked up here, entry a * 256 + b standing for the mix of colours a and b. Each game project has
// one table per 8-bit palette; the file is the bare table.
#include <array>
#include <cstdint>
#include <string>

constexpr std::size_t kBlendTableBytes = 256 * 256;
using BlendTable = std::array<std::uint8_t, kBlendTableBytes>;

// The table the 8-bit tint and half-translucency read; loaded before any 8-bit drawing.
extern BlendTable g_BlendTable;

// Reads the table from a game path. Direct3D does not use it: true at once, nothing read. A missing
// file, or one shorter than the table (a damaged file), gives false and leaves the table unchanged.
bool LoadBlendTable(BlendTable& table, const std::string& path);
