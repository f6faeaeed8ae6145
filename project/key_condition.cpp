#include "project/key_condition.h"

#include <cstddef>

namespace {

// The least a key step takes in a file: the two counts of the record base and the state count.
constexpr std::size_t kMinKeyConditionBytes = 12;

}  // namespace

cKeyCondition::cKeyCondition() {
  RegisterFields(kRecordVersion);
  Reset();
}

// The same seven numbers in every version: 5 arrays, 7 bytes, no text.
void cKeyCondition::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_FacingRelative);
  AddField(m_ShortestHold);
  AddField(m_LongestHold);
  AddField(m_AnyHold);
  AddField(m_Combination);
}

void cKeyCondition::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  // One byte per state, so the count is bounded by what the file has left.
  std::uint32_t count = 0;
  if (!in.ReadCount(count, 1)) return;
  std::vector<std::uint8_t> states(count);
  if (in.ReadBytes(states.data(), states.size())) m_KeyStates = std::move(states);
  Normalize();
}

void cKeyCondition::Write(cRecordWriter& out) {
  Normalize();
  cDataRecord::Write(out);
  out.WriteCount(m_KeyStates.size());
  out.WriteBytes(m_KeyStates.data(), m_KeyStates.size());
}

void cKeyCondition::Reset() {
  cDataRecord::Reset();
  m_KeyStates.assign(kKeySlotCount, kKeyIgnored);
}

int cKeyCondition::MirroredSlot(int slot) {
  // Index: the slot as written for facing right; value: the slot that holds for facing left.
  static constexpr int kMirror[kFirstButtonSlot] = {0, 2, 1, 3, 4, 7, 8, 5, 6, 9};
  return slot >= 0 && slot < kFirstButtonSlot ? kMirror[slot] : slot;
}

void ReadKeyConditionList(std::vector<cKeyCondition>& list, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kMinKeyConditionBytes)) return;
  // Grown one record at a time, so a list that breaks off never costs more memory than the records
  // the file really holds.
  list.clear();
  for (std::uint32_t i = 0; i < count && !in.Damaged(); ++i) list.emplace_back().Read(in);
}

void WriteKeyConditionList(std::vector<cKeyCondition>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (cKeyCondition& step : list) step.Write(out);
}

const LabelList& KeyStateLabels() {
  static const LabelList labels{"--", "押", "離"};
  return labels;
}

const LabelList& KeyCombinationLabels() {
  static const LabelList labels{"全てのキーが真なら成立", "1つ以上のキーが真なら成立", "1つだけキーが真なら成立"};
  return labels;
}
