// The play scene's states around the play itself: the ready banners, the pause menu, the stage
// result, the retry menu and the game over. Each draws the stage frozen under what it shows.
#include <array>

#include "platform/audio/sound_effects.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/frame_draw.h"
#include "platform/display/surface.h"
#include "platform/host/input_devices.h"
#include "platform/host/message_queue.h"
#include "platform/input/input.h"
#include "platform/services/thread.h"
#include "platform/services/text.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "play/stage_draw.h"
#include "project/option.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/system_text_menu.h"
#include "shell/app_state.h"
#include "shell/menu_cursor.h"
#include "shell/ranking_display.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

namespace {

// Pictures of the surface table.
constexpr std::int32_t kAccessorySurface = 49;
constexpr std::int32_t kWordSurface = 51;

// A banner: its rectangle on Word.bmp and where it goes on the screen.
struct BannerRect {
  std::int32_t sx, sy, w, h, x, y;
};
constexpr BannerRect kStageBanner = {0, 0, 128, 32, 256, 224};
constexpr BannerRect kReplayBanner = {0, 32, 128, 32, 256, 224};
constexpr BannerRect kClearBanner = {0, 64, 128, 32, 256, 192};
constexpr BannerRect kGameOverBanner = {0, 96, 144, 32, 248, 224};
constexpr BannerRect kStartBannerRect = {160, 0, 80, 32, 280, 224};
// The stage number beside the stage banner: 32x32 digits from the word picture's row at y 128.
constexpr std::int32_t kStageNumberX = 384;
constexpr std::int32_t kStageNumberY = 224;
constexpr std::int32_t kDigitSize = 32;
constexpr std::int32_t kDigitRow = 128;

// Header flags of the banners and the result.
constexpr auto kStageNumberBanner = static_cast<StageField>(31);
constexpr auto kClearBannerShown = static_cast<StageField>(33);
constexpr auto kGameOverBannerShown = static_cast<StageField>(34);

// The menus: first UiText and entries, all at y 272 around the screen's middle, 16 dots per entry.
constexpr std::int32_t kPauseMenuText = 19;    // しゅうりょう, つづける, リトライ
constexpr std::int32_t kRetryMenuText = 22;    // リトライ, マップへ戻る
constexpr std::int32_t kRankingHintText = 27;  // F3キーでランキングへ登録
constexpr std::int32_t kMenuY = 272;
constexpr std::int32_t kMenuCentre = 320;
constexpr std::int32_t kMenuRow = 16;
constexpr std::int32_t kHintY = 456;

// Sounds of the system.
constexpr std::int32_t kSoundCursor = 0;
constexpr std::int32_t kSoundDecide = 1;
constexpr std::int32_t kSoundCancel = 2;

constexpr std::uint16_t kButtonDecide = 1;
constexpr std::uint16_t kButtonCancel = 2;

// The result waits this many counter units before it may be left.
constexpr std::int32_t kResultWait = 200;
constexpr std::int32_t kStripeEnd = 100;
constexpr std::int32_t kStripeDots = 4;
constexpr std::int32_t kResultPanelX = 336;
constexpr std::int32_t kResultPanelY = 224;

void DrawBanner(const BannerRect& banner) {
  DDBlt(&g_BackSurface, banner.x, banner.y, banner.w, banner.h, &g_SurfaceTable[kWordSurface], banner.sx, banner.sy, 1);
}

bool ReplayPlayback() { return g_SceneManager.m_TitleChoice == kTitleChoiceReplay; }

cInput* PlayerInput() { return g_Inputs.empty() ? nullptr : &g_Inputs[0]; }

// Player 1's buttons of this frame through the latch and the menus' key repeat; 0 without a player.
std::uint16_t LatchedButtons() {
  cInput* input = PlayerInput();
  if (input == nullptr) return 0;
  input->TriggerButtons(0);
  input->AutoRepeat();
  return input->m_Buttons;
}

bool F3Held() { return (GetAsyncKeyState(VK_F1 + 2) & 0x8000) != 0; }

bool ManualRanking() {
  const std::int32_t mode = g_Option.RankingMode();
  return mode == kRankingManualEnterName || mode == kRankingManualFixedName;
}

bool StoryStageCleared() {
  const std::int32_t number = g_SaveData.m_StageNumber;
  return number >= 0 && number < g_SaveData.m_RoundFlags.Size() && g_SaveData.m_RoundFlags.At(number) != 0;
}

bool ChallengeStageCleared() {
  const std::int32_t k = g_SaveData.m_StageNumber - 1;
  return k >= 0 && k < g_SaveData.m_ChallengeResults.Size() && g_SaveData.m_ChallengeResults.At(k).m_Cleared != 0;
}

}  // namespace

std::uint32_t ServeReplayHotKeys() {
  PlayHotKeys keys;
  keys.titleChoice = g_SceneManager.m_TitleChoice;
  keys.f1Held = (GetAsyncKeyState(VK_F1) & 0x8000) != 0;
  keys.f2Held = (GetAsyncKeyState(VK_F1 + 1) & 0x8000) != 0;
  return HandlePlayHotKeys(keys);
}

void cPlayScene::OnReady() {
  DrawStage(0, 1, 0, 1);
  const bool editorTestPlay = g_EditorLaunched != 0 && g_TestPlay != 0;
  if (!editorTestPlay) {
    if (ReplayPlayback()) {
      if (++m_BannerCounter < kBannerFrames) {
        DrawBanner(kReplayBanner);
        return;
      }
    } else if (g_Stage.Field(kStageNumberBanner) != 0) {
      if (++m_BannerCounter < kBannerFrames) {
        DrawBanner(kStageBanner);
        DrawNumber(&g_BackSurface, kStageNumberX, kStageNumberY, kDigitSize, kDigitSize, &g_SurfaceTable[kWordSurface],
                   0, kDigitRow, 1, g_SaveData.m_StageIndex, 1, 0);
        return;
      }
    }
    if (g_Stage.Field(kStartBanner) != 0 && ++m_StartBannerCounter < kBannerFrames) {
      DrawBanner(kStartBannerRect);
      return;
    }
  }
  if (cHero* hero = Hero0(); hero != nullptr) {
    const std::int32_t pattern = hero->m_Flying != 0 ? 2 : 0;
    if (pattern < hero->m_Anime.PatternCount()) hero->m_Anime.SetPattern(pattern, 1);
  }
  m_BannerCounter = 0;
  m_State = kPlayRunning;
}

std::int32_t cPlayScene::PauseMenuEntries() const {
  switch (g_SceneManager.m_PlayMode) {
    case kPlayFree:
      return 3;
    case kPlayStory:
      return g_System.m_StoryPauseRetry != 0 && StoryStageCleared() ? 3 : 2;
    case kPlayChallenge:
      return g_System.m_ChallengePauseRetry != 0 && ChallengeStageCleared() ? 3 : 2;
    default:
      return 2;
  }
}

void cPlayScene::DrawMenu(std::int32_t firstText, std::int32_t count) {
  const std::int32_t x = g_System.MenuTextLeftX(kMenuCentre, firstText, count, 1);
  DrawSystemTextMenu(&g_BackSurface, x, kMenuY, firstText, count, 1);
  const CursorState& cursor = *g_MenuCursor.current;
  DDBlt(&g_BackSurface, cursor.x, cursor.y, 16, 16, &g_SurfaceTable[kAccessorySurface], 64, 0, 1);
}

void cPlayScene::LeaveTo(std::int32_t nextScene) {
  g_SceneManager.m_Next = nextScene;
  g_MenuCursor.current->row = g_SceneManager.m_TitleChoice;
  m_SubStep = 0;
  m_State = kPlayFadeOut;
}

void cPlayScene::OnPauseMenu() {
  if (ServeReplayHotKeys() != 0) return;
  const std::int32_t count = PauseMenuEntries();
  if (m_SubStep == 0) {
    g_MenuCursor.current->row = 1;
    m_SubStep = 1;
  }
  const std::uint16_t buttons = LatchedButtons();
  const std::int32_t x = g_System.MenuTextLeftX(kMenuCentre, kPauseMenuText, count, 1);
  static const cInput idle;
  const cInput& input = PlayerInput() != nullptr ? *PlayerInput() : idle;
  g_MenuCursor.MoveGrid(input, x, kMenuY, 0, kMenuRow, 1, count);
  PlayCursorSound(input, kCursorAxisVertical, kSoundCursor);

  if ((buttons & kButtonDecide) != 0) {
    PlaySE(kSoundDecide);
    switch (g_MenuCursor.current->row) {
      case 0:
        if (g_TestPlay != 0 && count == 3) {
          PostMainWindowMessage(WM_CLOSE, 0, 0);
          m_State = kPlayFadeOut;
        } else {
          LeaveTo(kSceneTitle);
        }
        return;
      case 1:
        m_SwallowButtons = 1;
        m_State = m_SavedState;
        m_SubStep = m_SavedSubStep;
        return;
      default:
        m_SwallowButtons = 1;
        g_SaveData.RestoreCarriedStatus(1, g_SceneManager.m_PlayMode, g_TestPlay != 0);
        m_SubStep = 0;
        Restart(0);
        return;
    }
  }
  if ((buttons & kButtonCancel) != 0) {
    PlaySE(kSoundCancel);
    m_SwallowButtons = 1;
    m_State = m_SavedState;
    m_SubStep = count == 3 ? m_SavedSubStep : 0;
    return;
  }
  DrawStage(0, 1, 0, 1);
  DrawMenu(kPauseMenuText, count);
}

void cPlayScene::OnStageResult() {
  const bool endsByItself = g_Stage.Field(kClearResultEndsByItself) != 0;
  if (!endsByItself) {
    if (CheckPauseKey() != 0) {
      m_SubStep = 0;
      m_State = kPlayPauseMenu;
      return;
    }
    ServeReplayHotKeys();
    if (ManualRanking() && F3Held()) RegisterRanking();
  }
  if (m_SubStep == 0) {
    m_BannerCounter = 0;
    m_SubStep = 1;
  }
  const std::uint16_t buttons = LatchedButtons();
  const bool waited = m_BannerCounter > kResultWait - 1;
  if (waited && (endsByItself || (buttons & kButtonDecide) != 0)) {
    if (!endsByItself) {
      if (m_RankEntryPossible != 0 && !ManualRanking()) {
        RegisterRanking();
        // The program closed while the ranking was shown: nothing more follows.
        if (QuitRequested()) return;
      } else {
        PlaySE(kSoundDecide);
      }
    }
    g_SceneManager.m_Next = AfterStageClear();
    m_BannerCounter = 0;
    m_SubStep = 0;
    m_State = kPlayFadeOut;
    return;
  }

  bool anyPosition = false;
  for (std::int32_t position : m_RankPositions) anyPosition |= position != -1;
  if (!endsByItself && m_RankRegistered == 0 && anyPosition && ManualRanking()) {
    DrawStage(0, 1, 0, 0);
    if (kRankingHintText < g_System.m_UiTexts.Size()) {
      const std::string& text = g_System.m_UiTexts.At(kRankingHintText);
      g_Fonts[1].Draw(&g_BackSurface, kMenuCentre - CharCount(text) * 16 / 2, kHintY, text.c_str(), 0);
    }
  } else {
    DrawStage(0, 1, 0, 1);
  }

  if (g_Stage.Field(kClearBannerShown) == 0) {
    m_BannerCounter = kResultWait;
  } else {
    m_BannerCounter += 4;
    const BannerRect& b = kClearBanner;
    if (m_BannerCounter < kStripeEnd)
      StripeBlt(&g_BackSurface, b.x, b.y, b.w, b.h, kStripeDots, kStripeEnd - m_BannerCounter,
                &g_SurfaceTable[kWordSurface], b.sx, b.sy, 1, 0);
    else
      DrawBanner(b);
  }
  if (m_BannerCounter > kResultWait - 1 && g_SceneManager.m_RankingFlag != 0 && !endsByItself)
    DrawResultPanel(&g_BackSurface, kResultPanelX, kResultPanelY, m_RankPositions);
}

void cPlayScene::OnRetryMenu() {
  if (ServeReplayHotKeys() != 0) return;
  if (m_SubStep == 0) {
    g_MenuCursor.current->row = 0;
    m_SubStep = 1;
  }
  const std::uint16_t buttons = LatchedButtons();
  const std::int32_t x = g_System.MenuTextLeftX(kMenuCentre, kRetryMenuText, 2, 1);
  static const cInput idle;
  const cInput& input = PlayerInput() != nullptr ? *PlayerInput() : idle;
  g_MenuCursor.MoveGrid(input, x, kMenuY, 0, kMenuRow, 1, 2);
  PlayCursorSound(input, kCursorAxisVertical, kSoundCursor);
  if ((buttons & kButtonDecide) != 0) {
    PlaySE(kSoundDecide);
    if (g_MenuCursor.current->row == 0) {
      Restart(0);
    } else {
      g_SaveData.m_BackToMap = 1;
      LeaveTo(kSceneWorldMap);
    }
    return;
  }
  DrawStage(0, 1, 0, 1);
  DrawMenu(kRetryMenuText, 2);
}

void cPlayScene::OnGameOver() {
  if (CheckPauseKey() != 0) {
    m_SubStep = 0;
    m_State = kPlayPauseMenu;
    return;
  }
  ServeReplayHotKeys();
  if ((LatchedButtons() & kButtonDecide) != 0) {
    PlaySE(kSoundDecide);
    g_SceneManager.m_Next = kSceneTitle;
    m_State = kPlayFadeOut;
    return;
  }
  DrawStage(0, 1, 0, 1);
  if (g_Stage.Field(kGameOverBannerShown) != 0) DrawBanner(kGameOverBanner);
}
