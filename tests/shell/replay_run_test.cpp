// Replays from outside: the real player records an attempt from scripted keys, saves it with F1
// through the save dialog's answer, and plays it back headless with the same hero and the same
// digests in both renderers; replays without a hero or damaged are refused with the stage file's
// boxes, from the title's replay item and from the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/services/record.h"
#include "project/project_paths.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "tests/shell/headless_run_fixture.h"

namespace {

using namespace headless_run;

constexpr const char* kStage = "data\\stg4\\fall.stg4";
constexpr const char* kReplay = "user_data\\rpl4\\fall.rpl4_556";

// Held keys by the frame from which they are held: walking right, a jump, walking back.
const std::map<unsigned, std::string> kKeys = {
    {100, "RIGHT"}, {130, "RIGHT Z"}, {140, "RIGHT"}, {170, ""}, {200, "LEFT"}, {240, "LEFT Z"}, {250, ""}};

// リプレイ is the fifth entry of the title menu (once shown); the file comes from the open dialog.
constexpr const char* kChooseReplay = "40 DOWN\n42\n44 DOWN\n46\n48 DOWN\n50\n52 DOWN\n54\n56 Z\n58\n";

// The totals of a digest list, frame 1 first.
std::vector<std::uint64_t> ListTotals(const fs::path& list) {
  std::vector<std::uint64_t> totals;
  for (const std::string& line : Lines(list))
    if (!line.empty() && line.front() != '#') totals.push_back(std::strtoull(line.c_str() + line.find(' '), nullptr, 16));
  return totals;
}

// The input script of kKeys, with F1 added to the keys of frame f1 only (0: never).
std::string Script(unsigned f1) {
  std::map<unsigned, std::string> lines = kKeys;
  if (f1 != 0) {
    auto held = [](unsigned frame) {
      auto it = kKeys.upper_bound(frame);
      return it == kKeys.begin() ? std::string() : std::prev(it)->second;
    };
    lines[f1 + 1] = held(f1 + 1);
    lines[f1] = held(f1) + " F1";
  }
  std::string text;
  for (const auto& [frame, keys] : lines) text += std::to_string(frame) + " " + keys + "\n";
  return text;
}

// The frame whose state line follows the nth trace line "play state NAME" (n from 1); 0 if none.
unsigned FrameOfState(const std::vector<std::string>& trace, const std::string& state, int n) {
  int seen = 0;
  for (std::size_t i = 0; i < trace.size(); ++i) {
    if (trace[i] != "play state " + state || ++seen != n) continue;
    for (std::size_t j = i + 1; j < trace.size(); ++j) {
      unsigned frame = 0;
      if (std::sscanf(trace[j].c_str(), "frame=%u ", &frame) == 1) return frame;
    }
  }
  return 0;
}

std::string FirstLine(const fs::path& file) {
  const std::vector<std::string> lines = Lines(file);
  return lines.empty() ? std::string() : lines.front();
}

void UseRenderer(const fs::path& game, int direct3D) {
  const fs::path ini = game / "System.ini";
  std::ifstream in(ini, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = text.find("Direct3D=");
  ASSERT_NE(at, std::string::npos);
  text[at + 9] = static_cast<char>('0' + direct3D);
  std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
}

class ReplayRunTest : public HeadlessRunTest {
 protected:
  // The sample hides the title's replay entry; a player with replays of its own shows it.
  void ShowReplayEntry() {
    const fs::path before = fs::current_path();
    fs::current_path(Game());
    cSystemData system;
    const char* path = ProjectPathTable[kPathSystem].c_str();
    ASSERT_EQ(system.LoadFile(path), 1);
    system.m_TitleMenu.At(4).m_Shown = 1;
    ASSERT_EQ(system.SaveFile(path), 1);
    fs::current_path(before);
  }

  // A replay of the fall stage made in the game folder: with its hero or without, whole or cut.
  void MakeReplay(const char* path, bool withHero, bool cut) {
    const fs::path before = fs::current_path();
    fs::current_path(Game());
    cStageData stage, header;
    {
      RecordReadFile file = OpenRecordRead(kStage);
      ASSERT_TRUE(file);
      stage.Read(*file);
      ASSERT_FALSE(file->Damaged());
      CloseRecordFile(file);
    }
    header.CopyHeaderFrom(stage);
    if (!withHero) stage.m_PlacedCharas.erase(stage.m_PlacedCharas.begin() + stage.FindHeroRecord());
    cReplayRecord record;
    record.m_Seed = 3;
    const std::uint16_t words[2] = {0, 0};
    for (int i = 0; i < 50; ++i) record.RecordFrameInput(words);
    cSaveData progress;
    progress.Reset();
    fs::create_directories("user_data/rpl4");
    ASSERT_EQ(record.WriteReplayFile(path, stage, header, progress), 1);
    fs::current_path(before);
    if (cut) {
      std::string host = path;
      std::replace(host.begin(), host.end(), '\\', '/');
      const fs::path file = Game() / host;
      fs::resize_file(file, fs::file_size(file) / 2);
    }
  }
};

TEST_F(ReplayRunTest, AnAttemptSavedWithF1PlaysBackAlikeInBothRenderers) {
  UseSampleGame();
  const fs::path input = m_Folder / "input.txt";
  const std::vector<std::string> common = {"--headless", "--seed", "7", "--trace-state", kStage};

  // The attempt as it is played: where it dies and is tried again.
  std::ofstream(input) << Script(0);
  std::vector<std::string> args = common;
  args.insert(args.end(), {"--frames", "700", "--input", input.string(), "--trace", Trace("live.txt")});
  ASSERT_EQ(Run(args), 0);
  std::vector<std::string> live = Lines(Trace("live.txt"));
  const unsigned played = FrameOfState(live, "2 play", 1);
  const unsigned retried = FrameOfState(live, "1 ready", 2);
  ASSERT_GT(played, 0u);
  ASSERT_GT(retried, played) << "the hero dies and the stage is tried again";
  ASSERT_GE(Count(live, "sound play 8 "), 1);

  // The same play, saved with F1 in the last frame of the first attempt.
  const unsigned f1 = retried - 1;
  std::ofstream(input, std::ios::trunc) << Script(f1);
  args = common;
  args.insert(args.end(), {"--frames", std::to_string(retried + 20), "--input", input.string(), "--trace",
                           Trace("saved.txt"), "--answer", std::string("save-replay=") + kReplay});
  ASSERT_EQ(Run(args), 0);
  live = Lines(Trace("saved.txt"));
  ASSERT_TRUE(fs::exists(Game() / "user_data" / "rpl4" / "fall.rpl4_556"));
  EXPECT_EQ(Count(live, "sound play 1 "), 1) << "one save, for one frame of F1";
  const std::vector<StateLine> liveLines = StateLines(live);

  // Played back headless with the digests recorded (Direct3D, as the sample starts).
  const fs::path digests = m_Folder / "fall.digests";
  ASSERT_EQ(Run({"--headless", "--replay", kReplay, "--trace-state", "--trace", Trace("back.txt"),
                 "--record-digests", digests.string()},
                60, m_Folder / "record.out"),
            0);
  const std::vector<std::string> back = Lines(Trace("back.txt"));
  const std::vector<StateLine> backLines = StateLines(back);
  const unsigned backPlayed = FrameOfState(back, "2 play", 1);
  ASSERT_GT(backPlayed, 0u);
  // The recorded frames are those of the attempt before the F1 frame, which only saved.
  const unsigned attempt = f1 - played;
  ASSERT_GE(backLines.size(), backPlayed - 1 + attempt);
  for (unsigned k = 0; k < attempt; ++k) {
    const StateLine& a = liveLines[played - 1 + k];
    const StateLine& b = backLines[backPlayed - 1 + k];
    ASSERT_TRUE(a.x1 == b.x1 && a.y1 == b.y1 && a.vx == b.vx && a.vy == b.vy && a.hp == b.hp)
        << "frame " << k << " of the attempt: live " << a.x1 << "," << a.y1 << " replay " << b.x1 << "," << b.y1;
  }
  // Its recorded input used up, the replay starts over, and the check stops there (a frame
  // presented while the program closes is not checked).
  const unsigned frames = FrameOfState(back, "1 ready", 2);
  ASSERT_GT(frames, backPlayed);
  EXPECT_GE(Find(back, "replay check done " + std::to_string(frames)), 0);
  EXPECT_EQ(FirstLine(m_Folder / "record.out"), "digests recorded, " + std::to_string(frames) + " frames");
  for (unsigned i = 0; i < frames; ++i) ASSERT_NE(backLines[i].digest, 0u) << "frame " << i + 1;

  // The same file and list in DirectDraw, and again in Direct3D.
  for (int direct3D : {0, 1}) {
    SCOPED_TRACE(direct3D ? "Direct3D" : "DirectDraw");
    UseRenderer(Game(), direct3D);
    const fs::path out = m_Folder / "verify.out";
    EXPECT_EQ(Run({"--verify-replay", kReplay, "--digests", digests.string()}, 60, out), 0);
    EXPECT_EQ(FirstLine(out), "replay matches, " + std::to_string(frames) + " frames");
  }

  // Chosen with the title's replay item, the play-back goes through the same states once its scene
  // has begun.
  ShowReplayEntry();
  const fs::path titleInput = m_Folder / "title.txt";
  std::ofstream(titleInput) << kChooseReplay;
  ASSERT_EQ(Run({"--headless", "--frames", std::to_string(frames + 200), "--input", titleInput.string(), "--answer",
                 std::string("open-replay=") + kReplay, "--trace", Trace("title_trace.txt"), "--trace-state"}),
            0);
  const std::vector<std::uint64_t> totals = ListTotals(digests);
  ASSERT_EQ(totals.size(), frames);
  std::vector<std::uint64_t> fromTitle;
  for (const StateLine& l : StateLines(Lines(Trace("title_trace.txt")))) fromTitle.push_back(l.digest);
  const auto start = std::find(fromTitle.begin(), fromTitle.end(), totals.front());
  ASSERT_NE(start, fromTitle.end()) << "the first frame of the play-back";
  ASSERT_GE(fromTitle.end() - start, static_cast<std::ptrdiff_t>(frames));
  for (unsigned k = 0; k < frames; ++k) ASSERT_EQ(start[k], totals[k]) << "frame " << k + 1 << " of the play-back";

  // A list that does not belong to the replay is a difference, named by its frame, with exit 1.
  std::vector<std::string> list = Lines(digests);
  ASSERT_GT(list.size(), 10u);
  const fs::path other = m_Folder / "other.digests";
  {
    std::ofstream o(other);
    for (std::size_t i = 0; i + 1 < list.size(); ++i) o << list[i] << "\n";
  }
  const fs::path out = m_Folder / "short.out";
  EXPECT_EQ(Run({"--verify-replay", kReplay, "--digests", other.string()}, 60, out), 1);
  EXPECT_EQ(FirstLine(out),
            "replay differs at frame " + std::to_string(frames) + ": the list ends at frame " + std::to_string(frames - 1));
}

TEST_F(ReplayRunTest, AReplayWithoutAHeroOrDamagedIsRefusedWithTheStageFilesBox) {
  UseSampleGame();
  ShowReplayEntry();
  struct Case {
    const char* path;
    bool withHero;
    bool cut;
    std::string box;  // the text of the box, UTF-8
  };
  const Case cases[] = {
      {"user_data\\rpl4\\nohero.rpl4_556", false, false, "主人公が配置されていないのでプレイできません！"},
      {"user_data\\rpl4\\cut.rpl4_556", true, true,
       "ステージファイル user_data\\rpl4\\cut.rpl4_556 が破損しています！"},
  };
  const fs::path input = m_Folder / "title.txt";
  std::ofstream(input) << kChooseReplay;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    MakeReplay(c.path, c.withHero, c.cut);
    const auto size = fs::file_size(Game() / "user_data" / "rpl4" / std::string(c.path).substr(15));
    const std::string trace = Trace("title_trace.txt");
    ASSERT_EQ(Run({"--headless", "--frames", "400", "--input", input.string(), "--answer",
                   std::string("open-replay=") + c.path, "--trace", trace}),
              0);
    std::vector<std::string> lines = Lines(trace);
    EXPECT_GE(Find(lines, std::string("dialog open リプレイファイルの選択: ") + c.path), 0);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.starts_with("box ") && l.find(c.box) != std::string::npos; }),
              1);
    EXPECT_LT(Find(lines, "scene switch 0 -> 4"), 0) << "nothing is played";
    EXPECT_LT(Find(lines, "frames 400 done"), 0) << "the program closes at once";
    ExpectStopOrder(lines);

    // From the command line: the same box, and a check that fails.
    const std::string verifyTrace = Trace("verify_trace.txt");
    const fs::path out = m_Folder / "verify.out";
    std::ofstream(m_Folder / "empty.digests") << "# frame total\n";
    EXPECT_EQ(Run({"--verify-replay", c.path, "--digests", (m_Folder / "empty.digests").string(), "--trace",
                   verifyTrace},
                  60, out),
              1);
    lines = Lines(verifyTrace);
    EXPECT_GE(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.starts_with("box ") && l.find(c.box) != std::string::npos; }),
              1);
    EXPECT_EQ(FirstLine(out), "replay differs at frame 1: the run ended before the replay did");
    EXPECT_EQ(fs::file_size(Game() / "user_data" / "rpl4" / std::string(c.path).substr(15)), size)
        << "the replay is only read";
  }
}

}  // namespace
