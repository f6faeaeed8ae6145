// The presentation and sound commands: what a character or the stage looks like, the sounds and
// the music, and code. Each worker acts at once; the handlers run once per step of the command's
// time, as every command numbered 16 or more does.
#include "script/presentation_commands.h"

#include <cstdint>

#include "play/chara_base.h"
#include "play/flow_seam.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "platform/audio/sound_effects.h"
#include "project/database_frames.h"
#include "project/flow_command.h"
#include "project/stage_data.h"
#include "script/code.h"
#include "script/effect_commands.h"
#include "script/flow_command_lists.h"
#include "script/move_commands.h"
#include "shell/requests.h"

namespace {

// The low byte and the low 16 bits of a parameter, as the records that take them store them.
std::int8_t LowByte(std::int32_t v) { return static_cast<std::int8_t>(v); }
std::int16_t Low16(std::int32_t v) { return static_cast<std::int16_t>(v); }

// The runner that owns an animation started on object: the flow of object being run, never the
// flow of another character (an item taken from a character's flow acts on hero 0) and never one
// while an item's list runs.
std::int32_t AnimeOwner(const cCharaBase& object) {
  if (g_PlayScene == nullptr || InFlowCommandList()) return kNoFlowSerial;
  const cFlowRunner* runner = g_PlayScene->m_ExecFlow;
  if (runner == nullptr || g_PlayScene->m_ExecChara != &object) return kNoFlowSerial;
  return runner->m_Serial;
}

}  // namespace

void DoChangeGraphic(cCharaBase& object, const cFlowCommand& command) {
  const std::int8_t sheet = LowByte(CommandParam(command, 0));
  const std::int16_t graphic = Low16(CommandParam(command, 1));
  object.m_Def.m_ChipSource = static_cast<std::uint8_t>(sheet);
  object.m_GraphicSheet = sheet;
  object.m_Def.m_ChipIndex = graphic;
  object.m_Graphic = graphic;
  object.m_Def.m_ChipFrame = Low16(CommandParam(command, 2));
}

void DoChangeBaseAnimeSet(cCharaBase& object, const cFlowCommand& command) {
  object.SetAnimeSet(Low16(CommandParam(command, 0)), 0);
}

void DoRunAnime(cCharaBase& object, const cFlowCommand& command) {
  std::int32_t number = CommandParam(command, 0);
  if (number < 0 || number >= g_AnimeFrameLists.Size()) {
    // Reported as the checked access reports it; animation 0 stands in while there is one.
    ReportBadVectorIndex(number, g_AnimeFrameLists.Size(), CheckedElementSize<AnimeFrameList>());
    if (g_AnimeFrameLists.empty()) return;
    number = 0;
  }
  cFlowAnimation& entry = object.m_FlowAnimations.emplace_front();
  entry.m_Anime.AppendPattern() = g_AnimeFrameLists[static_cast<std::size_t>(number)];
  entry.m_HasTimeLimit = 0;
  entry.m_FramesLeft = 0;
  entry.m_Priority = 0;
  entry.m_FlowSerial = AnimeOwner(object);
  entry.m_Paused = 0;
  entry.m_Anime.SetPattern(0, 1);
}

void DoRunCharaEffect(cCharaBase& object, const cFlowCommand& command) {
  StartCharaEffect(object.m_CharaEffect, Low16(CommandParam(command, 0)), CommandParam(command, 1),
                   CommandParam(command, 2));
}

void DoRunScrEffect(cCharaBase&, const cFlowCommand& command) {
  if (g_PlayScene == nullptr) return;
  StartScrEffect(g_PlayScene->m_ScreenEffect, Low16(CommandParam(command, 0)), CommandParam(command, 1),
                 CommandParam(command, 2));
}

void DoChangeScreenColour(cCharaBase&, const cFlowCommand& command) {
  if (g_PlayScene == nullptr) return;
  StartScreenColour(g_PlayScene->m_ScreenColour, CommandParam(command, 0), CommandParam(command, 1),
                    CommandParam(command, 2), CommandParam(command, 3), CommandParam(command, 4),
                    CommandParam(command, 5), CommandParam(command, 6), CommandParam(command, 7));
}

void DoChangeBackground(cCharaBase&, const cFlowCommand& command) {
  // Layers count from 1: 0 and every number past the stage's layers (taken unsigned) name none.
  const auto layer = static_cast<std::uint32_t>(CommandParam(command, 0)) - 1u;
  if (layer >= static_cast<std::uint32_t>(g_Stage.m_BgLayers.Size())) return;
  cBgLayer& bg = g_Stage.m_BgLayers[layer];
  switch (CommandParam(command, 1)) {
    case kBackgroundShow: bg.m_Shown = 1; break;
    case kBackgroundHide: bg.m_Shown = 0; break;
    case kBackgroundToggle: bg.m_Shown = bg.m_Shown != 0 ? 0 : 1; break;
    default: break;
  }
}

void DoPlaySE(const cFlowCommand& command, cCharaBase& object) {
  if (command.m_SoundOnScreenOnly != 0 && object.m_OnScreen == 0) return;
  PlaySEOffset(Low16(CommandParam(command, 0)));
}

void DoPlayBGM(const cFlowCommand& command) { RequestBGM(CommandParam(command, 0), CommandParam(command, 1)); }

void DoRunCode(cCharaBase& object, const cFlowCommand& command) { EvalCode(command.m_Code, object); }

namespace {

// A handler hands the running instance's command to its worker.
template <void (*Worker)(cCharaBase&, const cFlowCommand&)>
void Unpack(cCharaBase& chara, const cCommandInstance& instance) {
  if (instance.m_Command != nullptr) Worker(chara, *instance.m_Command);
}

void PlaySEOf(cCharaBase& chara, const cFlowCommand& command) { DoPlaySE(command, chara); }
void PlayBGMOf(cCharaBase&, const cFlowCommand& command) { DoPlayBGM(command); }

}  // namespace

void CmdChangeGraphic(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoChangeGraphic>(chara, instance); }
void CmdChangeBaseAnimeSet(cCharaBase& chara, cCommandInstance& instance) {
  Unpack<DoChangeBaseAnimeSet>(chara, instance);
}
void CmdRunAnime(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoRunAnime>(chara, instance); }
void CmdRunEffect(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoRunEffect>(chara, instance); }
void CmdRunCharaEffect(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoRunCharaEffect>(chara, instance); }
void CmdRunScrEffect(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoRunScrEffect>(chara, instance); }
void CmdShowPicture(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoShowPicture>(chara, instance); }
void CmdChangeScreenColour(cCharaBase& chara, cCommandInstance& instance) {
  Unpack<DoChangeScreenColour>(chara, instance);
}
void CmdChangeBackground(cCharaBase& chara, cCommandInstance& instance) {
  Unpack<DoChangeBackground>(chara, instance);
}
void CmdPlaySE(cCharaBase& chara, cCommandInstance& instance) { Unpack<PlaySEOf>(chara, instance); }
void CmdPlayBGM(cCharaBase& chara, cCommandInstance& instance) { Unpack<PlayBGMOf>(chara, instance); }
void CmdRunCode(cCharaBase& chara, cCommandInstance& instance) { Unpack<DoRunCode>(chara, instance); }
