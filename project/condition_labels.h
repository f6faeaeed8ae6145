#pragma once
// What the stored values of a condition mean, and the status vocabulary that conditions, the
// status commands and the expression language share. Row = stored value, as in every label list.
#include <array>
#include <cstdint>

#include "project/label_list.h"

// Kinds; row 0 is the empty label of "no condition".
extern const LabelList ConditionKindLabels;
// Comparison of left with right (kinds 1-5); a stored operator above 5 never holds.
extern const LabelList ComparisonLabels;
// Kind 6: the posture tested, and whether it must be true (0) or false (1).
extern const LabelList PostureLabels;
extern const LabelList PostureTruthLabels;
// Kind 7: how the distance to the first hero is measured, and within (0) or outside (1).
extern const LabelList DistanceShapeLabels;
extern const LabelList DistanceWithinLabels;
// Whose value kinds 4-6 test: the character, its target, the system (kinds 4 and 5 only).
extern const LabelList ConditionSubjectLabels;
// The right side of kind 4.
extern const LabelList RightKindLabels;
// How the owner of a list combines its conditions: 0 all must hold, 1 one is enough.
extern const LabelList ConditionModeLabels;
// The eight character variables; variable number 0 is labelled "1 キャラ変数-1".
extern const LabelList CharaVariableLabels;

// A status row's value range.
struct StatusRange {
  std::int32_t low;
  std::int32_t high;
};

constexpr int kCharaStatusCount = 15;
constexpr int kSystemStatusCount = 5;
constexpr int kCharaStateCount = 7;

// Character statuses (subject 0 or 1): row 0 stands for a character variable, whose number comes
// with the condition or command.
extern const LabelList CharaStatusLabels;
extern const std::array<StatusRange, kCharaStatusCount> CharaStatusRanges;
// System statuses (subject 2). A stage with unlimited lives counts row 4 as 0.
extern const LabelList SystemStatusLabels;
extern const std::array<StatusRange, kSystemStatusCount> SystemStatusRanges;

// Character states (kind 5 and the second status command), with the labels of their values.
struct StateRow {
  StatusRange range;
  const LabelList* values;  // label of value v is row v - range.low
};
extern const LabelList CharaStateLabels;
extern const std::array<StateRow, kCharaStateCount> CharaStateRows;
