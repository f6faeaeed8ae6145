// The long-lived project objects, defined here together: C++ constructs the statics of one file in
// the order written and destroys them in reverse, but gives no order between files. Keep the rows
// in this order; objects that come later in the start-up's list go where the comments mark them.
#include "project/common_palette.h"
#include "project/database.h"
#include "project/database_frames.h"
#include "project/effect_players.h"
#include "project/map_cell.h"
#include "project/option.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "project/world_map.h"

// Before these: the path tables and colour labels (project_paths.cpp, constant tables), the window
// group, the main window, the four threads, the menu cursor, the inputs, the per-scene surface
// lists, g_SurfaceTable, the fonts and their surfaces and descriptors, g_SurfaceDescriptors
// (surface_descriptors.cpp), the sound tables and the music manager.
cCommonPalette g_CommonPalette;
cSystemData g_System;
cDatabase g_Database;
CheckedVector<AnimeFrameList> g_AnimeFrameLists;
CheckedVector<AnimeFrameList> g_EffectFrameLists;
CheckedVector<cCharaEffectPlayer> g_CharaEffectTemplates;
CheckedVector<cScrEffectPlayer> g_ScrEffectTemplates;
CheckedVector<cCharaEffectPlayer> g_CharaEffectTemplatesReversed;
CheckedVector<cScrEffectPlayer> g_ScrEffectTemplatesReversed;
cReplayRecord g_ReplayRecord;
cReplayRecord g_PrevReplayRecord;
// Here: the heroes (play/stage_objects.cpp).
CheckedVector<cMapCell> g_MapCells;
// Here: the list of characters and the list of items (play/stage_objects.cpp).
cStageData g_Stage;
cStageData g_PlayState;
cWorldMap g_WorldMap;
cSaveData g_SaveData;
cSaveData g_StageStartSave;
cSaveData g_PrevStageStartSave;
cOption g_Option;
CheckedVector<cSaveSlotInfo> g_SaveSlots(kStorySlotCount, cSaveSlotInfo());
// Here: the ranking.
