#pragma once
// Character-command tests that read the report log: the log goes to a folder of the test's own, the
// current directory while the test runs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/services/log.h"
#include "tests/script/move_fixture.h"

namespace scripttest {

class ReportLogTest : public MoveTest {
 protected:
  void SetUp() override {
    MoveTest::SetUp();
    m_Previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "report-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_Folder = pattern;
    std::filesystem::current_path(m_Folder);
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }
  void TearDown() override {
    std::filesystem::current_path(m_Previous);
    std::error_code ec;
    std::filesystem::remove_all(m_Folder, ec);
    MoveTest::TearDown();
  }

  std::string ReportLines() const {
    std::ifstream in(m_Folder / "Report_Game.txt");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path m_Previous;
  std::filesystem::path m_Folder;
};

}  // namespace scripttest
