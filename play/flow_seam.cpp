#include "play/flow_seam.h"

#include "play/chara_base.h"
#include "project/effect_players.h"
#include "project/map_cell.h"

// Without the event-script run-time no flow starts: raising a trigger changes nothing.
void RunTriggeredFlows(cCharaBase&, std::int32_t) {}

// Without the run-time the runners are built idle and their commands are not set up; only the
// structure the character relies on is made: one runner per flow, bound to it.
void AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t, std::int32_t add,
              std::int32_t index) {
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

// The conditions need the scripts' evaluator; until it exists a cell is taken as present, as drawn.
std::int32_t CheckCellConditions(cMapCell&) { return 1; }

// As for cells: until the evaluator exists every character and item is there, as placed.
std::int32_t CheckCharaConditions(cCharaBase&) { return 1; }
std::int32_t CheckItemConditions(cItem&) { return 1; }

void StartCharaEffect(cCharaEffectPlayer& player, std::int16_t number, std::int32_t mode, std::int32_t loop) {
  const bool reversed = mode == kEffectModeReverse;
  auto& templates = reversed ? g_CharaEffectTemplatesReversed : g_CharaEffectTemplates;
  // Number 0 is plain drawing, and so is any number while no effects are loaded; a number beyond the
  // templates is reported by the checked access.
  if (number == 0 || templates.empty()) {
    player = cCharaEffectPlayer();
    player.m_Number = 0;
  } else {
    player = templates.At(number);
    player.m_Number = number;
  }
  player.m_Mode = mode;
  player.m_Loop = loop;
  player.m_Reversed = reversed ? 1 : 0;
}
