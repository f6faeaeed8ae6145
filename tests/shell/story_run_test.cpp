// A whole story played by the real player, headless on the sample game, from a script of keys: a
// new game on the world map, blocked steps, the prompt of the first stage declined and then taken,
// its two halves cleared by running to their goal signs, the map again with the next stage open
// and the progress auto-saved before the first frame, the save menu, and the title. A second start
// continues from the slot with the map position and the progress kept.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/screen.h"
#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

using StoryRunTest = HeadlessRunTest;

// Keys for --input: each press is held two frames, then every key is let go.
class cKeyScript {
 public:
  cKeyScript& Press(int frame, const char* keys) {
    m_Lines << frame << ' ' << keys << '\n' << frame + 2 << '\n';
    return *this;
  }
  cKeyScript& Line(int frame, const char* keys) {
    m_Lines << frame << ' ' << keys << '\n';
    return *this;
  }
  std::string Text() const { return m_Lines.str(); }

 private:
  std::ostringstream m_Lines;
};

// The map shows the start at (3, 12): grass left and right of it, sand below, the first stage (the
// meadow, entered on arrival) above at (3, 11), the rock on the road at (5, 11).
constexpr int kStageDecide = 410;  // the prompt's first line, taken
constexpr int kBackOnMap = 2520;   // the map after the stage, shown

std::string FirstRunKeys() {
  cKeyScript keys;
  keys.Press(40, "Z");  // はじめから
  // Blocked right and down; up arrives on the meadow and its prompt opens on its second line: no.
  keys.Press(120, "RIGHT").Press(130, "DOWN").Press(140, "UP").Press(150, "Z");
  // The map's menu: save into slot 1, then switch auto-save on, then back to the map.
  keys.Press(160, "X");
  keys.Press(230, "Z").Press(240, "Z").Press(250, "UP").Press(260, "Z").Press(270, "X");
  keys.Press(280, "DOWN").Press(290, "Z").Press(300, "UP").Press(310, "Z").Press(320, "X");
  // The prompt again, its first line this time.
  keys.Press(390, "UP").Press(400, "UP").Press(kStageDecide, "Z");
  // Both halves of the meadow: run right, jumping, to each goal sign; then leave the result.
  const int run = kStageDecide + 248;
  // The second goal is reached near frame run + 1530: every key is let go before the map comes.
  for (int f = run; f < run + 1560; f += 40) keys.Line(f, "RIGHT").Line(f + 20, "RIGHT Z").Line(f + 34, "RIGHT");
  keys.Line(run + 1560, "");
  keys.Press(run + 1800, "Z");
  // The meadow's ranking shown and hidden again (C).
  keys.Press(kBackOnMap + 20, "C").Press(kBackOnMap + 30, "C");
  // Past the rock, which the clear opened, to (6, 11); save into slot 1 again; to the title; quit.
  keys.Press(kBackOnMap + 40, "RIGHT").Press(kBackOnMap + 50, "RIGHT").Press(kBackOnMap + 60, "RIGHT");
  const int menu = kBackOnMap + 90;
  keys.Press(menu, "X");
  keys.Press(menu + 70, "Z").Press(menu + 80, "Z").Press(menu + 90, "UP").Press(menu + 100, "Z").Press(menu + 110, "X");
  keys.Press(menu + 120, "DOWN").Press(menu + 126, "DOWN").Press(menu + 132, "DOWN").Press(menu + 140, "Z");
  keys.Press(menu + 150, "UP").Press(menu + 160, "Z");
  keys.Press(menu + 240, "UP").Press(menu + 250, "Z");  // しゅうりょう, the last item
  return keys.Text();
}

std::string SecondRunKeys() {
  cKeyScript keys;
  keys.Press(40, "DOWN").Press(50, "Z").Press(60, "Z");  // つづきから, slot 1
  // Left over the rock's cell, which only a kept clear lets him pass; up is grass.
  keys.Press(140, "LEFT").Press(150, "UP").Press(160, "RIGHT").Press(170, "RIGHT");
  return keys.Text();
}

std::vector<std::string> MapLines(const std::vector<std::string>& trace) {
  std::vector<std::string> lines;
  for (const std::string& line : trace)
    if (line.starts_with("map ") || line.starts_with("scene switch ")) lines.push_back(line);
  return lines;
}

std::uint32_t PixelAt(const std::string& png, int x, int y) {
  std::vector<std::uint32_t> pixels;
  std::int32_t w = 0, h = 0;
  if (!ReadXrgbPng(png, &pixels, &w, &h) || x >= w || y >= h) return 0;
  return pixels[static_cast<std::size_t>(y * w + x)];
}

void KeepPicture(const fs::path& shot, const std::string& name) {
  fs::create_directories(s_OutputFolder);
  std::error_code ec;
  fs::copy_file(shot, s_OutputFolder / name, fs::copy_options::overwrite_existing, ec);
}

TEST_F(StoryRunTest, ANewStoryIsPlayedSavedAndContinuedFromItsSlot) {
  UseSampleGame();
  const fs::path input = m_Folder / "input1.txt";
  std::ofstream(input) << FirstRunKeys();
  const fs::path mapShot = m_Folder / "map.png", promptShot = m_Folder / "prompt.png";
  const fs::path menuShot = m_Folder / "menu.png", saveShot = m_Folder / "save.png";
  const fs::path clearedShot = m_Folder / "cleared.png", rankingShot = m_Folder / "ranking.png";
  const fs::path hiddenShot = m_Folder / "hidden.png";
  const int menu = kBackOnMap + 90;
  ASSERT_EQ(Run({"--headless", "--seed", "7", "--frames", std::to_string(menu + 400), "--input", input.string(),
                 "--trace", Trace("trace1.txt"), "--trace-state", "--shot", "115:" + mapShot.string(), "--shot",
                 "145:" + promptShot.string(), "--shot", "225:" + menuShot.string(), "--shot",
                 "255:" + saveShot.string(), "--shot", std::to_string(kBackOnMap + 26) + ":" + rankingShot.string(), "--shot",
                 std::to_string(kBackOnMap + 36) + ":" + hiddenShot.string(), "--shot",
                 std::to_string(kBackOnMap + 75) + ":" + clearedShot.string()},
                120),
            0);
  const std::vector<std::string> trace = Lines(Trace("trace1.txt"));
  const std::vector<std::string> map = MapLines(trace);
  const std::vector<std::string> expected = {
      "scene switch 0 -> 0", "scene switch 0 -> 1", "map enter 3 12",
      // Grass and sand turn him but keep him; the meadow opens its prompt, and no steps him back.
      "map blocked 4 12", "map blocked 3 13", "map step 3 11", "map prompt 3 11",
      "scene switch 1 -> 2", "scene switch 2 -> 1", "map enter 3 12", "map step 3 11", "map prompt 3 11",
      "scene switch 1 -> 4",
      // The meadow's second half is played in the same play scene; then the map, saved at once.
      "scene switch 4 -> 1", "map auto-save slot 1", "map enter 3 11", "map step 4 11", "map step 5 11",
      "map step 6 11", "scene switch 1 -> 2", "scene switch 2 -> 0"};
  EXPECT_EQ(map, expected);
  EXPECT_EQ(Count(trace, "frames "), 0) << "closed by the title's last item, not by the frame count";

  // The stage: both halves played to their clears.
  EXPECT_EQ(Count(trace, "play state 4 result"), 2);
  // The auto-save came before the first frame of the map.
  const int back = Find(trace, "scene switch 4 -> 1");
  const int saved = Find(trace, "map auto-save slot 1", back);
  ASSERT_GE(saved, 0);
  for (int i = back; i < saved; ++i) EXPECT_FALSE(trace[static_cast<std::size_t>(i)].starts_with("frame=")) << i;
  // The ranking shown and hidden on the cleared meadow: the switch sound twice, the window over
  // the map at (367, 64) only while shown.
  EXPECT_EQ(Count(trace, "sound play 6 "), 2);
  EXPECT_NE(PixelAt(rankingShot.string(), 500, 300), PixelAt(hiddenShot.string(), 500, 300));
  EXPECT_EQ(PixelAt(rankingShot.string(), 100, 300), PixelAt(hiddenShot.string(), 100, 300));
  // Saves heard as saves: slot 1 twice from the menu.
  EXPECT_EQ(Count(trace, "sound play 5 "), 2);
  ExpectStopOrder(trace);
  ASSERT_TRUE(fs::exists(Game() / "user_data" / "story" / "Story01.dat"));

  // Pictures: the map with the hero on the start, the prompt, the menu and its slot list, and the
  // map after the clear.
  for (const auto& [shot, name] : {std::pair{mapShot, "story_world_map.png"}, std::pair{promptShot, "story_prompt.png"},
                                   std::pair{menuShot, "story_map_menu.png"}, std::pair{saveShot, "story_save_page.png"},
                                   std::pair{rankingShot, "story_map_ranking.png"},
                                   std::pair{clearedShot, "story_map_cleared.png"}}) {
    ASSERT_TRUE(fs::exists(shot)) << name;
    KeepPicture(shot, name);
  }
  EXPECT_NE(PixelAt(mapShot.string(), 300, 236), PixelAt(menuShot.string(), 300, 236));
  // The meadow's marker: before the clear one cell above the hero, after it three cells left of
  // him and in its cleared colour.
  EXPECT_NE(PixelAt(mapShot.string(), 9 * 32 + 16, 6 * 32 + 16), PixelAt(clearedShot.string(), 6 * 32 + 16, 7 * 32 + 16));

  // The second start continues from slot 1: the hero where he was saved, the rock's cell open.
  const fs::path input2 = m_Folder / "input2.txt";
  std::ofstream(input2) << SecondRunKeys();
  ASSERT_EQ(Run({"--headless", "--seed", "7", "--frames", "200", "--input", input2.string(), "--trace",
                 Trace("trace2.txt")}),
            0);
  const std::vector<std::string> expected2 = {"scene switch 0 -> 0", "scene switch 0 -> 1", "map enter 6 11",
                                              "map step 5 11",       "map blocked 5 10",    "map step 6 11",
                                              "map step 7 11"};
  EXPECT_EQ(MapLines(Lines(Trace("trace2.txt"))), expected2);
}

}  // namespace
