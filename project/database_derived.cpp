#include "project/database_derived.h"

void DeriveDatabaseTables(cDatabase& database, std::vector<AnimeFrameList>& animes,
                          std::vector<AnimeFrameList>& effects, std::vector<cCharaEffectPlayer>& charaEffects,
                          std::vector<cCharaEffectPlayer>& charaEffectsReversed,
                          std::vector<cScrEffectPlayer>& screenEffects,
                          std::vector<cScrEffectPlayer>& screenEffectsReversed) {
  // The reversed templates are built from the working copies that FillReversedEffects makes.
  database.FillReversedEffects();
  BuildAnimeFrameLists(animes, database);
  BuildEffectFrameLists(effects, database);
  BuildCharaEffectTemplates(charaEffects, charaEffectsReversed, database);
  BuildScrEffectTemplates(screenEffects, screenEffectsReversed, database);
}
