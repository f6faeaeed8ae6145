// The progress record as a file: a new game's values, every older layout with its upgrades, the
// exact bytes at the current version, lists a file holds too short, the normaliser, and damaged
// files that must be refused without reading past anything.
#include "project/save_data.h"

#include <algorithm>
#include <cstring>

#include "project/stage_data.h"
#include "tests/project/save_fixture.h"

namespace savetest {
namespace {

using SaveDataTest = SaveTest;

TEST_F(SaveDataTest, ANewGameStartsFromTheResetValues) {
  cSaveData save;
  for (int i = 0; i < kFieldCount; ++i) {
    std::int32_t expected = 0;
    if (i == 3) expected = kNoMapEntry;
    if (i == 23) expected = 1;   // one challenge stage open
    if (i == 24) expected = -1;  // no slot
    EXPECT_EQ(save.*kFieldMembers[static_cast<std::size_t>(i)], expected) << "field " << i;
  }
  EXPECT_EQ(save.m_RankName, "aaa");
  EXPECT_EQ(save.m_StageName, "");
  EXPECT_EQ(save.m_SavedFlags, CheckedVector<std::uint32_t>(25, 0));
  EXPECT_EQ(save.m_HeroStatuses.Size(), 1);
  ASSERT_EQ(save.m_RoundFlags.Size(), 1000);
  EXPECT_EQ(save.m_RoundFlags[0], 1u);
  EXPECT_EQ(std::count(save.m_RoundFlags.begin(), save.m_RoundFlags.end(), 0u), 999);
  EXPECT_EQ(save.m_Variables, CheckedVector<std::uint32_t>(256, 0));
  EXPECT_TRUE(save.m_StageResults.empty());
  EXPECT_TRUE(save.m_ChallengeResults.empty());
  // The globals too, although they were built before start-up set the record version.
  EXPECT_EQ(g_SaveSlots.Size(), 99);
  EXPECT_EQ(g_StageStartSave.m_RankName, "aaa");
}

// Every version that changed the layout, read from a file written by hand: each field the version
// holds keeps its stored value, each one it lacks gets its upgrade value, whatever it held before.
TEST_F(SaveDataTest, OlderLayoutsReadIntoTheRightMembersAndAreUpgraded) {
  for (std::uint32_t version : {100u, 165u, 166u, 168u, 169u, 181u, 182u, 189u, 190u, 193u, 194u, 500u, 501u, 556u}) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    SaveImage image = FullSave();
    image.version = version;
    image.savedFlags = {1, 0, 1};
    cSaveData save;
    // Values a missing field must not keep.
    for (int i = 0; i < kFieldCount; ++i) save.*kFieldMembers[static_cast<std::size_t>(i)] = -5;
    ASSERT_FALSE(ReadImage(save, SaveBytes(image)));
    for (int i = 0; i < kFieldCount; ++i) {
      const bool held = version >= kFieldSince[static_cast<std::size_t>(i)];
      const std::int32_t upgraded = i == 18 ? 1 : 0;  // music loop on, everything else off
      EXPECT_EQ(save.*kFieldMembers[static_cast<std::size_t>(i)],
                held ? image.fields[static_cast<std::size_t>(i)] : upgraded)
          << "field " << i;
    }
    EXPECT_EQ(save.m_StageName, image.stageName);
    EXPECT_EQ(save.m_RankName, "bob");
    EXPECT_EQ(save.m_SaveTime, (SYSTEMTIME{2024, 5, 1, 6, 7, 8, 9, 10}));
    // Before 501 every group counted as stored; from 501 the file's own flags, however few.
    if (version < 501)
      EXPECT_EQ(save.m_SavedFlags, CheckedVector<std::uint32_t>(25, 1));
    else
      EXPECT_EQ(save.m_SavedFlags, (CheckedVector<std::uint32_t>{1, 0, 1}));
    ASSERT_EQ(save.m_HeroStatuses.Size(), 2);
    EXPECT_EQ(save.m_HeroStatuses[0].m_Hp, 7);
    EXPECT_EQ(save.m_HeroStatuses[0].m_Music, 2);
    EXPECT_EQ(save.m_HeroStatuses[0].m_Def.m_MaxHp, 40);
    EXPECT_EQ(save.m_HeroStatuses[0].m_Def.m_Name, "hero");
    EXPECT_EQ(save.m_HeroStatuses[1].m_Lives, 5);
    ASSERT_EQ(save.m_StageResults.Size(), 2);
    EXPECT_EQ(save.m_StageResults[0].m_Name, "data\\stg4\\c1.");
    EXPECT_EQ(save.m_StageResults[0].m_BestScore, 300);
    ASSERT_EQ(save.m_ChallengeResults.Size(), 2);
    EXPECT_EQ(save.m_ChallengeResults[0].m_Cleared, 1);
    EXPECT_EQ(save.m_ChallengeResults[0].m_BestScore, 900);
    EXPECT_EQ(save.m_RoundFlags[7], 1u);
    EXPECT_EQ(save.m_Variables[255], 42u);
  }
}

TEST_F(SaveDataTest, TheCurrentLayoutIsReadAndWrittenByteForByte) {
  const cByteBuilder file = SaveBytes(FullSave());
  cSaveData save;
  ASSERT_FALSE(ReadImage(save, file));
  // 28 values at 8..119, then the strings.
  const std::vector<std::uint8_t> written = FileImageOf(save);
  EXPECT_EQ(HexBytes(written), HexBytes(file.Data()));
  cSaveData again;
  ASSERT_FALSE(ReadImage(again, cByteBuilder().Bytes(written)));
  EXPECT_EQ(FileImageOf(again), written);

  // An older file comes out in the current layout, and then stays as it is.
  SaveImage old = FullSave();
  old.version = 180;
  cSaveData upgraded;
  ASSERT_FALSE(ReadImage(upgraded, SaveBytes(old)));
  const std::vector<std::uint8_t> current = FileImageOf(upgraded);
  EXPECT_EQ(current[0], 0x2C);
  std::uint32_t count = 0;
  std::memcpy(&count, &current[4], 4);
  EXPECT_EQ(count, 28u);
  cSaveData reread;
  ASSERT_FALSE(ReadImage(reread, cByteBuilder().Bytes(current)));
  EXPECT_EQ(FileImageOf(reread), current);
}

// A file of an old or foreign writer may hold lists shorter than a new game's: the ones code
// indexes by number are filled up, the saved flags kept as they are (a missing one is clear).
TEST_F(SaveDataTest, ShortListsAreFilledUpOrLeftShort) {
  SaveImage image = FullSave();
  image.clearFlags = {1, 0, 1};
  image.variables = {9};
  image.savedFlags = {1};
  image.heroes.clear();
  cSaveData save;
  ASSERT_FALSE(ReadImage(save, SaveBytes(image)));
  ASSERT_EQ(save.m_RoundFlags.Size(), 1000);
  EXPECT_EQ(save.m_RoundFlags[2], 1u);
  EXPECT_EQ(save.m_RoundFlags[999], 0u);
  ASSERT_EQ(save.m_Variables.Size(), 256);
  EXPECT_EQ(save.m_Variables[0], 9u);
  EXPECT_EQ(save.m_Variables[255], 0u);
  EXPECT_EQ(save.m_SavedFlags.Size(), 1);
  EXPECT_TRUE(save.m_HeroStatuses.empty());
  EXPECT_TRUE(save.SavedFlag(0));
  EXPECT_FALSE(save.SavedFlag(24));
  EXPECT_FALSE(save.SavedFlag(-1));
  // Using the missing parts goes through no checked index.
  save.m_StatusSaved = 1;
  g_System.m_CarryFlags.assign(25, 1);
  cCharaDef def;
  cStageData stage;
  std::int32_t hp = 11;
  std::int32_t sp = 12;
  save.ApplyCarriedStatus(0, def, stage);
  save.GetCarriedHeroValues(0, &hp, &sp);
  save.ResetCarriedStatusFlags();
  EXPECT_EQ(hp, 11);
  EXPECT_EQ(sp, 12);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(SaveDataTest, NormalisingPutsTheCursorOnTheMapAndSizesTheChallenge) {
  struct Case {
    std::int32_t x, y;          // stored position
    std::int32_t challenges;    // the project's ChallengeStageCount
    std::int32_t open;          // stored open challenge stages
    std::int32_t wantX, wantY;  // written position (the map is 20 x 15, start (9, 7))
    std::int32_t wantResults, wantOpen;
  };
  const Case cases[] = {
      {19, 14, 2, 2, 19, 14, 2, 2}, {20, 3, 2, 1, 9, 3, 2, 1}, {25, 15, 2, 2, 9, 7, 2, 2}, {-1, -4, 3, 2, 9, 7, 3, 2},
      {0, 0, 5, 9, 0, 0, 5, 5},     {4, 4, -3, 1, 4, 4, 0, 0}, {4, 4, 0, 0, 4, 4, 0, 0},   {4, 4, 1, -2, 4, 4, 1, 1},
      {4, 4, 3, 0, 4, 4, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " challenges " << c.challenges << " open " << c.open);
    g_System.m_ChallengeStageCount = c.challenges;
    SaveImage image = FullSave();
    image.fields[1] = c.x;
    image.fields[2] = c.y;
    image.fields[23] = c.open;
    cSaveData save;
    ASSERT_FALSE(ReadImage(save, SaveBytes(image)));
    EXPECT_EQ(save.m_MapX, c.wantX);
    EXPECT_EQ(save.m_MapY, c.wantY);
    EXPECT_EQ(save.m_ChallengeResults.Size(), c.wantResults);
    EXPECT_EQ(save.m_ChallengeOpen, c.wantOpen);
    // Kept results keep their values; added ones are cleared pairs.
    if (c.wantResults >= 1) {
      EXPECT_EQ(save.m_ChallengeResults[0].m_BestScore, 900);
    }
    if (c.wantResults >= 3) {
      EXPECT_EQ(save.m_ChallengeResults[2].m_BestScore, 0);
    }

    // What the writer writes: the position in the body at offsets 8 and 12.
    save.m_MapX = c.x;
    save.m_MapY = c.y;
    const std::vector<std::uint8_t> bytes = FileImageOf(save);
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::memcpy(&x, &bytes[12], 4);
    std::memcpy(&y, &bytes[16], 4);
    EXPECT_EQ(x, c.wantX);
    EXPECT_EQ(y, c.wantY);
  }
  // A setting no project has does not size a list by it.
  g_System.m_ChallengeStageCount = 0x7FFFFFFF;
  cSaveData save;
  save.Normalize();
  EXPECT_EQ(save.m_ChallengeResults.Size(), kMaxChallengeStages);
}

// Every cut of a file and every list count made huge: the reader says damaged, nothing is read
// past the file, and a load keeps the record it had.
TEST_F(SaveDataTest, DamagedFilesAreRefusedAndLeaveTheRecord) {
  SaveImage small = FullSave();
  small.clearFlags = {1, 1};
  small.variables = {5};
  small.heroes.resize(1);
  const cByteBuilder whole = SaveBytes(small);
  for (std::size_t cut = 0; cut < whole.Size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << whole.Size());
    const std::vector<std::uint8_t> part(whole.Data().begin(), whole.Data().begin() + static_cast<long>(cut));
    cSaveData save;
    EXPECT_TRUE(ReadImage(save, cByteBuilder().Bytes(part)));
    // Whatever was read, the lists code indexes are whole.
    EXPECT_GE(save.m_RoundFlags.Size(), 1000);
    EXPECT_GE(save.m_Variables.Size(), 256);
  }

  // The place of each list count in the file, found by building the file up to it.
  struct Count {
    const char* name;
    std::size_t offset;
  };
  SaveImage upTo = small;
  const std::size_t afterTime = 4 + 4 + 28 * 4 + 4 + (4 + 14) + (4 + 4) + 16;
  const std::size_t afterFlags = afterTime + 4 + 25 * 4;
  upTo.clearFlags.clear();
  upTo.variables.clear();
  const std::size_t clearAt = SaveBytes(upTo).Size() - 8;
  const Count counts[] = {{"saved flags", afterTime},
                          {"hero statuses", afterFlags},
                          {"clear flags", clearAt},
                          {"variables", clearAt + 4 + 2 * 4}};
  for (const Count& count : counts) {
    for (std::uint32_t huge : {0xFFFFFFFFu, 0x40000000u, 1000u}) {
      SCOPED_TRACE(testing::Message() << count.name << " " << huge);
      std::vector<std::uint8_t> bytes = whole.Data();
      ASSERT_LT(count.offset + 4, bytes.size());
      std::memcpy(&bytes[count.offset], &huge, 4);
      WriteHostFile("user_data/story/Story05.dat", std::string(bytes.begin(), bytes.end()));
      cSaveData save;
      save.m_Score = 77;
      save.m_Lives = 3;
      EXPECT_EQ(save.LoadFromSlot(4), 0);
      EXPECT_EQ(save.m_Score, 77);
      EXPECT_EQ(save.m_RoundFlags.Size(), 1000);
      EXPECT_NE(ReportText().find("user_data\\story\\Story05.dat が破損しています！"), std::string::npos);
    }
  }
  // The intact file reads, so the counts above were damaged by the patch alone.
  WriteHostFile("user_data/story/Story05.dat", whole.Text());
  cSaveData save;
  EXPECT_EQ(save.LoadFromSlot(4), 1);
  EXPECT_EQ(save.m_Score, 109);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

// Copies are whole and independent: every list and the snapshot, with descriptors of their own.
TEST_F(SaveDataTest, CopiesAreIndependentRecords) {
  cSaveData source;
  ASSERT_FALSE(ReadImage(source, SaveBytes(FullSave())));
  source.SnapshotCarriedStatus();
  cSaveData copy;
  copy = source;
  const std::vector<std::uint8_t> bytes = FileImageOf(source);
  EXPECT_EQ(FileImageOf(copy), bytes);
  copy.m_HeroStatuses[0].m_Def.m_MaxHp = 1;
  copy.m_StageResults[0].m_BestScore = 1;
  copy.m_Score = 1;
  EXPECT_EQ(FileImageOf(source), bytes);
  EXPECT_EQ(copy.m_SnapVariables[255], 42u);
  // The copy's registration points at the copy.
  for (const FieldDesc& field : copy.Fields()) EXPECT_EQ(field.owner, &copy);
  for (const FieldDesc& field : copy.m_HeroStatuses[0].Fields()) EXPECT_EQ(field.owner, &copy.m_HeroStatuses[0]);
}

}  // namespace
}  // namespace savetest
