#include "platform/host/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/host/text_codec.h"

std::string cInstanceLock::LockPath(const std::string& name) {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = (dir && *dir) ? dir : "/tmp";
  return folder + "/" + Cp932ToUtf8(name) + ".lock";
}

cInstanceLock::Result cInstanceLock::Acquire(const std::string& name) {
  Release();
  const std::string path = LockPath(name);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return Result::Failed;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    return held ? Result::HeldElsewhere : Result::Failed;
  }
  // The file stays: removing it would let a third start lock a new file while the first still holds
  // the old one.
  m_Fd = fd;
  return Result::Acquired;
}

void cInstanceLock::Release() {
  if (m_Fd < 0) return;
  flock(m_Fd, LOCK_UN);
  close(m_Fd);
  m_Fd = -1;
}
