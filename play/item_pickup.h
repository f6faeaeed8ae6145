#pragma once
// Items reaching the hero: the items lying on the stage that hero 0's pick-up box touches, the item
// a map cell under its feet carries, and the one application all roads share (a dying character's
// held item too): the item's sound, its pop-up and its command list, always on hero 0.
//
// Each answers 0 when the play goes on, 1 when the stage is cleared, 2 when the hero is dead.
#include <cstdint>

class cHero;
class cItem;

// The item's effect on hero: nothing for an item without a picture, one that cannot be taken or one
// that is not present; otherwise the pop-up (when the item asks for it), its sound and the stop code
// of its command list.
std::int32_t ApplyItem(cItem& item, cHero& hero);
// The item palette entry that source and index name (GetItemPaletteEntry), applied to hero through
// a stand-in item; 0 as well when they name none.
std::int32_t ApplyPaletteItem(std::int8_t source, std::int16_t index, cHero& hero);
// Every present, lying, takable item that hero's pick-up box touches, in list order; the first
// non-zero code ends the walk. An item taken once goes away; one taken any number of times applies
// once per touch.
std::int32_t PickUpItems(cHero& hero);
// The item of the solid map cell under a walking hero, applied once a second while the hero stands
// on it, and again at once after a fall or on another cell.
std::int32_t ApplyCellItem(cHero& hero);
