#include "shell/requests.h"

#include "platform/audio/bgm.h"
#include "platform/host/message_queue.h"
#include "project/save_data.h"

namespace {
constexpr std::uintptr_t kStageMusicSlot = 4;
}  // namespace

void RequestMenuBgm(std::int32_t slot) { SendMainWindowMessage(WM_GAME_BGM, static_cast<std::uintptr_t>(slot), 0); }

void RequestBGM(std::int32_t tune, std::int32_t param) {
  g_SaveData.m_MusicLoop = param;
  SendMainWindowMessage(WM_GAME_BGM, kStageMusicSlot, tune);
}

void RequestSoundVolume(std::int32_t step) {
  // A step from a damaged file travels as it is; the table lookup brings it into range.
  SendMainWindowMessage(WM_GAME_SEVOLUME, static_cast<std::uintptr_t>(static_cast<std::uint32_t>(step)), 0);
}

void RequestRestartMusic() { SendMainWindowMessage(WM_GAME_RESTARTMUSIC, 0, 0); }
