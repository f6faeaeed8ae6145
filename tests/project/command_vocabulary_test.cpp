// The command tables, the label lists of commands and flows, and the direction and parameter
// tables of moves and shots.
#include "project/command_vocabulary.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>

#include "platform/host/text_codec.h"
#include "project/command_labels.h"
#include "project/move_shot_vocabulary.h"

namespace {

struct RowCase {
  int set;
  int number;
  const char* label;
  std::uint32_t count;
};

// Rows on both sides of the long-parameter commands and at the ends of each table, where a row
// dropped or doubled would show.
TEST(CommandVocabularyTest, RowsCarryTheirLabelAndParameterCount) {
  EXPECT_EQ(CharaCommandTable().Size(), 37);
  EXPECT_EQ(FlowCommandTable().Size(), 22);
  const RowCase cases[] = {
      {kCharaCommandSet, 0, "", 0},
      {kCharaCommandSet, 9, "向き変更", 1},
      {kCharaCommandSet, 10, "ジャンプ", 5},
      {kCharaCommandSet, 16, "フローの操作", 3},
      {kCharaCommandSet, 18, "ゲームウエイト", 1},
      {kCharaCommandSet, 19, "メッセージ", 17},
      {kCharaCommandSet, 20, "ワープ", 0},
      {kCharaCommandSet, 21, "ターゲットの設定", 10},
      {kCharaCommandSet, 22, "ステータスの操作", 18},
      {kCharaCommandSet, 23, "ステータスの操作2", 3},
      {kCharaCommandSet, 28, "エフェクトの実行", 8},
      {kCharaCommandSet, 31, "ピクチャーの表示", 14},
      {kCharaCommandSet, 32, "画面の色を変更", 8},
      {kCharaCommandSet, 35, "BGMの再生", 2},
      {kCharaCommandSet, 36, "コードの実行", 0},
      {kFlowCommandSet, 0, "", 0},
      {kFlowCommandSet, 1, "フローの変更", 2},
      {kFlowCommandSet, 2, "ステージクリア", 5},
      {kFlowCommandSet, 4, "メッセージ", 17},
      {kFlowCommandSet, 7, "ステータスの操作", 18},
      {kFlowCommandSet, 16, "ピクチャーの表示", 14},
      {kFlowCommandSet, 20, "BGMの再生", 2},
      {kFlowCommandSet, 21, "コードの実行", 0},
  };
  for (const RowCase& c : cases) {
    const CommandDesc* row = FindCommand(c.set, c.number);
    ASSERT_NE(row, nullptr) << c.set << "/" << c.number;
    EXPECT_EQ(row->label, SJ(c.label)) << c.set << "/" << c.number;
    EXPECT_EQ(row->paramCount, c.count) << c.label;
    EXPECT_EQ(CommandParamCount(c.set, c.number), c.count) << c.label;
  }
}

TEST(CommandVocabularyTest, FlowCommandsAreTheLaterCharacterCommands) {
  for (int n = kFlowStageClear; n <= kFlowCode; ++n) {
    const CommandDesc* flow = FindCommand(kFlowCommandSet, n);
    const CommandDesc* chara = FindCommand(kCharaCommandSet, n + 15);
    ASSERT_TRUE(flow && chara) << n;
    EXPECT_EQ(flow->paramCount, chara->paramCount) << n;
    EXPECT_EQ(flow->label, chara->label) << n;
    EXPECT_EQ(flow->data, chara->data) << n;
    EXPECT_EQ(CharaEquivalent(kFlowCommandSet, n), n + 15);
  }
  EXPECT_EQ(CharaEquivalent(kFlowCommandSet, kFlowNone), kCharaNone);
  EXPECT_EQ(CharaEquivalent(kFlowCommandSet, kFlowChange), kNoCharaCommand);
  EXPECT_EQ(CharaEquivalent(kFlowCommandSet, kFlowGetItem), kCharaGetItem);
  EXPECT_EQ(CharaEquivalent(kCharaCommandSet, kCharaSummonItem), kCharaSummonItem);
}

// A set or number no table has is a command that keeps nothing and does nothing.
TEST(CommandVocabularyTest, UnknownCommandsHaveNoRowAndNoParameters) {
  const std::pair<int, int> unknown[] = {{0, 37}, {0, 255}, {0, -1}, {1, 22}, {1, 200}, {2, 0}, {255, 1}, {-1, 0}};
  for (auto [set, number] : unknown) {
    EXPECT_EQ(FindCommand(set, number), nullptr) << set << "/" << number;
    EXPECT_EQ(CommandParamCount(set, number), 0u) << set << "/" << number;
    EXPECT_EQ(CharaEquivalent(set, number), kNoCharaCommand) << set << "/" << number;
  }
  EXPECT_EQ(CommandTableOfSet(2), nullptr);
  EXPECT_EQ(CharaCommandTable().ParamCount(37), 0u);
  EXPECT_EQ(CharaCommandTable().Find(-5), nullptr);
}

// The commands without parameters keep their data elsewhere; every other row keeps parameters.
TEST(CommandVocabularyTest, DataColumnMatchesTheCounts) {
  for (const cCommandTable* table : {&CharaCommandTable(), &FlowCommandTable()}) {
    for (const CommandDesc& row : table->Rows())
      EXPECT_EQ(row.paramCount > 0, row.data == CommandData::kParams) << Cp932ToUtf8(row.label);
  }
  for (int n : {2, 3, 4, 5, 6, 7, 20}) EXPECT_EQ(FindCommand(kCharaCommandSet, n)->data, CommandData::kMoveRecord) << n;
  for (int n : {11, 12, 13, 14, 15}) EXPECT_EQ(FindCommand(kCharaCommandSet, n)->data, CommandData::kShotRecord) << n;
  EXPECT_EQ(FindCommand(kCharaCommandSet, kCharaCancelMove)->data, CommandData::kNothing);
  EXPECT_EQ(FindCommand(kFlowCommandSet, kFlowWarp)->data, CommandData::kMoveRecord);
  EXPECT_EQ(FindCommand(kFlowCommandSet, kFlowCode)->data, CommandData::kCode);
}

struct LabelCase {
  const LabelList& list;
  int rows;  // without the empty end row
  int value;
  const char* label;
};

TEST(CommandVocabularyTest, LabelListsNameTheirStoredValues) {
  const LabelCase cases[] = {
      {FlowTriggerLabels(), 20, 0, "常時"},
      {FlowTriggerLabels(), 20, 5, "ブロックキャラに当たった時"},
      {FlowTriggerLabels(), 20, 11, "自分の左にブロックが当たった時"},
      {FlowTriggerLabels(), 20, 14, "自分の上にブロックが当たった時"},
      {FlowTriggerLabels(), 20, 19, "なし（フローの操作コマンドで実行）"},
      {FlowIdLabels(), 27, 0, "-"},
      {FlowIdLabels(), 27, 26, "Z"},
      {FlowGroupLabels(), 27, 1, "a"},
      {FlowChangeIdLabels(), 27, 0, "全て削除"},
      {FlowChangeIdLabels(), 27, 26, "Z"},
      {FacingChoiceLabels(), 6, 5, "最後にブロックが当たった方の逆を向く"},
      {FlowOperationLabels(), 6, 5, "永久停止"},
      {MessagePositionLabels(), 9, 7, "画面座標で指定"},
      {PicturePositionLabels(), 5, 3, "画面座標で指定"},
      {DisplayDurationLabels(), 3, 2, "時間で指定"},
      {TargetSearchRangeLabels(), 3, 0, "全範囲（画面内のキャラ優先）"},
      {StatusOperationLabels(), 7, 5, "÷ X の余り"},
      {StatusOperationLabels(), 7, 6, "X ％"},
      {OperandLabels(), 4, 3, "変数"},
      {HpSpCalculationLabels(), 3, 2, "現在値に対する％で指定"},
      {BackgroundVisibilityLabels(), 3, 2, "反転(表示⇔非表示)"},
      {JumpKindLabels(), 3, 2, "慣性移動速度に応じて高さを決定(主人公のみ有効)"},
      {CommonPaletteOnlyLabels(), 1, 0, "コモンパレット"},
      {HeroTargetSystemLabels(), 3, 2, "システム"},
  };
  for (const LabelCase& c : cases) {
    EXPECT_EQ(c.list.Size(), c.rows + 1) << c.label;
    EXPECT_EQ(c.list[c.value], SJ(c.label)) << c.value;
    EXPECT_EQ(c.list[c.rows], "") << c.label;
  }
}

// Every label is a text of the game's code page: a character without a code would have become '?'.
TEST(CommandVocabularyTest, EveryLabelConvertsToTheGamesCodePage) {
  const std::function<const LabelList&()> lists[] = {
      FacingChoiceLabels,
      JumpKindLabels,
      JumpUnitLabels,
      FlowOperationLabels,
      FlowOperationTargetLabels,
      StageClearLabels,
      MessagePositionLabels,
      DisplayDurationLabels,
      TargetChoiceLabels,
      TargetSearchRangeLabels,
      StatusKindLabels,
      VariableScopeLabels,
      StatusOperationLabels,
      OperandLabels,
      HpSpCalculationLabels,
      EffectModeLabels,
      PicturePositionLabels,
      BackgroundVisibilityLabels,
      PaletteChoiceLabels,
      CommonPaletteOnlyLabels,
      FlowChangeLabels,
      FlowChangeIdLabels,
      FlowTriggerLabels,
      FlowIdLabels,
      FlowGroupLabels,
      SelfTargetLabels,
      SelfTargetSystemLabels,
      HeroTargetLabels,
      HeroTargetSystemLabels,
      MoveDirectionLabels,
      MoveTargetModeLabels,
      WarpTargetModeLabels,
      MoveCoordinateLabels,
      WarpCoordinateLabels,
      MoveTimeModeLabels,
      MoveTimeOnlyLabels,
      CircleSenseLabels,
      ShotPatternLabels,
      ShotMoveTable,
      BlockSummonLabels,
      SummonSettingLabels,
  };
  for (const auto& list : lists) {
    const LabelList& labels = list();
    for (int i = 0; i + 1 < labels.Size(); ++i) {
      EXPECT_FALSE(labels[i].empty()) << i;
      EXPECT_EQ(labels[i].find('?'), std::string::npos) << Cp932ToUtf8(labels[i]);
    }
  }
  for (const cCommandTable* table : {&CharaCommandTable(), &FlowCommandTable()})
    for (const CommandDesc& row : table->Rows()) EXPECT_EQ(row.label.find('?'), std::string::npos);
}

// ---- move and shot vocabulary ----------------------------------------------------------------

TEST(MoveShotVocabularyTest, InputDirectionPicksAnAbsoluteDirection) {
  struct Case {
    int input, facing, direction;
  };
  const Case cases[] = {
      {0, 0, kDirLeft}, {0, 1, kDirRight},  {1, 1, kDirLeft},     {2, 0, kDirRight},   {3, 0, kDirUp},
      {4, 0, kDirDown}, {5, 0, kDirUpLeft}, {6, 0, kDirDownLeft}, {7, 0, kDirUpRight}, {8, 1, kDirDownRight},
      {9, 0, kDirLeft}, {-1, 1, kDirRight},  // no direction: by the facing
  };
  for (const Case& c : cases)
    EXPECT_EQ(DirectionFromInput(c.input, c.facing), c.direction) << c.input << " facing " << c.facing;
  EXPECT_EQ(MoveDirectionLabels()[kDirDownRight], SJ("右下"));
  EXPECT_EQ(MoveDirectionLabels()[kDirInput], SJ("入力方向"));
}

TEST(MoveShotVocabularyTest, ParameterTablesHoldThreeRowsPerKind) {
  ASSERT_EQ(ShotPatternParams().size(), 6u * kShotParamsPerKind);
  ASSERT_EQ(ShotMoveParams().size(), 10u * kShotParamsPerKind);
  struct Case {
    std::span<const ParamDesc> table;
    int kind, param;
    const char* label;
    int lowest, highest, value;
  };
  const Case cases[] = {
      {ShotPatternParams(), kPatternStraightB, 0, "間隔(hbl)", 0, 40, 0},
      {ShotPatternParams(), kPatternSpread, 0, "角度", 0, 180, 30},
      {ShotPatternParams(), kPatternThunder, 1, "列の数", 1, 50, 1},
      {ShotPatternParams(), kPatternThunder, 2, "列の間隔(hbl)", 0, 40, 0},
      {ShotPatternParams(), kPatternExplosion, 0, "", 0, 0, 0},
      {ShotPatternParams(), kPatternSurround, 0, "距離(hbl)", 0, 40, 6},
      {ShotMoveParams(), kShotMoveStraight, 0, "", 0, 0, 0},
      {ShotMoveParams(), kShotMoveAimNearest, 1, "対象勢力", 0, 7, 0},
      {ShotMoveParams(), kShotMoveHomeHero, 1, "誘導終了(hbl)", 0, 999, 999},
      {ShotMoveParams(), kShotMoveHomeNearest, 2, "対象勢力", 0, 7, 0},
      {ShotMoveParams(), kShotMoveWave, 0, "波の最大(hbl)", 0, 100, 4},
      {ShotMoveParams(), kShotMoveWave, 2, "開始角度", 0, 359, 0},
      {ShotMoveParams(), kShotMoveFall, 0, "軌道変更(hbl)", 0, 40, 0},
      {ShotMoveParams(), kShotMoveFall, 1, "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    const ParamDesc* row = ShotParamRow(c.table, c.kind, c.param);
    ASSERT_NE(row, nullptr) << c.kind << "/" << c.param;
    EXPECT_EQ(row->label, SJ(c.label)) << c.kind << "/" << c.param;
    EXPECT_EQ(row->lowest, c.lowest) << c.label;
    EXPECT_EQ(row->highest, c.highest) << c.label;
    EXPECT_EQ(row->defaultValue, c.value) << c.label;
  }
  EXPECT_EQ(ShotParamRow(ShotPatternParams(), 6, 0), nullptr);
  EXPECT_EQ(ShotParamRow(ShotMoveParams(), 9, 3), nullptr);
  EXPECT_EQ(ShotParamRow(ShotMoveParams(), -1, 0), nullptr);
  EXPECT_EQ(ShotMoveTable()[kShotMoveHomeNearestOnce], SJ("近いキャラへ誘導（対象死亡時、誘導を無効化）"));
  EXPECT_EQ(ShotMoveTable().Size(), 11);
}

}  // namespace
