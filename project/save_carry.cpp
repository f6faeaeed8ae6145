// The status a hero carries from stage to stage: the 25 carry groups, storing them at a clear,
// applying them at the next stage's start, forgetting them after a miss, and the stage-start
// snapshot a retry goes back to.
#include <array>

#include "project/save_data.h"
#include "project/stage_data.h"

namespace {

// The stage header field that holds the stage's time limit in seconds (next to the switch that
// turns it on), which the play scene counts down from.
constexpr StageField kStageTimeLimit = static_cast<StageField>(14);

// The hero's values at a clear that a definition does not hold.
struct CarryValues {
  std::int32_t hp;
  std::int32_t sp;
  std::uint16_t appearEffect;
  std::uint8_t appearMode;
  std::uint8_t appearLoop;
  std::int32_t timeLeft;
  std::int32_t lives;
  std::int32_t music;
};

// Where an applied group's value goes.
struct CarryTarget {
  cCharaDef& def;
  cStageData& stage;
  cSaveData& save;
};

struct CarryGroup {
  void (*store)(cSaveHeroStatus& status, const cCharaDef& def, const CarryValues& values);
  // Null for the groups that GetCarriedHeroValues hands out instead.
  void (*apply)(const cSaveHeroStatus& status, CarryTarget& target);
};

// A group of definition members: stored from the hero's definition, applied back into it.
template <auto... Members>
constexpr CarryGroup DefGroup() {
  return {
      [](cSaveHeroStatus& status, const cCharaDef& def, const CarryValues&) {
        ((status.m_Def.*Members = def.*Members), ...);
      },
      [](const cSaveHeroStatus& status, CarryTarget& target) { ((target.def.*Members = status.m_Def.*Members), ...); }};
}

// 0: the picture; a stored chip index of 0 (no picture) comes back as the first one.
void StoreChip(cSaveHeroStatus& s, const cCharaDef& d, const CarryValues&) {
  s.m_Def.m_ChipSource = d.m_ChipSource;
  s.m_Def.m_ChipIndex = d.m_ChipIndex;
  s.m_Def.m_ChipFrame = d.m_ChipFrame;
}
void ApplyChip(const cSaveHeroStatus& s, CarryTarget& t) {
  t.def.m_ChipSource = s.m_Def.m_ChipSource;
  t.def.m_ChipIndex = s.m_Def.m_ChipIndex == 0 ? std::int16_t{1} : s.m_Def.m_ChipIndex;
  t.def.m_ChipFrame = s.m_Def.m_ChipFrame;
}

// 4: the appearance effect as it runs on the hero, not as its definition starts it.
void StoreAppearance(cSaveHeroStatus& s, const cCharaDef&, const CarryValues& v) {
  s.m_Def.m_AppearEffect = static_cast<std::int16_t>(v.appearEffect);
  s.m_Def.m_AppearEffectMode = v.appearMode;
  s.m_Def.m_AppearEffectLoop = v.appearLoop;
}
constexpr auto kApplyAppearance =
    DefGroup<&cCharaDef::m_AppearEffect, &cCharaDef::m_AppearEffectMode, &cCharaDef::m_AppearEffectLoop>().apply;

void StoreHp(cSaveHeroStatus& s, const cCharaDef&, const CarryValues& v) { s.m_Hp = v.hp; }
void StoreSp(cSaveHeroStatus& s, const cCharaDef&, const CarryValues& v) { s.m_Sp = v.sp; }
void StoreTimeLimit(cSaveHeroStatus& s, const cCharaDef&, const CarryValues& v) { s.m_TimeLimit = v.timeLeft; }
void ApplyTimeLimit(const cSaveHeroStatus& s, CarryTarget& t) { t.stage.SetField(kStageTimeLimit, s.m_TimeLimit); }
void StoreLives(cSaveHeroStatus& s, const cCharaDef&, const CarryValues& v) { s.m_Lives = v.lives; }
void ApplyLives(const cSaveHeroStatus& s, CarryTarget& t) { t.save.m_Lives = s.m_Lives; }
void StoreMusic(cSaveHeroStatus& s, const cCharaDef&, const CarryValues& v) { s.m_Music = v.music; }
void ApplyMusic(const cSaveHeroStatus& s, CarryTarget& t) { t.stage.SetField(kStageMusic, s.m_Music); }

// By carry group, as the project's CarryFlags and CarryResetFlags index them.
constexpr std::array<CarryGroup, kCarryGroupCount> kCarryGroups = {{
    {StoreChip, ApplyChip},                                          // 0
    DefGroup<&cCharaDef::m_AnimeSet>(),                              // 1
    DefGroup<&cCharaDef::m_Z>(),                                     // 2
    DefGroup<&cCharaDef::m_Transparent>(),                           // 3
    {StoreAppearance, kApplyAppearance},                             // 4
    DefGroup<&cCharaDef::m_FixedFacing>(),                           // 5
    DefGroup<&cCharaDef::m_Flight>(),                                // 6
    DefGroup<&cCharaDef::m_Invincible>(),                            // 7
    DefGroup<&cCharaDef::m_Enlargement>(),                           // 8
    DefGroup<&cCharaDef::m_ScrollSync>(),                            // 9
    DefGroup<&cCharaDef::m_SightShape, &cCharaDef::m_SightRange>(),  // 10
    {StoreHp, nullptr},                                              // 11
    {StoreSp, nullptr},                                              // 12
    DefGroup<&cCharaDef::m_MaxHp>(),                                 // 13
    DefGroup<&cCharaDef::m_MaxSp>(),                                 // 14
    DefGroup<&cCharaDef::m_BodyBox>(),                               // 15
    DefGroup<&cCharaDef::m_BodyAttack>(),                            // 16
    DefGroup<&cCharaDef::m_BodyImpact>(),                            // 17
    DefGroup<&cCharaDef::m_Defence>(),                               // 18
    DefGroup<&cCharaDef::m_ImpactResistance>(),                      // 19
    DefGroup<&cCharaDef::m_Stopping>(),                              // 20
    DefGroup<&cCharaDef::m_Flows>(),                                 // 21 the whole list, deep
    {StoreTimeLimit, ApplyTimeLimit},                                // 22
    {StoreLives, ApplyLives},                                        // 23
    {StoreMusic, ApplyMusic},                                        // 24
}};

constexpr int kCarriedHp = 11;
constexpr int kCarriedSp = 12;
// Stage play keeps a status per hero it plays; a number beyond this is not a hero but a fault, and
// must not grow the list without end.
constexpr int kMaxCarriedHeroes = 64;

// Byte k of a project flag row; a row shorter than k holds no such flag.
bool ProjectFlag(const CheckedVector<std::uint8_t>& row, int k) { return k < row.Size() && row.At(k) != 0; }

}  // namespace

bool cSaveData::SavedFlag(int k) const { return k >= 0 && k < m_SavedFlags.Size() && m_SavedFlags.At(k) != 0; }

void cSaveData::SnapshotCarriedStatus() {
  m_SnapVariables = m_Variables;
  m_SnapLives = m_Lives;
  m_SnapSumScore = m_SumScore;
  m_HasSnapshot = true;
}

void cSaveData::RestoreCarriedStatus(std::uint32_t force, std::int32_t playMode, bool testPlay) {
  m_SumScore = m_SnapSumScore;
  if (!force) {
    std::int32_t restore = 1;  // a mode without a switch of its own restores
    if (testPlay)
      restore = g_System.m_TestPlayRestoreOnRetry;
    else if (playMode == kPlayStory)
      restore = g_System.m_StoryRestoreOnRetry;
    else if (playMode == kPlayChallenge)
      restore = g_System.m_ChallengeRestoreOnRetry;
    else if (playMode == kPlayFree)
      restore = g_System.m_FreeRestoreOnRetry;
    if (!restore) return;
  }
  // Before the first stage start there is nothing to go back to; an empty list would leave the
  // scripts without their variables.
  if (m_HasSnapshot) m_Variables = m_SnapVariables;
  if (force) m_Lives = m_SnapLives;
}

void cSaveData::ApplyCarriedStatus(std::int32_t hero, cCharaDef& def, cStageData& stage) {
  if (!m_StatusSaved || hero < 0 || hero >= m_HeroStatuses.Size()) return;
  const cSaveHeroStatus& status = m_HeroStatuses.At(hero);
  CarryTarget target{def, stage, *this};
  for (int k = 0; k < kCarryGroupCount; ++k) {
    const CarryGroup& group = kCarryGroups[static_cast<std::size_t>(k)];
    if (group.apply && ProjectFlag(g_System.m_CarryFlags, k) && SavedFlag(k)) group.apply(status, target);
  }
}

void cSaveData::GetCarriedHeroValues(std::int32_t hero, std::int32_t* hp, std::int32_t* sp) const {
  if (!m_StatusSaved || hero < 0 || hero >= m_HeroStatuses.Size()) return;
  const cSaveHeroStatus& status = m_HeroStatuses.At(hero);
  if (hp && ProjectFlag(g_System.m_CarryFlags, kCarriedHp) && SavedFlag(kCarriedHp)) *hp = status.m_Hp;
  if (sp && ProjectFlag(g_System.m_CarryFlags, kCarriedSp) && SavedFlag(kCarriedSp)) *sp = status.m_Sp;
}

void cSaveData::StoreCarriedStatus(std::int32_t hero, const cCharaDef& def, std::int32_t hp, std::int32_t sp,
                                   std::uint16_t appearanceEffect, std::uint8_t appearanceMode,
                                   std::uint8_t appearanceLoop, std::int32_t timeLeft, std::int32_t lives,
                                   std::int32_t music) {
  if (hero < 0 || hero >= kMaxCarriedHeroes) return;
  m_StatusSaved = 1;
  // A short list from a file gets the places this store needs; new ones hold nothing yet.
  if (hero >= m_HeroStatuses.Size()) m_HeroStatuses.resize(static_cast<std::size_t>(hero) + 1);
  if (m_SavedFlags.Size() < kCarryGroupCount) m_SavedFlags.resize(kCarryGroupCount, 0);
  cSaveHeroStatus& status = m_HeroStatuses.At(hero);
  const CarryValues values{hp, sp, appearanceEffect, appearanceMode, appearanceLoop, timeLeft, lives, music};
  for (int k = 0; k < kCarryGroupCount; ++k) {
    if (!ProjectFlag(g_System.m_CarryFlags, k)) continue;
    kCarryGroups[static_cast<std::size_t>(k)].store(status, def, values);
    m_SavedFlags.At(k) = 1;
  }
}

void cSaveData::ResetCarriedStatusFlags(std::uint32_t) {
  const CheckedVector<std::uint8_t>& reset = g_System.m_CarryResetFlags;
  for (int k = 0; k < reset.Size() && k < m_SavedFlags.Size(); ++k)
    if (reset.At(k) != 0) m_SavedFlags.At(k) = 0;
}
