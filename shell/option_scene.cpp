#include "shell/option_scene.h"

#include <algorithm>
#include <utility>

#include "platform/audio/bgm.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/host/clock.h"
#include "platform/host/message_queue.h"
#include "platform/services/text.h"
#include "project/option.h"
#include "project/project_paths.h"
#include "project/system_data.h"
#include "project/window_requests.h"
#include "shell/hbt_palette.h"
#include "shell/menu_cursor.h"
#include "shell/menu_panel.h"
#include "shell/requests.h"
#include "shell/scene_manager.h"
#include "shell/title_scene.h"

namespace {

constexpr std::int32_t kOptionMusicSlot = 3;
constexpr std::int32_t kHeadingCell = 32;
constexpr std::int32_t kCursorSize = 16;
constexpr std::int32_t kCursorImageX = 64;
constexpr std::int32_t kEditMarkerImageX = 80;
constexpr std::int32_t kBgmChannels = 1;
constexpr std::int32_t kSoundCursor = 0;
constexpr std::int32_t kSoundDecide = 1;
constexpr std::int32_t kSoundCancel = 2;
constexpr std::uint16_t kButtonDecide = 1;
constexpr std::uint16_t kButtonCancel = 2;

// The number each editable kind changes, by kind 0-3.
constexpr std::array<int, 4> kEditedNumbers = {kOptionPalette, kOptionMusic, kOptionSoundVolume, kOptionRankingMode};

DDSURFACEDATA& Fixed(std::int32_t index) { return g_SurfaceTable[index]; }

}  // namespace

cOptionScene::cOptionScene() { SetHandlers({static_cast<Handler>(&cOptionScene::OnOptionMenu)}); }

cOptionScene::~cOptionScene() {
  for (std::int32_t index : {kAccessorySurface, kWindowFrameSurface}) DDReleaseSurface(&Fixed(index));
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
}

std::unique_ptr<cScene> MakeOptionScene() { return std::make_unique<cOptionScene>(); }

void cOptionScene::Frame() { MenuFrame(); }

DDSURFACEDATA* cOptionScene::Panel() { return MenuPanel(); }

std::int32_t cOptionScene::CursorRow() const { return std::clamp(g_MenuCursor.current->row, 0, m_ItemCount - 1); }

void cOptionScene::Enter() {
  RequestMenuBgm(kOptionMusicSlot);
  // The loader reports a missing picture itself; the scene goes on until the close arrives.
  if (!LoadSurfaceList(g_SurfaceTable, {kAccessorySurface, kWindowFrameSurface})) PostMainWindowMessage(WM_CLOSE, 0, 0);
  g_MenuCursor.Reset();

  m_ItemCount = 0;
  const std::int32_t listed = std::min<std::int32_t>(g_System.m_OptionMenu.Size(), kOptionItemKinds);
  for (std::int32_t kind = 0; kind < listed; ++kind)
    if (g_System.m_OptionMenu.At(kind).m_Shown) m_ItemKinds[static_cast<std::size_t>(m_ItemCount++)] = kind;
  if (m_ItemCount == 0) {
    m_ItemKinds[0] = kOptionItemPalette;
    m_ItemCount = 1;
  }
  BuildOptionPanel();
  m_SubStep = 0;
}

void cOptionScene::BuildOptionPanel() { DrawOptionPanel(MakeMenuPanel()); }

void cOptionScene::DrawOptionPanel(DDSURFACEDATA* panel) {
  if (!panel) return;
  g_Fonts[1].DrawWindow(panel, 1, 1, kMenuPanelWidth - 2, kMenuPanelHeight - 2);
  const std::string& heading = g_System.m_TitleMenu.At(kTitleOption).m_Label;
  g_Fonts[2].Draw(panel, 320 - CharCount(heading) * kHeadingCell / 2, kOptionHeadingY, heading.c_str(), 0);

  Font& font = g_Fonts[1];
  for (std::int32_t row = 0; row < m_ItemCount; ++row) {
    const std::int32_t kind = m_ItemKinds[static_cast<std::size_t>(row)];
    const std::int32_t y = kOptionRowsY + row * kOptionRowHeight;
    font.Draw(panel, kOptionLabelX, y, g_System.m_OptionMenu.At(kind).m_Label.c_str(), 0);
    switch (kind) {
      case kOptionItemPalette: font.Printf(panel, kOptionValueX, y, "%d", static_cast<int>(g_Option.m_PaletteNumber)); break;
      case kOptionItemMusic: font.Draw(panel, kOptionValueX, y, g_Option.MusicOn() ? "ON" : "OFF", 0); break;
      case kOptionItemSoundVolume: font.Printf(panel, kOptionValueX, y, "%d", static_cast<int>(g_Option.m_SoundVolume)); break;
      case kOptionItemRankingMode: font.Draw(panel, kOptionValueX, y, g_Option.RankingModeLabel().c_str(), 0); break;
      case kOptionItemRankName: font.Draw(panel, kOptionValueX, y, g_Option.m_RankName.c_str(), 0); break;
      default: break;
    }
  }
}

void cOptionScene::DrawOptionScreen() {
  DDSURFACEDATA* panel = Panel();
  if (MenuPanelLostItsPicture(panel)) DrawOptionPanel(panel);
  ShowMenuPanel(panel);
}

void cOptionScene::FadeIn() {
  if (FadeRewritesMenuPanel()) DrawOptionPanel(Panel());
  DrawOptionScreen();
  MenuFadeInStep();
}

void cOptionScene::OnOptionMenu() {
  if (m_SubStep == 0) {
    *g_MenuCursor.current = CursorState{};
    m_SubStep = 1;
  }
  if (m_SubStep == 1)
    ChooseItem();
  else if (m_SubStep == 2)
    EditValue();
}

void cOptionScene::ChooseItem() {
  const cInput& input = MenuInput();
  g_MenuCursor.MoveGrid(input, kOptionCursorX, kOptionRowsY, 0, kOptionRowHeight, 1, m_ItemCount);
  PlayCursorSound(input, kCursorAxisVertical, kSoundCursor);

  if (input.m_Buttons & kButtonDecide) {
    RequestSound(kSoundDecide);
    m_ChosenKind = m_ItemKinds[static_cast<std::size_t>(CursorRow())];
    switch (m_ChosenKind) {
      case kOptionItemPalette:
      case kOptionItemMusic:
      case kOptionItemSoundVolume:
      case kOptionItemRankingMode: BeginEdit(m_ChosenKind); break;
      case kOptionItemRankName:
        RequestNameEntry();
        DrawOptionPanel(Panel());
        break;
      case kOptionItemBack:
        m_SubStep = 0;
        FadeOutTo(kSceneTitle);
        break;
      default: break;
    }
    return;
  }
  if (input.m_Buttons & kButtonCancel) {
    RequestSound(kSoundCancel);
    m_SubStep = 0;
    FadeOutTo(kSceneTitle);
    return;
  }
  DrawOptionScreen();
  const CursorState& cursor = *g_MenuCursor.current;
  DDBlt(&g_BackSurface, cursor.x, cursor.y, kCursorSize, kCursorSize, &Fixed(kAccessorySurface), kCursorImageX, 0, 1);
}

void cOptionScene::BeginEdit(std::int32_t kind) {
  const int number = kEditedNumbers[static_cast<std::size_t>(kind)];
  m_EditedField = &g_Option.Number(number);
  m_Minimum = 0;
  m_Maximum = cOption::Maximum(number);
  m_OldValue = *m_EditedField;
  g_MenuCursor.Push(0);
  m_SubStep = 2;
}

void cOptionScene::ApplyEditedValue() {
  if (!m_EditedField) return;
  if (m_ChosenKind == kOptionItemPalette) LoadHbtPalette(*m_EditedField);
  if (m_ChosenKind == kOptionItemSoundVolume) RequestSoundVolume(*m_EditedField);
}

void cOptionScene::EditValue() {
  if (!m_EditedField) {
    m_SubStep = 1;
    return;
  }
  const cInput& input = MenuInput();
  for (const auto& [bit, delta] : {std::pair{kDirUp, 1}, std::pair{kDirDown, -1}}) {
    if (!(input.m_Direction & bit)) continue;
    // Widened: a value from a file the player did not write may sit at either end of the type.
    const std::int64_t moved = static_cast<std::int64_t>(*m_EditedField) + delta;
    if (moved < m_Minimum)
      *m_EditedField = m_Maximum;
    else if (moved > m_Maximum)
      *m_EditedField = m_Minimum;
    else
      *m_EditedField = static_cast<std::int32_t>(moved);
    ApplyEditedValue();
    DrawOptionPanel(Panel());
  }
  PlayCursorSound(input, kCursorAxisVertical, kSoundCursor);

  if (input.m_Buttons & kButtonDecide) {
    RequestSound(kSoundDecide);
    g_MenuCursor.Pop(1);
    m_SubStep = 1;
    return;
  }
  if (input.m_Buttons & kButtonCancel) {
    RequestSound(kSoundCancel);
    *m_EditedField = m_OldValue;
    ApplyEditedValue();
    g_MenuCursor.Pop(1);
    m_SubStep = 1;
    DrawOptionPanel(Panel());
    return;
  }
  DrawOptionScreen();
  // The item's own cursor place is the parent level's; this level only marks the value.
  const CursorState* item = g_MenuCursor.previous ? g_MenuCursor.previous : g_MenuCursor.current;
  DDSURFACEDATA* accessory = &Fixed(kAccessorySurface);
  DDBlt(&g_BackSurface, item->x, item->y, kCursorSize, kCursorSize, accessory, kEditMarkerImageX, 0, 1);
  DDBlt(&g_BackSurface, kOptionValueCursorX, item->y, kCursorSize, kCursorSize, accessory, kCursorImageX, 0, 1);
}

void cOptionScene::FadeOut() {
  if (!MenuFadeOutStep(kSceneOption)) return;
  RequestRestartMusic();
  // A failed write leaves its line in the report log; the options stay in effect for this run.
  g_Option.Save(ProjectPathTable[kPathOption].c_str());
}

void RestartMusic() {
  g_Bgm.Release();
  if (g_Option.MusicOn()) g_Bgm.Init(kBgmChannels, g_BgmOggNames, g_BgmMidiNames, kBgmSlotCount);
}

void RequestNameEntry() {
  g_NameEntryDone = 0;
  if (MessageShutdownBegun()) return;
  if (!SendMainWindowMessage(WM_GAME_NAMEENTRY, 0, 0)) return;
  // The window procedure sets the flag before it answers, so this normally passes at once.
  while (g_NameEntryDone.load() == 0) {
    if (MessageShutdownBegun()) return;
    SleepMs(1);
  }
}
