#pragma once
// Character effects: the player every hero and character carries plays the effect started on it (a
// script command, its appearance, its death), and every draw of the character goes through the
// renderer of the running kind. A renderer draws one frame of the character and, unless the frame
// is frozen (drawn while the game waits), moves the effect on by one frame, also when the character
// is not drawn.
#include <array>
#include <cstdint>

#include "project/effect_params.h"

class cCharaBase;
class cCharaEffectPlayer;
struct cCharaDrawRequest;
struct DDSURFACEDATA;

// One frame of one kind for the character's player: with draw 1 the picture of request goes to dst
// as the kind shows it (draw 0: no destination or request, nothing drawn); unless frozen is 1 the
// effect advances. 1 when the effect has ended.
using CharaEffectRenderer = std::int32_t (*)(cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                                             std::int32_t frozen, std::int32_t draw);

// Row = kind: 0 the plain draw (it never ends), then 破裂 .. ぼかし.
extern const std::array<CharaEffectRenderer, kCharaEffectKindCount + 1> CharaEffectDrawTable;

// One frame of the character's running effect through the renderer of its kind; number 0, and any
// number while the database has no character effects, is the plain draw. An effect whose kind has
// no renderer (0 under a number of its own, or one beyond the table) shows the plain picture and
// ends at once, so that nothing, a death above all, waits on an effect that cannot play.
std::int32_t RunCharaEffect(cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                            std::int32_t frozen, std::int32_t draw);

// Moves current one step toward the end of the range. At the end of a pass a looping effect, and
// the forward pass of a there-and-back one, start the next pass (0); otherwise 1.
std::int32_t StepCharaEffect(cCharaEffectPlayer& player);
// The next pass: there and back turns round, then the template of the current direction is loaded.
void RestartCharaEffect(cCharaEffectPlayer& player);
// Loads the template of the player's number in its current direction. Number 0, or no templates
// at all, is the plain draw; a number the templates do not hold is reported and plays plain.
void LoadCharaEffectTemplate(cCharaEffectPlayer& player);
