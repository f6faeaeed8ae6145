#pragma once
// Shots and sword swings: stage objects fired by a hero or a character. A shot flies by its own
// velocity (plus the auto-scroll it follows), steered by its movement kind, until its life or range
// ends, a block or the screen-out rule takes it, or it hits; a sword swing sticks to its owner and
// shows the parts of its sword type one after the other. The play scene keeps them by value in
// m_ShotList and by pointer in m_GroupShots[group].
#include <cstdint>
#include <list>

#include "platform/services/checked.h"
#include "play/chara_base.h"
#include "play/game_obj.h"
#include "project/ed_shot.h"

struct DDSURFACEDATA;

// The settings of the shot parameters that the record keeps under the name of their place.
inline std::uint8_t ShotDrawPriority(const cEdShot& p) { return p.m_Byte68; }
inline std::uint8_t ShotInvisible(const cEdShot& p) { return p.m_Byte69; }
inline std::uint8_t ShotGroupFromOwner(const cEdShot& p) { return p.m_Byte70; }
inline std::uint8_t ShotFollowsScroll(const cEdShot& p) { return p.m_HomingFlag; }
inline std::int16_t ShotRange(const cEdShot& p) { return p.m_Word96; }  // hbl
inline std::int16_t ShotRangeStep(const cEdShot& p) { return p.m_Word96Step; }
inline std::uint8_t ShotStopsAtRange(const cEdShot& p) { return p.m_Byte100; }
inline std::int16_t ShotLife(const cEdShot& p) { return p.m_Word102; }  // 1/10 s
inline std::int16_t ShotLifeStep(const cEdShot& p) { return p.m_Word102Step; }
inline std::uint8_t ShotPierces(const cEdShot& p) { return p.m_Byte107; }
inline std::uint8_t ShotCancels(const cEdShot& p) { return p.m_Byte108; }
inline std::int8_t ShotCancelStrength(const cEdShot& p) { return static_cast<std::int8_t>(p.m_Byte109); }
inline std::int32_t ShotPower(const cEdShot& p) { return p.m_Word112; }
inline std::int8_t ShotImpact(const cEdShot& p) { return static_cast<std::int8_t>(p.m_Byte118); }

// The command number that makes a sword swing instead of a shot.
constexpr std::int32_t kSwordCommand = 12;

// The spawn record of a volley or summon: filled by the firing code, read by cShot::Setup.
struct cShotSpawn {
  std::uint16_t m_Repetition = 0;
  double m_Speed = 0.0;          // dots per frame
  std::int32_t m_AngleOffset = 0;
  std::int32_t m_Range = 0;      // hbl
  std::int32_t m_Life = 0;       // 1/10 s
  double m_Vx = 0.0, m_Vy = 0.0; // dots per frame
  std::int32_t m_X = 0, m_Y = 0, m_StartX = 0, m_StartY = 0, m_StepX = 0, m_StepY = 0;
  std::int32_t m_RowStepX = 0, m_RowStepY = 0, m_Width = 0, m_Height = 0;
  std::int32_t m_OffsetX = 0, m_OffsetY = 0, m_Direction = 0;
};

class cShot : public cGameObj {
 public:
  cShot();
  // Member-wise, the hit list and the parameters deep. The copy is not in its target's
  // shots-aimed-here vector: whoever lists a shot there lists that very object.
  cShot(const cShot& other);
  cShot& operator=(const cShot&) = delete;
  ~cShot() override;   // leaves its target's shots-aimed-here vector

  // commandNumber 12 makes a sword swing, anything else a shot; parameters' scale 0 is set to 1 in place.
  void Setup(std::int32_t id, cCharaBase& owner, std::int32_t commandNumber, cEdShot& parameters,
             const cShotSpawn& spawn);

  // One logic step along x (y); both return 0.
  std::int32_t StepX();
  std::int32_t StepY();
  // Holds the shot inside the map horizontally (3 when it had to, else 0) and places its boxes and cells.
  std::int32_t ClampX();
  // The acceleration split along (vx, vy) as per-step gains.
  void SplitAcceleration(double& outX, double& outY, double vx, double vy) const;
  // One step of a sword swing stuck to its owner; 1 when the swing must be removed.
  std::int32_t SwordStep();
  // The enlargement of the shot (at least 1 once set up).
  std::int32_t Scale() const { return m_Params.m_Size; }

  void ScaleSubBoxes(std::int32_t scale) override;
  void AnchorAfterScale(std::int32_t newScale, std::int32_t oldScale) override;
  void UpdateSubBoxesX() override;
  void UpdateSubBoxesY() override;
  void DropAimTarget(const cCharaBase* target) override;
  void RetargetAim(const cCharaBase* old, cCharaBase* moved) override;

  std::int32_t m_OwnerId = 0;
  std::int32_t m_RealShot = 1;  // 1 a shot, 0 a sword swing
  std::int32_t m_RangeStepsLeft = 0;
  std::int32_t m_LifeStepsLeft = 0;
  // Steps counted by the movement kinds; for a sword swing the steps its part has been shown.
  std::int32_t m_StepCounter = 0;
  std::int32_t m_SwordPart = 0;
  double m_Acceleration = 0.0;
  double m_Speed = 0.0;  // dots per step, for the steering kinds
  double m_OwnVx = 0.0;
  double m_OwnVy = 0.0;
  std::int32_t m_Accelerating = 0;
  std::int32_t m_ChangeStep = 0;
  std::int32_t m_EndStep = 0;
  std::int32_t m_MoveDone = 0;
  double m_WavePhase = 0.0;
  double m_WaveSine = 0.0;
  double m_WaveCosine = 0.0;
  cSubBox m_ShotBox;  // against characters
  // The ids of the objects this shot or swing has hit already.
  CheckedVector<std::int32_t> m_HitList;
  cEdShot m_Params;
  // The shooter's target at firing time (movement kinds 3 and 6 only), else null.
  cCharaBase* m_Target = nullptr;
};

// Appends a copy to the list and its pointer to the group list of the play scene; returns the copy.
cShot& AddShot(std::list<cShot>& list, const cShot& shot);
// Takes a listed shot out of its group list and out of the play scene's shot list (destroying it).
void RemoveShot(cShot& shot);
// Empties the play scene's shot list and makes the eight group lists anew.
void ClearShots();

// One logic step of a shot: the auto-scroll carry, its movement kind, acceleration, life and range.
// 1 when the shot must be removed.
std::int32_t UpdateShot(cShot& shot);
// 1 when the shot touches a map cell that is solid for its group.
std::int32_t ShotHitsBlock(const cShot& shot);
// Every shot's logic step: its movement, the screen-out rules on step 1 of a frame, its hits on blocks.
void StepShots(std::int32_t stepInFrame);

// A pass of shot steps, in which no character moves: the movement kinds may search for the nearest
// character once per group and pass. A sword swing brings its owner's screen box up to date: tell
// the pass (OwnerMoved) after one.
class cShotPass {
 public:
  cShotPass();
  ~cShotPass();
  cShotPass(const cShotPass&) = delete;
  cShotPass& operator=(const cShotPass&) = delete;
  static void OwnerMoved();
};

// The movement kinds, one handler per row (movement kind 0..9).
using ShotMoveHandler = void (*)(cShot& shot);
extern const ShotMoveHandler kShotMoveHandlers[10];

// Draws the shot onto dst at its screen rectangle; hold keeps the animation's frame.
void DrawShot(cShot& shot, DDSURFACEDATA* dst, std::int32_t hold);
// The shots of one drawing priority (all of them for kAnyPriority) that are on screen.
void DrawShotGroup(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen);

// The contact passes of shots: against the heroes and characters of the other groups (0, 1 the
// stage is cleared, 2 hero 0 must die), and against the shots of the other groups.
std::int32_t ShotsAgainstCharas();
void ShotsAgainstShots();
