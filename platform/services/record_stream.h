#pragma once
// The bytes of a record file on their way in and out.
//
// A reader holds the whole file and knows how much of it is left. Every read is whole or nothing: a
// value, count or text that is not in the file, or cannot fit in what is left, is never handed out,
// the target keeps its value, and the file is marked damaged. After that the reader gives nothing
// more, so a record whose body went wrong is not filled from the wrong place either.
//
// A writer collects the file in memory; a writer opened on a game path (OpenRecordWrite) puts it in
// place only when it is closed and every step has worked.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Who wrote a record file. The project's files come from the editing program: a body that does not
// match its record is a fault of the project and takes the checked containers' road (the failure
// line and the close). The player's own files (options, boot settings, saves, challenge progress,
// rankings) are written by the game itself: a damaged one is only marked damaged, for its reader to
// report once and set aside, so the game still starts and goes on.
enum class FileOwner { kProject, kPlayer };

class cRecordReader {
 public:
  // image is a whole record file: its u32 version word first. An image too short for the version
  // word is damaged and is read as the current version (so no upgrade runs on members it never
  // held). A reader is an open record file: it holds the record-file lock of the process from here
  // to its destruction (see OpenRecordRead) and sets g_FileVersion. Destroy it on the thread that
  // made it, and never wait for another thread while it is open: that thread may be waiting for it.
  explicit cRecordReader(std::vector<std::uint8_t> image, bool damaged = false);
  ~cRecordReader();
  cRecordReader(const cRecordReader&) = delete;
  cRecordReader& operator=(const cRecordReader&) = delete;

  // The file's format version: the value g_FileVersion holds while this file is open.
  std::uint32_t Version() const { return m_Version; }
  bool Damaged() const { return m_Damaged; }
  void MarkDamaged() { m_Damaged = true; }
  FileOwner Owner() const { return m_Owner; }
  void SetOwner(FileOwner owner) { m_Owner = owner; }
  // Bytes still to read; 0 once the file is damaged.
  std::size_t Left() const { return m_Damaged ? 0 : m_Bytes.size() - m_Pos; }

  // The whole file's size and the place of the next read, counted from the version word.
  std::size_t Size() const { return m_Bytes.size(); }
  std::size_t Position() const { return m_Pos; }
  // Moves to position (at most Size()); beyond the end the file is damaged.
  bool Seek(std::size_t position);

  bool ReadBytes(void* out, std::size_t size);
  bool Skip(std::size_t size);
  bool ReadU8(std::uint8_t& value);
  bool ReadI8(std::int8_t& value);
  bool ReadU16(std::uint16_t& value);
  bool ReadI16(std::int16_t& value);
  bool ReadU32(std::uint32_t& value);
  bool ReadI32(std::int32_t& value);
  bool ReadF32(float& value);
  bool ReadF64(double& value);

  // A text as records store it: u32 L = length + 1, then (when L > 1) the text and its NUL. The
  // text ends at the first NUL of the block. L = 0 and a block without a NUL never come from a
  // writer of ours: the file is damaged and text keeps its value.
  bool ReadString(std::string& text);

  // The u32 count of a vector whose elements take at least minElementBytes each in the file (a
  // nested record takes at least 8). A count that could not fit in what is left is refused.
  bool ReadCount(std::uint32_t& count, std::size_t minElementBytes);

 private:
  // Points at the next size bytes and moves past them, or fails and damages the file.
  const std::uint8_t* Take(std::size_t size);
  template <class T>
  bool ReadLittle(T& value);

  std::unique_lock<std::recursive_mutex> m_Lock;
  std::vector<std::uint8_t> m_Bytes;
  std::size_t m_Pos = 0;
  std::uint32_t m_Version = 0;
  std::uint32_t m_OuterVersion = 0;
  bool m_Damaged = false;
  FileOwner m_Owner = FileOwner::kProject;
};

// True when the last record file that the calling thread closed was damaged: a value, count or
// text could not be read, or the body did not match the record's registration.
bool LastRecordReadDamaged();

class cRecordWriter {
 public:
  cRecordWriter() = default;
  virtual ~cRecordWriter() = default;
  cRecordWriter(const cRecordWriter&) = delete;
  cRecordWriter& operator=(const cRecordWriter&) = delete;

  // True once something could not be written; the file is then not saved.
  bool Failed() const { return m_Failed; }
  void MarkFailed() { m_Failed = true; }
  const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }

  void WriteBytes(const void* data, std::size_t size);
  void WriteU8(std::uint8_t value);
  void WriteI8(std::int8_t value);
  void WriteU16(std::uint16_t value);
  void WriteI16(std::int16_t value);
  void WriteU32(std::uint32_t value);
  void WriteI32(std::int32_t value);
  void WriteF32(float value);
  void WriteF64(double value);

  // u32 L = length + 1, then (when the text is not empty) the text and a NUL. The text ends at its
  // first NUL byte, as a stored text cannot hold one. Texts of any length are written whole.
  void WriteString(std::string_view text);
  // A vector's count as a u32; a count that does not fit one fails the file.
  void WriteCount(std::size_t count);

  // Ends the file: true when all of it was written (and, for a file on disk, put in place).
  virtual bool Finish() { return !m_Failed; }

 private:
  template <class T>
  void WriteLittle(T value);

  std::vector<std::uint8_t> m_Bytes;
  bool m_Failed = false;
};
