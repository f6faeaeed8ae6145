#pragma once
// The sample's palette entries: the blocks, characters and items every stage is built from, kept
// in the common palette, and the placed copies the stages put on their maps.
#include <cstdint>

#include "project/block.h"
#include "project/chara_def.h"
#include "project/item_def.h"

// Common palette entries (index = entry; 0 is the empty entry every palette starts with).
enum SampleBlock : std::int16_t {
  kBlockEmpty = 0,
  kBlockGroundTop = 1,
  kBlockGround = 2,
  kBlockBrick = 3,
  kBlockQuestion = 4,
  kBlockStone = 5,
  kBlockWood = 6,
  kBlockSpikes = 7,
  kBlockPoleTop = 8,
  kBlockPole = 9,
  kBlockBush = 10,
  kBlockFlower = 11,
  kBlockCastle = 12,
  kSampleBlockCount = 13,
};

enum SampleChara : std::int16_t {
  kCharaEmpty = 0,
  kCharaHeroDef = 1,
  kCharaWalkerDef = 2,
  kCharaFlyerDef = 3,
  kCharaLiftDef = 4,
  kCharaSignDef = 5,
  kCharaCirclerDef = 6,
  // The firing stage: a hero who shoots and swings a sword, and a turret for each spawn pattern.
  kCharaGunnerDef = 7,
  kCharaTurretStraightA = 8,
  kCharaTurretStraightB = 9,
  kCharaTurretSpread = 10,
  kCharaTurretThunder = 11,
  kCharaTurretBurst = 12,
  kCharaTurretSurround = 13,
  kCharaTokenDef = 14,      // counts a stage variable up when touched, then vanishes
  kCharaCodeTokenDef = 15,  // the same by a line of code
  kCharaDoorDef = 16,       // a block character that vanishes once the count is reached
  kCharaElderDef = 17,  // talks when touched, waiting for the key
  kCharaGuideDef = 18,  // talks, then offers a warp or the goal
  kCharaGoalDef = 19,   // clears the stage when touched
  // The presentation stage: a presenter that shows pictures and runs effects, and a walker whose
  // hits show a sparkle.
  kCharaPresenterDef = 20,
  kCharaSparkWalkerDef = 21,
  kCharaShowmanDef = 22,  // the items stage: aims, changes its looks, summons, charges and homes
  kSampleCharaCount = 23,
};

enum SampleItem : std::int16_t {
  kItemEmpty = 0,
  kItemCoin = 1,
  kItemLife = 2,
  kItemGoal = 3,
  kItemGem = 4,
  // The items stage: each changes the hero's flows and what the stage looks and sounds like.
  kItemWings = 5,  // adds a high jump on the up key
  kItemMask = 6,   // replaces it by a low one
  kItemShell = 7,  // takes it away again
  kSampleItemCount = 8,
};

cBlock SampleBlockDef(SampleBlock block);
cCharaDef SampleCharaDef(SampleChara chara);
cItemDef SampleItemDef(SampleItem item);

// A placed record at map cell (x, y) that takes every property from common palette entry n. Its
// own values are the entry's too, so what is written is what a reader makes of it.
cBlock PlacedBlock(SampleBlock block, int x, int y);
cCharaDef PlacedChara(SampleChara chara, int x, int y);
cItemDef PlacedItem(SampleItem item, int x, int y);

// The behaviour (sample_flows.cpp): the flows of a character and the commands an item applies to
// the hero who takes it.
void AddSampleFlows(SampleChara chara, cCharaDef& def);
void AddSampleItemCommands(SampleItem item, cItemDef& def);
