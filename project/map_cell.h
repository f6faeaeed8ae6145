#pragma once
// A map cell of the running stage: the placed block with one word of run-time state, the condition
// latch. It is 0 when the cell is made and whenever its block is replaced; stage play sets it the
// first time the conditions hold on a block that keeps itself once they have, and then stops
// testing them. The latch is never saved.
#include <cstdint>

#include "platform/services/checked.h"
#include "project/block.h"

class cMapCell : public cBlock {
 public:
  cMapCell() = default;
  // A new cell from a block: its values, the latch clear.
  explicit cMapCell(const cBlock& block) : cBlock(block) {}
  cMapCell(const cMapCell&) = default;
  cMapCell& operator=(const cMapCell&) = default;

  // Puts block in this cell (stage set-up, block summons): all its values, and the latch starts
  // over.
  cMapCell& operator=(const cBlock& block) {
    cBlock::operator=(block);
    m_ConditionLatch = 0;
    return *this;
  }

  std::uint32_t m_ConditionLatch = 0;
};

// The cells of the live stage, row by row with a power-of-two stride, filled by stage play.
extern CheckedVector<cMapCell> g_MapCells;
