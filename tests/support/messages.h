#pragma once
// What tests see of the main window's queue.
#include <cstdint>

#include "platform/host/message_queue.h"

// Takes every message waiting for the main window and counts those of one kind.
inline int TakeMainWindowMessages(std::uint32_t message) {
  int count = 0;
  while (auto msg = MainWindowQueue().TryTake())
    if (msg->message == message) ++count;
  return count;
}
