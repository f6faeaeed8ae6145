#pragma once
// The progress of a game: where the player stands on the world map and in which round, the stage
// being played, lives, score and the stage-result totals, the best score of every stage played, the
// challenge progress, the common variables and the clear flags of the round, the status carried by
// each hero from stage to stage, the music, the save time and the ranking name.
//
// One record class serves as the story save slot (user_data\story\Story01.dat .. Story99.dat), as
// the challenge progress (user_data\challenge\Challenge.dat) and as the progress part of a replay.
//
// File: the version word, then the body (28 numbers, the stage name and the ranking name), the
// 16-byte save time, then the counted lists: saved flags (from version 501), hero statuses, stage
// results, challenge results, clear flags, common variables.
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/chara_def.h"
#include "project/system_data.h"
#include "project/world_map.h"

class cStageData;

// A calendar time as the files keep it: eight u16, 16 bytes, stored as its raw image.
struct SYSTEMTIME {
  std::uint16_t wYear = 0;
  std::uint16_t wMonth = 0;
  std::uint16_t wDayOfWeek = 0;
  std::uint16_t wDay = 0;
  std::uint16_t wHour = 0;
  std::uint16_t wMinute = 0;
  std::uint16_t wSecond = 0;
  std::uint16_t wMilliseconds = 0;
  bool operator==(const SYSTEMTIME&) const = default;
};
static_assert(sizeof(SYSTEMTIME) == 16, "the save time is stored as 16 raw bytes");

constexpr int kCarryGroupCount = kCarryFlagCount;  // one saved flag per carried group
constexpr int kClearFlagCount = 1000;
constexpr int kCommonVarCount = 256;
constexpr int kStorySlotCount = 99;
constexpr std::int32_t kUnlimitedLives = 999999;
constexpr std::int32_t kNoMapEntry = -1;
constexpr std::int32_t kNoSlot = -1;
// Ranking kinds: the five totals.
constexpr std::int32_t kRankingKinds = kRankingKindCount;
// A project never has this many challenge stages (their files are numbered in two digits); a
// setting beyond it is a damaged System.dat and must not size a list.
constexpr int kMaxChallengeStages = 9999;

// Play modes as the lives rule and the retry switches index them.
constexpr std::int32_t kPlayStory = 0;
constexpr std::int32_t kPlayChallenge = 1;
constexpr std::int32_t kPlayFree = 2;

// The status of one hero carried between stages: a copy of its definition and the five values
// that are not part of a definition.
class cSaveHeroStatus : public cDataRecord {
 public:
  cSaveHeroStatus();
  void RegisterFields(std::uint32_t version) override;
  // The body, then the definition.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  cCharaDef m_Def;
  std::int32_t m_Hp = 0;         // group 11
  std::int32_t m_Sp = 0;         // group 12
  std::int32_t m_TimeLimit = 0;  // group 22
  std::int32_t m_Lives = 0;      // group 23
  std::int32_t m_Music = 0;      // group 24
};

// The best score of one stage, by the stage name SetStageFileName made.
class cSaveStageResult : public cDataRecord {
 public:
  cSaveStageResult();
  cSaveStageResult(const std::string& name, std::int32_t bestScore);
  void RegisterFields(std::uint32_t version) override;

  std::string m_Name;
  std::int32_t m_BestScore = 0;
};

// One challenge stage's result: entry k is challenge stage k + 1.
class cSaveIntPair : public cDataRecord {
 public:
  cSaveIntPair();
  void RegisterFields(std::uint32_t version) override;

  std::int32_t m_Cleared = 0;
  std::int32_t m_BestScore = 0;
};

// What the save and load menus show of one slot. In memory only.
class cSaveSlotInfo : public cDataRecord {
 public:
  cSaveSlotInfo();
  void RegisterFields(std::uint32_t version) override;

  std::uint32_t m_Used = 0;
  SYSTEMTIME m_SaveTime;
};

// The counted lists of the file: u32 n, then n records, each read into a fresh default record. A
// count the file cannot hold is never acted on: the list keeps what it had and the file is damaged.
void ReadSaveHeroStatuses(CheckedVector<cSaveHeroStatus>& list, cRecordReader& in);
void ReadSaveStageResults(CheckedVector<cSaveStageResult>& list, cRecordReader& in);
void ReadSaveIntPairs(CheckedVector<cSaveIntPair>& list, cRecordReader& in);

class cSaveData : public cDataRecord {
 public:
  // Registered for the current layout and Reset.
  cSaveData();

  void RegisterFields(std::uint32_t version) override;
  // Body, save time and lists, the upgrades of older files, Normalize, then the lists that code
  // indexes by number filled up to their lengths (clear flags, common variables).
  void Read(cRecordReader& in) override;
  // Normalize, then the whole layout.
  void Write(cRecordWriter& out) override;

  // A new game: every number 0 and both texts empty, 25 saved flags 0, one default hero status,
  // 1000 clear flags with flag 0 set, 256 common variables 0, no stage or challenge results, one
  // challenge stage open, no slot, no active map entry, ranking name "aaa".
  void Reset();
  // The map position inside the world map (else its start), the challenge results exactly as many
  // as the project's challenge stages, no more open challenge stages than that.
  void Normalize();

  // Slots and files (save_slots.cpp). The slot files live in user_data\story\, which the game
  // ships; a folder that is missing fails the save like any other write.
  //
  // Stamps the local time and writes the slot's file through a temporary file. True when written:
  // the slot's summary then shows the new time. False (reported) when not, and then the record's
  // time, the slot summary and the previous file all stay as they were.
  bool SaveToSlot(std::int32_t slot);
  // The slot's file into this record, then the lives rule of story mode. 1 when the file was read;
  // 0 when it was missing or damaged (a damaged one is reported) and the record is kept as it was;
  // the lives rule applies either way.
  std::int32_t LoadFromSlot(std::int32_t slot);
  // Whether the progress names a story slot to save into: it was saved, and the number it keeps
  // (from a file) is one of the slots.
  bool HasSlot() const { return m_Slot >= 0 && m_Slot < kStorySlotCount; }
  // The challenge progress: 1 and the lives rule of challenge mode when read; 0 when the file is
  // missing or damaged (reported), and the record is kept.
  std::int32_t LoadChallengeData();
  // Lives after a load: unlimited when the mode's setting says so, else a stored unlimited count
  // becomes the mode's starting lives.
  void ApplyLivesRule(std::int32_t playMode);

  // Stage bookkeeping (save_progress.cpp).
  //
  // The stage name of a stage file: a "-1" sub-stage suffix (the last one in the name) becomes the
  // name's ending dot and sets the sub-stage flag; otherwise the name up to and including its last
  // dot; a name without a dot leaves nothing.
  void SetStageFileName(const char* name);
  // The best score of the stage, 0 for a stage not played.
  std::int32_t GetStageBestScore(const std::string& name) const;
  // A better score raises the stage's best and the total by the difference; a new stage is added
  // with its score.
  void RecordStageScore(const std::string& name, std::int32_t score);
  // One round more: every clear flag off, the map position at the world map's start.
  void StartNextRound();
  // Moves the ranking kind by delta over the kinds the project's ranking set `set` keeps (0: onto
  // a kept kind if it is not on one); nothing for a set that keeps none.
  void CycleEnabledEntry(std::int32_t set, std::int32_t delta);
  // What the world-map rules read; valid until the lists change.
  WorldProgress Progress() const;
  // The entry whose stage is being played, as event and entry index on map; a pair that names no
  // entry clears it. The record keeps it as one running number over every entry of every placed
  // event, so the value stays meaningful in a file.
  void SetActiveMapEntry(const cWorldMap& map, std::int32_t event, std::int32_t item);
  // That entry, or null when none is set or the map has no such entry.
  const cWorldEventItem* ActiveMapEntry(const cWorldMap& map) const;

  // Carried hero status (save_carry.cpp).
  //
  // The stage-start snapshot: common variables, lives, total 1.
  void SnapshotCarriedStatus();
  // At a retry: total 1 from the snapshot; the common variables too when forced or when the
  // restore switch of the play mode (or of a test play) is on; lives too when forced. Without a
  // snapshot there is nothing to put back but total 1's.
  void RestoreCarriedStatus(std::uint32_t force, std::int32_t playMode, bool testPlay);
  // Copies every carried group that holds a stored value into the hero's definition, the stage
  // (time limit, music) or this record (lives). HP and SP are GetCarriedHeroValues's.
  void ApplyCarriedStatus(std::int32_t hero, cCharaDef& def, cStageData& stage);
  // The carried HP and SP, each only when carried and stored; otherwise the value stays.
  void GetCarriedHeroValues(std::int32_t hero, std::int32_t* hp, std::int32_t* sp) const;
  // At a clear: the values of every group the project carries into the hero's status.
  void StoreCarriedStatus(std::int32_t hero, const cCharaDef& def, std::int32_t hp, std::int32_t sp,
                          std::uint16_t appearanceEffect, std::uint8_t appearanceMode, std::uint8_t appearanceLoop,
                          std::int32_t timeLeft, std::int32_t lives, std::int32_t music);
  // After a miss: forgets the groups the project's reset flags name.
  void ResetCarriedStatusFlags(std::uint32_t unused = 0);
  // Whether saved flag k is set; a flag the list does not hold is not.
  bool SavedFlag(int k) const;

  // Registered, in file order.
  std::int32_t m_StatusSaved = 0;
  std::int32_t m_MapX = 0;
  std::int32_t m_MapY = 0;
  // Running number of the active world-map entry (SetActiveMapEntry), kNoMapEntry for none. Kept in
  // the file's 4 bytes; a value from a file is only ever used after a range check.
  std::int32_t m_PlayItem = kNoMapEntry;
  std::int32_t m_Round = 0;
  std::int32_t m_StageNumber = 0;  // challenge: 1-based number of the challenge stage
  std::int32_t m_StageIndex = 0;   // shown by the stage-number banner
  std::int32_t m_StartLives = 0;   // kUnlimitedLives when unlimited
  std::int32_t m_Lives = 0;        // kUnlimitedLives when unlimited
  std::int32_t m_Score = 0;
  std::int32_t m_SumScore = 0;     // total 1
  std::int32_t m_TotalScore = 0;   // sum of the best stage (or challenge) scores
  std::int32_t m_SumTimeLeft = 0;  // total 2
  std::int32_t m_SumPlayTime = 0;  // total 3
  std::int32_t m_SumHP = 0;        // total 4, from 182
  std::int32_t m_SumSP = 0;        // total 5, from 182
  std::int32_t m_SubStage = 0;     // the stage name came from a "-1" sub-stage
  std::int32_t m_Music = 0;        // music-table index playing
  std::int32_t m_MusicLoop = 1;    // from 166
  std::int32_t m_MapDir = 0;       // from 194
  std::int32_t m_BackToMap = 0;    // from 190
  std::int32_t m_PrevMapX = 0;     // from 191
  std::int32_t m_PrevMapY = 0;     // from 191
  std::int32_t m_ChallengeOpen = 1;
  std::int32_t m_Slot = kNoSlot;
  std::int32_t m_AutoSave = 0;  // from 169
  std::int32_t m_RankingShown = 0;
  std::int32_t m_RankingTable = 0;  // ranking kind 0..4
  std::string m_StageName;
  std::string m_RankName;

  // Written after the body by Write.
  SYSTEMTIME m_SaveTime;
  CheckedVector<std::uint32_t> m_SavedFlags;  // one per carry group
  CheckedVector<cSaveHeroStatus> m_HeroStatuses;
  CheckedVector<std::uint32_t> m_RoundFlags;  // clear flags of the round
  CheckedVector<std::uint32_t> m_Variables;   // the common variables
  CheckedVector<cSaveStageResult> m_StageResults;
  CheckedVector<cSaveIntPair> m_ChallengeResults;

  // The stage-start snapshot; never stored.
  CheckedVector<std::uint32_t> m_SnapVariables;
  std::int32_t m_SnapLives = 0;
  std::int32_t m_SnapSumScore = 0;
  bool m_HasSnapshot = false;
};

extern cSaveData g_SaveData;
extern cSaveData g_StageStartSave;
extern cSaveData g_PrevStageStartSave;
extern CheckedVector<cSaveSlotInfo> g_SaveSlots;

// user_data\story\StoryNN.dat for slot (0-based): NN is slot + 1 in at least two digits.
std::string MakeStorySlotPath(std::int32_t slot);
// The slot shows the record's save time as used.
void UpdateSlotInfo(cSaveSlotInfo& info, const cSaveData& save);
// Fills every summary from its slot file: used with its time when the file opens, else unused.
void ScanSaveSlots(CheckedVector<cSaveSlotInfo>& slots);

// Where SaveToSlot takes the local time from: the host's clock unless a test puts a fixed one in.
// Null puts the host's clock back.
using SaveTimeSource = SYSTEMTIME (*)();
void SetSaveTimeSource(SaveTimeSource source);
SYSTEMTIME LocalSaveTime();
