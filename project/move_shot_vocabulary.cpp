#include "project/move_shot_vocabulary.h"

#include <initializer_list>
#include <vector>

#include "platform/host/text_codec.h"

const LabelList& MoveDirectionLabels() {
  static const LabelList labels{
      "前",        // 0
      "後",        // 1
      "左",        // 2
      "右",        // 3
      "前Y",       // 4
      "後Y",       // 5
      "上",        // 6
      "下",        // 7
      "左上",      // 8
      "左下",      // 9
      "右上",      // 10
      "右下",      // 11
      "入力方向",  // 12
  };
  return labels;
}

int DirectionFromInput(int inputDirection, int facing) {
  if (inputDirection <= 0 || inputDirection >= static_cast<int>(InputDirectionTable.size()))
    return facing == 0 ? kDirLeft : kDirRight;
  return InputDirectionTable[static_cast<std::size_t>(inputDirection)];
}

int DirectionFromFacing(int code, int facing) {
  const bool right = facing != 0;
  switch (code) {
    case kDirFront:
      return right ? kDirRight : kDirLeft;
    case kDirBack:
      return right ? kDirLeft : kDirRight;
    case kDirFrontY:
      return right ? kDirDown : kDirUp;
    case kDirBackY:
      return right ? kDirUp : kDirDown;
    default:
      return code;
  }
}

const LabelList& MoveTargetModeLabels() {
  static const LabelList labels{
      "方向で指定",
      "目標座標で指定",
  };
  return labels;
}

const LabelList& WarpTargetModeLabels() {
  static const LabelList labels{
      "方向と距離で指定",
      "ターゲットからの方向と距離で指定",
      "目標座標で指定",
  };
  return labels;
}

const LabelList& MoveCoordinateLabels() {
  static const LabelList labels{
      "配置位置からの相対座標",
      "相対座標",
      "絶対座標",
      "画面座標",
  };
  return labels;
}

const LabelList& WarpCoordinateLabels() {
  static const LabelList labels{
      "相対座標",
      "絶対座標",
      "画面座標",
  };
  return labels;
}

const LabelList& MoveTimeModeLabels() {
  static const LabelList labels{
      "時間と速度を指定",
      "時間と距離を指定",
      "速度と距離を指定",
  };
  return labels;
}

const LabelList& MoveTimeOnlyLabels() {
  static const LabelList labels{
      "時間を指定",
      "速度を指定",
  };
  return labels;
}

const LabelList& CircleSenseLabels() {
  static const LabelList labels{
      "右回り",
      "左回り",
      "左向きなら右回り、右向きなら左回り",
      "左向きなら左回り、右向きなら右回り",
  };
  return labels;
}

const LabelList& ShotPatternLabels() {
  static const LabelList labels{
      "直進A", "直進B", "拡散", "落雷", "爆発", "包囲",
  };
  return labels;
}

const LabelList& ShotMoveTable() {
  static const LabelList labels{
      "直進",
      "主人公を狙う",
      "近いキャラを狙う",
      "ターゲットを狙う",
      "主人公へ誘導",
      "近いキャラへ誘導（対象死亡時、誘導を無効化）",
      "ターゲットへ誘導",
      "近いキャラへ誘導（対象死亡時、対象を変更）",
      "ウェーブ",
      "落下",
  };
  return labels;
}

const LabelList& BlockSummonLabels() {
  static const LabelList labels{
      "ブロックを召喚",
      "ブロックを消す",
      "ブロックがなければ召喚、ブロックがあれば消す",
  };
  return labels;
}

const LabelList& SummonSettingLabels() {
  static const LabelList labels{
      "パレットの設定に準ずる",
      "使用者と同じ",
      "番号で指定",
  };
  return labels;
}

namespace {

ParamDesc Param(const char* utf8Label, std::int32_t lowest, std::int32_t highest, std::int32_t value) {
  return ParamDesc(Utf8ToCp932(utf8Label), lowest, highest, value);
}

ParamDesc Unused() { return ParamDesc(std::string(), 0, 0, 0); }

// The parameters that recur under one label keep the range and default they were given first.
ParamDesc Interval() { return Param("間隔(hbl)", 0, 40, 0); }
ParamDesc CourseChange() { return Param("軌道変更(hbl)", 0, 40, 0); }
ParamDesc TargetSide() { return Param("対象勢力", 0, 7, 0); }
ParamDesc HomingStart() { return Param("誘導開始(hbl)", 0, 40, 0); }
ParamDesc HomingEnd() { return Param("誘導終了(hbl)", 0, 999, 999); }

// One table row per kind, laid out as the parameter rows 3 x kind + parameter.
using KindParams = std::array<ParamDesc, kShotParamsPerKind>;
std::vector<ParamDesc> Rows(std::initializer_list<KindParams> kinds) {
  std::vector<ParamDesc> rows;
  rows.reserve(kinds.size() * kShotParamsPerKind);
  for (const KindParams& kind : kinds) rows.insert(rows.end(), kind.begin(), kind.end());
  return rows;
}

}  // namespace

std::span<const ParamDesc> ShotPatternParams() {
  static const std::vector<ParamDesc> rows = Rows({
      {Interval(), Unused(), Unused()},                                           // 直進A
      {Interval(), Unused(), Unused()},                                           // 直進B
      {Param("角度", 0, 180, 30), Unused(), Unused()},                            // 拡散
      {Interval(), Param("列の数", 1, 50, 1), Param("列の間隔(hbl)", 0, 40, 0)},  // 落雷
      {Unused(), Unused(), Unused()},                                             // 爆発
      {Param("距離(hbl)", 0, 40, 6), Unused(), Unused()},                         // 包囲
  });
  return rows;
}

std::span<const ParamDesc> ShotMoveParams() {
  static const std::vector<ParamDesc> rows = Rows({
      {Unused(), Unused(), Unused()},              // 直進
      {CourseChange(), Unused(), Unused()},        // 主人公を狙う
      {CourseChange(), TargetSide(), Unused()},    // 近いキャラを狙う
      {CourseChange(), Unused(), Unused()},        // ターゲットを狙う
      {HomingStart(), HomingEnd(), Unused()},      // 主人公へ誘導
      {HomingStart(), HomingEnd(), TargetSide()},  // 近いキャラへ誘導（対象死亡時、誘導を無効化）
      {HomingStart(), HomingEnd(), Unused()},      // ターゲットへ誘導
      {HomingStart(), HomingEnd(), TargetSide()},  // 近いキャラへ誘導（対象死亡時、対象を変更）
      {Param("波の最大(hbl)", 0, 100, 4), Param("波の速度", 0, 100, 4), Param("開始角度", 0, 359, 0)},  // ウェーブ
      {CourseChange(), Unused(), Unused()},                                                             // 落下
  });
  return rows;
}

const ParamDesc* ShotParamRow(std::span<const ParamDesc> table, int kind, int param) {
  if (kind < 0 || param < 0 || param >= kShotParamsPerKind) return nullptr;
  const std::size_t row = static_cast<std::size_t>(kind) * kShotParamsPerKind + static_cast<std::size_t>(param);
  return row < table.size() ? &table[row] : nullptr;
}
