// Record files on disk: opening, closing, and the one-record LoadFile and SaveFile.
#include <cstdio>
#include <new>
#include <optional>

#include "platform/host/game_files.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"

namespace {

// Added to a file's name while it is being written.
constexpr const char* kTemporarySuffix = ".tmp";

// A record file's name: a null or empty path is the name "err"; a path that would not fit the
// game's 260-byte path buffer is refused.
std::optional<std::string> RecordPath(const char* path) {
  std::string name = (path && *path) ? path : "err";
  if (name.size() > static_cast<std::size_t>(kPathBufferSize - 1)) return std::nullopt;
  return name;
}

// The whole file; false when it could not all be read.
bool ReadWholeFile(std::FILE* file, std::vector<std::uint8_t>& bytes) {
  try {
    // One byte more than the file holds, so its end is seen without growing; growing covers a file
    // that is longer than it said.
    std::size_t capacity = 4096;
    if (std::fseek(file, 0, SEEK_END) == 0) {
      const long size = std::ftell(file);
      if (size >= 0) capacity = static_cast<std::size_t>(size) + 1;
      std::rewind(file);
    }
    bytes.resize(capacity);
    std::size_t used = 0;
    for (;;) {
      used += std::fread(bytes.data() + used, 1, bytes.size() - used, file);
      if (used < bytes.size()) break;
      bytes.resize(bytes.size() * 2);
    }
    bytes.resize(used);
    return !std::ferror(file);
  } catch (const std::bad_alloc&) {
    bytes.clear();
    return false;
  } catch (const std::length_error&) {
    bytes.clear();
    return false;
  }
}

// A record file being written. The bytes wait in memory and go to a temporary file beside the
// target, which takes the target's place only when every write and the close have worked.
class cRecordFileWriter final : public cRecordWriter {
 public:
  cRecordFileWriter(std::string target, std::string temporary, GameFile file)
      : m_Target(std::move(target)), m_Temporary(std::move(temporary)), m_File(std::move(file)) {}

  // A file never finished (a save given up half way) is thrown away.
  ~cRecordFileWriter() override {
    if (!m_File) return;
    m_File.reset();
    RemoveGameFile(m_Temporary);
  }

  bool Finish() override {
    if (!m_File) return false;
    const std::vector<std::uint8_t>& bytes = Bytes();
    bool written = !Failed();
    if (written && !bytes.empty()) written = std::fwrite(bytes.data(), 1, bytes.size(), m_File.get()) == bytes.size();
    written = std::fflush(m_File.get()) == 0 && written;
    written = std::fclose(m_File.release()) == 0 && written;
    if (written && RenameGameFile(m_Temporary, m_Target)) return true;
    RemoveGameFile(m_Temporary);
    MarkFailed();
    return false;
  }

 private:
  std::string m_Target;
  std::string m_Temporary;
  GameFile m_File;
};

}  // namespace

RecordReadFile OpenRecordRead(const char* path, FileOwner owner) {
  const std::optional<std::string> name = RecordPath(path);
  if (!name) return nullptr;
  GameFile file = OpenGameFile(*name, "rb");
  if (!file) return nullptr;
  std::vector<std::uint8_t> bytes;
  const bool whole = ReadWholeFile(file.get(), bytes);
  file.reset();
  auto reader = std::make_unique<cRecordReader>(std::move(bytes), !whole);
  reader->SetOwner(owner);
  return reader;
}

RecordWriteFile OpenRecordWrite(const char* path) {
  if (!path || !*path) return nullptr;
  const std::optional<std::string> name = RecordPath(path);
  if (!name) return nullptr;
  std::string temporary = *name + kTemporarySuffix;
  GameFile file = OpenGameFile(temporary, "wb");
  if (!file) return nullptr;
  auto writer = std::make_unique<cRecordFileWriter>(*name, std::move(temporary), std::move(file));
  writer->WriteU32(g_CurrentVersion);
  return writer;
}

void CloseRecordFile(RecordReadFile& file) { file.reset(); }

int CloseRecordFile(RecordWriteFile& file) {
  if (!file) return 0;
  const bool saved = file->Finish();
  file.reset();
  return saved ? 1 : 0;
}

int cDataRecord::LoadFile(const char* path) {
  RecordReadFile file = OpenRecordRead(path);
  if (!file) return 0;
  Read(*file);
  CloseRecordFile(file);
  return 1;
}

int cDataRecord::SaveFile(const char* path) {
  RecordWriteFile file = OpenRecordWrite(path);
  if (!file) return 0;
  Write(*file);
  return CloseRecordFile(file);
}

WholeLoad ReadWholeInto(cDataRecord& work, const char* path, FileOwner owner) {
  RecordReadFile file = OpenRecordRead(path, owner);
  if (!file) return WholeLoad::kMissing;
  work.Read(*file);
  const bool damaged = file->Damaged();
  CloseRecordFile(file);
  if (!damaged) return WholeLoad::kRead;
  ReportLog(SJ("%s が破損しています！").c_str(), path);
  return WholeLoad::kDamaged;
}
