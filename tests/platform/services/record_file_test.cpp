// Record files on disk: the version word, paths, safe saving, and one file read at a time.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "tests/platform/services/record_samples.h"
#include "tests/support/child_process.h"

namespace {

namespace fs = std::filesystem;



class RecordFileTest : public RecordTest {
 protected:
  // Everything in the game folder but the report log.
  std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_Folder))
      if (entry.path().filename() != "Report_Game.txt") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static cShortText Sample(const char* text) {
    cShortText record;
    record.m_Short = 7;
    record.m_Text = text;
    return record;
  }
};

TEST_F(RecordFileTest, SavedFileIsTheVersionWordThenTheBody) {
  cShortText record = Sample("abc");
  ASSERT_EQ(record.SaveFile("rec.dat"), 1);
  EXPECT_EQ(HexBytes(ReadHostFile("rec.dat")), "2C 02 00 00 01 00 00 00 07 00 01 00 00 00 04 00 00 00 61 62 63 00");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"rec.dat"});

  cShortText back;
  EXPECT_EQ(back.LoadFile("rec.dat"), 1);
  EXPECT_FALSE(LastRecordReadDamaged());
  EXPECT_EQ(g_FileVersion, 556u);
  EXPECT_EQ(back.m_Short, 7);
  EXPECT_EQ(back.m_Text, "abc");
}

TEST_F(RecordFileTest, SaveReplacesTheFileAndFindsItWhateverItsCase) {
  WriteHostFile("Rec.DAT", "old contents");
  cShortText record = Sample("new");
  ASSERT_EQ(record.SaveFile("rec.dat"), 1);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Rec.DAT"});
  EXPECT_EQ(HexBytes(ReadHostFile("Rec.DAT").substr(0, 4)), "2C 02 00 00");
}

TEST_F(RecordFileTest, LoadOfAMissingFileReturnsZeroAndChangesNothing) {
  g_FileVersion = 321;
  cShortText record = Sample("mine");
  EXPECT_EQ(record.LoadFile("missing.dat"), 0);
  EXPECT_EQ(record.m_Short, 7);
  EXPECT_EQ(record.m_Text, "mine");
  EXPECT_EQ(g_FileVersion, 321u);
  EXPECT_EQ(OpenRecordRead("missing.dat"), nullptr);
}

TEST_F(RecordFileTest, NullOrEmptyPathReadsTheFileErr) {
  WriteHostFile("err", cByteBuilder().U32(300).Text());
  for (const char* path : {static_cast<const char*>(nullptr), ""}) {
    g_FileVersion = 0;
    RecordReadFile file = OpenRecordRead(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Version(), 300u);
    EXPECT_EQ(g_FileVersion, 300u);
  }
  EXPECT_EQ(OpenRecordWrite(""), nullptr);
  EXPECT_EQ(OpenRecordWrite(nullptr), nullptr);
}

TEST_F(RecordFileTest, PathsLongerThanTheBufferAreRefused) {
  // 259 bytes fit the game's 260-byte path buffer with its NUL; 260 do not.
  const std::string folder(200, 'd');
  ASSERT_TRUE(fs::create_directory(m_Folder / folder));
  const std::string fits = folder + "\\" + std::string(259 - 201, 'f');
  const std::string tooLong = folder + "\\" + std::string(260 - 201, 'f');
  ASSERT_EQ(fits.size(), 259u);
  cShortText record = Sample("x");
  EXPECT_EQ(record.SaveFile(fits.c_str()), 1);
  EXPECT_EQ(record.LoadFile(fits.c_str()), 1);
  EXPECT_EQ(record.SaveFile(tooLong.c_str()), 0);
  WriteHostFile(fs::path(folder) / std::string(260 - 201, 'f'), cByteBuilder().U32(556).Text());
  EXPECT_EQ(record.LoadFile(tooLong.c_str()), 0);
}

TEST_F(RecordFileTest, FileOfSeveralRecordsWithItsOwnCounts) {
  cShortText first = Sample("one");
  cShortText second = Sample("two");
  RecordWriteFile out = OpenRecordWrite("pair.dat");
  ASSERT_NE(out, nullptr);
  out->WriteU32(2);
  first.Write(*out);
  second.Write(*out);
  EXPECT_EQ(CloseRecordFile(out), 1);
  EXPECT_EQ(out, nullptr);

  RecordReadFile in = OpenRecordRead("pair.dat");
  ASSERT_NE(in, nullptr);
  std::uint32_t count = 0;
  ASSERT_TRUE(in->ReadCount(count, 8));
  ASSERT_EQ(count, 2u);
  cShortText a;
  cShortText b;
  a.Read(*in);
  b.Read(*in);
  EXPECT_EQ(in->Left(), 0u);
  CloseRecordFile(in);
  EXPECT_EQ(in, nullptr);
  EXPECT_FALSE(LastRecordReadDamaged());
  EXPECT_EQ(a.m_Text, "one");
  EXPECT_EQ(b.m_Text, "two");
}

// A record whose Write hands the writer a count no u32 can hold.
class cOversized : public cShortText {
 public:
  void Write(cRecordWriter& out) override {
    cShortText::Write(out);
    out.WriteCount(std::size_t{1} << 33);
  }
};

struct FailedSaveCase {
  const char* name;
  std::function<void(const fs::path& folder)> arrange;
  const char* path;
  bool oversized;
};

TEST_F(RecordFileTest, FailedSaveReturnsZeroAndKeepsThePreviousFile) {
  const FailedSaveCase cases[] = {
      {"temporary name taken by a folder", [](const fs::path& f) { fs::create_directory(f / "keep.dat.tmp"); }, "keep.dat",
       false},
      {"target is a folder", [](const fs::path& f) { fs::create_directory(f / "dir.dat"); }, "dir.dat", false},
      {"folder missing", [](const fs::path&) {}, "nowhere\\keep.dat", false},
      {"a write that failed", [](const fs::path&) {}, "keep.dat", true},
  };
  for (const FailedSaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_Folder / "keep.dat.tmp");
    fs::remove_all(m_Folder / "dir.dat");
    WriteHostFile("keep.dat", "previous");
    c.arrange(m_Folder);
    const std::vector<std::string> before = FolderEntries();
    cOversized oversized;
    cShortText plain = Sample("new");
    cDataRecord& record = c.oversized ? static_cast<cDataRecord&>(oversized) : plain;
    EXPECT_EQ(record.SaveFile(c.path), 0);
    EXPECT_EQ(ReadHostFile("keep.dat"), "previous");
    EXPECT_EQ(FolderEntries(), before);
  }
}

TEST_F(RecordFileTest, SaveGivenUpHalfWayLeavesNoTrace) {
  WriteHostFile("keep.dat", "previous");
  {
    RecordWriteFile out = OpenRecordWrite("keep.dat");
    ASSERT_NE(out, nullptr);
    out->WriteU32(5);
  }
  EXPECT_EQ(ReadHostFile("keep.dat"), "previous");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"keep.dat"});
}

TEST_F(RecordFileTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheFile) {
  WriteHostFile("keep.dat", "previous");
  fs::permissions(m_Folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  fs::permissions(m_Folder, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  const int result = RunInChild([] {
    // Rights to write anywhere would make the folder writable after all.
    if (!DropRootRights()) return kCannotDropRights;
    cShortText record;
    record.m_Text = "new";
    return record.SaveFile("keep.dat") == 0 ? 0 : 1;
  });
  if (result == kCannotDropRights) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadHostFile("keep.dat"), "previous");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"keep.dat"});
}

TEST_F(RecordFileTest, SaveOntoAFullDiskFailsAndKeepsTheFile) {
  WriteHostFile("keep.dat", "previous");
  const int result = RunInChild([] {
    // A file size limit makes the writes fail as a full disk does.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64, 64};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    cShortText record;
    record.m_Text = std::string(1000, 'x');
    return record.SaveFile("keep.dat") == 0 ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadHostFile("keep.dat"), "previous");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"keep.dat"});
}

// Watches g_FileVersion through its own read, as the upgrade code of the record classes does.
class cWatchingRecord : public cShortText {
 public:
  void Read(cRecordReader& in) override {
    const std::uint32_t seen = g_FileVersion;
    for (int i = 0; i < 3; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (g_FileVersion != seen || in.Version() != seen) m_Disturbed = true;
    }
    cShortText::Read(in);
  }

  bool m_Disturbed = false;
};

TEST_F(RecordFileTest, TwoThreadsNeverReadRecordFilesAtTheSameTime) {
  WriteHostFile("a.dat", cByteBuilder().U32(300).U32(1).I16(1).U32(0).Text());
  WriteHostFile("b.dat", cByteBuilder().U32(556).U32(1).I16(2).U32(0).Text());
  std::atomic<int> disturbed{0};
  const auto reader = [&](const char* path, std::int16_t expected) {
    for (int i = 0; i < 10; ++i) {
      cWatchingRecord record;
      if (record.LoadFile(path) != 1 || record.m_Disturbed || record.m_Short != expected) ++disturbed;
    }
  };
  std::thread first(reader, "a.dat", 1);
  std::thread second(reader, "b.dat", 2);
  first.join();
  second.join();
  EXPECT_EQ(disturbed.load(), 0);
}

TEST_F(RecordFileTest, FileOpenedInsideAnotherGivesItsVersionBack) {
  WriteHostFile("outer.dat", cByteBuilder().U32(300).Text());
  WriteHostFile("inner.dat", cByteBuilder().U32(400).Text());
  RecordReadFile outer = OpenRecordRead("outer.dat");
  ASSERT_NE(outer, nullptr);
  RecordReadFile inner = OpenRecordRead("inner.dat");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(g_FileVersion, 400u);
  CloseRecordFile(inner);
  EXPECT_EQ(g_FileVersion, 300u);
  CloseRecordFile(outer);
  EXPECT_EQ(g_FileVersion, 300u);
}

}  // namespace
