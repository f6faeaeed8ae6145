#include "project/map_cell.h"

CheckedVector<cMapCell> g_MapCells;
