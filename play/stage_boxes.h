#pragma once
// The box sizes a stage sets for its objects, as places in the stage header: the hit box of heroes
// and characters on foot and flying with their bottom-aligned flags, their body boxes, the boxes
// shots hit, the second body box, the hero's pick-up box and its overlay settings, the item box.
#include <algorithm>
#include <cstdint>

#include "project/stage_data.h"

// One size of a box: width and height fields, and the bottom-aligned flag (-1: always centred).
struct StageBoxFields {
  std::int32_t width;
  std::int32_t height;
  std::int32_t bottomFlag;
};

// The box sizes of one kind of object.
struct StageBoxSet {
  StageBoxFields hitOnFoot;
  StageBoxFields hitFlying;
  StageBoxFields bodyOnFoot;
  StageBoxFields bodyFlying;
  StageBoxFields shotBox;     // the box shots hit (body-box mode 1)
  StageBoxFields secondBody;  // body-box mode 2
};

constexpr StageBoxSet kHeroBoxes{{35, 36, 47}, {37, 38, 48}, {39, 40, 49}, {41, 42, 50}, {43, 44, -1}, {75, 76, -1}};
constexpr StageBoxSet kCharaBoxes{{59, 60, 69}, {61, 62, 70}, {63, 64, 71}, {65, 66, 72}, {67, 68, -1}, {79, 80, -1}};
constexpr StageBoxFields kHeroPickupBox{45, 46, -1};
constexpr StageBoxFields kItemBox{73, 74, -1};
// Shots of heroes and of the other characters: their size, and the box they hit characters with.
constexpr StageBoxFields kHeroShotSize{75, 76, -1};
constexpr StageBoxFields kHeroShotHitRange{77, 78, -1};
constexpr StageBoxFields kCharaShotSize{79, 80, -1};
constexpr StageBoxFields kCharaShotHitRange{81, 82, -1};
// The hero's box overlays: display mode and colour number of the hit box, the body box, the box
// shots hit and the pick-up box.
constexpr std::int32_t kOverlayModeHit = 51;
constexpr std::int32_t kOverlayModeBody = 52;
constexpr std::int32_t kOverlayModeShot = 53;
constexpr std::int32_t kOverlayModePickup = 54;
constexpr std::int32_t kOverlayColourOffset = 4;  // colour field = mode field + 4

// The live stage's values of one box.
struct StageBox {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bottom = 0;
};

// A box side as the box arithmetic can carry it: offsets, scaling and areas are 32-bit, so a
// damaged header's side is held to 16 bits (no stage has a box near that size).
inline std::int32_t StageBoxSide(std::int32_t field) {
  return std::clamp<std::int32_t>(g_Stage.Field(static_cast<StageField>(field)), INT16_MIN, INT16_MAX);
}

inline StageBox ReadStageBox(const StageBoxFields& f) {
  StageBox box;
  box.width = StageBoxSide(f.width);
  box.height = StageBoxSide(f.height);
  box.bottom = f.bottomFlag >= 0 ? g_Stage.Field(static_cast<StageField>(f.bottomFlag)) : 0;
  return box;
}
