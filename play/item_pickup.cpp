#include "play/item_pickup.h"

#include <algorithm>

#include "platform/audio/sound_effects.h"
#include "play/chara.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/map_cells.h"
#include "project/item_def.h"
#include "project/map_cell.h"
#include "project/stage_data.h"

namespace {

constexpr std::int32_t kTriggerItemTouched = 8;  // アイテムに当たった時

// Logic steps of one second of play at the stage's speed level.
std::int32_t OneSecondOfSteps() { return g_StepsPerFrame * 60; }

bool Touches(const cSubBox& box, const cItem& item) {
  return box.m_X1 <= item.m_X2 && box.m_X2 >= item.m_X1 && box.m_Y1 <= item.m_Y2 && box.m_Y2 >= item.m_Y1;
}

// Items apply to hero 0, whichever hero touched them.
cHero& FirstHero(cHero& fallback) { return g_Heroes.empty() ? fallback : g_Heroes[0]; }

// A flow that the touch started may have removed the item; the walk keeps it in memory, but a
// removed item gives nothing.
bool IsListed(const cItem& item) {
  for (const cItem& live : g_ItemList)
    if (&live == &item) return true;
  return false;
}

}  // namespace

std::int32_t ApplyPaletteItem(std::int8_t source, std::int16_t index, cHero& hero) {
  const cItemDef* def = GetItemPaletteEntry(source, index);
  if (def == nullptr) return 0;
  // The stand-in lives only for this application, so it is set up present (an item set up to lie on
  // the stage would wait for the presence pass, which never sees a stand-in, and would give nothing).
  cItem standIn;
  standIn.Setup(0, *def, 1);
  return ApplyItem(standIn, hero);
}

std::int32_t ApplyItem(cItem& item, cHero& hero) {
  const cItemDef& def = item.m_Def;
  if (def.m_ChipIndex == 0 || def.m_Obtainability == kItemNotTakable || item.m_Present == 0) return 0;
  if (def.m_ShowMessage != 0) hero.ShowItemMessage(def.m_ChipSource, def.m_ChipIndex, def.m_ChipFrame);
  PlaySEOffset(def.m_Sound);
  return RunFlowCommands(hero, def.m_Commands);
}

std::int32_t PickUpItems(cHero& hero) {
  std::int32_t code = 0;
  g_ItemList.ForEach([&](cItem& item) {
    const std::uint8_t kind = item.m_Def.m_Obtainability;
    if (code != 0 || item.m_Present == 0 || item.m_Held != 0 || kind == kItemNotTakable) return;
    if (!Touches(hero.m_PickupBox, item)) {
      // Leaving an item that can be taken again makes the next touch count.
      if (kind == kItemAnyTimes) hero.ForgetTakenItem(item.m_Id);
      return;
    }
    RunTriggeredFlows(hero, kTriggerItemTouched);
    if (!IsListed(item)) return;
    if (kind == kItemAnyTimes) {
      // Applied when the touch began; staying on it gives nothing more.
      if (!hero.IsItemNew(item.m_Id)) return;
      hero.m_TakenItems.push_back(item.m_Id);
    }
    code = ApplyItem(item, FirstHero(hero));
    // Taken once: it goes even when its commands ended the stage. The list only hides it while the
    // walk runs, so item stays valid to the end of this call.
    if (kind == kItemOnce) g_ItemList.Remove(&item);
  });
  return code;
}

std::int32_t ApplyCellItem(cHero& hero) {
  if (hero.m_Flying != 0) return 0;
  cMapCell* cell = hero.m_CellUnderFeet;
  bool applied = false;
  if (cell != nullptr && hero.m_CellItemSteps == 0 && IsSolidFor(*cell, hero.m_Group) != kSolidNone &&
      cell->m_ItemSource != 0) {
    if (GetItemPaletteEntry(cell->m_ItemSource, cell->m_ItemIndex) != nullptr) {
      const std::int32_t code = ApplyPaletteItem(cell->m_ItemSource, cell->m_ItemIndex, FirstHero(hero));
      if (code != 0) return code;
      applied = true;
      hero.m_CellItemSteps = OneSecondOfSteps();
    }
  }
  if (hero.m_CellItemSteps != 0) {
    if (hero.m_J2 != 0) {
      // A fall ends the wait: landing on the cell again applies its item at once.
      hero.m_CellItemSteps = 0;
    } else {
      hero.m_CellItemSteps = std::max(0, hero.m_CellItemSteps - 1);
      if (hero.m_CellUnderFeet != nullptr && hero.m_CellIndexUnderFeet != hero.m_PrevCellIndex && !applied) {
        // Another cell: its item applies on the next step. The hero is pressed onto the floor so
        // that the next step finds the cell under its feet.
        hero.m_CellItemSteps = 0;
        if (hero.m_Vy >= 0) hero.m_Vy += 1.0;
      }
    }
  }
  return 0;
}
