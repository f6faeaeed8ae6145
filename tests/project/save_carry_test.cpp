// The carried hero status: what a clear stores by the project's carry flags, what the next stage
// start applies, what a miss forgets, and the stage-start snapshot a retry goes back to.
#include "project/save_data.h"
#include "project/stage_data.h"
#include "tests/project/save_fixture.h"

namespace savetest {
namespace {

using SaveCarryTest = SaveTest;

// A hero definition whose carried members all differ from a new definition's.
cCharaDef ChangedHero() {
  cCharaDef def;
  def.m_ChipSource = 2;
  def.m_ChipIndex = 0;
  def.m_ChipFrame = 4;
  def.m_AnimeSet = 3;
  def.m_Z = 7;
  def.m_Transparent = 1;
  def.m_AppearEffect = 9;  // the definition's own; the store takes the running one
  def.m_FixedFacing = 0;
  def.m_Flight = 2;
  def.m_Invincible = 1;
  def.m_ColorEffect = 6;  // not a carried member
  def.m_Enlargement = 4;
  def.m_ScrollSync = 1;
  def.m_SightShape = 2;
  def.m_SightRange = 30;
  def.m_MaxHp = 99;
  def.m_MaxSp = 50;
  def.m_BodyBox = 2;
  def.m_BodyAttack = 12;
  def.m_BodyImpact = -7;
  def.m_Defence = 5;
  def.m_ImpactResistance = 3;
  def.m_Stopping = 150;
  def.m_Flows.resize(2);
  def.m_Score = 800;  // not a carried member
  return def;
}

// The members of each group as a definition shows them, to see which groups reached a target.
std::vector<std::int64_t> GroupValues(const cCharaDef& d, const cStageData& stage, const cSaveData& save) {
  return {
      d.m_ChipSource * 10000 + d.m_ChipIndex * 100 + d.m_ChipFrame,
      d.m_AnimeSet,
      d.m_Z,
      d.m_Transparent,
      d.m_AppearEffect * 10000 + d.m_AppearEffectMode * 100 + d.m_AppearEffectLoop,
      d.m_FixedFacing,
      d.m_Flight,
      d.m_Invincible,
      d.m_Enlargement,
      d.m_ScrollSync,
      d.m_SightShape * 100 + d.m_SightRange,
      0,  // HP and SP are not applied to a definition
      0,
      d.m_MaxHp,
      d.m_MaxSp,
      d.m_BodyBox,
      d.m_BodyAttack,
      d.m_BodyImpact,
      d.m_Defence,
      d.m_ImpactResistance,
      d.m_Stopping,
      d.m_Flows.Size(),
      stage.Field(static_cast<StageField>(14)),
      save.m_Lives,
      stage.Field(kStageMusic),
  };
}

TEST_F(SaveCarryTest, EachCarriedGroupTravelsFromOneStageToTheNext) {
  const cCharaDef hero = ChangedHero();
  for (int k = 0; k < kCarryGroupCount; ++k) {
    SCOPED_TRACE(testing::Message() << "group " << k);
    g_System.m_CarryFlags.assign(25, 0);
    g_System.m_CarryFlags[static_cast<std::size_t>(k)] = 1;
    cSaveData save;
    save.m_Lives = 2;
    save.StoreCarriedStatus(0, hero, 33, 44, 17, 2, 0, 85, 6, 12);
    EXPECT_EQ(save.m_StatusSaved, 1);
    for (int j = 0; j < kCarryGroupCount; ++j) EXPECT_EQ(save.SavedFlag(j), j == k) << "flag " << j;

    cCharaDef def;
    cStageData stage;
    const std::vector<std::int64_t> before = GroupValues(def, stage, save);
    std::int32_t hp = -1;
    std::int32_t sp = -1;
    save.ApplyCarriedStatus(0, def, stage);
    save.GetCarriedHeroValues(0, &hp, &sp);
    const std::vector<std::int64_t> after = GroupValues(def, stage, save);
    for (int j = 0; j < kCarryGroupCount; ++j) {
      if (j == k && j != 11 && j != 12)
        EXPECT_NE(after[static_cast<std::size_t>(j)], before[static_cast<std::size_t>(j)]) << "group " << j;
      else
        EXPECT_EQ(after[static_cast<std::size_t>(j)], before[static_cast<std::size_t>(j)]) << "group " << j;
    }
    EXPECT_EQ(hp, k == 11 ? 33 : -1);
    EXPECT_EQ(sp, k == 12 ? 44 : -1);
    // Members of no group stay the stage's own.
    EXPECT_EQ(def.m_ColorEffect, 0);
    EXPECT_EQ(def.m_Score, 0);
  }
}

TEST_F(SaveCarryTest, AppliedValuesAreTheStoredOnes) {
  g_System.m_CarryFlags.assign(25, 1);
  cSaveData save;
  save.StoreCarriedStatus(0, ChangedHero(), 33, 44, 17, 2, 0, 85, 6, 12);
  cCharaDef def;
  cStageData stage;
  save.m_Lives = 1;
  save.ApplyCarriedStatus(0, def, stage);
  EXPECT_EQ(def.m_ChipSource, 2);
  EXPECT_EQ(def.m_ChipIndex, 1);  // no picture comes back as the first
  EXPECT_EQ(def.m_ChipFrame, 4);
  EXPECT_EQ(def.m_AppearEffect, 17);  // the running effect, not the definition's 9
  EXPECT_EQ(def.m_AppearEffectMode, 2);
  EXPECT_EQ(def.m_AppearEffectLoop, 0);
  EXPECT_EQ(def.m_SightRange, 30);
  EXPECT_EQ(def.m_BodyImpact, -7);
  EXPECT_EQ(def.m_Stopping, 150);
  EXPECT_EQ(def.m_Flows.Size(), 2);
  EXPECT_EQ(stage.Field(static_cast<StageField>(14)), 85);
  EXPECT_EQ(stage.Field(kStageMusic), 12);
  EXPECT_EQ(save.m_Lives, 6);

  // A picture that was stored keeps its number.
  cCharaDef pictured = ChangedHero();
  pictured.m_ChipIndex = 5;
  save.StoreCarriedStatus(0, pictured, 0, 0, 0, 0, 0, 0, 0, 0);
  save.ApplyCarriedStatus(0, def, stage);
  EXPECT_EQ(def.m_ChipIndex, 5);
}

// Groups the project does not carry keep their stored values and flags; a store without the
// status switch set applies nothing; the project's flag must be on when applying, too.
TEST_F(SaveCarryTest, OnlyGroupsCarriedAndStoredAreApplied) {
  g_System.m_CarryFlags.assign(25, 0);
  g_System.m_CarryFlags[13] = 1;
  cSaveData save;
  save.StoreCarriedStatus(0, ChangedHero(), 0, 0, 0, 0, 0, 0, 0, 0);  // max HP 99 stored
  cCharaDef other = ChangedHero();
  other.m_MaxHp = 20;
  other.m_MaxSp = 21;
  g_System.m_CarryFlags.assign(25, 0);
  g_System.m_CarryFlags[14] = 1;
  save.StoreCarriedStatus(0, other, 0, 0, 0, 0, 0, 0, 0, 0);  // max SP 21; max HP stays 99
  EXPECT_TRUE(save.SavedFlag(13));
  EXPECT_TRUE(save.SavedFlag(14));

  cStageData stage;
  cCharaDef def;
  g_System.m_CarryFlags[13] = 1;
  save.ApplyCarriedStatus(0, def, stage);
  EXPECT_EQ(def.m_MaxHp, 99);
  EXPECT_EQ(def.m_MaxSp, 21);

  cCharaDef untouched;
  g_System.m_CarryFlags[13] = 0;
  save.ApplyCarriedStatus(0, untouched, stage);
  EXPECT_EQ(untouched.m_MaxHp, 10);

  cCharaDef notSaved;
  save.m_StatusSaved = 0;
  save.ApplyCarriedStatus(0, notSaved, stage);
  EXPECT_EQ(notSaved.m_MaxSp, 0);
}

TEST_F(SaveCarryTest, AMissForgetsTheGroupsTheProjectResets) {
  g_System.m_CarryFlags.assign(25, 1);
  g_System.m_CarryResetFlags.assign(25, 0);
  g_System.m_CarryResetFlags[11] = 1;
  g_System.m_CarryResetFlags[23] = 1;
  cSaveData save;
  save.StoreCarriedStatus(0, ChangedHero(), 33, 44, 0, 0, 0, 0, 6, 0);
  save.ResetCarriedStatusFlags();
  for (int k = 0; k < kCarryGroupCount; ++k) EXPECT_EQ(save.SavedFlag(k), k != 11 && k != 23) << k;
  std::int32_t hp = -1;
  std::int32_t sp = -1;
  save.GetCarriedHeroValues(0, &hp, &sp);
  EXPECT_EQ(hp, -1);
  EXPECT_EQ(sp, 44);

  // A reset row longer than the saved flags, and saved flags from a file shorter than 25.
  g_System.m_CarryResetFlags.assign(40, 1);
  save.m_SavedFlags.assign(3, 1);
  save.ResetCarriedStatusFlags();
  EXPECT_EQ(save.m_SavedFlags, CheckedVector<std::uint32_t>(3, 0));
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

// Hero numbers beyond the statuses a file held: applying finds nothing, storing makes the place.
TEST_F(SaveCarryTest, HeroNumbersBeyondTheListNeverIndexPastIt) {
  g_System.m_CarryFlags.assign(25, 1);
  cSaveData save;
  save.m_StatusSaved = 1;
  save.m_SavedFlags.assign(25, 1);
  cCharaDef def;
  cStageData stage;
  std::int32_t hp = -1;
  for (std::int32_t hero : {1, 5, -1}) {
    save.ApplyCarriedStatus(hero, def, stage);
    save.GetCarriedHeroValues(hero, &hp, nullptr);
  }
  EXPECT_EQ(def.m_MaxHp, 10);
  EXPECT_EQ(hp, -1);

  save.m_SavedFlags.assign(2, 0);
  save.StoreCarriedStatus(2, ChangedHero(), 33, 0, 0, 0, 0, 0, 0, 0);
  ASSERT_EQ(save.m_HeroStatuses.Size(), 3);
  EXPECT_EQ(save.m_SavedFlags.Size(), 25);
  save.GetCarriedHeroValues(2, &hp, nullptr);
  EXPECT_EQ(hp, 33);
  save.StoreCarriedStatus(-1, ChangedHero(), 0, 0, 0, 0, 0, 0, 0, 0);
  save.StoreCarriedStatus(1 << 30, ChangedHero(), 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(save.m_HeroStatuses.Size(), 3);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(SaveCarryTest, ARetryGoesBackToTheStageStart) {
  struct Case {
    std::uint32_t force;
    std::int32_t mode;
    bool testPlay;
    bool variablesBack;
    bool livesBack;
  };
  // Story restores, challenge does not, free restores, test play does not; replay play-back has
  // no switch and restores.
  const Case cases[] = {
      {0, kPlayStory, false, true, false},    {0, kPlayChallenge, false, false, false},
      {0, kPlayFree, false, true, false},     {0, 3, false, true, false},
      {0, kPlayStory, true, false, false},    {0, kPlayChallenge, true, false, false},
      {1, kPlayChallenge, false, true, true}, {1, kPlayStory, true, true, true},
  };
  g_System.m_StoryRestoreOnRetry = 1;
  g_System.m_ChallengeRestoreOnRetry = 0;
  g_System.m_FreeRestoreOnRetry = 1;
  g_System.m_TestPlayRestoreOnRetry = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "force " << c.force << " mode " << c.mode << " test " << c.testPlay);
    cSaveData save;
    save.m_Variables[3] = 30;
    save.m_Lives = 5;
    save.m_SumScore = 400;
    save.SnapshotCarriedStatus();
    save.m_Variables[3] = 31;
    save.m_Variables.push_back(1);
    save.m_Lives = 4;
    save.m_SumScore = 650;
    save.RestoreCarriedStatus(c.force, c.mode, c.testPlay);
    EXPECT_EQ(save.m_SumScore, 400);
    EXPECT_EQ(save.m_Variables[3], c.variablesBack ? 30u : 31u);
    EXPECT_EQ(save.m_Variables.Size(), c.variablesBack ? 256 : 257);
    EXPECT_EQ(save.m_Lives, c.livesBack ? 5 : 4);
  }
  // Before any stage start there is no snapshot: the variables stay.
  cSaveData fresh;
  fresh.m_Variables[0] = 8;
  fresh.RestoreCarriedStatus(1, kPlayStory, false);
  EXPECT_EQ(fresh.m_Variables.Size(), 256);
  EXPECT_EQ(fresh.m_Variables[0], 8u);
}

}  // namespace
}  // namespace savetest
