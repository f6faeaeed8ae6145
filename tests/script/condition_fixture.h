#pragma once
// Shared by the condition tests: the play scene of the stage-play tests with the common and stage
// variables made, a computer-operated character set up from a definition, and builders of
// conditions.
#include <gtest/gtest.h>

#include <cstdint>

#include "project/condition.h"
#include "project/save_data.h"
#include "script/conditions.h"
#include "tests/play/play_fixture.h"

namespace scripttest {

class ConditionTest : public playtest::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    g_SaveData.m_Variables.assign(kCommonVarCount, 0);
    g_SaveData.m_Score = 0;
    g_SaveData.m_Lives = 3;
    m_Scene->m_StageVars.assign(16, 0);
    m_Chara.Init(nullptr, 0, 0, 0);
    m_Chara.m_Operator = 1;
  }

  void TearDown() override {
    g_SaveData.m_Variables.clear();
    PlayTest::TearDown();
  }

  // Kind 1: common variable index compared with value.
  static cConditionDef CommonVar(std::int16_t index, std::uint8_t op, std::int32_t value) {
    cConditionDef c;
    c.m_Kind = kConditionCommonVar;
    c.m_Number = index;
    c.m_Operator = op;
    c.m_Value = value;
    return c;
  }

  // Kind 4: status of owner compared with a constant.
  static cConditionDef Status(std::uint8_t owner, std::uint8_t status, std::uint8_t op, std::int32_t value) {
    cConditionDef c;
    c.m_Kind = kConditionStatus;
    c.m_Subject = owner;
    c.m_Item = status;
    c.m_Operator = op;
    c.m_RightKind = kRightConstant;
    c.m_Value = value;
    return c;
  }

  playtest::cTestChara m_Chara;
};

// Operators as stored.
constexpr std::uint8_t kEq = 0;
constexpr std::uint8_t kNe = 1;
constexpr std::uint8_t kGe = 2;
constexpr std::uint8_t kLe = 3;
constexpr std::uint8_t kGt = 4;
constexpr std::uint8_t kLt = 5;

}  // namespace scripttest
