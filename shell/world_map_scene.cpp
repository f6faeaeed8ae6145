// The world map's states: entering, the fades, the walk and the stage prompt.
#include "shell/world_map_scene.h"

#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/palette_fade.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/boxes.h"
#include "platform/services/format.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "shell/ranking.h"
#include "shell/requests.h"
#include "shell/scene_manager.h"
#include "shell/system_text_menu.h"

std::array<WorldMapPos, 2> g_WorldMapPos = {{{0, 260}, {367, 64}}};

namespace {

constexpr std::int32_t kSoundCursor = 0;
constexpr std::int32_t kSoundDecide = 1;
constexpr std::int32_t kSoundCancel = 2;
constexpr std::int32_t kSoundMenu = 4;
constexpr std::int32_t kSoundRankingSwitch = 6;
constexpr std::uint16_t kButtonDecide = 1;
constexpr std::uint16_t kButtonCancel = 2;
constexpr std::uint16_t kButtonRankingShow = 4;   // key C
constexpr std::uint16_t kButtonRankingTable = 8;  // key V

constexpr std::int32_t kPromptCentreX = 304;
constexpr std::int32_t kPromptY = 260;
constexpr std::int32_t kPromptFirstText = 10;  // "ステージに挑む", then "やっぱりやめる"
constexpr std::int32_t kPromptLines = 2;
constexpr std::int32_t kPromptRowHeight = 16;

struct sStep {
  std::uint16_t direction;
  std::int32_t facing;
  std::int32_t dColumn;
  std::int32_t dRow;
};
// By priority: one direction per move.
constexpr std::array<sStep, 4> kSteps = {{
    {kDirLeft, kFacingLeft, -1, 0},
    {kDirRight, kFacingRight, 1, 0},
    {kDirUp, kFacingUp, 0, -1},
    {kDirDown, kFacingDown, 0, 1},
}};

// Headless runs follow the hero in their trace.
void TraceCell(const char* what, std::int32_t column, std::int32_t row) {
  Trace(FormatString("%s %d %d", what, static_cast<int>(column), static_cast<int>(row)));
}

const std::string& StageMissingText() {
  static const std::string& text = SJ("ステージファイル %s が読み込めません！");
  return text;
}

}  // namespace

cWorldMapScene::cWorldMapScene() {
  SetHandlers({static_cast<Handler>(&cWorldMapScene::OnWalk), static_cast<Handler>(&cWorldMapScene::OnStagePrompt)});
}

cWorldMapScene::~cWorldMapScene() {
  for (std::int32_t index : {kWorldBackSurface, kWorldChipSurface, kWorldEventSurface, kWorldAccessorySurface,
                             kWorldWindowSurface, kWorldViewSurface})
    DDReleaseSurface(&g_SurfaceTable[index]);
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
}

void cWorldMapScene::Frame() { MenuFrame(); }

std::unique_ptr<cScene> MakeWorldMapScene() { return std::make_unique<cWorldMapScene>(); }

void cWorldMapScene::HeroCell(std::int32_t& column, std::int32_t& row) const {
  column = g_MenuCursor.current->column;
  row = g_MenuCursor.current->row;
}

void cWorldMapScene::PlaceHero(std::int32_t column, std::int32_t row) {
  // The progress record's cells come from a file: the hero never stands outside the map.
  CursorState& cursor = *g_MenuCursor.current;
  cursor.column = std::clamp(column, 0, std::max(g_WorldMap.m_Width - 1, 0));
  cursor.row = std::clamp(row, 0, std::max(g_WorldMap.m_Height - 1, 0));
  cursor.x = kWorldHeroX;
  cursor.y = kWorldHeroY;
}

void cWorldMapScene::SetViewOrigin() {
  m_OriginColumn = g_MenuCursor.current->column - kWorldHeroColumn;
  m_OriginRow = g_MenuCursor.current->row - kWorldHeroRow;
}

void cWorldMapScene::SelectEventItem() {
  std::int32_t column = 0, row = 0;
  HeroCell(column, row);
  m_Event = nullptr;
  m_Item = nullptr;
  m_EventIndex = g_WorldMap.FindWorldEventIndexAt(column, row);
  m_ItemIndex = -1;
  if (m_EventIndex < 0) return;
  m_Event = &g_WorldMap.m_Events.At(m_EventIndex);
  m_ItemIndex = ActiveWorldEntryIndex(*m_Event, g_SaveData.Progress());
  if (m_ItemIndex >= 0) m_Item = &m_Event->m_Items.At(m_ItemIndex);
}

bool cWorldMapScene::IsItemCleared(const cWorldEventItem& item) const {
  return WorldEntryCleared(item, g_SaveData.Progress());
}

bool cWorldMapScene::NeedsDecide(const cWorldEventItem& item) const { return item.m_Open != 0 || IsItemCleared(item); }

bool cWorldMapScene::OnWorldItem() const { return m_Item && m_Item->m_Kind == kWorldEntryStage; }

void cWorldMapScene::FollowHero() {
  SetViewOrigin();
  if (!m_HasRenderedOrigin || m_OriginColumn != m_RenderedColumn || m_OriginRow != m_RenderedRow) RenderMapView();
}

void cWorldMapScene::Enter() {
  RequestMenuBgm(1);
  // The descriptor's name holds at most its 259 bytes; a longer name is cut there and then simply
  // fails to load like any other missing picture.
  g_SurfaceDescriptors[kWorldBackSurface].name = g_WorldMap.m_BackImageFile.substr(0, SurfaceDescriptor::kMaxName);
  if (!LoadSurfaceList(g_SurfaceTable, {kWorldBackSurface, kWorldChipSurface, kWorldEventSurface,
                                        kWorldAccessorySurface, kWorldWindowSurface, kWorldViewSurface}))
    PostMainWindowMessage(WM_CLOSE, 0, 0);

  g_MenuCursor.Reset();
  PlaceHero(g_SaveData.m_MapX, g_SaveData.m_MapY);
  SetViewOrigin();
  m_Facing = g_SaveData.m_MapDir;
  SelectEventItem();
  m_PrevCell = *g_MenuCursor.current;

  CreateRankingSurface();
  if (OnWorldItem()) PrepareStageInfo();

  // Progress that was never saved has no slot to write into: auto-save waits for the first save.
  if (g_SaveData.m_AutoSave && g_SceneManager.m_Previous == kScenePlay && g_SaveData.HasSlot()) {
    const bool saved = g_SaveData.SaveToSlot(g_SaveData.m_Slot);
    Trace(FormatString("map auto-save slot %d%s", static_cast<int>(g_SaveData.m_Slot) + 1, saved ? "" : " failed"));
  }
  TraceCell("map enter", g_MenuCursor.current->column, g_MenuCursor.current->row);

  RenderMapView();
  m_SubStep = 0;
}

bool cWorldMapScene::StartStageOnArrival() {
  if (!LoadStageFile(m_Item->m_StageName.c_str(), 1, &g_PlayState)) {
    ErrMesBox(StageMissingText().c_str(), m_Item->m_StageName.c_str());
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return false;
  }
  PrepareStageStart();
  HeroCell(g_SaveData.m_PrevMapX, g_SaveData.m_PrevMapY);
  m_SubStep = 0;
  FadeOutTo(kScenePlay);
  return true;
}

void cWorldMapScene::FadeIn() {
  if (!DisplayIsD3D() && g_DisplayParams.bpp == 8) DrawRankingSurface();
  DrawWorldMap(g_SaveData.m_BackToMap == 0);
  if (!ScreenFadeIn(g_FadePalette, 0, 255, 0, 0, 0, g_SceneManager.m_FadeSpeed, g_Palette, false)) return;

  // The flag speaks of this return from a stage only. Left set where the hero stands on no stage
  // entrance (its entry gave way to another while he played), it would send him back from some
  // later entrance instead.
  const bool backToMap = g_SaveData.m_BackToMap != 0;
  g_SaveData.m_BackToMap = 0;
  if (OnWorldItem()) {
    if (backToMap) {
      if (!IsItemCleared(*m_Item)) {
        PlaceHero(g_SaveData.m_PrevMapX, g_SaveData.m_PrevMapY);
        TraceCell("map back", g_MenuCursor.current->column, g_MenuCursor.current->row);
        SetViewOrigin();
        m_PrevCell = *g_MenuCursor.current;
        SelectEventItem();
        RenderMapView();
      }
    } else if (g_SceneManager.m_Previous != kSceneWorldMapMenu && !IsItemCleared(*m_Item)) {
      // A stage that did not load has asked the program to close; the map walks until it does.
      if (StartStageOnArrival()) return;
    }
  }
  m_State = 1;
}

void cWorldMapScene::MoveOnMap(CursorState& cursor, const cInput& input) {
  const std::uint16_t direction = input.m_Direction & (kDirLeft | kDirRight | kDirUp | kDirDown);
  if (direction) {
    g_SaveData.m_PrevMapX = cursor.column;
    g_SaveData.m_PrevMapY = cursor.row;
    m_PrevCell = cursor;
  }
  for (const sStep& step : kSteps) {
    if (!(direction & step.direction)) continue;
    m_Facing = step.facing;
    cursor.column = std::clamp(cursor.column + step.dColumn, 0, std::max(g_WorldMap.m_Width - 1, 0));
    cursor.row = std::clamp(cursor.row + step.dRow, 0, std::max(g_WorldMap.m_Height - 1, 0));
    break;
  }
  SelectEventItem();

  // The active entry decides (a wall blocks, any other kind lets through), else the chip; a chip
  // kind the map does not define is no ground to stand on.
  if (!CanEnterWorldCell(g_WorldMap, cursor.column, cursor.row, g_SaveData.Progress())) {
    if (direction) TraceCell("map blocked", cursor.column, cursor.row);
    cursor = m_PrevCell;
    cursor.x = kWorldHeroX;
    cursor.y = kWorldHeroY;
    return;
  }
  if (direction && (cursor.column != m_PrevCell.column || cursor.row != m_PrevCell.row))
    TraceCell("map step", cursor.column, cursor.row);
  g_SaveData.m_MapDir = m_Facing;
  FollowHero();
  cursor.x = kWorldHeroX;
  cursor.y = kWorldHeroY;
}

void cWorldMapScene::OpenPrompt() {
  HeroCell(g_SaveData.m_MapX, g_SaveData.m_MapY);
  TraceCell("map prompt", g_SaveData.m_MapX, g_SaveData.m_MapY);
  g_MenuCursor.Push(0);
  m_SubStep = 0;
  m_State = 2;
}

void cWorldMapScene::OnWalk() {
  const cInput& input = MenuInput();
  MoveOnMap(*g_MenuCursor.current, input);
  PlayCursorSound(input, kCursorAxisHorizontal | kCursorAxisVertical, kSoundCursor);
  SelectEventItem();

  const bool decide = (input.m_Buttons & kButtonDecide) != 0;
  if (OnWorldItem()) {
    if (!m_HasInfoCell || m_InfoCell.column != g_MenuCursor.current->column ||
        m_InfoCell.row != g_MenuCursor.current->row) {
      PrepareStageInfo();
      m_InfoCell = *g_MenuCursor.current;
      m_HasInfoCell = true;
    }
    if (!NeedsDecide(*m_Item)) {
      OpenPrompt();
      return;
    }
    if (decide) {
      if (m_Item->m_Reentry != 0 || !IsItemCleared(*m_Item)) OpenPrompt();
      return;
    }
    HandleRankingKeys(input);
  } else {
    m_HeldRankingKeys = input.m_Buttons & (kButtonRankingShow | kButtonRankingTable);
  }

  if (input.m_Buttons & kButtonCancel) {
    RequestSound(kSoundMenu);
    HeroCell(g_SaveData.m_MapX, g_SaveData.m_MapY);
    m_SubStep = 0;
    FadeOutTo(kSceneWorldMapMenu);
    return;
  }
  DrawWorldMap(true);
}

void cWorldMapScene::HandleRankingKeys(const cInput& input) {
  const std::uint16_t held = input.m_Buttons & (kButtonRankingShow | kButtonRankingTable);
  // These two keys pass no button latch: only a new press counts, or a held key would flicker the
  // table and repeat the sound every frame.
  const auto pressed = static_cast<std::uint16_t>(held & ~m_HeldRankingKeys);
  m_HeldRankingKeys = held;
  const bool enabled = g_System.RankingEnabledIn(kPlayStory);
  bool redraw = false;
  if (pressed & kButtonRankingShow) {
    if (enabled) {
      RequestSound(kSoundRankingSwitch);
      g_SaveData.m_RankingShown = g_SaveData.m_RankingShown ? 0 : 1;
      redraw = true;
    } else if (g_SaveData.m_RankingShown) {
      g_SaveData.m_RankingShown = 0;
      redraw = true;
    }
  } else if ((pressed & kButtonRankingTable) && enabled) {
    if (g_System.CountSystemFlags(g_SceneManager.m_PlayMode) >= 2) {
      RequestSound(kSoundRankingSwitch);
      g_SaveData.CycleEnabledEntry(g_SceneManager.m_PlayMode, 1);
    }
    redraw = true;
  }
  if (redraw) DrawRankingSurface();
}

void cWorldMapScene::LeavePrompt() {
  g_MenuCursor.Pop(1);
  if (!m_Item || !NeedsDecide(*m_Item)) {
    // Back to the cell he came from; the view goes along, or the hero would stand on a map that
    // still shows the entrance's surroundings.
    *g_MenuCursor.current = m_PrevCell;
    g_MenuCursor.current->x = kWorldHeroX;
    g_MenuCursor.current->y = kWorldHeroY;
    FollowHero();
    SelectEventItem();
  }
  m_SubStep = 0;
  m_State = 1;
}

void cWorldMapScene::OnStagePrompt() {
  const cInput& input = MenuInput();
  if (m_SubStep == 0) {
    RequestSound(kSoundDecide);
    m_StageLoaded = m_Item && LoadStageFile(m_Item->m_StageName.c_str(), 1, &g_PlayState) != 0;
    if (!m_StageLoaded) ErrMesBox(StageMissingText().c_str(), m_Item ? m_Item->m_StageName.c_str() : "");
    g_MenuCursor.current->row = 1;
    m_SubStep = 1;
  }
  const std::int32_t x = g_System.MenuTextLeftX(kPromptCentreX, kPromptFirstText, kPromptLines, 1);
  g_WorldMapPos[0].x = x;
  g_MenuCursor.MoveGrid(input, x, kPromptY, 0, kPromptRowHeight, 1, kPromptLines);
  PlayCursorSound(input, kCursorAxisVertical, kSoundCursor);

  if (input.m_Buttons & kButtonDecide) {
    RequestSound(kSoundDecide);
    if (g_MenuCursor.current->row == 0 && m_StageLoaded) {
      g_SaveData.m_MapDir = m_Facing;
      PrepareStageStart();
      m_SubStep = 0;
      FadeOutTo(kScenePlay);
    } else {
      LeavePrompt();
    }
    return;
  }
  if (input.m_Buttons & kButtonCancel) {
    RequestSound(kSoundCancel);
    LeavePrompt();
    return;
  }
  if (OnWorldItem()) HandleRankingKeys(input);

  DrawWorldMap(true);
  DrawSystemTextMenu(&g_BackSurface, x, kPromptY, kPromptFirstText, kPromptLines, 1);
  const CursorState& cursor = *g_MenuCursor.current;
  DDBlt(&g_BackSurface, cursor.x, cursor.y, 16, 16, &g_SurfaceTable[kWorldAccessorySurface], 64, 0, 1);
}

void cWorldMapScene::PrepareStageInfo() {
  if (!m_Item) return;
  g_SaveData.SetStageFileName(m_Item->m_StageName.c_str());
  m_BestScore = g_SaveData.GetStageBestScore(g_SaveData.m_StageName);
  if (g_SceneManager.m_RankingFlag) {
    LoadRankFile(g_Ranking, g_SceneManager.m_PlayMode, g_SaveData.m_StageName);
    g_SaveData.CycleEnabledEntry(g_SceneManager.m_PlayMode, 0);
    if (!g_MenuSurfaces.empty()) DrawRankingSurface();
  }
}

void cWorldMapScene::PrepareStageStart() {
  g_SaveData.SetStageFileName(g_Stage.m_FileName.c_str());
  g_SaveData.m_StageNumber = m_Item ? m_Item->m_ClearNumber : 0;
  g_SaveData.m_StageIndex = 1;
  if (!g_System.m_WorldMapKeepsLives)
    g_SaveData.m_StartLives = g_System.StartingLivesOf(kPlayStory);
  else
    // The lives may come from a save file: no more than a player holds before one is added.
    g_SaveData.m_StartLives =
        g_System.UnlimitedLivesIn(kPlayStory) ? kUnlimitedLives : std::min(g_SaveData.m_Lives, kMaxLives) + 1;
  g_SaveData.SetActiveMapEntry(g_WorldMap, m_EventIndex, m_ItemIndex);
}

void cWorldMapScene::FadeOut() {
  DrawWorldMap(true);
  MenuFadeOutStep(kSceneWorldMap);
}
