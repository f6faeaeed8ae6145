#include "project/command_labels.h"

const LabelList& FacingChoiceLabels() {
  static const LabelList labels{
      "左を向く",
      "右を向く",
      "ターゲットがいる方を向く",
      "ターゲットがいる方の逆を向く",
      "最後にブロックが当たった方を向く",
      "最後にブロックが当たった方の逆を向く",
  };
  return labels;
}

const LabelList& JumpKindLabels() {
  static const LabelList labels{
      "高さがキーで調節できない",
      "高さがキーで調節できる(主人公のみ有効)",
      "慣性移動速度に応じて高さを決定(主人公のみ有効)",
  };
  return labels;
}

const LabelList& JumpUnitLabels() {
  static const LabelList labels{
      "(hbl)で指定",
      "(dot)で指定",
  };
  return labels;
}

const LabelList& FlowOperationLabels() {
  static const LabelList labels{
      "開始", "終了", "一時停止", "再開", "削除", "永久停止",
  };
  return labels;
}

const LabelList& FlowOperationTargetLabels() {
  static const LabelList labels{
      "このフロー",
      "このフロー以外全て",
      "IDで指定",
  };
  return labels;
}

const LabelList& StageClearLabels() {
  static const LabelList labels{
      "次のステージへ",
      "番号で指定",
      "ワールドクリア",
  };
  return labels;
}

const LabelList& MessagePositionLabels() {
  static const LabelList labels{
      "画面中央に表示",   "自分の上に表示",     "自分の下に表示", "自分の中心に表示",   "主人公の上に表示",
      "主人公の下に表示", "主人公の中心に表示", "画面座標で指定", "ステージ座標で指定",
  };
  return labels;
}

const LabelList& DisplayDurationLabels() {
  static const LabelList labels{
      "進行キーが押されるまで表示",
      "ステージ終了まで表示",
      "時間で指定",
  };
  return labels;
}

const LabelList& TargetChoiceLabels() {
  static const LabelList labels{
      "主人公",
      "自分",
      "最も近いキャラ",
      "キャラ(キャラIDで指定)",
  };
  return labels;
}

const LabelList& TargetSearchRangeLabels() {
  static const LabelList labels{
      "全範囲（画面内のキャラ優先）",
      "全範囲",
      "画面内のみ",
  };
  return labels;
}

const LabelList& StatusKindLabels() {
  static const LabelList labels{
      "ステータス",
      "変数",
  };
  return labels;
}

const LabelList& VariableScopeLabels() {
  static const LabelList labels{
      "コモン変数",
      "ステージ変数",
  };
  return labels;
}

const LabelList& StatusOperationLabels() {
  static const LabelList labels{
      "＝", "＋", "－", "×", "÷", "÷ X の余り", "X ％",
  };
  return labels;
}

const LabelList& OperandLabels() {
  static const LabelList labels{
      "定数",
      "乱数",
      "ステータス",
      "変数",
  };
  return labels;
}

const LabelList& HpSpCalculationLabels() {
  static const LabelList labels{
      "通常の計算",
      "最大値に対する％で指定",
      "現在値に対する％で指定",
  };
  return labels;
}

const LabelList& EffectModeLabels() {
  static const LabelList labels{
      "通常実行",
      "反転実行",
      "往復実行",
  };
  return labels;
}

const LabelList& PicturePositionLabels() {
  static const LabelList labels{
      "画面中央に表示", "キャラの中心に表示", "主人公の中心に表示", "画面座標で指定", "ステージ座標で指定",
  };
  return labels;
}

const LabelList& BackgroundVisibilityLabels() {
  static const LabelList labels{
      "表示",
      "非表示",
      "反転(表示⇔非表示)",
  };
  return labels;
}

const LabelList& PaletteChoiceLabels() {
  static const LabelList labels{
      "コモンパレット",
      "ステージパレット",
  };
  return labels;
}

const LabelList& CommonPaletteOnlyLabels() {
  static const LabelList labels{
      "コモンパレット",
  };
  return labels;
}

const LabelList& FlowChangeLabels() {
  static const LabelList labels{
      "追加",
      "変更",
      "削除",
  };
  return labels;
}

const LabelList& FlowChangeIdLabels() {
  static const LabelList labels{
      "全て削除", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
      "N",        "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
  };
  return labels;
}

const LabelList& FlowTriggerLabels() {
  static const LabelList labels{
      "常時",
      "ダメージを受けた時",
      "衝撃を受けた時",
      "死亡した時",
      "キャラに当たった時",
      "ブロックキャラに当たった時",
      "ブロックキャラに乗っている時",
      "ショットに当たった時",
      "アイテムに当たった時",
      "ブロックに当たった時",
      "自分の左右にブロックが当たった時",
      "自分の左にブロックが当たった時",
      "自分の右にブロックが当たった時",
      "自分の上下にブロックが当たった時",
      "自分の上にブロックが当たった時",
      "自分の下にブロックが当たった時",
      "主人公に乗られている時",
      "キャラに乗られている時",
      "ステージ開始前",
      "なし（フローの操作コマンドで実行）",
  };
  return labels;
}

const LabelList& FlowIdLabels() {
  static const LabelList labels{
      "-", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
      "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
  };
  return labels;
}

const LabelList& FlowGroupLabels() {
  static const LabelList labels{
      "-", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
      "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z",
  };
  return labels;
}

const LabelList& SelfTargetLabels() {
  static const LabelList labels{
      "自分",
      "ターゲット",
  };
  return labels;
}

const LabelList& SelfTargetSystemLabels() {
  static const LabelList labels{
      "自分",
      "ターゲット",
      "システム",
  };
  return labels;
}

const LabelList& HeroTargetLabels() {
  static const LabelList labels{
      "主人公",
      "ターゲット",
  };
  return labels;
}

const LabelList& HeroTargetSystemLabels() {
  static const LabelList labels{
      "主人公",
      "ターゲット",
      "システム",
  };
  return labels;
}
