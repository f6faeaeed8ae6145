// The effect-player templates: one per definition and direction, built once at start-up so that
// starting an effect is a copy.
#include <algorithm>
#include <cmath>
#include <utility>

#include "project/effect_params.h"
#include "project/effect_players.h"

namespace {

// How a kind's template runs: not at all (kind 0), over a range of values from parameter 1 to
// parameter 2, or through its time at one step per tenth of a second.
enum class eRun : std::uint8_t { kNone, kRange, kTime };

struct sCharaKind {
  bool swapRange;  // the reversed definition runs parameter 2 to parameter 1
  eRun run;
  bool wave;  // the counter is the wave's phase, starting at 0
};

// Row = kind.
constexpr sCharaKind kCharaKinds[kCharaEffectKindCount + 1] = {
    {false, eRun::kNone, false},  // 0 plain
    {true, eRun::kRange, false},  // 1 破裂
    {true, eRun::kRange, false},  // 2 分割（横）
    {true, eRun::kRange, false},  // 3 分割（縦）
    {true, eRun::kRange, true},   // 4 波（横）
    {true, eRun::kRange, true},   // 5 波（縦）
    {false, eRun::kTime, false},  // 6 点滅
    {true, eRun::kRange, false},  // 7 回転A
    {true, eRun::kRange, false},  // 8 回転B
    {true, eRun::kRange, false},  // 9 回転（奥）
    {true, eRun::kRange, false},  // 10 円
    {true, eRun::kRange, false},  // 11 拡大
    {true, eRun::kRange, false},  // 12 レンズ
    {true, eRun::kRange, false},  // 13 色変化
    {false, eRun::kTime, false},  // 14 半透明
    {true, eRun::kRange, false},  // 15 モザイク
    {true, eRun::kRange, false},  // 16 ぼかし
};

enum class eScrRun : std::uint8_t { kNone, kMove, kShake, kRange, kWave, kBlink };

struct sScrKind {
  eScrRun run;
};

// Row = kind. Moves reverse by exchanging their start and end points; the range kinds (waves
// included) by exchanging their start and end values; shakes and blinks run the same both ways.
constexpr sScrKind kScrKinds[kScrEffectKindCount + 1] = {
    {eScrRun::kNone},   // 0 none
    {eScrRun::kMove},   // 1 移動
    {eScrRun::kShake},  // 2 振動（横）
    {eScrRun::kShake},  // 3 振動（縦）
    {eScrRun::kRange},  // 4 分割（横）
    {eScrRun::kRange},  // 5 分割（縦）
    {eScrRun::kWave},   // 6 波（横）
    {eScrRun::kWave},   // 7 波（縦）
    {eScrRun::kBlink},  // 8 点滅
    {eScrRun::kRange},  // 9 回転
    {eScrRun::kRange},  // 10 円
    {eScrRun::kRange},  // 11 拡大
    {eScrRun::kRange},  // 12 レンズ
    {eScrRun::kRange},  // 13 モザイク
};

// One frame of a time-counted effect: current counts tenths of a second.
constexpr double kTenthPerFrame = 1.0 / 6.0;

// Per frame, the distance from start to end covered in the running time (parameter 0, tenths of a
// second). A time below the table's lowest, 1, is taken as 1: a time of 0 would give no step at all.
double RangeStep(const std::int32_t (&params)[5]) {
  const double tenths = std::max(params[0], 1);
  return std::abs(static_cast<double>(params[2]) - static_cast<double>(params[1])) / (tenths * 6.0);
}

template <class Row, std::size_t N>
const Row* KindRow(const Row (&rows)[N], std::int32_t kind) {
  return kind >= 0 && static_cast<std::size_t>(kind) < N ? &rows[kind] : nullptr;
}

}  // namespace

void BuildCharaEffectTemplate(cCharaEffectPlayer& player, int n, int reverse, cDatabase& database) {
  cCharaEffectDef& def = reverse == 1 ? database.m_CharaEffectsReversed.At(n) : database.m_CharaEffects.At(n);
  player.m_Number = static_cast<std::int16_t>(n);
  player.m_Def = &def;
  const sCharaKind* kind = KindRow(kCharaKinds, def.m_Kind);
  if (!kind || kind->run == eRun::kNone) return;
  if (reverse == 1 && kind->swapRange) std::swap(def.m_Params[1], def.m_Params[2]);
  if (kind->run == eRun::kTime) {
    player.m_Start = 0;
    player.m_End = std::max(def.m_Params[0], 1);  // as RangeStep: a time of 0 plays one tenth
    player.m_Current = 0;
    player.m_Step = kTenthPerFrame;
    player.m_Counter = 0;
    player.m_PhaseFlag = 0;
    return;
  }
  player.m_Start = def.m_Params[1];
  player.m_End = def.m_Params[2];
  player.m_Current = def.m_Params[1];
  player.m_Step = RangeStep(def.m_Params);
  if (kind->wave) player.m_Counter = 0;
}

void BuildScrEffectTemplate(cScrEffectPlayer& player, int n, int reverse, cDatabase& database) {
  cScrEffectDef& def = reverse == 1 ? database.m_ScrEffectsReversed.At(n) : database.m_ScrEffects.At(n);
  player.m_Number = static_cast<std::int16_t>(n);
  player.m_Def = &def;
  const sScrKind* kind = KindRow(kScrKinds, def.m_Kind);
  if (!kind) return;
  std::int32_t* p = def.m_Params;
  switch (kind->run) {
    case eScrRun::kNone:
      return;
    case eScrRun::kMove:
      if (reverse == 1) {
        std::swap(p[1], p[3]);
        std::swap(p[2], p[4]);
      }
      player.m_Current = 0;
      player.m_Step = kTenthPerFrame;
      player.m_ValueA = p[1];
      player.m_ValueB = p[2];
      return;
    case eScrRun::kShake:
      player.m_Current = 0;
      player.m_Second = 0;
      player.m_Step = kTenthPerFrame;
      player.m_ValueA = 0;
      return;
    case eScrRun::kBlink:
      player.m_Current = 0;
      player.m_Step = kTenthPerFrame;
      player.m_ValueA = 0;
      player.m_ValueB = 0;
      return;
    case eScrRun::kRange:
    case eScrRun::kWave:
      if (reverse == 1) std::swap(p[1], p[2]);
      player.m_Current = p[1];
      player.m_Step = RangeStep(def.m_Params);
      if (kind->run == eScrRun::kWave) player.m_ValueA = 0;
      return;
  }
}

void BuildCharaEffectTemplates(std::vector<cCharaEffectPlayer>& normal, std::vector<cCharaEffectPlayer>& reversed,
                               cDatabase& database) {
  const int count = database.m_CharaEffects.Size();
  normal.assign(static_cast<std::size_t>(count), cCharaEffectPlayer());
  reversed.assign(static_cast<std::size_t>(count), cCharaEffectPlayer());
  for (int i = 0; i < count; ++i) {
    BuildCharaEffectTemplate(normal[static_cast<std::size_t>(i)], i, 0, database);
    BuildCharaEffectTemplate(reversed[static_cast<std::size_t>(i)], i, 1, database);
  }
}

void BuildScrEffectTemplates(std::vector<cScrEffectPlayer>& normal, std::vector<cScrEffectPlayer>& reversed,
                             cDatabase& database) {
  const int count = database.m_ScrEffects.Size();
  normal.assign(static_cast<std::size_t>(count), cScrEffectPlayer());
  reversed.assign(static_cast<std::size_t>(count), cScrEffectPlayer());
  for (int i = 0; i < count; ++i) {
    BuildScrEffectTemplate(normal[static_cast<std::size_t>(i)], i, 0, database);
    BuildScrEffectTemplate(reversed[static_cast<std::size_t>(i)], i, 1, database);
  }
}
