#include "project/block_labels.h"

const LabelList CellEffectLabels = {
    "なし", "ジャンプ X=高さ(hbl)", "ジャンプ禁止", "移動速度変更 X=％", "左移動 X=移動速度", "右移動 X=移動速度",
};

const LabelList PassGroupLabels = {"なし", "0", "1", "2", "3", "4", "5", "6", "7"};

const LabelList InheritSourceLabels = {"継承しない", "コモンパレット", "ステージパレット"};
const LabelList ItemSourceLabels = {"なし", "コモンパレット", "ステージパレット"};
const LabelList ChipSourceLabels = {"ブロック", "キャラ", "アイテム", "ショット", "専用bmp"};
const LabelList MarkModeLabels = {"表示しない", "表示する", "エディターでのみ表示"};
const LabelList SolidLabels = {"当たらない", "当たる", "主人公が当たると即死"};

const LabelList BlockOnOffLabels = {"OFF", "ON"};
const LabelList BlockInheritCommonChoiceLabels = {"継承しない", "コモンパレット"};
const LabelList BlockInheritStageChoiceLabels = {"継承しない", "ステージパレット"};
const LabelList BlockInheritNoneChoiceLabels = {"継承しない"};
const LabelList BlockPaletteChoiceLabels = {"ステージパレット", "コモンパレット"};
const LabelList BlockItemCommonChoiceLabels = {"なし", "コモンパレット"};
