#pragma once
// Shared by the tests of damage, deaths and contacts: the stage objects' fixture with the sounds
// the game asks the main window to play recorded, hero 0 on the stage and characters made on
// demand, each given its group, body box, attack and a place in the scene's group lists by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/audio/sound_effects.h"
#include "platform/host/message_queue.h"
#include "play/chara.h"
#include "play/damage.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "tests/play/stage_objects_fixture.h"

namespace playtest {

// Scripts that record every trigger raised, by object id.
class cRaiseLog final : public cEventScripts {
 public:
  void RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger) override { m_Raised.emplace_back(chara.m_Id, trigger); }
  void AddFlows(cCharaBase&, const CheckedVector<cFlow>&, std::int32_t, std::int32_t, std::int32_t) override {}
  std::int32_t RunFlows(cChara&, std::int32_t) override { return 0; }
  std::int32_t RunFlows(cHero&, std::int32_t) override { return 0; }
  std::int32_t RunFlowCommands(cCharaBase&, const CheckedVector<cFlowCommand>&) override { return 0; }
  std::int32_t CheckCellConditions(cMapCell&) override { return 1; }
  std::int32_t CheckCharaConditions(cCharaBase&) override { return 1; }
  std::int32_t CheckItemConditions(cItem&) override { return 1; }
  std::vector<std::pair<std::int32_t, std::int32_t>> m_Raised;
};

class ContactTest : public StageObjectsTest {
 protected:
  void SetUp() override {
    StageObjectsTest::SetUp();
    g_System.m_KeepDeadCharacters = 0;
    g_SaveData.m_Score = 0;
    ResetMessageShutdown();
    MainWindowQueue().BindToCurrentThread([this](const HostMessage& msg) -> std::intptr_t {
      if (msg.message == WM_GAME_PLAYSE) m_Sounds.push_back(static_cast<int>(msg.wParam));
      return 0;
    });
    PlaceHero(5, 5);
    List(Hero(), 0);
  }

  void TearDown() override {
    MainWindowQueue().UnbindFromCurrentThread();
    while (MainWindowQueue().TryTake()) {
    }
    StageObjectsTest::TearDown();
  }

  cHero& Hero() { return g_Heroes[0]; }

  // A computer-operated character of group, listed in the scene, present and on screen, whose body
  // box is the hero's (they overlap).
  cChara& Enemy(std::int32_t group, std::int32_t power = 0, std::int8_t impact = 0) {
    cChara& c = g_CharaList.Emplace();
    c.Setup(++m_LastId, CharaDef(), nullptr, 0.0, 0.0, 0);
    c.m_BodyBox = c.m_ShotBox = Hero().m_BodyBox;
    Arm(c, power, impact);
    List(c, group);
    return c;
  }

  // The object in group's list, present and on screen.
  void List(cCharaBase& c, std::int32_t group) {
    c.m_Group = group;
    c.m_Present = c.m_OnScreen = 1;
    m_Scene->m_GroupCharas.At(group).Emplace(&c);
  }

  static void Arm(cCharaBase& c, std::int32_t power, std::int8_t impact) {
    c.m_Def.m_BodyAttack = power;
    c.m_Def.m_BodyImpact = impact;
  }

  // Moves c's body box by dx dots (so it no longer overlaps a box of its size).
  static void Shift(cCharaBase& c, double dx) {
    c.m_BodyBox.m_X1 += dx;
    c.m_BodyBox.m_X2 += dx;
  }

  static void SetHp(cCharaBase& c, std::int32_t hp, std::int32_t maximum) {
    c.m_Def.m_MaxHp = maximum;
    c.m_Hp = hp;
  }

  int Count(int sound) const { return static_cast<int>(std::count(m_Sounds.begin(), m_Sounds.end(), sound)); }

  std::vector<int> m_Sounds;
  std::int32_t m_LastId = 100;
};

}  // namespace playtest
