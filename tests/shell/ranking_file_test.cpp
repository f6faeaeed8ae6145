// The ranking file on disk: its name, its bytes, older and damaged files, and the play modes that
// keep none.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "shell/ranking.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace rankingtest {
namespace {

namespace fs = std::filesystem;

class RankFileDiskTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    for (const char* folder : {"user_data/story", "user_data/challenge", "user_data/free"})
      fs::create_directories(m_Folder / folder);
    TakeMainWindowMessages(WM_CLOSE);
  }
  void TearDown() override {
    // A malformed body reports its bad index and asks the main window to close; none of that may
    // reach the next test.
    TakeMainWindowMessages(WM_CLOSE);
    GameFolderTest::TearDown();
  }

  // A ranking with something in every table, so a reset or a failed read shows.
  static cRankFile Filled() {
    cRankFile file;
    for (int t = 0; t < kRankTableCount; ++t) file.m_Tables[t].Insert("old", 100 + t);
    return file;
  }
  static bool IsEmptyDefault(const cRankFile& file) {
    const cRankFile fresh;
    if (file.m_Tables.Size() != kRankTableCount) return false;
    for (int t = 0; t < kRankTableCount; ++t) {
      if (file.m_Tables[t].m_Descending != fresh.m_Tables[t].m_Descending) return false;
      if (file.m_Tables[t].m_Entries.Size() != kRankPlaces) return false;
      for (const cRankEntry& entry : file.m_Tables[t].m_Entries)
        if (entry.m_Used) return false;
    }
    return true;
  }

  // An entry block and a table block as the layout gives them.
  static void Entry(cByteBuilder& b, std::int32_t used, std::int32_t value, const std::string& name) {
    b.U32(2).I32(used).I32(value).U32(1).Str(name);
  }
  static void Table(cByteBuilder& b, std::int32_t descending, int entries, std::int32_t firstValue = 0) {
    b.U32(1).I32(descending).U32(0).U32(static_cast<std::uint32_t>(entries));
    for (int i = 0; i < entries; ++i) Entry(b, i == 0 ? 1 : 0, i == 0 ? firstValue : 0, i == 0 ? "abc" : "");
  }
};

TEST_F(RankFileDiskTest, ThePathIsTheModesFolderTheBareStageNameAndRkg) {
  struct Case {
    std::int32_t mode;
    std::string stage;
    int made;
    std::string path;
  };
  const std::string so = SJ("ソ");  // 83 5C: its trail byte is no folder separator
  const Case cases[] = {
      {1, "data\\stg4\\c03.", 1, "user_data\\challenge\\c03.rkg"},
      {0, "data\\stg4\\s1.", 1, "user_data\\story\\s1.rkg"},
      {2, "free.", 1, "user_data\\free\\free.rkg"},
      {0, "data\\" + so + "\\a" + so + ".", 1, "user_data\\story\\a" + so + ".rkg"},
      {3, "data\\stg4\\c03.", 0, ""},
      {-1, "data\\stg4\\c03.", 0, ""},
      {0, "data\\" + std::string(300, 'x') + ".", 0, ""},  // longer than any game path
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " stage " << c.stage);
    std::string path = "unchanged";
    EXPECT_EQ(MakeRankFilePath(path, c.mode, c.stage), c.made);
    if (c.made) {
      EXPECT_EQ(path, c.path);
    }
  }
}

TEST_F(RankFileDiskTest, ASavedRankingHasTheLayoutsBytesAndLoadsBack) {
  cRankFile file;
  file.m_Tables[0].Insert("abc", 12345);
  file.m_Tables[2].Insert("", 4507);
  ASSERT_EQ(SaveRankFile(file, 1, "data\\stg4\\c03."), 1);

  const std::string bytes = ReadHostFile("user_data/challenge/c03.rkg");
  // 16 + 5 x (16 + 20 x 20), plus "abc" and its NUL.
  EXPECT_EQ(bytes.size(), 16u + 5u * (16u + 20u * 20u) + 4u);
  cByteBuilder expected;
  expected.U32(556).U32(0).U32(0).U32(5);
  for (int t = 0; t < kRankTableCount; ++t) {
    expected.U32(1).I32(t == 2 ? 0 : 1).U32(0).U32(20);
    for (int i = 0; i < kRankPlaces; ++i) {
      if (i == 0 && t == 0) Entry(expected, 1, 12345, "abc");
      else if (i == 0 && t == 2) Entry(expected, 1, 4507, "");  // an empty name is the length word 1 alone
      else Entry(expected, 0, 0, "");
    }
  }
  EXPECT_EQ(HexBytes(bytes), HexBytes(expected.Text()));

  cRankFile loaded = Filled();
  ASSERT_EQ(LoadRankFile(loaded, 1, "other\\c03."), 1);
  EXPECT_EQ(loaded.m_Tables[0].m_Entries[0].m_Name, "abc");
  EXPECT_EQ(loaded.m_Tables[0].m_Entries[0].m_Value, 12345);
  EXPECT_EQ(loaded.m_Tables[2].m_Entries[0].m_Used, 1);
  EXPECT_EQ(loaded.m_Tables[2].m_Descending, 0);
  EXPECT_EQ(loaded.m_Tables[3].m_Entries[0].m_Used, 0);
  // Each mode has its own file.
  EXPECT_EQ(LoadRankFile(loaded, 0, "data\\stg4\\c03."), 0);
  EXPECT_TRUE(IsEmptyDefault(loaded));
}

TEST_F(RankFileDiskTest, AThreeTableFileOfAnOldVersionLoadsAsFiveTables) {
  cByteBuilder file;
  file.U32(170).U32(0).U32(0).U32(3);
  Table(file, 1, 20, 900);
  Table(file, 0, 20, 800);  // kept as the file says
  Table(file, 0, 20, 4500);
  WriteHostFile("user_data/story/s1.rkg", file.Text());

  cRankFile loaded = Filled();
  ASSERT_EQ(LoadRankFile(loaded, 0, "s1."), 1);
  ASSERT_EQ(loaded.m_Tables.Size(), 5);
  EXPECT_EQ(loaded.m_Tables[0].m_Entries[0].m_Value, 900);
  EXPECT_EQ(loaded.m_Tables[1].m_Descending, 0);
  EXPECT_EQ(loaded.m_Tables[2].m_Entries[0].m_Value, 4500);
  for (int t : {3, 4}) {
    EXPECT_EQ(loaded.m_Tables[t].m_Descending, 1) << t;
    ASSERT_EQ(loaded.m_Tables[t].m_Entries.Size(), kRankPlaces);
    EXPECT_EQ(loaded.m_Tables[t].m_Entries[0].m_Used, 0) << t;
  }
}

TEST_F(RankFileDiskTest, TableAndEntryCountsOfTheFileAreKept) {
  cByteBuilder file;
  file.U32(556).U32(0).U32(0).U32(6);
  Table(file, 1, 25, 7);
  for (int t = 1; t < 6; ++t) Table(file, t == 2 ? 0 : 1, 20);
  WriteHostFile("user_data/free/f.rkg", file.Text());

  cRankFile loaded;
  ASSERT_EQ(LoadRankFile(loaded, 2, "f."), 1);
  EXPECT_EQ(loaded.m_Tables.Size(), 6);
  ASSERT_EQ(loaded.m_Tables[0].m_Entries.Size(), 25);
  loaded.m_Tables[0].Insert("new", 8);
  EXPECT_EQ(loaded.m_Tables[0].m_Entries.Size(), 25);
  EXPECT_EQ(loaded.m_Tables[0].m_Entries[0].m_Name, "new");
}

TEST_F(RankFileDiskTest, ACurrentFileShortOfTablesGetsTheMissingOnesEmptyInTheirOrder) {
  cByteBuilder file;
  file.U32(556).U32(0).U32(0).U32(1);
  Table(file, 1, 20, 42);
  WriteHostFile("user_data/free/f.rkg", file.Text());

  cRankFile loaded;
  ASSERT_EQ(LoadRankFile(loaded, 2, "f."), 1);
  ASSERT_EQ(loaded.m_Tables.Size(), 5);
  EXPECT_EQ(loaded.m_Tables[0].m_Entries[0].m_Value, 42);
  const std::int32_t orders[] = {1, 1, 0, 1, 1};
  for (int t = 1; t < 5; ++t) EXPECT_EQ(loaded.m_Tables[t].m_Descending, orders[t]) << t;
}

TEST_F(RankFileDiskTest, NamesLoseTheirCarriageReturns) {
  cByteBuilder file;
  file.U32(556).U32(0).U32(0).U32(5);
  file.U32(1).I32(1).U32(0).U32(1);
  Entry(file, 1, 3, "a\rb\r");
  for (int t = 1; t < 5; ++t) Table(file, 1, 0);
  WriteHostFile("user_data/free/f.rkg", file.Text());
  cRankFile loaded;
  ASSERT_EQ(LoadRankFile(loaded, 2, "f."), 1);
  EXPECT_EQ(loaded.m_Tables[0].m_Entries[0].m_Name, "ab");
}

TEST_F(RankFileDiskTest, MissingAndDamagedFilesLeaveFiveEmptyTables) {
  struct Case {
    const char* what;
    cByteBuilder bytes;
  };
  cByteBuilder truncated;
  truncated.U32(556).U32(0).U32(0).U32(5);
  Table(truncated, 1, 20, 5);
  cByteBuilder hugeTables;
  hugeTables.U32(556).U32(0).U32(0).U32(0x7FFFFFFF);
  cByteBuilder hugeEntries;
  hugeEntries.U32(556).U32(0).U32(0).U32(1).U32(1).I32(1).U32(0).U32(0xFFFFFFF0);
  cByteBuilder manyEntries;  // fits the file, but no ranking of ours comes near it
  manyEntries.U32(556).U32(0).U32(0).U32(1).U32(1).I32(1).U32(0).U32(5000);
  for (int i = 0; i < 5000; ++i) manyEntries.U32(0).U32(0);
  cByteBuilder tooManyNumbers;  // an entry with three numbers: it registers two
  tooManyNumbers.U32(556).U32(0).U32(0).U32(1).U32(1).I32(1).U32(0).U32(1).U32(3).I32(1).I32(2).I32(3).U32(0);
  cByteBuilder badName;
  badName.U32(556).U32(0).U32(0).U32(1).U32(1).I32(1).U32(0).U32(1).U32(2).I32(1).I32(2).U32(1).U32(1000).Bytes("ab");
  const Case cases[] = {
      {"short", truncated},      {"table count", hugeTables},     {"entry count", hugeEntries},
      {"many entries", manyEntries}, {"numbers", tooManyNumbers}, {"name", badName},
      {"version only", cByteBuilder().U16(3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteHostFile("user_data/story/s1.rkg", c.bytes.Text());
    cRankFile loaded = Filled();
    EXPECT_EQ(LoadRankFile(loaded, 0, "s1."), 0);
    EXPECT_TRUE(IsEmptyDefault(loaded));
  }
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("user_data\\story\\s1.rkg が破損しています！"), std::string::npos);

  cRankFile missing = Filled();
  EXPECT_EQ(LoadRankFile(missing, 0, "nothing."), 0);
  EXPECT_TRUE(IsEmptyDefault(missing));
}

TEST_F(RankFileDiskTest, AReplayKeepsNoRankingFile) {
  cRankFile file = Filled();
  EXPECT_EQ(SaveRankFile(file, 3, "data\\stg4\\c03."), 0);
  EXPECT_EQ(LoadRankFile(file, 3, "data\\stg4\\c03."), 0);
  EXPECT_TRUE(IsEmptyDefault(file));
  for (const auto& item : fs::recursive_directory_iterator(m_Folder / "user_data"))
    EXPECT_FALSE(item.is_regular_file()) << item.path();
}

TEST_F(RankFileDiskTest, ASaveThatCannotBeWrittenFailsAndKeepsThePreviousFile) {
  cRankFile file = Filled();
  ASSERT_EQ(SaveRankFile(file, 1, "c03."), 1);
  const std::string before = ReadHostFile("user_data/challenge/c03.rkg");
  // The user folder gone: nothing can be written.
  fs::remove_all(m_Folder / "user_data" / "story");
  EXPECT_EQ(SaveRankFile(file, 0, "c03."), 0);
  // A temporary file that cannot be made (a folder in its place) fails the save, the file stays.
  fs::create_directories(m_Folder / "user_data" / "challenge" / "c03.rkg.tmp");
  file.m_Tables[0].Insert("new", 999);
  EXPECT_EQ(SaveRankFile(file, 1, "c03."), 0);
  EXPECT_EQ(ReadHostFile("user_data/challenge/c03.rkg"), before);
}

}  // namespace
}  // namespace rankingtest
