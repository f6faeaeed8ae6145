// The path and extension tables, and the first-run creation of data\ from default\.
#include "project/project_paths.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/host/text_codec.h"
#include "tests/support/child_process.h"
#include "tests/support/game_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(ProjectPathTableTest, RowsThatPinTheTableInPlace) {
  struct Row {
    int index;
    const char* path;
  };
  // The ends, the rows the player reads, and rows where one row too few or too many above them
  // would show.
  const Row rows[] = {
      {0, "data\\"},
      {1, "default\\"},
      {7, "data\\CommonPalette.cplt4"},
      {13, "data\\WorldMap.dat"},
      {15, "data\\database\\AnimeSet.dat"},
      {21, "data\\database\\SwordType.dat"},
      {33, "data\\database\\Bgm.dat"},
      {34, "default\\database\\Bgm.dat"},
      {35, "data\\System.dat"},
      {36, "default\\System.dat"},
      {37, "data\\stg4\\c"},
      {38, "user_data\\story\\"},
      {39, "user_data\\challenge\\"},
      {40, "user_data\\free\\"},
      {41, "user_data\\story\\Story"},
      {42, "user_data\\challenge\\Challenge.dat"},
      {43, "user_data\\Option.dat"},
      {44, "user_data\\"},
      {45, "user_data\\KeyConfig.dat"},
      {46, "user_data\\Boot.dat"},
  };
  for (const Row& row : rows) EXPECT_EQ(ProjectPathTable[row.index], row.path) << "row " << row.index;
  EXPECT_EQ(ProjectPathTable.size(), 47u);
  // Every row but the first two pairs a data\ file with its default\ twin, the two never swapped.
  for (int i = 5; i + 1 <= 36; i += 2) {
    EXPECT_EQ(ProjectPathTable[i].rfind("data\\", 0), 0u) << "row " << i;
    EXPECT_EQ(ProjectPathTable[i + 1], "default\\" + ProjectPathTable[i].substr(5)) << "row " << i + 1;
  }
}

TEST(ProjectPathTableTest, ExtensionsAndColourLabels) {
  EXPECT_EQ(FileExtensionTable, (std::array<std::string, 4>{"cplt4", "stg4", "plt4", "rkg"}));
  ASSERT_EQ(ColourLabels.Size(), 11);
  EXPECT_EQ(ColourLabels[0], SJ("なし"));
  EXPECT_EQ(ColourLabels[7], SJ("赤紫"));
  EXPECT_EQ(ColourLabels[9], SJ("4色"));
  EXPECT_EQ(ColourLabels[10], "");
}



class FirstRunTest : public GameFolderTest {
 protected:
  struct Question {
    std::string text;
    std::string caption;
    std::uint32_t type;
  };

  void SetUp() override {
    GameFolderTest::SetUp();
    SetBoxSink([this](const std::string& text, const std::string& caption, std::uint32_t type) {
      m_Questions.push_back({text, caption, type});
      return m_Answer;
    });
  }

  // A pristine project with files at several depths.
  void WriteDefault() {
    WriteHostFile("default/System.dat", "system");
    WriteHostFile("default/database/Anime.dat", "anime");
    WriteHostFile("default/database/Sound.dat", "sound");
    WriteHostFile("default/stg4/c01-1.stg4", "stage");
    WriteHostFile("default/stg4/old_ver/keep.txt", "");
    fs::create_directories(m_Folder / "default/work");
  }

  // Everything in the game folder, recursively, as relative paths; files with their contents.
  std::vector<std::string> Tree(const fs::path& below = {}) {
    std::vector<std::string> entries;
    const fs::path root = m_Folder / below;
    if (!fs::exists(root)) return entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      std::string name = fs::relative(entry.path(), root).generic_string();
      if (entry.is_regular_file()) name += "=" + ReadHostFile(below / fs::relative(entry.path(), root));
      entries.push_back(name);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }

  std::vector<Question> m_Questions;
  int m_Answer = IDYES;
};

TEST_F(FirstRunTest, AnExistingProjectIsKeptWithoutAsking) {
  WriteHostFile("data/System.dat", "mine");
  EXPECT_EQ(EnsureProjectData(), 1);
  WriteDefault();
  EXPECT_EQ(EnsureProjectData(), 1);
  EXPECT_TRUE(m_Questions.empty());
  EXPECT_EQ(ReadHostFile("data/System.dat"), "mine");
  EXPECT_EQ(Tree("data"), std::vector<std::string>{"System.dat=mine"});
}

TEST_F(FirstRunTest, WithNeitherFolderNothingIsAskedOrMade) {
  EXPECT_EQ(EnsureProjectData(), 0);
  EXPECT_TRUE(m_Questions.empty());
  EXPECT_TRUE(Tree().empty());
}

TEST_F(FirstRunTest, TheAnswerDecidesWhetherTheDefaultIsCopied) {
  WriteDefault();
  const std::vector<std::string> pristine = Tree("default");
  struct Case {
    int answer;
    int result;
  };
  // A closed box counts as No.
  for (const Case c : {Case{IDNO, 0}, Case{IDCANCEL, 0}, Case{IDYES, 1}}) {
    SCOPED_TRACE(c.answer);
    m_Questions.clear();
    m_Answer = c.answer;
    EXPECT_EQ(EnsureProjectData(), c.result);
    ASSERT_EQ(m_Questions.size(), 1u);
    EXPECT_EQ(m_Questions[0].text, SJ("データが存在しません！デフォルトデータを作成しますか？\n"));
    EXPECT_EQ(m_Questions[0].caption, SJ("デフォルトデータ作成の確認"));
    EXPECT_EQ(m_Questions[0].type, MB_YESNO);
    // The copy is the whole tree, and the copy's working name is gone.
    EXPECT_EQ(Tree("data"), c.result ? pristine : std::vector<std::string>{});
    EXPECT_EQ(Tree("default"), pristine);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_Folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.result ? (std::vector<std::string>{"data", "default"}) : std::vector<std::string>{"default"});
  }
  // Once made, the project is simply there.
  m_Questions.clear();
  EXPECT_EQ(EnsureProjectData(), 1);
  EXPECT_TRUE(m_Questions.empty());
}

TEST_F(FirstRunTest, ALeftoverFromAnInterruptedCopyDoesNotBlockTheNextOne) {
  WriteDefault();
  WriteHostFile("data.copying/System.dat", "half");
  EXPECT_EQ(EnsureProjectData(), 1);
  EXPECT_EQ(Tree("data"), Tree("default"));
  EXPECT_EQ(ReadHostFile("data.copying/System.dat"), "half");
}

TEST_F(FirstRunTest, ACopyThatCannotTakeItsPlaceIsRemoved) {
  WriteDefault();
  // A link named data that leads nowhere: it is neither a folder nor a file, and a folder cannot be
  // renamed over it.
  fs::create_symlink(m_Folder / "nowhere", m_Folder / "data");
  EXPECT_EQ(EnsureProjectData(), 0);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(m_Folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"data", "default"}));
  EXPECT_TRUE(fs::is_symlink(m_Folder / "data"));
}

TEST_F(FirstRunTest, AFileNamedDataIsNotReplaced) {
  WriteDefault();
  WriteHostFile("data", "user's file");
  EXPECT_EQ(EnsureProjectData(), 0);
  EXPECT_EQ(ReadHostFile("data"), "user's file");
}

TEST_F(FirstRunTest, ACopyThatFailsPartWayLeavesNothingBehind) {
  struct Case {
    const char* name;
    // Prepares the folder in the test program; then failCopy runs in the child before the copy.
    std::function<void(const fs::path&)> prepare;
    std::function<int()> failCopy;
  };
  const Case cases[] = {
      {"full disk",
       [](const fs::path&) {},
       [] {
         // A file size limit makes the writes fail as a full disk does, after the small files.
         signal(SIGXFSZ, SIG_IGN);
         const rlimit limit{1024, 1024};
         return setrlimit(RLIMIT_FSIZE, &limit) == 0 ? 0 : 2;
       }},
      {"unreadable file",
       [](const fs::path& folder) {
         fs::permissions(folder / "default/database/Big.dat", fs::perms::none);
         // The child works as an ordinary user, who must be able to use the game folder.
         if (geteuid() == 0)
           for (const auto& entry : fs::recursive_directory_iterator(folder))
             if (lchown(entry.path().c_str(), kNobodyId, kNobodyId) != 0) ADD_FAILURE() << entry.path();
         if (geteuid() == 0 && chown(folder.c_str(), kNobodyId, kNobodyId) != 0) ADD_FAILURE() << folder;
       },
       [] {
         // Rights to read anything would read the file after all.
         if (!DropRootRights()) return kCannotDropRights;
         return 0;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_Folder / "default");
    WriteDefault();
    // Many small files beside the one that fails, so the copy is well under way when it does.
    for (int i = 0; i < 20; ++i) WriteHostFile("default/database/Small" + std::to_string(i) + ".dat", "small");
    WriteHostFile("default/database/Big.dat", std::string(4096, 'x'));
    c.prepare(m_Folder);
    const int result = RunInChild([&c] {
      if (const int failed = c.failCopy(); failed != 0) return failed;
      return EnsureProjectData() == 0 ? 0 : 1;
    });
    if (result == kCannotDropRights) {
      // Running with rights that read any file: this way of failing cannot be staged here.
      std::cerr << "skipped: " << c.name << "\n";
      fs::permissions(m_Folder / "default/database/Big.dat", fs::perms::owner_all, fs::perm_options::add);
      continue;
    }
    EXPECT_EQ(result, 0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_Folder)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"default"});
    fs::permissions(m_Folder / "default/database/Big.dat", fs::perms::owner_all, fs::perm_options::add);
  }
}

}  // namespace
