#include "shell/single_instance.h"

#include "platform/host/box_sink.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

bool AcquireSingleInstance(cInstanceLock& lock) {
  const std::string& name = SJ("ゲーム");
  switch (lock.Acquire(name)) {
    case cInstanceLock::Result::Acquired: return true;
    case cInstanceLock::Result::HeldElsewhere:
      ShowBox(SJ("既に起動しています"), SJ("二重起動"), MB_OK);
      return false;
    case cInstanceLock::Result::Failed:
      // A runtime folder we may not write to is no second copy: the game starts unguarded.
      ReportLog("Lock : %s", cInstanceLock::LockPath(name).c_str());
      return true;
  }
  return true;
}
