// The input's histories: two run-length rings of the words for questions about past frames, and
// one run list per key condition for the event scripts.
#include <algorithm>

#include "platform/input/input.h"

std::vector<cInput> g_Inputs(1);

namespace {

struct sKeyCondition {
  std::uint16_t mask;
  int anyBit;
};

// The direction lists: no direction, exactly one of the eight directions, any direction.
constexpr std::array<sKeyCondition, kDirKeyLists> kDirConditions = {{
    {0, 0},                     // nothing
    {kDirLeft, 0},              // left
    {kDirRight, 0},             // right
    {kDirUp, 0},                // up
    {kDirDown, 0},              // down
    {kDirUp | kDirLeft, 0},     // up-left
    {kDirDown | kDirLeft, 0},   // down-left
    {kDirUp | kDirRight, 0},    // up-right
    {kDirDown | kDirRight, 0},  // down-right
    {0x0F, 1},                  // any
}};

// The button lists: no button, then each of buttons 1 to 8 down.
constexpr std::array<sKeyCondition, kButtonKeyLists> kButtonConditions = {{
    {0, 0},
    {0x01, 1},
    {0x02, 1},
    {0x04, 1},
    {0x08, 1},
    {0x10, 1},
    {0x20, 1},
    {0x40, 1},
    {0x80, 1},
}};

void MakeKeyRunLists(CheckedVector<Elem16>& lists, int count) {
  lists.resize(static_cast<std::size_t>(count));
  for (Elem16& list : lists) list.assign(kKeyRunCount, Elem8{});
}

void PushRing(std::array<InputRun, kInputRunCount>& ring, std::int32_t& head, std::uint16_t word) {
  InputRun& newest = ring[static_cast<std::size_t>(head)];
  if (word != newest.value) {
    head = (head + 1) % kInputRunCount;
    ring[static_cast<std::size_t>(head)] = {word, 1};
  } else if (newest.count < kRunCountLimit) {
    ++newest.count;
  }
}

}  // namespace

cInput::cInput() {
  MakeKeyRunLists(m_DirKeyRuns, kDirKeyLists);
  MakeKeyRunLists(m_ButtonKeyRuns, kButtonKeyLists);
}

void cInput::ClearHistory() {
  for (auto& ring : m_Runs) ring.fill(InputRun{});
  m_RunHead.fill(0);
}

void cInput::PushHistory() {
  PushRing(m_Runs[0], m_RunHead[0], m_Direction);
  PushRing(m_Runs[1], m_RunHead[1], m_Buttons);
}

std::uint16_t cInput::GetPast(int which, int framesAgo) const {
  if (which < 0 || which >= static_cast<int>(m_Runs.size())) return 0;
  const auto& ring = m_Runs[static_cast<std::size_t>(which)];
  // Walks back run by run, at most once round the ring: a question older than the ring holds gets
  // the value of the run where the walk stops.
  std::int64_t n = static_cast<std::int64_t>(framesAgo) + 1;
  std::int32_t h = m_RunHead[static_cast<std::size_t>(which)];
  for (int i = 0; i < kInputRunCount; ++i) {
    const InputRun& run = ring[static_cast<std::size_t>(h)];
    if (n > run.count) {
      n -= run.count;
      h = (h + kInputRunCount - 1) % kInputRunCount;
    }
  }
  return ring[static_cast<std::size_t>(h)].value;
}

void cInput::InitKeyHistories() {
  MakeKeyRunLists(m_DirKeyRuns, kDirKeyLists);
  MakeKeyRunLists(m_ButtonKeyRuns, kButtonKeyLists);
}

void cInput::PushKeyHistories() {
  for (int i = 0; i < kDirKeyLists; ++i) {
    const sKeyCondition& condition = kDirConditions[static_cast<std::size_t>(i)];
    PushKeyHistory(m_DirKeyRuns.At(i), m_Direction, condition.mask, condition.anyBit);
  }
  for (int i = 0; i < kButtonKeyLists; ++i) {
    const sKeyCondition& condition = kButtonConditions[static_cast<std::size_t>(i)];
    PushKeyHistory(m_ButtonKeyRuns.At(i), m_Buttons, condition.mask, condition.anyBit);
  }
}

const Elem16* cInput::KeyRuns(int slot) const {
  if (slot < 0) return nullptr;
  const bool direction = slot < kDirKeyLists;
  const auto& lists = direction ? m_DirKeyRuns : m_ButtonKeyRuns;
  const int index = direction ? slot : slot - kDirKeyLists;
  if (index >= lists.Size() || lists[static_cast<std::size_t>(index)].empty()) return nullptr;
  return &lists[static_cast<std::size_t>(index)];
}

void PushKeyHistory(Elem16& list, std::uint16_t word, std::uint16_t mask, int anyBit) {
  if (list.empty()) return;
  std::uint32_t condition = anyBit ? ((word & mask) != 0) : (word == mask);
  Elem8& newest = list.At(0);
  if (condition != newest.state) {
    // A new run in front; the oldest falls off the end, so the list keeps its length.
    std::shift_right(list.begin(), list.end(), 1);
    list.At(0) = {condition, 1};
  } else if (newest.count < kRunCountLimit) {
    ++newest.count;
  }
}
