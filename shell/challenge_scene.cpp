#include "shell/challenge_scene.h"

#include <algorithm>
#include <cstdio>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/text.h"
#include "project/project_paths.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/hbt_palette.h"
#include "shell/menu_cursor.h"
#include "shell/menu_panel.h"
#include "shell/ranking.h"
#include "shell/requests.h"
#include "shell/scene_manager.h"
#include "shell/title_scene.h"

const ChallengeScenePos g_ChallengeScenePos;

namespace {

constexpr std::int32_t kChallengeMusicSlot = 2;
constexpr std::int32_t kBigCell = 32;    // font 2
constexpr std::int32_t kSmallCell = 16;  // font 1
constexpr std::int32_t kHeadingY = 32;
constexpr std::int32_t kTotalScoreY = 88;
constexpr std::int32_t kHighScoreHeadingX = 32;
constexpr std::int32_t kHighScoreHeadingY = 128;
constexpr std::int32_t kStageLabelX = 64;
constexpr std::int32_t kMarkSize = 32;
constexpr std::int32_t kCursorImageX = 0;
constexpr std::int32_t kClearMarkImageX = 96;

// UiTexts of the screen.
constexpr std::int32_t kStageLabelText = 0;
constexpr std::int32_t kHighScoreText = 3;
constexpr std::int32_t kTotalScoreText = 4;

constexpr std::int32_t kSoundCursor = 0;
constexpr std::int32_t kSoundDecide = 1;
constexpr std::int32_t kSoundCancel = 2;
constexpr std::int32_t kSoundRefused = 3;
constexpr std::int32_t kSoundRankingSwitch = 6;
constexpr std::uint16_t kButtonDecide = 1;
constexpr std::uint16_t kButtonCancel = 2;
constexpr std::uint16_t kButtonRankingShow = 4;   // button 3
constexpr std::uint16_t kButtonRankingTable = 8;  // button 4

DDSURFACEDATA& Fixed(std::int32_t index) { return g_SurfaceTable[index]; }

bool ChallengeRankingEnabled() {
  return kPlayChallenge < g_System.m_RankingSets.Size() && g_System.m_RankingSets.At(kPlayChallenge).m_Enabled != 0;
}

// The challenge result of stage s; a stage the record holds no entry for is neither cleared nor
// scored (a project may list more stages than the record can keep).
const cSaveIntPair* ChallengeResult(std::int32_t stage) {
  if (stage < 0 || stage >= g_SaveData.m_ChallengeResults.Size()) return nullptr;
  return &g_SaveData.m_ChallengeResults.At(stage);
}

std::int32_t DecimalDigits(std::int32_t value) {
  std::int32_t digits = 1;
  for (std::int64_t v = value < 0 ? -static_cast<std::int64_t>(value) : value; v >= 10; v /= 10) ++digits;
  return digits;
}

void SetChallengeLives() {
  if (g_System.UnlimitedLivesIn(kPlayChallenge)) {
    g_SaveData.m_StartLives = kUnlimitedLives;
    g_SaveData.m_Lives = kUnlimitedLives;
    return;
  }
  const std::int32_t lives = g_System.StartingLivesOf(kPlayChallenge);
  g_SaveData.m_StartLives = lives;
  g_SaveData.m_Lives = lives - 1;
}

}  // namespace

void MakeChallengeStageFileName(char* out, std::size_t size, std::int32_t number) {
  if (!out || size == 0) return;
  std::snprintf(out, size, "%s%02d-1.%s", ProjectPathTable[kPathChallengeStagePrefix].c_str(), static_cast<int>(number),
                FileExtensionTable[kExtensionStage].c_str());
}

cChallengeScene::cChallengeScene() { SetHandlers({static_cast<Handler>(&cChallengeScene::OnStageChoice)}); }

cChallengeScene::~cChallengeScene() {
  for (std::int32_t index : {kChallengeAccessorySurface, kChallengeWindowSurface}) DDReleaseSurface(&Fixed(index));
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
}

std::unique_ptr<cScene> MakeChallengeScene() { return std::make_unique<cChallengeScene>(); }

void cChallengeScene::Frame() { MenuFrame(); }

DDSURFACEDATA* cChallengeScene::Panel() { return MenuPanel(); }

void cChallengeScene::Enter() {
  RequestMenuBgm(kChallengeMusicSlot);
  // The loader reports a missing picture itself; the scene goes on until the close arrives.
  if (!LoadSurfaceList(g_SurfaceTable, {kChallengeAccessorySurface, kChallengeWindowSurface}))
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  g_MenuCursor.Reset();
  g_MenuCursor.current->row = g_SceneManager.m_ChallengeRow;
  m_ListTop = g_SceneManager.m_ChallengeTop;
  // A progress file replaced since the manager kept them may open fewer stages: the list must not
  // start past its end, or the panel would show no row at all.
  CountOpenStages();
  g_MenuCursor.current->row = std::clamp(g_MenuCursor.current->row, 0, std::max(m_OpenStages - 1, 0));
  const std::int32_t row = g_MenuCursor.current->row;
  m_ListTop = std::clamp(m_ListTop, std::max(row - (kChallengeRowsShown - 1), 0),
                         std::min(row, std::max(m_OpenStages - kChallengeRowsShown, 0)));
  CountOpenStages();
  SelectChallengeStage(g_MenuCursor.current->row + 1);
  BuildChallengePanel();
  m_SubStep = 0;
}

void cChallengeScene::SelectChallengeStage(std::int32_t number) {
  char name[kChallengeNameSize];
  MakeChallengeStageFileName(name, sizeof name, number);
  g_SaveData.SetStageFileName(name);
  if (g_SceneManager.m_RankingFlag) LoadRankFile(g_Ranking, g_SceneManager.m_PlayMode, g_SaveData.m_StageName);
}

void cChallengeScene::CountOpenStages() {
  m_OpenStages = g_System.m_ChallengeAllOpen ? g_System.ChallengeStages() : std::max(g_SaveData.m_ChallengeOpen, 0);
  m_VisibleRows = std::clamp(m_OpenStages - m_ListTop, 0, kChallengeRowsShown);
}

void cChallengeScene::BuildChallengePanel() { DrawChallengePanel(MakeMenuPanel()); }

void cChallengeScene::DrawChallengePanel(DDSURFACEDATA* panel) {
  if (!panel) return;
  g_Fonts[1].DrawWindow(panel, 1, 1, kMenuPanelWidth - 2, kMenuPanelHeight - 2);
  const std::string& heading = g_System.m_TitleMenu.At(kTitleChallenge).m_Label;
  g_Fonts[2].Draw(panel, 320 - CharCount(heading) * kBigCell / 2, kHeadingY, heading.c_str(), 0);

  if (g_System.m_ChallengeShowTotalScore && g_SaveData.m_TotalScore > 0) {
    const std::string& label = g_System.m_UiTexts.At(kTotalScoreText);
    const std::int32_t cells = CharCount(label) + DecimalDigits(g_SaveData.m_TotalScore);
    g_Fonts[1].Printf(panel, 320 - cells * kSmallCell / 2, kTotalScoreY, "%s%d", label.c_str(),
                      static_cast<int>(g_SaveData.m_TotalScore));
  }
  if (g_SaveData.m_RankingShown == 0 && g_System.m_ChallengeShowStageScores)
    g_Fonts[2].Printf(panel, kHighScoreHeadingX, kHighScoreHeadingY, "         %s",
                      g_System.m_UiTexts.At(kHighScoreText).c_str());

  const std::string& stageLabel = g_System.m_UiTexts.At(kStageLabelText);
  const std::int32_t markX = (CharCount(stageLabel) + 4) * kBigCell;
  for (std::int32_t i = 0; i < m_VisibleRows; ++i) {
    const std::int32_t stage = m_ListTop + i;
    const std::int32_t y = kChallengeRowsY + i * kChallengeRowHeight;
    g_Fonts[2].Printf(panel, kStageLabelX, y, "%s%d", stageLabel.c_str(), static_cast<int>(stage + 1));
    const cSaveIntPair* result = ChallengeResult(stage);
    if (result && result->m_Cleared)
      DDBlt(panel, markX, y, kMarkSize, kMarkSize, &Fixed(kChallengeAccessorySurface), kClearMarkImageX, 0, 1);
    if (g_System.m_ChallengeShowStageScores)
      g_Fonts[2].Printf(panel, markX + 64, y, "%d", static_cast<int>(result ? result->m_BestScore : 0));
  }

  // A table number from a damaged progress file names no table: no ranking rather than a close.
  const std::int32_t table = g_SaveData.m_RankingTable;
  if (ChallengeRankingEnabled() && g_SaveData.m_RankingShown && table >= 0 && table < kRankTableCount)
    g_Ranking.DrawTable(panel, g_ChallengeScenePos.rankingX, g_ChallengeScenePos.rankingY, table, -1);
}

void cChallengeScene::DrawChallengeScreen() {
  DDSURFACEDATA* panel = Panel();
  if (MenuPanelLostItsPicture(panel)) DrawChallengePanel(panel);
  ShowMenuPanel(panel);
}

void cChallengeScene::FadeIn() {
  if (FadeRewritesMenuPanel()) DrawChallengePanel(Panel());
  DrawChallengeScreen();
  MenuFadeInStep();
}

void cChallengeScene::OnStageChoice() {
  const cInput& input = MenuInput();
  CountOpenStages();
  g_MenuCursor.MoveList(input, 1, &m_ListTop, kChallengeRowsY, kChallengeRowHeight, kChallengeCursorX, m_VisibleRows,
                        m_OpenStages, 1);
  PlayCursorSound(input, kCursorAxisHorizontal | kCursorAxisVertical, kSoundCursor);
  bool redraw = false;
  if (input.m_Direction) {
    // The rows shown follow the new list top at once.
    CountOpenStages();
    SelectChallengeStage(g_MenuCursor.current->row + 1);
    redraw = true;
  }

  if (input.m_Buttons & kButtonDecide) {
    Decide(g_MenuCursor.current->row);
  } else if (input.m_Buttons & kButtonCancel) {
    RequestSound(kSoundCancel);
    FadeOutTo(kSceneTitle);
    g_SceneManager.m_Previous = kSceneChallenge;
  } else if (HandleRankingKeys(input)) {
    redraw = true;
  }
  if (redraw) DrawChallengePanel(Panel());

  DrawChallengeScreen();
  const CursorState& cursor = *g_MenuCursor.current;
  DDBlt(&g_BackSurface, cursor.x, cursor.y, kMarkSize, kMarkSize, &Fixed(kChallengeAccessorySurface), kCursorImageX, 0,
        1);
}

void cChallengeScene::Decide(std::int32_t row) {
  // With no stage open there is no row to play: a stage outside the list would have no result
  // entry for the clear to record.
  if (row < 0 || row >= m_OpenStages) {
    RequestSound(kSoundRefused);
    return;
  }
  char name[kChallengeNameSize];
  MakeChallengeStageFileName(name, sizeof name, row + 1);
  if (!LoadStageFile(name, 1, &g_PlayState)) {
    RequestSound(kSoundRefused);
    ErrMesBox(SJ("ステージファイル %s が読み込めません！").c_str(), name);
    return;
  }
  RequestSound(kSoundDecide);
  // The numbered version that was found, not the name asked for.
  g_SaveData.SetStageFileName(g_Stage.m_FileName.c_str());
  g_SaveData.m_StageIndex = 1;
  g_SaveData.m_StageNumber = row + 1;
  SetChallengeLives();
  g_SaveData.m_SubStage = 1;
  g_SceneManager.m_ChallengeRow = row;
  g_SceneManager.m_ChallengeTop = m_ListTop;
  FadeOutTo(kScenePlay);
  g_SceneManager.m_Previous = kSceneChallenge;
}

bool cChallengeScene::HandleRankingKeys(const cInput& input) {
  const std::uint16_t held = input.m_Buttons & (kButtonRankingShow | kButtonRankingTable);
  const auto pressed = static_cast<std::uint16_t>(held & ~m_HeldRankingKeys);
  m_HeldRankingKeys = held;
  const bool enabled = ChallengeRankingEnabled();
  if (pressed & kButtonRankingShow) {
    if (!enabled) {
      const bool wasShown = g_SaveData.m_RankingShown != 0;
      g_SaveData.m_RankingShown = 0;
      return wasShown;
    }
    RequestSound(kSoundRankingSwitch);
    g_SaveData.m_RankingShown = g_SaveData.m_RankingShown ? 0 : 1;
    return true;
  }
  if ((pressed & kButtonRankingTable) && enabled && g_System.CountSystemFlags(g_SceneManager.m_PlayMode) > 1) {
    RequestSound(kSoundRankingSwitch);
    g_SaveData.CycleEnabledEntry(g_SceneManager.m_PlayMode, 1);
    return true;
  }
  return false;
}

void cChallengeScene::FadeOut() { MenuFadeOutStep(kSceneChallenge); }
