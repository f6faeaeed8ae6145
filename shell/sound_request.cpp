// Kept apart from the files that read the project settings: the sound table's header and theirs
// both name the count of system sounds.
#include "platform/audio/sound_effects.h"
#include "shell/requests.h"

void RequestSound(std::int32_t index) { PlaySE(index); }
