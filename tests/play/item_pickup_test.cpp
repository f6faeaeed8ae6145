// Items reaching hero 0: the pick-up kinds (once, any number of times, never), items that are not
// there or are held, and the item of the map cell under the hero with its one-second wait, cut short
// by a fall or another cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/audio/sound_effects.h"
#include "play/item_pickup.h"
#include "project/load_context.h"
#include "tests/play/play_scene_fixture.h"

namespace {

using playtest::PlaySceneTest;

constexpr std::int16_t kItemSound = 3;

class ItemPickupTest : public PlaySceneTest {
 protected:
  static cItemDef ItemDef(std::uint8_t kind, std::int16_t chip = 1) {
    cItemDef def;
    def.m_ChipIndex = chip;
    def.m_Obtainability = kind;
    def.m_ShowMessage = 0;
    def.m_Sound = kItemSound;
    return def;
  }

  // Puts the item on the hero's pick-up box, or well away from it.
  static void Touch(cItem& item, const cHero& hero, bool touching) {
    item.m_X1 = hero.m_PickupBox.m_X1 + (touching ? 0 : 300);
    item.m_Y1 = hero.m_PickupBox.m_Y1;
    item.ClampToStageX(2);
    item.ClampToStageY(2);
  }

  static cItem* Listed(std::int32_t id) {
    for (cItem& item : g_ItemList)
      if (item.m_Id == id) return &item;
    return nullptr;
  }

  int ItemSounds() const {
    return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), kItemSound + kProjectSoundOffset));
  }
};

TEST_F(ItemPickupTest, EachKindIsTakenAsOftenAsItSays) {
  struct Case {
    const char* name;
    std::uint8_t kind;
    std::int16_t chip;
    std::int32_t present, held;
    std::array<int, 4> sounds;  // after: the touch, staying on it, leaving it, touching it again
    bool listedAtEnd;
  };
  const Case cases[] = {
      {"once", kItemOnce, 1, 1, 0, {1, 1, 1, 1}, false},
      {"any number of times", kItemAnyTimes, 1, 1, 0, {1, 1, 1, 2}, true},
      {"never", kItemNotTakable, 1, 1, 0, {0, 0, 0, 0}, true},
      {"no picture", kItemAnyTimes, 0, 1, 0, {0, 0, 0, 0}, true},
      {"not present", kItemOnce, 1, 0, 0, {0, 0, 0, 0}, true},
      {"held by a character", kItemOnce, 1, 1, 1, {0, 0, 0, 0}, true},
  };
  cHero& hero = PlaceHero(5, 5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Sounds.clear();
    g_ItemList.Clear();
    hero.m_TakenItems.clear();
    // An item the hero is not near comes first: the walk goes past it.
    cItem& far = g_ItemList.Emplace();
    far.Setup(1, ItemDef(kItemOnce), 0);
    far.m_Present = 1;
    Touch(far, hero, false);
    cItem& item = g_ItemList.Emplace();
    item.Setup(2, ItemDef(c.kind, c.chip), 0);
    item.m_Present = c.present;
    item.m_Held = c.held;
    std::array<int, 4> sounds{};
    for (int call = 0; call < 4; ++call) {
      if (cItem* live = Listed(2); live != nullptr) Touch(*live, hero, call != 2);
      EXPECT_EQ(PickUpItems(hero), 0);
      sounds[call] = ItemSounds();
    }
    EXPECT_EQ(sounds, c.sounds);
    EXPECT_EQ(Listed(2) != nullptr, c.listedAtEnd);
    EXPECT_NE(Listed(1), nullptr);
  }
}

TEST_F(ItemPickupTest, ACellItemAppliesOnceASecondAndAgainAfterAFallOrAStepAside) {
  const PaletteView saved = LoadContext().commonPalette;
  CheckedVector<cItemDef> items{cItemDef(), ItemDef(kItemAnyTimes)};
  LoadContext().commonPalette.items = &items;
  cMapCell& cell = SolidCell(15, 20);
  cell.m_ItemSource = 1;
  cell.m_ItemIndex = 1;
  cHero& hero = PlaceHero(5, 5);
  auto standOnCell = [&] {
    hero.m_CellUnderFeet = &cell;
    hero.m_CellIndexUnderFeet = hero.m_PrevCellIndex = 7;
    hero.m_J2 = 0;
    hero.m_Vy = 0.0;
  };

  for (std::int32_t level : {1, 10}) {
    SCOPED_TRACE(level);
    SetSpeedLevel(level);
    m_Sounds.clear();
    standOnCell();
    hero.m_CellItemSteps = 0;
    const int second = 60 * level;
    for (int call = 0; call < second; ++call) ASSERT_EQ(ApplyCellItem(hero), 0);
    EXPECT_EQ(ItemSounds(), 1) << "once in the first second";
    ApplyCellItem(hero);
    EXPECT_EQ(ItemSounds(), 2) << "again one second later";

    // A fall ends the wait: the landing applies it at once.
    hero.m_J2 = 1;
    ApplyCellItem(hero);
    EXPECT_EQ(ItemSounds(), 2);
    hero.m_J2 = 0;
    ApplyCellItem(hero);
    EXPECT_EQ(ItemSounds(), 3);

    // Another cell ends the wait too, and presses the hero onto it.
    hero.m_CellIndexUnderFeet = 8;
    ApplyCellItem(hero);
    EXPECT_EQ(hero.m_CellItemSteps, 0);
    EXPECT_EQ(hero.m_Vy, 1.0);
    ApplyCellItem(hero);
    EXPECT_EQ(ItemSounds(), 4);
    EXPECT_EQ(hero.m_CellItemSteps, second - 1) << "the step that applied it keeps the new wait";
  }

  // Nothing for a flying hero, a cell the hero's group passes, a cell without an item or with an
  // item the palette does not have.
  struct Case {
    const char* name;
    std::int32_t flying;
    std::int8_t passGroup, source;
    std::int16_t index;
  };
  const Case none[] = {
      {"flying", 1, -1, 1, 1},
      {"passable", 0, 0, 1, 1},
      {"no item", 0, -1, 0, 1},
      {"beyond the palette", 0, -1, 1, 2},
      {"negative index", 0, -1, 1, -1},
  };
  for (const Case& c : none) {
    SCOPED_TRACE(c.name);
    m_Sounds.clear();
    standOnCell();
    hero.m_CellItemSteps = 0;
    hero.m_Flying = c.flying;
    cell.m_PassGroup = c.passGroup;
    cell.m_ItemSource = c.source;
    cell.m_ItemIndex = c.index;
    EXPECT_EQ(ApplyCellItem(hero), 0);
    EXPECT_EQ(ItemSounds(), 0);
    EXPECT_EQ(hero.m_CellItemSteps, 0);
  }
  hero.m_Flying = 0;
  LoadContext().commonPalette = saved;
}

}  // namespace
