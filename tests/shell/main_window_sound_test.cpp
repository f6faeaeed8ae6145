// The sound-effect request as the main window serves it, with a stand-in game thread waiting in it.
#include "platform/audio/sound_effects.h"
#include "platform/host/audio_mixer.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/shell/window_fixture.h"

namespace {

class MainWindowSoundTest : public WindowThreadTest {
 protected:
  void SetUp() override {
    WindowThreadTest::SetUp();
    SetRealAudioWanted(false);
  }
  void TearDown() override {
    DS_Release();
    g_SoundTable.clear();
    g_SoundSlotDefs.clear();
    SetRealAudioWanted(true);
    WindowThreadTest::TearDown();
  }

  // Seventeen system sounds, each the same short ramp.
  void LoadSounds() {
    WaveLayout ramp;
    ramp.samples = Ramp8(200, 3);
    WriteHostFile("wave/ramp.wav", WaveImage(ramp));
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    g_SoundTable.resize(kSystemSoundCount);
    g_SoundSlotDefs.assign(kSystemSoundCount, SoundSlotDef{"wave\\ramp.wav", 1, 0, 1});
    ASSERT_TRUE(DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0));
  }

  void SendFromGame(std::uint32_t message, std::uintptr_t wParam) {
    EXPECT_TRUE(OnGameThread<bool>([=] { return SendMainWindowMessage(message, wParam, 0).has_value(); }));
  }
};

TEST_F(MainWindowSoundTest, PlaySePlaysTheEntryOnTheWindowThread) {
  LoadSounds();
  SendFromGame(WM_GAME_PLAYSE, 3);
  EXPECT_EQ(TraceCount("sound play 3 "), 1);
  EXPECT_EQ(TakePosted(WM_CLOSE), 0);
}

TEST_F(MainWindowSoundTest, PlaySeWithABadIndexWritesTheErrorPlaysEntryZeroAndClosesInOrder) {
  LoadSounds();
  SendFromGame(WM_GAME_PLAYSE, 40);
  EXPECT_NE(Report().find("err V[40] ( 17 ,"), std::string::npos);
  EXPECT_EQ(TraceCount("sound play 0 "), 1);
  ASSERT_TRUE(ServeQueue()) << "the WM_CLOSE of the failure ends with the window's WM_QUIT";
  EXPECT_TRUE(Traced("stop music"));
  EXPECT_TRUE(Traced("window destroyed"));
  EXPECT_EQ(g_hMainWnd.load(), nullptr);
}

}  // namespace
