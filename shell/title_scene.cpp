#include "shell/title_scene.h"

#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/display/frame_draw.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/text.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "shell/hbt_palette.h"
#include "shell/menu_cursor.h"
#include "shell/requests.h"
#include "shell/save_slot_list.h"
#include "shell/scene_manager.h"

const TitleMenuPos g_TitleMenuPos;

namespace {

constexpr std::int32_t kRowHeight = 32;
constexpr std::int32_t kSlotRowHeight = 16;
constexpr std::uint32_t kFramePalette = 240;
constexpr std::int32_t kSoundCursor = 0;
constexpr std::int32_t kSoundDecide = 1;
constexpr std::int32_t kSoundCancel = 2;
constexpr std::int32_t kSoundRefused = 3;
constexpr std::uint16_t kButtonDecide = 1;
constexpr std::uint16_t kButtonCancel = 2;

DDSURFACEDATA& Fixed(std::int32_t index) { return g_SurfaceTable[index]; }

// The rankings switch of the project's record for a play mode.
std::int32_t RankingFlagOf(std::int32_t mode) {
  if (mode < 0 || mode >= g_System.m_RankingSets.Size()) return 0;
  return g_System.m_RankingSets.At(mode).m_Enabled;
}

void ChoosePlayMode(std::int32_t mode) {
  g_SceneManager.m_PlayMode = mode;
  g_SceneManager.m_RankingFlag = RankingFlagOf(mode);
}

}  // namespace

cTitleScene::cTitleScene() {
  SetHandlers({static_cast<Handler>(&cTitleScene::OnMainMenu), static_cast<Handler>(&cTitleScene::OnSaveSlots)});
}

cTitleScene::~cTitleScene() {
  for (std::int32_t index : {kTitlePictureSurface, kGameModeSurface, kAccessorySurface, kWindowFrameSurface})
    DDReleaseSurface(&Fixed(index));
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
}

void cTitleScene::Frame() { MenuFrame(); }

bool cTitleScene::UsesModePicture() const {
  return g_System.m_TitleMenuImages != 0 && Fixed(kGameModeSurface).width > 0;
}

DDSURFACEDATA* cTitleScene::Panel() { return g_MenuSurfaces.empty() ? nullptr : &g_MenuSurfaces.front(); }

void cTitleScene::Enter() {
  RequestMenuBgm(0);
  // The report of a missing picture is the loader's; the scene goes on until the close arrives.
  if (!LoadSurfaceList(g_SurfaceTable,
                       {kTitlePictureSurface, kGameModeSurface, kAccessorySurface, kWindowFrameSurface}))
    PostMainWindowMessage(WM_CLOSE, 0, 0);
  g_MenuCursor.Reset();

  m_ItemCount = 0;
  const std::int32_t listed = std::min<std::int32_t>(g_System.m_TitleMenu.Size(), kTitleItemCount);
  for (std::int32_t kind = 0; kind < listed; ++kind)
    if (g_System.m_TitleMenu.At(kind).m_Shown) m_ItemKinds[static_cast<std::size_t>(m_ItemCount++)] = kind;
  if (m_ItemCount == 0) {
    m_ItemKinds[0] = kTitleNewStory;
    m_ItemCount = 1;
  }

  // Back on the item decided last, when the menu still has it.
  g_MenuCursor.current->row = g_SceneManager.m_TitleChoice;
  for (std::int32_t row = 0; row < m_ItemCount; ++row)
    if (m_ItemKinds[static_cast<std::size_t>(row)] == g_SceneManager.m_TitleChoice) g_MenuCursor.current->row = row;

  m_PanelX = g_TitleMenuPos.panelX;
  m_PanelY = g_TitleMenuPos.panelY;
  if (UsesModePicture()) m_PanelX = 288 - Fixed(kGameModeSurface).width / 2;
  BuildTitleMenu();
  m_SubStep = 0;
}

void cTitleScene::BuildTitleMenu() {
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
  std::int32_t width = 0;
  if (UsesModePicture()) {
    width = Fixed(kGameModeSurface).width + 32;
  } else {
    std::int32_t widest = 0;
    for (std::int32_t row = 0; row < m_ItemCount; ++row)
      widest = std::max(widest, CharCount(g_System.m_TitleMenu.At(m_ItemKinds[static_cast<std::size_t>(row)]).m_Label));
    width = widest * 32 + 34;
  }
  const std::int32_t height = m_ItemCount * kRowHeight + 2;
  if (!AddSurfaceToVector(g_MenuSurfaces, g_MenuSurfaceDescriptors, width, height, 1, 0, 0, 0)) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return;
  }
  DrawTitleMenu(Panel());
}

void cTitleScene::DrawTitleMenu(DDSURFACEDATA* panel) {
  if (!panel) return;
  if (UsesModePicture()) {
    DDSURFACEDATA& picture = Fixed(kGameModeSurface);
    DDClear(panel, 0);
    for (std::int32_t row = 0; row < m_ItemCount; ++row)
      DDBlt(panel, 32, row * kRowHeight, picture.width, kRowHeight, &picture, 0,
            m_ItemKinds[static_cast<std::size_t>(row)] * kRowHeight, 0);
    return;
  }
  DrawBoxWithFrame(panel, 1, 1, panel->width - 2, panel->height - 2, &Fixed(kWindowFrameSurface), 1, kFramePalette);
  for (std::int32_t row = 0; row < m_ItemCount; ++row) {
    const std::string& label = g_System.m_TitleMenu.At(m_ItemKinds[static_cast<std::size_t>(row)]).m_Label;
    g_Fonts[2].Draw(panel, 32, row * kRowHeight, label.c_str(), 0);
  }
}

void cTitleScene::DrawTitleScreen() {
  DDBlt(&g_BackSurface, 0, 0, 640, 480, &Fixed(kTitlePictureSurface), 0, 0, 0);
  if (DDSURFACEDATA* panel = Panel()) DDBlt(&g_BackSurface, m_PanelX, m_PanelY, panel->width, panel->height, panel, 0, 0, 1);
  CycleSystemColours();
}

void cTitleScene::FadeIn() {
  // At 8 bits the fade rewrites the palette the panel's text colour came from.
  if (!DisplayIsD3D() && g_DisplayParams.bpp == 8) DrawTitleMenu(Panel());
  DrawTitleScreen();
  MenuFadeInStep();
}

void cTitleScene::OnMainMenu() {
  const cInput& input = MenuInput();
  g_MenuCursor.MoveGrid(input, m_PanelX, m_PanelY, 0, kRowHeight, 1, m_ItemCount);
  PlayCursorSound(input, kCursorAxisVertical, kSoundCursor);
  if (!(input.m_Buttons & kButtonDecide)) {
    DrawTitleScreen();
    const CursorState& cursor = *g_MenuCursor.current;
    DDBlt(&g_BackSurface, cursor.x, cursor.y, 32, 32, &Fixed(kAccessorySurface), 0, 0, 1);
    return;
  }
  RequestSound(kSoundDecide);
  const std::int32_t row = std::clamp(g_MenuCursor.current->row, 0, m_ItemCount - 1);
  Decide(m_ItemKinds[static_cast<std::size_t>(row)]);
}

void cTitleScene::Decide(std::int32_t kind) {
  g_SceneManager.m_TitleChoice = kind;
  switch (kind) {
    case kTitleNewStory:
      ChoosePlayMode(kPlayStory);
      StartNewStory();
      FadeOutTo(kSceneWorldMap);
      break;
    case kTitleContinue:
      ChoosePlayMode(kPlayStory);
      g_MenuCursor.Push(0);
      m_State = 2;
      m_SubStep = 0;
      break;
    case kTitleChallenge:
      ChoosePlayMode(kPlayChallenge);
      if (!g_SaveData.LoadChallengeData()) {
        g_SaveData.Reset();
        const std::int32_t stages = std::clamp(g_System.ChallengeStages(), 0, kMaxChallengeStages);
        g_SaveData.m_ChallengeResults.assign(static_cast<std::size_t>(stages), cSaveIntPair());
      }
      FadeOutTo(kSceneChallenge);
      break;
    case kTitleFreePlay:
      ChoosePlayMode(kPlayFree);
      if (RequestStageFile()) FadeOutTo(kScenePlay);
      break;
    case kTitleReplay:
      ChoosePlayMode(kPlayReplay);
      if (RequestWindowAction()) FadeOutTo(kScenePlay);
      break;
    case kTitleOption:
      FadeOutTo(kSceneOption);
      break;
    case kTitleQuit:
      PostMainWindowMessage(WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void cTitleScene::OnSaveSlots() {
  const cInput& input = MenuInput();
  if (m_SubStep == 0) {
    *g_MenuCursor.current = CursorState{};
    m_ListTop = 0;
    m_SubStep = 1;
    ScanSaveSlots(g_SaveSlots);
  }
  const std::int32_t count = g_SaveSlots.Size();
  m_VisibleRows = std::min(count, kSlotRowsShown);
  g_MenuCursor.MoveList(input, 1, &m_ListTop, g_TitleMenuPos.slotsY, kSlotRowHeight, g_TitleMenuPos.slotsX,
                        m_VisibleRows, count, 1);
  PlayCursorSound(input, kCursorAxisHorizontal | kCursorAxisVertical, kSoundCursor);

  if (input.m_Buttons & kButtonDecide) {
    const std::int32_t slot = g_MenuCursor.current->row;
    const bool used = slot >= 0 && slot < count && g_SaveSlots.At(slot).m_Used;
    if (used && g_SaveData.LoadFromSlot(slot)) {
      RequestSound(kSoundDecide);
      FadeOutTo(kSceneWorldMap);
      return;
    }
    // An empty slot is refused; so is one whose file does not read whole, with a word to the player
    // (the report log has the line already), instead of starting the story from whatever the record
    // held before. The list stays, and the game goes on.
    RequestSound(kSoundRefused);
    if (used) ErrMesBox(SJ("%s が破損しています！").c_str(), MakeStorySlotPath(slot).c_str());
    return;
  }
  if (input.m_Buttons & kButtonCancel) {
    RequestSound(kSoundCancel);
    g_MenuCursor.Pop(1);
    m_State = 1;
    m_SubStep = 0;
    return;
  }
  DDBlt(&g_BackSurface, 0, 0, 640, 480, &Fixed(kTitlePictureSurface), 0, 0, 0);
  CycleSystemColours();
  DrawSaveSlots(&g_BackSurface, g_TitleMenuPos.slotsX, g_TitleMenuPos.slotsY, g_SaveSlots, m_ListTop, m_VisibleRows);
  const CursorState& cursor = *g_MenuCursor.current;
  DDBlt(&g_BackSurface, cursor.x, cursor.y, 16, 16, &Fixed(kAccessorySurface), 64, 0, 1);
}

void cTitleScene::FadeOut() { MenuFadeOutStep(kSceneTitle); }
