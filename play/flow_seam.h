#pragma once
// The one road from stage play to the event scripts: raising a trigger, building the runners of
// flows, testing appearance conditions and starting a character effect. Stage play calls only these.
//
// The event-script run-time is not part of the program yet. Until it is, this seam does what can be
// done without it and nothing more: no flow is ever started or run, AddFlows only keeps the runner
// vector parallel to the flows (runners idle, commands not set up), and the appearance
// conditions of cells, characters and items, which only the scripts can evaluate, are taken as
// holding so that a stage looks as it was made. Each function says the same at its definition.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow.h"

class cCharaBase;
class cMapCell;
class cItem;
class cCharaEffectPlayer;

// Starts the character's flows of this trigger whose conditions hold.
void RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger);
// add 0: one runner for each of the character's own flows (flows is its own vector); otherwise copies
// of flows with their runners are inserted at index (appended when index is outside).
void AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t facing, std::int32_t add,
              std::int32_t index);
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
