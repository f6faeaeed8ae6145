#pragma once
// The one-instance lock: an exclusive flock on a lock file, held for the life of the object. It
// stands in for a named mutex, so the file is named after the mutex and lives in the user's runtime
// folder ($XDG_RUNTIME_DIR, else /tmp): every program that names the same mutex shares it.
#include <string>

class cInstanceLock {
 public:
  cInstanceLock() = default;
  ~cInstanceLock() { Release(); }
  cInstanceLock(const cInstanceLock&) = delete;
  cInstanceLock& operator=(const cInstanceLock&) = delete;

  enum class Result { Acquired, HeldElsewhere, Failed };
  // name is code page 932, as the mutex's name was.
  Result Acquire(const std::string& name);
  void Release();
  bool Held() const { return m_Fd >= 0; }

  // Where the lock file of name goes.
  static std::string LockPath(const std::string& name);

 private:
  int m_Fd = -1;
};
