// The challenge and option screens reached from the title of the real player, headless on the
// sample game: a challenge stage played, cleared, ranked and back on the list with its result; the
// list paged over more stages, its ranking shown and a stage without a file refused; the options
// edited with wrapping and cancels, the music turned off, and Option.dat written as the player left.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "project/option.h"
#include "project/project_paths.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

class MenusRunTest : public HeadlessRunTest {
 protected:
  void KeepShot(const std::string& shot, const std::string& name) {
    fs::create_directories(s_OutputFolder);
    fs::copy_file(shot, s_OutputFolder / name, fs::copy_options::overwrite_existing);
  }
  // Runs work with the game folder as the current directory (the record files name their paths
  // from there).
  template <class Work>
  void InGame(Work work) {
    const fs::path before = fs::current_path();
    fs::current_path(Game());
    work();
    fs::current_path(before);
  }
};

// The lines at or after from that start with prefix.
int CountFrom(const std::vector<std::string>& trace, const std::string& prefix, int from) {
  int n = 0;
  for (int i = std::max(from, 0); i < static_cast<int>(trace.size()); ++i)
    n += trace[static_cast<std::size_t>(i)].starts_with(prefix);
  return n;
}

// Presses key in frame f and lets it go two frames later.
void Press(std::ostringstream& keys, int f, const char* key) { keys << f << ' ' << key << '\n' << f + 2 << '\n'; }

// From frame f on: down rows times, one press every four frames, then Z. The frame after the Z.
int Choose(std::ostringstream& keys, int f, int rows) {
  for (int i = 0; i < rows; ++i, f += 4) Press(keys, f, "DOWN");
  Press(keys, f, "Z");
  return f + 4;
}

// The challenge screen from the title (its third row), then the third stage: the hero runs right over
// two score switches to the goal sign, F3 on the result enters the ranking under a typed name, Z leaves the ranking and Z
// the result; back on the list, X goes back to the title.
std::string ClearInput() {
  std::ostringstream keys;
  Choose(keys, 40, 2);
  Choose(keys, 112, 2);
  keys << "300 RIGHT\n680\n";
  Press(keys, 700, "F3");
  Press(keys, 760, "Z");
  Press(keys, 800, "Z");
  Press(keys, 920, "X");
  return keys.str();
}

// The challenge screen over 25 stages: the third row's ranking shown and hidden again with C, ten
// rows down (the list scrolls), a page on with RIGHT, Z on a stage that has no file, X to the title.
std::string ListInput() {
  std::ostringstream keys;
  Choose(keys, 40, 2);
  Press(keys, 100, "DOWN");
  Press(keys, 104, "DOWN");
  Press(keys, 110, "C");
  Press(keys, 130, "C");
  for (int i = 0; i < 10; ++i) Press(keys, 140 + 4 * i, "DOWN");
  Press(keys, 190, "RIGHT");
  Press(keys, 210, "Z");
  Press(keys, 230, "X");
  return keys.str();
}

// The clear mark's middle on the row shown at screen row i of the list.
constexpr int kMarkX = (4 + 4) * 32 + 16;  // after "ワールド" (four characters) and four cells
int MarkY(int i) { return 160 + 32 * i + 16; }
// The row's mark place differs from the window beside it (between the mark and the best score).
bool Marked(const std::string& png, int i) { return PixelAt(png, kMarkX, MarkY(i)) != PixelAt(png, 300, MarkY(i)); }

TEST_F(MenusRunTest, AChallengeClearedComesBackToTheListAndALargerListPagesRanksAndRefusesAMissingStage) {
  UseSampleGame();
  const fs::path clearKeys = m_Folder / "clear_keys.txt";
  const fs::path listKeys = m_Folder / "list_keys.txt";
  std::ofstream(clearKeys) << ClearInput();
  std::ofstream(listKeys) << ListInput();

  // The sample's three stages: the third played, cleared and ranked.
  const std::string cleared = (m_Folder / "cleared.png").string();
  ASSERT_EQ(Run({"--headless", "--seed", "7", "--frames", "1000", "--input", clearKeys.string(), "--answer",
                 "name-entry=type:ABC", "--trace", Trace("clear.txt"), "--shot", "900:" + cleared}),
            0);
  {
    const std::vector<std::string> trace = Lines(Trace("clear.txt"));
    const int toList = Find(trace, "scene switch 0 -> 3");
    const int toPlay = Find(trace, "scene switch 3 -> 4", toList);
    const int result = Find(trace, "play state 4 result", toPlay);
    const int back = Find(trace, "scene switch 4 -> 3", result);
    ASSERT_GE(toList, 0);
    ASSERT_GT(toPlay, toList);
    ASSERT_GT(result, toPlay);
    ASSERT_GT(back, result) << "a cleared challenge goes back to the list";
    EXPECT_GT(Find(trace, "music slot 2 ogg bgm\\Challenge.ogg loop 1", back), back) << "with the list's music";
    EXPECT_GE(Find(trace, "scene switch 3 -> 0", back), 0) << "X goes back to the title";
    ExpectStopOrder(trace);
  }
  // The mark on the third row, where the cursor came back to, and on no other.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Marked(cleared, i), i == 2) << i;
  KeepShot(cleared, "challenge_cleared.png");
  EXPECT_NE(FileBytes(Game() / "user_data" / "challenge" / "c03.rkg").find("ABC"), std::string::npos);

  // The same game with 25 challenge stages: the progress written for three is read again.
  InGame([] {
    cSystemData system;
    ASSERT_EQ(system.LoadFile(ProjectPathTable[kPathSystem].c_str()), 1);
    system.m_ChallengeStageCount = 25;
    ASSERT_EQ(system.SaveFile(ProjectPathTable[kPathSystem].c_str()), 1);
  });
  const std::string ranking = (m_Folder / "ranking.png").string();
  const std::string paged = (m_Folder / "paged.png").string();
  ASSERT_EQ(Run({"--headless", "--seed", "7", "--frames", "300", "--input", listKeys.string(), "--trace",
                 Trace("list.txt"), "--shot", "120:" + ranking, "--shot", "200:" + paged}),
            0);
  const std::vector<std::string> trace = Lines(Trace("list.txt"));
  const int toList = Find(trace, "scene switch 0 -> 3");
  ASSERT_GE(toList, 0);
  EXPECT_EQ(CountFrom(trace, "sound play 6 buffer 0", toList), 2) << "C shows the ranking and hides it again";
  int box = -1;
  for (int i = toList; i < static_cast<int>(trace.size()) && box < 0; ++i)
    if (trace[static_cast<std::size_t>(i)].find("ステージファイル data\\stg4\\c22-1.stg4 が読み込めません！") != std::string::npos)
      box = i;
  ASSERT_GE(box, 0) << "row 22, ten down and a page on, has no stage file";
  EXPECT_EQ(Find(trace, "sound play 3 buffer 0", toList), box - 1) << "the refusal sound, then the box";
  EXPECT_EQ(Find(trace, "scene switch 3 -> 4", toList), -1) << "no play after the refusal";
  EXPECT_GT(Find(trace, "scene switch 3 -> 0", box), box) << "the list stayed until X";
  ExpectStopOrder(trace);

  // The ranking window with the name entered stands where the high-score heading was; the paged
  // list shows rows 13 to 22 with the cursor on the last, and none of them cleared.
  EXPECT_NE(PixelAt(ranking, 400, 140), PixelAt(cleared, 400, 140));
  EXPECT_TRUE(Marked(ranking, 2)) << "the clear was read back";
  EXPECT_FALSE(Marked(ranking, 3));
  EXPECT_EQ(PixelAt(paged, 40, MarkY(9)), PixelAt(cleared, 40, MarkY(2))) << "the cursor on the last row";
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(Marked(paged, i)) << i;
  KeepShot(ranking, "challenge_ranking.png");
  KeepShot(paged, "challenge_paged.png");

  // The file holds the three results of the first run; read for 25 stages they are padded.
  InGame([] {
    const std::int32_t stages = g_System.m_ChallengeStageCount;
    g_System.m_ChallengeStageCount = 25;
    cSaveData progress;
    EXPECT_EQ(progress.LoadFile(ProjectPathTable[kPathChallengeProgress].c_str()), 1);
    ASSERT_EQ(progress.m_ChallengeResults.Size(), 25);
    for (int k = 0; k < 25; ++k) {
      EXPECT_EQ(progress.m_ChallengeResults.At(k).m_Cleared, k == 2 ? 1 : 0) << k;
      EXPECT_EQ(progress.m_ChallengeResults.At(k).m_BestScore, k == 2 ? 20 : 0) << "two switches, 10 each";
    }
    EXPECT_EQ(progress.m_TotalScore, 20);
    g_System.m_ChallengeStageCount = stages;
  });
}

// The option screen from the title (its fifth row; the sample hides the palette item): SE up four
// times from 7 (the last step wraps to 0) and cancelled; SE down eight times (wrapping to 10) and
// kept; BGM up from ON (wrapping to OFF) and kept; the registration mode down from 0 (wrapping to 3)
// and kept; もどる. Then back into the options, BGM on again, and X.
std::string OptionInput() {
  std::ostringstream keys;
  Choose(keys, 40, 4);
  Press(keys, 130, "DOWN");
  Press(keys, 134, "Z");
  for (int f : {138, 142, 146, 150}) Press(keys, f, "UP");
  Press(keys, 160, "X");
  Press(keys, 164, "Z");
  for (int i = 0; i < 8; ++i) Press(keys, 168 + 4 * i, "DOWN");
  Press(keys, 204, "Z");
  Press(keys, 208, "UP");
  Press(keys, 212, "Z");
  Press(keys, 216, "UP");
  Press(keys, 220, "Z");
  Press(keys, 224, "DOWN");
  Press(keys, 228, "DOWN");
  Press(keys, 232, "Z");
  Press(keys, 236, "DOWN");
  Press(keys, 240, "Z");
  Press(keys, 250, "DOWN");
  Press(keys, 254, "DOWN");
  Press(keys, 260, "Z");
  Press(keys, 360, "Z");
  Press(keys, 440, "Z");
  Press(keys, 444, "UP");
  Press(keys, 448, "Z");
  Press(keys, 452, "X");
  return keys.str();
}

void PutU32(std::string& bytes, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
}

TEST_F(MenusRunTest, OptionsWrapCancelTurnTheMusicOffAndOnAndRewriteOptionDat) {
  UseSampleGame();
  InGame([] {
    cOption saved;
    saved.m_RankName = "xyz";
    fs::create_directories("user_data");
    ASSERT_EQ(saved.Save(ProjectPathTable[kPathOption].c_str()), 1);
  });
  const fs::path keys = m_Folder / "option_keys.txt";
  std::ofstream(keys) << OptionInput();
  const std::string edit = (m_Folder / "edit.png").string();
  const std::string menu = (m_Folder / "menu.png").string();
  ASSERT_EQ(Run({"--headless", "--seed", "7", "--frames", "520", "--input", keys.string(), "--trace", Trace(),
                 "--shot", "155:" + edit, "--shot", "245:" + menu}),
            0);
  const std::vector<std::string> trace = Lines(Trace());
  const int first = Find(trace, "scene switch 0 -> 5");
  ASSERT_GE(first, 0);
  const int left = Find(trace, "scene switch 5 -> 0", first);
  const int music = Find(trace, "music slot 3 midi bgm\\Title.mid loop 1", first);
  EXPECT_TRUE(music > first && music < left) << "the option music";
  const int second = Find(trace, "scene switch 0 -> 5", left);
  const int leftAgain = Find(trace, "scene switch 5 -> 0", second);
  ASSERT_GT(left, first);
  ASSERT_GT(second, left);
  ASSERT_GT(leftAgain, second);

  // Heard at once, step by step: 8, 9, 10, 0; the cancel gives 7 back; then 6 ... 0 and 10.
  std::vector<std::string> volumes;
  for (int i = first; i < left; ++i) {
    const std::string& line = trace[static_cast<std::size_t>(i)];
    if (line.starts_with("sound volume 0 buffer 0 ")) volumes.push_back(line.substr(24));
  }
  const std::vector<std::string> wanted = {"-80",  "-30",   "0",     "-10000", "-150",   "-300",
                                           "-500", "-800",  "-1300", "-2000",  "-3000", "-10000", "0"};
  EXPECT_EQ(volumes, wanted);
  EXPECT_EQ(CountFrom(trace, "sound volume 22 buffer 0 ", first), static_cast<int>(wanted.size()))
      << "every sound of the table, the project's last one too";

  // Music off: the title after the first visit plays nothing, nor does the second visit; music on
  // again: the title plays its tune after the second.
  EXPECT_EQ(CountFrom(trace, "music slot", left) - CountFrom(trace, "music slot", leftAgain), 0);
  EXPECT_GT(Find(trace, "music slot 0 midi bgm\\Title.mid loop 1", leftAgain), leftAgain);
  ExpectStopOrder(trace);

  // The options as left: palette 0, music on, volume 10, mode 3 and the name read at start-up.
  std::string expected;
  for (std::uint32_t v : {556u, 4u, 0u, 1u, 10u, 3u, 1u, 4u}) PutU32(expected, v);
  expected += std::string("xyz\0", 4);
  EXPECT_EQ(FileBytes(Game() / "user_data" / "Option.dat"), expected);

  // The value cursor stands before the edited value only while it is edited.
  EXPECT_NE(PixelAt(edit, 200, 120), PixelAt(menu, 200, 120));
  KeepShot(edit, "option_edit.png");
  KeepShot(menu, "option_menu.png");
}

}  // namespace
