// "ショット", "ソード" and the summons as commands: when they fire while they run, and their sound.
#include "script/shot_commands.h"

#include <cstdint>

#include "platform/audio/sound_effects.h"
#include "platform/services/log.h"
#include "play/chara_base.h"
#include "play/firing.h"
#include "play/flow_runner.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/shot_sword.h"
#include "project/command_vocabulary.h"
#include "project/database.h"
#include "project/stage_data.h"

namespace {

// The command's sound, unless it is for the screen only and the character is off it.
void PlayCommandSound(const cCharaBase& chara, const cFlowCommand& command) {
  if (command.m_SoundOnScreenOnly != 0 && chara.m_OnScreen == 0) return;
  PlaySEOffset(command.m_Sound);
}

using ShotAction = void (*)(cCharaBase& chara, cCommandInstance& instance, cEdShot& shot);

void FireVolleys(cCharaBase& chara, cCommandInstance& instance, cEdShot& shot) {
  FireShotCommand(g_PlayScene->m_ShotList, chara, instance, shot);
}

// At the first step and then every tenth of a second while the command runs.
void RepeatEveryTenth(cCharaBase& chara, cCommandInstance& instance, ShotAction action) {
  const cFlowCommand* command = instance.m_Command;
  if (command == nullptr || command->m_Shot == nullptr) return;
  if (instance.m_StepCounter == 0) {
    PlayCommandSound(chara, *command);
    action(chara, instance, *command->m_Shot);
  }
  ++instance.m_StepCounter;
  if (instance.m_StepCounter >= 6 * g_StepsPerFrame || instance.m_StepCounter < 0) instance.m_StepCounter = 0;
}

// Whether the database has sword type `type` with parts to show. A swing of any other would stand
// in for entry 0 or show nothing at all: it is not made, and the first such sword is written to the
// report log.
bool SwordCanSwing(std::int32_t type) {
  const CheckedVector<cSwordTypeDef>& types = g_Database.m_SwordTypes;
  if (type >= 0 && type < types.Size() && SwordPartCount(type) > 0) return true;
  static bool reported = false;
  if (!reported) {
    reported = true;
    ReportLogAndLog("sword type %d has no parts: no swing", type);
  }
  return false;
}

void Swing(cCharaBase& chara, cEdShot& shot) {
  const std::int32_t type = static_cast<std::int8_t>(shot.m_MoveKind);
  if (!SwordCanSwing(type)) return;
  const SwordPart part = SwordPartOf(type, 0);
  cPlayScene& scene = *g_PlayScene;
  cShotSpawn spawn{};
  spawn.m_Width = part.width;
  spawn.m_Height = part.height;
  cShot swing;
  swing.Setup(scene.m_NextExtraId, chara, kCharaSword, shot, spawn);
  cShot& listed = AddShot(scene.m_ShotList, swing);
  ++scene.m_NextExtraId;
  listed.m_Target = nullptr;
}

}  // namespace

void CmdShot(cCharaBase& chara, cCommandInstance& instance) { RepeatEveryTenth(chara, instance, FireVolleys); }
void CmdSummonBlock(cCharaBase& chara, cCommandInstance& instance) {
  RepeatEveryTenth(chara, instance, SummonBlockCommand);
}
void CmdSummonChara(cCharaBase& chara, cCommandInstance& instance) {
  RepeatEveryTenth(chara, instance, SummonCharaCommand);
}
void CmdSummonItem(cCharaBase& chara, cCommandInstance& instance) { RepeatEveryTenth(chara, instance, SummonItemCommand); }

void CmdSword(cCharaBase& chara, cCommandInstance& instance) {
  const cFlowCommand* command = instance.m_Command;
  if (command == nullptr || command->m_Shot == nullptr) return;
  if (instance.m_StepCounter == 0) {
    PlayCommandSound(chara, *command);
    Swing(chara, *command->m_Shot);
  }
  // No wrap: one swing however long the command lasts.
  if (instance.m_StepCounter < 1) ++instance.m_StepCounter;
}
