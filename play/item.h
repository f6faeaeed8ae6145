#pragma once
// An item lying on the stage, or carried by a character until that character dies: a private copy
// of its definition (whose command list runs on the hero who takes it), a box on the 32-dot map
// grid, and a two-frame blink drawn from the item pictures.
#include <cstdint>

#include "play/game_obj.h"
#include "project/item_def.h"

struct DDSURFACEDATA;

// Frames each of the two blink frames of an item stays.
constexpr std::int32_t kItemBlinkFrames = 15;

class cItem : public cGameObj {
 public:
  cItem();

  // A new item of id from def. A held item is present at once and keeps its natural size.
  void Setup(std::int32_t id, const cItemDef& def, std::int32_t held);
  // Centres the hit box in stage cell (column, row).
  void PlaceOnGrid(std::int32_t column, std::int32_t row);
  // Draws at the screen rectangle the caller has brought up to date; a frozen frame (pause) neither
  // advances the blink nor loses it.
  void Draw(DDSURFACEDATA* surface, std::int32_t freeze);

  // An item scales about the bottom of its drawn box.
  void AnchorAfterScale(std::int32_t newScale, std::int32_t oldScale) override;

  // The offset in dots from its cell that the placement gives the item.
  std::int32_t DotOffsetX() const { return m_Def.m_Word94; }
  std::int32_t DotOffsetY() const { return m_Def.m_Word96; }
  std::int32_t Scale() const { return m_Def.m_Size; }

  cItemDef m_Def;
  std::int32_t m_Held = 0;
};
