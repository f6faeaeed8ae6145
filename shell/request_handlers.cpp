// The game thread's requests that run on the window thread: the dialogs, the music and the option
// screen's audio changes. (The sound effects and the display's restore are served where they live.)
#include <span>
#include <string>
#include <string_view>

#include "platform/audio/bgm.h"
#include "platform/audio/sound_effects.h"
#include "platform/display/blit.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/ui/file_dialogs.h"
#include "project/database.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "project/window_requests.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/option_scene.h"
#include "shell/scene_manager.h"
#include "shell/shell_dialogs.h"
#include "shell/title_scene.h"

namespace {

constexpr std::int32_t kMenuMusicSlots = 4;
constexpr std::uintptr_t kWorldMapMusicSlot = 1;
constexpr std::uintptr_t kStageMusicSlot = 4;

// A filter as the dialog takes it: label, NUL, pattern, NUL, and the closing NUL.
std::string DialogFilter(std::string_view label, std::string_view pattern) {
  std::string filter(label);
  filter += '\0';
  filter += pattern;
  filter += '\0';
  filter += '\0';
  return filter;
}

// The world map and its menu share one tune: moving between the two keeps it playing.
bool BetweenWorldMapAndItsMenu() {
  const std::int32_t current = g_SceneManager.m_Current;
  const std::int32_t previous = g_SceneManager.m_Previous;
  return (current == kSceneWorldMap && previous == kSceneWorldMapMenu) ||
         (current == kSceneWorldMapMenu && previous == kSceneWorldMap);
}

void FinishFileRequest(std::int32_t chosen) {
  g_DialogChosen = chosen;
  g_DialogDone = 1;
}

}  // namespace

void HandleNameEntryRequest() {
  // The game-side threads stand still while the dialog writes the name they own.
  DDSetDialogMode(1);
  SuspendWorkers();
  {
    cNameEntryDialog dialog;
    dialog.DoModal(0);
  }
  DDSetDialogMode(0);
  ResumeWorkers();
  g_NameEntryDone = 1;
}

void HandleOpenStageRequest() {
  static const std::string filter = DialogFilter("StageFile ( *.stg4_*;*.rpl4_* )", "stg4_*;rpl4_*");
  char buffer[kFileDialogBufferSize] = {};
  DDSetDialogMode(1);
  const std::int32_t chosen = OpenFileDialog(g_MainWindow.Screen(), std::span<char>(buffer), "data\\stg4\\",
                                             SJ("ステージファイルの選択").c_str(), filter.c_str(), nullptr, 0, nullptr);
  DDSetDialogMode(0);
  if (!chosen) return FinishFileRequest(0);
  if (!StartStageFile(buffer, 0)) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return FinishFileRequest(0);
  }
  FinishFileRequest(1);
}

void HandleOpenReplayRequest() {
  static const std::string filter = DialogFilter("ReplayFile ( *.rpl4_* )", "rpl4_*");
  char buffer[kFileDialogBufferSize] = {};
  DDSetDialogMode(1);
  const std::int32_t chosen = OpenFileDialog(g_MainWindow.Screen(), std::span<char>(buffer), "user_data\\rpl4",
                                             SJ("リプレイファイルの選択").c_str(), filter.c_str(), nullptr, 0, nullptr);
  DDSetDialogMode(0);
  if (!chosen) return FinishFileRequest(0);
  if (!g_ReplayRecord.ReadReplayFile(buffer, g_Stage, g_PlayState, g_SaveData)) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return FinishFileRequest(0);
  }
  // Stage set-up reads the replay again from this name when the play-back starts.
  g_Stage.m_FileName = buffer;
  FinishFileRequest(1);
}

void HandleSaveReplayRequest(std::uintptr_t previousAttempt) {
  std::string path;
  DDSetDialogMode(1);
  const std::uint32_t chosen = ChooseReplaySavePath(path, g_SaveData.m_StageName.c_str(), g_MainWindow.Screen());
  DDSetDialogMode(0);
  if (!chosen) return FinishFileRequest(0);
  cReplayRecord& record = previousAttempt ? g_PrevReplayRecord : g_ReplayRecord;
  cSaveData& progress = previousAttempt ? g_PrevStageStartSave : g_StageStartSave;
  if (!record.WriteReplayFile(path.c_str(), g_Stage, g_PlayState, progress)) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return FinishFileRequest(0);
  }
  FinishFileRequest(1);
}

void HandleBgmRequest(std::uintptr_t slot, std::intptr_t number) {
  if (slot < static_cast<std::uintptr_t>(kMenuMusicSlots)) {
    const int s = static_cast<int>(slot);
    const std::int32_t row = g_System.m_MenuBgm.At(s);
    g_Bgm.SetFile(s, g_Database.m_Bgms.At(row).m_FileName);
    const int loop = g_System.m_MenuBgmLoop.At(s);
    const int force = (slot == kWorldMapMusicSlot && BetweenWorldMapAndItsMenu()) ? 0 : 1;
    g_Bgm.Play(0, s, loop, 0, force);
    return;
  }
  if (slot != kStageMusicSlot) return;
  const auto music = static_cast<std::int32_t>(number);
  g_SaveData.m_Music = music;
  g_Bgm.SetFile(static_cast<int>(kStageMusicSlot), g_Database.m_Bgms.At(music).m_FileName);
  if (music == 0) {
    g_Bgm.Stop();
    return;
  }
  g_Bgm.Play(0, static_cast<int>(kStageMusicSlot), g_SaveData.m_MusicLoop, 0, 1);
}

void HandleSoundVolumeRequest(std::uintptr_t step) {
  ApplySoundVolumeOption(static_cast<std::int32_t>(static_cast<std::uint32_t>(step)));
}

void HandleRestartMusicRequest() { RestartMusic(); }
