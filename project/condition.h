#pragma once
// A condition: one test that decides whether a block, a character or an item exists on the stage,
// or whether a flow may start. The owner of a list of them stores whether all or at least one must
// hold (ConditionModeLabels). What each stored value means is in condition_labels.h; evaluating
// them is stage play's business.
#include <cstdint>
#include <vector>

#include "platform/services/record.h"

// The kinds, as stored.
constexpr std::uint8_t kConditionNone = 0;
constexpr std::uint8_t kConditionCommonVar = 1;
constexpr std::uint8_t kConditionStageVar = 2;
constexpr std::uint8_t kConditionCharaVar = 3;
constexpr std::uint8_t kConditionStatus = 4;
constexpr std::uint8_t kConditionState = 5;
constexpr std::uint8_t kConditionPosture = 6;
constexpr std::uint8_t kConditionDistance = 7;

// Subjects of kinds 4 to 6 (and of a status on the right side).
constexpr std::uint8_t kSubjectSelf = 0;
constexpr std::uint8_t kSubjectTarget = 1;
constexpr std::uint8_t kSubjectSystem = 2;

// Right sides of kind 4.
constexpr std::uint8_t kRightConstant = 0;
constexpr std::uint8_t kRightRandom = 1;
constexpr std::uint8_t kRightStatus = 2;
constexpr std::uint8_t kRightVariable = 3;

class cConditionDef : public cDataRecord {
 public:
  // Registered for the current layout, every member 0.
  cConditionDef();

  void RegisterFields(std::uint32_t version) override;
  // The body of the file's version, then the upgrades of older layouts, then Normalize.
  void Read(cRecordReader& in) override;
  // A condition refers to no palette or database entry, so there is nothing to drop; the owners
  // call it all the same, so a future reference gets its check in this one place.
  void Normalize() {}

  std::uint8_t m_Kind = 0;
  std::uint8_t m_LeftIsVariable = 0;  // kind 4: 0 a status on the left, 1 a variable
  std::uint8_t m_LeftVarScope = 0;    // 0 common, 1 stage variable
  std::uint8_t m_Subject = 0;         // kinds 4-6: kSubject*
  std::uint8_t m_Item = 0;            // status row, state row or posture, by kind
  std::int16_t m_Number = 0;          // variable number, or the state value of kind 5
  std::uint8_t m_RightKind = 0;       // kind 4: kRight*
  std::int32_t m_Value = 0;           // compared value, constant, or distance in hbl
  std::int32_t m_RandomLow = 0;
  std::int32_t m_RandomHigh = 0;
  std::uint8_t m_RightSubject = 0;
  std::uint8_t m_RightItem = 0;
  std::uint8_t m_RightVarScope = 0;
  std::int16_t m_RightNumber = 0;
  std::uint8_t m_Operator = 0;  // comparison, posture なら/でないなら, or distance 以内/外
  std::uint8_t m_Percent = 0;   // kind 4: the right side is a percentage of the maximum
  std::uint8_t m_Shape = 0;     // kind 7: DistanceShapeLabels

 private:
  // Files before version 110 hold two words the current layout dropped; they land here and are
  // never looked at. A member rather than a shared global, so every registered field lies inside
  // the record as the record base expects.
  std::uint16_t m_Discarded = 0;
};

// A condition list in a file: u32 n, then n records. Reading replaces the list with n default
// conditions, each then read from the file. A count the file cannot hold is not acted on: the list
// keeps its contents and the file is damaged. A list that breaks off ends with the record that
// broke.
void ReadConditionList(std::vector<cConditionDef>& list, cRecordReader& in);
void WriteConditionList(std::vector<cConditionDef>& list, cRecordWriter& out);
