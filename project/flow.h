#pragma once
// A flow (フロー): one event script of a character. A trigger, start conditions, an optional key
// combination and a list of commands that run one after another or side by side. Character
// definitions hold a flow list; a command of the flow-change kind holds flows of its own.
//
// In a file: the record body (the numbers below, no text), the condition list, the key-condition
// list, the command list, each a u32 count and the records.
#include <cstdint>
#include <vector>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/condition.h"
#include "project/flow_command.h"
#include "project/key_condition.h"

// Triggers (FlowTriggerLabels) that the readers and stage play name.
constexpr std::uint8_t kTriggerAlways = 0;
constexpr std::uint8_t kTriggerDeath = 3;
constexpr std::uint8_t kTriggerBeforeStageStart = 18;
constexpr std::uint8_t kTriggerNone = 19;  // run only by the flow-control commands

// Flows nest through the flow-change commands; a file that nests deeper than this is damaged.
// The editing program nests a few levels at most.
constexpr int kMaxFlowNesting = 16;

class cFlow : public cDataRecord {
 public:
  // Registered for the current layout, every member 0, every list empty.
  cFlow();
  ~cFlow() override;
  cFlow(const cFlow& src);
  cFlow(cFlow&& src) noexcept;
  // Re-registers this record for the current version and copies every member, the three lists
  // deep (a command's move and shot records by value into records of its own).
  cFlow& operator=(const cFlow& src);
  cFlow& operator=(cFlow&& src);

  void RegisterFields(std::uint32_t version) override;
  // The body and the three lists; the upgrades of older files; then Normalize. A flow nested deeper
  // than kMaxFlowNesting is not read: the file is damaged.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  // Every condition and key condition normalised, every command through NormalizeCommandParams.
  void Normalize();

  std::uint8_t m_FlowId = 0;    // 0 none, 1..26 "A".."Z"; the flow-control commands address it
  std::uint8_t m_Group = 0;     // 0 none, 1..26 "a".."z"; one 常時 flow of a group runs at a time
  std::uint8_t m_TestOnly = 0;  // non-zero: the flow exists only in a test play
  CheckedVector<cConditionDef> m_Conditions;
  std::uint8_t m_ConditionMode = 0;              // 0 all conditions, 1 at least one
  std::uint8_t m_KeepOnceMet = 0;                // non-zero: once the conditions held, they hold for good
  std::uint8_t m_Trigger = 0;                    // FlowTriggerLabels
  std::uint8_t m_KeyTolerance = 0;               // input-history steps allowed between two key steps
  std::uint8_t m_KeyRepeat = 0;                  // 0: starts only on the step the keys are first complete
  CheckedVector<cKeyCondition> m_KeyConditions;  // oldest step first
  CheckedVector<cFlowCommand> m_Commands;
};

// A flow list in a file: u32 n, then n records. A count the file cannot hold is not acted on: the
// list keeps its contents and the file is damaged. A list that breaks off ends with the record that
// broke.
void ReadFlowList(std::vector<cFlow>& list, cRecordReader& in);
void WriteFlowList(std::vector<cFlow>& list, cRecordWriter& out);

// Removes every test-only flow, the following flows moving up. The readers call it unless the game
// runs a test play or the project keeps test-only flows (LoadContext).
void NormalizeFlowList(std::vector<cFlow>& flows);
// True when the flows being read lose their test-only flows.
bool DropTestOnlyFlows();

// Ranges of flows inside a vector (the flow changes of stage play). Every flow that gets a value is
// registered for the current version and has every member copied, the lists deep.
// Runs the destructor of every flow of [first, last) without freeing the storage.
void DestroyFlowRange(cFlow* first, cFlow* last);
// Construct copies of [first, last) in the raw storage at dest; the end of the copies.
cFlow* CopyFlowRange(const cFlow* first, const cFlow* last, cFlow* dest);
cFlow* ConstructFlowRange(const cFlow* first, const cFlow* last, cFlow* dest);
// Assign [first, last) onto the flows from dest on, front to back; the end of the targets.
cFlow* AssignFlowRange(const cFlow* first, const cFlow* last, cFlow* dest);
// The same back to front, ending at destEnd, for moves towards the end inside one vector; the
// start of the targets.
cFlow* AssignFlowRangeBackward(const cFlow* first, const cFlow* last, cFlow* destEnd);
