// The test-play hand-shake: datagrams of three little-endian i32 to the editor's socket, and none
// when there is no socket or nobody listens.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/host/trace.h"
#include "shell/app_state.h"
#include "shell/editor_link.h"
#include "shell/run_options.h"
#include "tests/shell/window_fixture.h"

namespace {

// A datagram socket the editor would listen on.
class EditorSocket {
 public:
  explicit EditorSocket(const std::filesystem::path& path) : m_Path(path) {
    m_Fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    m_Bound = bind(m_Fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    timeval wait{2, 0};
    setsockopt(m_Fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
  }
  ~EditorSocket() {
    close(m_Fd);
    std::filesystem::remove(m_Path);
  }
  bool Bound() const { return m_Bound; }
  // The next datagram as i32 values; empty when none came.
  std::vector<std::int32_t> Next() {
    std::array<unsigned char, 64> bytes{};
    const ssize_t n = recv(m_Fd, bytes.data(), bytes.size(), 0);
    std::vector<std::int32_t> values;
    for (ssize_t i = 0; i + 4 <= n; i += 4)
      values.push_back(static_cast<std::int32_t>(bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) |
                                                 (static_cast<std::uint32_t>(bytes[i + 3]) << 24)));
    if (n % 4 != 0) values.push_back(-999);
    return values;
  }
  bool Empty() {
    std::array<unsigned char, 64> bytes{};
    return recv(m_Fd, bytes.data(), bytes.size(), MSG_DONTWAIT) < 0;
  }

 private:
  std::filesystem::path m_Path;
  int m_Fd = -1;
  bool m_Bound = false;
};

class EditorLinkTest : public WindowThreadTest {
 protected:
  void TearDown() override {
    g_RunOptions = RunOptions{};
    g_EditorLaunched = 0;
    WindowThreadTest::TearDown();
  }
};

TEST_F(EditorLinkTest, StartAndEndReachTheEditorAsThreeLittleEndianValues) {
  EditorSocket editor(m_Folder / "ed.sock");
  ASSERT_TRUE(editor.Bound());
  g_RunOptions.editorSocket = (m_Folder / "ed.sock").string();
  NotifyEditorStart();
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{1, 4, 1}));
  NotifyEditorEnd(0);
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{0, 4, 0}));
  EXPECT_TRUE(Traced("editor 1 4 1"));
  EXPECT_TRUE(Traced("editor 0 4 0"));
}

TEST_F(EditorLinkTest, TheWindowsDestructionReportsTheEndOnlyInATestPlay) {
  EditorSocket editor(m_Folder / "ed.sock");
  ASSERT_TRUE(editor.Bound());
  g_RunOptions.editorSocket = (m_Folder / "ed.sock").string();
  g_EditorLaunched = 1;
  MainWindowQueue().Post(HostMessage(WM_CLOSE));
  ASSERT_TRUE(ServeQueue());
  EXPECT_EQ(editor.Next(), (std::vector<std::int32_t>{0, 4, 1}));
}

TEST_F(EditorLinkTest, WithoutATestPlayTheDestructionSendsNothing) {
  EditorSocket editor(m_Folder / "ed.sock");
  ASSERT_TRUE(editor.Bound());
  g_RunOptions.editorSocket = (m_Folder / "ed.sock").string();
  MainWindowQueue().Post(HostMessage(WM_CLOSE));
  ASSERT_TRUE(ServeQueue());
  EXPECT_TRUE(editor.Empty());
}

TEST_F(EditorLinkTest, NoSocketOrNobodyListeningGoesNowhereWithoutHarm) {
  NotifyEditorStart();
  g_RunOptions.editorSocket = (m_Folder / "nobody.sock").string();
  NotifyEditorEnd(1);
  EXPECT_TRUE(Traced("editor 1 4 1 (nobody)"));
  EXPECT_TRUE(Traced("editor 0 4 1 (nobody)"));
}

}  // namespace
