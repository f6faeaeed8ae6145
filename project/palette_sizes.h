#pragma once
// The lengths of the palette lists in memory, for the normalisers that check palette references
// once every palette is read: the summon commands (NormalizeSummonParams, NormalizeFlowSummons,
// cCharaDef::NormalizeSummons, cItemDef::NormalizeSummons) and the items that blocks hold
// (cBlock::NormalizeItemRef with items[0] and items[1]).
#include "project/command_normalize.h"

// The palettes of LoadContext(); a palette that is not there counts as empty.
SummonPalettes PaletteSizes();
