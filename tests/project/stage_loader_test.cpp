// Loading a stage file on the loader thread: the numbered name, the three reports, a quit request
// during the load, and damaged files on disk.
#include <atomic>
#include <fstream>

#include "platform/host/message_queue.h"
#include "tests/project/stage_fixture.h"

namespace {

using stagetest::StageTest;

constexpr const char* kReadFailed = "ステージファイル %s の読み込みに失敗しました！";
constexpr const char* kDamaged = "ステージファイル %s が破損しています！";
constexpr const char* kNoHero = "主人公が配置されていないのでプレイできません！";

std::string Filled(const char* utf8, const std::string& path) {
  std::string text = utf8;
  text.replace(text.find("%s"), 2, path);
  return text;
}

class StageLoaderTest : public StageTest {
 protected:
  // A stage with a hero (unless told otherwise) and charas more characters, saved at path.
  void SaveStage(const std::string& path, const std::string& name, bool hero = true, int charas = 0) {
    cStageData stage;
    stage.m_Name = name;
    stage.SetField(kStageWidth, 40);
    if (hero) stage.m_PlacedCharas.push_back(stagetest::Hero());
    stage.m_PlacedCharas.resize(stage.m_PlacedCharas.size() + static_cast<std::size_t>(charas));
    ASSERT_EQ(stage.SaveFile(path.c_str()), 1);
  }
  int BoxCount() const { return static_cast<int>(m_Boxes.size()); }
};

TEST_F(StageLoaderTest, LoadsIntoTheLiveStageAndCopiesTheHeader) {
  SaveStage("forest.stg4_001", "forest");
  g_PlayState.m_PlacedCharas.resize(3);
  ASSERT_EQ(LoadStageFile("forest.stg4_001", 0, &g_PlayState), 1u);
  EXPECT_EQ(g_Stage.m_Loaded, 1u);
  EXPECT_EQ(g_Stage.m_Name, "forest");
  EXPECT_EQ(g_Stage.m_FileName, "forest.stg4_001");
  EXPECT_EQ(g_Stage.m_PlacedCharas.size(), 1u);
  EXPECT_EQ(g_PlayState.m_Name, "forest");
  EXPECT_EQ(g_PlayState.Field(kStageWidth), 40);
  EXPECT_TRUE(g_PlayState.m_PlacedCharas.empty());
  EXPECT_EQ(BoxCount(), 0);
  // A null header copy is no copy at all.
  EXPECT_EQ(LoadStageFile("forest.stg4_001", 0, nullptr), 1u);
}

TEST_F(StageLoaderTest, NumberedNameLoadsTheNewestFile) {
  SaveStage("c1.stg4_001", "old");
  SaveStage("c1.stg4_556", "new");
  ASSERT_EQ(LoadStageFile("c1.stg4", 1, &g_PlayState), 1u);
  EXPECT_EQ(g_Stage.m_Name, "new");
  EXPECT_EQ(g_Stage.m_FileName, "c1.stg4_556");
  EXPECT_EQ(g_Stage.m_NumberedName, 1u);
  // No numbered file at all: 0 without a word.
  EXPECT_EQ(LoadStageFile("c2.stg4", 1, &g_PlayState), 0u);
  EXPECT_EQ(BoxCount(), 0);
}

TEST_F(StageLoaderTest, EachFailureIsReportedOnce) {
  EXPECT_EQ(LoadStageFile("missing.stg4_001", 0, &g_PlayState), 0u);
  EXPECT_EQ(BoxesSaying(Filled(kReadFailed, "missing.stg4_001")), 1);
  EXPECT_EQ(BoxCount(), 1);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);

  SaveStage("nobody.stg4_001", "nobody", false);
  EXPECT_EQ(LoadStageFile("nobody.stg4_001", 0, &g_PlayState), 0u);
  EXPECT_EQ(BoxesSaying(kNoHero), 1);
  EXPECT_EQ(BoxCount(), 2);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);

  // The marker is wrong: the check refuses it before the loader starts.
  SaveStage("broken.stg4_001", "broken");
  std::string bytes = ReadHostFile("broken.stg4_001");
  bytes.back() = 0;
  WriteHostFile("broken.stg4_001", bytes);
  EXPECT_EQ(LoadStageFile("broken.stg4_001", 0, &g_PlayState), 0u);
  EXPECT_EQ(BoxesSaying(Filled(kDamaged, "broken.stg4_001")), 1);
  EXPECT_EQ(BoxCount(), 3);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(StageLoaderTest, DamagedBodyWithAGoodMarkerIsReportedAsDamaged) {
  SaveStage("inflated.stg4_001", "inflated");
  std::string bytes = ReadHostFile("inflated.stg4_001");
  // The result-switch count follows the header body: version, count, 416 bytes of values, the name.
  const std::size_t switchCount = 4 + 4 + 416 + 4 + 4 + std::string("inflated").size() + 1;
  ASSERT_EQ(bytes[switchCount], 5);
  bytes[switchCount + 3] = 0x40;
  WriteHostFile("inflated.stg4_001", bytes);
  EXPECT_EQ(LoadStageFile("inflated.stg4_001", 0, &g_PlayState), 0u);
  EXPECT_EQ(BoxesSaying(Filled(kDamaged, "inflated.stg4_001")), 1);
  EXPECT_EQ(BoxCount(), 1);
  EXPECT_EQ(g_Stage.m_Loaded, 0u);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(StageLoaderTest, TruncatedFilesOnDiskAreDamaged) {
  SaveStage("whole.stg4_001", "whole", true, 3);
  const std::string whole = ReadHostFile("whole.stg4_001");
  for (std::size_t cut = 64; cut < whole.size(); cut += 64) {
    WriteHostFile("cut.stg4_001", whole.substr(0, cut));
    m_Boxes.clear();
    EXPECT_EQ(LoadStageFile("cut.stg4_001", 0, &g_PlayState), 0u);
    EXPECT_EQ(BoxesSaying(Filled(kDamaged, "cut.stg4_001")), 1) << "cut at " << cut;
  }
}

// The thread that calls LoadStageFile is asked to quit: the load ends and nothing is reported.
TEST_F(StageLoaderTest, QuitRequestEndsTheLoad) {
  SaveStage("big.stg4_001", "big", true, 3000);
  struct Run {
    std::atomic<std::uint32_t> result{7};
    std::atomic<std::uint32_t> first{0};
    std::atomic<std::uint32_t> second{0};
  } run;
  cThread caller;
  ASSERT_TRUE(caller.Start(
      [](void* arg) -> std::uint32_t {
        auto* r = static_cast<Run*>(arg);
        CurrentThreadQueue()->Post(HostMessage(WM_USER + 9));
        CurrentThreadQueue()->Post(HostMessage(WM_QUIT));
        r->result = LoadStageFile("big.stg4_001", 0, &g_PlayState);
        // What the caller's own loop had waiting is still there for it, the quit request last.
        if (auto msg = CurrentThreadQueue()->TryTake()) r->first = msg->message;
        if (auto msg = CurrentThreadQueue()->TryTake()) r->second = msg->message;
        return 0;
      },
      &run));
  caller.Wait();
  EXPECT_EQ(run.result.load(), 0u);
  EXPECT_EQ(run.first.load(), WM_USER + 9);
  EXPECT_EQ(run.second.load(), WM_QUIT);
  EXPECT_EQ(BoxCount(), 0);
  EXPECT_EQ(g_Stage.m_Loaded, 0u);
  EXPECT_EQ(g_StageLoaderThread.m_hThread.load(), 0u);

  // The loader itself stops between records when it is asked to quit, and reports no damage.
  g_Stage.m_FileName = "big.stg4_001";
  cThread loader;
  ASSERT_TRUE(loader.Start(
      [](void* arg) -> std::uint32_t {
        CurrentThreadQueue()->Post(HostMessage(WM_QUIT));
        static_cast<Run*>(arg)->result = StageLoaderThreadProc(nullptr);
        return 0;
      },
      &run));
  loader.Wait();
  EXPECT_EQ(run.result.load(), 0u);
  EXPECT_EQ(g_Stage.m_Loaded, 0u);
  EXPECT_TRUE(g_Stage.m_PlacedCharas.empty());
}

}  // namespace
