#pragma once
// The road from stage play to the message windows of the event scripts, for the messages stage
// play opens by itself (the pop-up of an applied item).
//
// The message windows are not part of the program yet. Until they are, OpenItemMessage shows
// nothing and keeps nothing: the request is complete, so that the window can be built from it
// once the windows exist.
#include <cstdint>

// The item-icon message of an applied item with the settings of that use.
struct cItemMessageRequest {
  std::int32_t m_GraphicKind = 0;
  std::int32_t m_ChipNumber = 0;
  std::int32_t m_GraphicPage = 0;
  std::int32_t m_Anchor = 4;
  std::int32_t m_Fixed = 1;
  std::int32_t m_EndMode = 2;
  std::int32_t m_Frames = 30;
  std::int32_t m_CountsWhileFrozen = 0;
  std::int32_t m_OwnerId = 0;
};

// Appends the message to the play scene's message list.
void OpenItemMessage(const cItemMessageRequest& request);
