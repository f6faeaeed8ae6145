#include "platform/host/game_files.h"

#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host/text_codec.h"
#include "tests/support/child_process.h"
#include "tests/support/game_folder.h"

namespace fs = std::filesystem;

namespace {

// A game path written in the test as UTF-8.
std::string G(const char* utf8) { return Utf8ToCp932(utf8); }

std::string HostString(const std::optional<fs::path>& path) { return path ? path->string() : "<none>"; }

std::vector<std::string> HostEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SplitGamePathTest, SplitsOnlyAtSeparators) {
  struct sCase {
    std::string path;
    std::vector<std::string> parts;
  };
  const std::vector<sCase> cases = {
      {"data\\stg4\\a.stg4", {"data", "stg4", "a.stg4"}},
      {"data/stg4", {"data", "stg4"}},
      {"\\\\data\\\\\\x\\", {"data", "x"}},
      {"", {}},
      // 83 5C and 95 5C: the 0x5C is the second byte of the character.
      {G("ソフト\\表.txt"), {G("ソフト"), G("表.txt")}},
      {G("表\\ソ"), {G("表"), G("ソ")}},
      // A lead byte before '/' or at the end stands alone ('/' can never be a trail byte).
      {"\x83/x", {"\x83", "x"}},
      {"x\\\x83", {"x", "\x83"}},
      // A single-byte kana (B1) is not a lead byte, so the 0x5C after it separates.
      {"\xB1\\x", {"\xB1", "x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitGamePath(c.path), c.parts) << c.path;
}

class GameFilesTest : public GameFolderTest {};

TEST_F(GameFilesTest, ResolvesExactlyOrWithoutCase) {
  WriteHostFile("Data/Stg4/C01-1.STG4", "stage");
  WriteHostFile("Data/System.dat", "system");
  WriteHostFile("pair/a.txt", "lower");
  WriteHostFile("pair/A.TXT", "upper");
  WriteHostFile("ソフト/表.txt", "hyou");
  WriteHostFile("表/ソ", "so");
  struct sCase {
    std::string path;
    const char* host;  // nullptr: not found
  };
  const std::vector<sCase> cases = {
      {"data\\stg4\\c01-1.stg4", "Data/Stg4/C01-1.STG4"},
      {"Data/Stg4/C01-1.STG4", "Data/Stg4/C01-1.STG4"},
      {"DATA\\.\\system.DAT", "Data/System.dat"},
      {"data\\stg4\\..\\System.dat", "Data/System.dat"},
      {"", "."},
      {".", "."},
      {"data\\", "Data"},
      // The exact name wins; without one, the first in sorted order.
      {"pair\\a.txt", "pair/a.txt"},
      {"pair\\A.TXT", "pair/A.TXT"},
      {"pair\\A.txt", "pair/A.TXT"},
      {G("ソフト\\表.txt"), "ソフト/表.txt"},
      {G("表\\ソ"), "表/ソ"},
      {G("表"), "表"},
      {"data\\missing.dat", nullptr},
      {"data\\System.dat\\x", nullptr},  // a file is no folder
      {"missing\\..\\data", "Data"},     // ".." is applied to the text, as Windows does
  };
  for (const auto& c : cases) {
    const std::optional<fs::path> host = ResolveGamePath(c.path);
    if (c.host == nullptr)
      EXPECT_FALSE(host) << c.path << " -> " << HostString(host);
    else
      EXPECT_EQ(HostString(host), c.host) << c.path;
  }

  GameFile file = OpenGameFile(G("ソフト\\表.TXT"), "rb");
  ASSERT_TRUE(file);
  char bytes[8] = {};
  EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, file.get()), 4u);
  EXPECT_EQ(std::string(bytes, 4), "hyou");
}

TEST_F(GameFilesTest, NothingOutsideTheGameFolder) {
  // The game folder is "inner"; its parent holds files that must stay out of reach.
  WriteHostFile("outside.txt", "secret");
  WriteHostFile("inner2/x.txt", "sibling");
  WriteHostFile("inner/inside.txt", "ok");
  WriteHostFile("inner/a/b.txt", "ok");
  fs::current_path(m_Folder / "inner");
  const std::string folder = GameFolderPath();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '\\');
  EXPECT_EQ(folder.find('/'), std::string::npos);

  const std::vector<std::string> refused = {
      "..\\outside.txt",
      "a\\..\\..\\outside.txt",
      "..",
      ".\\..\\inner\\inside.txt",  // comes back in, but went out on the way
      "\\etc\\passwd",
      "/etc/passwd",
      "C:\\inside.txt",
      "c:inside.txt",
      folder + "\\..\\outside.txt",
      folder + "2\\x.txt",  // "inner2" begins with the text "inner" but is another folder
      folder.substr(0, folder.rfind('\\')) + "\\outside.txt",
  };
  for (const auto& path : refused) {
    EXPECT_FALSE(ResolveGamePath(path)) << path;
    EXPECT_FALSE(ResolveGamePathForWrite(path)) << path;
    EXPECT_FALSE(OpenGameFile(path, "rb")) << path;
    EXPECT_FALSE(GameFileExists(path)) << path;
  }
  EXPECT_FALSE(OpenGameFile("..\\made.txt", "wb"));
  EXPECT_FALSE(RenameGameFile("inside.txt", "..\\moved.txt"));
  EXPECT_FALSE(CopyGameTree("a", "..\\copy"));
  EXPECT_FALSE(CreateGameDirectory("..\\made"));
  EXPECT_FALSE(RemoveGameFile("..\\outside.txt"));
  EXPECT_EQ(HostEntries(m_Folder), (std::vector<std::string>{"inner", "inner2", "outside.txt"}));
  EXPECT_EQ(ReadHostFile("outside.txt"), "secret");
  EXPECT_TRUE(fs::exists(m_Folder / "inner/inside.txt"));

  // Absolute paths inside the folder are the game's own way of naming its files.
  EXPECT_EQ(HostString(ResolveGamePath(folder + "\\inside.txt")), "inside.txt");
  EXPECT_EQ(HostString(ResolveGamePath(folder + "/a/B.TXT")), "a/b.txt");
  EXPECT_EQ(HostString(ResolveGamePath(folder)), ".");
  EXPECT_EQ(HostString(ResolveGamePathForWrite(folder + "\\new.txt")), "new.txt");
}

TEST_F(GameFilesTest, ComponentThatDoesNotConvertIsMissing) {
  // Files whose names are what a replacing conversion would make of the bad bytes.
  WriteHostFile("\xEF\xBF\xBD", "replacement");
  WriteHostFile("\xEF\xBF\xBDz", "replacement");
  WriteHostFile("dir/x", "x");
  for (const std::string path : {"\x81", "\x85\x40z", "dir\\\x80", "\x83/x", "\xFF\\x"}) {
    EXPECT_FALSE(ResolveGamePath(path)) << path;
    EXPECT_FALSE(ResolveGamePathForWrite(path)) << path;
    EXPECT_FALSE(OpenGameFile(path, "wb")) << path;
  }
  EXPECT_EQ(HostEntries(m_Folder), (std::vector<std::string>{"dir", "\xEF\xBF\xBD", "\xEF\xBF\xBDz"}));
}

TEST_F(GameFilesTest, ListingGivesGameNamesSorted) {
  for (const char* name : {"b.txt", "A.txt", "ソ.txt", "Sub", "\xFF.bin", "\xF0\x9F\x98\x80.txt",
                           // These convert, but not back to themselves: ¥ would read as a separator
                           // (0x5C) and 〜 (U+301C) would come back as ～ (U+FF5E).
                           "\xC2\xA5.txt", "\xE3\x80\x9C.txt", "a\\b.txt"})
    WriteHostFile(fs::path("Folder") / name, "x");
  const std::vector<std::string> expected = {"A.txt", "Sub", "b.txt", G("ソ.txt")};
  EXPECT_EQ(ListGameDirectory("folder"), expected);
  EXPECT_EQ(ListGameDirectory("FOLDER\\"), expected);
  EXPECT_EQ(ListGameDirectory(""), (std::vector<std::string>{"Folder"}));
  EXPECT_TRUE(ListGameDirectory("missing").empty());
  EXPECT_TRUE(ListGameDirectory("folder\\b.txt").empty());
  EXPECT_TRUE(ListGameDirectory("..").empty());
  // Every listed name opens under the name the listing gave.
  for (const auto& name : expected)
    EXPECT_TRUE(GameFileExists("folder\\" + name)) << name;
}

TEST_F(GameFilesTest, WriteKeepsTheSpellingOnDisk) {
  WriteHostFile("Save/Slot1.DAT", "old");
  struct sCase {
    std::string path;
    const char* host;
  };
  const std::vector<sCase> cases = {
      {"save\\slot1.dat", "Save/Slot1.DAT"},
      {"SAVE\\New.dat", "Save/New.dat"},
      {G("save\\表.dat"), "Save/表.dat"},
      {"save\\slot1.dat\\x", nullptr},  // the folder above is a file
      {"nosuch\\x.dat", nullptr},
      {"save\\\x81", nullptr},
      {"", nullptr},
      {"save\\..", nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<fs::path> host = ResolveGamePathForWrite(c.path);
    if (c.host == nullptr)
      EXPECT_FALSE(host) << c.path << " -> " << HostString(host);
    else
      EXPECT_EQ(HostString(host), c.host) << c.path;
  }

  {
    GameFile file = OpenGameFile("SAVE\\SLOT1.dat", "wb");
    ASSERT_TRUE(file);
    std::fputs("new", file.get());
  }
  {
    GameFile file = OpenGameFile(G("save\\表.dat"), "wb");
    ASSERT_TRUE(file);
  }
  EXPECT_EQ(HostEntries(m_Folder / "Save"), (std::vector<std::string>{"Slot1.DAT", "表.dat"}));
  EXPECT_EQ(ReadHostFile("Save/Slot1.DAT"), "new");
}

TEST_F(GameFilesTest, OpenStatAndExist) {
  WriteHostFile("Data/System.dat", "12345");
  fs::create_directory(m_Folder / "Empty");

  EXPECT_FALSE(OpenGameFile("data", "rb"));  // a folder is not a file
  EXPECT_FALSE(OpenGameFile("missing.dat", "rb"));
  EXPECT_FALSE(OpenGameFile("missing.dat", "r+b"));  // 'r' modes never create
  EXPECT_FALSE(fs::exists(m_Folder / "missing.dat"));
  EXPECT_FALSE(OpenGameFile("data\\System.dat", nullptr));
  EXPECT_FALSE(OpenGameFile("data\\System.dat", ""));
  EXPECT_TRUE(OpenGameFile("data\\system.dat", "r+b"));

  const std::optional<GameFileInfo> file = StatGameFile("DATA\\SYSTEM.DAT");
  ASSERT_TRUE(file);
  EXPECT_FALSE(file->isDirectory);
  EXPECT_EQ(file->size, 5u);
  const std::optional<GameFileInfo> folder = StatGameFile("empty");
  ASSERT_TRUE(folder);
  EXPECT_TRUE(folder->isDirectory);
  EXPECT_FALSE(StatGameFile("missing"));

  EXPECT_TRUE(GameFileExists("data\\system.dat"));
  EXPECT_TRUE(GameFileExists("data"));
  EXPECT_FALSE(GameFileExists("data\\other.dat"));
  EXPECT_TRUE(GameDirectoryExists("DATA"));
  EXPECT_TRUE(GameDirectoryExists(""));
  EXPECT_FALSE(GameDirectoryExists("data\\system.dat"));
  EXPECT_FALSE(GameDirectoryExists("missing"));
}

TEST_F(GameFilesTest, CreatesFolders) {
  WriteHostFile("file", "x");
  EXPECT_TRUE(CreateGameDirectory("user_data"));
  EXPECT_TRUE(CreateGameDirectory("user_data\\story"));
  EXPECT_TRUE(CreateGameDirectory("USER_DATA"));  // already there, under its own spelling
  EXPECT_TRUE(CreateGameDirectory(G("user_data\\表")));
  EXPECT_TRUE(CreateGameDirectory(""));
  EXPECT_FALSE(CreateGameDirectory("a\\b"));  // the parent is missing
  EXPECT_FALSE(CreateGameDirectory("file"));  // a file is there
  EXPECT_FALSE(CreateGameDirectory("\x81"));
  EXPECT_EQ(HostEntries(m_Folder), (std::vector<std::string>{"file", "user_data"}));
  EXPECT_EQ(HostEntries(m_Folder / "user_data"), (std::vector<std::string>{"story", "表"}));
}

TEST_F(GameFilesTest, CopiesAFolderTree) {
  WriteHostFile("outside.txt", "linked");
  WriteHostFile("game/default/database/a.dat", "aaa");
  WriteHostFile("game/default/System.dat", "sys");
  WriteHostFile("game/default/表/ソ.dat", "so");
  fs::create_directories(m_Folder / "game/default/empty");
  // Links are read through; a link back up and a dangling link hold nothing to copy.
  fs::create_symlink(m_Folder / "outside.txt", m_Folder / "game/default/link.txt");
  fs::create_directory_symlink("..", m_Folder / "game/default/database/up");
  fs::create_symlink("nowhere", m_Folder / "game/default/dangling");
  fs::current_path(m_Folder / "game");

  ASSERT_TRUE(CopyGameTree("DEFAULT", "data"));
  EXPECT_EQ(HostEntries("data"), (std::vector<std::string>{"System.dat", "database", "empty", "link.txt", "表"}));
  EXPECT_EQ(HostEntries("data/database"), (std::vector<std::string>{"a.dat"}));
  EXPECT_EQ(ReadHostFile("game/data/database/a.dat"), "aaa");
  EXPECT_EQ(ReadHostFile("game/data/表/ソ.dat"), "so");
  EXPECT_EQ(ReadHostFile("game/data/link.txt"), "linked");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status("data/link.txt")));
  EXPECT_TRUE(fs::is_empty("data/empty"));

  // The target must be new: an existing one is left as it was.
  EXPECT_FALSE(CopyGameTree("default", "data"));
  EXPECT_EQ(ReadHostFile("game/data/System.dat"), "sys");
  EXPECT_FALSE(CopyGameTree("missing", "other"));
  EXPECT_FALSE(CopyGameTree("default\\System.dat", "other"));
  EXPECT_FALSE(CopyGameTree("default", "nosuch\\other"));
  EXPECT_FALSE(fs::exists("other"));

  // A copy into the folder itself copies what was there and stops.
  ASSERT_TRUE(CopyGameTree("default", "default\\copy"));
  EXPECT_EQ(ReadHostFile("game/default/copy/表/ソ.dat"), "so");
  EXPECT_FALSE(fs::exists("default/copy/copy"));
}

TEST_F(GameFilesTest, FailedCopyLeavesNoTarget) {
  WriteHostFile("default/a.dat", "a");
  WriteHostFile("default/z.dat", "z");
  fs::permissions(m_Folder / "default/z.dat", fs::perms::none);
  ASSERT_TRUE(GiveTreeToNobody(m_Folder));
  // Root reads unreadable files: the copy runs without root's rights.
  const int result = RunInChild([] {
    if (!DropRootRights()) return kCannotDropRights;
    return !CopyGameTree("default", "data") && !fs::exists("data") ? 0 : 1;
  });
  if (result == kCannotDropRights) GTEST_SKIP() << "running with rights that ignore file permissions";
  EXPECT_EQ(result, 0);
}

TEST_F(GameFilesTest, ExactNameNeedsNoListing) {
  // A folder that can be passed through but not listed: the exact name is found without a listing.
  WriteHostFile("Locked/File.dat", "x");
  ASSERT_TRUE(GiveTreeToNobody(m_Folder));
  fs::permissions(m_Folder / "Locked", fs::perms::owner_exec);
  const int result = RunInChild([] {
    if (!DropRootRights()) return kCannotDropRights;
    if (HostString(ResolveGamePath("Locked\\File.dat")) != "Locked/File.dat") return 1;
    return ResolveGamePath("Locked\\file.dat") ? 2 : 0;
  });
  fs::permissions(m_Folder / "Locked", fs::perms::owner_all);
  if (result == kCannotDropRights) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_EQ(result, 0);
}

TEST_F(GameFilesTest, RenamesAndRemoves) {
  WriteHostFile("user_data/Slot.dat", "old");
  WriteHostFile("user_data/slot.tmp", "new");
  fs::create_directory(m_Folder / "folder");

  // The temporary file replaces the target, which keeps its spelling.
  EXPECT_TRUE(RenameGameFile("user_data\\slot.tmp", "USER_DATA\\SLOT.DAT"));
  EXPECT_EQ(HostEntries(m_Folder / "user_data"), (std::vector<std::string>{"Slot.dat"}));
  EXPECT_EQ(ReadHostFile("user_data/Slot.dat"), "new");
  EXPECT_TRUE(RenameGameFile("user_data\\slot.dat", G("user_data\\表.dat")));
  EXPECT_EQ(ReadHostFile("user_data/表.dat"), "new");
  EXPECT_FALSE(RenameGameFile("user_data\\missing", "user_data\\x"));
  EXPECT_FALSE(RenameGameFile("", "x"));
  EXPECT_FALSE(RenameGameFile(G("user_data\\表.dat"), "nosuch\\x"));

  EXPECT_FALSE(RemoveGameFile("folder"));  // files only
  EXPECT_TRUE(fs::exists(m_Folder / "folder"));
  EXPECT_FALSE(RemoveGameFile(""));
  EXPECT_FALSE(RemoveGameFile("user_data\\missing"));
  EXPECT_TRUE(RemoveGameFile(G("USER_DATA\\表.DAT")));
  EXPECT_TRUE(fs::is_empty(m_Folder / "user_data"));
}

TEST_F(GameFilesTest, RemovesATreeInsideTheGameFolderOnly) {
  WriteHostFile("outside/keep.txt", "keep");
  WriteHostFile("inner/work/a/b.txt", "b");
  WriteHostFile("inner/work/c.txt", "c");
  WriteHostFile("inner/other.txt", "o");
  fs::create_directory_symlink(m_Folder / "outside", m_Folder / "inner/work/a/out");
  fs::create_directory_symlink(m_Folder / "outside", m_Folder / "inner/linked");
  fs::current_path(m_Folder / "inner");

  struct sCase {
    std::string path;
    bool removed;
  };
  const sCase cases[] = {
      {"", false},                   // the game folder itself
      {".", false},
      {"..\\outside", false},
      {"linked\\keep.txt", false},  // through a link, its folder is outside
      {"missing", false},
      {"WORK", true},                // the tree with the link in it: the link goes, not its target
      {"linked", true},              // a link is an entry of the game folder: it goes itself
  };
  for (const sCase& c : cases) EXPECT_EQ(RemoveGameTree(c.path), c.removed) << c.path;
  EXPECT_EQ(HostEntries(m_Folder / "inner"), std::vector<std::string>{"other.txt"});
  EXPECT_EQ(ReadHostFile("outside/keep.txt"), "keep");
}

// Writes never follow a link out of the game folder: not at the file itself (a link there is never
// written through, whatever it leads to) and not at a folder on the way. Reads follow links as before.
TEST_F(GameFilesTest, WritesDoNotFollowLinks) {
  WriteHostFile("outside/target.txt", "precious");
  WriteHostFile("inner/user_data/own.txt", "own");
  WriteHostFile("inner/data/real.txt", "real");
  fs::create_symlink(m_Folder / "outside/target.txt", m_Folder / "inner/Report_Game.txt");
  fs::create_symlink(m_Folder / "inner/data/real.txt", m_Folder / "inner/inside_link.txt");
  fs::create_directory_symlink(m_Folder / "outside", m_Folder / "inner/save");
  fs::create_directory_symlink(m_Folder / "inner/data", m_Folder / "inner/data_link");
  fs::current_path(m_Folder / "inner");

  for (const char* mode : {"wb", "ab", "r+b", "w+b", "a+b"}) {
    SCOPED_TRACE(mode);
    EXPECT_FALSE(OpenGameFile("Report_Game.txt", mode));
    EXPECT_FALSE(OpenGameFile("inside_link.txt", mode)) << "a link is not written through, wherever it leads";
    EXPECT_FALSE(OpenGameFile("save\\Slot.dat", mode));
    EXPECT_FALSE(OpenGameFile("save\\target.txt", mode));
  }
  EXPECT_FALSE(CreateGameDirectory("save\\story"));
  EXPECT_FALSE(RenameGameFile("user_data\\own.txt", "save\\moved.txt"));
  EXPECT_FALSE(RemoveGameFile("save\\target.txt"));
  EXPECT_FALSE(CopyGameTree("user_data", "save\\copy"));
  EXPECT_EQ(HostEntries(m_Folder / "outside"), std::vector<std::string>{"target.txt"});
  EXPECT_EQ(ReadHostFile("outside/target.txt"), "precious");
  EXPECT_EQ(ReadHostFile("inner/data/real.txt"), "real");

  // Reads keep following links.
  EXPECT_TRUE(OpenGameFile("Report_Game.txt", "rb"));
  EXPECT_TRUE(OpenGameFile("save\\target.txt", "rb"));
  // A folder linked within the game folder is the game's own: written as any other.
  {
    GameFile file = OpenGameFile("data_link\\new.txt", "wb");
    ASSERT_TRUE(file);
    std::fputs("new", file.get());
  }
  EXPECT_EQ(ReadHostFile("inner/data/new.txt"), "new");
  // Ordinary files are written, appended and replaced as before.
  {
    GameFile file = OpenGameFile("user_data\\own.txt", "ab");
    ASSERT_TRUE(file);
    std::fputs("+", file.get());
  }
  EXPECT_EQ(ReadHostFile("inner/user_data/own.txt"), "own+");
  // A link at the target of a rename is replaced itself; what it led to stays.
  EXPECT_TRUE(RenameGameFile("user_data\\own.txt", "Report_Game.txt"));
  EXPECT_FALSE(fs::is_symlink(m_Folder / "inner/Report_Game.txt"));
  EXPECT_EQ(ReadHostFile("outside/target.txt"), "precious");
}

TEST_F(GameFilesTest, NoPathCrashesOrLeaves) {
  WriteHostFile("Data/A.dat", "a");
  WriteHostFile("ソ/x", "x");
  WriteHostFile("inner/keep", "k");
  fs::current_path(m_Folder / "inner");
  const std::string alphabet[] = {"\\", "/", ".", "..", "a", "A", "data", ":", "C:", "\x81", "\x83", "\x5C",
                                  "\xFF", std::string(1, '\0'), "\xE0", "@", "\x80", "x"};
  std::mt19937 random(1234);
  for (int i = 0; i < 3000; ++i) {
    std::string path;
    const int length = static_cast<int>(random() % 10);
    for (int j = 0; j < length; ++j) path += alphabet[random() % std::size(alphabet)];
    for (const auto& host : {ResolveGamePath(path), ResolveGamePathForWrite(path)}) {
      if (!host) continue;
      EXPECT_TRUE(host->is_relative()) << path;
      for (const auto& part : *host) EXPECT_NE(part.string(), "..") << path;
    }
    StatGameFile(path);
    ListGameDirectory(path);
    OpenGameFile(path, "rb");
    if (i % 10 == 0) OpenGameFile(path, "wb");
  }
  EXPECT_EQ(HostEntries(m_Folder), (std::vector<std::string>{"Data", "inner", "ソ"}));
  EXPECT_EQ(HostEntries(m_Folder / "Data"), (std::vector<std::string>{"A.dat"}));
}

}  // namespace
