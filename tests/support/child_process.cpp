#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool DropRootRights() { return geteuid() != 0 || (setgid(kNobodyId) == 0 && setuid(kNobodyId) == 0); }

bool GiveTreeToNobody(const std::filesystem::path& folder) {
  if (geteuid() != 0) return true;
  if (lchown(folder.c_str(), kNobodyId, kNobodyId) != 0) return false;
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
    if (lchown(entry.path().c_str(), kNobodyId, kNobodyId) != 0) return false;
  return !ec;
}
