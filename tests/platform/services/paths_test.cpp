#include "platform/services/paths.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/host/game_files.h"
#include "platform/host/text_codec.h"
#include "tests/support/game_folder.h"

namespace {

TEST(StripDirectoryTest, CutsOnlyAtRealSeparators) {
  const std::string so = SJ("ソ");  // 83 5C: its second byte is a backslash
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {"stage\\map\\a.stg", "a.stg"},
      {"\\top.dat", "top.dat"},
      {"\\", ""},
      {"name.dat", "name.dat"},
      {"", ""},
      {"folder\\", ""},
      {"data/sub/b.wav", "data/sub/b.wav"},   // a '/' is an ordinary byte of a game path
      {"data\\sub/b.wav", "sub/b.wav"},
      {"x\\" + so, so},                       // last folder name ends in ソ: kept whole
      {"x\\" + so + "\\" + so + "b", so + "b"},
      {so, so},
      {"\\" + so + so, so + so},
      {"\x81\\\\c", "c"},                     // 81 5C is one character, the next 5C a separator
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    StripDirectory(path);
    EXPECT_EQ(path, c.expected) << testing::PrintToString(c.path);
  }
}

TEST(ReplaceExtensionTest, Table) {
  struct Case {
    const char* name;
    const char* ext;
    const char* expected;
    int result;
  };
  const Case cases[] = {
      {"a.b.c", "x", "a.b.x", 1},
      {"a.b.c", nullptr, "a.b", 1},
      {"abc", "x", "abc", 0},
      {"abc", nullptr, "abc", 0},
      {"a.", "x", "a.x", 1},
      {".rc", nullptr, "", 1},
      {"dir.d\\file", "x", "dir.x", 1},  // the last dot of the whole text, folders included
  };
  for (const Case& c : cases) {
    std::string out = "old";
    EXPECT_EQ(ReplaceExtension(out, c.name, c.ext), c.result) << c.name;
    EXPECT_EQ(out, c.expected) << c.name;
  }
}

TEST(GetExtensionTest, Table) {
  struct Case {
    const char* name;
    const char* expected;
    int result;
  };
  const Case cases[] = {
      {"a.b.c", "c", 1},
      {"stage.stg4", "stg4", 1},
      {"a.", "", 1},
      {"abc", "untouched", 0},
      {"dir.d\\file", "d\\file", 1},
  };
  for (const Case& c : cases) {
    std::string out = "untouched";
    EXPECT_EQ(GetExtension(out, c.name), c.result) << c.name;
    EXPECT_EQ(out, c.expected) << c.name;
  }
}

TEST(NumberedNameTest, Table) {
  struct Case {
    const char* name;
    int d1, d2;
    const char* expected;
    int result;
  };
  const Case cases[] = {
      {"replay.rpl4", 0, 3, "replay_03.rpl4", 1},
      {"a.b.c", 1, 2, "a.b_12.c", 1},
      {"save.", 9, 9, "save_99.", 1},
      {"noext", 1, 2, "noext", 0},
  };
  for (const Case& c : cases) {
    std::string out = "old";
    EXPECT_EQ(NumberedName(out, c.name, c.d1, c.d2), c.result) << c.name;
    EXPECT_EQ(out, c.expected) << c.name;
  }
}

class FindNumberedFileTest : public GameFolderTest {};

TEST_F(FindNumberedFileTest, HighestNumberWins) {
  WriteHostFile("stage.stg4_002", "a");
  WriteHostFile("stage.stg4_010", "b");
  WriteHostFile("stage.stg4_009", "c");
  WriteHostFile("other.stg4_500", "d");
  std::string dst;
  EXPECT_EQ(FindNumberedFile(dst, "stage.stg4", "stg4"), 1);
  EXPECT_EQ(dst, "stage.stg4_010");

  // The extension is replaced first: "stage.old" looks for the same copies.
  dst.clear();
  EXPECT_EQ(FindNumberedFile(dst, "stage.old", "stg4"), 1);
  EXPECT_EQ(dst, "stage.stg4_010");

  // Without ext the base is the name without its extension.
  WriteHostFile("x_002", "a");
  WriteHostFile("x_010", "b");
  EXPECT_EQ(FindNumberedFile(dst, "x.rpl4", nullptr), 1);
  EXPECT_EQ(dst, "x_010");
}

TEST_F(FindNumberedFileTest, MixedCaseOnDiskIsFoundUnderTheGamesSpelling) {
  WriteHostFile("STAGE.Stg4_005", "a");
  WriteHostFile("stage.stg4_003", "b");
  std::string dst;
  EXPECT_EQ(FindNumberedFile(dst, "stage.stg4", "stg4"), 1);
  EXPECT_EQ(dst, "stage.stg4_005");
  EXPECT_TRUE(GameFileExists(dst));
}

TEST_F(FindNumberedFileTest, OnlyFilesWithExactlyThreeDigitsCount) {
  std::filesystem::create_directory("stage.stg4_900");
  WriteHostFile("stage.stg4_99", "a");
  WriteHostFile("stage.stg4_0999", "a");
  WriteHostFile("stage.stg4_x99", "a");
  WriteHostFile("stage.stg4_99x", "a");
  WriteHostFile("stage.stg4-999", "a");
  WriteHostFile("stage.stg4_999.bak", "a");
  WriteHostFile("xstage.stg4_999", "a");
  std::string dst = "untouched";
  EXPECT_EQ(FindNumberedFile(dst, "stage.stg4", "stg4"), 0);
  EXPECT_EQ(dst, "untouched");

  WriteHostFile("stage.stg4_001", "a");
  EXPECT_EQ(FindNumberedFile(dst, "stage.stg4", "stg4"), 1);
  EXPECT_EQ(dst, "stage.stg4_001");
}

TEST_F(FindNumberedFileTest, NothingFound) {
  std::string dst = "untouched";
  EXPECT_EQ(FindNumberedFile(dst, "stage.stg4", "stg4"), 0);
  EXPECT_EQ(dst, "untouched");
  EXPECT_EQ(FindNumberedFile(dst, "missing\\stage.stg4", "stg4"), 0);
  EXPECT_EQ(dst, "untouched");

  std::string out = "untouched";
  EXPECT_EQ(FindNumberedFileString(out, "stage.stg4", "stg4"), 0);
  EXPECT_EQ(out, "untouched");
}

TEST_F(FindNumberedFileTest, SearchesTheFolderOfTheName) {
  const std::string so = SJ("ソ");
  WriteHostFile("data/stage.stg4_003", "a");
  WriteHostFile("stage.stg4_007", "a");  // not in data, does not count
  WriteHostFile(std::filesystem::path(u8"ソ") / "map.stg4_004", "a");

  std::string out;
  EXPECT_EQ(FindNumberedFileString(out, "data\\stage.stg4", "stg4"), 1);
  EXPECT_EQ(out, "data\\stage.stg4_003");
  EXPECT_EQ(FindNumberedFileString(out, so + "\\map.stg4", "stg4"), 1);
  EXPECT_EQ(out, so + "\\map.stg4_004");
}

TEST_F(FindNumberedFileTest, TooLongNameIsRefused) {
  const std::string longName(kMaxPathLength - 3, 'a');  // fits alone, not with "_NNN"
  std::string dst = "untouched";
  EXPECT_EQ(FindNumberedFile(dst, longName, nullptr), 0);
  EXPECT_EQ(dst, "untouched");
}

class GamePathTest : public GameFolderTest {
 protected:
  std::string m_Game;
  void SetUp() override {
    GameFolderTest::SetUp();
    m_Game = GameFolderPath();
    ASSERT_FALSE(m_Game.empty());
  }
};

TEST_F(GamePathTest, RelativeFormOfPathsInsideTheGameFolder) {
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {m_Game + "\\sub\\file.dat", ".\\sub\\file.dat"},
      {m_Game + "\\name.dat", ".\\name.dat"},
      {m_Game + "/sub/file.dat", ".\\sub\\file.dat"},
      {m_Game + "\\sub\\..\\name.dat", ".\\name.dat"},
      {"sub\\file.dat", "sub\\file.dat"},  // already relative
      {".\\x", ".\\x"},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    EXPECT_EQ(MakeRelativePath(path), 1) << c.path;
    EXPECT_EQ(path, c.expected) << c.path;
    std::string text = c.path;
    EXPECT_EQ(MakeRelativePathString(text), 1) << c.path;
    EXPECT_EQ(text, c.expected) << c.path;
  }
}

TEST_F(GamePathTest, RelativeFormOfPathsOutsideTheGameFolderClimbs) {
  const std::string parent = m_Game.substr(0, m_Game.rfind('\\'));
  std::string path = parent + "\\other\\f.dat";
  EXPECT_EQ(MakeRelativePath(path), 1);
  EXPECT_EQ(path, "..\\other\\f.dat");

  std::string root = "\\f.dat";
  EXPECT_EQ(MakeRelativePath(root), 1);
  std::string expected;
  for (std::size_t i = 0; i < SplitGamePath(m_Game).size(); ++i) {
    expected += "..\\";
  }
  EXPECT_EQ(root, expected + "f.dat");
}

TEST_F(GamePathTest, NoRelativeFormLeavesThePath) {
  const std::string cases[] = {
      "C:\\game\\file.dat",
      m_Game + "\\" + std::string(kMaxPathLength, 'a'),
  };
  for (const std::string& c : cases) {
    std::string path = c;
    EXPECT_EQ(MakeRelativePath(path), 0);
    EXPECT_EQ(path, c);
  }
}

TEST_F(GamePathTest, AbsoluteFormAndRoundTrip) {
  struct Case {
    std::string path;
    std::string absolute;
  };
  const Case cases[] = {
      {"sub\\file.dat", m_Game + "\\sub\\file.dat"},
      {".\\sub\\file.dat", m_Game + "\\sub\\file.dat"},
      {"sub/.\\x\\..\\file.dat", m_Game + "\\sub\\file.dat"},
      {"name.dat", m_Game + "\\name.dat"},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    ASSERT_EQ(MakeAbsolutePath(path), 1) << c.path;
    EXPECT_EQ(path, c.absolute) << c.path;
    ASSERT_EQ(MakeRelativePath(path), 1) << c.path;
    std::string relative = path;
    ASSERT_EQ(MakeAbsolutePath(path), 1) << c.path;
    EXPECT_EQ(path, c.absolute) << c.path;
    EXPECT_EQ(relative.substr(0, 2), ".\\");
  }

  // The full form reaches the file the relative one named.
  WriteHostFile("sub/file.dat", "x");
  std::string path = "sub\\file.dat";
  ASSERT_EQ(MakeAbsolutePath(path), 1);
  EXPECT_TRUE(GameFileExists(path));
}

TEST_F(GamePathTest, AbsolutePathsStayAndTooLongResultsAreRefused) {
  for (const std::string& absolute : {std::string("\\elsewhere\\x"), std::string("/elsewhere/../x"), m_Game}) {
    std::string path = absolute;
    EXPECT_EQ(MakeAbsolutePath(path), 1);
    EXPECT_EQ(path, absolute);
  }

  const std::string longRelative(kMaxPathLength - 1, 'a');
  std::string path = longRelative;
  EXPECT_EQ(MakeAbsolutePath(path), 0);
  EXPECT_EQ(path, longRelative);

  const std::string tooLong(kMaxPathLength + 1, 'a');
  path = tooLong;
  EXPECT_EQ(MakeAbsolutePath(path), 0);
  EXPECT_EQ(path, tooLong);
}

}  // namespace
