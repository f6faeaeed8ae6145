#pragma once
// How characters, items and map cells enter a running stage: from the placements of the stage file
// at set-up, and from the summon commands during play. Every object made takes the id counter's
// value as its id and then advances it; an object whose box would lie outside the map is not made
// and takes no id.
#include <cstdint>

#include "play/object_list.h"

class cBlock;
class cChara;
class cCharaDef;
class cEdShot;
class cItem;
class cItemDef;
class cStageData;

// The summon settings of a command's shot record.
struct SummonOptions {
  std::int32_t timeLimitOn = 0;
  std::int32_t timeLimit = 0;  // tenths of a second
  std::int32_t blockMode = 0;  // kSummonBlock ...
  std::int32_t refuseOnHero = 0;
  std::int32_t refuseOnChara = 0;
  std::int32_t noScore = 0;
  std::int32_t groupMode = 0;
  std::int32_t reverseFacing = 0;
};
SummonOptions SummonOptionsOf(const cEdShot& shot);

// Block summon modes.
constexpr std::int32_t kSummonBlock = 0;   // ブロックを召喚
constexpr std::int32_t kRemoveBlock = 1;   // ブロックを消す
constexpr std::int32_t kToggleBlock = 2;   // ブロックがなければ召喚、ブロックがあれば消す

// The characters of one placement (its extra copies too) on stage cell (column, row), each holding
// a copy of heldItem when it is given.
void SpawnCharaFromStage(cObjectList<cChara>& list, std::int32_t column, std::int32_t row, std::int32_t& idCounter,
                         const cCharaDef& record, const cItem* heldItem);
void SpawnItemFromStage(cObjectList<cItem>& list, std::int32_t column, std::int32_t row, std::int32_t& idCounter,
                        const cItemDef& record);
// Summoned characters with the top left of their drawn box at map dots (x, y); each joins its group
// list unless its place is taken (then it goes at once).
void SpawnCharaAt(cObjectList<cChara>& list, double x, double y, std::int32_t group, std::int32_t facing,
                  const SummonOptions& options, const cCharaDef& def, std::int32_t& idCounter);
void SpawnItemAt(cObjectList<cItem>& list, double x, double y, const SummonOptions& options, const cItemDef& def,
                 std::int32_t& idCounter);
// Places, removes or toggles the map cell under the middle of the 32x32 area whose top left is
// (x, y). A cell outside the map is never changed.
void ChangeMapCellsAt(double x, double y, const SummonOptions& options, const cBlock& block);
// 1 when a summoned cell must be refused: it stops a hero (character) it overlaps and the options
// refuse that kind. Every object it stops gets the summoned-cell mark.
std::int32_t IsAreaOccupied(std::int32_t cellIndex, std::int32_t column, std::int32_t row, const SummonOptions& options);

// The characters and items of the stage's placements (the heroes aside): a character that names one
// of the placed items holds it, and that item is not placed on its own.
void PlaceStageCharasAndItems(const cStageData& stage, std::int32_t& nextCharaId, std::int32_t& nextItemId);
