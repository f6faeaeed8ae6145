// The flow-command lists of items: the dispatch of the flow command table and the run of a whole
// list within the logic step.
#include "script/flow_command_lists.h"

#include <cstddef>
#include <cstdint>

#include "platform/services/log.h"
#include "play/chara_base.h"
#include "play/play_scene.h"
#include "project/command_vocabulary.h"
#include "project/flow_command.h"
#include "script/command_dispatch.h"
#include "script/event_scripts.h"
#include "script/flow_change.h"
#include "script/effect_commands.h"
#include "script/presentation_commands.h"
#include "script/stage_commands.h"
#include "script/status_operations.h"
#include "script/wait_message_commands.h"

namespace {

// How many lists are running inside each other (アイテムの取得 runs one from within another).
std::int32_t g_ListDepth = 0;

std::int32_t FlowCmdNone(cCharaBase&, const cFlowCommand&) { return 0; }
std::int32_t FlowCmdChangeFlow(cCharaBase& object, const cFlowCommand& command) {
  DoChangeFlow(object, command, 0);
  return 0;
}
std::int32_t FlowCmdStageClear(cCharaBase& object, const cFlowCommand& command) {
  return DoStageClear(object, command);
}
std::int32_t FlowCmdGameWait(cCharaBase& object, const cFlowCommand& command) {
  DoGameWait(object, command);
  return 0;
}
// The first message of a list opens as usual; each later one follows it in its window.
std::int32_t FlowCmdMessage(cCharaBase& object, const cFlowCommand& command) {
  if (g_PlayScene == nullptr) return 0;
  DoMessage(object, command, g_PlayScene->m_MessageOpen);
  g_PlayScene->m_MessageOpen = 1;
  return 0;
}
std::int32_t FlowCmdWarp(cCharaBase& object, const cFlowCommand& command) {
  DoWarp(object, command);
  return 0;
}
std::int32_t FlowCmdSetTarget(cCharaBase& object, const cFlowCommand& command) {
  DoSetTarget(object, command);
  return 0;
}
std::int32_t FlowCmdStatusOperation(cCharaBase& object, const cFlowCommand& command) {
  ExecStatusOperation(object, command);
  return 0;
}
std::int32_t FlowCmdStatusOperation2(cCharaBase& object, const cFlowCommand& command) {
  DoStatusOperation2(object, command);
  return 0;
}
std::int32_t FlowCmdGetItem(cCharaBase& object, const cFlowCommand& command) {
  DoGetItem(object, command);
  return 0;
}
std::int32_t FlowCmdChangeGraphic(cCharaBase& object, const cFlowCommand& command) {
  DoChangeGraphic(object, command);
  return 0;
}
std::int32_t FlowCmdChangeBaseAnimeSet(cCharaBase& object, const cFlowCommand& command) {
  DoChangeBaseAnimeSet(object, command);
  return 0;
}
std::int32_t FlowCmdRunAnime(cCharaBase& object, const cFlowCommand& command) {
  DoRunAnime(object, command);
  return 0;
}
std::int32_t FlowCmdRunEffect(cCharaBase& object, const cFlowCommand& command) {
  DoRunEffect(object, command);
  return 0;
}
std::int32_t FlowCmdRunCharaEffect(cCharaBase& object, const cFlowCommand& command) {
  DoRunCharaEffect(object, command);
  return 0;
}
std::int32_t FlowCmdRunScrEffect(cCharaBase& object, const cFlowCommand& command) {
  DoRunScrEffect(object, command);
  return 0;
}
std::int32_t FlowCmdShowPicture(cCharaBase& object, const cFlowCommand& command) {
  DoShowPicture(object, command);
  return 0;
}
std::int32_t FlowCmdChangeScreenColour(cCharaBase& object, const cFlowCommand& command) {
  DoChangeScreenColour(object, command);
  return 0;
}
std::int32_t FlowCmdChangeBackground(cCharaBase& object, const cFlowCommand& command) {
  DoChangeBackground(object, command);
  return 0;
}
std::int32_t FlowCmdPlaySE(cCharaBase& object, const cFlowCommand& command) {
  DoPlaySE(command, object);
  return 0;
}
std::int32_t FlowCmdPlayBGM(cCharaBase&, const cFlowCommand& command) {
  DoPlayBGM(command);
  return 0;
}
std::int32_t FlowCmdRunCode(cCharaBase& object, const cFlowCommand& command) {
  DoRunCode(object, command);
  return 0;
}

// The row of a list's command in the flow table, or -1. A character command in a list runs as the
// flow command of the same label, as a flow command in a flow runs as its character command; one
// without a counterpart (moves, shots, flow control) has no row.
std::int32_t FlowRowOf(const cFlowCommand& command) {
  const std::int32_t number = command.m_CommandNumber;
  if (command.m_CommandSet == kFlowCommandSet)
    return number < static_cast<std::int32_t>(FlowDispatchTable.size()) ? number : -1;
  if (command.m_CommandSet != kCharaCommandSet) return -1;
  if (number == kCharaNone) return kFlowNone;
  const std::int32_t row = number - kFlowToCharaCommand;
  return row >= kFlowStageClear && row < static_cast<std::int32_t>(FlowDispatchTable.size()) ? row : -1;
}

std::int32_t EndOf(const cCharaBase& object) { return object.m_Hp <= 0 ? kListObjectDied : kListNormalEnd; }

// Keeps the count of running lists right however a list ends.
class cListDepth {
 public:
  cListDepth() { ++g_ListDepth; }
  ~cListDepth() { --g_ListDepth; }
  cListDepth(const cListDepth&) = delete;
  cListDepth& operator=(const cListDepth&) = delete;
};

}  // namespace

const std::array<FlowCommandHandler, 22> FlowDispatchTable{
    FlowCmdNone,                // 0 ""
    FlowCmdChangeFlow,          // 1 "フローの変更"
    FlowCmdStageClear,          // 2 "ステージクリア"
    FlowCmdGameWait,            // 3 "ゲームウエイト"
    FlowCmdMessage,             // 4 "メッセージ"
    FlowCmdWarp,                // 5 "ワープ"
    FlowCmdSetTarget,           // 6 "ターゲットの設定"
    FlowCmdStatusOperation,     // 7 "ステータスの操作"
    FlowCmdStatusOperation2,    // 8 "ステータスの操作2"
    FlowCmdGetItem,             // 9 "アイテムの取得"
    FlowCmdChangeGraphic,       // 10 "グラフィックの変更"
    FlowCmdChangeBaseAnimeSet,  // 11 "基本アニメセットの変更"
    FlowCmdRunAnime,            // 12 "アニメの実行"
    FlowCmdRunEffect,           // 13 "エフェクトの実行"
    FlowCmdRunCharaEffect,      // 14 "キャラエフェクトの実行"
    FlowCmdRunScrEffect,        // 15 "画面エフェクトの実行"
    FlowCmdShowPicture,         // 16 "ピクチャーの表示"
    FlowCmdChangeScreenColour,  // 17 "画面の色を変更"
    FlowCmdChangeBackground,    // 18 "背景の変更"
    FlowCmdPlaySE,              // 19 "効果音の再生"
    FlowCmdPlayBGM,             // 20 "BGMの再生"
    FlowCmdRunCode,             // 21 "コードの実行"
};

bool InFlowCommandList() { return g_ListDepth > 0; }

std::int32_t script::RunFlowCommands(cCharaBase& object, const CheckedVector<cFlowCommand>& commands) {
  if (g_ListDepth >= kMaxFlowListDepth) {
    static bool reported = false;
    if (!reported) {
      reported = true;
      ReportLogAndLog("Item command lists nested deeper than %d: the innermost one was not run", kMaxFlowListDepth);
    }
    return EndOf(object);
  }
  const cListDepth depth;
  if (g_PlayScene != nullptr) g_PlayScene->m_MessageOpen = 0;
  for (const cFlowCommand& command : commands) {
    std::int32_t result = 0;
    // A number the table lacks (a damaged file) does nothing.
    if (const std::int32_t row = FlowRowOf(command); row >= 0)
      result = FlowDispatchTable[static_cast<std::size_t>(row)](object, command);
    else
      ReportUnknownCommand(command.m_CommandSet, command.m_CommandNumber);
    if (object.m_Hp <= 0) return kListObjectDied;
    if (result != 0) return result;
  }
  return EndOf(object);
}

std::int32_t cEventScriptRuntime::RunFlowCommands(cCharaBase& object, const CheckedVector<cFlowCommand>& commands) {
  return script::RunFlowCommands(object, commands);
}
