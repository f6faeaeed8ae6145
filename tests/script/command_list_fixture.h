#pragma once
// Shared by the tests of the presentation commands and of the items' command lists: a stage set up
// and playing (hero 0 on its floor), the event scripts installed, the report log read back, and
// builders of character and flow commands with their parameters.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "play/hero.h"
#include "project/command_vocabulary.h"
#include "project/common_palette.h"
#include "project/flow_command.h"
#include "script/event_scripts.h"
#include "tests/play/pause_fixture.h"

namespace scripttest {

class CommandListTest : public playtest::PauseTest {
 protected:
  void SetUp() override {
    PauseTest::SetUp();
    InstallEventScripts();
    m_Music.clear();
    m_Sounds.clear();
    m_SavedItems = g_CommonPalette.m_Items;
    Hero().m_Hp = 10;
  }
  void TearDown() override {
    g_CommonPalette.m_Items = m_SavedItems;
    UninstallEventScripts();
    PauseTest::TearDown();
  }

 public:
  // A command of set and number with its row's parameters, the first ones given.
  static cFlowCommand Cmd(std::uint8_t set, std::uint8_t number, std::initializer_list<std::int32_t> params = {}) {
    cFlowCommand c;
    c.m_CommandSet = set;
    c.m_CommandNumber = number;
    c.m_Params.assign(CommandParamCount(set, number), 0);
    std::int32_t i = 0;
    for (std::int32_t v : params) c.m_Params.At(i++) = v;
    return c;
  }
  static cFlowCommand Chara(std::uint8_t number, std::initializer_list<std::int32_t> params = {}) {
    return Cmd(kCharaCommandSet, number, params);
  }
  static cFlowCommand FlowCmd(std::uint8_t number, std::initializer_list<std::int32_t> params = {}) {
    return Cmd(kFlowCommandSet, number, params);
  }

  // ステータスの操作 in a list: set the object's HP (character status 1) to value; add value to the
  // score (system status 3).
  static cFlowCommand SetHp(std::int32_t value) { return FlowCmd(kFlowStatus, {0, 0, 0, 0, 1, 0, 0, value}); }
  static cFlowCommand AddScore(std::int32_t value) { return FlowCmd(kFlowStatus, {0, 0, 0, 2, 3, 1, 0, value}); }

  // Common palette item index with these commands (entries before it made empty).
  static void CommonItem(std::int32_t index, std::initializer_list<cFlowCommand> commands) {
    if (g_CommonPalette.m_Items.Size() <= index) g_CommonPalette.m_Items.resize(static_cast<std::size_t>(index) + 1);
    g_CommonPalette.m_Items.At(index).m_Commands.assign(commands.begin(), commands.end());
  }

  std::string ReportLines() const {
    std::ifstream in(m_Folder / "Report_Game.txt");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  CheckedVector<cItemDef> m_SavedItems;
};

}  // namespace scripttest
