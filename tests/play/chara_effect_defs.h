#pragma once
// Character-effect definitions for tests, with their templates built as at start-up.
#include <array>
#include <cstdint>
#include <vector>

#include "project/database.h"
#include "project/effect_players.h"

struct sEffectDefRow {
  std::int32_t kind;
  std::array<std::int32_t, 5> p;
};

// Definitions 1 .. n as listed; 0 is the plain draw.
inline void SetCharaEffects(const std::vector<sEffectDefRow>& rows) {
  auto& table = g_Database.m_CharaEffects;
  table.assign(rows.size() + 1, cCharaEffectDef());
  table.At(0).m_Kind = 0;
  int i = 1;
  for (const sEffectDefRow& row : rows) {
    cCharaEffectDef& def = table.At(i++);
    def.m_Kind = row.kind;
    for (int k = 0; k < 5; ++k) def.m_Params[k] = row.p[static_cast<std::size_t>(k)];
  }
  g_Database.FillReversedEffects();
  BuildCharaEffectTemplates(g_CharaEffectTemplates, g_CharaEffectTemplatesReversed);
}

inline void ClearCharaEffects() {
  g_Database.m_CharaEffects.clear();
  g_Database.m_CharaEffectsReversed.clear();
  g_CharaEffectTemplates.clear();
  g_CharaEffectTemplatesReversed.clear();
}
