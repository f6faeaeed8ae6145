// The pages that open from the world-map menu's entry list: save, auto-save and back to the title.
#include <algorithm>

#include "project/save_data.h"
#include "project/system_data.h"
#include "shell/menu_cursor.h"
#include "shell/requests.h"
#include "shell/save_slot_list.h"
#include "shell/scene_manager.h"
#include "shell/system_text_menu.h"
#include "shell/world_map_menu_shared.h"
#include "shell/world_map_menu_scene.h"

namespace {

constexpr std::int32_t kSlotRowsShown = 10;

// UiTexts of the pages.
constexpr std::int32_t kSaveConfirmText = 12;  // セーブする / やっぱりやめる
constexpr std::int32_t kAutoSaveText = 14;     // オートセーブＯＮ / オートセーブＯＦＦ
constexpr std::int32_t kNoSlotText = 16;       // no slot to auto-save into
constexpr std::int32_t kToTitleText = 17;      // タイトルへ戻る / やっぱりやめる

// A centred choice of two texts with the cursor's blank, its x kept in the table.
std::int32_t CentreChoice(std::int32_t pos, std::int32_t firstText, std::int32_t count, std::int32_t extra) {
  WorldMapMenuPoint& at = g_WorldMapMenuPos[static_cast<std::size_t>(pos)];
  at.x = g_System.MenuTextLeftX(kMapMenuScreenCentre, firstText, count, extra);
  return at.x;
}

void DrawChoicePage(std::int32_t pos, std::int32_t firstText) {
  const WorldMapMenuPoint& at = g_WorldMapMenuPos[static_cast<std::size_t>(pos)];
  ClearMapMenuPage();
  DrawSystemTextMenu(&g_BackSurface, at.x, at.y, firstText, 2, 1);
  const CursorState& cursor = *g_MenuCursor.current;
  DrawMapMenuCursor(cursor.x, cursor.y);
}

}  // namespace

void cWorldMapMenuScene::BackToEntryList() {
  g_MenuCursor.Pop(1);
  m_SubStep = 0;
  m_State = 1;
}

void cWorldMapMenuScene::DrawSlotList() {
  const WorldMapMenuPoint& at = g_WorldMapMenuPos[kMapMenuPosSlotList];
  DrawSaveSlots(&g_BackSurface, at.x, at.y, g_SaveSlots, m_ListTop, m_ListRows);
}

void cWorldMapMenuScene::OnSave() {
  const cInput& input = MenuInput();
  const WorldMapMenuPoint& list = g_WorldMapMenuPos[kMapMenuPosSlotList];
  if (m_SubStep == 0) {
    // The list opens on the slot saved last; with none the list's clamp puts it on the first.
    *g_MenuCursor.current = CursorState{};
    g_MenuCursor.current->row = g_SaveData.m_Slot;
    ScanSaveSlots(g_SaveSlots);
    m_ListRows = std::min(g_SaveSlots.Size(), kSlotRowsShown);
    m_ListTop = g_SaveData.m_Slot;
    m_SubStep = 1;
  }

  if (m_SubStep == 1) {
    g_MenuCursor.MoveList(input, 1, &m_ListTop, list.y, kMapMenuRowHeight, list.x, m_ListRows, g_SaveSlots.Size(), 1);
    PlayCursorSound(input, kCursorAxisHorizontal | kCursorAxisVertical, kMapMenuSoundCursor);
    if (input.m_Buttons & kMapMenuButtonDecide) {
      RequestSound(kMapMenuSoundDecide);
      g_MenuCursor.Push(0);
      m_SubStep = 2;
      // The confirmation opens on "no".
      g_MenuCursor.current->row = 1;
      return;
    }
    if (input.m_Buttons & kMapMenuButtonCancel) {
      RequestSound(kMapMenuSoundCancel);
      BackToEntryList();
      return;
    }
    ClearMapMenuPage();
    DrawSlotList();
    const CursorState& cursor = *g_MenuCursor.current;
    DrawMapMenuCursor(cursor.x, cursor.y);
    return;
  }

  const std::int32_t x = CentreChoice(kMapMenuPosSaveConfirm, kSaveConfirmText, 2, 1);
  const std::int32_t y = g_WorldMapMenuPos[kMapMenuPosSaveConfirm].y;
  g_MenuCursor.MoveGrid(input, x, y, 0, kMapMenuRowHeight, 1, 2);
  PlayCursorSound(input, kCursorAxisVertical, kMapMenuSoundCursor);
  if (input.m_Buttons & kMapMenuButtonDecide) {
    if (g_MenuCursor.current->row == 0) {
      const std::int32_t slot = g_MenuCursor.previous ? g_MenuCursor.previous->row : 0;
      // The record names its own slot in the file it is written to. A save that did not reach the
      // disk must not sound like one, nor make auto-save aim at a slot that holds no such file.
      const std::int32_t former = g_SaveData.m_Slot;
      g_SaveData.m_Slot = slot;
      if (g_SaveData.SaveToSlot(slot)) {
        RequestSound(kMapMenuSoundSaved);
      } else {
        g_SaveData.m_Slot = former;
        RequestSound(kMapMenuSoundRefused);
      }
    } else {
      RequestSound(kMapMenuSoundDecide);
    }
    g_MenuCursor.Pop(1);
    m_SubStep = 1;
    return;
  }
  if (input.m_Buttons & kMapMenuButtonCancel) {
    RequestSound(kMapMenuSoundCancel);
    g_MenuCursor.Pop(1);
    m_SubStep = 1;
    return;
  }
  ClearMapMenuPage();
  DrawSlotList();
  DrawSystemTextMenu(&g_BackSurface, x, y, kSaveConfirmText, 2, 1);
  if (const CursorState* parent = g_MenuCursor.previous) DrawMapMenuParentMarker(parent->x, parent->y);
  const CursorState& cursor = *g_MenuCursor.current;
  DrawMapMenuCursor(cursor.x, cursor.y);
}

void cWorldMapMenuScene::OnAutoSave() {
  const cInput& input = MenuInput();
  if (m_SubStep == 0) {
    // One frame that only prepares: the screen keeps what the entry list drew.
    *g_MenuCursor.current = CursorState{};
    g_MenuCursor.current->row = g_SaveData.m_AutoSave != 0 ? 0 : 1;
    // Auto-save writes into the slot the progress was last saved to. A slot number that names no
    // slot (a damaged save file) is as good as none: switching on would only fail every later save.
    m_SubStep = g_SaveData.HasSlot() ? 1 : 2;
    return;
  }

  if (m_SubStep == 1) {
    const std::int32_t x = CentreChoice(kMapMenuPosAutoSave, kAutoSaveText, 2, 1);
    g_MenuCursor.MoveGrid(input, x, g_WorldMapMenuPos[kMapMenuPosAutoSave].y, 0, kMapMenuRowHeight, 1, 2);
    PlayCursorSound(input, kCursorAxisVertical, kMapMenuSoundCursor);
    if (input.m_Buttons & kMapMenuButtonDecide) {
      RequestSound(kMapMenuSoundDecide);
      if (g_MenuCursor.current->row == 0) {
        // The switch is part of the slot file: the file written now must already say "on", or
        // loading it later would turn auto-save off again.
        g_SaveData.m_AutoSave = 1;
        g_SaveData.SaveToSlot(g_SaveData.m_Slot);
      } else {
        g_SaveData.m_AutoSave = 0;
      }
      BackToEntryList();
      return;
    }
    if (input.m_Buttons & kMapMenuButtonCancel) {
      RequestSound(kMapMenuSoundCancel);
      BackToEntryList();
      return;
    }
    DrawChoicePage(kMapMenuPosAutoSave, kAutoSaveText);
    return;
  }

  const std::int32_t x = CentreChoice(kMapMenuPosMessage, kNoSlotText, 1, 0);
  if (input.m_Buttons & (kMapMenuButtonDecide | kMapMenuButtonCancel)) {
    RequestSound((input.m_Buttons & kMapMenuButtonDecide) ? kMapMenuSoundDecide : kMapMenuSoundCancel);
    BackToEntryList();
    return;
  }
  ClearMapMenuPage();
  DrawSystemTextMenu(&g_BackSurface, x, g_WorldMapMenuPos[kMapMenuPosMessage].y, kNoSlotText, 1, 0);
}

void cWorldMapMenuScene::OnToTitle() {
  const cInput& input = MenuInput();
  if (m_SubStep == 0) {
    // Opens on "no": giving up the unsaved progress takes a deliberate move.
    *g_MenuCursor.current = CursorState{};
    g_MenuCursor.current->row = 1;
    m_SubStep = 1;
  }
  const std::int32_t x = CentreChoice(kMapMenuPosToTitle, kToTitleText, 2, 1);
  g_MenuCursor.MoveGrid(input, x, g_WorldMapMenuPos[kMapMenuPosToTitle].y, 0, kMapMenuRowHeight, 1, 2);
  PlayCursorSound(input, kCursorAxisVertical, kMapMenuSoundCursor);
  if (input.m_Buttons & kMapMenuButtonDecide) {
    RequestSound(kMapMenuSoundDecide);
    if (g_MenuCursor.current->row == 0) {
      m_SubStep = 0;
      FadeOutTo(kSceneTitle);
    } else {
      BackToEntryList();
    }
    return;
  }
  if (input.m_Buttons & kMapMenuButtonCancel) {
    RequestSound(kMapMenuSoundCancel);
    BackToEntryList();
    return;
  }
  DrawChoicePage(kMapMenuPosToTitle, kToTitleText);
}
