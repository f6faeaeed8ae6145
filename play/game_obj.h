#pragma once
// The base of every object on a stage (heroes, characters, items, shots): its hit rectangle in stage
// dots with velocities, drive and friction, the drawn box around it, its scale, its animation and
// screen rectangle, and the geometry all stage code shares: clamps to the scroll range, the stage
// and the map, the one-axis move of a logic step, the on-screen and removal tests, the corner test
// against map cells.
//
// Positions are stage dots, y downward, edges inclusive (x2 = x1 + width - 1). Velocities are dots
// per logic step.
#include <cstdint>

#include "platform/display/anime_pattern.h"

class cCharaBase;
class cScreenOutRule;
struct cCommandInstance;

// What ClampToStageX/Y report about the position they leave (mode 1 and 2 only).
constexpr std::int32_t kClampInside = 0;
constexpr std::int32_t kClampOutsideScroll = 1;   // y: above the scroll range
constexpr std::int32_t kClampOutsideStage = 2;    // y: above the stage
constexpr std::int32_t kClampMapEdge = 3;         // y: held at the top of the map
constexpr std::int32_t kClampBelowScroll = 4;     // y only
constexpr std::int32_t kClampBelowStage = 5;      // y only
constexpr std::int32_t kClampFellOutOfMap = 6;    // y only: held at the bottom of the map

// The endless life of an object that no timer removes.
constexpr std::int32_t kEndlessLife = 2147483647;

class cGameObj {
 public:
  cGameObj();
  virtual ~cGameObj() = default;
  cGameObj(const cGameObj&) = default;
  cGameObj& operator=(const cGameObj&) = default;
  cGameObj(cGameObj&&) = default;
  cGameObj& operator=(cGameObj&&) = default;

  // Every field of other, the animation patterns included.
  void CopyFrom(const cGameObj& other) { *this = other; }

  void Init(std::int32_t id, std::int32_t op, std::int32_t player, std::int32_t group, std::int32_t graphic,
            AnimeSourceTable table, std::int32_t startPattern, std::int32_t drawOffsetX, std::int32_t drawOffsetY,
            std::int32_t width, std::int32_t height, std::int32_t drawWidth, std::int32_t drawHeight,
            std::int32_t direction, std::int32_t flightMode, std::uint16_t tag);
  // 0 walks; 1 flies through blocks; 2 flies and blocks stop it; 3 flies and blocks kill it.
  void SetFlightMode(std::int32_t mode);

  // Sizes from the base sizes at the new scale, keeping the horizontal centre (and, for characters,
  // the feet). Equal scales change nothing.
  void SetScale(std::int32_t newScale, std::int32_t oldScale);
  void RescaleX(std::int32_t newScale, std::int32_t oldScale);
  void RecentreX(std::int32_t newScale, std::int32_t oldScale);

  // Keeps the object inside a range of the x (y) axis and reports where it is (kClamp*): mode 0
  // the scroll range, mode 1 the stage, mode 2 the map.
  std::int32_t ClampToStageX(std::int32_t mode);
  std::int32_t ClampToStageY(std::int32_t mode);
  // One logic step along x (y): the velocity limited to the maximum speed, added, then the clamp.
  std::int32_t MoveX(std::int32_t mode);
  std::int32_t MoveY(std::int32_t mode);

  void ApplyGravity();
  // Brings a drive value toward 0 by the friction, never across it; only when enabled.
  void DampDrive(double& value, std::int32_t enabled) const;
  // 1 facing right, -1 facing left.
  std::int32_t Facing() const { return m_Direction != 0 ? 1 : -1; }

  void UpdateScreenRect();
  bool IsOnScreen() const { return IsOnScreenAxis(false, false); }
  bool IsOnScreenAxis(bool skipX, bool skipY) const;
  // Inside the map (whole map) or inside the stage proper.
  bool IsInsideStage(bool wholeMap) const;
  // One of the four corner cells of the hit rectangle is solid for this object.
  bool OverlapsSolidCell() const;
  bool OverlapsSolidCell(std::int32_t) const { return OverlapsSolidCell(); }
  // The play scene removes an object that is off screen and beyond an enabled side of the rule.
  bool IsBeyondScreenOutRule(const cScreenOutRule& rule) const;

  // Centre of the screen rectangle (integer halves).
  std::int32_t ScreenCentreX() const { return m_ScreenLeft + m_DrawWidth / 2; }
  std::int32_t ScreenCentreY() const { return m_ScreenTop + m_DrawHeight / 2; }
  // The point a move command aims at when this object is its target: the screen centre plus the
  // command's offsets, on the axes the command uses; x and y keep their values on the others.
  void TargetPointOf(double& x, double& y, const cCommandInstance& instance) const;

  // Per-class parts of scaling and of moving the secondary boxes; none in the base.
  virtual void ScaleSubBoxes(std::int32_t) {}
  virtual void AnchorAfterScale(std::int32_t, std::int32_t) {}
  virtual void UpdateSubBoxesX() {}
  virtual void UpdateSubBoxesY() {}
  // Centring on a screen point; only characters do it.
  virtual void SetCenter(std::int32_t, std::int32_t) {}
  virtual void SetCenterAndStop(std::int32_t, std::int32_t, cCommandInstance&) {}
  virtual void SetCenterX(std::int32_t) {}
  virtual void SetCenterXAndStop(std::int32_t, cCommandInstance&) {}
  virtual void SetCenterY(std::int32_t) {}
  virtual void SetCenterYAndStop(std::int32_t, cCommandInstance&) {}
  // This object aims at target (a homing shot) and target is going away: it lets go.
  virtual void DropAimTarget(const cCharaBase*) {}
  // target moved to a new address (its container moved it): an object aiming at it follows.
  virtual void RetargetAim(const cCharaBase*, cCharaBase*) {}

  std::int32_t m_Id = 0;
  std::int32_t m_Life = kEndlessLife;
  std::int32_t m_Direction = 0;  // 0 left, anything else right
  std::uint16_t m_SpawnIndex = 0;
  std::int32_t m_Graphic = 0;
  std::int32_t m_GraphicSheet = 0;
  cAnimePattern m_Anime;
  std::int32_t m_ScreenLeft = 0;
  std::int32_t m_ScreenTop = 0;
  std::int32_t m_ScreenRight = 0;
  std::int32_t m_ScreenBottom = 0;
  std::int32_t m_DrawOffsetX = 0;  // the hit box inside the drawn box, scaled
  std::int32_t m_DrawOffsetY = 0;
  std::int32_t m_DrawWidth = 0;
  std::int32_t m_DrawHeight = 0;
  std::int32_t m_BaseDrawOffsetX = 0;
  std::int32_t m_BaseDrawOffsetY = 0;
  std::int32_t m_BaseDrawWidth = 0;
  std::int32_t m_BaseDrawHeight = 0;
  std::int32_t m_Operator = 0;  // 0 a player, 1 the computer
  std::int32_t m_Player = 0;
  std::int32_t m_Group = 0;  // collision group
  double m_X1 = 0.0;
  double m_Y1 = 0.0;
  double m_X2 = 0.0;
  double m_Y2 = 0.0;
  std::int32_t m_CellX1 = 0;
  std::int32_t m_CellY1 = 0;
  std::int32_t m_CellX2 = 0;
  std::int32_t m_CellY2 = 0;
  double m_Vx = 0.0;
  double m_Vy = 0.0;
  double m_DriveX = 0.0;
  double m_DriveY = 0.0;
  double m_Friction = 0.0;
  std::int32_t m_FrictionX = 0;
  std::int32_t m_FrictionY = 0;
  std::int32_t m_FollowsScroll = 0;
  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  std::int32_t m_BaseWidth = 0;
  std::int32_t m_BaseHeight = 0;
  std::int32_t m_Flying = 0;
  std::uint8_t m_BlockMode = 0;  // how cells stop a flying object
  std::int32_t m_Present = 0;
  // The appearance conditions of a keep-once-met object have held once: they are not tested again
  // until the object is set up anew.
  std::uint8_t m_AppearanceLatched = 0;
  std::int32_t m_OnScreen = 0;
  std::int32_t m_ScreenOverride = 0;
  std::int32_t m_ScreenX = 0;
  std::int32_t m_ScreenY = 0;
  std::uint16_t m_Tag = 0;
};
