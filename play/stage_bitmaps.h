#pragma once
// The surface lists of stage play that follow the database rather than the fixed surface table:
// the dedicated character bitmaps, the sword pictures and the effect pictures. The play scene
// rebuilds them on every entry; each list is a vector of surface records beside a vector of the
// descriptors they were made from, and each shared copy in a list points at the record whose image
// it shows under Direct3D.
#include <cstdint>
#include <vector>

#include "platform/display/surface.h"

class cBmpCharaExcDef;

// Four records per dedicated bitmap 1 .. n-1 of the database (entry 0 is "none"): at 4(i-1) the
// sheet as drawn, then the sheet mirrored cell by cell, then the shared copies of those two.
extern std::vector<DDSURFACEDATA> g_CharaExcSurfaces;
extern std::vector<SurfaceDescriptor> g_CharaExcDescriptors;
// Four records per sword type 0 .. n-1 (every sword type is a usable sword, the default one too): at
// 4i the picture for parts facing left, then the one for parts facing right, then their shared
// copies, so that a swing draws from 4 x type + facing (+ 2 when scaled).
extern std::vector<DDSURFACEDATA> g_SwordSurfaces;
extern std::vector<SurfaceDescriptor> g_SwordDescriptors;
// Two records per effect 1 .. n-1: at 2(i-1) the picture, then its system-memory shared copy.
extern std::vector<DDSURFACEDATA> g_EffectSurfaces;
extern std::vector<SurfaceDescriptor> g_EffectDescriptors;

// Records per database entry in each list.
constexpr std::int32_t kCharaExcRecords = 4;
constexpr std::int32_t kSwordRecords = 4;
constexpr std::int32_t kEffectRecords = 2;

// Each releases its list's old surfaces and builds the list again from g_Database. A picture that
// does not load is named in the debug log and leaves its record empty (it draws nothing); the others
// still load, so play goes on.
void LoadCharaBitmaps();
void LoadSwordBitmaps();
void LoadEffectBitmaps();

// The cell size of a dedicated bitmap in units of 32 dots: its multiplier when large cells are on
// (kept within 1 .. 16 whatever the file said, so a cell row never holds less than one cell), else 1.
std::int32_t CharaExcCellScale(const cBmpCharaExcDef& def);
