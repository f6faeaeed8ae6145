#pragma once
// The names of every project and user file, and the folders they lie in, relative to the game
// folder. Nothing else in the program spells a project or user file name: bitmaps are named by the
// surface descriptors, music and sounds by the database.
#include <array>
#include <string>

#include "project/label_list.h"

constexpr int kProjectPathCount = 47;
constexpr int kFileExtensionCount = 4;

// Read by index only; see the table in project_paths.cpp for what each row names.
extern const std::array<std::string, kProjectPathCount> ProjectPathTable;

// Extensions without the dot: 0 "cplt4", 1 "stg4" (stage files), 2 "plt4", 3 "rkg" (rankings).
extern const std::array<std::string, kFileExtensionCount> FileExtensionTable;

// The colour names of the editing program; nothing in the player reads them.
extern const LabelList ColourLabels;

// Rows that the player reads, named so callers do not carry bare numbers.
constexpr int kPathData = 0;
constexpr int kPathDefault = 1;
constexpr int kPathCommonPalette = 7;
constexpr int kPathWorldMap = 13;
constexpr int kPathAnimeSet = 15;
constexpr int kPathAnime = 17;
constexpr int kPathCharaBitmaps = 19;
constexpr int kPathSwordType = 21;
constexpr int kPathEffect = 23;
constexpr int kPathCharaEffect = 25;
constexpr int kPathScrEffect = 27;
constexpr int kPathPicture = 29;
constexpr int kPathSound = 31;
constexpr int kPathBgm = 33;
constexpr int kPathSystem = 35;
constexpr int kPathChallengeStagePrefix = 37;
// Rankings: this row + play mode (0 story, 1 challenge, 2 free).
constexpr int kPathRankingFolders = 38;
constexpr int kPathStorySlotPrefix = 41;
constexpr int kPathChallengeProgress = 42;
constexpr int kPathOption = 43;
constexpr int kPathKeyConfig = 45;
constexpr int kPathBoot = 46;

constexpr int kExtensionStage = 1;
constexpr int kExtensionRanking = 3;

// Makes sure the project folder data\ exists. On the first run only default\, the pristine copy
// that ships with the game, is there: the player asks whether to create data\ from it and copies
// it. 1 when data\ exists afterwards, 0 when it does not (no default\, the answer No, or a copy
// that failed, which leaves nothing behind).
int EnsureProjectData();
