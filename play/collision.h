#pragma once
// Map-cell collision of heroes and characters: which cells stop or kill an object, how an object
// that moved into a solid cell is pushed back out along the axis it moved on, the contact triggers
// that raises, the fall after the grace time without floor, the screen edges under automatic
// scrolling, and the place test of warps and summons.
//
// The operations answer kCellSafe or kCellKilled (a cell killed the object; the caller plays its
// death). A squeeze is not detected here: the push-outs set the contact flags, and the logic step
// takes both sides of one axis set in one step as a crush. Cell indices are indices of g_MapCells.
#include <cstdint>

class cCharaBase;
class cChara;
template <class T>
class cObjectList;

constexpr std::int32_t kCellSafe = 0;
constexpr std::int32_t kCellKilled = 2;

// The most solid cell along a vertical (x1 == x2) or horizontal (y1 == y2) edge of obj in whole
// dots, sampled every base size; 0 for any other edge.
std::int32_t FindEdgeCell(const cCharaBase& obj, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
// The most solid cell under the bottom edge, an odd number of samples so that one falls on the
// middle; of equal cells the one nearest the middle.
std::int32_t FindFootCell(const cCharaBase& obj);
// The most solid of the four corner cells of a tile box for group.
std::int32_t MostSolidCornerCell(std::int32_t tx1, std::int32_t ty1, std::int32_t tx2, std::int32_t ty2,
                                 std::int32_t group);

std::int32_t HitLeftWall(cCharaBase& obj);
std::int32_t HitRightWall(cCharaBase& obj);
std::int32_t HitCeilingCells(cCharaBase& obj);
std::int32_t HitFloorCells(cCharaBase& obj);

// After the x step (y step): both sides, the one the object moves toward first.
std::int32_t ResolveWallHit(cCharaBase& obj);
std::int32_t ResolveFloorHit(cCharaBase& obj);
// The second passes after block characters have pushed the object.
std::int32_t RecheckWallHit(cCharaBase& obj);
std::int32_t RecheckFloorHit(cCharaBase& obj);

// While the axis scrolls by itself, or the object flies: keeps it inside the screen. ClampToScreenY
// answers kCellKilled for a walking object the bottom of the screen pushed.
void ClampToScreenX(cCharaBase& obj);
std::int32_t ClampToScreenY(cCharaBase& obj);

// 1 when obj cannot be where it is: a corner cell stops it, or it overlaps a block character.
std::int32_t IsPlaceBlocked(const cCharaBase& obj);
// 1 when obj overlaps a live, present block character of the list other than itself.
std::int32_t OverlapsBlockChara(const cCharaBase& obj, const cObjectList<cChara>& list);
