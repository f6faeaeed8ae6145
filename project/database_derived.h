#pragma once
// Everything start-up derives from a loaded database: the reversed effect definitions (in the
// database itself), the frame lists the animation and effect players run from, and the normal and
// reversed templates of the character and screen effects.
#include <vector>

#include "project/database.h"
#include "project/database_frames.h"
#include "project/effect_players.h"

void DeriveDatabaseTables(cDatabase& database, std::vector<AnimeFrameList>& animes,
                          std::vector<AnimeFrameList>& effects, std::vector<cCharaEffectPlayer>& charaEffects,
                          std::vector<cCharaEffectPlayer>& charaEffectsReversed,
                          std::vector<cScrEffectPlayer>& screenEffects,
                          std::vector<cScrEffectPlayer>& screenEffectsReversed);
