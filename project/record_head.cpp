#include "project/record_head.h"

#include <cstddef>

void cRecordHead::AddHeadFields() {
  AddField(m_InheritSource);
  AddField(m_InheritIndex);
  AddField(m_ConditionMode);
  AddField(m_KeepOnceMet);
}

void cRecordHead::ReadHeadParts(cRecordReader& in) {
  in.ReadI16(m_PosX);
  in.ReadI16(m_PosY);
  std::uint32_t flags = 0;
  if (in.ReadCount(flags, 1)) {
    m_InheritFlags.assign(flags, 0);
    in.ReadBytes(m_InheritFlags.data(), m_InheritFlags.size());
  }
  ReadConditionList(m_Conditions, in);
}

void cRecordHead::WriteHeadParts(cRecordWriter& out) {
  out.WriteI16(m_PosX);
  out.WriteI16(m_PosY);
  out.WriteCount(m_InheritFlags.size());
  out.WriteBytes(m_InheritFlags.data(), m_InheritFlags.size());
  WriteConditionList(m_Conditions, out);
}
