#pragma once
// The play scene's screen effect: a definition of the database's screen-effect table played over
// the whole finished stage picture for a while (moved, shaken, cut in strips, waved, blinked,
// turned, masked to a circle around the hero, zoomed, bent through a lens or pixelated).
//
// A start loads the template of the definition (play the reversed template for mode 1), the stage
// drawing runs one frame of it per displayed frame after the messages and before the status bar,
// and a frame drawn while the game logic waits (frozen) shows the picture without advancing it.
#include <cstdint>

#include "project/effect_params.h"
#include "project/effect_players.h"

class cPlayScene;

// Starts screen effect `number` (0 stops the running one) in mode kEffectMode*, again at each end
// when loop is not 0. A number outside the table is reported (checked-vector failure) and starts
// nothing.
void StartScrEffect(cScrEffectPlayer& player, std::int16_t number, std::int32_t mode, std::int32_t loop);
// The next pass: mode 2 turns round, then the template of the current direction is loaded again.
void RestartScrEffect(cScrEffectPlayer& player);
// Moves current by step from start toward end; at the end of a pass the effect starts again (loop,
// or the way back of mode 2) and 0 is returned, else 1: the effect has ended.
std::int32_t StepScrEffect(cScrEffectPlayer& player, std::int32_t start, std::int32_t end, double step);

// One frame of the scene's screen effect over g_BackSurface (the stage drawing has switched the
// virtual back buffer on for it). An effect that ends is dropped and the virtual back buffer goes
// off; a kind that no renderer knows ends at once, leaving the frame plain.
void RunScreenEffect(cPlayScene& scene, std::int32_t frozen);

// One frame of one kind (row = kind); 1 when the effect has ended.
using ScrEffectDraw = std::int32_t (*)(cPlayScene& scene, std::int32_t frozen);
extern const ScrEffectDraw ScrEffectDrawTable[kScrEffectKindCount + 1];
