#pragma once
// The event scripts as stage play sees them: the implementation of cEventScripts that the program
// installs at start-up (and tests that want flows to run).
#include <cstdint>

#include "play/flow_seam.h"

class cEventScriptRuntime final : public cEventScripts {
 public:
  // Starts the character's flows of this trigger whose conditions hold (flow_runtime.cpp).
  void RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger) override;
  // add 0 rebuilds the runners of the character's own flows; otherwise copies of flows are inserted
  // at index (appended when index is outside) with runners of their own (flow_setup.cpp). facing is
  // the one the move set-ups mirror for: 0 left, anything else right.
  void AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t facing, std::int32_t add,
                std::int32_t index) override;
  // One flow step of the object (flow_step.cpp).
  std::int32_t RunFlows(cChara& chara, std::int32_t deathOnly) override;
  std::int32_t RunFlows(cHero& hero, std::int32_t deathOnly) override;
  // An item's command list on hero (flow_command_lists.cpp).
  std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands) override;
  std::int32_t CheckCellConditions(cMapCell& cell) override;
  std::int32_t CheckCharaConditions(cCharaBase& chara) override;
  std::int32_t CheckItemConditions(cItem& item) override;
};

// Installs the event scripts for the rest of the program (again: nothing changes).
void InstallEventScripts();
// Takes them out again: stage play runs no flow afterwards (tests that compare both).
void UninstallEventScripts();
