#pragma once
// Shared by the stage-play tests: a play scene with its two axes set up for a stage of a given size
// (extents covering the whole map, as the sample game stores them), the speed values of a speed
// level with gravity 0.4, map cells all passable, and a character that keeps itself inside the map
// after every move, as the characters of a stage do.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "platform/services/record.h"
#include "play/chara_base.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "project/stage_data.h"
#include "project/system_data.h"

namespace playtest {

class cTestChara : public cCharaBase {
 public:
  std::int32_t OnMovedX() override { return ClampToStageX(2); }
  std::int32_t OnMovedY() override { return ClampToStageY(2); }
};

class PlayTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kCellsX = 40;
  static constexpr std::int32_t kCellsY = 20;

  void SetUp() override {
    InitRecordSettings();
    g_System.m_LegacyScrollSync = 0;
    g_System.m_LegacyScaleAnchor = 0;
    g_Stage.m_Reals[kGravityField] = 0.4;
    SetSpeedLevel(10);
    m_Scene = std::make_unique<cPlayScene>();
    g_PlayScene = m_Scene.get();
    SetupStage(kCellsX, kCellsY);
  }

  void TearDown() override {
    m_Scene.reset();
    g_MapCells.clear();
  }

  static void SetSpeedLevel(std::int32_t level) { g_Stage.SetSpeedLevel(level); }

  // Both axes for a stage of w x h cells, the scroll range the whole stage, the view at its start,
  // every map cell passable.
  void SetupStage(std::int32_t w, std::int32_t h) {
    cPlayScene& scene = *m_Scene;
    scene.m_ScrollX.Setup(0, w, w * 32);
    scene.m_ScrollY.Setup(1, h, h * 32);
    scene.m_ScrollX.SetScrollRange(0, 0, 0, 0);
    scene.m_ScrollY.SetScrollRange(0, 0, 0, 0);
    scene.m_ScrollX.m_Pos = scene.m_ScrollX.m_Min;
    scene.m_ScrollY.m_Pos = scene.m_ScrollY.m_Min;
    cStageData empty;
    empty.m_PlacedBlocks.clear();
    BuildMapCells(empty);
  }

  // The helpers are open to the tests' own functions as well.
 public:
  // A solid block at map column tx, row ty (margin included).
  static cMapCell& SolidCell(std::int32_t tx, std::int32_t ty, std::int8_t passGroup = -1) {
    cMapCell& cell = MapCellAt(tx, ty);
    cell.m_Solid = kSolid;
    cell.m_PassGroup = passGroup;
    return cell;
  }

  // An object with a w x h hit box in a 32 x 32 drawn box, its top left at (x, y).
  template <class T>
  static void Place(T& obj, double x, double y, std::int32_t w = 16, std::int32_t h = 24) {
    obj.cGameObj::Init(1, 1, 0, 0, 0, nullptr, 0, (32 - w) / 2, 32 - h, w, h, 32, 32, 0, 0, 0);
    obj.m_X1 = x;
    obj.m_Y1 = y;
    obj.ClampToStageX(2);
    obj.ClampToStageY(2);
  }

 protected:
  std::unique_ptr<cPlayScene> m_Scene;
};

}  // namespace playtest
