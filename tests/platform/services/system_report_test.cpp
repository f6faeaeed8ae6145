#include "platform/services/system_report.h"

#include "platform/services/log.h"
#include "tests/support/game_folder.h"

namespace {

class cFixedFacts : public cSystemFacts {
 public:
  std::string OsName() override { return "Debian GNU/Linux 12 (bookworm) Linux 6.1.0 x86_64"; }
  CpuInfo Cpu() override { return {m_Brand, "GenuineIntel", 2400.7e6}; }
  MemoryStatus Memory() override {
    // Above 4 GB, where 32-bit counts would wrap.
    return {std::uint64_t{24} << 30, (std::uint64_t{3} << 30) + (512u << 20), std::uint64_t{1} << 47,
            (std::uint64_t{1} << 47) - (100u << 20)};
  }
  std::uint64_t DiskFree() override { return std::uint64_t{50} << 30; }

  std::string m_Brand = "Intel(R) Xeon(R) CPU";
};

class SystemReportTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    SetSystemFacts(&m_Facts);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }
  void TearDown() override {
    SetSystemFacts(nullptr);
    GameFolderTest::TearDown();
  }
  cFixedFacts m_Facts;
};

TEST_F(SystemReportTest, WritesTheSevenLinesAfterTheFirstLine) {
  ReportLog("App : ver %s", "556");
  ASSERT_EQ(WriteSystemReport(), 1);
  EXPECT_EQ(ReadHostFile("Report_Game.txt"),
            "App : ver 556\n"
            "OS : Debian GNU/Linux 12 (bookworm) Linux 6.1.0 x86_64\n"
            "CPU : GenuineIntel Intel(R) Xeon(R) CPU 2400\n"
            "Mem Total : 24576.000MB\n"
            "Mem Free : 3584MB\n"
            "Vir Total : 134217728.000MB\n"
            "Vir Free : 134217628MB\n"
            "HD Free : 51200MB\n");
}

TEST_F(SystemReportTest, AnEmptyBrandLeavesTwoBlanks) {
  m_Facts.m_Brand.clear();
  WriteSystemReport();
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("CPU : GenuineIntel  2400\n"), std::string::npos);
}

TEST_F(SystemReportTest, NothingIsWrittenWithoutTheReportLog) {
  std::filesystem::remove("Report_Game.txt");
  EXPECT_EQ(WriteSystemReport(), 0);
  EXPECT_FALSE(std::filesystem::exists("Report_Game.txt"));
}

TEST(SystemReport, ThisPlatformReportsNoWindowsVersion) {
  int major = 0, minor = 0;
  GetOSName(nullptr, &major, &minor);
  EXPECT_EQ(major, 5);
  EXPECT_EQ(minor, 1);
  EXPECT_FALSE(IsWindowsAtLeast(6, 0));
  EXPECT_TRUE(IsWindowsAtLeast(5, 1));
}

TEST(SystemReport, HostFactsAreRead) {
  std::string os;
  GetOSName(&os, nullptr, nullptr);
  EXPECT_NE(os.find("Linux"), std::string::npos);
  MemoryStatus memory;
  GetMemoryStatus(&memory);
  EXPECT_GT(memory.totalPhys, 0u);
  EXPECT_LE(memory.availPhys, memory.totalPhys);
  EXPECT_LE(memory.availVirtual, memory.totalVirtual);
}

}  // namespace
