#include "play/stage_bitmaps.h"

#include <algorithm>
#include <span>
#include <string>

#include "platform/display/display.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "project/database.h"

std::vector<DDSURFACEDATA> g_CharaExcSurfaces;
std::vector<SurfaceDescriptor> g_CharaExcDescriptors;
std::vector<DDSURFACEDATA> g_SwordSurfaces;
std::vector<SurfaceDescriptor> g_SwordDescriptors;
std::vector<DDSURFACEDATA> g_EffectSurfaces;
std::vector<SurfaceDescriptor> g_EffectDescriptors;

namespace {

constexpr std::int32_t kNoLink = -1;

// How one record of a database entry is made: which of the entry's files it shows, whether it is a
// system-memory shared copy (and of which record of the same entry), and whether it is mirrored by
// the entry's cell width.
struct sRecordPlan {
  std::int32_t file;          // 0: the entry's (first) file, 1: its second file
  std::int32_t systemMemory;  // shared copies live in system memory, like rows 22 to 39 of the table
  std::int32_t sharedOf;      // record of the entry whose image this one shows, or kNoLink
  bool mirrored;
};

// clang-format off
constexpr sRecordPlan kCharaExcPlan[kCharaExcRecords] = {
    {0, 0, kNoLink, false},  // as drawn
    {0, 0, kNoLink, true},   // mirrored cell by cell
    {0, 1, 0,       false},  // shared copy of the first
    {0, 1, 1,       true},   // shared copy of the second
};
constexpr sRecordPlan kSwordPlan[kSwordRecords] = {
    {0, 0, kNoLink, false},  // parts facing left
    {1, 0, kNoLink, false},  // parts facing right
    {0, 1, 0,       false},
    {1, 1, 1,       false},
};
constexpr sRecordPlan kEffectPlan[kEffectRecords] = {
    {0, 0, kNoLink, false},
    {0, 1, 0,       false},
};
// clang-format on

// What a list needs of one database entry.
struct sPictureEntry {
  const std::string* files[2];
  std::int32_t cellWidth;  // mirror cell width of the mirrored records
};

// Releases the list and builds it again for entries first .. count-1, getEntry(i) describing entry
// i. Every record of an entry gets its descriptor, then its surface; a picture that fails is named
// in the debug log with failText and its record stays empty. The shared copies are linked last,
// once the vector no longer moves (it is reserved for the whole list up front).
template <class GetEntry>
void BuildSurfaceList(std::vector<DDSURFACEDATA>& surfaces, std::vector<SurfaceDescriptor>& descriptors,
                      std::span<const sRecordPlan> plan, std::int32_t first, std::int32_t count, GetEntry getEntry,
                      const char* failText) {
  ReleaseSurfaceVector(surfaces);
  surfaces.clear();
  descriptors.clear();
  const std::size_t entries = count > first ? static_cast<std::size_t>(count - first) : 0;
  surfaces.reserve(entries * plan.size());
  descriptors.reserve(entries * plan.size());

  for (std::int32_t i = first; i < count; ++i) {
    const sPictureEntry entry = getEntry(i);
    const std::size_t base = descriptors.size();
    for (const sRecordPlan& record : plan) {
      const std::int32_t shared = record.sharedOf != kNoLink ? 1 : 0;
      const std::int32_t mirror = record.mirrored ? entry.cellWidth : 0;
      descriptors.emplace_back(entry.files[record.file]->c_str(), 1, record.systemMemory, 0, shared, 0, 0, mirror, 0, 0,
                               0);
    }
    for (std::size_t k = 0; k < plan.size(); ++k) {
      const SurfaceDescriptor& d = descriptors[base + k];
      DDSURFACEDATA& surface = surfaces.emplace_back();
      const std::int32_t result =
          CreateSurfaceFromFile(&surface, d.name, d.colourKey, g_DisplayParams.bpp, d.systemMemory, d.softwareTexture,
                                d.shared, d.paletteMap, d.mirrorCellWidth, d.mirrorCellHeight, 0);
      if (!CheckSurfaceResult(result)) LogF(failText, d.name.c_str());
    }
  }

  for (std::size_t base = 0; base < surfaces.size(); base += plan.size())
    for (std::size_t k = 0; k < plan.size(); ++k)
      if (plan[k].sharedOf != kNoLink) surfaces[base + k].shared = &surfaces[base + plan[k].sharedOf];
}

}  // namespace

std::int32_t CharaExcCellScale(const cBmpCharaExcDef& def) {
  return def.m_LargeCells ? std::clamp(def.m_CellScale, kMinCellScale, kMaxCellScale) : 1;
}

void LoadCharaBitmaps() {
  auto& table = g_Database.m_CharaBitmaps;
  BuildSurfaceList(
      g_CharaExcSurfaces, g_CharaExcDescriptors, kCharaExcPlan, 1, table.Size(),
      [&](std::int32_t i) {
        const cBmpCharaExcDef& def = table.At(i);
        return sPictureEntry{{&def.m_FileName, &def.m_FileName}, 32 * CharaExcCellScale(def)};
      },
      SJ("専用bmp %s 読み込み失敗！").c_str());
}

void LoadSwordBitmaps() {
  auto& table = g_Database.m_SwordTypes;
  BuildSurfaceList(
      g_SwordSurfaces, g_SwordDescriptors, kSwordPlan, 0, table.Size(),
      [&](std::int32_t i) {
        const cSwordTypeDef& def = table.At(i);
        return sPictureEntry{{&def.m_LeftFileName, &def.m_RightFileName}, 0};
      },
      SJ("ソード %s 読み込み失敗！").c_str());
}

void LoadEffectBitmaps() {
  auto& table = g_Database.m_Effects;
  BuildSurfaceList(
      g_EffectSurfaces, g_EffectDescriptors, kEffectPlan, 1, table.Size(),
      [&](std::int32_t i) {
        const cEffectDef& def = table.At(i);
        return sPictureEntry{{&def.m_FileName, &def.m_FileName}, 0};
      },
      SJ("エフェクト %s 読み込み失敗！").c_str());
}
