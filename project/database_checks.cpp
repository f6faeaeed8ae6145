#include "project/database_checks.h"

#include <algorithm>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"

void CheckAnimeSets(CheckedVector<cAnimeSetDef>& table, const char* path) {
  for (int i = 0; i < table.Size(); ++i) {
    cAnimeSetDef& set = table.At(i);
    if (set.m_Entries.Size() >= kAnimeSetEntries) continue;
    ReportLog(SJ("%s : アニメーションセット %d のアニメが %d 個しかないので %d 個にしました").c_str(), path, i,
              set.m_Entries.Size(), kAnimeSetEntries);
    set.m_Entries.resize(kAnimeSetEntries, cAnimeEntry());
  }
}

void CheckCharaBitmaps(CheckedVector<cBmpCharaExcDef>& table, const char* path) {
  for (int i = 0; i < table.Size(); ++i) {
    cBmpCharaExcDef& bitmap = table.At(i);
    if (bitmap.m_LargeCells == 0) continue;
    const std::int32_t scale = std::clamp(bitmap.m_CellScale, kMinCellScale, kMaxCellScale);
    if (scale == bitmap.m_CellScale) continue;
    ReportLog(SJ("%s : 専用bmp %d のセル倍率 %d を %d にしました").c_str(), path, i, bitmap.m_CellScale, scale);
    bitmap.m_CellScale = scale;
  }
}

void CheckEffects(CheckedVector<cEffectDef>& table, const char* path) {
  for (int i = 0; i < table.Size(); ++i) {
    cEffectDef& effect = table.At(i);
    const std::int32_t width = std::max(effect.m_CellWidth, 1);
    const std::int32_t height = std::max(effect.m_CellHeight, 1);
    if (width == effect.m_CellWidth && height == effect.m_CellHeight) continue;
    ReportLog(SJ("%s : エフェクト %d のセルの大きさ %d x %d を %d x %d にしました").c_str(), path, i,
              effect.m_CellWidth, effect.m_CellHeight, width, height);
    effect.m_CellWidth = width;
    effect.m_CellHeight = height;
  }
}
