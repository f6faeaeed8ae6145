#include "platform/services/record.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <typeinfo>

std::uint32_t g_FileVersion = 0;
std::uint32_t g_CurrentVersion = 0;
std::uint32_t g_StripCR = 0;

// Registered members are written as their memory images, and the files are little-endian.
static_assert(std::endian::native == std::endian::little, "record members are stored as little-endian images");

void InitRecordSettings() {
  g_CurrentVersion = kRecordVersion;
  g_StripCR = 1;
}

namespace {

std::uintptr_t Address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

// The address that member, which lies inside from, has inside to: the same offset from the record.
void* MovedPointer(const void* member, const cDataRecord* from, const cDataRecord* to) {
  if (!member || !from || !to) return nullptr;
  return reinterpret_cast<void*>(Address(to) + (Address(member) - Address(from)));
}

void RemoveCarriageReturns(std::string& text) { std::erase(text, '\r'); }

}  // namespace

FieldDesc& FieldDesc::operator=(const FieldDesc& src) { return RebaseFieldDesc(*this, src); }

StringFieldDesc& StringFieldDesc::operator=(const StringFieldDesc& src) { return RebaseStringFieldDesc(*this, src); }

FieldDesc& RebaseFieldDesc(FieldDesc& target, const FieldDesc& src) {
  target.count = src.count;
  target.elemSize = src.elemSize;
  target.data = MovedPointer(src.data, src.owner, target.owner);
  return target;
}

StringFieldDesc& RebaseStringFieldDesc(StringFieldDesc& target, const StringFieldDesc& src) {
  target.str = static_cast<std::string*>(MovedPointer(src.str, src.owner, target.owner));
  return target;
}

std::vector<FieldDesc>& CopyFieldDescs(std::vector<FieldDesc>& target, const std::vector<FieldDesc>& src,
                                       cDataRecord* owner) {
  target.resize(src.size(), FieldDesc(owner, nullptr, 0, 0));
  for (std::size_t i = 0; i < src.size(); ++i) RebaseFieldDesc(target[i], src[i]);
  return target;
}

std::vector<StringFieldDesc>& CopyStringFieldDescs(std::vector<StringFieldDesc>& target,
                                                   const std::vector<StringFieldDesc>& src, cDataRecord* owner) {
  target.resize(src.size(), StringFieldDesc(owner, nullptr));
  for (std::size_t i = 0; i < src.size(); ++i) RebaseStringFieldDesc(target[i], src[i]);
  return target;
}

void ClearFieldDescs(std::vector<FieldDesc>& descs) { descs.clear(); }

cDataRecord::cDataRecord(const cDataRecord& src) {
  CopyFieldDescs(m_Fields, src.m_Fields, this);
  CopyStringFieldDescs(m_Strings, src.m_Strings, this);
}

cDataRecord::cDataRecord(cDataRecord&& src) noexcept : m_Fields(std::move(src.m_Fields)), m_Strings(std::move(src.m_Strings)) {
  src.m_Fields.clear();
  src.m_Strings.clear();
  RebaseOnto();
}

cDataRecord& cDataRecord::operator=(const cDataRecord& src) {
  src.PrepareAsSource(g_CurrentVersion);
  RegisterFields(g_CurrentVersion);
  return *this;
}

cDataRecord& cDataRecord::operator=(cDataRecord&& src) { return *this = static_cast<const cDataRecord&>(src); }

void cDataRecord::RebaseOnto() {
  for (FieldDesc& desc : m_Fields) {
    desc.data = MovedPointer(desc.data, desc.owner, this);
    desc.owner = this;
  }
  for (StringFieldDesc& desc : m_Strings) {
    desc.str = static_cast<std::string*>(MovedPointer(desc.str, desc.owner, this));
    desc.owner = this;
  }
}

void cDataRecord::PrepareAsSource(std::uint32_t) const {}

void cDataRecord::RegisterFields(std::uint32_t) { ClearFields(); }

void cDataRecord::ClearFields() {
  ClearFieldDescs(m_Fields);
  m_Strings.clear();
}

void cDataRecord::AddField(void* data, std::size_t count, std::size_t elemSize) {
  m_Fields.emplace_back(this, data, static_cast<std::uint32_t>(count), static_cast<std::int8_t>(elemSize));
}

void cDataRecord::AddString(std::string& text) { m_Strings.emplace_back(this, &text); }

void cDataRecord::Read(cRecordReader& in) {
  const std::uint32_t version = in.Version();
  RegisterFields(version);
  ReadNumbers(in);
  ReadStrings(in);
  if (version != g_CurrentVersion) RegisterFields(g_CurrentVersion);
}

// A count of zero or less (as a signed number) means no members. More members than this version
// registers is a malformed body: nothing more of the body is read, since there is nowhere right to
// put it, and for a project file the failure line goes out.
void cDataRecord::ReadNumbers(cRecordReader& in) {
  std::uint32_t stored = 0;
  if (!in.ReadU32(stored)) return;
  const auto count = static_cast<std::int32_t>(stored);
  if (count <= 0) return;
  if (count > m_Fields.Size()) {
    if (in.Owner() == FileOwner::kProject)
      ReportBadVectorIndex(m_Fields.Size(), m_Fields.Size(), CheckedElementSize<FieldDesc>());
    in.MarkDamaged();
    return;
  }
  std::size_t bytes = 0;
  for (int i = 0; i < count; ++i) bytes += m_Fields.At(i).Bytes();
  if (bytes > in.Left()) {
    in.MarkDamaged();
    return;
  }
  for (int i = 0; i < count; ++i) {
    const FieldDesc& desc = m_Fields.At(i);
    in.ReadBytes(desc.data, desc.Bytes());
  }
}

void cDataRecord::ReadStrings(cRecordReader& in) {
  std::uint32_t stored = 0;
  if (!in.ReadU32(stored)) return;
  const auto count = static_cast<std::int32_t>(stored);
  int read = 0;
  if (count > m_Strings.Size()) {
    if (in.Owner() == FileOwner::kProject)
      ReportBadVectorIndex(m_Strings.Size(), m_Strings.Size(), CheckedElementSize<StringFieldDesc>());
    in.MarkDamaged();
  } else if (count > 0 && static_cast<std::size_t>(count) > in.Left() / 4) {
    in.MarkDamaged();
  } else {
    while (read < count && in.ReadString(*m_Strings.At(read).str)) ++read;
  }
  if (!g_StripCR) return;
  // Texts the file did not reach keep their values, carriage returns and all.
  const int strip = in.Damaged() ? read : m_Strings.Size();
  for (int j = 0; j < strip; ++j) RemoveCarriageReturns(*m_Strings.At(j).str);
}

void cDataRecord::Write(cRecordWriter& out) {
  RegisterFields(g_CurrentVersion);
  out.WriteCount(m_Fields.size());
  for (const FieldDesc& desc : m_Fields) out.WriteBytes(desc.data, desc.Bytes());
  WriteStrings(out);
}

void cDataRecord::WriteStrings(cRecordWriter& out) {
  out.WriteCount(m_Strings.size());
  for (const StringFieldDesc& desc : m_Strings) out.WriteString(*desc.str);
}

void cDataRecord::Reset() {
  RegisterFields(g_CurrentVersion);
  for (const FieldDesc& desc : m_Fields) std::memset(desc.data, 0, desc.Bytes());
  for (const StringFieldDesc& desc : m_Strings) desc.str->clear();
}

void cDataRecord::Assign(const cDataRecord& src) {
  RegisterFields(g_CurrentVersion);
  if (&src == this) return;
  if (typeid(*this) != typeid(src)) {
    AssignFromOtherClass(src);
    return;
  }
  // The same class keeps its members at the same offsets, so src's registration is ours moved
  // over and src itself is left alone: it may be a shared table entry that others read meanwhile.
  for (const FieldDesc& desc : m_Fields) std::memcpy(desc.data, MovedPointer(desc.data, this, &src), desc.Bytes());
  for (const StringFieldDesc& desc : m_Strings) *desc.str = *static_cast<const std::string*>(MovedPointer(desc.str, this, &src));
}

// Records of two classes: each member is copied from src's member at the same index. An index that
// src lacks, or whose member differs in size, takes the failure path and is left as it is.
void cDataRecord::AssignFromOtherClass(const cDataRecord& src) {
  src.RegisterFieldsAsSource();
  for (int i = 0; i < m_Fields.Size(); ++i) {
    const FieldDesc& desc = m_Fields.At(i);
    if (i >= src.m_Fields.Size() || src.m_Fields.At(i).Bytes() != desc.Bytes()) {
      ReportBadVectorIndex(i, src.m_Fields.Size(), CheckedElementSize<FieldDesc>());
      continue;
    }
    std::memcpy(desc.data, src.m_Fields.At(i).data, desc.Bytes());
  }
  for (int i = 0; i < m_Strings.Size(); ++i) {
    if (i >= src.m_Strings.Size()) {
      ReportBadVectorIndex(i, src.m_Strings.Size(), CheckedElementSize<StringFieldDesc>());
      continue;
    }
    *m_Strings.At(i).str = *src.m_Strings.At(i).str;
  }
}

// The lists are a cache of the record's own layout, so a const record may rebuild them.
void cDataRecord::RegisterFieldsAsSource() const { const_cast<cDataRecord*>(this)->RegisterFields(g_CurrentVersion); }

void cDataRecord::StripCR() {
  for (const StringFieldDesc& desc : m_Strings) RemoveCarriageReturns(*desc.str);
}
