#pragma once
// Shared by the tests of the stage objects: the play scene of PlayTest with the stage's default box
// sizes, the object containers emptied after every test, and small builders of definitions and of
// a hero standing in a stage cell.
#include <gtest/gtest.h>

#include <cstdint>

#include "play/chara.h"
#include "play/hero.h"
#include "project/common_palette.h"
#include "tests/play/play_fixture.h"

namespace playtest {

class StageObjectsTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    g_Stage.SetBoxDefaults();
    g_CommonPalette.m_Blocks.assign(1, cBlock());
    g_CommonPalette.m_Blocks[0].m_Solid = kSolidNone;
  }

  void TearDown() override {
    // The objects go while the scene they are listed in still exists.
    g_CharaList.Clear();
    g_ItemList.Clear();
    g_Heroes.clear();
    PlayTest::TearDown();
  }

 public:
  // A computer-operated walking character of group 1.
  static cCharaDef CharaDef() {
    cCharaDef def;
    def.m_Operator = 1;
    def.m_SpareByte2 = 1;
    def.m_ChipIndex = 1;
    return def;
  }

  static cCharaDef HeroDef() {
    cCharaDef def = CharaDef();
    def.m_Operator = 0;
    def.m_SpareByte2 = 0;
    return def;
  }

  // Hero 0 set up on stage cell (column, row), listed in the scene, as the stage set-up places it.
  cHero& PlaceHero(std::int32_t column, std::int32_t row, const cCharaDef& def = HeroDef()) {
    g_Heroes.assign(1, cHero());
    cHero& hero = g_Heroes[0];
    hero.Setup(0, def, (column + 10) * 32 + 16, (row + 10) * 32 + 16);
    hero.PlaceAtColumnRow(column, row);
    m_Scene->m_Heroes.assign(1, &hero);
    return hero;
  }

  // A solid row of the stage proper (stage coordinates).
  static void SolidStageRow(std::int32_t row, std::int32_t from, std::int32_t to) {
    for (std::int32_t column = from; column <= to; ++column) SolidCell(column + 10, row + 10);
  }
};

}  // namespace playtest
