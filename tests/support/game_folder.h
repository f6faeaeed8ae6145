#pragma once
// A fresh, empty game folder for one test: the test runs with it as the current directory, and the
// folder is removed afterwards.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a file (host path relative to the game folder), creating its folders.
  void WriteHostFile(const std::filesystem::path& relative, const std::string& bytes);
  std::string ReadHostFile(const std::filesystem::path& relative);

  std::filesystem::path m_Folder;

 private:
  std::filesystem::path m_PreviousDirectory;
};
