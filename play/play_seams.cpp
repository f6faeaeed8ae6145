#include "play/play_seams.h"

#include "play/collision.h"

// Hit effects are drawn by the screen-effect instances, which come with the effects of the event
// scripts; until then a hit shows no effect (the damage, knock-back and triggers still happen).
void StartHitEffect(std::int16_t, const cSubBox&, const cSubBox&, std::int32_t) {}
