// アイテムの取得: an item of a palette applies its command list to hero 0 as if taken.
#include <cstdint>

#include "play/flow_runner.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/common_palette.h"
#include "project/flow_command.h"
#include "project/item_def.h"
#include "project/stage_data.h"
#include "script/flow_command_lists.h"
#include "script/move_commands.h"

namespace {

constexpr std::int32_t kCommonPaletteChoice = 0;
constexpr std::int32_t kStagePaletteChoice = 1;

// The command list of the named item; null for a palette number that names none, or a palette
// without entries. An index outside a palette is reported and its entry 0 stands in.
const CheckedVector<cFlowCommand>* ItemCommands(std::int32_t palette, std::int32_t index) {
  const CheckedVector<cItemDef>* items = nullptr;
  if (palette == kCommonPaletteChoice) items = &g_CommonPalette.m_Items;
  if (palette == kStagePaletteChoice) items = &g_Stage.m_PaletteItems;
  if (items == nullptr) return nullptr;
  if (items->empty()) {
    ReportBadVectorIndex(index, 0, CheckedElementSize<cItemDef>());
    return nullptr;
  }
  return &items->At(index).m_Commands;
}

}  // namespace

void DoGetItem(cCharaBase&, const cFlowCommand& command) {
  if (g_PlayScene == nullptr) return;
  cHero* hero = g_PlayScene->Hero0();
  if (hero == nullptr) return;
  // The item's commands act on hero 0, whoever runs the command; an item no palette holds runs as
  // one without commands.
  const CheckedVector<cFlowCommand>* commands = ItemCommands(CommandParam(command, 0), CommandParam(command, 1));
  const CheckedVector<cFlowCommand> none;
  g_PlayScene->m_StageEndRequest = script::RunFlowCommands(*hero, commands != nullptr ? *commands : none);
}

void CmdGetItem(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command != nullptr) DoGetItem(chara, *instance.m_Command);
}
