// The story save slots and the challenge progress on disk.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <mutex>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/text.h"
#include "project/project_paths.h"
#include "project/save_data.h"

namespace {

SYSTEMTIME HostLocalTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  // std::localtime hands out one shared buffer.
  static std::mutex guard;
  std::lock_guard<std::mutex> lock(guard);
  const std::tm* local = std::localtime(&seconds);
  if (!local) return {};
  SYSTEMTIME time;
  time.wYear = static_cast<std::uint16_t>(local->tm_year + 1900);
  time.wMonth = static_cast<std::uint16_t>(local->tm_mon + 1);
  time.wDayOfWeek = static_cast<std::uint16_t>(local->tm_wday);
  time.wDay = static_cast<std::uint16_t>(local->tm_mday);
  time.wHour = static_cast<std::uint16_t>(local->tm_hour);
  time.wMinute = static_cast<std::uint16_t>(local->tm_min);
  time.wSecond = static_cast<std::uint16_t>(std::min(local->tm_sec, 59));
  time.wMilliseconds = static_cast<std::uint16_t>(millis < 0 ? 0 : millis);
  return time;
}

SaveTimeSource g_SaveTimeSource = nullptr;

bool SlotInList(std::int32_t slot, const CheckedVector<cSaveSlotInfo>& slots) {
  return slot >= 0 && slot < slots.Size();
}

}  // namespace

void SetSaveTimeSource(SaveTimeSource source) { g_SaveTimeSource = source; }

SYSTEMTIME LocalSaveTime() { return g_SaveTimeSource ? g_SaveTimeSource() : HostLocalTime(); }

std::string MakeStorySlotPath(std::int32_t slot) {
  std::string number;
  IntToPaddedString(number, slot + 1, 2, 1, 0);
  return ProjectPathTable[kPathStorySlotPrefix] + number + ".dat";
}

void UpdateSlotInfo(cSaveSlotInfo& info, const cSaveData& save) {
  info.m_Used = 1;
  info.m_SaveTime = save.m_SaveTime;
}

bool cSaveData::SaveToSlot(std::int32_t slot) {
  const std::string path = MakeStorySlotPath(slot);
  if (!SlotInList(slot, g_SaveSlots)) {
    ReportLog(SJ("%s の保存に失敗しました！").c_str(), path.c_str());
    return false;
  }
  const SYSTEMTIME previous = m_SaveTime;
  m_SaveTime = LocalSaveTime();
  if (!SaveFile(path.c_str())) {
    // The menu must not show a save that is not on disk.
    m_SaveTime = previous;
    ReportLog(SJ("%s の保存に失敗しました！").c_str(), path.c_str());
    return false;
  }
  UpdateSlotInfo(g_SaveSlots.At(slot), *this);
  return true;
}

std::int32_t cSaveData::LoadFromSlot(std::int32_t slot) {
  const WholeLoad result = LoadOverCopy(*this, *this, MakeStorySlotPath(slot).c_str(), FileOwner::kPlayer);
  ApplyLivesRule(kPlayStory);
  return result == WholeLoad::kRead ? 1 : 0;
}

std::int32_t cSaveData::LoadChallengeData() {
  if (LoadOverCopy(*this, *this, ProjectPathTable[kPathChallengeProgress].c_str(), FileOwner::kPlayer) !=
      WholeLoad::kRead)
    return 0;
  ApplyLivesRule(kPlayChallenge);
  return 1;
}

void cSaveData::ApplyLivesRule(std::int32_t playMode) {
  if (g_System.UnlimitedLivesIn(playMode)) {
    m_StartLives = kUnlimitedLives;
    m_Lives = kUnlimitedLives;
    return;
  }
  if (m_Lives == kUnlimitedLives && playMode >= 0 && playMode < g_System.m_StartingLives.Size())
    m_Lives = g_System.StartingLivesOf(playMode);
}

void ScanSaveSlots(CheckedVector<cSaveSlotInfo>& slots) {
  // One record for every slot. Only the save time goes into the summaries, and a file too short to
  // hold one must not show the slot before it's, so that alone is cleared between the slots.
  cSaveData save;
  for (int i = 0; i < slots.Size(); ++i) {
    RecordReadFile file = OpenRecordRead(MakeStorySlotPath(i).c_str(), FileOwner::kPlayer);
    if (!file) {
      slots.At(i).m_Used = 0;
      continue;
    }
    save.m_SaveTime = SYSTEMTIME{};
    save.Read(*file);
    UpdateSlotInfo(slots.At(i), save);
    CloseRecordFile(file);
  }
}
