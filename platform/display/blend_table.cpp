#include "platform/display/blend_table.h"

#include <cstdio>

#include "platform/display/display.h"
#include "platform/host/game_files.h"

BlendTable g_BlendTable{};

bool LoadBlendTable(BlendTable& table, const std::string& path) {
  if (DisplayIsD3D()) return true;
  GameFile file = OpenGameFile(path, "rb");
  if (!file) return false;
  // Read aside first: a short file must not leave half a table behind.
  BlendTable read{};
  if (std::fread(read.data(), 1, read.size(), file.get()) != read.size()) return false;
  table = read;
  return true;
}
