// The element records of the project settings and the counted forms of its sections.
#include "project/system_data.h"

namespace {

// The number switch of the status-bar gauges came with this version.
constexpr std::uint32_t kShowNumberVersion = 204;

}  // namespace

cStatusBarItem::cStatusBarItem() { RegisterFields(g_CurrentVersion); }

void cStatusBarItem::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_Shown);
  AddField(m_Icon);
  AddField(m_Digits);
  if (version >= kShowNumberVersion) AddField(m_ShowNumber);
  AddString(m_Label);
}

void cStatusBarItem::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  if (in.Version() < kShowNumberVersion) m_ShowNumber = 1;
}

cSystemMenuItem::cSystemMenuItem() {
  RegisterFields(g_CurrentVersion);
  Reset();
  m_Shown = 1;
}

void cSystemMenuItem::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Shown);
  AddString(m_Label);
}

cSystemFlagSet::cSystemFlagSet() : m_Flags(kRankingKindCount, 0) { RegisterFields(g_CurrentVersion); }

void cSystemFlagSet::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Enabled);
}

void cSystemFlagSet::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  std::uint32_t count = 0;
  if (!in.ReadCount(count, 1)) return;
  CheckedVector<std::uint8_t> flags(count, 0);
  if (count > 0 && !in.ReadBytes(flags.data(), count)) return;
  m_Flags = std::move(flags);
}

void cSystemFlagSet::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteByteVector(m_Flags, out);
}

cSystemIniKey::cSystemIniKey() { RegisterFields(g_CurrentVersion); }

void cSystemIniKey::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Kind);
  AddField(m_IntValue);
  AddString(m_IniName);
  AddString(m_StringValue);
}

void cSystemIniKey::SetInt(const std::string& name, std::int32_t value) {
  m_IniName = name;
  m_Kind = kIntKey;
  m_IntValue = value;
}

void cSystemIniKey::SetString(const std::string& name, const std::string& value) {
  m_IniName = name;
  m_Kind = kStringKey;
  m_StringValue = value;
}

bool ReadSizedString(std::string& text, cRecordReader& in) { return in.ReadString(text); }

// Written whole, however long: the reader takes any length the file holds.
void WriteSizedString(const std::string& text, cRecordWriter& out) { out.WriteString(text); }

void WriteByteVector(const std::vector<std::uint8_t>& bytes, cRecordWriter& out) {
  out.WriteCount(bytes.size());
  out.WriteBytes(bytes.data(), bytes.size());
}
