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
