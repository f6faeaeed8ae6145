#pragma once
// The frame lists that the animation patterns play, one per animation and one per effect of the
// database, derived at start-up right after the database is loaded.
#include <vector>

#include "platform/display/anime_frame.h"
#include "platform/services/checked.h"
#include "project/database.h"

extern CheckedVector<AnimeFrameList> g_AnimeFrameLists;
extern CheckedVector<AnimeFrameList> g_EffectFrameLists;

// One list per animation of the database: value = cell, duration = time x 6, unlocked until the
// first frame with a lock mark and locked from there on, then the end frame (-4, 0, 0). List 0 is
// "なし": every duration 0, every frame locked, and it loops (-2, 0, 1).
void BuildAnimeFrameLists(std::vector<AnimeFrameList>& lists, const cDatabase& database = g_Database);
// The same over the effects, which have no lock marks: every frame unlocked, list 0 as above.
void BuildEffectFrameLists(std::vector<AnimeFrameList>& lists, const cDatabase& database = g_Database);
