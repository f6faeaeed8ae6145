#pragma once
// The base of the living objects of a stage, characters and heroes: a private copy of the
// definition (whose statuses scripts read and change), the runners of its flows, the target links,
// knock-back, the jump words and map-contact flags, HP and SP with their gauges, the animations its
// flows start and its secondary boxes. It implements the physics the logic step, the map collision
// and the commands call.
//
// Links between characters are kept symmetric: a character is listed in its target's targeted-by
// vector exactly while it aims at it, and a character going away (UnlinkEverywhere, or its
// destructor) lets go of everything that names it, so no pointer to it survives it.
#include <array>
#include <cstdint>
#include <list>

#include "platform/services/checked.h"
#include "play/flow_runner.h"
#include "play/game_obj.h"
#include "project/chara_def.h"
#include "project/effect_players.h"

class cInput;
class cMapCell;
struct cCharaDrawRequest;
struct cShotStrike;
struct DDSURFACEDATA;

// A secondary box of a character (body box, shot box, a hero's pick-up box), offsets relative to the
// whole part of the character's x1, y1.
struct cSubBox {
  double m_X1 = 0.0;
  double m_Y1 = 0.0;
  double m_X2 = 0.0;
  double m_Y2 = 0.0;
  std::int32_t m_OffsetX = 0;
  std::int32_t m_OffsetY = 0;
  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  std::int32_t m_BaseOffsetX = 0;
  std::int32_t m_BaseOffsetY = 0;
  std::int32_t m_BaseWidth = 0;
  std::int32_t m_BaseHeight = 0;
};

// Two boxes share a dot (edges inclusive).
inline bool BoxesOverlap(const cSubBox& a, const cSubBox& b) {
  return a.m_X1 <= b.m_X2 && b.m_X1 <= a.m_X2 && a.m_Y1 <= b.m_Y2 && b.m_Y1 <= a.m_Y2;
}

// The box's scaled offsets and size from its base values.
inline void ScaleSubBox(cSubBox& box, std::int32_t scale) {
  box.m_OffsetX = box.m_BaseOffsetX * scale;
  box.m_OffsetY = box.m_BaseOffsetY * scale;
  box.m_Width = box.m_BaseWidth * scale;
  box.m_Height = box.m_BaseHeight * scale;
}
// The box's edges on one axis from the whole part of its object's x1 (y1).
inline void PlaceSubBoxX(cSubBox& box, std::int32_t objX1) {
  box.m_X1 = objX1 + box.m_OffsetX;
  box.m_X2 = box.m_X1 + box.m_Width - 1;
}
inline void PlaceSubBoxY(cSubBox& box, std::int32_t objY1) {
  box.m_Y1 = objY1 + box.m_OffsetY;
  box.m_Y2 = box.m_Y1 + box.m_Height - 1;
}

// The animated bar that shows a change of HP or SP.
struct cStatusGauge {
  std::int32_t m_FramesLeft = 0;
  double m_Change = 0.0;          // bar dots
  double m_ChangePerFrame = 0.0;
  std::int32_t m_StartLength = 0;  // bar dots at the start
};

// An attacker that cannot hurt the character again yet.
struct cImmunity {
  std::int32_t m_AttackerId = 0;
  std::int32_t m_StepsLeft = 0;
};

// An animation a flow started on the character.
struct cFlowAnimation {
  cAnimePattern m_Anime;
  std::int32_t m_HasTimeLimit = 0;
  std::int32_t m_FramesLeft = 0;
  std::int32_t m_Priority = 0;
  std::int32_t m_FlowSerial = 0;  // the runner that started it
  std::int32_t m_Paused = 0;
};

// The map-contact flags.
enum ContactSide { kContactLeft, kContactRight, kContactUp, kContactDown };

// Seen from the data: a height in hbl is 16 dots.
constexpr std::int32_t kHblDots = 16;

class cCharaBase : public cGameObj {
 public:
  cCharaBase();
  ~cCharaBase() override;
  // A copy is a new character: it aims at the same target (and joins its targeted-by vector) but no
  // one aims at it yet. Its runners are bound to its own flows.
  cCharaBase(const cCharaBase& other);
  cCharaBase& operator=(const cCharaBase& other);
  // A move takes over the place of the moved-from character everywhere: characters and shots aiming
  // at it, its target's vector and the group lists then name the new address.
  cCharaBase(cCharaBase&& other) noexcept;
  cCharaBase& operator=(cCharaBase&&) = delete;

  // The character part of other, links as for a copy.
  virtual void Copy(const cCharaBase& other) { *this = other; }
  virtual cGameObj* GetHeldItem() { return nullptr; }
  // After a change of x (y): the class keeps the object where it may be. Returns a clamp code.
  virtual std::int32_t OnMovedX() { return 0; }
  virtual std::int32_t OnMovedY() { return 0; }
  virtual std::int32_t StepX() { return 0; }
  virtual std::int32_t StepY() { return 0; }
  virtual std::int32_t RunFlows(std::int32_t) { return 0; }
  virtual void Jump(cCommandInstance&) {}

  void Init(const cCharaDef* def, double homeX, double homeY, std::uint16_t tag);

  // Target links.
  void SetTarget(cCharaBase* target);
  // Lets go of every link to and from this character and leaves every group list: the one removal
  // step that any container's removal of a character goes through.
  void UnlinkEverywhere();

  void SetAnimeSet(std::int32_t set, std::int32_t force);
  void SetBodyBox(std::int32_t bottomAligned, std::int32_t width, std::int32_t height);

  void AnchorAfterScale(std::int32_t newScale, std::int32_t oldScale) override;
  void SetCenter(std::int32_t x, std::int32_t y) override;
  void SetCenterAndStop(std::int32_t x, std::int32_t y, cCommandInstance& instance) override;
  void SetCenterX(std::int32_t x) override;
  void SetCenterXAndStop(std::int32_t x, cCommandInstance& instance) override;
  void SetCenterY(std::int32_t y) override;
  void SetCenterYAndStop(std::int32_t y, cCommandInstance& instance) override;

  // Placement on a cell of the stage proper.
  void PlaceAtColumn(std::int32_t column);
  void PlaceAtRow(std::int32_t row);
  void PlaceAtColumnRow(std::int32_t column, std::int32_t row);

  // Physics.
  void ApplyGravityStep();
  bool IsOnGround() const;
  void Land();
  void HitCeiling();
  void LeaveGround(std::int32_t mark);
  void ClearLRUD() { m_LRUD.fill(0); }
  void SaveRect();
  void RestoreRect();
  void VerticalKnockBackStep();
  void DecayKnockBackX() { DecayToZero(m_KnockVx); }
  // The x speed of a step: the knock-back while there is one, else the speed plus the drive, which
  // the friction wears down first.
  void TakeKnockBackOrDriveX();
  void DecayKnockBackY() { DecayToZero(m_KnockVy); }

  // Jump speeds (negative = upward) for this character; player-operated characters jump a little
  // lower on heavy stages.
  double JumpSpeedForHeight(double height) const;
  double JumpSpeedForHbl(double height) const { return JumpSpeedForHeight(height * kHblDots); }
  std::int32_t JumpDurationTenths(double height) const;

  // Statuses. ChangeHP returns 1 when HP has reached 0; ChangeSP returns 1 when the character has no
  // SP to speak of (maximum below 1).
  std::int32_t ChangeHP(std::int32_t delta, std::int32_t force, std::int32_t animate);
  // The death (chara_death.cpp): its flows, its score and held item, then dead for good with the
  // death effect started. 1 instead when a stage clear is pending: the object then stays alive.
  std::int32_t Die();
  // A hit by another object's body or by a shot (damage.cpp): the damage less the defence, the hit
  // effect, the knock-back and the triggers of the hit. 1 when the hit brought HP to 0.
  std::int32_t TakeDamageFromChara(const cCharaBase& attacker);
  std::int32_t TakeDamageFromShot(const cShotStrike& shot);
  // The protection after a hit: against every attacker for the invincibility time of the object's
  // kind; StartInvincibility also against this attacker for its per-attacker time.
  void StartInvincibilityAll();
  void StartInvincibility(std::int32_t attackerId);
  // Invincibility and immunities run down by one logic step.
  void TickInvincibility();
  bool IsInvincible() const { return m_InvincibleSteps > 0; }
  bool IsImmuneTo(std::int32_t attackerId) const;
  // The HP and SP bars over the object while a change of them is shown.
  void DrawHPGauge(DDSURFACEDATA* surface);
  void DrawSPGauge(DDSURFACEDATA* surface);
  std::int32_t ChangeSP(std::int32_t delta, std::int32_t animate);
  void StartHPGauge(std::int32_t delta);
  void StartSPGauge(std::int32_t delta);

  // Knock-back of amount hbl along (dx, dy), weakened by the character's resistance.
  void ApplyKnockBack(std::int8_t amount, double dx, double dy);
  void KnockBackFromChara(const cCharaBase& attacker);
  void KnockBackFromShot(const cShotStrike& shot);

  // The flows the character holds.
  void RemoveFlowAt(std::int32_t index);
  std::int32_t RemoveFlowsById(std::int32_t id);
  void CopyFlowRunners(const cCharaBase& other);
  void BindFlowRunners();
  void ResetFlowStepFlags();
  void RemoveFlowLinks(std::int32_t serial);
  void PauseFlowLinks(std::int32_t serial);
  void ResumeFlowLinks(std::int32_t serial);
  // The start of the object's flow step (flow_step.cpp): its own motion is reset, x velocity and,
  // flying, y velocity to 0 or, when it moves with the scroll, to the auto-scroll's speed on that
  // axis; the per-step flags are cleared and the countdown runs down.
  void ResetOwnMotion(bool withScroll);
  // The end of the flow step: an object that no command animated and that has no drive left shows
  // its standing pattern.
  void SetStandingAnimeWhenIdle();

  // Statuses kept in the definition copy.
  std::int32_t Scale() const { return m_Def.m_Enlargement; }

  // Drawing (chara_draw.cpp). The value of the animation frame to show: the own animation's, or that
  // of the flow animation that wins; unless frozen, every running animation steps first.
  std::int32_t ChooseAnimeFrame(std::int32_t freeze);
  // The first graphic of the current state (flying, block character, invincible); sets the tint of
  // the request.
  std::int32_t GraphicBase(cCharaDrawRequest& request) const;
  // A living character: its frame through the renderer of its effect, then its mark.
  void Draw(DDSURFACEDATA* surface, std::int32_t freeze);
  // A dying one; 1 once its death has been shown completely.
  std::int32_t DrawDying(DDSURFACEDATA* surface, std::int32_t freeze);
  // The effect advances without a picture (a character hidden or off screen); not while frozen,
  // as in a drawn frame.
  void StepEffectOnly(std::int32_t freeze);

  cCharaBase* m_Target = nullptr;
  CheckedVector<cCharaBase*> m_TargetedBy;
  CheckedVector<cGameObj*> m_ShotsAimedHere;
  cCharaDef m_Def;
  CheckedVector<cFlowRunner> m_Runners;
  std::int32_t m_RunnerCounter = 0;  // serials of new runners
  // Counts the changes of the flow and runner vectors (every change ends in BindFlowRunners): code
  // that keeps a runner or an instance across a command finds it again when this has moved on.
  std::uint32_t m_FlowEdits = 0;
  CheckedVector<std::uint8_t> m_GroupBusy;
  CheckedVector<std::uint8_t> m_GroupRelease;
  CheckedVector<std::uint8_t> m_GroupStarted;
  std::int32_t m_ReleaseRequested = 0;
  std::int32_t m_RemoveFlowsRequested = 0;
  double m_HomeX = 0.0;
  double m_HomeY = 0.0;
  std::int32_t m_MovedThisStep = 0;
  double m_KnockVx = 0.0;
  double m_KnockVy = 0.0;
  std::int32_t m_Knocked = 0;
  double m_PrevKnockVy = 0.0;
  std::int32_t m_Held = 0;
  // Jump words: J1 side of the last wall hit (0 left, 1 right), J2 in the air since set-up or the
  // last jump, J3 and J4 a jump under way, J5 unused, J6 jump refused, J7 cleared on landing.
  std::int32_t m_J1 = -1;
  std::int32_t m_J2 = 1;
  std::int32_t m_J3 = 0;
  std::int32_t m_J4 = 0;
  std::int32_t m_J5 = 0;
  std::int32_t m_J6 = 0;
  std::int32_t m_J7 = 0;
  cMapCell* m_CellUnderFeet = nullptr;
  // The index of the cell stood on last: set with the cell under the feet, kept in the air.
  std::int32_t m_CellIndexUnderFeet = 0;
  // The cell the object last landed on, kept while it is in the air.
  cMapCell* m_LastLandedCell = nullptr;
  std::int32_t m_PrevCellIndex = 0;
  std::int32_t m_Countdown = 0;
  std::int32_t m_Dead = 0;
  std::int32_t m_DeathCounter = 0;
  std::array<std::int32_t, 4> m_LRUD{};  // ContactSide
  std::int32_t m_LeftGroundMark = 0;
  std::int32_t m_OnBlockChara = 0;
  std::int32_t m_CarrierId = 0;
  // The ridden block character's hit box as last recorded; its move since then carries the rider.
  std::array<double, 4> m_CarrierRect{};
  // A block character other than the one ridden pushed this object sideways in this step.
  std::int32_t m_PushedByBlockChara = 0;
  // A move command set the walking or flying animation in this step (the flow step then leaves the
  // standing animation alone).
  std::int32_t m_CommandAnimeSet = 0;
  std::array<double, 4> m_PrevRect{};
  std::int32_t m_Hp = 0;
  cStatusGauge m_HpGauge;
  std::int32_t m_Sp = 0;
  cStatusGauge m_SpGauge;
  CheckedVector<std::int32_t> m_Vars;  // v1..v8 at 1..8
  std::int32_t m_InvincibleSteps = 0;
  std::list<cImmunity> m_Immunity;
  std::list<cFlowAnimation> m_FlowAnimations;
  cCharaEffectPlayer m_CharaEffect;
  std::int32_t m_RemovalMark = 0;
  // 2 when a summoned map cell has appeared over the object.
  std::int32_t m_SummonedCellMark = 0;
  std::int32_t m_Sight = 0;  // dots
  std::int32_t m_HiddenThisStep = 0;
  cSubBox m_BodyBox;
  cSubBox m_ShotBox;

 private:
  void DecayToZero(double& v) const;
  // Every character aiming at this one and every shot homing on it lets go; both vectors empty.
  void ReleaseAimers();
  // Moves the link of old (the address this character had) to this address everywhere.
  void TakeOverLinks(cCharaBase& old);
  // Copies everything but the links.
  void CopyCharaPart(const cCharaBase& other);
};

// Conversions of the definition's units.
constexpr std::int32_t HblToDots(std::int8_t v) { return v * 32 / 2; }
double PercentPerStep(std::int16_t v);

// The key-state tests of key conditions against one player's input.
bool KeyStateMatches(const cInput& input, const cKeyCondition& condition);
std::int32_t FirstPressedDirection(const cInput& input);
