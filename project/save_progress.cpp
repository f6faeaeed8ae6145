// Stage bookkeeping of the progress record: the stage name, best scores, rounds, the ranking kind
// shown, the active world-map entry and the view the world-map rules read.
#include <algorithm>
#include <limits>

#include "project/save_data.h"

namespace {

// Score sums never wrap round: a hostile file may hold any totals.
std::int32_t SaturatedAdd(std::int32_t a, std::int64_t b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Kind k wrapped into 0..4.
std::int32_t WrapKind(std::int64_t kind) {
  kind %= kRankingKinds;
  return static_cast<std::int32_t>(kind < 0 ? kind + kRankingKinds : kind);
}

// The entries of a map's placed events as one numbered run, events in order.
std::int64_t EntryCount(const cWorldMap& map) {
  std::int64_t count = 0;
  for (const cWorldEvent& event : map.m_Events) count += event.m_Items.Size();
  return count;
}

}  // namespace

void cSaveData::SetStageFileName(const char* name) {
  std::string text = name ? name : "";
  m_SubStage = 0;
  // A "-" is never the trail byte of a double-byte character, so a byte scan is safe here.
  for (std::size_t i = text.size(); i-- > 0;) {
    if (text[i] == '-' && i + 1 < text.size() && text[i + 1] == '1') {
      m_SubStage = 1;
      text.resize(i + 1);
      text[i] = '.';
      m_StageName = std::move(text);
      return;
    }
  }
  const std::size_t dot = text.rfind('.');
  m_StageName = dot == std::string::npos ? std::string() : text.substr(0, dot + 1);
}

std::int32_t cSaveData::GetStageBestScore(const std::string& name) const {
  for (const cSaveStageResult& result : m_StageResults)
    if (result.m_Name == name) return result.m_BestScore;
  return 0;
}

void cSaveData::RecordStageScore(const std::string& name, std::int32_t score) {
  for (cSaveStageResult& result : m_StageResults) {
    if (result.m_Name != name) continue;
    if (score > result.m_BestScore) {
      m_TotalScore = SaturatedAdd(m_TotalScore, static_cast<std::int64_t>(score) - result.m_BestScore);
      result.m_BestScore = score;
    }
    return;
  }
  m_StageResults.emplace_back(name, score);
  m_TotalScore = SaturatedAdd(m_TotalScore, score);
}

void cSaveData::StartNextRound() {
  m_Round = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_Round) + 1u);
  std::fill(m_RoundFlags.begin(), m_RoundFlags.end(), 0u);
  m_MapX = g_WorldMap.m_StartX;
  m_MapY = g_WorldMap.m_StartY;
}

void cSaveData::CycleEnabledEntry(std::int32_t set, std::int32_t delta) {
  if (set < 0 || set >= g_System.m_RankingSets.Size()) return;
  const CheckedVector<std::uint8_t>& flags = g_System.m_RankingSets.At(set).m_Flags;
  // Only the five kinds count: a set byte beyond them would never be reached and the search for
  // a kept kind would not end.
  const auto kept = [&flags](std::int32_t kind) { return kind < flags.Size() && flags.At(kind) != 0; };
  int keptKinds = 0;
  for (std::int32_t kind = 0; kind < kRankingKinds; ++kind) keptKinds += kept(kind);
  if (keptKinds == 0) return;

  const int direction = delta < 0 ? -1 : 1;
  const auto step = [&] {
    do m_RankingTable = WrapKind(static_cast<std::int64_t>(m_RankingTable) + direction);
    while (!kept(m_RankingTable));
  };
  if (delta == 0) {
    const bool onKind = m_RankingTable >= 0 && m_RankingTable < kRankingKinds && kept(m_RankingTable);
    if (!onKind) {
      if (m_RankingTable < 0 || m_RankingTable >= kRankingKinds) m_RankingTable = WrapKind(m_RankingTable);
      while (!kept(m_RankingTable)) m_RankingTable = WrapKind(static_cast<std::int64_t>(m_RankingTable) + 1);
    }
    return;
  }
  // After the first step the kind is always a kept one, and the kept kinds repeat every keptKinds
  // steps, so a huge delta costs no more than a few.
  const std::int64_t steps = delta < 0 ? -static_cast<std::int64_t>(delta) : delta;
  step();
  for (std::int64_t n = (steps - 1) % keptKinds; n > 0; --n) step();
}

WorldProgress cSaveData::Progress() const { return WorldProgress{m_RoundFlags, m_Variables, m_TotalScore}; }

void cSaveData::SetActiveMapEntry(const cWorldMap& map, std::int32_t event, std::int32_t item) {
  m_PlayItem = kNoMapEntry;
  if (event < 0 || event >= map.m_Events.Size()) return;
  if (item < 0 || item >= map.m_Events.At(event).m_Items.Size()) return;
  std::int64_t number = item;
  for (std::int32_t e = 0; e < event; ++e) number += map.m_Events.At(e).m_Items.Size();
  if (number > std::numeric_limits<std::int32_t>::max()) return;
  m_PlayItem = static_cast<std::int32_t>(number);
}

const cWorldEventItem* cSaveData::ActiveMapEntry(const cWorldMap& map) const {
  if (m_PlayItem < 0 || m_PlayItem >= EntryCount(map)) return nullptr;
  std::int64_t rest = m_PlayItem;
  for (const cWorldEvent& event : map.m_Events) {
    if (rest < event.m_Items.Size()) return &event.m_Items.At(static_cast<int>(rest));
    rest -= event.m_Items.Size();
  }
  return nullptr;
}
