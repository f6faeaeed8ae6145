// The start-up's sound effects: every effect is loaded at the option's volume step, and a step
// outside 0-10 in Option.dat stays inside the volume table.
#include <filesystem>

#include "platform/audio/sound_effects.h"
#include "project/option.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/shell/startup_fixture.h"

namespace startuptest {

bool SoundSystemUp() { return g_DirectSound != nullptr; }

}  // namespace startuptest

namespace {

using startuptest::ProjectSetup;
using startuptest::StartupTest;

TEST_F(StartupTest, EffectsLoadAtTheOptionsVolumeStepKeptInsideTheTable) {
  struct Case {
    std::int32_t step;
    std::int32_t volume;
  };
  const Case cases[] = {{7, -150}, {0, -10000}, {10, 0}, {11, 0}, {99, 0}, {-1, -10000}, {INT32_MIN, -10000}};
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    ProjectSetup setup;
    setup.firstSound = "wave\\se.wav";
    WriteProject(setup);
    WaveLayout wave;
    wave.samples = Ramp8(64);
    WriteHostFile("wave/se.wav", WaveImage(wave));
    cOption option;
    option.m_SoundVolume = c.step;
    option.m_Music = 0;
    std::filesystem::create_directories("user_data");
    ASSERT_EQ(option.SaveFile("user_data\\Option.dat"), 1);

    ASSERT_TRUE(InitGame(nullptr, SW_SHOWNORMAL)) << c.step;
    EXPECT_EQ(g_Option.m_SoundVolume, c.step) << "the option keeps what the file holds";
    ASSERT_FALSE(g_SoundTable.empty());
    EXPECT_EQ(DS_GetVolume(g_SoundTable.At(0), 0), c.volume) << c.step;
    UnInitGame();
    EXPECT_FALSE(startuptest::SoundSystemUp());
  }
}

}  // namespace
