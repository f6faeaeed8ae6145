#pragma once
// The object pass of the stage drawing: hero 0, the items, the characters and the shots, in this
// order, each group over the one before. With the stage's drawing-order switch on, the four groups
// are drawn once per drawing priority 0..7, so that an object of a higher priority covers every
// object of a lower one whatever its group.
//
// Each group lives in its own container (the heroes, g_ItemList, g_CharaList, the play scene's shot
// list) and is drawn by the drawer its owner puts into g_ObjectDrawers: it draws the group's
// objects of one priority, and it is where the draw pass's changes to the group happen (an item's
// screen rectangle, a character removed when its death has been shown). The play scene puts in all
// four; an entry left empty (a test that draws some groups only) draws nothing.
#include <array>
#include <cstdint>

struct DDSURFACEDATA;

constexpr std::int32_t kDrawPriorities = 8;
// Every object of the group, whatever its priority (the drawing-order switch is off).
constexpr std::int32_t kAnyPriority = -1;

enum ObjectDrawGroup : std::int32_t { kDrawHero, kDrawItems, kDrawCharas, kDrawShots, kObjectDrawGroups };

// Whether an object of drawing priority `own` belongs to the pass of `priority`. A priority the
// data put outside 0..7 counts as the nearest end, so that such an object is drawn first or last
// rather than never.
constexpr bool DrawnInPass(std::int32_t own, std::int32_t priority) {
  if (priority == kAnyPriority) return true;
  const std::int32_t kept = own < 0 ? 0 : own >= kDrawPriorities ? kDrawPriorities - 1 : own;
  return kept == priority;
}

// Draws those objects of a group whose drawing priority is `priority` (all of them for
// kAnyPriority; DrawnInPass decides) onto dst.
using ObjectGroupDrawer = void (*)(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen);
extern std::array<ObjectGroupDrawer, kObjectDrawGroups> g_ObjectDrawers;

// The pass itself, in the order above.
void DrawStageObjects(DDSURFACEDATA* dst, std::int32_t frozen);

// Hero 0's field-of-view darkness over the objects and the front plane, drawn by its owner, the hero
// (null: no darkness is drawn).
using DarknessDrawer = void (*)(DDSURFACEDATA* dst);
extern DarknessDrawer g_DarknessDrawer;
