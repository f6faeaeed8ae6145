// The sound part of the start-up and the shutdown.
#include "platform/audio/sound_effects.h"
#include "platform/display/display.h"
#include "shell/startup_steps.h"

bool StartSoundEffects(const std::vector<std::string>& systemFiles, const std::vector<std::string>& databaseFiles,
                       std::int32_t volumeStep) {
  BuildSoundTables(systemFiles, databaseFiles);
  return InitSoundEffects(g_DisplayParams.hWnd, volumeStep);
}

void ReleaseSoundEffects() { DS_Release(); }
