#pragma once
// A player-operated object (主人公), one per player; hero 0 is player 1. Its motion comes from its
// own flows like everything else: key-condition flows start the move and jump commands. The class
// adds what only a hero needs: its player's input, a jump whose height follows the held key, a
// camera that follows it, a third box that picks up items, the items it has taken, the overlay
// that shows its boxes, and the darkness of its field of view.
#include <cstdint>

#include "platform/services/checked.h"
#include "play/chara_base.h"
#include "play/stage_draw.h"
#include "project/flow_command.h"

class cInput;
struct DDSURFACEDATA;

// One box drawn over a hero: kind (kOverlay*), display mode (0 off, 1 filled, 2 frame), palette
// colour, screen position and size, and the frame counter of the cycling frame colour (0..31).
struct cBoxOverlayRec {
  std::int32_t m_Kind = 0;
  std::int32_t m_Mode = 0;
  std::int32_t m_Colour = 0;
  std::int32_t m_X = 0;
  std::int32_t m_Y = 0;
  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  std::int32_t m_Counter = 0;
};

constexpr std::int32_t kOverlayHit = 0;
constexpr std::int32_t kOverlayBody = 1;
constexpr std::int32_t kOverlayPickup = 2;
constexpr std::int32_t kOverlayShot = 3;


class cHero : public cCharaBase {
 public:
  cHero();
  ~cHero() override;
  cHero(const cHero&) = default;
  cHero& operator=(const cHero&) = default;
  cHero(cHero&&) noexcept = default;

  void Setup(std::int32_t id, const cCharaDef& def, double homeX, double homeY);
  // Flight mode 0..3 with the boxes of the new state; rescale multiplies them by the scale.
  void ApplyFlightMode(std::int32_t mode, std::int32_t rescale);
  // The stage's hit box of the hero's state and where it sits in the 32x32 drawn box.
  void DefaultBoxSizes(std::int32_t& drawOffsetX, std::int32_t& drawOffsetY, std::int32_t& width,
                       std::int32_t& height) const;
  // The four overlay records, largest box first so that the smaller ones are drawn over it.
  void BuildHitBoxOverlay();
  // The screen rectangle; on an axis that scrolls by itself the hero keeps its pixel position
  // relative to the scrolling background.
  void UpdateScreenRect();
  void SaveGroundState() { m_PrevCellIndex = m_CellIndexUnderFeet; }
  void SaveDirection() { m_PrevDirection = m_Direction; }
  bool IsItemNew(std::int32_t itemId) const;
  void ForgetTakenItem(std::int32_t itemId);
  // The pop-up of an applied item with the item's icon.
  void ShowItemMessage(std::int32_t graphicKind, std::int32_t chipNumber, std::int32_t graphicPage);
  // The field-of-view darkness over the whole view, its light hole on the hero.
  void DrawDarkness(DDSURFACEDATA* surface) const;

  void ScaleSubBoxes(std::int32_t scale) override;
  void UpdateSubBoxesX() override;
  void UpdateSubBoxesY() override;
  std::int32_t OnMovedX() override;
  std::int32_t OnMovedY() override;
  std::int32_t StepX() override;
  std::int32_t StepY() override;
  void Jump(cCommandInstance& instance) override;
  // The event scripts run the flows (flow_seam.cpp).
  std::int32_t RunFlows(std::int32_t deathOnly) override;
  // The start of the flow step: while the project moves everything with the scroll a hero follows
  // it exactly when it flies, otherwise by its own setting; its per-step command flags are cleared.
  void BeginFlowStep();

  cInput* m_Input = nullptr;
  std::int32_t m_JumpHoldCounter = 0;
  std::int32_t m_JumpAllowed = 1;
  std::int32_t m_JumpBlocked = 0;
  std::int32_t m_JumpDoneThisStep = 0;
  std::int32_t m_StepWords[2] = {0, 0};
  std::int32_t m_PrevDirection = 0;
  CheckedVector<std::int32_t> m_TakenItems;
  cSubBox m_PickupBox;
  CheckedVector<cBoxOverlayRec> m_Overlay;
  CheckedVector<cFlowCommand> m_QueuedFlowChanges;
  // Set by the scripts: the player's direction keys, or buttons, do not reach the hero.
  std::int32_t m_DirectionLocked = 0;
  std::int32_t m_ButtonsLocked = 0;
  // The map-cell effect under way (speed factor or drift): its kind, factor or amount per step, and
  // the logic steps it still runs.
  std::int32_t m_CellEffectKind = 0;
  double m_CellEffectValue = 0.0;
  std::int32_t m_CellEffectSteps = 0;
  // Logic steps before the item of the map cell under the hero is applied again (standing still on
  // it applies it once per second of play).
  std::int32_t m_CellItemSteps = 0;

 private:
  // The flow whose runner holds instance, or null.
  const cFlow* RunningFlowOf(const cCommandInstance& instance) const;
};

// The heroes of the running stage, in player order.
extern CheckedVector<cHero> g_Heroes;

// The hero's screen rectangle of any object: the map-cell screen clamps use it for every object.
void UpdateScreenRectKeepingPixels(cGameObj& obj);
// The screen rectangle as the object's own class keeps it: a hero's follows the auto-scroll.
void RefreshScreenRect(cCharaBase& chara);
