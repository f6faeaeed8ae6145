#pragma once
// A virtual X server (Xvfb) for the life of the object, on a display of its own, for the tests that
// need a real window. Available() is false where Xvfb is not installed or does not come up.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

class cVirtualXServer {
 public:
  cVirtualXServer() {
    if (access("/usr/bin/Xvfb", X_OK) != 0) return;
    m_Display = ":" + std::to_string(600 + getpid() % 300);
    m_Pid = fork();
    if (m_Pid == 0) {
      execl("/usr/bin/Xvfb", "Xvfb", m_Display.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    const std::string socket = "/tmp/.X11-unix/X" + m_Display.substr(1);
    for (int i = 0; i < 500 && access(socket.c_str(), F_OK) != 0; ++i) usleep(10000);
    m_Up = m_Pid > 0 && access(socket.c_str(), F_OK) == 0;
  }
  ~cVirtualXServer() {
    if (m_Pid <= 0) return;
    kill(m_Pid, SIGTERM);
    waitpid(m_Pid, nullptr, 0);
  }
  cVirtualXServer(const cVirtualXServer&) = delete;
  cVirtualXServer& operator=(const cVirtualXServer&) = delete;

  bool Available() const { return m_Up; }
  const std::string& Display() const { return m_Display; }

 private:
  std::string m_Display;
  pid_t m_Pid = -1;
  bool m_Up = false;
};

// The sanitizer build leaves the X client libraries' own allocations unexplained; the normal build
// runs the window tests.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitizerBuild = true;
#else
constexpr bool kSanitizerBuild = false;
#endif
