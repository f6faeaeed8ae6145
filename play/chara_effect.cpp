// The character-effect player: templates loaded per pass, the step toward the end of the range, and
// the frame every renderer shares (draw, then advance unless frozen). The pictures of the kinds are
// in chara_effect_draw.cpp.
#include "play/chara_effect.h"

#include <cmath>
#include <utility>

#include "platform/services/checked.h"
#include "play/chara_base.h"
#include "play/chara_draw.h"
#include "play/chara_effect_draw.h"
#include "project/database.h"
#include "project/effect_players.h"

namespace {

constexpr std::int32_t kNoParams[kEffectParamCount] = {};

// The wave's phase runs through the degrees of one turn.
constexpr std::int32_t kFullTurn = 360;

// The kinds whose counter is a frame counter that flips the blink phase.
bool Blinks(std::int32_t kind) { return kind == 6 || kind == 14; }
bool Waves(std::int32_t kind) { return kind == 4 || kind == 5; }

// Moves the kind's counters on, then the effect itself.
std::int32_t Advance(cCharaEffectPlayer& player, std::int32_t kind) {
  if (Waves(kind)) {
    if (++player.m_Counter >= kFullTurn) player.m_Counter = 0;
  } else if (Blinks(kind)) {
    const std::int32_t interval = player.m_Def != nullptr ? player.m_Def->m_Params[1] : 0;
    // The phase that showed this frame lasts until the counter has reached the interval.
    if (player.m_Counter >= interval) {
      player.m_Counter = 0;
      player.m_PhaseFlag = player.m_PhaseFlag != 0 ? 0 : 1;
    }
    ++player.m_Counter;
  }
  return StepCharaEffect(player);
}

template <std::int32_t Kind>
std::int32_t Render(cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request, std::int32_t frozen,
                    std::int32_t draw) {
  if constexpr (Kind == 0) {
    (void)frozen;  // the plain draw has nothing to advance
    return DrawCharaPlain(chara, dst, request, draw);
  } else {
    cCharaEffectPlayer& player = chara.m_CharaEffect;
    if (draw != 0 && dst != nullptr && request != nullptr && request->m_Surface != nullptr) {
      const sCharaEffectFrame frame{chara, dst, *request, player,
                                    player.m_Def != nullptr ? player.m_Def->m_Params : kNoParams};
      DrawCharaEffectKind(Kind, frame);
    }
    if (frozen != 0) return 0;
    return Advance(player, Kind);
  }
}

template <std::size_t... Kinds>
constexpr std::array<CharaEffectRenderer, sizeof...(Kinds)> MakeTable(std::index_sequence<Kinds...>) {
  return {&Render<static_cast<std::int32_t>(Kinds)>...};
}

}  // namespace

const std::array<CharaEffectRenderer, kCharaEffectKindCount + 1> CharaEffectDrawTable =
    MakeTable(std::make_index_sequence<kCharaEffectKindCount + 1>());

std::int32_t RunCharaEffect(cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                            std::int32_t frozen, std::int32_t draw) {
  const std::int16_t number = chara.m_CharaEffect.m_Number;
  const auto& defs = g_Database.m_CharaEffects;
  if (number == 0 || defs.empty()) return CharaEffectDrawTable[0](chara, dst, request, frozen, draw);
  // A number beyond the definitions is reported by the checked access and reads definition 0.
  const std::int32_t kind = defs.At(number).m_Kind;
  if (kind >= 1 && kind <= kCharaEffectKindCount)
    return CharaEffectDrawTable[static_cast<std::size_t>(kind)](chara, dst, request, frozen, draw);
  DrawCharaPlain(chara, dst, request, draw);
  return frozen != 0 ? 0 : 1;
}

std::int32_t StepCharaEffect(cCharaEffectPlayer& player) {
  const double end = player.m_End;
  player.m_Current += player.m_Start <= player.m_End ? player.m_Step : -player.m_Step;
  // The end lies a whole number of steps from the start, but a sum of steps rounds: 60 steps of
  // 0.05 make 2.9999999999999982. A value within half a step of the end is the end, so that the
  // last frame of a pass shows the end value (4 tint steps, not 3).
  if (std::abs(player.m_Current - end) < player.m_Step / 2) player.m_Current = end;
  const bool over = player.m_Start <= player.m_End ? player.m_Current > end : player.m_Current < end;
  if (!over) return 0;
  if (player.m_Loop != 0 || (player.m_Mode == kEffectModeThereAndBack && player.m_Reversed == 0)) {
    RestartCharaEffect(player);
    return 0;
  }
  return 1;
}

void RestartCharaEffect(cCharaEffectPlayer& player) {
  if (player.m_Mode == kEffectModeThereAndBack) player.m_Reversed = player.m_Reversed != 0 ? 0 : 1;
  LoadCharaEffectTemplate(player);
}

void LoadCharaEffectTemplate(cCharaEffectPlayer& player) {
  const auto& templates = player.m_Reversed != 0 ? g_CharaEffectTemplatesReversed : g_CharaEffectTemplates;
  const std::int16_t number = player.m_Number;
  if (number != 0 && !templates.empty()) {
    if (number > 0 && number < templates.Size()) {
      LoadEffectTemplate(player, templates.At(number));
      return;
    }
    ReportBadVectorIndex(number, templates.Size(), CheckedElementSize<cCharaEffectPlayer>());
  }
  player.m_Number = 0;
  LoadEffectTemplate(player, cCharaEffectPlayer());
}
