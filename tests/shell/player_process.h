#pragma once
// The real player program, started as a child process for the end-to-end tests: its arguments, a
// private runtime folder (so parallel tests do not share the one-instance lock), and a bounded wait.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class cPlayerProcess {
 public:
  // Starts the player in folder with args; extra environment as NAME=VALUE pairs; its standard
  // output into stdoutFile when one is named.
  cPlayerProcess(const std::filesystem::path& folder, const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& env = {},
                 const std::filesystem::path& stdoutFile = {}) {
    m_Pid = fork();
    if (m_Pid != 0) return;
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    if (!stdoutFile.empty() && !std::freopen(stdoutFile.c_str(), "w", stdout)) _exit(126);
    std::vector<std::string> all = {PLAYER_BINARY, "-C", folder.string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(PLAYER_BINARY, argv.data());
    _exit(127);
  }
  ~cPlayerProcess() {
    if (m_Pid > 0 && !m_Exit) {
      kill(m_Pid, SIGKILL);
      waitpid(m_Pid, nullptr, 0);
    }
  }
  cPlayerProcess(const cPlayerProcess&) = delete;
  cPlayerProcess& operator=(const cPlayerProcess&) = delete;

  bool Started() const { return m_Pid > 0; }
  // The exit code once it has ended; nullopt while it runs.
  std::optional<int> Poll() {
    if (m_Exit) return m_Exit;
    int status = 0;
    if (waitpid(m_Pid, &status, WNOHANG) != m_Pid) return std::nullopt;
    m_Exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m_Exit;
  }
  // Waits up to seconds (real time); the exit code, or nullopt when it still runs (it is then killed).
  std::optional<int> Wait(int seconds = 60) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
      if (auto code = Poll()) return code;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
  }

 private:
  pid_t m_Pid = -1;
  std::optional<int> m_Exit;
};
