// The normalisers of commands: parameter counts of the rows, database references, the sword's
// swing, unknown commands, and the palette references of summons and item pick-ups.
#include "platform/host/text_codec.h"
#include "project/command_vocabulary.h"
#include "tests/project/flow_fixture.h"
#include "tests/project/move_shot_samples.h"

namespace flowtest {
namespace {

using Params = std::vector<std::int32_t>;

Params ParamsOf(const cFlowCommand& c) { return Params(c.m_Params.begin(), c.m_Params.end()); }

cFlowCommand ReadCommand(const CommandSpec& layout) {
  cFlowCommand command;
  EXPECT_FALSE(ReadImage(command, FileOf(556, CommandBody(layout))));
  return command;
}

TEST_F(FlowTest, EveryRowKeepsExactlyItsParameterCount) {
  const Params stored{1, 2, 3, 4, 5};
  for (std::uint8_t set : {kCharaCommandSet, kFlowCommandSet}) {
    const cCommandTable& table = *CommandTableOfSet(set);
    for (int number = 0; number < table.Size(); ++number) {
      SCOPED_TRACE(testing::Message() << "set " << int{set} << " command " << number);
      const cFlowCommand command =
          ReadCommand({.set = set, .number = static_cast<std::uint8_t>(number), .params = stored});
      const std::uint32_t count = table.ParamCount(number);
      ASSERT_EQ(command.m_Params.size(), count);
      // What the file held is kept as far as the row reaches, the rest is 0; parameter 0 may be a
      // database reference, which the fixture's tables hold.
      for (std::uint32_t i = 0; i < count; ++i) EXPECT_EQ(command.m_Params[i], i < stored.size() ? stored[i] : 0);
    }
  }
}

struct ReferenceCase {
  const char* name;
  std::uint8_t set, number;
  std::int32_t stored, expected;
};

TEST_F(FlowTest, DatabaseReferencesOutOfRangeTakeTheirReplacement) {
  const ReferenceCase cases[] = {
      {"エフェクトの実行 -1", 0, 28, -1, 1},
      {"エフェクトの実行 9 is in range", 0, 28, 9, 9},
      {"flow エフェクトの実行 10", 1, 13, 10, 1},
      {"基本アニメセットの変更 out of range", 0, 26, kAnimeSets, 0},
      {"基本アニメセットの変更 in range", 0, 26, kAnimeSets - 1, kAnimeSets - 1},
      {"アニメの実行", 0, 27, 100, 1},
      {"キャラエフェクトの実行", 1, 14, -5, 1},
      {"画面エフェクトの実行", 0, 30, 10, 1},
      {"ピクチャーの表示", 0, 31, 11, 1},
      {"効果音の再生", 1, 19, 10, 1},
      {"BGMの再生", 0, 35, 1000, 1},
      {"ゲームウエイト is no reference", 0, 18, 1000, 1000},
  };
  for (const ReferenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const cFlowCommand command = ReadCommand({.set = c.set, .number = c.number, .params = {c.stored}});
    ASSERT_FALSE(command.m_Params.empty());
    EXPECT_EQ(command.m_Params[0], c.expected);
  }
}

// A replacement of 1 would itself be out of range in a table with fewer than two entries.
TEST_F(FlowTest, FallbackReferenceIsNoneInATinyTable) {
  LoadContext().database.effects = 1;
  EXPECT_EQ(ReadCommand({.number = 28, .params = {5}}).m_Params[0], 0);
  LoadContext().database.musics = 0;
  EXPECT_EQ(ReadCommand({.set = 1, .number = 20, .params = {-1}}).m_Params[0], 0);
  LoadContext().database.effects = 2;
  EXPECT_EQ(ReadCommand({.number = 28, .params = {5}}).m_Params[0], 1);
}

TEST_F(FlowTest, AnimationAndSoundOfEveryCommandAreChecked) {
  const cFlowCommand bad = ReadCommand({.number = 1, .sound = -1, .anime = kTableSize});
  EXPECT_EQ(bad.m_Sound, 0);
  EXPECT_EQ(bad.m_Anime, 0);
  const cFlowCommand good = ReadCommand({.number = 1, .sound = kTableSize - 1, .anime = 3});
  EXPECT_EQ(good.m_Sound, kTableSize - 1);
  EXPECT_EQ(good.m_Anime, 3);
}

cByteBuilder ShotBody(const edtest::ShotFileValues& values) { return BodyOfFile(edtest::ShotFile(556, values)); }

TEST_F(FlowTest, SwordRunsAsLongAsItsSwing) {
  struct Case {
    const char* name;
    std::uint8_t swordType;
    std::uint8_t expectedType;
    std::int16_t expectedUseTime;
  };
  const Case cases[] = {
      {"type 0: three parts of a tenth", 0, 0, 3},
      {"type 1: the swing is cut to 9999", 1, 1, 9999},
      {"type 2: no parts", 2, 2, 0},
      {"type 3 is no sword type", 3, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const cFlowCommand sword = ReadCommand({.number = 12, .useTime = 77, .shot = ShotBody({.moveKind = c.swordType})});
    ASSERT_TRUE(sword.m_Shot);
    EXPECT_EQ(sword.m_Shot->m_MoveKind, c.expectedType);
    EXPECT_EQ(sword.m_UseTime, c.expectedUseTime);
  }
  // A shot's movement kind is no sword type, and without the sword types the use time stays.
  EXPECT_EQ(ReadCommand({.number = 11, .useTime = 77, .shot = ShotBody({.moveKind = 8})}).m_Shot->m_MoveKind, 8);
  LoadContext().swordTypes = nullptr;
  EXPECT_EQ(ReadCommand({.number = 12, .useTime = 77, .shot = ShotBody({.moveKind = 1})}).m_UseTime, 77);
}

TEST_F(FlowTest, UnknownCommandKeepsNothingAndIsReportedOnce) {
  const int before = ReportLines();
  const cFlowCommand unknown = ReadCommand({.set = 0, .number = 37, .params = {1, 2, 3}});
  EXPECT_TRUE(unknown.m_Params.empty());
  EXPECT_EQ(unknown.m_CommandNumber, 37);
  EXPECT_EQ(ReportLines(), before + 1);
  const cFlowCommand unknownSet = ReadCommand({.set = 2, .number = 4, .params = {1}});
  EXPECT_TRUE(unknownSet.m_Params.empty());
  EXPECT_EQ(ReportLines(), before + 2);
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("不明なコマンド (種類 2, 番号 4)"), std::string::npos);

  // Writing and normalising it again says nothing more; nothing closes the program.
  cFlowCommand copy = unknown;
  BodyOf(copy);
  NormalizeCommandParams(copy);
  EXPECT_EQ(ReportLines(), before + 2);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

// Nested flows are normalised with their command.
TEST_F(FlowTest, NestedCommandsAreNormalised) {
  cFlowCommand change;
  change.m_CommandSet = kFlowCommandSet;
  change.m_CommandNumber = kFlowChange;
  change.m_Flows.resize(1);
  change.m_Flows[0].m_Commands.resize(1);
  cFlowCommand& inner = change.m_Flows[0].m_Commands[0];
  inner.m_CommandNumber = kCharaPlayEffect;
  inner.m_Params.assign({-1});
  NormalizeCommandParams(change);
  EXPECT_EQ(change.m_Params.size(), 2u);
  EXPECT_EQ(ParamsOf(inner), (Params{1, 0, 0, 0, 0, 0, 0, 0}));
}

// {common, stage} entries of the block, character and item lists.
SummonPalettes Palettes() { return SummonPalettes{{4, 1}, {3, 0}, {5, 2}}; }

struct SummonCase {
  const char* name;
  std::uint8_t number;
  std::uint8_t palette;
  std::int16_t index;
  std::int16_t expectedIndex;
};

TEST_F(FlowTest, SummonIndexesOutOfTheirPaletteBecomeOne) {
  const SummonCase cases[] = {
      {"block 3 of the common palette", 13, 0, 3, 3},      {"block 4 of the common palette", 13, 0, 4, 1},
      {"block of a one-entry stage palette", 13, 1, 5, 0}, {"chara -1", 14, 0, -1, 1},
      {"chara of an empty stage palette", 14, 1, 0, 0},    {"item 1 of the stage palette", 15, 1, 1, 1},
      {"item 2 of the stage palette", 15, 1, 2, 1},        {"a palette that does not exist", 15, 7, 1, 0},
  };
  for (const SummonCase& c : cases) {
    SCOPED_TRACE(c.name);
    cFlowCommand command;
    command.m_CommandNumber = c.number;
    NewEdShot(command.m_Shot);
    command.m_Shot->m_SummonPalette = c.palette;
    command.m_Shot->m_SummonIndex = c.index;
    NormalizeSummonParams(command, Palettes());
    EXPECT_EQ(command.m_Shot->m_SummonIndex, c.expectedIndex);
    EXPECT_EQ(command.m_Shot->m_SummonPalette, c.palette);
  }
}

TEST_F(FlowTest, ShotItemsOutOfTheirPaletteAreDropped) {
  struct Case {
    const char* name;
    std::uint8_t number;
    std::int8_t source;
    std::int16_t index;
    bool kept;
  };
  const Case cases[] = {
      {"ショット, common item 4", 11, 1, 4, true},
      {"ショット, common item 5", 11, 1, 5, false},
      {"ソード, stage item 1", 12, 2, 1, true},
      {"ソード, stage item -1", 12, 2, -1, false},
      {"no item: the index is not looked at", 11, 0, 99, true},
      {"a source that does not exist", 11, 3, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cFlowCommand command;
    command.m_CommandNumber = c.number;
    NewEdShot(command.m_Shot);
    command.m_Shot->m_ItemSource = c.source;
    command.m_Shot->m_ItemIndex = c.index;
    NormalizeSummonParams(command, Palettes());
    EXPECT_EQ(command.m_Shot->m_ItemSource, c.kept ? c.source : 0);
    EXPECT_EQ(command.m_Shot->m_ItemIndex, c.kept ? c.index : 0);
  }
}

TEST_F(FlowTest, ItemPickUpOutOfItsPaletteBecomesOne) {
  struct Case {
    std::uint8_t set, number;
    Params stored, expected;
  };
  const Case cases[] = {
      {0, 24, {0, 4}, {0, 4}}, {0, 24, {0, 5}, {0, 1}}, {1, 9, {1, 2}, {1, 1}},
      {1, 9, {1, -3}, {1, 1}}, {0, 24, {2, 1}, {2, 0}}, {0, 24, {}, {0, 0}},
  };
  for (const Case& c : cases) {
    cFlowCommand command;
    command.m_CommandSet = c.set;
    command.m_CommandNumber = c.number;
    command.m_Params.assign(c.stored.begin(), c.stored.end());
    NormalizeSummonParams(command, Palettes());
    EXPECT_EQ(ParamsOf(command), c.expected);
  }
}

// The flow normaliser reaches the commands of nested flows as well.
TEST_F(FlowTest, FlowSummonsReachNestedFlows) {
  cFlow flow;
  flow.m_Commands.resize(2);
  flow.m_Commands[0].m_CommandNumber = kCharaSummonChara;
  NewEdShot(flow.m_Commands[0].m_Shot);
  flow.m_Commands[0].m_Shot->m_SummonIndex = 9;
  flow.m_Commands[1].m_CommandSet = kFlowCommandSet;
  flow.m_Commands[1].m_CommandNumber = kFlowChange;
  flow.m_Commands[1].m_Flows.resize(1);
  flow.m_Commands[1].m_Flows[0].m_Commands.resize(1);
  cFlowCommand& nested = flow.m_Commands[1].m_Flows[0].m_Commands[0];
  nested.m_CommandSet = kFlowCommandSet;
  nested.m_CommandNumber = kFlowGetItem;
  nested.m_Params.assign({0, 77});
  NormalizeFlowSummons(flow, Palettes());
  EXPECT_EQ(flow.m_Commands[0].m_Shot->m_SummonIndex, 1);
  EXPECT_EQ(ParamsOf(nested), (Params{0, 1}));
}

// The sizes come from whatever palettes a context holds; a missing one counts as empty.
TEST_F(FlowTest, PaletteSizesOfAContext) {
  struct List {
    std::vector<int> entries;
    std::size_t size() const { return entries.size(); }
  };
  struct View {
    const List* blocks = nullptr;
    const List* charas = nullptr;
    const List* items = nullptr;
  };
  struct Context {
    View commonPalette, stagePalette;
  };
  const List three{{1, 2, 3}}, one{{1}};
  const SummonPalettes sizes = SummonPalettesOf(Context{{&three, nullptr, &one}, {nullptr, &one, &three}});
  EXPECT_EQ(sizes.blocks[0], 3);
  EXPECT_EQ(sizes.blocks[1], 0);
  EXPECT_EQ(sizes.charas[0], 0);
  EXPECT_EQ(sizes.charas[1], 1);
  EXPECT_EQ(sizes.items[0], 1);
  EXPECT_EQ(sizes.items[1], 3);
}

}  // namespace
}  // namespace flowtest
