#pragma once
// The game wait and the message command: both can hold the game while the pause thread keeps the
// screen alive. The workers are shared with the flow-command lists; the character handlers only
// unpack the instance.
#include <cstdint>

class cCharaBase;
class cFlowCommand;
struct cCommandInstance;

// The message command's parameters.
enum MessageParam : std::int32_t {
  kMsgAnchor = 0,
  kMsgColumn = 1,
  kMsgRow = 2,
  kMsgOffsetX = 3,
  kMsgOffsetY = 4,
  kMsgKeepOnScreen = 5,
  kMsgEndMode = 6,
  kMsgTime = 7,  // tenths of a second
  kMsgBlock = 8,
  kMsgTextCodes = 9,
  kMsgFixed = 10,
  kMsgRefresh = 11,
  kMsgHasId = 12,
  kMsgId = 13,
  kMsgFramed = 14,
  kMsgCloseById = 15,
  kMsgRefreshInterval = 16,
  kMessageParamCount = 17,
};

// The sound of a message that opens and waits for its key.
constexpr std::int32_t kMessageOpenSound = 11;

// Holds the game for p0 tenths of a second, an invisible timer window counting meanwhile.
void DoGameWait(cCharaBase& object, const cFlowCommand& command);
// Opens, resets or closes a message window; blocking messages hold the game until their key or
// time. continued: the message follows an open one (no opening, no sound, no key delay).
void DoMessage(cCharaBase& object, const cFlowCommand& command, std::int32_t continued);

void CmdGameWait(cCharaBase& chara, cCommandInstance& instance);
void CmdMessage(cCharaBase& chara, cCommandInstance& instance);
