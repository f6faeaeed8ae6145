#pragma once
// The record base. Every file the game keeps is a record file: a u32 format version, then record
// bodies. A record class lists its persisted members in RegisterFields(version), in file order and
// only those that version held, and the base reads and writes them generically:
//
//   u32 A, then the A registered members as their raw little-endian images, back to back;
//   u32 S, then per string u32 L = length + 1 and, when L > 1, the text with its NUL;
//   then whatever the class's own Read and Write add (vectors, nested records).
//
// Reading registers the file's version, so every older file is read by the same code; members the
// file lacks keep the values they had. The descriptor lists are a cache that always describes the
// record itself: every walk rebuilds them, and a copy gets them moved onto itself at once.
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/services/checked.h"
#include "platform/services/record_stream.h"

class cDataRecord;

// The format version of the record file being read (set when one is opened), the version every
// writer writes, and the switch that takes carriage returns out of texts on reading. All three are 0
// until start-up calls InitRecordSettings, before any file is read.
extern std::uint32_t g_FileVersion;
extern std::uint32_t g_CurrentVersion;
extern std::uint32_t g_StripCR;

constexpr std::uint32_t kRecordVersion = 556;

// g_CurrentVersion = 556, g_StripCR = 1. Never changed afterwards.
void InitRecordSettings();

// One registered number or fixed array of a record.
struct FieldDesc {
  FieldDesc() = default;
  FieldDesc(cDataRecord* ownerRecord, void* first, std::uint32_t elements, std::int8_t bytesPerElement)
      : owner(ownerRecord), data(first), count(elements), elemSize(bytesPerElement) {}
  FieldDesc(const FieldDesc&) = default;
  // Keeps this descriptor's owner and points it at the same member of that owner (RebaseFieldDesc).
  FieldDesc& operator=(const FieldDesc& src);

  std::size_t Bytes() const { return static_cast<std::size_t>(count) * static_cast<std::size_t>(elemSize); }

  cDataRecord* owner = nullptr;
  void* data = nullptr;
  std::uint32_t count = 0;
  std::int8_t elemSize = 0;
};

// One registered text of a record.
struct StringFieldDesc {
  StringFieldDesc() = default;
  StringFieldDesc(cDataRecord* ownerRecord, std::string* text) : owner(ownerRecord), str(text) {}
  StringFieldDesc(const StringFieldDesc&) = default;
  StringFieldDesc& operator=(const StringFieldDesc& src);

  cDataRecord* owner = nullptr;
  std::string* str = nullptr;
};

// The failure line of a bad descriptor index names the descriptors' sizes in the game's own build.
template <>
constexpr int CheckedElementSize<FieldDesc>() {
  return 16;
}
template <>
constexpr int CheckedElementSize<StringFieldDesc>() {
  return 8;
}

// target keeps its owner; its member pointer moves from src's owner to target's, so it names the
// same member in its own record. A descriptor without an owner gets no pointer at all.
FieldDesc& RebaseFieldDesc(FieldDesc& target, const FieldDesc& src);
StringFieldDesc& RebaseStringFieldDesc(StringFieldDesc& target, const StringFieldDesc& src);
// target takes src's length and each entry is rebased from src's; entries added here belong to owner.
std::vector<FieldDesc>& CopyFieldDescs(std::vector<FieldDesc>& target, const std::vector<FieldDesc>& src,
                                       cDataRecord* owner);
std::vector<StringFieldDesc>& CopyStringFieldDescs(std::vector<StringFieldDesc>& target,
                                                   const std::vector<StringFieldDesc>& src, cDataRecord* owner);
void ClearFieldDescs(std::vector<FieldDesc>& descs);

class cDataRecord {
 public:
  cDataRecord() = default;
  virtual ~cDataRecord() = default;
  // A copy's descriptors describe the copy, never the source.
  cDataRecord(const cDataRecord& src);
  cDataRecord(cDataRecord&& src) noexcept;
  // The base part of every record assignment: re-registers this record for the current version.
  // Member values are copied by the derived class's assignment.
  cDataRecord& operator=(const cDataRecord& src);
  cDataRecord& operator=(cDataRecord&& src);

  // Nothing, in the base and in every class; kept for the classes that copy by hand.
  virtual void PrepareAsSource(std::uint32_t version) const;
  // Rebuilds both lists for version: ClearFields, then AddField / AddString in file order.
  virtual void RegisterFields(std::uint32_t version);
  // One record body. A derived class calls the base first, then reads its own parts.
  virtual void Read(cRecordReader& in);
  // A derived class normalises its values, calls the base, then writes its own parts.
  virtual void Write(cRecordWriter& out);

  // The string halves of Read and Write, over the lists as they stand.
  void ReadStrings(cRecordReader& in);
  void WriteStrings(cRecordWriter& out);

  // Registered numbers to 0 and registered texts empty; the rest is untouched.
  void Reset();
  // Copies the registered members of src, a record of the same class.
  void Assign(const cDataRecord& src);
  void ClearFields();
  // Takes every carriage return out of the registered texts, over the lists as they stand.
  void StripCR();

  // 1 when the file opened (whatever it held: ask LastRecordReadDamaged), 0 when it did not, and
  // then the record is untouched.
  int LoadFile(const char* path);
  // 1 when the whole file was written and put in place; 0 otherwise, and the previous file stays.
  int SaveFile(const char* path);

  const CheckedVector<FieldDesc>& Fields() const { return m_Fields; }
  const CheckedVector<StringFieldDesc>& StringFields() const { return m_Strings; }

 protected:
  // Registration helpers for RegisterFields: a number, a fixed array, or count elements of elemSize
  // bytes at data, which must lie inside this record.
  template <class T>
  void AddField(T& member) {
    using Element = std::remove_all_extents_t<T>;
    static_assert(std::is_trivially_copyable_v<Element> && !std::is_pointer_v<Element>,
                  "a registered member is stored as its raw image");
    static_assert(sizeof(Element) <= 127, "an element is at most 127 bytes");
    AddField(&member, sizeof(T) / sizeof(Element), sizeof(Element));
  }
  void AddField(void* data, std::size_t count, std::size_t elemSize);
  void AddString(std::string& text);

 private:
  // Moves every descriptor, taken over from another record, onto this one.
  void RebaseOnto();
  void ReadNumbers(cRecordReader& in);
  void AssignFromOtherClass(const cDataRecord& src);
  void RegisterFieldsAsSource() const;

  mutable CheckedVector<FieldDesc> m_Fields;
  mutable CheckedVector<StringFieldDesc> m_Strings;
};

// Record files. A reader or writer stands for the open file; a file of several records is handled
// by its owner: open, Read or Write each record (and its own counts between them), close.
using RecordReadFile = std::unique_ptr<cRecordReader>;
using RecordWriteFile = std::unique_ptr<cRecordWriter>;

// Reads the file at path (a null or empty path means "err"; paths longer than 259 bytes are refused)
// and its version into g_FileVersion. Null when it does not open. Until it is closed, no other
// thread opens a record file.
RecordReadFile OpenRecordRead(const char* path, FileOwner owner = FileOwner::kProject);
// Starts the file at path with the version word g_CurrentVersion. The bytes go to a temporary file
// beside it, which replaces the file only when it is closed and everything worked, so a failed save
// never costs the previous file. Null when the temporary file cannot be made.
RecordWriteFile OpenRecordWrite(const char* path);
// Closes a file; nothing for a null one. For a written file: 1 when every write, the close and the
// replacement worked, else 0 and the previous file as it was.
void CloseRecordFile(RecordReadFile& file);
int CloseRecordFile(RecordWriteFile& file);

// A user's or project's file read over a copy, so a damaged file never leaves a half-read record.
enum class WholeLoad { kMissing, kDamaged, kRead };
// Reads the file at path into work; a damaged file is reported ("%s が破損しています！").
WholeLoad ReadWholeInto(cDataRecord& work, const char* path, FileOwner owner = FileOwner::kProject);
// The file at path into record through a copy (work, which starts as the caller wants: the record
// itself, or a fresh one); record changes only when the whole file was read.
template <class Record>
WholeLoad LoadOverCopy(Record& record, Record work, const char* path, FileOwner owner = FileOwner::kProject) {
  const WholeLoad result = ReadWholeInto(work, path, owner);
  if (result == WholeLoad::kRead) record = std::move(work);
  return result;
}
