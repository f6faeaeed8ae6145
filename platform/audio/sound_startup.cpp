#include <algorithm>

#include "platform/audio/sound_effects.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

void BuildSoundTables(const std::vector<std::string>& systemFiles, const std::vector<std::string>& databaseFiles) {
  // Database record 0 has no entry of its own, so n records take n - 1 rows after the system's 17.
  // A project without sound records still gets a row for each system sound.
  const std::size_t rows = std::max<std::size_t>(kProjectSoundOffset + databaseFiles.size(), kSystemSoundCount);
  g_SoundTable.clear();
  g_SoundTable.resize(rows);
  g_SoundSlotDefs.assign(rows, SoundSlotDef{});
  for (std::size_t i = 0; i < static_cast<std::size_t>(kSystemSoundCount) && i < systemFiles.size(); ++i)
    g_SoundSlotDefs[i].name = systemFiles[i];
  for (std::size_t k = 1; k < databaseFiles.size(); ++k)
    g_SoundSlotDefs[kProjectSoundOffset + k].name = databaseFiles[k];
}

bool InitSoundEffects(void* hWnd, std::int32_t optionVolume) {
  if (!DS_Init(hWnd, 22050, 8, 1)) {
    LogF("%s", SJ("DS_Init失敗！").c_str());
    return false;
  }
  DS_LoadAll(g_SoundTable, g_SoundSlotDefs, SoundVolumeForOption(optionVolume));
  return true;
}

void ApplySoundVolumeOption(std::int32_t optionVolume) {
  const std::int32_t volume = SoundVolumeForOption(optionVolume);
  for (SOUNDDATA& entry : g_SoundTable) DS_SetVolume(entry, 0, volume, 0);
}
