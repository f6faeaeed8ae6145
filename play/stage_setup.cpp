// The stage set-up: the whole stage built again from the live stage record, in a fixed order, at the
// first start, at every retry and when a replay starts over.
#include <cmath>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "platform/host/clock.h"
#include "platform/host/message_queue.h"
#include "platform/input/input.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "platform/services/random.h"
#include "platform/services/text.h"
#include "platform/services/timers.h"
#include "play/chara.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/map_cells.h"
#include "play/placing.h"
#include "play/play_scene.h"
#include "play/contacts.h"
#include "play/shot.h"
#include "play/stage_draw.h"
#include "play/stage_draw_objects.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "shell/app_state.h"
#include "shell/menu_cursor.h"
#include "shell/requests.h"
#include "shell/run_options.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

namespace {

// Header fields the set-up reads beyond those the stage header names.
constexpr auto kScrollUseFirstColumn = static_cast<StageField>(4);
constexpr auto kScrollUseLastColumn = static_cast<StageField>(5);
constexpr auto kScrollUseFirstRow = static_cast<StageField>(6);
constexpr auto kScrollUseLastRow = static_cast<StageField>(7);
constexpr auto kTimeLimitOn = static_cast<StageField>(13);
constexpr auto kTimeLimitSeconds = static_cast<StageField>(14);
constexpr auto kScrollModeX = static_cast<StageField>(16);
constexpr auto kScrollModeY = static_cast<StageField>(17);
constexpr auto kAutoScrollSpeedX = static_cast<StageField>(18);
constexpr auto kAutoScrollSpeedY = static_cast<StageField>(19);
constexpr auto kContactLevel = static_cast<StageField>(22);
constexpr auto kTakeCarriedStatus = static_cast<StageField>(27);

// The trigger raised before the stage starts (ステージ開始前).
constexpr std::int32_t kTriggerBeforeStart = 18;
// The hero's animation patterns at the start.
constexpr std::int32_t kPatternStanding = 0;
constexpr std::int32_t kPatternFlying = 2;

// The seed of a new try: the run's --seed when given, else the clock.
std::uint32_t NewTrySeed() {
  if (g_RunOptions.seed) return *g_RunOptions.seed;
  return ClockMs();
}

bool ReplayPlayback() { return g_SceneManager.m_TitleChoice == kTitleChoiceReplay; }

// A replay read again for its new round; a file that no longer reads leaves an empty record, so the
// round plays no input rather than what a damaged read left behind.
void ReadReplayAgain() {
  const std::string path = g_Stage.m_FileName;
  cStageData header;
  if (g_ReplayRecord.ReadReplayFile(path.c_str(), g_Stage, header, g_SaveData) == 0) {
    g_ReplayRecord.ClearStreams();
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  }
}

void TakeReplayAndSeed(std::uint32_t& seed) {
  if (ReplayPlayback()) {
    g_ReplayRecord.RewindPlayback();
    seed = g_ReplayRecord.m_Seed;
  } else if (ReplayRecordingOn()) {
    g_PrevStageStartSave = g_StageStartSave;
    g_StageStartSave = g_SaveData;
    g_PrevReplayRecord = g_ReplayRecord;
    g_ReplayRecord.Reset();
    g_ReplayRecord.ClearStreams();
    seed = NewTrySeed();
    g_ReplayRecord.m_Seed = seed;
  }
  GameSrand(seed);
}

void StartStageMusic(std::int32_t startBgm) {
  const std::int32_t music = g_Stage.Field(kStageMusic);
  const std::int32_t param = g_Stage.Field(kMusicLoops);
  const bool playing = g_SaveData.m_Music == music;
  if (startBgm != 0) {
    if (g_Stage.Field(kKeepMusicOnRestart) != 0 && playing) {
      if (music == 0) RequestBGM(0, param);
      return;
    }
    RequestBGM(music, param);
    return;
  }
  if (!playing) RequestBGM(music, param);
}

void SetupAxes(cPlayScene& scene) {
  ScrollAxis& x = scene.m_ScrollX;
  x.Setup(0, g_Stage.Field(kStageWidth), g_Stage.Field(kExtraExtentX));
  x.SetAutoScroll(g_Stage.Field(kScrollModeX), g_Stage.Field(kAutoScrollSpeedX));
  x.SetScrollRange(g_Stage.Field(kScrollFirstColumn), g_Stage.Field(kScrollLastColumn),
                   g_Stage.Field(kScrollUseFirstColumn), g_Stage.Field(kScrollUseLastColumn));
  ScrollAxis& y = scene.m_ScrollY;
  y.Setup(1, g_Stage.Field(kStageHeight), g_Stage.Field(kExtraExtentY));
  y.SetAutoScroll(g_Stage.Field(kScrollModeY), g_Stage.Field(kAutoScrollSpeedY));
  y.SetScrollRange(g_Stage.Field(kScrollFirstRow), g_Stage.Field(kScrollLastRow), g_Stage.Field(kScrollUseFirstRow),
                   g_Stage.Field(kScrollUseLastRow));
}

void SetStartPattern(cCharaBase& chara) {
  const std::int32_t pattern = chara.m_Flying != 0 ? kPatternFlying : kPatternStanding;
  // A database whose animation set has fewer patterns keeps the one it has.
  if (pattern < chara.m_Anime.PatternCount()) chara.m_Anime.SetPattern(pattern, 1);
}

void SetupHeroes(cPlayScene& scene) {
  scene.m_HeroCount = 1;
  scene.m_Heroes.clear();
  g_Heroes.clear();
  g_Heroes.resize(static_cast<std::size_t>(scene.m_HeroCount));
  LogF("A");
  for (std::int32_t i = 0; i < scene.m_HeroCount; ++i) {
    const cCharaDef& def = g_Stage.m_PlacedCharas.At(g_Stage.FindHeroRecord());
    cHero& hero = g_Heroes.At(i);
    hero.Setup(scene.m_NextCharaId++, def, (def.m_PosX + 10) * 32 + 16, (def.m_PosY + 10) * 32 + 16);
    hero.PlaceAtColumnRow(def.m_PosX, def.m_PosY);
    const double dx = def.OffsetX(0, def.m_Facing);
    const double dy = def.OffsetY(0, def.m_Facing);
    hero.m_X1 += dx;
    hero.m_X2 += dx;
    hero.m_Y1 += dy;
    hero.m_Y2 += dy;
    if (g_Stage.Field(kTakeCarriedStatus) != 0) g_SaveData.GetCarriedHeroValues(i, &hero.m_Hp, &hero.m_Sp);
    SetStartPattern(hero);
    scene.m_Heroes.push_back(&hero);
  }
  LogF("B");
}

void CentreCameras(cPlayScene& scene, cHero& hero) {
  scene.m_ScrollX.m_Pos = hero.m_X1 - 320 + hero.m_Width / 2;
  scene.m_ScrollX.ClampScrollAxis();
  scene.m_ScrollY.m_Pos = hero.m_Y1 - 240 + hero.m_Height / 2;
  scene.m_ScrollY.ClampScrollAxis();
  hero.UpdateScreenRect();
}

void HeroDarkness(DDSURFACEDATA* dst) {
  if (g_PlayScene != nullptr && !g_Heroes.empty()) g_Heroes[0].DrawDarkness(dst);
}

void SetupDarkness(const cHero& hero) {
  if (hero.m_Def.m_SightShape == 0) {
    g_DarknessDrawer = nullptr;
    return;
  }
  BuildDarknessSurfaces(&g_SurfaceTable[kDarknessSurface], &g_SurfaceTable[kDarknessSpotSurface]);
  g_DarknessDrawer = HeroDarkness;
}

void ResetPresentation(cPlayScene& scene) {
  scene.m_Messages.clear();
  scene.m_Effects.clear();
  scene.m_ScreenEffect = cScrEffectPlayer();
  scene.m_ScreenColour = cScreenColour();
  ClearPictureLists();
  ClearMessageLists();
}

// The start flows of every object; a character that they remove or kill goes before the first frame.
void RunStartFlows(cPlayScene& scene) {
  RunTriggeredFlows(g_Heroes.At(0), kTriggerBeforeStart);
  g_CharaList.ForEach([&scene](cChara& chara) {
    RunTriggeredFlows(chara, kTriggerBeforeStart);
    if (chara.m_RemovalMark != 0) {
      scene.RemoveChara(chara);
    } else if (chara.m_Hp <= 0) {
      ProcessDeath(chara);
      scene.RemoveChara(chara);
    }
  });
}

}  // namespace

void SightChanged(cCharaBase& chara) {
  chara.m_Sight = HblToDots(static_cast<std::int8_t>(chara.m_Def.m_SightRange));
  // Only a stage that darkens has the overlay; elsewhere building one would only cost memory.
  if (g_DarknessDrawer != nullptr)
    BuildDarknessSurfaces(&g_SurfaceTable[kDarknessSurface], &g_SurfaceTable[kDarknessSpotSurface]);
}

void ScrollSpeedChanged(std::int32_t axis) {
  if (g_PlayScene == nullptr) return;
  ScrollAxis& scroll = axis == 0 ? g_PlayScene->m_ScrollX : g_PlayScene->m_ScrollY;
  scroll.SetAutoScroll(scroll.m_AutoOn, axis == 0 ? g_ScrollSpeedX : g_ScrollSpeedY);
}

void BuildContactSchedule(CheckedVector<std::int32_t>& schedule, std::int32_t steps, std::int32_t contacts) {
  schedule.assign(static_cast<std::size_t>(steps > 0 ? steps : 0), contacts == 0 ? 1 : 0);
  if (contacts == 0 || steps <= 0) return;
  // The marks fall on the truncations of a running sum of steps / contacts; when the sum runs out of
  // the vector before every mark was placed, the last step takes one as well.
  const double d = static_cast<double>(steps) / contacts;
  double a = 0.0;
  std::int32_t marks = 0;
  for (;;) {
    const double at = std::trunc(a);
    if (at < 0.0 || at >= steps) break;
    schedule.At(static_cast<std::int32_t>(at)) = 1;
    a += d;
    ++marks;
  }
  if (marks < contacts) schedule.At(steps - 1) = 1;
}

void cPlayScene::SetStage(std::int32_t restart, std::int32_t startBgm) {
  try {
    LogF("In SetStage");
    m_FrameCount = 0;
    for (auto& group : m_GroupCharas) group.Clear();
    ClearShots();
    g_CharaList.Clear();
    g_ItemList.Clear();

    if (restart != 0) {
      if (ReplayPlayback()) {
        ++g_ReplayRoundsEnded;
        ReadReplayAgain();
      }
      // What scripts changed in the header during the try is undone.
      g_Stage.CopyHeaderFrom(g_PlayState);
    }
    TakeReplayAndSeed(m_RandomSeed);

    if (g_Stage.Field(kTakeCarriedStatus) != 0)
      g_SaveData.ApplyCarriedStatus(0, g_Stage.m_PlacedCharas.At(g_Stage.FindHeroRecord()), g_Stage);
    StartStageMusic(startBgm);

    m_NextCharaId = m_NextItemId = m_NextExtraId = 0;
    g_Stage.SetSpeedLevel(g_Stage.Field(kSpeedLevel));
    SetupAxes(*this);
    BuildMapCells(g_Stage);

    SetupHeroes(*this);
    cHero& hero = g_Heroes.At(0);
    CentreCameras(*this, hero);
    SetupDarkness(hero);
    InstallDrawers();

    m_StageVars.assign(kStageVarCount, 0);
    LogF("10");
    PlaceStageCharasAndItems(g_Stage, m_NextCharaId, m_NextItemId);
    LogF("11");
    LogF("12");
    LogF("C");
    LogF("D");

    m_GroupCharas.At(hero.m_Group).Emplace(&hero);
    for (cChara& chara : g_CharaList) m_GroupCharas.At(chara.m_Group).Emplace(&chara);
    for (int k = 0; k < kObjectOutRules; ++k) {
      const auto& sides = g_Stage.m_Rules[static_cast<std::size_t>(k)].m_Sides;
      m_OutRuleOn[static_cast<std::size_t>(k)] = (sides[0] | sides[1] | sides[2] | sides[3]) != 0 ? 1 : 0;
    }
    ResetPresentation(*this);
    BuildContactSchedule(m_ContactSchedule, g_StepsPerFrame, g_Stage.Field(kContactLevel));

    m_StageEndRequest = 0;
    m_BannerCounter = m_StartBannerCounter = 0;
    if (g_Stage.Field(kTimeLimitOn) != 0) {
      m_NoTimeLimit = 0;
      m_TimeLeft = g_Stage.Field(kTimeLimitSeconds);
    } else {
      m_TimeLeft = 999;
      m_NoTimeLimit = 1;
    }
    m_PlayFrames = m_PlayTime = 0;
    m_ActivationTable.assign(kActivationBytes, 0);
    m_NextStage = 0;
    m_StepInFrame = m_StepCount = 0;

    g_SaveData.m_Score = 0;
    if (ReplayPlayback() || (g_TestPlay != 0 && g_EditorLaunched != 0)) {
      g_SaveData.m_SumScore = g_SaveData.m_SumTimeLeft = g_SaveData.m_SumPlayTime = 0;
      g_SaveData.m_SumHP = g_SaveData.m_SumSP = 0;
    }
    g_SaveData.SnapshotCarriedStatus();

    for (cInput& input : g_Inputs) {
      input.ClearHistory();
      input.InitKeyHistories();
    }
    g_MenuCursor.Reset();
    EveryN(0, static_cast<std::uint32_t>(std::max(g_Stage.Field(kFrameRate), 0)));

    for (cBgLayer& layer : g_Stage.m_BgLayers) layer.m_OffsetX = layer.m_OffsetY = 0.0;
    if (!DisplayIsD3D() && g_DisplayParams.bpp == 8) {
      std::copy(std::begin(g_Palette), std::end(g_Palette), std::begin(g_FadePalette));
      if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 256, g_FadePalette);
    }
    g_SceneManager.m_FrameRate = g_Stage.Field(kFrameRate);

    RunStartFlows(*this);
    UpdateObjectPresence();
    SetVirBackBuffer(0);
    LogF("Out SetStage");
  } catch (const std::bad_alloc&) {
    ErrMesBox("%s", SJ("メモリ不足により、ステージの初期設定に失敗しました！").c_str());
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    m_State = kBroken;
  } catch (const std::out_of_range&) {
    // A stage without the records it needs (no hero to play): the bad index was reported and the
    // program closes; the scene shows nothing more.
    m_State = kBroken;
  }
}
