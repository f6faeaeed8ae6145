// "ステージクリア" and "ターゲットの設定": the end of the stage a script asks for, and the choice of
// the character an object aims at.
#include "script/stage_commands.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "play/chara_base.h"
#include "play/chara_search.h"
#include "play/flow_runner.h"
#include "play/play_scene.h"
#include "project/flow_command.h"
#include "project/save_data.h"
#include "project/world_map.h"
#include "script/move_commands.h"

namespace {

// The next stage of a clear (its first parameter).
constexpr std::int32_t kClearToNext = 0;
constexpr std::int32_t kClearToNumber = 1;
constexpr std::int32_t kClearWorld = 2;

// Whom a target is chosen from (its first parameter).
constexpr std::int32_t kTargetHero = 0;
constexpr std::int32_t kTargetSelf = 1;
constexpr std::int32_t kTargetNearest = 2;
constexpr std::int32_t kTargetFirst = 3;

// A place on the world map from the file: inside the map on that axis (0 for an empty map).
std::int32_t MapPlace(std::int32_t value, std::int32_t size) { return std::max(0, std::min(value, size - 1)); }

// The characters of one group; null for a group the file names wrongly.
cObjectList<cCharaBase*>* GroupList(cPlayScene& scene, std::int32_t group) {
  if (group < 0 || group >= kObjectGroups || group >= scene.m_GroupCharas.Size()) return nullptr;
  return &scene.m_GroupCharas[static_cast<std::size_t>(group)];
}

cCharaBase* ChooseTarget(cPlayScene& scene, cCharaBase& object, const cFlowCommand& command) {
  const std::int32_t whom = CommandParam(command, 0);
  const std::int32_t group = CommandParam(command, 1);
  const bool allGroups = CommandParam(command, 2) != 0;
  const std::int32_t mode = CommandParam(command, 3);
  CharaFilter filter;
  filter.excludeIdOn = CommandParam(command, 4);
  filter.excludedId = object.m_Id;
  filter.skipGuarded = CommandParam(command, 5);
  filter.skipUntargetable = CommandParam(command, 6);
  filter.onlyNonBlock = CommandParam(command, 7);
  filter.matchCid = CommandParam(command, 8);
  filter.cid = CommandParam(command, 9);
  switch (whom) {
    case kTargetHero:
      return scene.Hero(0);
    case kTargetSelf:
      return &object;
    case kTargetNearest: {
      const double x = object.ScreenCentreX();
      const double y = object.ScreenCentreY();
      if (!allGroups) {
        auto* list = GroupList(scene, group);
        return list != nullptr ? FindNearestCharaEx(x, y, *list, mode, filter) : nullptr;
      }
      // The nearest of each group, then the nearest of those.
      std::array<cCharaBase*, kObjectGroups> nearest{};
      for (std::int32_t g = 0; g < kObjectGroups; ++g)
        if (auto* list = GroupList(scene, g); list != nullptr)
          nearest[static_cast<std::size_t>(g)] = FindNearestCharaEx(x, y, *list, mode, filter);
      return FindNearestCharaEx(x, y, nearest, mode, filter);
    }
    case kTargetFirst: {
      for (std::int32_t g = allGroups ? 0 : group; g < (allGroups ? kObjectGroups : group + 1); ++g) {
        auto* list = GroupList(scene, g);
        if (list == nullptr) continue;
        if (cCharaBase* found = FindFirstCharaEx(*list, filter); found != nullptr) return found;
      }
      return nullptr;
    }
    default:
      return nullptr;
  }
}

}  // namespace

std::int32_t DoStageClear(cCharaBase&, const cFlowCommand& command) {
  if (g_PlayScene == nullptr) return 1;
  cPlayScene& scene = *g_PlayScene;
  switch (CommandParam(command, 0)) {
    case kClearToNumber:
      scene.m_NextStage = CommandParam(command, 1);
      break;
    case kClearWorld:
      scene.m_NextStage = 0;
      break;
    case kClearToNext:
    default:
      scene.m_NextStage = g_SaveData.m_StageIndex < std::numeric_limits<std::int32_t>::max()
                              ? g_SaveData.m_StageIndex + 1
                              : g_SaveData.m_StageIndex;
      break;
  }
  if (CommandParam(command, 2) != 0) {
    g_SaveData.m_MapX = MapPlace(CommandParam(command, 3), g_WorldMap.m_Width);
    g_SaveData.m_MapY = MapPlace(CommandParam(command, 4), g_WorldMap.m_Height);
    g_SaveData.m_MapDir = 0;
  }
  return 1;
}

void CmdStageClear(cCharaBase& chara, cCommandInstance& instance) {
  if (g_PlayScene == nullptr || instance.m_Command == nullptr) return;
  g_PlayScene->m_StageEndRequest = DoStageClear(chara, *instance.m_Command);
}

void DoSetTarget(cCharaBase& object, const cFlowCommand& command) {
  if (g_PlayScene == nullptr) return;
  // SetTarget leaves the old target's list and joins the new one's (once).
  object.SetTarget(ChooseTarget(*g_PlayScene, object, command));
}

void CmdSetTarget(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command != nullptr) DoSetTarget(chara, *instance.m_Command);
}
