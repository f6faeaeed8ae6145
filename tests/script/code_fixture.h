#pragma once
// Shared by the code-language tests: the condition tests' scene, variables and character, the stage
// variables at their full size, hero 0, a target character, and the boxes shown, answered at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/box_sink.h"
#include "play/hero.h"
#include "play/stage_draw_objects.h"
#include "project/stage_data.h"
#include "script/code.h"
#include "tests/script/condition_fixture.h"
#include "tests/support/messages.h"

namespace scripttest {

class CodeTest : public ConditionTest {
 public:
  using ConditionTest::m_Chara;
  using ConditionTest::m_Scene;

  void SetUp() override {
    ConditionTest::SetUp();
    m_Scene->m_StageVars.assign(kStageVarCount, 0);
    g_Heroes.assign(1, cHero());
    g_Heroes[0].Init(nullptr, 0, 0, 0);
    m_Other.Init(nullptr, 0, 0, 0);
    m_Other.m_Operator = 1;
    m_Chara.m_Def.m_MaxHp = 50;
    m_Chara.m_Hp = 50;
    m_Chara.SetTarget(nullptr);
    g_ScrollSpeedX = g_ScrollSpeedY = 0;
    g_DarknessDrawer = nullptr;
    m_Boxes.clear();
    SetBoxSink([this](const std::string& text, const std::string&, std::uint32_t) {
      m_Boxes.push_back(text);
      return IDOK;
    });
  }

  void TearDown() override {
    SetBoxSink({});
    TakeMainWindowMessages(WM_CLOSE);
    m_Chara.SetTarget(nullptr);
    g_Heroes.clear();
    ConditionTest::TearDown();
  }

  // The value of text as the command sees it: the error flag cleared first.
  std::int32_t Eval(const std::string& text) {
    g_CodeError = 0;
    return EvalCodeParens(text, m_Chara);
  }

  // Common variable n, kept as 32 bits of either sign.
  static std::int32_t C(std::int32_t n) {
    return static_cast<std::int32_t>(g_SaveData.m_Variables[static_cast<std::size_t>(n)]);
  }
  static void SetC(std::int32_t n, std::int32_t v) {
    g_SaveData.m_Variables[static_cast<std::size_t>(n)] = static_cast<std::uint32_t>(v);
  }

  playtest::cTestChara m_Other;
  std::vector<std::string> m_Boxes;
};

}  // namespace scripttest
