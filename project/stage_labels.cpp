#include "project/stage_data.h"

// What the stored values of the stage fields mean; the editing program shows them, the player
// keeps them only so the values have names.
const LabelList ScrollModeLabels = {"主人公の位置に合わせてスクロール", "オートスクロール"};
const LabelList HorizontalExtendLabels = {"右方向へ拡張（または右を削除）", "左方向へ拡張（または左を削除）"};
const LabelList VerticalExtendLabels = {"下方向へ拡張（または下を削除）", "上方向へ拡張（または上を削除）"};
// Row r names speed level r + 1.
const LabelList SpeedLevelLabels = {
    "レベル1 (速度制限=60)",  "レベル2 (速度制限=120)", "レベル3 (速度制限=180)", "レベル4 (速度制限=240)",
    "レベル5 (速度制限=300)", "レベル6 (速度制限=360)", "レベル7 (速度制限=420)", "レベル8 (速度制限=480)",
    "レベル9 (速度制限=540)", "レベル10 (速度制限=600)", "レベル1 (速度制限=600)", "レベル2 (速度制限=600)",
    "レベル3 (速度制限=600)", "レベル4 (速度制限=600)", "レベル5 (速度制限=600)", "レベル6 (速度制限=600)",
    "レベル7 (速度制限=600)", "レベル8 (速度制限=600)", "レベル9 (速度制限=600)"};
const LabelList ContactCheckLevelLabels = {"最大 (当たり判定レベルと同じ)", "1 (対応速度=60)",
                                           "2 (対応速度=最大120)",          "3 (対応速度=最大180)",
                                           "4 (対応速度=最大240)",          "5 (対応速度=最大300)"};
const LabelList BoxAlignLabels = {"中央", "下"};
const LabelList BoxAlignShortLabels = {"中", "下"};
const LabelList BoxDisplayLabels = {"表示しない", "表示する", "枠のみ表示"};
const LabelList BoxColourLabels = {"赤", "緑", "青", "黄", "赤紫", "青紫", "黒", "虹"};
const LabelList AxisLabels = {"水平方向", "垂直方向"};
