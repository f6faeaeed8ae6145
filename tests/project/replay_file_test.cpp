// Replay files on disk: the layout and its round trip, the old files without a progress record,
// the refusals (damaged, no hero) that leave the player's records alone, and the save-as dialog's
// proposed name.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/file_dialogs.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "tests/project/chara_item_fixture.h"
#include "tests/project/stage_fixture.h"

namespace {

constexpr const char* kDamaged = "ステージファイル %s が破損しています！";
constexpr const char* kNoHero = "主人公が配置されていないのでプレイできません！";

std::string Filled(const char* utf8, const std::string& path) {
  std::string text = utf8;
  text.replace(text.find("%s"), 2, path);
  return text;
}

// The stage part of a replay file of version (after its version word), hand-built, with a hero
// placed unless told otherwise. The end marker belongs to files from 173 on.
cByteBuilder OldReplayStage(std::uint32_t version, bool hero) {
  stagetest::OldStage old;
  old.version = version;
  old.name = "old";
  old.withMarker = version >= 173;
  old.placedCounts = {0, hero ? 1u : 0u, 0};
  std::vector<std::uint8_t> bytes = old.Build().Data();
  bytes.erase(bytes.begin(), bytes.begin() + 4);  // the version word is the replay file's
  // Cut after the count of placed characters: items, layers and texts (and the marker) follow it.
  bytes.resize(bytes.size() - 12 - (old.withMarker ? 4 : 0));
  cByteBuilder stage;
  stage.Bytes(bytes);
  if (hero) {
    charatest::CharaValues values;
    values.chipIndex = 1;
    values.op = 0;
    stage.U32(0).Append(charatest::CharaRecord(version, values));
  }
  stage.U32(0).U32(0).U32(0);
  if (old.withMarker) stage.U32(kStageEndMarker);
  return stage;
}

cByteBuilder StreamsBody(std::uint32_t seed, std::uint16_t a, std::uint16_t b, std::uint32_t runA, std::uint32_t runB) {
  cByteBuilder body;
  body.U32(1).U32(seed).U32(0);
  body.U32(1).U16(a).U32(1).U16(b).U32(1).U32(runA).U32(1).U32(runB);
  return body;
}

class ReplayFileTest : public stagetest::StageTest {
 protected:
  void SetUp() override {
    StageTest::SetUp();
    m_Stage.m_Name = "forest";
    m_Stage.SetField(kStageWidth, 40);
    m_Stage.m_PlacedCharas.push_back(stagetest::Hero());
    // The header copy of a loaded stage: normalised as every read stage is.
    m_Stage.Normalize();
    m_Header.CopyHeaderFrom(m_Stage);
    m_Header.FreeRecordLists();
    m_Header.m_Name = "forest as loaded";
    for (std::uint16_t frame = 0; frame < 50; ++frame) {
      const std::uint16_t words[2] = {static_cast<std::uint16_t>(frame / 7), static_cast<std::uint16_t>(frame / 3)};
      m_Record.RecordFrameInput(words);
    }
    m_Record.m_Seed = 123456;
    m_Progress.m_Score = 4321;
    m_Progress.m_StageName = "c1.";
    m_Progress.m_RankName = "abc";
  }
  void TearDown() override {
    SetFileDialogAnswerer({});
    StageTest::TearDown();
  }

  // Where two images first differ; empty when they are the same.
  static std::string FirstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i)
      if (a[i] != b[i]) return "byte " + std::to_string(i) + " of " + std::to_string(a.size());
    if (a.size() != b.size()) return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    return {};
  }

  std::vector<std::uint8_t> FileBytes(const std::string& path) {
    const std::string text = ReadHostFile(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
  }

  cStageData m_Stage;
  cStageData m_Header;
  cReplayRecord m_Record;
  cSaveData m_Progress;
};

TEST_F(ReplayFileTest, TheFileIsTheStageTheStreamsAndTheProgressAndRoundTrips) {
  ASSERT_EQ(m_Record.WriteReplayFile("a.rpl4_556", m_Stage, m_Header, m_Progress), 1);

  cRecordWriter expected;
  expected.WriteU32(556);
  m_Stage.WriteForReplay(expected, m_Header);
  m_Record.Write(expected);
  m_Progress.Write(expected);
  ASSERT_EQ(FirstDifference(FileBytes("a.rpl4_556"), expected.Bytes()), "");

  cStageData stage;
  cStageData header;
  header.m_PlacedCharas.resize(2);
  cReplayRecord record;
  cSaveData progress;
  ASSERT_EQ(record.ReadReplayFile("a.rpl4_556", stage, header, progress), 1);
  EXPECT_EQ(stage.m_Name, "forest as loaded");  // the header parts come from the header copy
  EXPECT_EQ(stage.m_PlacedCharas.size(), 1u);
  EXPECT_EQ(header.m_Name, "forest as loaded");
  EXPECT_EQ(header.Field(kStageWidth), 40);
  EXPECT_TRUE(header.m_PlacedCharas.empty());
  EXPECT_EQ(record.m_Seed, 123456u);
  EXPECT_EQ(record.m_ValuesA, m_Record.m_ValuesA);
  EXPECT_EQ(record.m_RunsB, m_Record.m_RunsB);
  EXPECT_EQ(progress.m_Score, 4321);
  EXPECT_EQ(progress.m_RankName, "abc");
  EXPECT_TRUE(m_Boxes.empty());

  ASSERT_EQ(record.WriteReplayFile("b.rpl4_556", stage, header, progress), 1);
  EXPECT_EQ(FirstDifference(FileBytes("b.rpl4_556"), FileBytes("a.rpl4_556")), "");
}

TEST_F(ReplayFileTest, AFileBeforeVersion173HasNoProgressAndTheProgressKeepsItsValues) {
  cByteBuilder file;
  file.U32(172).Append(OldReplayStage(172, true)).Append(StreamsBody(99, 5, 6, 2, 3));
  WriteHostFile("old.rpl4_172", file.Text());

  cStageData stage;
  cStageData header;
  cReplayRecord record;
  m_Progress.m_Lives = 7;
  ASSERT_EQ(record.ReadReplayFile("old.rpl4_172", stage, header, m_Progress), 1);
  EXPECT_EQ(stage.m_Name, "old");
  EXPECT_EQ(header.m_Name, "old");
  EXPECT_EQ(record.m_Seed, 99u);
  EXPECT_EQ(record.m_ValuesA, (CheckedVector<std::uint16_t>{5}));
  EXPECT_EQ(record.m_RunsB, (CheckedVector<std::uint32_t>{3}));
  EXPECT_EQ(m_Progress.m_Score, 4321);
  EXPECT_EQ(m_Progress.m_Lives, 7);
  EXPECT_TRUE(m_Boxes.empty());

  // From 173 on the progress belongs to the file: without it the file is cut short.
  cByteBuilder cut;
  cut.U32(173).Append(OldReplayStage(173, true)).Append(StreamsBody(99, 5, 6, 2, 3));
  WriteHostFile("cut.rpl4_173", cut.Text());
  EXPECT_EQ(record.ReadReplayFile("cut.rpl4_173", stage, header, m_Progress), 0);
  EXPECT_EQ(BoxesSaying(Filled(kDamaged, "cut.rpl4_173")), 1);
}

// What a refused replay leaves: the record (cursors too) and the progress as they were, the header
// copy untouched, one report and the program closing.
TEST_F(ReplayFileTest, RefusedReplaysLeaveThePlayersRecordsAlone) {
  cRecordWriter good;
  good.WriteU32(556);
  m_Stage.WriteForReplay(good, m_Header);
  const std::size_t streamsAt = good.Bytes().size();
  m_Record.Write(good);
  const std::size_t progressAt = good.Bytes().size();
  m_Progress.Write(good);
  const std::vector<std::uint8_t>& whole = good.Bytes();
  const cByteBuilder stagePart =
      cByteBuilder().Bytes(std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(streamsAt)));
  const cByteBuilder progressPart =
      cByteBuilder().Bytes(std::vector<std::uint8_t>(whole.begin() + static_cast<long>(progressAt), whole.end()));

  struct Case {
    std::string what;
    cByteBuilder file;
    const char* box;  // UTF-8 with %s for the path
  };
  std::vector<Case> cases = {
      {"a run of 0 frames", cByteBuilder().Append(stagePart).Append(StreamsBody(1, 5, 6, 0, 1)).Append(progressPart),
       kDamaged},
      {"runs shorter than values",
       cByteBuilder()
           .Append(stagePart)
           .U32(1)
           .U32(1)
           .U32(0)
           .U32(2)
           .U16(1)
           .U16(2)
           .U32(1)
           .U16(0)
           .U32(1)
           .U32(4)
           .U32(1)
           .U32(9)
           .Append(progressPart),
       kDamaged},
      {"a count beyond the file", cByteBuilder().Append(stagePart).U32(1).U32(1).U32(0).U32(0x7FFFFFFF).U16(1),
       kDamaged},
      {"a stage without a hero",
       cByteBuilder()
           .U32(556)
           .Append(OldReplayStage(556, false))
           .Append(StreamsBody(1, 5, 6, 1, 1))
           .Append(progressPart),
       kNoHero},
  };
  // Cuts anywhere in the file: inside the stage, the streams and the progress.
  for (std::size_t cut :
       {std::size_t{2}, std::size_t{40}, streamsAt - 1, streamsAt + 10, progressAt + 3, whole.size() - 1})
    cases.push_back(
        {"cut at " + std::to_string(cut),
         cByteBuilder().Bytes(std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut))),
         kDamaged});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_Boxes.clear();
    WriteHostFile("bad.rpl4_556", c.file.Text());
    cReplayRecord record = m_Record;
    std::uint16_t words[2];
    record.PlayFrameInput(words);
    cSaveData progress = m_Progress;
    cStageData header;
    header.m_Name = "untouched";
    cStageData stage;
    EXPECT_EQ(record.ReadReplayFile("bad.rpl4_556", stage, header, progress), 0);
    EXPECT_EQ(record.m_ValuesA, m_Record.m_ValuesA);
    EXPECT_EQ(record.m_RunsA, m_Record.m_RunsA);
    EXPECT_EQ(record.m_Seed, m_Record.m_Seed);
    EXPECT_EQ(record.m_TakenA, 1u);
    EXPECT_EQ(progress.m_Score, 4321);
    EXPECT_EQ(progress.m_StageName, "c1.");
    EXPECT_EQ(header.m_Name, "untouched");
    const std::string box = c.box == kDamaged ? Filled(kDamaged, "bad.rpl4_556") : std::string(c.box);
    EXPECT_EQ(BoxesSaying(box), 1);
    EXPECT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
  }

  // A file that is not there: 0 without a word (the caller closes the program).
  cReplayRecord record;
  cStageData stage;
  m_Boxes.clear();
  EXPECT_EQ(record.ReadReplayFile("missing.rpl4_556", stage, m_Header, m_Progress), 0);
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_EQ(record.WriteReplayFile("", m_Stage, m_Header, m_Progress), 0);
  EXPECT_EQ(record.WriteReplayFile("no_folder\\x.rpl4_556", m_Stage, m_Header, m_Progress), 0);
}

TEST_F(ReplayFileTest, AFailedWriteKeepsTheReplayThatWasThere) {
  ASSERT_EQ(m_Record.WriteReplayFile("keep.rpl4_556", m_Stage, m_Header, m_Progress), 1);
  const std::string before = ReadHostFile("keep.rpl4_556");
  cReplayRecord other;
  // A folder in the way of the temporary file stands for a disk that takes no more.
  std::filesystem::create_directory(m_Folder / "keep.rpl4_556.tmp");
  EXPECT_EQ(other.WriteReplayFile("keep.rpl4_556", m_Stage, m_Header, m_Progress), 0);
  EXPECT_EQ(ReadHostFile("keep.rpl4_556"), before);
}

class ReplaySavePathTest : public ReplayFileTest {
 protected:
  // Every dialog answered with answer; the proposals are kept.
  void Answer(std::optional<std::string> answer) {
    SetFileDialogAnswerer([this, answer](const FileDialogRequest& request) {
      m_Requests.push_back(request);
      return answer;
    });
  }
  std::vector<FileDialogRequest> m_Requests;
};

TEST_F(ReplaySavePathTest, TheFirstFreeNumberedNameIsProposed) {
  struct Case {
    const char* name;
    std::vector<const char*> existing;
    const char* proposal;
  };
  const Case cases[] = {
      {"c1.stg4", {"c1_00.rpl4_556"}, "c1_01.rpl4_556"},
      {"data\\stg4\\c5.stg4", {}, "c5_00.rpl4_556"},
      {"c2.", {"c2_00.rpl4_556", "c2_01.rpl4_556", "c2_03.rpl4_556"}, "c2_02.rpl4_556"},
      {"c3.stg4",
       {"c3_00.rpl4_556", "c3_01.rpl4_556", "c3_02.rpl4_556", "c3_03.rpl4_556", "c3_04.rpl4_556", "c3_05.rpl4_556",
        "c3_06.rpl4_556", "c3_07.rpl4_556", "c3_08.rpl4_556"},
       "c3_10.rpl4_556"},
      {"plain", {}, "plain_00.rpl4_556"},
      {"", {}, ""},
      {"data\\", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* file : c.existing) WriteHostFile(std::string("user_data/rpl4/") + file, "x");
    m_Requests.clear();
    Answer(std::nullopt);
    std::string path = "stale";
    EXPECT_EQ(ChooseReplaySavePath(path, c.name), 0u);
    ASSERT_EQ(m_Requests.size(), 1u);
    EXPECT_EQ(m_Requests[0].proposedName, c.proposal);
  }
}

TEST_F(ReplaySavePathTest, WhenAll81AreTakenTheLastIsProposed) {
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j)
      WriteHostFile("user_data/rpl4/c1_" + std::to_string(i) + std::to_string(j) + ".rpl4_556", "x");
  Answer(std::nullopt);
  std::string path;
  ChooseReplaySavePath(path, "c1.stg4");
  ASSERT_EQ(m_Requests.size(), 1u);
  EXPECT_EQ(m_Requests[0].proposedName, "c1_88.rpl4_556");
}

TEST_F(ReplaySavePathTest, TheDialogIsTheReplaySaveDialogAndGivesThePath) {
  Answer(std::string("c1_01.rpl4_556"));
  std::string path;
  ASSERT_EQ(ChooseReplaySavePath(path, "c1.stg4"), 1u);
  EXPECT_EQ(path, "user_data\\rpl4\\c1_01.rpl4_556");
  const FileDialogRequest& r = m_Requests.at(0);
  EXPECT_EQ(r.kind, FileDialogKind::kSave);
  EXPECT_EQ(r.initialDir, "user_data\\rpl4\\");
  EXPECT_EQ(r.title, SJ("保存先のファイル選択"));
  ASSERT_EQ(r.filters.size(), 1u);
  EXPECT_EQ(r.filters[0].label, "ReplayFile ( *.rpl4_556 )");
  EXPECT_EQ(r.filters[0].pattern, "*.rpl4_556");
  EXPECT_EQ(r.defaultExt, "rpl4_556");
  // The folder the dialog opens in is there, so the first replay can be saved.
  EXPECT_TRUE(std::filesystem::is_directory(m_Folder / "user_data" / "rpl4"));
  ASSERT_EQ(m_Record.WriteReplayFile(path.c_str(), m_Stage, m_Header, m_Progress), 1);
}

TEST_F(ReplaySavePathTest, ANameTooLongForAPathProposesNothing) {
  Answer(std::nullopt);
  // "user_data\rpl4\" (15) + name + "_ij" must stay within 259 bytes.
  const std::string fits = std::string(232, 'n') + ".stg4";  // 232 + 9 ("rpl4_556" and its dot)
  const std::string tooLong = std::string(233, 'n') + ".stg4";
  std::string path;
  ChooseReplaySavePath(path, fits.c_str());
  ChooseReplaySavePath(path, tooLong.c_str());
  ASSERT_EQ(m_Requests.size(), 2u);
  EXPECT_EQ(m_Requests[0].proposedName, std::string(232, 'n') + "_00.rpl4_556");
  EXPECT_EQ(m_Requests[1].proposedName, "");
}

}  // namespace
