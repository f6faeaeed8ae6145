#pragma once
// Addressing the map cells of the running stage. The map carries a margin of empty cells on every
// side; rows are a power of two apart (the horizontal axis's shift), so a cell's index is a shift and
// an add.
#include <cstdint>

#include "project/map_cell.h"

class cStageData;

// The index in g_MapCells of the cell at map column tx and row ty (margin included).
std::int32_t MapCellIndex(std::int32_t tx, std::int32_t ty);
// The index of stage cell (x, y), counted from the top left of the stage proper.
std::int32_t StageCellIndex(std::int32_t x, std::int32_t y);
// The cell at map column tx, row ty through the checked access (a bad index is reported and closes
// the program in order).
cMapCell& MapCellAt(std::int32_t tx, std::int32_t ty);

// 0 passable, 1 solid, 2 deadly to player-operated objects: the cell's solidity as it applies to an
// object of this collision group. A cell whose appearance conditions do not hold is passable, and so
// is a cell that exempts the group.
std::int32_t IsSolidFor(cMapCell& cell, std::int32_t group);

// Fills g_MapCells from the stage's placed blocks with the play scene's axes already set up: every
// cell empty and passable, then each block at its place. Placed blocks outside the map are left out.
// A map of more than kMaxMapCells cells is refused with std::bad_alloc, as one that does not fit in
// memory.
void BuildMapCells(const cStageData& stage);
