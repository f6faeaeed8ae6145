// The requests of the game thread as the main window serves them: the music slots, the file dialogs and the name entry, with a stand-in game thread waiting in its request.
#include <atomic>
#include <filesystem>
#include <string>

#include "platform/audio/bgm.h"
#include "platform/audio/midi_output.h"
#include "platform/audio/sound_effects.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/clock.h"
#include "platform/host/text_codec.h"
#include "project/database.h"
#include "project/option.h"
#include "project/replay.h"
#include "project/system_data.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/window_requests.h"
#include "shell/requests.h"
#include "shell/scene_manager.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/shell/window_fixture.h"

namespace {

class MainWindowRequestTest : public WindowThreadTest {
 protected:
  void SetUp() override {
    WindowThreadTest::SetUp();
    SetRealAudioWanted(false);
    SetMidiOutputKind(MidiOutputKind::Null);
    UseVirtualClock(0);
  }
  void TearDown() override {
    g_Bgm.Release();
    g_System.m_MenuBgm.clear();
    g_System.m_MenuBgmLoop.clear();
    g_Database.m_Bgms.clear();
    g_SceneManager.m_Current = g_SceneManager.m_Previous = kSceneTitle;
    SetMidiOutputKind(MidiOutputKind::Auto);
    UseSteadyClock();
    SetRealAudioWanted(true);
    WindowThreadTest::TearDown();
  }

  // Music rows 0 (none), 1 title, 2 world map, 3 stage; the menus name rows 1, 2, 1, 1.
  void LoadMusic() {
    const MidiBytes song = SmfFile(
        0, 96, {Concat({TempoEvent(0, 500000), {0x60, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}, kEndOfTrack})});
    for (const char* name : {"bgm/Title.mid", "bgm/Map.mid", "bgm/Stage.mid"}) WriteHostFile(name, AsText(song));
    g_Database.m_Bgms.resize(4);
    g_Database.m_Bgms.At(1).m_FileName = "bgm\\Title.mid";
    g_Database.m_Bgms.At(2).m_FileName = "bgm\\Map.mid";
    g_Database.m_Bgms.At(3).m_FileName = "bgm\\Stage.mid";
    g_System.m_MenuBgm.assign({1, 2, 1, 1});
    g_System.m_MenuBgmLoop.assign({1, 1, 0, 1});
    ASSERT_TRUE(g_Bgm.Init(1, g_BgmOggNames, g_BgmMidiNames, kBgmSlotCount));
  }

  void SendFromGame(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam = 0) {
    const bool answered = OnGameThread<bool>([=] { return SendMainWindowMessage(message, wParam, lParam).has_value(); });
    EXPECT_TRUE(answered);
  }

  void EnterScene(std::int32_t current, std::int32_t previous) {
    g_SceneManager.m_Current = current;
    g_SceneManager.m_Previous = previous;
  }
};

TEST_F(MainWindowRequestTest, WorldMapAndItsMenuKeepTheirTuneAndTheTitleRestartsIt) {
  LoadMusic();
  const std::string mapTune = "music slot 1 midi bgm\\Map.mid";
  struct Step {
    std::int32_t current, previous;
    int tunesSoFar;
    const char* why;
  };
  const Step steps[] = {
      {kSceneWorldMap, kSceneTitle, 1, "title -> world map starts the tune"},
      {kSceneWorldMapMenu, kSceneWorldMap, 1, "world map -> its menu keeps it"},
      {kSceneWorldMap, kSceneWorldMapMenu, 1, "and back keeps it"},
      {kSceneWorldMap, kSceneTitle, 2, "from the title again it restarts"},
      {kSceneWorldMap, kSceneChallenge, 3, "from any other scene too"},
  };
  for (const Step& s : steps) {
    EnterScene(s.current, s.previous);
    SendFromGame(WM_GAME_BGM, 1);
    EXPECT_EQ(TraceCount(mapTune), s.tunesSoFar) << s.why;
  }
  // The title slot plays its own row with its own loop flag.
  EnterScene(kSceneTitle, kSceneWorldMapMenu);
  SendFromGame(WM_GAME_BGM, 0);
  EXPECT_TRUE(Traced("music slot 0 midi bgm\\Title.mid loop 1"));
  SendFromGame(WM_GAME_BGM, 2);
  EXPECT_TRUE(Traced("music slot 2 midi bgm\\Title.mid loop 0"));
}

TEST_F(MainWindowRequestTest, StageMusicPlaysItsRowWithTheStoredLoopAndNumberZeroStops) {
  LoadMusic();
  g_SaveData.m_MusicLoop = 0;
  SendFromGame(WM_GAME_BGM, 4, 3);
  EXPECT_TRUE(Traced("music slot 4 midi bgm\\Stage.mid loop 0"));
  EXPECT_EQ(g_SaveData.m_Music, 3);
  const int stopsBefore = TraceCount("music stop");
  SendFromGame(WM_GAME_BGM, 4, 0);
  EXPECT_EQ(TraceCount("music stop"), stopsBefore + 1);
  EXPECT_EQ(g_SaveData.m_Music, 0);
  // A slot past the five does nothing at all.
  const auto before = TraceLines().size();
  SendFromGame(WM_GAME_BGM, 9, 3);
  EXPECT_EQ(TraceLines().size(), before);
  g_SaveData.m_MusicLoop = 1;
}

TEST_F(MainWindowRequestTest, AMusicRowOutsideTheTableIsReportedAndClosesTheProgram) {
  LoadMusic();
  SendFromGame(WM_GAME_BGM, 4, 99);
  EXPECT_NE(Report().find("err V[99] ( 4 ,"), std::string::npos);
  EXPECT_GE(TakePosted(WM_CLOSE), 1);
}

TEST_F(MainWindowRequestTest, AnEmptyMenuMusicListDoesNotTakeTheWindowThreadDown) {
  LoadMusic();
  g_System.m_MenuBgm.clear();
  SendFromGame(WM_GAME_BGM, 0);
  EXPECT_NE(Report().find("err V[0] ( 0 ,"), std::string::npos);
  EXPECT_GE(TakePosted(WM_CLOSE), 1) << "what escapes the procedure closes in order";
}

// Every file request cancelled: not chosen, done, and nothing else changed.
TEST_F(MainWindowRequestTest, CancelledFileDialogsAnswerNotChosenAndChangeNothing) {
  g_Stage.m_FileName = "data\\stg4\\before.stg4";
  const std::int32_t sceneBefore = g_SceneManager.m_Current;
  for (std::uint32_t request : {WM_GAME_OPENSTAGE, WM_GAME_OPENREPLAY, WM_GAME_SAVEREPLAY}) {
    g_DialogChosen = 1;
    const bool chosen = OnGameThread<bool>([=] { return SendDialogRequest(request, 0); });
    EXPECT_FALSE(chosen) << request;
    EXPECT_EQ(g_DialogChosen.load(), 0) << request;
    EXPECT_EQ(g_DialogDone.load(), 1) << request;
  }
  EXPECT_EQ(g_Stage.m_FileName, "data\\stg4\\before.stg4");
  EXPECT_EQ(g_SceneManager.m_Current, sceneBefore);
  EXPECT_EQ(TakePosted(WM_CLOSE), 0);
  EXPECT_FALSE(std::filesystem::exists("user_data/rpl4") && !std::filesystem::is_empty("user_data/rpl4"));
}

TEST_F(MainWindowRequestTest, AFailedLoadAnswersNotChosenAndClosesInOrder) {
  WriteHostFile("user_data/rpl4/broken.rpl4_556", std::string("\x2C\x02\0\0\xFF\xFF\xFF\xFF", 8));
  SetFileDialogAnswerer([](const FileDialogRequest& r) -> std::optional<std::string> {
    if (r.kind == FileDialogKind::kOpen) return std::string("broken.rpl4_556");
    return std::nullopt;
  });
  const bool chosen = OnGameThread<bool>([] { return SendDialogRequest(WM_GAME_OPENREPLAY, 0); });
  EXPECT_FALSE(chosen) << "a replay that does not read is no choice";
  EXPECT_EQ(g_DialogChosen.load(), 0);
  EXPECT_GE(TakePosted(WM_CLOSE), 1);

  // A stage name that is not there is refused by the dialog itself.
  SetFileDialogAnswerer([](const FileDialogRequest&) -> std::optional<std::string> { return "missing.stg4"; });
  EXPECT_FALSE(OnGameThread<bool>([] { return SendDialogRequest(WM_GAME_OPENSTAGE, 0); }));
  EXPECT_EQ(TakePosted(WM_CLOSE), 0);
}

TEST_F(MainWindowRequestTest, ASavedReplayIsChosenAndWritten) {
  std::string asked;
  SetFileDialogAnswerer([&asked](const FileDialogRequest& r) -> std::optional<std::string> {
    asked = r.proposedName;
    return std::string("mine.rpl4_556");
  });
  g_SaveData.m_StageName = "c1.";
  EXPECT_TRUE(OnGameThread<bool>([] { return SendDialogRequest(WM_GAME_SAVEREPLAY, 0); }));
  EXPECT_EQ(g_DialogChosen.load(), 1);
  EXPECT_TRUE(std::filesystem::exists("user_data/rpl4/mine.rpl4_556"));
  EXPECT_EQ(TakePosted(WM_CLOSE), 0);
}

TEST_F(MainWindowRequestTest, NameEntryIsAnsweredAtOnce) {
  g_NameEntryDone = 0;
  SendFromGame(WM_GAME_NAMEENTRY, 0);
  EXPECT_EQ(g_NameEntryDone.load(), 1);
  EXPECT_EQ(TraceCount("dialog name-entry"), 1);
}

TEST_F(MainWindowRequestTest, TheOptionsAudioChangesAreMadeByTheWindowAndNotAfterTheClose) {
  LoadMusic();
  WaveLayout wave;
  wave.samples = Ramp8(64);
  WriteHostFile("wave/se.wav", WaveImage(wave));
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  g_SoundTable.clear();
  g_SoundTable.resize(2);
  for (SOUNDDATA& entry : g_SoundTable) ASSERT_TRUE(DS_Load(entry, "wave\\se.wav", 1, -150));
  const auto onGame = [this](void (*request)()) { OnGameThread<bool>([request] { request(); return true; }); };

  onGame([] { RequestSoundVolume(3); });
  for (SOUNDDATA& entry : g_SoundTable) EXPECT_EQ(DS_GetVolume(entry, 0), -1300);
  onGame([] { RequestSoundVolume(-4); });  // a step from a damaged file: the quietest row
  EXPECT_EQ(DS_GetVolume(g_SoundTable.At(1), 0), -10000);

  struct sCase {
    std::int32_t music;
    bool enabled;
  };
  for (const sCase c : {sCase{0, false}, sCase{1, true}, sCase{0, false}}) {
    SCOPED_TRACE(c.music);
    g_Option.m_Music = c.music;
    onGame([] { RequestRestartMusic(); });
    EXPECT_EQ(g_Bgm.Enabled(), c.enabled);
  }

  // Once the close has stopped the music, a late request from the game thread starts nothing again
  // and leaves the sound table alone.
  BeginMessageShutdown();
  g_Option.m_Music = 1;
  g_Bgm.Release();
  onGame([] { RequestRestartMusic(); });
  onGame([] { RequestSoundVolume(10); });
  EXPECT_FALSE(g_Bgm.Enabled());
  EXPECT_EQ(DS_GetVolume(g_SoundTable.At(0), 0), -10000);
  g_Option.m_Music = 1;
  DS_Release();
  g_SoundTable.clear();
}

}  // namespace
