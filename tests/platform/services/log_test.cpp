#include "platform/services/log.h"

#include <sstream>
#include <thread>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

class LogTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    LogInit(0, "EC_Game.txt");
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }

  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("Report_Game.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

TEST_F(LogTest, OpenEmptiesTheFileAndLinesAppendInOrder) {
  ReportLog("old line");
  ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  EXPECT_EQ(ReportLog("App : ver %s", "556"), 1);
  EXPECT_EQ(ReportLog("%d%%", 50), 1);
  EXPECT_EQ(ReportLines(), (std::vector<std::string>{"App : ver 556", "50%"}));
}

TEST_F(LogTest, JapaneseLinesAreWrittenAsUtf8) {
  ReportLog("%s", SJ("ステージファイル %s の読み込みに失敗しました！").c_str());
  EXPECT_EQ(ReportLines(), (std::vector<std::string>{"ステージファイル %s の読み込みに失敗しました！"}));
}

TEST_F(LogTest, ReportLogDropsTheLineWhenTheFileIsGone) {
  std::filesystem::remove("Report_Game.txt");
  EXPECT_EQ(ReportLog("lost"), 0);
  EXPECT_EQ(ReportLogAndLog("lost"), 0);
  EXPECT_FALSE(std::filesystem::exists("Report_Game.txt"));
}

TEST_F(LogTest, ReportLogOpenFailsWhereTheFileCannotBeCreated) {
  EXPECT_EQ(ReportLogOpen("missing\\Report_Game.txt"), 0);
  EXPECT_EQ(ReportLogOpen("..\\Report_Game.txt"), 0);
  EXPECT_EQ(g_ReportPath, "Report_Game.txt");
}

// Both logs planted as links to files outside the game folder: neither is emptied or written to.
TEST_F(LogTest, LogsLinkedOutsideTheGameFolderAreNotWrittenThrough) {
  namespace fs = std::filesystem;
  WriteHostFile("outside_report.txt", "precious");
  WriteHostFile("outside_debug.txt", "kept");
  fs::create_directory(m_Folder / "game");
  fs::create_symlink(m_Folder / "outside_report.txt", m_Folder / "game/Report_Game.txt");
  fs::create_symlink(m_Folder / "outside_debug.txt", m_Folder / "game/EC_Game.txt");
  fs::current_path(m_Folder / "game");
  EXPECT_EQ(ReportLogOpen("Report_Game.txt"), 0);
  EXPECT_EQ(ReportLogText("line"), 0);
  LogInit(1, "EC_Game.txt");
  Log("debug line");
  Log("another");
  LogInit(0, "EC_Game.txt");
  EXPECT_EQ(ReadHostFile("outside_report.txt"), "precious");
  EXPECT_EQ(ReadHostFile("outside_debug.txt"), "kept");
  EXPECT_TRUE(fs::is_symlink(m_Folder / "game/Report_Game.txt"));
}

TEST_F(LogTest, LinesFromManyThreadsArriveWhole) {
  constexpr int kThreads = 4, kLines = 1000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) ReportLog("thread %d line %04d of the report log", t, i);
    });
  for (auto& thread : threads) thread.join();

  std::vector<std::string> lines = ReportLines();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
  std::vector<int> next(kThreads, 0);
  for (const std::string& line : lines) {
    int t = -1, i = -1;
    ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d of the report log", &t, &i), 2) << line;
    ASSERT_EQ(line, FormatString("thread %d line %04d of the report log", t, i));
    EXPECT_EQ(i, next[t]++);  // each thread's lines keep their order
  }
}

TEST_F(LogTest, ATextIsNeverTakenAsAFormat) {
  std::string stored = "100% %s %n";
  ReportLogAndLog("%s", stored.c_str());
  LogInit(1, "EC_Game.txt");
  Log(stored);
  EXPECT_EQ(ReportLines(), (std::vector<std::string>{stored}));
  EXPECT_EQ(ReadHostFile("EC_Game.txt"), stored + "\n");
}

TEST_F(LogTest, ReportAndLogLinesAreCutToTheLineBufferAtACharacterBoundary) {
  // 1022 ASCII bytes, then a double-byte character that would take the place of the NUL.
  std::string text(1022, 'a');
  text += SJ("ア");
  ReportLogAndLog("%s", text.c_str());
  EXPECT_EQ(ReportLines(), (std::vector<std::string>{std::string(1022, 'a')}));
  // FormatString itself keeps everything.
  EXPECT_EQ(FormatString("%s%s", text.c_str(), text.c_str()).size(), 2 * text.size());
}

TEST_F(LogTest, DebugLogIsOffUnlessEnabledAndItsFirstLineStartsTheFileAfresh) {
  WriteHostFile("EC_Game.txt", "from an earlier run\n");
  LogF("nothing %d", 1);
  EXPECT_EQ(ReadHostFile("EC_Game.txt"), "from an earlier run\n");

  LogInit(1, "EC_Game.txt");
  LogF("first %d", 1);
  LogLine("second");
  EXPECT_EQ(ReadHostFile("EC_Game.txt"), "first 1\nsecond\n");
}

TEST_F(LogTest, LogFAndClosePostsCloseAlsoWhileTheDebugLogIsOff) {
  LogFAndClose("failed %d", 3);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
  EXPECT_FALSE(std::filesystem::exists("EC_Game.txt"));
}

struct ShownBox {
  std::string text, caption;
  std::uint32_t type;
};

TEST_F(LogTest, ErrorBoxesCarryTheirCaptionAndGoFullScreenWhileTheDisplayAsks) {
  std::vector<ShownBox> host, display;
  SetBoxSink([&](const std::string& text, const std::string& caption, std::uint32_t type) {
    host.push_back({text, caption, type});
    return IDOK;
  });

  ReportLogAndBox("%s %d", "failed", 7);
  ASSERT_EQ(host.size(), 1u);
  EXPECT_EQ(host[0].text, "failed 7");
  EXPECT_EQ(host[0].caption, SJ("エラー"));
  EXPECT_EQ(host[0].type, MB_OK);
  EXPECT_EQ(ReportLines(), (std::vector<std::string>{"failed 7"}));

  SetFullScreenBox([&](const std::string& text, const std::string& caption, std::uint32_t type) {
    display.push_back({text, caption, type});
    return IDOK;
  });
  MemoryErrBox();
  SetFullScreenBox(nullptr);
  ASSERT_EQ(display.size(), 1u);
  EXPECT_EQ(display[0].text, SJ("メモリが不足しています！"));
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);

  DebugMesBox("only with the debug log");
  EXPECT_EQ(host.size(), 1u);

  std::filesystem::remove("Report_Game.txt");
  ReportLogAndBox("no log, no box");
  EXPECT_EQ(host.size(), 1u);
}

}  // namespace
