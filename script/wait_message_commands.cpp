#include "script/wait_message_commands.h"

#include "platform/audio/sound_effects.h"
#include "play/chara_base.h"
#include "play/flow_runner.h"
#include "play/hero.h"
#include "play/message_window.h"
#include "play/pause.h"
#include "play/play_scene.h"
#include "project/flow_command.h"
#include "script/move_commands.h"

namespace {

// Frames per tenth of a second.
constexpr std::int32_t kFramesPerTenth = 6;

// The character a window over a character follows: the object itself or hero 0; 0 for the others.
std::int32_t AnchorCharaId(const cPlayScene& scene, const cCharaBase& object, std::int32_t anchor) {
  if (anchor >= kAnchorAboveSelf && anchor <= kAnchorCentreSelf) return object.m_Id;
  if (anchor >= kAnchorAboveHero && anchor <= kAnchorCentreHero) {
    const cHero* hero = scene.Hero0();
    return hero != nullptr ? hero->m_Id : 0;
  }
  return 0;
}

cMessageSettings MessageSettings(const cPlayScene& scene, const cCharaBase& object, const cFlowCommand& command,
                                 std::int32_t continued) {
  cMessageSettings s;
  s.m_Kind = kMessageText;
  s.m_Text = &command.m_Code;
  s.m_Anchor = CommandParam(command, kMsgAnchor);
  s.m_Column = CommandParam(command, kMsgColumn);
  s.m_Row = CommandParam(command, kMsgRow);
  s.m_OffsetX = CommandParam(command, kMsgOffsetX);
  s.m_OffsetY = CommandParam(command, kMsgOffsetY);
  s.m_KeepOnScreen = CommandParam(command, kMsgKeepOnScreen);
  s.m_Fixed = CommandParam(command, kMsgFixed);
  s.m_EndMode = CommandParam(command, kMsgEndMode);
  s.m_Frames = CommandParam(command, kMsgTime) * kFramesPerTenth;
  s.m_CountsWhileFrozen = CommandParam(command, kMsgBlock);
  s.m_CharaId = AnchorCharaId(scene, object, s.m_Anchor);
  s.m_Continued = continued;
  s.m_TextCodes = CommandParam(command, kMsgTextCodes);
  s.m_Refresh = CommandParam(command, kMsgRefresh);
  s.m_RefreshInterval = CommandParam(command, kMsgRefreshInterval);
  s.m_Framed = CommandParam(command, kMsgFramed);
  s.m_HasId = CommandParam(command, kMsgHasId);
  s.m_Id = CommandParam(command, kMsgId);
  return s;
}

cMessageWindow* FindWindowById(std::list<cMessageWindow>& messages, std::int32_t id) {
  for (cMessageWindow& window : messages)
    if (window.m_HasId != 0 && window.m_Id == id) return &window;
  return nullptr;
}

// The window a chained message takes over: the last one, when it is a text window that still has
// its surface. A timer, an icon or a window whose surface is gone is never shown in its place.
cMessageWindow* ChainedWindow(std::list<cMessageWindow>& messages) {
  if (messages.empty()) return nullptr;
  cMessageWindow& last = messages.back();
  return last.m_Kind == kMessageText && last.HasSurface() ? &last : nullptr;
}

}  // namespace

void DoGameWait(cCharaBase&, const cFlowCommand& command) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr || scene->m_CloseRequested.load() != 0) return;
  const std::int32_t frames = CommandParam(command, 0) * kFramesPerTenth;
  std::list<cMessageWindow>& messages = scene->m_Messages;
  const cMessageWindow& timer = messages.emplace_back(TimerWindowSettings(frames));
  scene->m_PauseRequest = cPauseRequest{kPauseGameWait, 0, 0, frames, 0};
  RunPause(*scene, false);
  // The timer is taken out by identity: other windows may have ended meanwhile.
  RemoveMessageWindow(messages, timer);
}

void DoMessage(cCharaBase& object, const cFlowCommand& command, std::int32_t continued) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr || scene->m_CloseRequested.load() != 0) return;
  std::list<cMessageWindow>& messages = scene->m_Messages;
  const cMessageSettings settings = MessageSettings(*scene, object, command, continued);
  const bool closeById = CommandParam(command, kMsgCloseById) != 0;

  cMessageWindow* window = nullptr;
  if (settings.m_HasId != 0) window = FindWindowById(messages, settings.m_Id);
  if (closeById) {
    // A close finds its window or does nothing: it never opens one.
    if (window != nullptr) RemoveMessageWindow(messages, *window);
    return;
  }
  if (window == nullptr && continued != 0) window = ChainedWindow(messages);
  if (window != nullptr)
    window->Reset(settings);
  else
    window = &messages.emplace_back(settings);

  if (CommandParam(command, kMsgBlock) == 0) return;
  // "Until the stage ends" has no end of its own while the game stands still: it waits for the key
  // as the key message does.
  if (settings.m_EndMode == kMessageTimed) {
    InitPauseRequest(scene->m_PauseRequest, kPauseMessage, 0, settings.m_Frames, continued);
  } else {
    InitPauseRequest(scene->m_PauseRequest, kPauseMessage, 1, 0, continued);
    if (continued == 0) PlaySE(kMessageOpenSound);
  }
  RunPause(*scene, true);
  RemoveMessageWindow(messages, *window);
}

void CmdGameWait(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command != nullptr) DoGameWait(chara, *instance.m_Command);
}

void CmdMessage(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_Command == nullptr) return;
  const cFlowRunner* runner = g_PlayScene != nullptr ? g_PlayScene->m_ExecFlow : nullptr;
  DoMessage(chara, *instance.m_Command, runner != nullptr ? runner->m_MessageOpen : 0);
}
