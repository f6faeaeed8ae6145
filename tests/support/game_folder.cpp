#include "tests/support/game_folder.h"

#include <unistd.h>

#include "platform/host/box_sink.h"
#include "platform/host/message_queue.h"

#include <fstream>
#include <sstream>

void GameFolderTest::SetUp() {
  m_PreviousDirectory = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "game-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  m_Folder = pattern;
  std::filesystem::current_path(m_Folder);
  // Boxes must never wait for a person during tests, and each test starts with no messages.
  SetBoxSink(ShowHeadlessBox);
  while (MainWindowQueue().TryTake()) {
  }
}

void GameFolderTest::TearDown() {
  SetBoxSink(nullptr);
  std::filesystem::current_path(m_PreviousDirectory);
  std::error_code ec;
  std::filesystem::permissions(m_Folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_Folder, ec);
}

void GameFolderTest::WriteHostFile(const std::filesystem::path& relative, const std::string& bytes) {
  auto path = m_Folder / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string GameFolderTest::ReadHostFile(const std::filesystem::path& relative) {
  std::ifstream in(m_Folder / relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
