#include "project/chara_def_labels.h"

const LabelList& CharaOperatorLabels() {
  static const LabelList labels{"プレイヤー", "コンピューター"};
  return labels;
}

const LabelList& CharaPlayerLabels() {
  static const LabelList labels{"1"};
  return labels;
}

const LabelList& SightShapeLabels() {
  static const LabelList labels{
      "画面内全て", "キャラを中心とした円形", "キャラの前方に円形", "キャラを中心とした正方形", "キャラの前方に正方形",
  };
  return labels;
}

// Sizes of boxes 0 to 2 come from the stage settings; box 3 is the 32x32 picture.
const LabelList& BodyBoxLabels() {
  static const LabelList labels{
      "キャラ対キャラの当たり判定範囲（推奨）",
      "キャラ対ショットの当たり判定範囲",
      "ショット対キャラの当たり判定範囲",
      "32×32",
  };
  return labels;
}

const LabelList& ActivityRangeLabels() {
  static const LabelList labels{"画面内", "X座標のみ画面内", "Y座標のみ画面内", "全範囲"};
  return labels;
}

const LabelList& ActivationModeLabels() {
  static const LabelList labels{
      "範囲かグループが真なら成立",
      "一度範囲かグループが真になると、以後無条件で成立",
      "範囲とグループが偽なら成立",
  };
  return labels;
}

const LabelList& CharaOnOffLabels() {
  static const LabelList labels{"OFF", "ON"};
  return labels;
}
