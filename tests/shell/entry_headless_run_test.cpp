// The real player, started headless on the sample game: the report log's first lines, the exact
// frame count and the stop order of the close, one instance at a time, the editor's hand-shake,
// a loss of focus, and Esc from the input script.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "platform/host/screen.h"
#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

// A datagram socket as the editor listens on.
class EditorSocket {
 public:
  explicit EditorSocket(const fs::path& path) : m_Path(path) {
    m_Fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    m_Bound = bind(m_Fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    timeval wait{5, 0};
    setsockopt(m_Fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
  }
  ~EditorSocket() { close(m_Fd); }
  bool Bound() const { return m_Bound; }
  std::vector<std::int32_t> Next() {
    std::array<unsigned char, 64> b{};
    const ssize_t n = recv(m_Fd, b.data(), b.size(), 0);
    std::vector<std::int32_t> values;
    for (ssize_t i = 0; i + 4 <= n; i += 4)
      values.push_back(static_cast<std::int32_t>(b[i] | (b[i + 1] << 8) | (b[i + 2] << 16) |
                                                 (static_cast<std::uint32_t>(b[i + 3]) << 24)));
    return values;
  }

 private:
  fs::path m_Path;
  int m_Fd = -1;
  bool m_Bound = false;
};

TEST_F(HeadlessRunTest, AHeadlessRunPresentsExactlyItsFramesAndClosesInOrder) {
  UseSampleGame();
  const std::string shot = (m_Folder / "last.png").string();
  const std::string after = (m_Folder / "after.png").string();
  EXPECT_EQ(Run({"--headless", "--frames", "90", "--trace", Trace(), "--shot", "90:" + shot, "--shot", "91:" + after}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  const int done = Find(trace, "frames 90 done");
  ASSERT_GE(done, 0);
  EXPECT_LT(done, Find(trace, "stop music")) << "the close comes from the frame count";
  ExpectStopOrder(trace);
  EXPECT_EQ(Count(trace, "shot 90 "), 1);
  EXPECT_FALSE(fs::exists(after)) << "no frame after the last one asked for";

  std::vector<std::uint32_t> pixels;
  std::int32_t w = 0, h = 0;
  ASSERT_TRUE(ReadXrgbPng(shot, &pixels, &w, &h));
  EXPECT_GT(std::set<std::uint32_t>(pixels.begin(), pixels.end()).size(), 4u) << "the title is drawn, not blank";
  // Kept for a person to look at: the sample game's title menu as the real program shows it.
  const fs::path kept = s_OutputFolder / "sample_title_headless.png";
  fs::create_directories(kept.parent_path());
  fs::copy_file(shot, kept, fs::copy_options::overwrite_existing);

  const std::vector<std::string> report = Lines(Game() / "Report_Game.txt");
  ASSERT_GE(report.size(), 8u);
  EXPECT_EQ(report[0], "App : ver 556");
  EXPECT_TRUE(report[1].starts_with("OS : "));
  EXPECT_TRUE(report[2].starts_with("CPU : "));
  EXPECT_TRUE(report[3].starts_with("Mem Total : "));
}

// Report_Game.txt planted as a link to a file outside the game folder: the player's first write used
// to empty that file. Now the log does not open through the link, and the file it leads to stays.
TEST_F(HeadlessRunTest, AReportLogLinkedOutsideTheGameFolderLeavesItsTargetAlone) {
  UseSampleGame();
  const fs::path elsewhere = m_Folder / "elsewhere.txt";
  std::ofstream(elsewhere) << "precious\n";
  fs::remove(Game() / "Report_Game.txt");
  fs::create_symlink(elsewhere, Game() / "Report_Game.txt");
  EXPECT_EQ(Run({"--headless", "--frames", "5"}), 0);
  EXPECT_EQ(Lines(elsewhere), std::vector<std::string>{"precious"});
  EXPECT_TRUE(fs::is_symlink(Game() / "Report_Game.txt"));
}

TEST_F(HeadlessRunTest, ASecondCopyShowsItsBoxAndLeavesTheFirstRunning) {
  UseSampleGame();
  // The first copy loses the focus after its first frame and stays for a few seconds.
  cPlayerProcess first(Game(), {"--headless", "--frames", "5", "--inactive", "1:3000", "--trace", Trace("first.txt")},
                       Env());
  ASSERT_TRUE(first.Started());
  for (int i = 0; i < 2000 && Find(Lines(Trace("first.txt")), "activate 0 after frame 1") < 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_GE(Find(Lines(Trace("first.txt")), "activate 0 after frame 1"), 0);

  EXPECT_EQ(Run({"--headless", "--trace", Trace("second.txt")}), 0);
  EXPECT_EQ(Count(Lines(Trace("second.txt")), "box 二重起動: 既に起動しています -> 1"), 1);
  EXPECT_FALSE(first.Poll().has_value()) << "the first copy still runs";

  EXPECT_EQ(first.Wait(), 0);
  ExpectStopOrder(Lines(Trace("first.txt")));
}

TEST_F(HeadlessRunTest, LosingTheFocusStopsFramesAndRegainingItGoesOnWithoutANewStart) {
  UseSampleGame();
  EXPECT_EQ(Run({"--headless", "--frames", "20", "--inactive", "10:200", "--trace", Trace()}), 0);
  const std::vector<std::string> trace = Lines(Trace());
  const int off = Find(trace, "activate 0 after frame 10");
  const int on = Find(trace, "activate 1 after frame 10");
  ASSERT_GE(off, 0);
  ASSERT_GT(on, off) << "not one frame while inactive";
  EXPECT_GT(Find(trace, "frames 20 done"), on);
  EXPECT_EQ(Count(Lines(Game() / "Report_Game.txt"), "App : ver"), 1) << "one start-up only";
}

TEST_F(HeadlessRunTest, EscapeInTheInputScriptClosesInOrder) {
  UseSampleGame();
  std::ofstream(m_Folder / "keys.txt") << "0\n30 ESCAPE\n";
  const std::string late = (m_Folder / "late.png").string();
  EXPECT_EQ(Run({"--headless", "--frames", "600", "--input", (m_Folder / "keys.txt").string(), "--trace", Trace(),
                 "--shot", "300:" + late}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  EXPECT_LT(Find(trace, "frames 600 done"), 0);
  EXPECT_FALSE(fs::exists(late));
  ExpectStopOrder(trace);
}

TEST_F(HeadlessRunTest, TheEditorHearsTheStartAndTheEndOfATestPlay) {
  UseSampleGame();
  EditorSocket editor(m_Folder / "ed.sock");
  ASSERT_TRUE(editor.Bound());
  EXPECT_EQ(Run({"--headless", "--frames", "10", "--editor", "--editor-socket", (m_Folder / "ed.sock").string()}), 0);
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{1, 4, 1}));
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{0, 4, 1}));
}

TEST_F(HeadlessRunTest, AFailedStartUpTellsTheEditorAndEndsWithZero) {
  // An empty folder has no project to start.
  EditorSocket editor(m_Folder / "ed.sock");
  ASSERT_TRUE(editor.Bound());
  EXPECT_EQ(Run({"--headless", "--editor", "--editor-socket", (m_Folder / "ed.sock").string(), "--trace", Trace()}),
            0);
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{1, 4, 1}));
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{0, 4, 0}));
  EXPECT_LT(Find(Lines(Trace()), "window destroyed"), 0) << "no window road after a failed start";
}

// System.ini of the sample game with the renderer left to the launcher.
void AskForTheRenderer(const fs::path& game) {
  std::ifstream in(game / "System.ini", std::ios::binary);
  std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = ini.find("Direct3D=1");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 10, "Direct3D=2");
  std::ofstream(game / "System.ini", std::ios::binary) << ini;
}

TEST_F(HeadlessRunTest, TheLauncherIsAnsweredAndItsChoiceKeptForLaterStarts) {
  UseSampleGame();
  AskForTheRenderer(Game());
  // Cancelled: the program ends with 0, the editor hears the failed start, nothing is stored.
  {
    EditorSocket editor(m_Folder / "ed.sock");
    ASSERT_TRUE(editor.Bound());
    EXPECT_EQ(Run({"--headless", "--frames", "10", "--editor", "--editor-socket", (m_Folder / "ed.sock").string(),
                   "--answer", "launcher=close", "--trace", Trace()}),
              0);
    EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{1, 4, 1}));
    EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{0, 4, 0}));
    EXPECT_GE(Find(Lines(Trace()), "dialog launcher: 0"), 0);
    EXPECT_FALSE(fs::exists(Game() / "user_data" / "Boot.dat"));
  }
  // DirectDraw and "don't show": stored, and the next start does not ask.
  EXPECT_EQ(Run({"--headless", "--frames", "10", "--answer", "launcher=click:1003,click:1004", "--trace",
                 Trace("second.txt")}),
            0);
  EXPECT_GE(Find(Lines(Trace("second.txt")), "dialog launcher: 1"), 0);
  std::ifstream boot(Game() / "user_data" / "Boot.dat", std::ios::binary);
  const std::string stored((std::istreambuf_iterator<char>(boot)), std::istreambuf_iterator<char>());
  EXPECT_EQ(stored, std::string("\x2c\x02\0\0\x02\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0", 20));
  EXPECT_EQ(Run({"--headless", "--frames", "10", "--trace", Trace("third.txt")}), 0);
  for (const std::string& line : Lines(Trace("third.txt"))) EXPECT_FALSE(line.starts_with("dialog launcher")) << line;
}

TEST_F(HeadlessRunTest, HelpVersionAndBadOptions) {
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_EQ(Run({"--frames", "x"}), 2);
  EXPECT_FALSE(fs::exists(Game() / "Report_Game.txt")) << "nothing of the game ran";
}

}  // namespace
