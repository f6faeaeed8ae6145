#pragma once
// Chip numbers of the sample's sheets, shared by the pictures and the records that show them.
#include <cstdint>

// bmp\Block.bmp: chip n at column n / 15, row n % 15.
enum SampleBlockChip : std::int32_t {
  kChipBlank = 0,
  kChipGroundTop = 1,
  kChipGround = 2,
  kChipBrick = 3,
  kChipQuestion = 4,
  kChipUsed = 5,
  kChipStone = 6,
  kChipCloudTop = 7,
  kChipWood = 8,
  kChipCastle = 9,
  kChipSpikes = 10,
  kChipPoleTop = 11,
  kChipPole = 12,
  kChipBush = 13,
  kChipFlower = 14,
  kSampleBlockChips = 15,
};

// bmp\Character1.bmp: row n, columns 0-3 as drawn, 4-7 invincible, 8-11 as a block character.
// Chip 0 means "no picture", so row 0 stays empty.
enum SampleCharaChip : std::int32_t {
  kCharaHero = 1,
  kCharaWalker = 2,
  kCharaFlyer = 3,
  kCharaLift = 4,
  kCharaSign = 5,
  kSampleCharaChips = 6,
};

// bmp\Item.bmp: chip n at 64-dot column n / 15 (two frames side by side), row n % 15.
enum SampleItemChip : std::int32_t {
  kItemChipNone = 0,
  kItemChipCoin = 1,
  kItemChipLife = 2,
  kItemChipGoal = 3,
  kItemChipGem = 4,
  kSampleItemChips = 5,
};

// Shots (bmp\Shot.bmp, 16 x 16 frames) and marks (bmp\Mark.bmp).
constexpr std::int32_t kShotFireball = 0;
constexpr std::int32_t kShotStar = 1;
constexpr std::int32_t kMarkArrow = 1;
constexpr std::int32_t kMarkExclaim = 2;
