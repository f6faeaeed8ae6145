// The options record: its registration, defaults, the file, and the ranges every use respects.
#include "project/option.h"

#include <algorithm>
#include <utility>

#include "platform/host/text_codec.h"
#include "platform/services/checked.h"
#include "platform/services/log.h"

const std::array<std::string, 4> RankingRegistrationModes = {
    Utf8ToCp932("手動登録（登録名入力）"),
    Utf8ToCp932("手動登録（登録名固定）"),
    Utf8ToCp932("自動登録（登録名入力）"),
    Utf8ToCp932("自動登録（登録名固定）"),
};

namespace {

struct NumberRow {
  std::int32_t cOption::*member;
  std::int32_t maximum;
};

// By kOption...: the member and its range.
constexpr std::array<NumberRow, kOptionNumberCount> kNumbers = {{
    {&cOption::m_PaletteNumber, 23},
    {&cOption::m_Music, 1},
    {&cOption::m_SoundVolume, kSoundVolumeSteps - 1},
    {&cOption::m_RankingMode, 3},
}};

const NumberRow& Row(int number) {
  if (number >= 0 && number < kOptionNumberCount) return kNumbers[static_cast<std::size_t>(number)];
  ReportBadVectorIndex(number, kOptionNumberCount, static_cast<int>(sizeof(NumberRow)));
  return kNumbers[0];
}

constexpr std::int32_t kDefaultMusic = 1;
constexpr std::int32_t kDefaultSoundVolume = 7;
constexpr const char* kDefaultRankName = "aaa";

}  // namespace

cOption::cOption() {
  RegisterFields(kRecordVersion);
  Reset();
  m_Music = kDefaultMusic;
  m_SoundVolume = kDefaultSoundVolume;
  m_RankName = kDefaultRankName;
}

void cOption::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_PaletteNumber);
  AddField(m_Music);
  AddField(m_SoundVolume);
  AddField(m_RankingMode);
  AddString(m_RankName);
}

int cOption::Load(const char* path) {
  return LoadOverCopy(*this, *this, path, FileOwner::kPlayer) == WholeLoad::kRead ? 1 : 0;
}

int cOption::Save(const char* path) {
  if (SaveFile(path)) return 1;
  ReportLog(SJ("%s の保存に失敗しました！").c_str(), path ? path : "");
  return 0;
}

std::int32_t cOption::Maximum(int number) { return Row(number).maximum; }

std::int32_t& cOption::Number(int number) { return this->*Row(number).member; }

std::int32_t cOption::Number(int number) const { return this->*Row(number).member; }

std::int32_t cOption::ClampedNumber(int number) const {
  const NumberRow& row = Row(number);
  return std::clamp(this->*row.member, 0, row.maximum);
}

bool cOption::RankingNameFixed() const {
  const std::int32_t mode = RankingMode();
  return mode == kRankingManualFixedName || mode == kRankingAutoFixedName;
}

bool cOption::RankingAutomatic() const {
  const std::int32_t mode = RankingMode();
  return mode == kRankingAutoEnterName || mode == kRankingAutoFixedName;
}

const std::string& cOption::RankingModeLabel() const {
  return RankingRegistrationModes[static_cast<std::size_t>(RankingMode())];
}
