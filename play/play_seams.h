#pragma once
// The road from the play scene to the part of stage play that is not part of the program yet: hit
// effects. It does exactly what can be done without its part, and says so at its definition; it
// reports no event that did not happen.
#include <cstdint>

struct cSubBox;

// The hit effect number of the attacker shown where it struck: over the struck object's box and the
// attacker's, at the attacker's scale.
void StartHitEffect(std::int16_t number, const cSubBox& struck, const cSubBox& attacker, std::int32_t scale);
