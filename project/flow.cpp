#include "project/flow.h"

#include <cstddef>
#include <type_traits>

#include "platform/services/record_ranges.h"
#include "project/command_normalize.h"
#include "project/load_context.h"
#include "project/upgrade_rows.h"

// Lists of these records grow by moving their elements, never by deep copies of them.
static_assert(std::is_nothrow_move_constructible_v<cFlow>);
static_assert(std::is_nothrow_move_constructible_v<cFlowCommand>);
static_assert(std::is_nothrow_move_constructible_v<cKeyCondition>);

namespace {

// The least a flow takes in a file: the two counts of the record base and its three list counts.
constexpr std::size_t kMinFlowBytes = 20;

// How deep the flow being read lies: 1 for a flow of a list at the top of a file, one more for each
// flow-change command it lies in.
thread_local int t_FlowDepth = 0;

class cFlowNesting {
 public:
  cFlowNesting() { ++t_FlowDepth; }
  ~cFlowNesting() { --t_FlowDepth; }
  cFlowNesting(const cFlowNesting&) = delete;
  cFlowNesting& operator=(const cFlowNesting&) = delete;
  bool TooDeep() const { return t_FlowDepth > kMaxFlowNesting; }
};

// Triggers that came in later moved the rows after them down: one row before old row 11 at 132,
// two rows before old row 5 at 164. Before 163 only 常時 flows had a group.
constexpr std::uint8_t kFirstTriggerMovedAt132 = 11;
constexpr std::uint8_t kFirstTriggerMovedAt164 = 5;

// In ascending order of version: a version-131 trigger 11 goes through both renumberings.
constexpr UpgradeRow<cFlow> kFlowUpgrades[] = {
    {132,
     [](cFlow& f) {
       if (f.m_Trigger >= kFirstTriggerMovedAt132) f.m_Trigger = static_cast<std::uint8_t>(f.m_Trigger + 1);
     }},
    {163,
     [](cFlow& f) {
       if (f.m_Trigger != kTriggerAlways) f.m_Group = 0;
     }},
    {164,
     [](cFlow& f) {
       if (f.m_Trigger >= kFirstTriggerMovedAt164) f.m_Trigger = static_cast<std::uint8_t>(f.m_Trigger + 2);
     }},
};

}  // namespace

cFlow::cFlow() {
  RegisterFields(kRecordVersion);
  Reset();
}

cFlow::~cFlow() = default;

cFlow::cFlow(const cFlow& src) = default;
cFlow::cFlow(cFlow&& src) noexcept = default;
cFlow& cFlow::operator=(cFlow&& src) = default;

cFlow& cFlow::operator=(const cFlow& src) {
  if (this == &src) return *this;
  cDataRecord::operator=(src);
  m_FlowId = src.m_FlowId;
  m_Group = src.m_Group;
  m_TestOnly = src.m_TestOnly;
  AssignRecords(m_Conditions, src.m_Conditions);
  m_ConditionMode = src.m_ConditionMode;
  m_KeepOnceMet = src.m_KeepOnceMet;
  m_Trigger = src.m_Trigger;
  m_KeyTolerance = src.m_KeyTolerance;
  m_KeyRepeat = src.m_KeyRepeat;
  AssignRecords(m_KeyConditions, src.m_KeyConditions);
  AssignRecords(m_Commands, src.m_Commands);
  return *this;
}

// The same eight bytes in every version, no text.
void cFlow::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_FlowId);
  AddField(m_Group);
  AddField(m_TestOnly);
  AddField(m_ConditionMode);
  AddField(m_KeepOnceMet);
  AddField(m_Trigger);
  AddField(m_KeyTolerance);
  AddField(m_KeyRepeat);
}

void cFlow::Read(cRecordReader& in) {
  const cFlowNesting nesting;
  if (nesting.TooDeep()) {
    in.MarkDamaged();
    return;
  }
  cDataRecord::Read(in);
  ReadConditionList(m_Conditions, in);
  ReadKeyConditionList(m_KeyConditions, in);
  ReadCommandList(m_Commands, in);
  const std::uint32_t version = in.Version();
  if (version < kRecordVersion) {
    ApplyUpgrades(kFlowUpgrades, *this, version);
  }
  Normalize();
}

// The commands normalise themselves as they are written.
void cFlow::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteConditionList(m_Conditions, out);
  WriteKeyConditionList(m_KeyConditions, out);
  WriteCommandList(m_Commands, out);
}

void cFlow::Normalize() {
  for (cConditionDef& condition : m_Conditions) condition.Normalize();
  for (cKeyCondition& step : m_KeyConditions) step.Normalize();
  for (cFlowCommand& command : m_Commands) NormalizeCommandParams(command);
}

void ReadFlowList(std::vector<cFlow>& list, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kMinFlowBytes)) return;
  // Grown one record at a time, so a list that breaks off never costs more memory than the records
  // the file really holds.
  list.clear();
  for (std::uint32_t i = 0; i < count && !in.Damaged(); ++i) list.emplace_back().Read(in);
}

void WriteFlowList(std::vector<cFlow>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (cFlow& flow : list) flow.Write(out);
}

void NormalizeFlowList(std::vector<cFlow>& flows) {
  std::erase_if(flows, [](const cFlow& flow) { return flow.m_TestOnly != 0; });
}

bool DropTestOnlyFlows() {
  const cLoadContext& context = LoadContext();
  return !context.testPlay && !context.keepMarkedFlows;
}

void DestroyFlowRange(cFlow* first, cFlow* last) { DestroyRecordRange(first, last); }

cFlow* CopyFlowRange(const cFlow* first, const cFlow* last, cFlow* dest) {
  return ConstructRecordRange(first, last, dest);
}

cFlow* ConstructFlowRange(const cFlow* first, const cFlow* last, cFlow* dest) {
  return ConstructRecordRange(first, last, dest);
}

cFlow* AssignFlowRange(const cFlow* first, const cFlow* last, cFlow* dest) {
  return AssignRecordRange(first, last, dest);
}

cFlow* AssignFlowRangeBackward(const cFlow* first, const cFlow* last, cFlow* destEnd) {
  return AssignRecordRangeBackward(first, last, destEnd);
}
