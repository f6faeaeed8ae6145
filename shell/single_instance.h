#pragma once
// One copy of the game at a time, as the named mutex "ゲーム" kept it.
#include "platform/host/instance_lock.h"

// True when this process now holds the lock. False after a second start's box ("既に起動しています",
// captioned "二重起動"), and when the lock cannot be had at all (reported to the report log; the game
// then runs without the guard rather than not at all, so the result is true).
bool AcquireSingleInstance(cInstanceLock& lock);
