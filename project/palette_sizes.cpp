#include "project/palette_sizes.h"

#include "project/block.h"
#include "project/chara_def.h"
#include "project/item_def.h"
#include "project/load_context.h"

SummonPalettes PaletteSizes() { return SummonPalettesOf(LoadContext()); }
