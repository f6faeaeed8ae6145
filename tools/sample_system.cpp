// The sample's project settings: its title, the menus with their pictures, the system sounds, the
// menu music, three challenge stages and the System.ini keys of a new project.
#include "platform/host/text_codec.h"
#include "project/project_paths.h"
#include "project/system_data.h"
#include "tools/sample_palette.h"
#include "tools/sample_parts.h"

namespace {

// Menu music slot (title, world map, challenge, option) -> music row.
constexpr std::int32_t kMenuMusic[kMenuMusicSlotCount] = {kMusicTitle, kMusicWorldMap, kMusicChallenge, kMusicTitle};

}  // namespace

bool WriteSampleSystem() {
  cSystemData system;
  system.SetDefaults();
  system.m_Title = SJ("ドットの大冒険");
  // The title menu shows the rows of bmp\GameMode.bmp; the replay entry waits for recorded
  // replays, which a fresh game has none of, so it is hidden.
  system.m_TitleMenuImages = 1;
  system.m_TitleMenu.At(4).m_Shown = 0;
  // The palette option has no label and changes only an 8-bit display, which the sample does not
  // ask for: the option screen leaves it out.
  system.m_OptionMenu.At(0).m_Shown = 0;
  system.m_ChallengeStageCount = kSampleChallengeStages;
  system.m_ChallengeAllOpen = 1;
  system.m_ExtraLifeByScore = 1;
  system.m_ScorePerExtraLife = 1000;
  system.m_StartingLives.At(0) = 3;
  system.m_StartingLives.At(1) = 3;
  system.m_StartingLives.At(2) = 3;
  system.m_UnlimitedLives.At(0) = 0;
  system.m_UnlimitedLives.At(1) = 0;
  system.m_UnlimitedLives.At(2) = 0;
  system.m_ColourMode = 0;
  system.m_TransparentRed = kSampleKeyColour.red;
  system.m_TransparentGreen = kSampleKeyColour.green;
  system.m_TransparentBlue = kSampleKeyColour.blue;
  for (int k = 0; k < kSystemSoundCount; ++k) system.m_SoundFiles.At(k) = kSystemSoundFiles[static_cast<std::size_t>(k)].path;
  for (int k = 0; k < kMenuMusicSlotCount; ++k) {
    system.m_MenuBgm.At(k) = kMenuMusic[k];
    system.m_MenuBgmLoop.At(k) = 1;
  }
  return system.SaveFile(ProjectPathTable[kPathSystem].c_str()) == 1;
}
