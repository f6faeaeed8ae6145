#include "platform/services/record_stream.h"

#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "platform/services/record.h"

namespace {

// g_FileVersion is one value for the whole process, and the record classes test it while they read.
// So one record file is read at a time: a thread that opens one while another thread reads waits
// its turn. The lock is recursive because a reader may open a second file on its own thread.
std::recursive_mutex s_RecordFileLock;

// Record files open on this thread, and whether the last one closed was damaged.
thread_local int t_OpenReaders = 0;
thread_local bool t_LastReadDamaged = false;

}  // namespace

cRecordReader::cRecordReader(std::vector<std::uint8_t> image, bool damaged)
    : m_Lock(s_RecordFileLock), m_Bytes(std::move(image)) {
  m_OuterVersion = g_FileVersion;
  ++t_OpenReaders;
  if (!ReadU32(m_Version)) m_Version = g_CurrentVersion;
  if (damaged) m_Damaged = true;
  g_FileVersion = m_Version;
}

cRecordReader::~cRecordReader() {
  // A file opened inside the read of another gives the outer file its version back, so the outer
  // record's upgrades still see their own file.
  if (--t_OpenReaders > 0) g_FileVersion = m_OuterVersion;
  t_LastReadDamaged = m_Damaged;
}

bool LastRecordReadDamaged() { return t_LastReadDamaged; }

const std::uint8_t* cRecordReader::Take(std::size_t size) {
  if (size > Left()) {
    m_Damaged = true;
    return nullptr;
  }
  const std::uint8_t* at = m_Bytes.data() + m_Pos;
  m_Pos += size;
  return at;
}

// Explicit little-endian widths, whatever the host.
template <class T>
bool cRecordReader::ReadLittle(T& value) {
  const std::uint8_t* at = Take(sizeof(T));
  if (!at) return false;
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) bits |= std::uint64_t{at[i]} << (8 * i);
  if constexpr (std::is_same_v<T, float>) {
    value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
  } else if constexpr (std::is_same_v<T, double>) {
    value = std::bit_cast<double>(bits);
  } else {
    value = static_cast<T>(bits);
  }
  return true;
}

bool cRecordReader::ReadBytes(void* out, std::size_t size) {
  const std::uint8_t* at = Take(size);
  if (!at) return false;
  if (size > 0) std::memcpy(out, at, size);
  return true;
}

bool cRecordReader::Seek(std::size_t position) {
  if (m_Damaged || position > m_Bytes.size()) {
    m_Damaged = true;
    return false;
  }
  m_Pos = position;
  return true;
}

bool cRecordReader::Skip(std::size_t size) { return Take(size) != nullptr; }

bool cRecordReader::ReadU8(std::uint8_t& value) { return ReadLittle(value); }
bool cRecordReader::ReadI8(std::int8_t& value) { return ReadLittle(value); }
bool cRecordReader::ReadU16(std::uint16_t& value) { return ReadLittle(value); }
bool cRecordReader::ReadI16(std::int16_t& value) { return ReadLittle(value); }
bool cRecordReader::ReadU32(std::uint32_t& value) { return ReadLittle(value); }
bool cRecordReader::ReadI32(std::int32_t& value) { return ReadLittle(value); }
bool cRecordReader::ReadF32(float& value) { return ReadLittle(value); }
bool cRecordReader::ReadF64(double& value) { return ReadLittle(value); }

bool cRecordReader::ReadString(std::string& text) {
  std::uint32_t stored = 0;
  if (!ReadU32(stored)) return false;
  if (stored == 1) {
    text.clear();
    return true;
  }
  const std::uint8_t* block = stored == 0 ? nullptr : Take(stored);
  const void* end = block ? std::memchr(block, 0, stored) : nullptr;
  if (!end) {
    m_Damaged = true;
    return false;
  }
  text.assign(reinterpret_cast<const char*>(block), static_cast<const std::uint8_t*>(end) - block);
  return true;
}

bool cRecordReader::ReadCount(std::uint32_t& count, std::size_t minElementBytes) {
  std::uint32_t stored = 0;
  if (!ReadU32(stored)) return false;
  if (minElementBytes == 0) minElementBytes = 1;
  if (stored > Left() / minElementBytes) {
    m_Damaged = true;
    return false;
  }
  count = stored;
  return true;
}

template <class T>
void cRecordWriter::WriteLittle(T value) {
  std::uint64_t bits = 0;
  if constexpr (std::is_same_v<T, float>) {
    bits = std::bit_cast<std::uint32_t>(value);
  } else if constexpr (std::is_same_v<T, double>) {
    bits = std::bit_cast<std::uint64_t>(value);
  } else {
    bits = static_cast<std::make_unsigned_t<T>>(value);
  }
  std::uint8_t bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  WriteBytes(bytes, sizeof(T));
}

void cRecordWriter::WriteBytes(const void* data, std::size_t size) {
  if (m_Failed || size == 0) return;
  try {
    const auto* from = static_cast<const std::uint8_t*>(data);
    m_Bytes.insert(m_Bytes.end(), from, from + size);
  } catch (const std::bad_alloc&) {
    m_Failed = true;
  } catch (const std::length_error&) {
    m_Failed = true;
  }
}

void cRecordWriter::WriteU8(std::uint8_t value) { WriteLittle(value); }
void cRecordWriter::WriteI8(std::int8_t value) { WriteLittle(value); }
void cRecordWriter::WriteU16(std::uint16_t value) { WriteLittle(value); }
void cRecordWriter::WriteI16(std::int16_t value) { WriteLittle(value); }
void cRecordWriter::WriteU32(std::uint32_t value) { WriteLittle(value); }
void cRecordWriter::WriteI32(std::int32_t value) { WriteLittle(value); }
void cRecordWriter::WriteF32(float value) { WriteLittle(value); }
void cRecordWriter::WriteF64(double value) { WriteLittle(value); }

void cRecordWriter::WriteString(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.size() >= std::numeric_limits<std::uint32_t>::max()) {
    m_Failed = true;
    return;
  }
  WriteU32(static_cast<std::uint32_t>(text.size() + 1));
  if (text.empty()) return;
  WriteBytes(text.data(), text.size());
  WriteU8(0);
}

void cRecordWriter::WriteCount(std::size_t count) {
  if (count > std::numeric_limits<std::uint32_t>::max()) {
    m_Failed = true;
    return;
  }
  WriteU32(static_cast<std::uint32_t>(count));
}
