#include "project/effect_params.h"

#include <vector>

#include "platform/host/text_codec.h"

namespace {

// One table cell as written below: label (UTF-8), lowest, highest, default. An empty label is an
// unused parameter.
struct sParamCell {
  const char* label;
  std::int32_t lowest;
  std::int32_t highest;
  std::int32_t value;
};

constexpr sParamCell kUnused{"", 0, 0, 0};

// The running time every kind starts with, and its default in tenths of a second.
constexpr sParamCell Time(std::int32_t value) { return {"実行時間(1/10s)", 1, 9999, value}; }

std::vector<ParamDesc> BuildTable(std::span<const sParamCell> cells) {
  std::vector<ParamDesc> rows;
  rows.reserve(cells.size());
  for (const sParamCell& cell : cells) rows.emplace_back(SJ(cell.label), cell.lowest, cell.highest, cell.value);
  return rows;
}

// clang-format off
constexpr sParamCell kCharaCells[(kCharaEffectKindCount + 1) * kEffectParamCount] = {
    // 0 plain
    kUnused, kUnused, kUnused, kUnused, kUnused,
    // 1 破裂
    Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, kUnused, kUnused,
    // 2 分割（横）
    Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, {"分割数", 2, 16, 4}, kUnused,
    // 3 分割（縦）
    Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, {"分割数", 2, 16, 4}, kUnused,
    // 4 波（横）
    Time(5), {"開始幅(dot)", 0, 999, 0}, {"終了幅(dot)", 0, 999, 32}, {"波の数", 2, 16, 2}, {"波の粗さ(dot)", 1, 4, 2},
    // 5 波（縦）
    Time(5), {"開始幅(dot)", 0, 999, 0}, {"終了幅(dot)", 0, 999, 32}, {"波の数", 2, 16, 2}, {"波の粗さ(dot)", 1, 4, 2},
    // 6 点滅
    Time(10), {"点滅間隔(1/60s)", 1, 9999, 2}, kUnused, kUnused, kUnused,
    // 7 回転A
    Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kUnused, kUnused,
    // 8 回転B
    Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kUnused, kUnused,
    // 9 回転（奥）
    Time(10), {"開始位置(dot)", 0, 9999, 0}, {"終了位置(dot)", 0, 9999, 256}, kUnused, kUnused,
    // 10 円
    Time(5), {"開始半径(dot)", 0, 32, 32}, {"終了半径(dot)", 0, 32, 0}, {"円の粗さ(dot)", 1, 4, 2}, kUnused,
    // 11 拡大
    Time(10), {"開始幅(dot)", 0, 320, 32}, {"終了幅(dot)", 0, 320, 64}, kUnused, kUnused,
    // 12 レンズ
    Time(10), {"開始距離", 0, 100, 100}, {"終了距離", 0, 100, 5}, {"ズレX(dot)", -16, 16, 0}, {"ズレY(dot)", -16, 16, 0},
    // 13 色変化
    Time(10), {"開始合成度", 1, 4, 1}, {"終了合成度", 1, 4, 1}, {"色", 16, 207, 16}, kUnused,
    // 14 半透明
    Time(10), {"点滅間隔(1/60s)", 1, 9999, 9999}, kUnused, kUnused, kUnused,
    // 15 モザイク
    Time(10), {"開始強度", 1, 16, 1}, {"終了強度", 1, 16, 8}, kUnused, kUnused,
    // 16 ぼかし
    Time(10), {"開始強度", 1, 1, 1}, {"終了強度", 1, 4, 4}, kUnused, kUnused,
};

constexpr sParamCell kScrCells[(kScrEffectKindCount + 1) * kEffectParamCount] = {
    // 0 none
    kUnused, kUnused, kUnused, kUnused, kUnused,
    // 1 移動
    Time(10), {"開始座標X(dot)", -640, 640, 0}, {"開始座標Y(dot)", -480, 480, 0}, {"終了座標X(dot)", -640, 640, 640}, {"終了座標Y(dot)", -480, 480, 0},
    // 2 振動（横）
    Time(10), {"振動幅(dot)", 1, 640, 4}, {"振動回数", 1, 9999, 4}, kUnused, kUnused,
    // 3 振動（縦）
    Time(10), {"振動幅(dot)", 1, 480, 4}, {"振動回数", 1, 9999, 4}, kUnused, kUnused,
    // 4 分割（横）
    Time(10), {"開始位置(dot)", 0, 640, 0}, {"終了位置(dot)", 0, 640, 640}, {"分割数", 2, 240, 15}, kUnused,
    // 5 分割（縦）
    Time(10), {"開始位置(dot)", 0, 480, 0}, {"終了位置(dot)", 0, 480, 480}, {"分割数", 2, 320, 20}, kUnused,
    // 6 波（横）
    Time(10), {"開始幅(dot)", 0, 640, 0}, {"終了幅(dot)", 0, 640, 640}, {"波の数", 2, 240, 4}, {"波の粗さ(dot)", 1, 48, 8},
    // 7 波（縦）
    Time(10), {"開始幅(dot)", 0, 480, 0}, {"終了幅(dot)", 0, 480, 480}, {"波の数", 2, 320, 4}, {"波の粗さ(dot)", 1, 64, 10},
    // 8 点滅
    Time(10), {"点滅間隔(1/60s)", 1, 9999, 10}, kUnused, kUnused, kUnused,
    // 9 回転
    Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kUnused, kUnused,
    // 10 円
    Time(10), {"開始半径(dot)", 0, 640, 640}, {"終了半径(dot)", 0, 640, 0}, {"円の粗さ(dot)", 1, 48, 8}, kUnused,
    // 11 拡大
    Time(10), {"開始幅(dot)", 0, 6400, 640}, {"終了幅(dot)", 0, 6400, 1280}, kUnused, kUnused,
    // 12 レンズ
    Time(10), {"開始距離", 0, 1500, 1500}, {"終了距離", 0, 1500, 5}, {"ズレX(dot)", -320, 320, 0}, {"ズレY(dot)", -240, 240, 0},
    // 13 モザイク
    Time(10), {"開始強度", 1, 240, 1}, {"終了強度", 1, 240, 60}, kUnused, kUnused,
};
// clang-format on

}  // namespace

std::span<const ParamDesc> CharaEffectParams() {
  static const std::vector<ParamDesc> rows = BuildTable(kCharaCells);
  return rows;
}

std::span<const ParamDesc> ScrEffectParams() {
  static const std::vector<ParamDesc> rows = BuildTable(kScrCells);
  return rows;
}

const LabelList& CharaEffectKindNames() {
  static const LabelList labels{"破裂",   "分割（横）", "分割（縦）", "波（横）", "波（縦）", "点滅",
                                "回転A",  "回転B",      "回転（奥）", "円",       "拡大",     "レンズ",
                                "色変化", "半透明",     "モザイク",   "ぼかし"};
  return labels;
}

const LabelList& ScrEffectKindNames() {
  static const LabelList labels{"移動", "振動（横）", "振動（縦）", "分割（横）", "分割（縦）", "波（横）", "波（縦）",
                                "点滅", "回転",       "円",         "拡大",       "レンズ",     "モザイク"};
  return labels;
}

// The two halves of a note: how fast the effect draws with Direct3D on, and with it off.
#define EFFECT_NOTE(withD3D, withoutD3D) "Direct3D有効時：" withD3D "\nDirect3D無効時：" withoutD3D

const LabelList& ScrEffectNotes() {
  static const LabelList notes{
      EFFECT_NOTE("", ""),                                   // 移動
      EFFECT_NOTE("", ""),                                   // 振動（横）
      EFFECT_NOTE("", ""),                                   // 振動（縦）
      EFFECT_NOTE("", ""),                                   // 分割（横）
      EFFECT_NOTE("", ""),                                   // 分割（縦）
      EFFECT_NOTE("やや遅い", "やや遅い"),                   // 波（横）
      EFFECT_NOTE("やや遅い", "やや遅い"),                   // 波（縦）
      EFFECT_NOTE("速い", "速い"),                           // 点滅
      EFFECT_NOTE("", "遅い"),                               // 回転
      EFFECT_NOTE("やや遅い", "やや遅い"),                   // 円
      EFFECT_NOTE("", "やや遅い"),                           // 拡大
      EFFECT_NOTE("遅過ぎ", "遅過ぎ"),                       // レンズ
      EFFECT_NOTE("遅過ぎ", "画面が16bit色以上だと遅過ぎ"),  // モザイク
  };
  return notes;
}

const LabelList& CharaEffectNotes() {
  static const LabelList notes{
      EFFECT_NOTE("", ""),                                                      // 破裂
      EFFECT_NOTE("", ""),                                                      // 分割（横）
      EFFECT_NOTE("", ""),                                                      // 分割（縦）
      EFFECT_NOTE("やや遅い", "やや遅い"),                                      // 波（横）
      EFFECT_NOTE("やや遅い", "やや遅い"),                                      // 波（縦）
      EFFECT_NOTE("速い", "速い"),                                              // 点滅
      EFFECT_NOTE("回転Aと回転Bは同じ", "巨大キャラには実行速度重視"),          // 回転A
      EFFECT_NOTE("回転Aと回転Bは同じ", "やや遅い。巨大キャラには描画精度重視"),  // 回転B
      EFFECT_NOTE("", ""),                                                      // 回転（奥）
      EFFECT_NOTE("やや遅い", "やや遅い"),                                      // 円
      EFFECT_NOTE("", ""),                                                      // 拡大
      EFFECT_NOTE("遅い", "遅い"),                                              // レンズ
      EFFECT_NOTE("", "画面が8bit色→精度悪い、16bit色以上→やや遅い"),          // 色変化
      EFFECT_NOTE("画面エフェクト実行中は遅い", "画面が8bit色→精度悪い、16bit色以上→遅過ぎ"),  // 半透明
      EFFECT_NOTE("遅い", "画面が16bit色以上だと遅い"),                         // モザイク
      EFFECT_NOTE("遅い", "画面が16bit色以上でのみ有効。遅い"),                 // ぼかし
  };
  return notes;
}

#undef EFFECT_NOTE

const ParamDesc* EffectParamRow(std::span<const ParamDesc> table, int kind, int param) {
  if (kind < 0 || param < 0 || param >= kEffectParamCount) return nullptr;
  const auto row = static_cast<std::size_t>(kind) * kEffectParamCount + static_cast<std::size_t>(param);
  return row < table.size() ? &table[row] : nullptr;
}
