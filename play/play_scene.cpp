#include "play/play_scene.h"

#include <cmath>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/palette_fade.h"
#include "platform/display/surface.h"
#include "platform/host/message_queue.h"
#include "platform/services/log.h"
#include "play/chara.h"
#include "play/chip_sheets.h"
#include "play/hero.h"
#include "play/play_trace.h"
#include "play/shot.h"
#include "play/stage_bitmaps.h"
#include "play/stage_clear.h"
#include "play/stage_draw.h"
#include "play/stage_draw_objects.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "shell/app_state.h"
#include "shell/menu_cursor.h"
#include "shell/ranking.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"
#include "shell/title_scene.h"

cPlayScene* g_PlayScene = nullptr;
std::uint32_t g_ReplayRoundsEnded = 0;

const double g_InvSqrt2 = 1.0 / std::sqrt(2.0);

namespace {

// The pictures of stage play in the surface table: the sheets, the system pictures of the play screen
// and the work surfaces (2-47, 49-51, 55-68).
constexpr std::int32_t kFirstLayerSurface = kBgLayerSurface;
constexpr std::int32_t kLastPlaySurface = 68;

std::vector<std::int32_t> PlaySurfaceRows() {
  std::vector<std::int32_t> rows;
  for (std::int32_t i = 2; i <= 47; ++i) rows.push_back(i);
  for (std::int32_t i = 49; i <= 51; ++i) rows.push_back(i);
  for (std::int32_t i = kFirstLayerSurface; i <= kLastPlaySurface; ++i) rows.push_back(i);
  return rows;
}

// The stage's background images in the descriptors of the layer surfaces: a layer drawn from a
// file names it (in system memory when it is larger than the screen), any other leaves its surface
// unnamed.
void NameLayerSurfaces() {
  for (std::int32_t i = 0; i < kMaxBgLayers; ++i) {
    SurfaceDescriptor& descriptor = g_SurfaceDescriptors[kFirstLayerSurface + i];
    const bool fromFile = i < g_Stage.m_BgLayers.Size() && g_Stage.m_BgLayers.At(i).m_PlainColour == 0 &&
                          !g_Stage.m_BgLayers.At(i).m_FileName.empty();
    if (!fromFile) {
      descriptor.name.clear();
      continue;
    }
    const std::string& file = g_Stage.m_BgLayers.At(i).m_FileName;
    descriptor.name = file.substr(0, SurfaceDescriptor::kMaxName);
    std::int32_t exceeds = 0;
    if (BitmapExceedsSize(&exceeds, file, kViewWidth, kViewHeight)) descriptor.systemMemory = exceeds;
  }
}

// The object groups of the stage drawing, drawn from the play scene's containers.
void DrawHeroGroup(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
  if (g_PlayScene == nullptr || g_Heroes.empty() || !DrawnInPass(g_Heroes[0].m_Def.m_Z, priority)) return;
  g_PlayScene->DrawHero(dst, frozen);
}

// Items have no drawing priority of their own: they are drawn with the characters of the default
// priority.
constexpr std::int32_t kItemDrawPriority = 3;

void DrawItemGroup(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
  if (!DrawnInPass(kItemDrawPriority, priority)) return;
  for (cItem& item : g_ItemList) {
    if (item.m_OnScreen == 0 || item.m_Held != 0) continue;
    item.UpdateScreenRect();
    item.Draw(dst, frozen);
  }
}

void DrawCharaGroup(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return;
  g_CharaList.ForEach([=](cChara& chara) {
    if (!DrawnInPass(chara.m_Def.m_Z, priority)) return;
    if (scene->DrawChara(chara, dst, frozen) == 1) scene->RemoveChara(chara);
  });
}

bool OurDrawers() { return g_ObjectDrawers[kDrawHero] == DrawHeroGroup; }

}  // namespace

cPlayScene::cPlayScene()
    : m_GroupCharas(kObjectGroups), m_GroupShots(kObjectGroups), m_RankPositions(kRankTables, -1), m_RankValues(kRankTables, 0) {
  SetHandlers({static_cast<Handler>(&cPlayScene::OnReady), static_cast<Handler>(&cPlayScene::OnPlay),
               static_cast<Handler>(&cPlayScene::OnPauseMenu), static_cast<Handler>(&cPlayScene::OnStageResult),
               static_cast<Handler>(&cPlayScene::OnRetryMenu), static_cast<Handler>(&cPlayScene::OnGameOver)});
  g_SaveData.m_Music = 0;
  // One play scene at a time: the newest is the one every part of stage play reads.
  g_PlayScene = this;
  AttachCloseRoad(*this);
}

cPlayScene::~cPlayScene() {
  DetachCloseRoad(*this);
  if (g_PlayScene == this) {
    // The objects go while the scene they are listed in still exists.
    ClearShots();
    g_CharaList.Clear();
    g_ItemList.Clear();
    g_Heroes.clear();
    m_Heroes.clear();
    if (OurDrawers()) {
      g_ObjectDrawers = {};
      g_DarknessDrawer = nullptr;
    }
    // Objects that outlive the scene (the global containers) must not reach a scene that is gone.
    g_PlayScene = nullptr;
  }
  if (m_Entered) {
    for (std::int32_t row : PlaySurfaceRows()) DDReleaseSurface(&g_SurfaceTable[row]);
    ReleaseSurfaceVector(g_CharaExcSurfaces);
    ReleaseSurfaceVector(g_SwordSurfaces);
    ReleaseSurfaceVector(g_EffectSurfaces);
    ClearPictureLists();
    ClearMessageLists();
  }
}

void cPlayScene::InstallDrawers() { g_ObjectDrawers = {DrawHeroGroup, DrawItemGroup, DrawCharaGroup, DrawShotGroup}; }

cCharaBase* cPlayScene::Hero(std::int32_t n) const {
  if (n < 0 || n >= m_Heroes.Size()) return nullptr;
  return m_Heroes[static_cast<std::size_t>(n)];
}

cHero* cPlayScene::Hero0() const { return g_Heroes.empty() ? nullptr : &g_Heroes[0]; }

void cPlayScene::Frame() {
  if (m_State == kBroken) return;
  if (m_State == kNotEntered) {
    g_PlayScene = this;
    if (!EnterSceneGuarded(*this) || m_State == kBroken) {
      m_State = kBroken;
      return;
    }
    m_State = kPlayFadeIn;
    TracePlayState(m_State);
  }
  const std::int32_t before = m_State;
  CallStateHandler();
  if (m_State != before) TracePlayState(m_State);
}

bool cPlayScene::LoadPlaySurfaces() {
  NameLayerSurfaces();
  if (g_SceneManager.m_Previous == kScenePlay) {
    std::vector<std::int32_t> layers;
    for (std::int32_t i = 0; i < kMaxBgLayers; ++i) layers.push_back(kFirstLayerSurface + i);
    return LoadSurfaceList(g_SurfaceTable, layers.data(), static_cast<std::int32_t>(layers.size()));
  }
  const std::vector<std::int32_t> rows = PlaySurfaceRows();
  m_Entered = true;
  if (!LoadSurfaceList(g_SurfaceTable, rows.data(), static_cast<std::int32_t>(rows.size()))) return false;
  ComposeChipSheets();
  LoadCharaBitmaps();
  LoadSwordBitmaps();
  LoadEffectBitmaps();
  ResetPlayProgress();
  UseLife(g_SaveData);
  return true;
}

void cPlayScene::Enter() {
  g_PlayScene = this;
  m_RankPositions.assign(kRankTables, -1);
  m_RankValues.assign(kRankTables, 0);
  if (!LoadPlaySurfaces()) {
    // Without its pictures the stage cannot be shown: the scene stops here and the program closes.
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    m_State = kBroken;
    return;
  }
  SetStage(0, 1);
  if (m_State == kBroken) return;
  g_MenuCursor.Reset();
  m_SubStep = 0;
}

void cPlayScene::FadeIn() {
  DrawStage(0, 1, 0, 1);
  if (ScreenFadeIn(g_FadePalette, 0, 255, 0, 0, 0, g_SceneManager.m_FadeSpeed, g_Palette, false))
    m_State = kPlayReady;
}

void cPlayScene::FadeOut() {
  DrawStage(0, 1, 0, 1);
  if (!ScreenFadeOut(g_FadePalette, 0, 255, 0, 0, 0, g_SceneManager.m_FadeSpeed, g_Palette, false)) return;
  DDClear(&g_BackSurface, 16);
  if (g_SceneManager.m_TitleChoice == kTitleFreePlay && g_SaveData.m_SubStage == 0) {
    const std::string name = g_Stage.m_FileName;
    if (StartStageFile(name.c_str(), 0) == 0) {
      // The stage to play again is gone: nothing more is shown and the program closes.
      PostMainWindowMessage(WM_CLOSE, 0, 0);
      m_State = kBroken;
      return;
    }
  }
  g_SceneManager.m_FrameRate = 60;
  g_SceneManager.m_Current = g_SceneManager.m_Next;
  g_SceneManager.m_Previous = kScenePlay;
  m_State = kNotEntered;
}

void cPlayScene::DrawHero(DDSURFACEDATA* surface, std::int32_t frozen) {
  cHero* hero = Hero0();
  if (hero == nullptr) return;
  hero->UpdateScreenRect();
  if (hero->m_Dead == 0) {
    hero->Draw(surface, frozen);
    hero->DrawHPGauge(surface);
    hero->DrawSPGauge(surface);
    return;
  }
  if (hero->DrawDying(surface, frozen) != 1) return;
  // The hero is gone from here on: a new stage set-up replaces it.
  const bool testPlay = g_TestPlay != 0;
  if (g_SceneManager.m_TitleChoice == kTitleChoiceReplay) {
    g_SaveData.RestoreCarriedStatus(1, g_SceneManager.m_PlayMode, testPlay);
    Restart(1);
    return;
  }
  if (UseLife(g_SaveData) == 0) {
    m_State = kPlayGameOver;
    return;
  }
  if (g_Stage.Field(static_cast<StageField>(27)) != 0) g_SaveData.ResetCarriedStatusFlags(0);
  g_SaveData.RestoreCarriedStatus(0, g_SceneManager.m_PlayMode, testPlay);
  if (g_SceneManager.m_PlayMode == kPlayStory && g_System.m_StoryRetryMenu != 0) {
    m_SubStep = 0;
    m_State = kPlayRetryMenu;
    return;
  }
  Restart(0);
}

void cPlayScene::Restart(std::int32_t startBgm) {
  SetStage(1, startBgm);
  if (m_State == kBroken) return;
  m_State = kPlayReady;
}

std::int32_t cPlayScene::DrawChara(cChara& chara, DDSURFACEDATA* surface, std::int32_t frozen) {
  if (chara.m_Dead != 0) {
    chara.UpdateScreenRect();
    return chara.DrawDying(surface, frozen) == 1 ? 1 : 0;
  }
  if (chara.m_OnScreen != 0) {
    chara.UpdateScreenRect();
    if (chara.m_Def.m_Transparent != 0) {
      chara.ChooseAnimeFrame(frozen);
      chara.StepEffectOnly(frozen);
    } else {
      chara.Draw(surface, frozen);
    }
    chara.DrawHPGauge(surface);
    chara.DrawSPGauge(surface);
    if (chara.m_Def.m_Transparent == 0) chara.DrawHeldItemIcon(surface);
    return 0;
  }
  if (chara.m_RunsThisStep != 0) {
    chara.ChooseAnimeFrame(frozen);
    chara.StepEffectOnly(frozen);
  }
  return 0;
}

void cPlayScene::RemoveChara(cChara& chara) {
  chara.UnlinkEverywhere();
  g_CharaList.Remove(&chara);
}

void cPlayScene::ResetPlayProgress() {
  g_SaveData.m_Lives = g_SaveData.m_StartLives;
  g_SaveData.m_Score = 0;
  g_SaveData.m_SumScore = g_SaveData.m_SumTimeLeft = g_SaveData.m_SumPlayTime = 0;
  g_SaveData.m_SumHP = g_SaveData.m_SumSP = 0;
  m_ScrollX.m_Pos = m_ScrollY.m_Pos = 0.0;
  m_SubStep = m_BannerCounter = m_StartBannerCounter = m_SwallowButtons = m_TimeLeft = m_RankRegistered = 0;
  m_Messages.clear();
  if (g_SceneManager.m_TitleChoice != kTitleChoiceReplay) EmptyReplayRecords();
  if (g_TestPlay != 0) g_SaveData.m_StageIndex = 1;
  if (g_SceneManager.m_RankingFlag != 0)
    LoadRankFile(g_Ranking, g_SceneManager.m_PlayMode, g_SaveData.m_StageName);
}

std::int32_t UseLife(cSaveData& progress) {
  if (g_TestPlay != 0) return 1;
  if (progress.m_Lives == kUnlimitedLives) return 1;
  if (progress.m_Lives < 1) return 0;
  --progress.m_Lives;
  return 1;
}
