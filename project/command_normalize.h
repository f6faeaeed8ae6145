#pragma once
// The normalisers of commands: references to database entries and palette entries that the tables
// in memory cannot satisfy are replaced by safe values, and every parameter vector gets the length
// of its command's row, so the event scripts can index any parameter the row has.
#include <cstdint>

#include "project/flow.h"

// Run after every read and before every write, with the database sizes of LoadContext():
// 1. an animation or a sound out of range becomes none;
// 2. the parameters are padded with 0 or cut to the row's count (none for an unknown command);
// 3. parameter 0 of the commands that name a database entry is checked against its table;
// 4. a sword's type is checked and its use time becomes the length of the swing;
// 5. every nested flow is normalised.
void NormalizeCommandParams(cFlowCommand& command);

// The sizes of the palette lists that summons and item pick-ups name; index 0 the common palette,
// 1 the stage's own palette.
struct SummonPalettes {
  int blocks[2] = {0, 0};
  int charas[2] = {0, 0};
  int items[2] = {0, 0};
};

// The sizes of the palettes a load context holds, a palette that is not there counting as empty.
// A template so that it is built where the palette records are complete types.
template <class Context>
SummonPalettes SummonPalettesOf(const Context& context) {
  auto size = [](const auto* list) { return list ? static_cast<int>(list->size()) : 0; };
  SummonPalettes sizes;
  sizes.blocks[0] = size(context.commonPalette.blocks);
  sizes.blocks[1] = size(context.stagePalette.blocks);
  sizes.charas[0] = size(context.commonPalette.charas);
  sizes.charas[1] = size(context.stagePalette.charas);
  sizes.items[0] = size(context.commonPalette.items);
  sizes.items[1] = size(context.stagePalette.items);
  return sizes;
}

// Palette references of summons and item pick-ups, checked once every palette is in memory (the
// palette and stage normalisers call these). Nested flows are checked as well, since a flow change
// can bring their commands to run.
void NormalizeSummonParams(cFlowCommand& command, const SummonPalettes& palettes);
// NormalizeSummonParams for every command of flow.
void NormalizeFlowSummons(cFlow& flow, const SummonPalettes& palettes);
