// The table of character commands and their move set-ups, and the dispatch of one step of a
// running command.
#include "script/command_dispatch.h"

#include <bitset>
#include <cstddef>
#include <cstdint>

#include "platform/services/log.h"
#include "play/flow_runner.h"
#include "project/command_vocabulary.h"
#include "script/code.h"
#include "script/flow_command_lists.h"
#include "script/move_commands.h"
#include "script/presentation_commands.h"
#include "script/shot_commands.h"
#include "script/stage_commands.h"
#include "script/status_operations.h"
#include "script/wait_message_commands.h"

namespace {

// "" and "ウエイト": the command's duration is all there is to them.
void CmdNothing(cCharaBase&, cCommandInstance&) {}

}  // namespace

bool FirstCommandReport(CommandReport what, std::int32_t set, std::int32_t number) {
  static std::bitset<2 * 2 * 256> reported;
  const std::size_t slot = (what == kReportUnknown ? 0u : 512u) + (set == kCharaCommandSet ? 0u : 256u) +
                           (static_cast<std::size_t>(number) & 0xFFu);
  if (reported.test(slot)) return false;
  reported.set(slot);
  return true;
}

void ReportUnknownCommand(std::int32_t set, std::int32_t number) {
  if (FirstCommandReport(kReportUnknown, set, number)) ReportLogAndLog("Unknown command %d (set %d): ignored", number, set);
}

const std::array<CharaCommandHandler, 37> CharaDispatchTable{
    CmdNothing,             // 0 ""
    CmdNothing,             // 1 "ウエイト"
    CmdStraightMove,        // 2 "直線移動"
    CmdGroundTurnMove,      // 3 "地上折り返し移動"
    CmdCircleMove,          // 4 "円移動"
    CmdChargeMove,          // 5 "突撃移動"
    CmdHomingMove,          // 6 "誘導移動"
    CmdAvoidOffscreenMove,  // 7 "画面外回避移動"
    CmdStopMove,            // 8 "移動の無効化"
    CmdTurn,                // 9 "向き変更"
    CmdJump,                // 10 "ジャンプ"
    CmdShot,                // 11 "ショット"
    CmdSword,               // 12 "ソード"
    CmdSummonBlock,         // 13 "ブロック召喚"
    CmdSummonChara,         // 14 "キャラ召喚"
    CmdSummonItem,          // 15 "アイテム召喚"
    CmdFlowControl,         // 16 "フローの操作"
    CmdStageClear,          // 17 "ステージクリア"
    CmdGameWait,            // 18 "ゲームウエイト"
    CmdMessage,             // 19 "メッセージ"
    CmdWarp,                // 20 "ワープ"
    CmdSetTarget,           // 21 "ターゲットの設定"
    CmdStatusOperation,     // 22 "ステータスの操作"
    CmdStatusOperation2,    // 23 "ステータスの操作2"
    CmdGetItem,             // 24 "アイテムの取得"
    CmdChangeGraphic,       // 25 "グラフィックの変更"
    CmdChangeBaseAnimeSet,  // 26 "基本アニメセットの変更"
    CmdRunAnime,            // 27 "アニメの実行"
    CmdRunEffect,           // 28 "エフェクトの実行"
    CmdRunCharaEffect,      // 29 "キャラエフェクトの実行"
    CmdRunScrEffect,        // 30 "画面エフェクトの実行"
    CmdShowPicture,         // 31 "ピクチャーの表示"
    CmdChangeScreenColour,  // 32 "画面の色を変更"
    CmdChangeBackground,    // 33 "背景の変更"
    CmdPlaySE,              // 34 "効果音の再生"
    CmdPlayBGM,             // 35 "BGMの再生"
    CmdRunCode,             // 36 "コードの実行"
};

// Only the move commands and the jump prepare their instances.
const std::array<MoveSetup, 37> MoveSetupTable{
    nullptr,            // 0
    nullptr,            // 1
    SetupStraightMove,  // 2 "直線移動"
    SetupMoveTime,      // 3 "地上折り返し移動"
    SetupCircleMove,    // 4 "円移動"
    SetupChargeMove,    // 5 "突撃移動"
    SetupHomingMove,    // 6 "誘導移動"
    SetupMoveTime,      // 7 "画面外回避移動"
    nullptr,            // 8
    nullptr,            // 9
    SetupJumpCommand,   // 10 "ジャンプ"
    nullptr,            // 11
    nullptr,            // 12
    nullptr,            // 13
    nullptr,            // 14
    nullptr,            // 15
    nullptr,            // 16
    nullptr,            // 17
    nullptr,            // 18
    nullptr,            // 19
    nullptr,            // 20
    nullptr,            // 21
    nullptr,            // 22
    nullptr,            // 23
    nullptr,            // 24
    nullptr,            // 25
    nullptr,            // 26
    nullptr,            // 27
    nullptr,            // 28
    nullptr,            // 29
    nullptr,            // 30
    nullptr,            // 31
    nullptr,            // 32
    nullptr,            // 33
    nullptr,            // 34
    nullptr,            // 35
    nullptr,            // 36
};

namespace {

// The row of the instance's command in the character table, or -1 (reported) when it has none. A
// command of the other set runs as the character command of the same label.
std::int32_t RowOf(const cCommandInstance& instance) {
  if (instance.m_Command == nullptr) return -1;
  const std::int32_t set = instance.m_Command->m_CommandSet;
  const std::int32_t number = instance.m_Command->m_CommandNumber;
  const std::int32_t row = CharaEquivalent(set, number);
  if (row < 0 || row >= static_cast<std::int32_t>(CharaDispatchTable.size())) {
    ReportUnknownCommand(set, number);
    return -1;
  }
  return row;
}

}  // namespace

void ExecCharaCommand(cCharaBase& chara, cCommandInstance& instance) {
  const std::int32_t row = RowOf(instance);
  if (row < 0) return;
  CharaDispatchTable[static_cast<std::size_t>(row)](chara, instance);
}

void RunMoveSetup(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing) {
  const std::int32_t row = RowOf(instance);
  if (row < 0) return;
  if (const MoveSetup setup = MoveSetupTable[static_cast<std::size_t>(row)]; setup != nullptr)
    setup(instance, chara, facing);
}
