#include "project/condition_labels.h"

const LabelList ConditionKindLabels = {
    "",
    "コモン変数条件",
    "ステージ変数条件",
    "キャラ変数条件",
    "ステータス条件",
    "ステータス条件2",
    "ステータス条件3",
    "距離条件",
};

const LabelList ComparisonLabels = {"である", "でない", "以上", "以下", "より上", "より下"};

const LabelList PostureLabels = {"左向き", "右向き", "ブロックに乗っている(ブロックキャラも含む)", "画面内にいる"};
const LabelList PostureTruthLabels = {"なら", "でないなら"};

const LabelList DistanceShapeLabels = {"横", "前", "後", "縦", "前Y", "後Y", "円"};
const LabelList DistanceWithinLabels = {"以内", "外"};

const LabelList ConditionSubjectLabels = {"自分", "ターゲット", "システム"};
const LabelList RightKindLabels = {"定数", "乱数", "ステータス", "変数"};

const LabelList ConditionModeLabels = {"全ての条件が真なら成立", "1つ以上の条件が真なら成立"};

const LabelList CharaVariableLabels = {
    "1 キャラ変数-1", "2 キャラ変数-2", "3 キャラ変数-3", "4 キャラ変数-4",
    "5 キャラ変数-5", "6 キャラ変数-6", "7 キャラ変数-7", "8 キャラ変数-8",
};

const LabelList CharaStatusLabels = {
    "キャラ変数",      // 0
    "HP",              // 1
    "SP",              // 2
    "最大HP",          // 3
    "最大SP",          // 4
    "キャラID",        // 5
    "Z座標",           // 6
    "マーク番号",      // 7
    "視界範囲(hbl)",   // 8
    "体当たりの威力",  // 9
    "体当たりの衝撃",  // 10
    "防御力",          // 11
    "衝撃耐性",        // 12
    "止まりやすさ",    // 13
    "獲得スコア",      // 14
};

const std::array<StatusRange, kCharaStatusCount> CharaStatusRanges = {{
    {-999999, 999999},  // キャラ変数
    {0, 999999},        // HP
    {0, 999999},        // SP
    {0, 999999},        // 最大HP
    {0, 999999},        // 最大SP
    {0, 99},            // キャラID
    {0, 8},             // Z座標
    {0, 119},           // マーク番号
    {0, 40},            // 視界範囲(hbl)
    {-999999, 999999},  // 体当たりの威力
    {-20, 20},          // 体当たりの衝撃
    {0, 999999},        // 防御力
    {0, 20},            // 衝撃耐性
    {0, 200},           // 止まりやすさ
    {-999999, 999999},  // 獲得スコア
}};

const LabelList SystemStatusLabels = {"時間", "横スクロール速度", "縦スクロール速度", "スコア", "残り人数"};

const std::array<StatusRange, kSystemStatusCount> SystemStatusRanges = {{
    {0, 999},     // 時間
    {-480, 480},  // 横スクロール速度
    {-480, 480},  // 縦スクロール速度
    {0, 999999},  // スコア
    {0, 99},      // 残り人数
}};

namespace {

const LabelList kOffOnValues = {"OFF", "ON"};
const LabelList kFlightValues = {"OFF", "ON (ブロックをすり抜ける)", "ON (ブロックに当たる)",
                                 "ON (ブロックに当たると即死)"};
const LabelList kInvincibleValues = {"OFF", "ON (ショットが当たる)", "ON (ショットがすり抜ける)"};
// Value v scales the area by v squared.
const LabelList kEnlargementValues = {"しない", "×4", "×9", "×16", "×25", "×36", "×49", "×64", "×81", "×100"};

}  // namespace

const LabelList CharaStateLabels = {
    "消滅", "透明", "向き固定", "飛行", "無敵", "巨大化", "オートスクロールとシンクロ",
};

const std::array<StateRow, kCharaStateCount> CharaStateRows = {{
    {{0, 0}, nullptr},               // 消滅: never holds as a condition
    {{0, 1}, &kOffOnValues},         // 透明
    {{0, 1}, &kOffOnValues},         // 向き固定
    {{0, 3}, &kFlightValues},        // 飛行
    {{0, 2}, &kInvincibleValues},    // 無敵
    {{1, 10}, &kEnlargementValues},  // 巨大化
    {{0, 1}, &kOffOnValues},         // オートスクロールとシンクロ
}};
