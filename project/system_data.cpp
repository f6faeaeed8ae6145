// The project settings record: its registration, its file sections, reading and writing.
#include "project/system_data.h"

#include <algorithm>
#include <type_traits>

#include "project/discarded_field.h"
#include "project/load_context.h"

namespace {

// A field every version holds.
constexpr std::uint32_t kAlways = 0;
// The files that hold one more number after LegacyScrollSync, which nothing keeps.
constexpr std::uint32_t kDiscardedFrom = 221;
constexpr std::uint32_t kDiscardedUntil = 259;

// The least room one element takes in the file: a record body is at least its two count words,
// and a flag set adds the count of its flags.
template <class Record>
constexpr std::size_t MinBodyBytes() {
  return std::is_same_v<Record, cSystemFlagSet> ? 12 : 8;
}

// Every section reader keeps the member as it was when not even the count is there; a count that
// could not fit in what is left is refused by the reader.
void ReadSection(CheckedVector<std::uint8_t>& bytes, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, 1)) return;
  CheckedVector<std::uint8_t> read(count, 0);
  if (count > 0 && !in.ReadBytes(read.data(), count)) return;
  bytes = std::move(read);
}

void ReadSection(CheckedVector<std::int32_t>& values, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, 4)) return;
  values.assign(count, 0);
  for (std::int32_t& value : values)
    if (!in.ReadI32(value)) return;
}

void ReadSection(CheckedVector<std::string>& texts, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, 4)) return;
  texts.assign(count, std::string());
  for (std::string& text : texts)
    if (!ReadSizedString(text, in)) return;
}

template <class Record>
void ReadSection(CheckedVector<Record>& records, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, MinBodyBytes<Record>())) return;
  records.clear();
  records.resize(count);
  for (Record& record : records) {
    if (in.Damaged()) return;
    record.Read(in);
  }
}

void WriteSection(CheckedVector<std::uint8_t>& bytes, cRecordWriter& out) { WriteByteVector(bytes, out); }

void WriteSection(CheckedVector<std::int32_t>& values, cRecordWriter& out) {
  out.WriteCount(values.size());
  for (std::int32_t value : values) out.WriteI32(value);
}

void WriteSection(CheckedVector<std::string>& texts, cRecordWriter& out) {
  out.WriteCount(texts.size());
  for (const std::string& text : texts) WriteSizedString(text, out);
}

template <class Record>
void WriteSection(CheckedVector<Record>& records, cRecordWriter& out) {
  WriteRecordVector(records, out);
}

}  // namespace

cSystemData::cSystemData() {
  RegisterFields(kRecordVersion);
  SetDefaults();
}

// Registration order is file order, not member order (KeepMarkedFlows before ReplayRecording),
// and the versions do not rise down the list (SystemColourStep before SystemColourCycling).
void cSystemData::RegisterFields(std::uint32_t version) {
  ClearFields();
  const auto from = [&](std::uint32_t first, auto& member) {
    if (version >= first) AddField(member);
  };
  from(185, m_ExtraLifeByScore);
  from(kAlways, m_ScorePerExtraLife);
  from(kAlways, m_HideStageWhilePaused);
  from(kAlways, m_MessageFontLetters);
  from(205, m_FontFaceIndex);
  from(170, m_MessageFontCentred);
  from(113, m_KeepMarkedFlows);
  from(184, m_ReplayRecording);
  from(157, m_TitleMenuImages);
  from(kAlways, m_WorldMapKeepsLives);
  from(191, m_StoryRetryMenu);
  from(191, m_WorldMapLivesWindow);
  from(kAlways, m_ChallengeStageCount);
  from(kAlways, m_ChallengeAllOpen);
  from(167, m_StoryShowStageScores);
  from(167, m_StoryShowTotalScore);
  from(188, m_StoryRestoreOnRetry);
  from(224, m_StoryPauseRetry);
  from(167, m_ChallengeShowStageScores);
  from(167, m_ChallengeShowTotalScore);
  from(188, m_ChallengeRestoreOnRetry);
  from(224, m_ChallengePauseRetry);
  from(188, m_FreeRestoreOnRetry);
  from(192, m_TestPlayRestoreOnRetry);
  from(187, m_ColourMode);
  from(187, m_TransparentRed);
  from(187, m_TransparentGreen);
  from(187, m_TransparentBlue);
  from(214, m_LegacyScrollSync);
  // The descriptor points outside the record; it only ever lives for the read of such a file,
  // since every read ends by registering the current version again.
  if (version >= kDiscardedFrom && version <= kDiscardedUntil) AddField(g_DiscardedField);
  from(261, m_LegacyScaleAnchor);
  from(272, m_KeepDeadCharacters);
  from(287, m_SystemColourTint);
  from(515, m_SystemColourStep);
  from(289, m_SystemColourCycling);
  from(525, m_LegacyFlowRetrigger);
  from(555, m_LegacyEdgeEntry);
  AddString(m_Title);
}

template <class Visit>
void cSystemData::VisitSections(Visit&& visit) {
  visit(m_CarryFlags, kAlways);
  visit(m_CarryResetFlags, 501);
  visit(m_StatusBarItems, kAlways);
  visit(m_StartingLives, kAlways);
  visit(m_UnlimitedLives, 191);
  visit(m_RankingSets, 186);
  visit(m_UiTexts, kAlways);
  visit(m_SoundFiles, kAlways);
  visit(m_MenuBgm, kAlways);
  visit(m_MenuBgmLoop, 202);
  visit(m_TitleMenu, kAlways);
  visit(m_SaveMenu, kAlways);
  visit(m_OptionMenu, kAlways);
  visit(m_SystemIniKeys, kAlways);
}

void cSystemData::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  const std::uint32_t version = in.Version();
  VisitSections([&](auto& section, std::uint32_t first) {
    if (version >= first && !in.Damaged()) ReadSection(section, in);
  });
  if (version < kRecordVersion) Upgrade(version);
  PadToFixedLengths();
  ClampMenuBgm();
}

void cSystemData::Write(cRecordWriter& out) {
  ClampMenuBgm();
  cDataRecord::Write(out);
  VisitSections([&](auto& section, std::uint32_t) { WriteSection(section, out); });
}

void cSystemData::ClampMenuBgm() {
  const auto rows = static_cast<std::uint32_t>(std::max(LoadContext().database.musics, 0));
  for (std::int32_t& row : m_MenuBgm)
    if (static_cast<std::uint32_t>(row) >= rows) row = 0;
}

int cSystemData::ChallengeStages() const { return std::max(m_ChallengeStageCount, 0); }

std::int32_t cSystemData::StartingLivesOf(int mode) const {
  if (mode < 0 || mode >= m_StartingLives.Size()) return 0;
  return std::clamp(m_StartingLives.At(mode), 0, kMaxLives);
}

bool cSystemData::UnlimitedLivesIn(int mode) const {
  return mode >= 0 && mode < m_UnlimitedLives.Size() && m_UnlimitedLives.At(mode) != 0;
}

bool cSystemData::RankingEnabledIn(int mode) const {
  return mode >= 0 && mode < m_RankingSets.Size() && m_RankingSets.At(mode).m_Enabled != 0;
}
