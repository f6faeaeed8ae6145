#include "script/flow_change.h"

#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/flow_command.h"
#include "script/move_commands.h"

void DoChangeFlow(cCharaBase& object, const cFlowCommand& command, std::int32_t now) {
  // The hero whose flows are being walked takes the change after its walk. (Whose flows run is
  // what matters: a change to any other object, hero 0 included while a character runs, is safe at
  // once.)
  if (now == 0 && g_PlayScene != nullptr && g_PlayScene->m_ExecChara == &object) {
    if (auto* hero = dynamic_cast<cHero*>(&object); hero != nullptr) {
      hero->m_QueuedFlowChanges.push_back(command);
      return;
    }
  }
  const std::int32_t id = static_cast<std::uint8_t>(CommandParam(command, 1));
  const std::int32_t facing = object.m_Def.m_Facing;
  switch (CommandParam(command, 0)) {
    case kFlowChangeAdd:
      AddFlows(object, command.m_Flows, facing, 1, -1);
      break;
    case kFlowChangeReplace:
      // The new flows take the place of the first one removed; with none removed they go last.
      AddFlows(object, command.m_Flows, facing, 1, object.RemoveFlowsById(id));
      break;
    case kFlowChangeDelete:
      object.RemoveFlowsById(id);
      break;
    default:
      break;
  }
}
