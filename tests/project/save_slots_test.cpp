// The story slots and the challenge progress on disk: file names, saving and loading, the lives
// rule after a load, a save that cannot be written, and the slot scan.
#include <filesystem>

#include "project/save_data.h"
#include "tests/project/save_fixture.h"
#include "tests/support/child_process.h"

namespace savetest {
namespace {

namespace fs = std::filesystem;

using SaveSlotTest = SaveTest;

constexpr SYSTEMTIME kSavedAt{2024, 5, 3, 6, 7, 8, 59, 999};
SYSTEMTIME FixedTime() { return kSavedAt; }

TEST_F(SaveSlotTest, SlotFilesAreNumberedFromOneInTwoDigits) {
  EXPECT_EQ(MakeStorySlotPath(0), "user_data\\story\\Story01.dat");
  EXPECT_EQ(MakeStorySlotPath(8), "user_data\\story\\Story09.dat");
  EXPECT_EQ(MakeStorySlotPath(98), "user_data\\story\\Story99.dat");
  EXPECT_EQ(MakeStorySlotPath(99), "user_data\\story\\Story100.dat");
}

TEST_F(SaveSlotTest, ASavedSlotLoadsBackAndShowsItsTime) {
  SetSaveTimeSource(FixedTime);
  cSaveData save;
  ASSERT_FALSE(ReadImage(save, SaveBytes(FullSave())));
  save.m_Lives = 4;
  ASSERT_TRUE(save.SaveToSlot(3));
  EXPECT_EQ(save.m_SaveTime, kSavedAt);
  EXPECT_EQ(g_SaveSlots[3].m_Used, 1u);
  EXPECT_EQ(g_SaveSlots[3].m_SaveTime, kSavedAt);
  const std::string file = ReadHostFile("user_data/story/Story04.dat");
  const std::vector<std::uint8_t> expected = FileImageOf(save);
  EXPECT_EQ(file, std::string(expected.begin(), expected.end()));

  g_System.m_UnlimitedLives.assign(4, 0);
  cSaveData loaded;
  EXPECT_EQ(loaded.LoadFromSlot(3), 1);
  EXPECT_EQ(FileImageOf(loaded), expected);
  EXPECT_EQ(loaded.m_Lives, 4);
}

// Slots outside the list are refused like a failed write: no file, no summary, no closing.
TEST_F(SaveSlotTest, ASlotOutsideTheListIsNotSaved) {
  cSaveData save;
  for (std::int32_t slot : {-1, 99, 1000}) {
    EXPECT_FALSE(save.SaveToSlot(slot)) << slot;
  }
  EXPECT_TRUE(fs::is_empty(m_Folder / "user_data" / "story"));
  EXPECT_NE(ReportText().find("の保存に失敗しました！"), std::string::npos);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(SaveSlotTest, LoadingAppliesTheLivesRuleOfItsMode) {
  struct Case {
    std::int32_t storedLives, storedStart;
    std::int32_t unlimited, starting;  // the project's setting for the mode
    std::int32_t lives, start;
  };
  const Case cases[] = {
      {kUnlimitedLives, kUnlimitedLives, 0, 3, 3, kUnlimitedLives},  // unlimited slot, limited project
      {4, 6, 1, 3, kUnlimitedLives, kUnlimitedLives},                // limited slot, unlimited project
      {4, 6, 0, 3, 4, 6},
      {0, 0, 0, 3, 0, 0},
  };
  for (bool challenge : {false, true}) {
    const int mode = challenge ? kPlayChallenge : kPlayStory;
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (challenge ? "challenge " : "story ") << c.storedLives << " " << c.unlimited);
      SaveImage image = FullSave();
      image.fields[8] = c.storedLives;
      image.fields[7] = c.storedStart;
      const cByteBuilder bytes = SaveBytes(image);
      WriteHostFile(challenge ? "user_data/challenge/Challenge.dat" : "user_data/story/Story02.dat", bytes.Text());
      // The other mode's settings must not count.
      g_System.m_UnlimitedLives.assign(4, c.unlimited ? 0 : 1);
      g_System.m_StartingLives.assign(4, 50);
      g_System.m_UnlimitedLives[static_cast<std::size_t>(mode)] = c.unlimited;
      g_System.m_StartingLives[static_cast<std::size_t>(mode)] = c.starting;
      cSaveData save;
      EXPECT_EQ(challenge ? save.LoadChallengeData() : save.LoadFromSlot(1), 1);
      EXPECT_EQ(save.m_Lives, c.lives);
      EXPECT_EQ(save.m_StartLives, c.start);
    }
  }
}

TEST_F(SaveSlotTest, AMissingFileLeavesTheRecord) {
  g_System.m_UnlimitedLives.assign(4, 0);
  g_System.m_StartingLives.assign(4, 3);
  cSaveData save;
  save.m_Score = 12;
  save.m_Lives = kUnlimitedLives;
  // A slot: nothing read, the lives rule all the same.
  EXPECT_EQ(save.LoadFromSlot(7), 0);
  EXPECT_EQ(save.m_Score, 12);
  EXPECT_EQ(save.m_Lives, 3);
  // The challenge progress: nothing at all.
  save.m_Lives = kUnlimitedLives;
  EXPECT_EQ(save.LoadChallengeData(), 0);
  EXPECT_EQ(save.m_Lives, kUnlimitedLives);
  EXPECT_EQ(save.m_Score, 12);
  // A damaged challenge file is refused the same way.
  WriteHostFile("user_data/challenge/Challenge.dat", cByteBuilder().U32(556).U32(28).I32(1).Text());
  EXPECT_EQ(save.LoadChallengeData(), 0);
  EXPECT_EQ(save.m_Score, 12);
  EXPECT_NE(ReportText().find("user_data\\challenge\\Challenge.dat が破損しています！"), std::string::npos);
}

TEST_F(SaveSlotTest, AFailedSaveIsReportedAndChangesNothing) {
  const std::string previous = SaveBytes(FullSave()).Text();
  WriteHostFile("user_data/story/Story02.dat", previous);
  // Others may pass through the folders and append to the report log, but not write in story.
  fs::permissions(m_Folder, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  fs::permissions(m_Folder / "Report_Game.txt", fs::perms::others_read | fs::perms::others_write,
                  fs::perm_options::add);
  fs::permissions(m_Folder / "user_data", fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  fs::permissions(m_Folder / "user_data" / "story",
                  fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec, fs::perm_options::replace);
  const int result = RunInChild([] {
    // Rights to write anywhere would make the folder writable after all.
    if (!DropRootRights()) return kCannotDropRights;
    constexpr SYSTEMTIME before{2020, 1, 3, 2, 3, 4, 5, 6};
    SetSaveTimeSource(FixedTime);
    g_SaveSlots[1].m_Used = 1;
    g_SaveSlots[1].m_SaveTime = before;
    g_SaveSlots[5].m_Used = 0;
    cSaveData save;
    save.m_SaveTime = before;
    if (save.SaveToSlot(1)) return 1;
    if (save.SaveToSlot(5)) return 2;
    if (g_SaveSlots[1].m_Used != 1 || !(g_SaveSlots[1].m_SaveTime == before)) return 3;
    if (g_SaveSlots[5].m_Used != 0 || !(g_SaveSlots[5].m_SaveTime == SYSTEMTIME{})) return 4;
    if (!(save.m_SaveTime == before)) return 5;
    return 0;
  });
  if (result == kCannotDropRights) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadHostFile("user_data/story/Story02.dat"), previous);
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(m_Folder / "user_data" / "story"))
    entries.push_back(entry.path().filename());
  EXPECT_EQ(entries, std::vector<fs::path>{"Story02.dat"});
  EXPECT_NE(ReportText().find("user_data\\story\\Story02.dat の保存に失敗しました！"), std::string::npos)
      << ReportText();
  EXPECT_NE(ReportText().find("user_data\\story\\Story06.dat の保存に失敗しました！"), std::string::npos);
}

// One record reads every slot; a file too short to hold a time must not show the slot before it's.
TEST_F(SaveSlotTest, TheScanMarksEachSlotByItsOwnFile) {
  SaveImage first = FullSave();
  first.time = {2023, 12, 0, 31, 23, 59, 0, 0};
  WriteHostFile("user_data/story/Story01.dat", SaveBytes(first).Text());
  // Damaged before its time.
  WriteHostFile("user_data/story/Story02.dat", cByteBuilder().U32(556).U32(28).I32(5).Text());
  // Slot 3 missing; slot 4 an older layout.
  SaveImage old = FullSave();
  old.version = 180;
  old.time = {2001, 2, 0, 3, 4, 5, 0, 0};
  WriteHostFile("user_data/story/Story04.dat", SaveBytes(old).Text());

  CheckedVector<cSaveSlotInfo> slots(6);
  for (cSaveSlotInfo& slot : slots) {
    slot.m_Used = 1;
    slot.m_SaveTime = kSavedAt;
  }
  ScanSaveSlots(slots);
  const std::uint32_t used[] = {1, 1, 0, 1, 0, 0};
  const SYSTEMTIME times[] = {{2023, 12, 0, 31, 23, 59, 0, 0}, {},       kSavedAt,
                              {2001, 2, 0, 3, 4, 5, 0, 0},     kSavedAt, kSavedAt};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(slots[static_cast<std::size_t>(i)].m_Used, used[i]);
    EXPECT_EQ(slots[static_cast<std::size_t>(i)].m_SaveTime, times[i]);
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

}  // namespace
}  // namespace savetest
