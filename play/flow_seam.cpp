#include "play/flow_seam.h"

#include "play/chara.h"
#include "play/chara_effect.h"
#include "play/hero.h"
#include "project/effect_players.h"
#include "project/map_cell.h"

namespace {

// Set once at start-up, before the game thread runs, and only read afterwards.
cEventScripts* g_EventScripts = nullptr;

// Without scripts the runners are built idle and their commands are not set up; only the
// structure the character relies on is made: one runner per flow, bound to it.
void AddIdleRunners(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t add, std::int32_t index) {
  auto& own = chara.m_Def.m_Flows;
  if (add == 0) {
    chara.m_Runners.clear();
    chara.m_Runners.resize(own.size());
    for (cFlowRunner& runner : chara.m_Runners) runner.m_Serial = chara.m_RunnerCounter++;
  } else {
    const bool inside = index >= 0 && index <= own.Size() && index <= chara.m_Runners.Size();
    const std::size_t at = inside ? static_cast<std::size_t>(index) : own.size();
    // Copied first: flows may be a vector that the insertion moves.
    CheckedVector<cFlow> copies(flows.begin(), flows.end());
    own.insert(own.begin() + static_cast<std::ptrdiff_t>(at), copies.begin(), copies.end());
    CheckedVector<cFlowRunner> runners(copies.size());
    for (cFlowRunner& runner : runners) runner.m_Serial = chara.m_RunnerCounter++;
    const std::size_t runnerAt = std::min(at, chara.m_Runners.size());
    chara.m_Runners.insert(chara.m_Runners.begin() + static_cast<std::ptrdiff_t>(runnerAt), runners.begin(),
                           runners.end());
  }
  chara.BindFlowRunners();
}

}  // namespace

cEventScripts* SetEventScripts(cEventScripts* scripts) {
  cEventScripts* before = g_EventScripts;
  g_EventScripts = scripts;
  return before;
}

cEventScripts* EventScripts() { return g_EventScripts; }

// Without scripts no flow starts: raising a trigger changes nothing.
void RunTriggeredFlows(cCharaBase& chara, std::int32_t trigger) {
  if (g_EventScripts != nullptr) g_EventScripts->RunTriggeredFlows(chara, trigger);
}

bool MayStartFlows(const cCharaBase& chara, std::int32_t trigger) {
  if (g_EventScripts == nullptr) return false;
  for (const cFlowRunner& runner : chara.m_Runners)
    if (HearsTrigger(runner, trigger)) return true;
  return false;
}

void AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t facing, std::int32_t add,
              std::int32_t index) {
  if (g_EventScripts != nullptr)
    g_EventScripts->AddFlows(chara, flows, facing, add, index);
  else
    AddIdleRunners(chara, flows, add, index);
}

// Without scripts no flow runs, and the object's state is left as it is.
std::int32_t cChara::RunFlows(std::int32_t deathOnly) {
  return g_EventScripts != nullptr ? g_EventScripts->RunFlows(*this, deathOnly) : 0;
}

std::int32_t cHero::RunFlows(std::int32_t deathOnly) {
  return g_EventScripts != nullptr ? g_EventScripts->RunFlows(*this, deathOnly) : 0;
}

// Without scripts an item's list runs no command: nothing changes and nothing stops.
std::int32_t RunFlowCommands(cCharaBase& hero, const CheckedVector<cFlowCommand>& commands) {
  return g_EventScripts != nullptr ? g_EventScripts->RunFlowCommands(hero, commands) : 0;
}

// The conditions need the scripts' evaluator; without it a cell is taken as present, as drawn, and
// every character and item is there, as placed.
std::int32_t CheckCellConditions(cMapCell& cell) {
  return g_EventScripts != nullptr ? g_EventScripts->CheckCellConditions(cell) : 1;
}

std::int32_t CheckCharaConditions(cCharaBase& chara) {
  return g_EventScripts != nullptr ? g_EventScripts->CheckCharaConditions(chara) : 1;
}

std::int32_t CheckItemConditions(cItem& item) {
  return g_EventScripts != nullptr ? g_EventScripts->CheckItemConditions(item) : 1;
}

void StartCharaEffect(cCharaEffectPlayer& player, std::int16_t number, std::int32_t mode, std::int32_t loop) {
  player.m_Number = number;
  player.m_Mode = mode;
  player.m_Loop = loop;
  player.m_Reversed = mode == kEffectModeReverse ? 1 : 0;
  LoadCharaEffectTemplate(player);
}
