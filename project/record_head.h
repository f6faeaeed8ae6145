#pragma once
// The head that blocks and item definitions share: where a placed record stands, which palette
// entry it inherits from and which property groups it takes, its name, and its appearance
// conditions. Both classes lay it out alike, register its numbers first and write its own parts
// straight after the record body, so the two share the code here and the copy operations of their
// groups 0 and 1.
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/condition.h"

class cRecordHead : public cDataRecord {
 public:
  std::int16_t m_PosX = 0;                     // column of a placed record, in map cells
  std::int16_t m_PosY = 0;                     // row
  std::int8_t m_InheritSource = 0;             // 0 none, 1 common palette, 2 stage palette
  std::int16_t m_InheritIndex = 0;             // palette entry; 0 means no inheritance
  CheckedVector<std::uint8_t> m_InheritFlags;  // one per property group; non-zero: inherited
  std::string m_Name;
  CheckedVector<cConditionDef> m_Conditions;  // appearance conditions
  std::uint8_t m_ConditionMode = 0;           // 0 all must hold, 1 at least one
  std::uint8_t m_KeepOnceMet = 0;             // non-zero: once the conditions held, the record stays

 protected:
  cRecordHead() = default;

  // The head's numbers, first in the field list: inherit source, inherit index, condition mode,
  // keep once met. The name is the record's only text; the class adds it after its own numbers.
  void AddHeadFields();
  // What follows the record body: position x and y, u32 n and n flag bytes, the condition list.
  // The stored flag count is kept as it is, more or fewer than the class has groups.
  void ReadHeadParts(cRecordReader& in);
  void WriteHeadParts(cRecordWriter& out);
};

// Group 0 of both classes: the name.
template <class T>
void CopyHeadName(T& target, const T& source) {
  static_cast<cRecordHead&>(target).m_Name = static_cast<const cRecordHead&>(source).m_Name;
}

// Group 1 of both classes: the conditions with their mode and keep-once-met flag.
template <class T>
void CopyHeadConditions(T& target, const T& source) {
  cRecordHead& to = target;
  const cRecordHead& from = source;
  to.m_Conditions = from.m_Conditions;
  to.m_ConditionMode = from.m_ConditionMode;
  to.m_KeepOnceMet = from.m_KeepOnceMet;
}
