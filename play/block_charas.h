#pragma once
// Block characters: characters whose definition makes them a moving piece of map. Every other hero
// and character is pushed out of them sideways, from below or onto them, stands on them and is
// carried along, and is crushed when they close in on it. Only live, present block characters take
// part, never against themselves, in the order of the character list. Boxes are inclusive on all
// four edges.
//
// The logic step carries a rider before its motion step and resolves the block characters after
// its map collision; a contact flag set here sends the object through a second map pass on that
// axis.
#include <array>
#include <cstdint>

class cCharaBase;

// The object against every block character: pushed out, landed, dropped below, nudged out of the map
// again. kCellKilled (2) when it is crushed, or when it flies, dies on blocks and touched one;
// otherwise kCellSafe.
std::int32_t ResolveBlockCharaHits(cCharaBase& obj);
// A walking rider follows the block character it stands on by that character's move since its box
// was last recorded: the x move is added to the rider's speed, the y move becomes it.
void CarryRider(cCharaBase& rider);
// The plain push out of the overlapped block characters along one axis (0 x, 1 y).
void PushOutOfBlockCharas(cCharaBase& obj, std::int32_t axis);

// The 5-dot strip under the feet touches the ridden block character, or any block character.
bool IsOnRiddenChara(const cCharaBase& obj);
bool IsOnAnyBlockChara(const cCharaBase& obj);
// All four corners of the object (the lower two one dot up) lie in block characters, each either
// where it is now or where it was at entry.
bool IsEnclosedByBlockCharas(const cCharaBase& obj, const std::array<double, 4>& entryBox);
// The box (x1, y1, x2, y2) overlaps a block character other than obj and the one left out; never
// for an object that passes through blocks.
bool OverlapsOtherBlockChara(const cCharaBase& obj, const std::array<double, 4>& box, std::int32_t leftOutId);
