// The progress record and its sub-records: registration by format version, the file layout, the
// upgrades of older files, the reset of a new game and the normaliser.
#include "project/save_data.h"

#include <algorithm>
#include <cstring>

#include "project/nested_records.h"
#include "project/upgrade_rows.h"

namespace {

// Versions that brought members of the progress record.
constexpr std::uint32_t kMusicLoopVersion = 166;
constexpr std::uint32_t kAutoSaveVersion = 169;
constexpr std::uint32_t kTotals45Version = 182;
constexpr std::uint32_t kBackToMapVersion = 190;
constexpr std::uint32_t kPrevMapVersion = 191;
constexpr std::uint32_t kMapDirVersion = 194;
constexpr std::uint32_t kSavedFlagsVersion = 501;

constexpr const char* kDefaultRankName = "aaa";

// The least a hero status takes in a file: its own body and a character's.
constexpr std::size_t kMinHeroStatusBytes = kMinRecordBytes + kMinCharaDefBytes;

// Older files lacked these members; in ascending order of version.
constexpr UpgradeRow<cSaveData> kSaveUpgrades[] = {
    {kMusicLoopVersion, [](cSaveData& s) { s.m_MusicLoop = 1; }},
    {kAutoSaveVersion, [](cSaveData& s) { s.m_AutoSave = 0; }},
    {kTotals45Version, [](cSaveData& s) { s.m_SumHP = s.m_SumSP = 0; }},
    {kBackToMapVersion, [](cSaveData& s) { s.m_BackToMap = 0; }},
    {kPrevMapVersion, [](cSaveData& s) { s.m_PrevMapX = s.m_PrevMapY = 0; }},
    {kMapDirVersion, [](cSaveData& s) { s.m_MapDir = 0; }},
    // Before the flags existed every stored group counted as stored.
    {kSavedFlagsVersion, [](cSaveData& s) { s.m_SavedFlags.assign(kCarryGroupCount, 1); }},
};

// u32 n, then n u32 into list. A count the file cannot hold leaves the list as it was.
void ReadWordList(CheckedVector<std::uint32_t>& list, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, sizeof(std::uint32_t))) return;
  list.assign(count, 0);
  for (std::uint32_t& word : list)
    if (!in.ReadU32(word)) return;
}

void WriteWordList(const CheckedVector<std::uint32_t>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (std::uint32_t word : list) out.WriteU32(word);
}

// Lists that the scripts and stage play index by number are never shorter than a new game's.
void FillUp(CheckedVector<std::uint32_t>& list, int length) {
  if (list.Size() < length) list.resize(static_cast<std::size_t>(length), 0);
}

}  // namespace

void ReadSaveHeroStatuses(CheckedVector<cSaveHeroStatus>& list, cRecordReader& in) {
  ReadNestedRecords(list, in, cSaveHeroStatus(), kMinHeroStatusBytes);
}

void ReadSaveStageResults(CheckedVector<cSaveStageResult>& list, cRecordReader& in) {
  ReadNestedRecords(list, in, cSaveStageResult(), kMinRecordBytes);
}

void ReadSaveIntPairs(CheckedVector<cSaveIntPair>& list, cRecordReader& in) {
  ReadNestedRecords(list, in, cSaveIntPair(), kMinRecordBytes);
}

cSaveHeroStatus::cSaveHeroStatus() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cSaveHeroStatus::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Hp);
  AddField(m_Sp);
  AddField(m_TimeLimit);
  AddField(m_Lives);
  AddField(m_Music);
}

void cSaveHeroStatus::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  m_Def.Read(in);
}

void cSaveHeroStatus::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  m_Def.Write(out);
}

cSaveStageResult::cSaveStageResult() {
  RegisterFields(kRecordVersion);
  Reset();
}

cSaveStageResult::cSaveStageResult(const std::string& name, std::int32_t bestScore) : cSaveStageResult() {
  m_Name = name;
  m_BestScore = bestScore;
}

void cSaveStageResult::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_BestScore);
  AddString(m_Name);
}

cSaveIntPair::cSaveIntPair() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cSaveIntPair::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Cleared);
  AddField(m_BestScore);
}

cSaveSlotInfo::cSaveSlotInfo() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cSaveSlotInfo::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Used);
}

cSaveData::cSaveData() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cSaveData::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_StatusSaved);
  AddField(m_MapX);
  AddField(m_MapY);
  AddField(m_PlayItem);
  AddField(m_Round);
  AddField(m_StageNumber);
  AddField(m_StageIndex);
  AddField(m_StartLives);
  AddField(m_Lives);
  AddField(m_Score);
  AddField(m_SumScore);
  AddField(m_TotalScore);
  AddField(m_SumTimeLeft);
  AddField(m_SumPlayTime);
  if (version >= kTotals45Version) {
    AddField(m_SumHP);
    AddField(m_SumSP);
  }
  AddField(m_SubStage);
  AddField(m_Music);
  if (version >= kMusicLoopVersion) AddField(m_MusicLoop);
  if (version >= kMapDirVersion) AddField(m_MapDir);
  if (version >= kBackToMapVersion) AddField(m_BackToMap);
  if (version >= kPrevMapVersion) {
    AddField(m_PrevMapX);
    AddField(m_PrevMapY);
  }
  AddField(m_ChallengeOpen);
  AddField(m_Slot);
  if (version >= kAutoSaveVersion) AddField(m_AutoSave);
  AddField(m_RankingShown);
  AddField(m_RankingTable);
  AddString(m_StageName);
  AddString(m_RankName);
}

void cSaveData::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  std::array<std::uint8_t, sizeof(SYSTEMTIME)> time{};
  if (in.ReadBytes(time.data(), time.size())) std::memcpy(&m_SaveTime, time.data(), time.size());
  const std::uint32_t version = in.Version();
  if (version >= kSavedFlagsVersion) ReadWordList(m_SavedFlags, in);
  ReadSaveHeroStatuses(m_HeroStatuses, in);
  ReadSaveStageResults(m_StageResults, in);
  ReadSaveIntPairs(m_ChallengeResults, in);
  ReadWordList(m_RoundFlags, in);
  ReadWordList(m_Variables, in);

  if (version < kRecordVersion)
    ApplyUpgrades(kSaveUpgrades, *this, version);
  Normalize();
  // A short list from an old or damaged file would leave stage play and the scripts indexing past
  // its end. The saved flags are left as they are: their users treat a missing flag as clear.
  FillUp(m_RoundFlags, kClearFlagCount);
  FillUp(m_Variables, kCommonVarCount);
}

void cSaveData::Write(cRecordWriter& out) {
  Normalize();
  cDataRecord::Write(out);
  out.WriteBytes(&m_SaveTime, sizeof(m_SaveTime));
  WriteWordList(m_SavedFlags, out);
  WriteNestedRecords(m_HeroStatuses, out);
  WriteNestedRecords(m_StageResults, out);
  WriteNestedRecords(m_ChallengeResults, out);
  WriteWordList(m_RoundFlags, out);
  WriteWordList(m_Variables, out);
}

void cSaveData::Reset() {
  cDataRecord::Reset();
  m_PlayItem = kNoMapEntry;
  m_ChallengeOpen = 1;
  m_Slot = kNoSlot;
  m_RankName = kDefaultRankName;
  m_SaveTime = SYSTEMTIME{};
  m_SavedFlags.assign(kCarryGroupCount, 0);
  m_HeroStatuses.assign(1, cSaveHeroStatus());
  m_RoundFlags.assign(kClearFlagCount, 0);
  m_RoundFlags[0] = 1;
  m_Variables.assign(kCommonVarCount, 0);
  m_StageResults.clear();
  m_ChallengeResults.clear();
}

void cSaveData::Normalize() {
  // A cursor left of or above the map is outside it as much as one beyond it.
  if (m_MapX < 0 || m_MapX >= g_WorldMap.m_Width) m_MapX = g_WorldMap.m_StartX;
  if (m_MapY < 0 || m_MapY >= g_WorldMap.m_Height) m_MapY = g_WorldMap.m_StartY;
  const int stages = std::min(g_System.ChallengeStages(), kMaxChallengeStages);
  if (m_ChallengeResults.Size() != stages) m_ChallengeResults.resize(static_cast<std::size_t>(stages));
  if (m_ChallengeOpen > stages) m_ChallengeOpen = stages;
  // The first stage is open from the start: a count below it would leave a list with nothing to
  // choose when not every stage is open.
  if (m_ChallengeOpen < 1) m_ChallengeOpen = std::min(1, stages);
}
