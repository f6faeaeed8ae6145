#pragma once
// The one road from stage play to the event scripts: raising a trigger, building the runners of
// flows, running a character's flows for a step, running an item's command list, testing
// appearance conditions and starting a character effect. Stage play calls only these.
//
// The scripts live in a library of their own that stage play does not include: they install their
// implementation of cEventScripts at start-up and these functions forward to it. With nothing
// installed (stage play's own tests) the seam does what can be done without scripts and nothing
// more: no flow is ever started or run, an item's command list runs no command, AddFlows only keeps the runner vector parallel to the flows
// (runners idle, commands not set up), and the appearance conditions of cells, characters and
// items, which only the scripts can evaluate, are taken as holding so that a stage looks as it was
// made.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow.h"
#include "project/flow_command.h"

class cCharaBase;
class cChara;
class cHero;
class cMapCell;
class cItem;
class cCharaEffectPlayer;

// What the event scripts do for stage play. One implementation is installed for the life of the
// program; its functions run on the game thread only.
class cEventScripts {
 public:
  virtual ~cEventScripts() = default;
  virtual void RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger) = 0;
  virtual void AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t facing, std::int32_t add,
                        std::int32_t index) = 0;
  // One flow step of the object (deathOnly: only its death flows run); 1 when it is out of HP
  // afterwards, or (a character) has vanished.
  virtual std::int32_t RunFlows(cChara& chara, std::int32_t deathOnly) = 0;
  virtual std::int32_t RunFlows(cHero& hero, std::int32_t deathOnly) = 0;
  // An item's command list run at once on hero: 0, 1 (a command cleared the stage) or 2 (the hero
  // has no HP left).
  virtual std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands) = 0;
  virtual std::int32_t CheckCellConditions(cMapCell& cell) = 0;
  virtual std::int32_t CheckCharaConditions(cCharaBase& chara) = 0;
  virtual std::int32_t CheckItemConditions(cItem& item) = 0;
};

// Installs scripts (null: none) and returns what was installed before.
cEventScripts* SetEventScripts(cEventScripts* scripts);
cEventScripts* EventScripts();

// Starts the character's flows of this trigger whose conditions hold.
void RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger);
// Whether raising trigger on the character could start any flow: it has a flow of that trigger and
// scripts are installed. When false, a raise may be left out.
bool MayStartFlows(const cCharaBase& chara, std::int32_t trigger);
// add 0: one runner for each of the character's own flows (flows is its own vector); otherwise copies
// of flows with their runners are inserted at index (appended when index is outside).
void AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t facing, std::int32_t add,
              std::int32_t index);
// An item's command list run at once on hero: 0, or its stop code (1 the stage is cleared, 2 the
// hero's HP ran out).
std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands);
// The appearance conditions of a map cell, evaluated for hero 0.
std::int32_t CheckCellConditions(cMapCell& cell);
// The appearance conditions of a character and of an item, evaluated for hero 0.
std::int32_t CheckCharaConditions(cCharaBase& chara);
std::int32_t CheckItemConditions(cItem& item);
// Starts character effect number on player (mode 1 plays it reversed); 0 is plain drawing.
void StartCharaEffect(cCharaEffectPlayer& player, std::int16_t number, std::int32_t mode, std::int32_t loop);

// Trigger numbers raised by the object base.
constexpr std::int32_t kTriggerBlockHit = 9;
constexpr std::int32_t kTriggerBlockBeside = 10;
constexpr std::int32_t kTriggerBlockLeft = 11;
constexpr std::int32_t kTriggerBlockRight = 12;
constexpr std::int32_t kTriggerBlockAboveOrBelow = 13;
constexpr std::int32_t kTriggerBlockAbove = 14;
constexpr std::int32_t kTriggerBlockBelow = 15;
