// A line of the expression language of "コードの実行" evaluated for a character on a stage, with
// hero 0, the common and stage variables, as an event script runs it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "play/chara_base.h"
#include "play/hero.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "script/code.h"

namespace {

// A computer-operated character that stays inside the stage after every move, as stage characters do.
class cFuzzChara : public cCharaBase {
 public:
  std::int32_t OnMovedX() override { return ClampToStageX(2); }
  std::int32_t OnMovedY() override { return ClampToStageY(2); }
};

std::unique_ptr<cPlayScene> s_Scene;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  g_Stage.m_Reals[kGravityField] = 0.4;
  g_Stage.SetSpeedLevel(10);
  s_Scene = std::make_unique<cPlayScene>();
  g_PlayScene = s_Scene.get();
  constexpr std::int32_t kCellsX = 40;
  constexpr std::int32_t kCellsY = 20;
  s_Scene->m_ScrollX.Setup(0, kCellsX, kCellsX * 32);
  s_Scene->m_ScrollY.Setup(1, kCellsY, kCellsY * 32);
  s_Scene->m_ScrollX.SetScrollRange(0, 0, 0, 0);
  s_Scene->m_ScrollY.SetScrollRange(0, 0, 0, 0);
  cStageData empty;
  BuildMapCells(empty);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  g_SaveData.m_Variables.assign(kCommonVarCount, 0);
  s_Scene->m_StageVars.assign(kStageVarCount, 0);
  g_Heroes.assign(1, cHero());
  g_Heroes[0].Init(nullptr, 0, 0, 0);
  {
    cFuzzChara self;
    self.Init(nullptr, 0, 0, 0);
    self.m_Operator = 1;
    self.m_Def.m_MaxHp = 50;
    self.m_Hp = 50;
    g_CodeError = 0;
    EvalCode(text, self);
    self.SetTarget(nullptr);
  }
  g_Heroes.clear();
  EndFuzzInput();
  return 0;
}
