// The drawn file dialog, driven as the player would through the dialog answerer: what the list
// shows, choosing by name and by the list, moving between folders without ever leaving the game
// folder, and the save dialog's extension and question before replacing a file.
#include "platform/ui/file_dialog_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/host/box_sink.h"
#include "platform/host/game_files.h"
#include "platform/host/input_devices.h"
#include "platform/host/trace.h"
#include "platform/ui/dialog_loop.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/keyboard_hook.h"
#include "tests/support/game_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kList = 1101;
constexpr std::int32_t kName = 1102;
constexpr std::int32_t kStatus = 1104;

class FileDialogWindowTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    WriteHostFile("data/stg4/a.stg4_1", "a");
    WriteHostFile("data/stg4/b.rpl4_2", "b");
    WriteHostFile("data/stg4/c.txt", "c");
    WriteHostFile("data/stg4/sub/d.stg4_1", "d");
    WriteHostFile("data/top.stg4_1", "t");
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(m_Folder / "data/stg4/a.stg4_1", now - std::chrono::hours(2));
    fs::last_write_time(m_Folder / "data/stg4/b.rpl4_2", now - std::chrono::hours(1));
  }
  void TearDown() override {
    SetDialogAnswerer({});
    SetBoxSink({});
    GameFolderTest::TearDown();
  }

  FileDialogRequest Request(FileDialogKind kind) {
    FileDialogRequest r;
    r.kind = kind;
    r.initialDir = "data\\stg4\\";
    r.title = "pick";
    r.filters = {{"StageFile", "*.stg4_*;*.rpl4_*"}};
    r.defaultExt = kind == FileDialogKind::kSave ? "rpl4_556" : "";
    r.overwritePrompt = kind == FileDialogKind::kSave;
    return r;
  }

  // Runs the dialog; player acts on it and may end it, else it is closed.
  std::optional<std::string> Run(const FileDialogRequest& request, std::function<void(cDialogWindow&)> player) {
    SetDialogAnswerer([player](const std::string& name) -> std::optional<std::string> {
      if (name.starts_with("file-") && ActiveDialogWindow()) player(*ActiveDialogWindow());
      return std::string("close");
    });
    return RunFileDialogWindow(request);
  }
};

void Key(cDialogWindow& w, int vk) {
  DeliverDialogKey(w, vk, true);
  DeliverDialogKey(w, vk, false);
}

void Enter(cDialogWindow& w, const char* name) {
  w.SetSel(kName, 0, -1);
  DeliverDialogText(w, name);
  Key(w, VK_RETURN);
}

TEST_F(FileDialogWindowTest, TheListShowsFoldersThenTheMatchingFilesNewestFirst) {
  std::vector<std::string> entries;
  std::string folder;
  Run(Request(FileDialogKind::kOpen), [&](cDialogWindow& w) {
    entries = w.Item(kList)->entries;
    folder = w.ItemText(1100);
  });
  EXPECT_EQ(entries, (std::vector<std::string>{"[..]", "[sub]", "b.rpl4_2", "a.stg4_1"}));
  EXPECT_EQ(folder, "\\data\\stg4");
}

TEST_F(FileDialogWindowTest, AFileIsChosenByNameOrFromTheList) {
  EXPECT_EQ(Run(Request(FileDialogKind::kOpen), [](cDialogWindow& w) { Enter(w, "a.stg4_1"); }),
            "data\\stg4\\a.stg4_1");
  // Tab to the list, down through [..] and [sub] to the newest file, Enter.
  EXPECT_EQ(Run(Request(FileDialogKind::kOpen),
                [](cDialogWindow& w) {
                  DeliverDialogKey(w, VK_SHIFT, true);
                  Key(w, VK_TAB);
                  DeliverDialogKey(w, VK_SHIFT, false);
                  ASSERT_EQ(w.Focus(), kList);
                  for (int i = 0; i < 3; ++i) Key(w, VK_DOWN);
                  EXPECT_EQ(w.ItemText(kName), "b.rpl4_2") << "the list's choice fills the name";
                  Key(w, VK_RETURN);
                }),
            "data\\stg4\\b.rpl4_2");
  // A double click on a folder enters it; one on a file chooses it.
  EXPECT_EQ(Run(Request(FileDialogKind::kOpen),
                [](cDialogWindow& w) {
                  const ScreenRect c = w.ClientRect();
                  const ScreenRect list = w.Item(kList)->rect;
                  auto row = [&](int n) { return c.y + list.y + 2 + n * kListRowHeight + 5; };
                  w.MouseDown(c.x + list.x + 20, row(1), 1, 2);
                  EXPECT_EQ(w.ItemText(1100), "\\data\\stg4\\sub");
                  w.MouseDown(c.x + list.x + 20, row(1), 1, 2);
                }),
            "data\\stg4\\sub\\d.stg4_1");
}

TEST_F(FileDialogWindowTest, NothingOutsideTheGameFolderCanBeChosen) {
  struct {
    const char* typed;
    const char* why;
  } const cases[] = {
      {"..\\..\\..\\etc", "climbs above the game folder"},
      {"/etc/passwd", "absolute, elsewhere"},
      {"C:\\Windows\\win.ini", "a drive"},
  };
  for (const auto& c : cases) {
    std::string status;
    const std::optional<std::string> chosen = Run(Request(FileDialogKind::kOpen), [&](cDialogWindow& w) {
      Enter(w, c.typed);
      status = w.ItemText(kStatus);
    });
    EXPECT_EQ(chosen, std::nullopt) << c.why;
    EXPECT_FALSE(status.empty()) << c.why;
  }
  // Climbing stops at the game folder: ".." from the top is refused, and the list offers no way up.
  std::vector<std::string> top;
  std::string status;
  Run(Request(FileDialogKind::kOpen), [&](cDialogWindow& w) {
    Enter(w, "..");
    Enter(w, "..");
    top = w.Item(kList)->entries;
    Enter(w, "..");
    status = w.ItemText(kStatus);
  });
  EXPECT_EQ(top, (std::vector<std::string>{"[data]"}));
  EXPECT_FALSE(status.empty());
  // A name that is not there is not opened.
  EXPECT_EQ(Run(Request(FileDialogKind::kOpen), [](cDialogWindow& w) { Enter(w, "none.stg4_1"); }), std::nullopt);
}

TEST_F(FileDialogWindowTest, SavingCompletesTheWholeExtensionAndAsksBeforeReplacing) {
  WriteHostFile("data/stg4/old.rpl4_556", "x");
  EXPECT_EQ(Run(Request(FileDialogKind::kSave), [](cDialogWindow& w) { Enter(w, "new"); }),
            "data\\stg4\\new.rpl4_556");

  int asked = 0;
  int answer = IDNO;
  SetBoxSink([&](const std::string&, const std::string&, std::uint32_t type) {
    ++asked;
    EXPECT_EQ(type & 0xF, MB_YESNO);
    return answer;
  });
  bool stillOpen = false;
  EXPECT_EQ(Run(Request(FileDialogKind::kSave),
                [&](cDialogWindow& w) {
                  Enter(w, "old");
                  stillOpen = !w.Ended();
                }),
            std::nullopt);
  EXPECT_TRUE(stillOpen) << "No goes back to the dialog";
  answer = IDYES;
  EXPECT_EQ(Run(Request(FileDialogKind::kSave), [](cDialogWindow& w) { Enter(w, "old"); }),
            "data\\stg4\\old.rpl4_556");
  EXPECT_EQ(asked, 2);
}

TEST_F(FileDialogWindowTest, PatternsMatchLettersInEitherCase) {
  struct {
    const char* name;
    bool match;
  } const cases[] = {
      {"a.stg4_1", true}, {"A.STG4_x", true}, {"b.rpl4_556", true}, {"c.stg4", false},
      {"stg4_1", false},  {"x.txt", false},   {"a.b.stg4_", true},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesFilePattern(c.name, "*.stg4_*;*.rpl4_*"), c.match) << c.name;
}

TEST_F(FileDialogWindowTest, PathsAreKeptInsideTheGameFolder) {
  struct {
    const char* path;
    std::optional<std::string> inside;
  } const cases[] = {
      {"data\\stg4\\", "data\\stg4"},
      {"data/./stg4/../x", "data\\x"},
      {"..", std::nullopt},
      {"data\\..\\..\\x", std::nullopt},
      {"/etc", std::nullopt},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(GamePathInside(c.path), c.inside) << c.path;
  const std::string absolute = GameFolderPath() + "\\data";
  EXPECT_EQ(GamePathInside(absolute), "data");
}

}  // namespace
