#pragma once
// What a table read from its file must hold before the rest of the game indexes it. Each check
// mends what would later divide by zero or index past a list, with one report line naming the
// file and the entry.
#include "platform/services/checked.h"
#include "project/database_anime.h"
#include "project/database_effects.h"
#include "project/database_resources.h"

// Sets with fewer than the four entries a character indexes get default entries up to four.
void CheckAnimeSets(CheckedVector<cAnimeSetDef>& table, const char* path);
// Large-cell sheets whose cell scale leaves no cell per row get the nearest scale that does.
void CheckCharaBitmaps(CheckedVector<cBmpCharaExcDef>& table, const char* path);
// Effects with a cell width or height below 1 get 1.
void CheckEffects(CheckedVector<cEffectDef>& table, const char* path);
