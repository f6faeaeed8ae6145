#include "play/message_seam.h"

// No message windows exist yet: nothing is shown and nothing is kept.
void OpenItemMessage(const cItemMessageRequest&) {}
