#pragma once
// A computer-side object of a stage: an enemy, a block character, a moving platform, a summoned
// creature. It may carry one item that goes to the player when it dies, runs only while it is near
// the screen (or once activated, for good), and moves by its flows with plain physics: drive with
// friction, gravity, knock-back and the clamps to the map.
#include <cstdint>

#include "play/chara_base.h"
#include "play/item.h"
#include "play/object_list.h"

struct DDSURFACEDATA;

// What the logic step does with a character after its moves (StepX / StepY results beside the
// clamp codes).
constexpr std::int32_t kStepLeftStageSide = 4;  // reached a side edge of the map
constexpr std::int32_t kStepFellOut = 7;        // a walking character fell out of the stage
constexpr std::int32_t kStepFlewOut = 8;        // a flying character touched the top or bottom of the map

// The values of a character definition that the record keeps in bytes of its own: the collision
// group (the byte after the player number) and the number of extra copies of a placement (the
// byte after the facing, before the copy offsets).
std::int32_t CharaGroupOf(const cCharaDef& def);
std::int32_t ExtraCopiesOf(const cCharaDef& def);

class cChara : public cCharaBase {
 public:
  cChara();
  ~cChara() override;
  cChara(const cChara&) = default;
  cChara& operator=(const cChara&) = default;
  cChara(cChara&&) noexcept = default;

  // A new character of id from def, centred on (homeX, homeY); heldItem (may be null) is copied in.
  void Setup(std::int32_t id, const cCharaDef& def, const cItem* heldItem, double homeX, double homeY,
             std::uint16_t tag);
  // Aligns the hit box on stage cell (column, row).
  void PlaceAtCell(std::int32_t column, std::int32_t row);
  // Whether the character is in its activation area; sets its activation group's flag when it is.
  std::int32_t UpdateActive(CheckedVector<std::uint8_t>& groupFlags);
  // Whether the logic step runs the character this step.
  std::int32_t CheckFirstActivation(CheckedVector<std::uint8_t>& groupFlags);
  // Edges inclusive.
  bool OverlapsRect(double ax1, double ay1, double ax2, double ay2) const;
  // The icon of a held item over the character, shown the last 33 of every 96 calls.
  void DrawHeldItemIcon(DDSURFACEDATA* surface);

  void ScaleSubBoxes(std::int32_t scale) override;
  void UpdateSubBoxesX() override;
  void UpdateSubBoxesY() override;
  cGameObj* GetHeldItem() override { return &m_HeldItem; }
  std::int32_t OnMovedX() override { return ClampToStageX(2); }
  std::int32_t OnMovedY() override { return ClampToStageY(2); }
  std::int32_t StepX() override;
  std::int32_t StepY() override;
  void Jump(cCommandInstance& instance) override;
  // The event scripts run the flows (flow_seam.cpp).
  std::int32_t RunFlows(std::int32_t deathOnly) override;
  // The start of the flow step: a character follows the scroll only by its own setting, and not at
  // all while the project moves everything with the scroll through the move commands.
  void BeginFlowStep();

  std::int32_t m_Active = 0;
  std::int32_t m_RunsThisStep = 0;
  cItem m_HeldItem;
  std::int32_t m_IconCounter = 0;
  std::int32_t m_IgnoreX = 0;
  std::int32_t m_IgnoreY = 0;
  std::int32_t m_ActivatedOnce = 0;
  std::int32_t m_ReservedState = 0;
};

// The characters and the items of the running stage.
extern cObjectList<cChara> g_CharaList;
extern cObjectList<cItem> g_ItemList;
