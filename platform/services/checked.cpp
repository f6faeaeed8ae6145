#include "platform/services/checked.h"

#include "platform/host/message_queue.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

namespace {

void ReportBadIndex(const char* fmt, int index, int size, int elementSize) {
  std::string text = FormatString(fmt, index, size, elementSize);
  Log(text);
  ReportLogText(text);
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}

}  // namespace

void ReportBadVectorIndex(int index, int size, int elementSize) {
  ReportBadIndex("err V[%d] ( %d , %d )", index, size, elementSize);
}

void ReportBadListIndex(int index, int size, int elementSize) {
  ReportBadIndex("err L[%d] ( %d , %d )", index, size, elementSize);
}
