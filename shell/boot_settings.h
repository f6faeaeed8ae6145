#pragma once
// The boot settings in user_data\Boot.dat: which renderer to start with and whether the launcher,
// the small dialog that asks for it, is shown at all. Read at start-up only when System.ini leaves
// the renderer open (Direct3D 2 or more).
//
// File: the version word, then the body: u32 2, renderer and don't-show as 4-byte numbers, u32 0.
#include <cstdint>

#include "platform/services/record.h"

class cBootSettings : public cDataRecord {
 public:
  // Direct3D, launcher shown.
  cBootSettings();
  void RegisterFields(std::uint32_t version) override;

  // The file at path, read over a copy: 1 when read whole; 0 when it did not open or was damaged,
  // and the settings stay as they were.
  int Load(const char* path);

  std::int32_t m_Renderer = 1;  // 1 Direct3D, 0 DirectDraw
  std::int32_t m_DontShow = 0;  // 1: start without the launcher, with m_Renderer
};

extern cBootSettings g_BootSettings;

// The launcher's part of the start-up: the renderer of the boot settings at path, asking the
// player first unless the launcher is switched off. 1 Direct3D or 0 DirectDraw; -1 when the player
// cancelled the launcher, and the program ends.
std::int32_t ChooseBootRenderer(const char* path);

// The launcher itself, over the main window: 1 when the player starts the game (the choice then in
// g_BootSettings and written to path), 0 when cancelled.
std::int32_t RunLauncher(const char* path);
