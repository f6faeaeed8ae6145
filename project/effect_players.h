#pragma once
// The players of character and screen effects, as far as the database builds them: the default
// state, and the templates made from every definition at start-up, which a player loads when an
// effect starts. Starting, stepping and drawing belong to the event scripts and the stage drawing.
#include <cstdint>
#include <vector>

#include "platform/services/checked.h"
#include "project/database.h"

// Modes of both players.
constexpr std::int32_t kEffectModeNormal = 0;        // "通常実行"
constexpr std::int32_t kEffectModeReverse = 1;       // "反転実行"
constexpr std::int32_t kEffectModeThereAndBack = 2;  // "往復実行"

// One per character; number 0 is the plain draw.
class cCharaEffectPlayer {
 public:
  std::int16_t m_Number = 0;
  const cCharaEffectDef* m_Def = nullptr;  // into the normal or the reversed definitions
  std::int32_t m_Mode = 0;
  std::int32_t m_Loop = 0;      // non-zero: start again at each end
  std::int32_t m_Reversed = 0;  // the current pass plays the reversed template
  std::int32_t m_Start = 0;     // the running range
  std::int32_t m_End = 0;
  double m_Current = 0;
  double m_Step = 0;             // added to or taken from current per frame
  std::int32_t m_Counter = 0;    // wave phase (kinds 4, 5) or frame counter (kinds 6, 14)
  std::int32_t m_PhaseFlag = 0;  // kinds 6 and 14: which half of the blink shows
};

// The play scene's one player of screen effects; number 0 is none.
class cScrEffectPlayer {
 public:
  std::int16_t m_Number = 0;
  const cScrEffectDef* m_Def = nullptr;
  std::int32_t m_Mode = 0;
  std::int32_t m_Loop = 0;
  std::int32_t m_Reversed = 0;
  double m_Current = 0;
  double m_Second = 0;  // the shake offset of kinds 2 and 3
  double m_Step = 0;
  std::int32_t m_ValueA = 0;  // kind-specific
  std::int32_t m_ValueB = 0;
};

extern CheckedVector<cCharaEffectPlayer> g_CharaEffectTemplates;
extern CheckedVector<cCharaEffectPlayer> g_CharaEffectTemplatesReversed;
extern CheckedVector<cScrEffectPlayer> g_ScrEffectTemplates;
extern CheckedVector<cScrEffectPlayer> g_ScrEffectTemplatesReversed;

// Fills player from character effect n (of the reversed definitions when reverse is 1). For the
// reversed template the definition's start and end parameters are exchanged first, in the reversed
// table itself, so build each reversed template once. Kind 0 (and a kind no player knows) sets
// only the number and the definition.
void BuildCharaEffectTemplate(cCharaEffectPlayer& player, int n, int reverse, cDatabase& database = g_Database);
void BuildScrEffectTemplate(cScrEffectPlayer& player, int n, int reverse, cDatabase& database = g_Database);

// One normal and one reversed template per definition; the reversed tables of the database must
// have been filled (cDatabase::FillReversedEffects).
void BuildCharaEffectTemplates(std::vector<cCharaEffectPlayer>& normal, std::vector<cCharaEffectPlayer>& reversed,
                               cDatabase& database = g_Database);
void BuildScrEffectTemplates(std::vector<cScrEffectPlayer>& normal, std::vector<cScrEffectPlayer>& reversed,
                             cDatabase& database = g_Database);

// A pass starts from a template: the player takes everything the template holds but the number,
// mode, loop and direction, which belong to the start and stay as they are.
template <class Player>
void LoadEffectTemplate(Player& player, const Player& from) {
  const std::int16_t number = player.m_Number;
  const std::int32_t mode = player.m_Mode;
  const std::int32_t loop = player.m_Loop;
  const std::int32_t reversed = player.m_Reversed;
  player = from;
  player.m_Number = number;
  player.m_Mode = mode;
  player.m_Loop = loop;
  player.m_Reversed = reversed;
}
