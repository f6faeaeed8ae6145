// The option scene run through the real frame loop: its items, editing with wrapping, cancel
// restoring what was seen and heard, the name-entry request, and what leaving it does.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/sound_effects.h"
#include "platform/display/blend_table.h"
#include "platform/host/text_codec.h"
#include "project/option.h"
#include "shell/main_window.h"
#include "shell/option_scene.h"
#include "shell/requests.h"
#include "shell/title_scene.h"
#include "tests/platform/audio/wave_images.h"
#include "tests/shell/scene_fixture.h"

namespace {

class OptionSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    // The fixture's window side again, now also answering the name-entry dialog as the player would
    // and making the audio changes as the main window does.
    MainWindowQueue().UnbindFromCurrentThread();
    MainWindowQueue().BindToCurrentThread([this](const HostMessage& msg) -> std::intptr_t {
      m_Messages.push_back(msg.message);
      if (msg.message == kPlaySe) m_Sounds.push_back(static_cast<int>(msg.wParam));
      if (msg.message == WM_GAME_BGM) m_Music.push_back(static_cast<int>(msg.wParam));
      if (msg.message == WM_GAME_SEVOLUME) HandleSoundVolumeRequest(msg.wParam);
      if (msg.message == WM_GAME_RESTARTMUSIC) HandleRestartMusicRequest();
      if (msg.message == WM_GAME_NAMEENTRY) {
        if (m_NameEntryShutsDown) {
          BeginMessageShutdown();
        } else {
          g_Option.m_RankName = m_EnteredName;
          g_NameEntryDone = 1;
        }
      }
      return 0;
    });
    WriteTitlePictures();
    std::filesystem::create_directories("user_data");
    SetOption(0, 1, 7, 0, "aaa");
    g_SceneManager.SetSceneFactory(kSceneOption, MakeOptionScene);
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneOption;
  }
  void TearDown() override {
    g_SceneManager.DeleteScenes();
    g_Bgm.Release();
    DS_Release();
    g_SoundTable.clear();
    SetOption(0, 1, 7, 0, "aaa");
    ResetMessageShutdown();
    SceneTest::TearDown();
  }

  static void SetOption(std::int32_t palette, std::int32_t music, std::int32_t volume, std::int32_t mode,
                        const std::string& name) {
    g_Option.m_PaletteNumber = palette;
    g_Option.m_Music = music;
    g_Option.m_SoundVolume = volume;
    g_Option.m_RankingMode = mode;
    g_Option.m_RankName = name;
  }
  // Only the kinds listed are in the menu, in kind order.
  static void ShowOnly(std::initializer_list<int> kinds) {
    for (int k = 0; k < kOptionItemKinds; ++k) g_System.m_OptionMenu.At(k).m_Shown = 0;
    for (int k : kinds) g_System.m_OptionMenu.At(k).m_Shown = 1;
  }
  cOptionScene* Scene() { return dynamic_cast<cOptionScene*>(g_SceneManager.Scene(kSceneOption)); }

  static std::uint32_t BackPixel(int x, int y) {
    return g_BackSurface.lpDDPart->surface->Pixels().Pixel(x, y) & 0xFFFFFFu;
  }
  // The panel's pixels of one row's value, to see whether it was drawn again.
  static std::vector<std::uint32_t> ValuePixels(std::int32_t row) {
    std::vector<std::uint32_t> out;
    const cPixelBuffer& panel = g_MenuSurfaces.at(0).lpDDPart->surface->Pixels();
    const int y0 = kOptionRowsY + row * kOptionRowHeight;
    for (int y = y0; y < y0 + kOptionRowHeight; ++y)
      for (int x = kOptionValueX; x < kOptionValueX + 22 * 16; ++x) out.push_back(panel.Pixel(x, y));
    return out;
  }

  std::string m_EnteredName = "xyz";
  bool m_NameEntryShutsDown = false;
};

TEST_F(OptionSceneTest, TheMenuHoldsTheEnabledItemsAndAsksForTheOptionMusic) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  struct sCase {
    std::vector<int> shown;
    std::vector<std::int32_t> kinds;
  };
  const sCase cases[] = {
      {{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},  // the project's defaults
      {{0, 5}, {0, 5}},
      {{}, {0}},  // nothing enabled: the palette alone
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.shown.size());
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneOption;
    for (int k = 0; k < kOptionItemKinds; ++k) g_System.m_OptionMenu.At(k).m_Shown = 0;
    for (int k : c.shown) g_System.m_OptionMenu.At(k).m_Shown = 1;
    m_Music.clear();
    ASSERT_TRUE(RunUntilShown());
    cOptionScene* scene = Scene();
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(scene->m_ItemCount, static_cast<std::int32_t>(c.kinds.size()));
    for (std::size_t i = 0; i < c.kinds.size(); ++i) EXPECT_EQ(scene->m_ItemKinds[i], c.kinds[i]);
    EXPECT_EQ(m_Music, std::vector<int>{3});
    ASSERT_EQ(g_MenuSurfaces.size(), 1u);
    EXPECT_EQ(g_MenuSurfaces[0].width, 640);
    EXPECT_EQ(g_MenuSurfaces[0].height, 480);
  }
  // The defaults' menu wraps over its five rows; the cursor picture follows the row.
  Press({VK_UP});
  Press({});
  EXPECT_EQ(g_MenuCursor.current->row, 0);
  g_SceneManager.DeleteScenes();
  ShowOnly({1, 2, 3, 4, 5});
  ASSERT_TRUE(RunUntilShown());
  Press({VK_UP});
  EXPECT_EQ(g_MenuCursor.current->row, 4);
  EXPECT_EQ(g_MenuCursor.current->y, kOptionRowsY + 4 * kOptionRowHeight);
  EXPECT_EQ(BackPixel(kOptionCursorX + 8, kOptionRowsY + 4 * kOptionRowHeight + 8), 0x00FFFFu);
  EXPECT_NE(BackPixel(kOptionCursorX + 8, kOptionRowsY + 8), 0x00FFFFu);
}

TEST_F(OptionSceneTest, EditingWrapsAtBothEndsDecideKeepsAndCancelRestores) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  struct sCase {
    std::int32_t kind;
    std::int32_t start;
    int key;
    std::int32_t edited;
  };
  // clang-format off
  const sCase cases[] = {
      {kOptionItemPalette, 23, VK_UP, 0},
      {kOptionItemPalette, 0, VK_DOWN, 23},
      {kOptionItemPalette, 5, VK_UP, 6},
      {kOptionItemMusic, 1, VK_UP, 0},
      {kOptionItemMusic, 0, VK_DOWN, 1},
      {kOptionItemSoundVolume, 10, VK_UP, 0},
      {kOptionItemSoundVolume, 0, VK_DOWN, 10},
      {kOptionItemRankingMode, 3, VK_UP, 0},
      {kOptionItemRankingMode, 2, VK_DOWN, 1},
      // Values the player never wrote come back into range without running over.
      {kOptionItemSoundVolume, 50, VK_DOWN, 0},
      {kOptionItemPalette, INT32_MIN, VK_DOWN, 23},
      {kOptionItemRankingMode, INT32_MAX, VK_UP, 0},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " from " << c.start);
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneOption;
    ShowOnly({c.kind, kOptionItemBack});
    ASSERT_TRUE(RunUntilShown());
    std::int32_t& field = g_Option.Number(c.kind);
    for (const bool cancel : {true, false}) {
      field = c.start;
      Press({'Z'});
      ASSERT_EQ(Scene()->m_SubStep, 2);
      EXPECT_EQ(g_MenuCursor.Depth(), 2);
      Press({c.key});
      EXPECT_EQ(field, c.edited);
      Press({cancel ? 'X' : 'Z'});
      EXPECT_EQ(field, cancel ? c.start : c.edited);
      EXPECT_EQ(Scene()->m_SubStep, 1);
      EXPECT_EQ(Scene()->m_State, 1) << "leaving an edit stays in the scene";
      EXPECT_EQ(g_MenuCursor.Depth(), 1);
      EXPECT_EQ(g_MenuCursor.current->row, 0) << "back on the item edited";
    }
  }
}

TEST_F(OptionSceneTest, TheEditIsDrawnAtOnceWithTheMarkerAndTheValueCursor) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  ShowOnly({1, 2, 3, 4, 5});
  ASSERT_TRUE(RunUntilShown());
  Press({VK_DOWN});  // SE
  const std::vector<std::uint32_t> before = ValuePixels(1);
  Press({'Z'});
  const int rowY = kOptionRowsY + kOptionRowHeight;
  EXPECT_EQ(BackPixel(kOptionCursorX + 8, rowY + 8), 0x00FFFFu) << "the edit marker on the item";
  EXPECT_EQ(BackPixel(kOptionValueCursorX + 8, rowY + 8), 0x00FFFFu) << "the cursor before the value";
  EXPECT_EQ(ValuePixels(1), before) << "nothing changed yet";
  Press({VK_UP});
  EXPECT_EQ(g_Option.m_SoundVolume, 8);
  const std::vector<std::uint32_t> changed = ValuePixels(1);
  EXPECT_NE(changed, before) << "the new value is on the panel before the edit ends";
  Press({'X'});
  EXPECT_EQ(ValuePixels(1), before) << "and the old one after a cancel";
}

TEST_F(OptionSceneTest, TheVolumeIsHeardAtOnceAndACancelGivesTheOldOneBack) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  WaveLayout wave;
  wave.samples = Ramp8(64);
  WriteHostFile("wave/se.wav", WaveImage(wave));
  ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
  g_SoundTable.clear();
  g_SoundTable.resize(3);
  for (SOUNDDATA& entry : g_SoundTable) ASSERT_TRUE(DS_Load(entry, "wave\\se.wav", 1, -150));
  ShowOnly({kOptionItemSoundVolume, kOptionItemBack});
  ASSERT_TRUE(RunUntilShown());
  Press({'Z'});
  Press({VK_UP});
  for (SOUNDDATA& entry : g_SoundTable) EXPECT_EQ(DS_GetVolume(entry, 0), -80) << "step 8 before the edit ends";
  Press({VK_UP});
  Press({VK_UP});
  EXPECT_EQ(g_Option.m_SoundVolume, 10);
  EXPECT_EQ(DS_GetVolume(g_SoundTable.At(2), 0), 0);
  Press({'X'});
  EXPECT_EQ(g_Option.m_SoundVolume, 7);
  for (SOUNDDATA& entry : g_SoundTable) EXPECT_EQ(DS_GetVolume(entry, 0), -150);
}

TEST_F(OptionSceneTest, AtEightBitsThePaletteChangesWhileBrowsingAndACancelReloadsTheOldOne) {
  ASSERT_TRUE(StartDisplay(0, 8, 1));
  // Each table filled with its own number: which one was read last shows in its first entry.
  for (int number : {0, 22, 23}) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp/hbt/hbt%02d.dat", number);
    WriteHostFile(name, std::string(kBlendTableBytes, static_cast<char>(number)));
  }
  g_BlendTable.fill(0xEE);
  ShowOnly({kOptionItemPalette, kOptionItemBack});
  ASSERT_TRUE(RunUntilShown());
  Press({'Z'});
  Press({VK_DOWN});
  EXPECT_EQ(g_Option.m_PaletteNumber, 23);
  EXPECT_EQ(g_BlendTable[0], 23);
  Press({VK_DOWN});
  EXPECT_EQ(g_BlendTable[0], 22);
  // Palette 21 has no file: its box, and the scene goes on editing.
  m_Boxes.clear();
  Press({VK_DOWN});
  EXPECT_EQ(g_Option.m_PaletteNumber, 21);
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_NE(m_Boxes[0].find("hbt21.dat"), std::string::npos) << m_Boxes[0];
  EXPECT_EQ(Scene()->m_SubStep, 2);
  Press({'X'});
  EXPECT_EQ(g_Option.m_PaletteNumber, 0);
  EXPECT_EQ(g_BlendTable[0], 0) << "the old palette is loaded again";
}

TEST_F(OptionSceneTest, TheNameEntryIsAskedForAndTheNewNameShown) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  ShowOnly({kOptionItemRankName, kOptionItemBack});
  ASSERT_TRUE(RunUntilShown());
  const std::vector<std::uint32_t> before = ValuePixels(0);
  m_Messages.clear();
  Press({'Z'});
  EXPECT_EQ(std::count(m_Messages.begin(), m_Messages.end(), WM_GAME_NAMEENTRY), 1);
  EXPECT_EQ(g_Option.m_RankName, "xyz");
  EXPECT_NE(ValuePixels(0), before);
  EXPECT_EQ(Scene()->m_State, 1);
  EXPECT_EQ(Scene()->m_SubStep, 1);
}

TEST_F(OptionSceneTest, TheNameEntryWaitEndsWhenTheWindowCloses) {
  // A window that begins to close while the dialog is up never reports it closed.
  m_NameEntryShutsDown = true;
  g_NameEntryDone = 0;
  RequestNameEntry();
  EXPECT_EQ(g_NameEntryDone.load(), 0);
  EXPECT_EQ(std::count(m_Messages.begin(), m_Messages.end(), WM_GAME_NAMEENTRY), 1);
  // After that nothing more is sent at all.
  RequestNameEntry();
  EXPECT_EQ(std::count(m_Messages.begin(), m_Messages.end(), WM_GAME_NAMEENTRY), 1);
}

TEST_F(OptionSceneTest, LeavingWritesOptionDatAndSetsTheMusicAsChosen) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  struct sCase {
    std::int32_t music;
    bool toggle;
    int leaveKey;  // on the menu: X leaves at once, Z on もどる
    bool musicOn;
  };
  const sCase cases[] = {
      {1, false, 'X', true},  // a visit without changes still writes the file
      {1, true, 'Z', false},
      {0, true, 'Z', true},
      {0, false, 'X', false},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "music " << c.music << " toggle " << c.toggle);
    std::filesystem::remove("user_data/Option.dat");
    g_SceneManager.DeleteScenes();
    g_SceneManager.m_Current = g_SceneManager.m_Next = kSceneOption;
    ShowOnly({kOptionItemMusic, kOptionItemBack});
    SetOption(3, c.music, 4, 2, "abc");
    // The manager as the start-up left it.
    g_Bgm.Release();
    if (c.music) {
      ASSERT_TRUE(g_Bgm.Init(1, g_BgmOggNames, g_BgmMidiNames, kBgmSlotCount));
    }
    ASSERT_TRUE(RunUntilShown());
    if (c.toggle) {
      Press({'Z'});
      Press({VK_DOWN});
      Press({'Z'});
    }
    if (c.leaveKey == 'Z') Press({VK_DOWN});
    m_Music.clear();
    Press({c.leaveKey});
    EXPECT_EQ(g_Bgm.Enabled(), c.music == 1) << "the change waits for the scene's end";
    ASSERT_TRUE(RunUntilCurrent(kSceneTitle));
    EXPECT_EQ(g_SceneManager.m_Previous, kSceneOption);
    EXPECT_EQ(g_Bgm.Enabled(), c.musicOn);

    cOption written;
    ASSERT_EQ(written.Load("user_data\\Option.dat"), 1);
    EXPECT_EQ(written.m_PaletteNumber, 3);
    EXPECT_EQ(written.m_Music, c.musicOn ? 1 : 0);
    EXPECT_EQ(written.m_SoundVolume, 4);
    EXPECT_EQ(written.m_RankingMode, 2);
    EXPECT_EQ(written.m_RankName, "abc");

    ASSERT_TRUE(RunUntilShown());
    EXPECT_EQ(m_Music, std::vector<int>{0}) << "the title asks for its music";
  }
}

}  // namespace
