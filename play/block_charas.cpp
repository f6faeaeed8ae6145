#include "play/block_charas.h"

#include "play/chara.h"
#include "play/collision.h"
#include "play/flow_seam.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "project/stage_data.h"

namespace {

constexpr std::int32_t kTriggerBlockCharaHit = 5;   // ブロックキャラに当たった時
constexpr std::int32_t kTriggerOnBlockChara = 6;    // ブロックキャラに乗っている時
constexpr std::int32_t kTriggerRiddenByHero = 16;   // 主人公に乗られている時
constexpr std::int32_t kTriggerRiddenByChara = 17;  // キャラに乗られている時

// A walking object pushed sideways ends half a dot further out than the plain push; the map nudge
// gives back up to 15 tenths when that leaves it in a wall.
constexpr double kSidePushMargin = 0.5;
constexpr int kNudgeSteps = 15;
constexpr double kNudge = 0.1;
// How far under the feet a rider still counts as standing on a block character.
constexpr double kFeetStrip = 5.0;

struct Box {
  double x1, y1, x2, y2;
};

Box BoxOf(const cGameObj& obj) { return {obj.m_X1, obj.m_Y1, obj.m_X2, obj.m_Y2}; }
Box BoxOf(const std::array<double, 4>& r) { return {r[0], r[1], r[2], r[3]}; }
std::array<double, 4> RectOf(const cGameObj& obj) { return {obj.m_X1, obj.m_Y1, obj.m_X2, obj.m_Y2}; }

bool Overlaps(const Box& a, const Box& b) { return a.x1 <= b.x2 && a.x2 >= b.x1 && a.y1 <= b.y2 && a.y2 >= b.y1; }
bool Contains(const Box& b, double x, double y) { return b.x1 <= x && x <= b.x2 && b.y1 <= y && y <= b.y2; }

// The overlap of the object's span [a1, a2] with a block character's span [c1, c2], counted from
// the character's near edge when it starts inside the object, else from the object's own start.
double OverlapSpan(double a1, double a2, double c1, double c2) {
  return a1 < c1 && c1 <= a2 ? a2 - c1 + 1 : c2 - a1 + 1;
}
struct OverlapSize {
  double w = 0.0;
  double h = 0.0;
};
OverlapSize OverlapOf(const Box& a, const Box& c) {
  if (!Overlaps(a, c)) return {};
  return {OverlapSpan(a.x1, a.x2, c.x1, c.x2), OverlapSpan(a.y1, a.y2, c.y1, c.y2)};
}

bool PassesBlocks(const cGameObj& obj) { return obj.m_Flying != 0 && obj.m_BlockMode == 0; }
bool TakesPart(const cChara& c) { return c.m_Def.m_BlockChara != 0 && c.m_Dead == 0 && c.m_Present != 0; }

// Every object of every step asks for the block characters; on a stage without any (the usual
// case) the presence pass has counted none and the character list is not walked at all.
bool AnyBlockCharas() { return g_PlayScene == nullptr || g_PlayScene->m_BlockCharasPresent != 0; }

// f(c) for every block character that takes part against obj, in list order.
template <class F>
void ForEachBlockChara(const cCharaBase& obj, F&& f) {
  if (!AnyBlockCharas()) return;
  for (cChara& c : g_CharaList)
    if (TakesPart(c) && c.m_Id != obj.m_Id) f(c);
}

cChara* ListedChara(std::int32_t id) {
  for (cChara& c : g_CharaList)
    if (c.m_Id == id) return &c;
  return nullptr;
}

bool InAnyBlockChara(const cCharaBase& obj, double x, double y) {
  bool inside = false;
  ForEachBlockChara(obj, [&](const cChara& c) { inside = inside || Contains(BoxOf(c), x, y); });
  return inside;
}

// A push offered by a block character: the best position on its axis so far, with the speed of the
// character that offers it on that axis and its id.
struct Push {
  bool set = false;
  double pos = 0.0;
  double speed = 0.0;
  std::int32_t id = 0;

  // True when this offer became the best.
  bool OfferLargest(double p, double v, const cChara& c) { return Take(!set || p > pos, p, v, c); }
  bool OfferSmallest(double p, double v, const cChara& c) { return Take(!set || p < pos, p, v, c); }

 private:
  bool Take(bool better, double p, double v, const cChara& c) {
    if (better) *this = Push{true, p, v, c.m_Id};
    return better;
  }
};

std::int32_t& Flag(cCharaBase& obj, ContactSide side) { return obj.m_LRUD[side]; }

void SetX1(cCharaBase& obj, double x1) {
  obj.m_X1 = x1;
  obj.OnMovedX();
}
void SetY1(cCharaBase& obj, double y1) {
  obj.m_Y1 = y1;
  obj.OnMovedY();
}

// A sideways push by a block character: the flag tells a walking-turn move that it was pushed,
// unless the push comes from the character it stands on.
void ApplySidePush(cCharaBase& obj, const Push& push) {
  if (obj.m_OnBlockChara == 0 || push.id != obj.m_CarrierId) obj.m_PushedByBlockChara = 1;
  SetX1(obj, push.pos);
}

void RaiseRiddenTriggers(cChara& ridden, const cCharaBase& rider) {
  if (rider.m_Operator == 0) RunTriggeredFlows(ridden, kTriggerRiddenByHero);
  RunTriggeredFlows(ridden, kTriggerRiddenByChara);
}

// The object drops below the first block character that overlaps its upper half: it was pushed from
// both sides with nothing to stand on or to be held under.
void DropBelowUpperChara(cCharaBase& obj, const Box& upper, bool markUp) {
  cChara* below = nullptr;
  ForEachBlockChara(obj, [&](cChara& c) {
    if (below == nullptr && Overlaps(upper, BoxOf(c))) below = &c;
  });
  if (below == nullptr) return;
  obj.m_DriveY = 0.0;
  obj.m_J3 = obj.m_J4 = obj.m_J6 = 1;
  obj.m_Vy = below->m_Vy;
  if (markUp && below->m_Vy > 0) Flag(obj, kContactUp) = 1;
  SetY1(obj, below->m_Y2 + 1);
  Flag(obj, kContactLeft) = Flag(obj, kContactRight) = 0;
}

// The plain push-out of one overlapping block character along one axis: its side lines (the box's
// edges without their end dots) say on which side it is, the largest offer from the low side and the
// smallest from the high side winning.
void OfferEdgePushes(cCharaBase& obj, const cChara& c, std::int32_t axis, Push& low, Push& high) {
  const Box a = BoxOf(obj);
  const Box cb = BoxOf(c);
  if (axis == 0) {
    if (Overlaps(cb, {a.x1, a.y1 + 1, a.x1, a.y2 - 1})) {
      Flag(obj, kContactLeft) = 1;
      low.OfferLargest(cb.x2 + 1, c.m_Vx, c);
    }
    if (Overlaps(cb, {a.x2, a.y1 + 1, a.x2, a.y2 - 1})) {
      Flag(obj, kContactRight) = 1;
      high.OfferSmallest(cb.x1 - obj.m_Width, c.m_Vx, c);
    }
  } else {
    if (Overlaps(cb, {a.x1 + 1, a.y1, a.x2 - 1, a.y1})) {
      Flag(obj, kContactUp) = 1;
      low.OfferLargest(cb.y2 + 1, c.m_Vy, c);
    }
    if (Overlaps(cb, {a.x1 + 1, a.y2, a.x2 - 1, a.y2})) {
      Flag(obj, kContactDown) = 1;
      high.OfferSmallest(cb.y1 - obj.m_Height, c.m_Vy, c);
    }
  }
}

std::int32_t ResolveFlying(cCharaBase& obj) {
  const bool dies = obj.m_BlockMode == 2;
  if (obj.m_BlockMode != 1 && !dies) return kCellSafe;
  Push left, right, top, bottom;
  bool touched = false;
  ForEachBlockChara(obj, [&](const cChara& c) {
    const OverlapSize o = OverlapOf(BoxOf(obj), BoxOf(c));
    if (o.w == 0) return;
    touched = true;
    if (o.w <= o.h)
      OfferEdgePushes(obj, c, 0, left, right);
    else
      OfferEdgePushes(obj, c, 1, top, bottom);
  });
  if (touched) RunTriggeredFlows(obj, kTriggerBlockCharaHit);
  if (dies) return left.set || right.set || top.set || bottom.set ? kCellKilled : kCellSafe;
  // A character moving away from the object does not push it along its own axis: the object is
  // only taken out of it along the other one. Away: the push's side times the speeds, the
  // character's positive and the object's not.
  struct Side {
    const Push& push;
    ContactSide flag;
    std::int32_t axis;
    double sign;
  };
  const Side sides[] = {{left, kContactLeft, 0, -1.0},
                        {right, kContactRight, 0, 1.0},
                        {top, kContactUp, 1, -1.0},
                        {bottom, kContactDown, 1, 1.0}};
  for (const Side& side : sides) {
    if (!side.push.set) continue;
    const bool horizontal = side.axis == 0;
    (horizontal ? obj.m_DriveX : obj.m_DriveY) = 0.0;
    const double own = horizontal ? obj.m_Vx : obj.m_Vy;
    if (side.sign * side.push.speed > 0 && side.sign * own <= 0) {
      Flag(obj, side.flag) = 0;
      PushOutOfBlockCharas(obj, 1 - side.axis);
    } else if (horizontal) {
      obj.m_PushedByBlockChara = 1;
      SetX1(obj, side.push.pos);
    } else {
      SetY1(obj, side.push.pos);
    }
  }
  return kCellSafe;
}

// What the walk over the block characters found for a walking object.
struct WalkingContacts {
  Push left, right, ceiling, standing;
  bool touched = false;
};

void FindWalkingContacts(cCharaBase& obj, const Box& upper, WalkingContacts& found) {
  const double landingSpeed = 2.0 / g_StepsPerFrameF;
  const double ceilingMargin = 0.4 / g_StepsPerFrameF;
  const Box a = BoxOf(obj);
  const Box prev = BoxOf(obj.m_PrevRect);
  const Box band{prev.x1, a.y1, prev.x2, a.y2};
  const std::int32_t halfHeight = obj.m_Height / 2;
  const Box feet{a.x1 + 1, a.y2 - obj.m_Height / 3, a.x2 - 1, a.y2};
  const Box leftHalf{a.x1, a.y1, a.x1, a.y1 + halfHeight};
  const Box rightHalf{a.x2, a.y1, a.x2, a.y1 + halfHeight};
  const Box leftFull{a.x1, a.y1, a.x1, a.y2};
  const Box rightFull{a.x2, a.y1, a.x2, a.y2};

  auto land = [&](const cChara& c) {
    if (c.m_Vy < 0) Flag(obj, kContactDown) = 1;
    if (found.standing.OfferSmallest(c.m_Y1 - obj.m_Height, c.m_Vy, c)) {
      obj.m_CarrierId = c.m_Id;
      obj.m_CarrierRect = RectOf(c);
    }
  };
  auto pushLeft = [&](const cChara& c) {
    Flag(obj, kContactLeft) = 1;
    found.left.OfferLargest(c.m_X2 + 1 + kSidePushMargin, c.m_Vx, c);
  };
  auto pushRight = [&](const cChara& c) {
    Flag(obj, kContactRight) = 1;
    found.right.OfferSmallest(c.m_X1 - obj.m_Width - kSidePushMargin, c.m_Vx, c);
  };

  ForEachBlockChara(obj, [&](const cChara& c) {
    const Box cb = BoxOf(c);
    if (!Overlaps(a, cb)) return;
    found.touched = true;
    if (!Overlaps(upper, cb)) {
      // Only the lower half touches: beside it when the overlap is taller than wide, else on it.
      const OverlapSize o = OverlapOf(a, cb);
      if (o.h > o.w) {
        if (Overlaps(cb, rightFull)) pushRight(c);
        if (Overlaps(cb, leftFull)) pushLeft(c);
      } else if (Overlaps(feet, cb)) {
        land(c);
      }
      return;
    }
    const Box cPrev = BoxOf(c.m_PrevRect);
    const bool wasInBand = Overlaps(band, cPrev);
    if (obj.m_Vy > landingSpeed && wasInBand && prev.y1 < cPrev.y1) {
      land(c);
      return;
    }
    const OverlapSize u = OverlapOf(upper, cb);
    const bool wide = u.w - u.h > ceilingMargin && a.y2 > cb.y2;
    const bool cameFromBelow = wasInBand && prev.y1 > cPrev.y1 && !Overlaps(prev, cb);
    if (wide || cameFromBelow) {
      if (c.m_Vy > 0) Flag(obj, kContactUp) = 1;
      found.ceiling.OfferLargest(cb.y2 + 1, c.m_Vy, c);
      if (obj.m_OnBlockChara != 0 && obj.m_Vy < 0) Flag(obj, kContactDown) = 1;
      return;
    }
    // One side only, the one the object moves toward first.
    if (obj.m_Vx < 0) {
      if (Overlaps(cb, leftHalf))
        pushLeft(c);
      else if (Overlaps(cb, rightHalf))
        pushRight(c);
    } else {
      if (Overlaps(cb, rightHalf))
        pushRight(c);
      else if (Overlaps(cb, leftHalf))
        pushLeft(c);
    }
  });
}

void Stand(cCharaBase& obj, const Push& standing) {
  obj.m_DriveY = 0.0;
  if (obj.m_OnBlockChara == 0) {
    obj.m_OnBlockChara = 1;
    if (cChara* ridden = ListedChara(obj.m_CarrierId); ridden != nullptr) RaiseRiddenTriggers(*ridden, obj);
  }
  SetY1(obj, standing.pos);
  obj.m_Vy = 0.0;
  obj.m_J2 = obj.m_J3 = obj.m_J4 = obj.m_J7 = 0;
  obj.m_Knocked = 0;
  if (obj.m_Operator != 0)
    obj.m_J6 = 0;
  else if (!g_Heroes.empty())
    g_Heroes[0].m_JumpBlocked = 0;
}

std::int32_t ResolveWalking(cCharaBase& obj) {
  const std::array<double, 4> entry = RectOf(obj);
  const Box upper{obj.m_X1, obj.m_Y1, obj.m_X2, obj.m_Y1 + obj.m_Height / 2};
  WalkingContacts found;
  FindWalkingContacts(obj, upper, found);
  const bool bothSides = found.left.set && found.right.set;

  bool stood = false;
  bool sidePushes = true;
  if (found.ceiling.set && !found.standing.set) {
    // Held under a block character; one rising into a place the object cannot go lets go of it.
    const Push& ceiling = found.ceiling;
    const bool blocked = ceiling.speed < 0 &&
                         (obj.OverlapsSolidCell() ||
                          OverlapsOtherBlockChara(obj, {obj.m_X1, ceiling.pos, obj.m_X2, obj.m_Y2}, ceiling.id));
    if (!blocked) {
      obj.m_J3 = obj.m_J4 = obj.m_J6 = 1;
      obj.m_DriveY = 0.0;
      obj.m_Vy = ceiling.speed;
      SetY1(obj, ceiling.pos);
      RecheckFloorHit(obj);
    }
  } else if (found.standing.set) {
    if (bothSides) {
      // Squeezed from both sides: it stands on nothing.
    } else if (found.standing.speed > 0 && obj.OverlapsSolidCell()) {
      // A block character sinking into the map does not take its rider in with it.
      obj.m_OnBlockChara = 0;
    } else {
      Stand(obj, found.standing);
      stood = true;
    }
  } else if (bothSides) {
    DropBelowUpperChara(obj, upper, false);
    sidePushes = false;
  }

  if (sidePushes) {
    for (const Push* push : {&found.left, &found.right}) {
      if (!push->set) continue;
      obj.m_DriveX = 0.0;
      ApplySidePush(obj, *push);
    }
    if (bothSides && !found.standing.set) {
      SetX1(obj, entry[0]);
      DropBelowUpperChara(obj, upper, true);
    }
  }

  if (found.touched || stood) RunTriggeredFlows(obj, kTriggerBlockCharaHit);
  if (stood) RunTriggeredFlows(obj, kTriggerOnBlockChara);

  const auto& f = obj.m_LRUD;
  if ((f[kContactLeft] != 0 && f[kContactRight] != 0) || (f[kContactUp] != 0 && f[kContactDown] != 0))
    return kCellKilled;
  if (IsEnclosedByBlockCharas(obj, entry)) return kCellKilled;

  // Out of a wall the margin of a side push (or a vertical push) left it in, a tenth at a time.
  for (int i = 0; i < kNudgeSteps && obj.OverlapsSolidCell(); ++i) {
    if (f[kContactLeft] != 0) SetX1(obj, obj.m_X1 - kNudge);
    if (f[kContactRight] != 0) SetX1(obj, obj.m_X1 + kNudge);
    if (f[kContactUp] != 0) SetY1(obj, obj.m_Y1 - kNudge);
    if (f[kContactDown] != 0) SetY1(obj, obj.m_Y1 + kNudge);
  }

  if (!stood && obj.m_OnBlockChara != 0) {
    if (obj.m_KnockVy >= 0 && (IsOnRiddenChara(obj) || IsOnAnyBlockChara(obj))) {
      if (const cChara* ridden = ListedChara(obj.m_CarrierId); ridden != nullptr) obj.m_CarrierRect = RectOf(*ridden);
      obj.m_J7 = 0;
      obj.m_Knocked = 0;
    } else {
      obj.LeaveGround(1);
    }
  }
  return kCellSafe;
}

Box FeetStrip(const cCharaBase& obj) { return {obj.m_X1, obj.m_Y2, obj.m_X2, obj.m_Y2 + kFeetStrip}; }

}  // namespace

std::int32_t ResolveBlockCharaHits(cCharaBase& obj) {
  if (PassesBlocks(obj)) return kCellSafe;
  return obj.m_Flying != 0 ? ResolveFlying(obj) : ResolveWalking(obj);
}

void CarryRider(cCharaBase& rider) {
  if (rider.m_Flying != 0) return;
  cChara* ridden = ListedChara(rider.m_CarrierId);
  if (ridden == nullptr) return;
  rider.m_Vx += ridden->m_X1 - rider.m_CarrierRect[0];
  rider.m_Vy = ridden->m_Y1 - rider.m_CarrierRect[1];
  RaiseRiddenTriggers(*ridden, rider);
}

void PushOutOfBlockCharas(cCharaBase& obj, std::int32_t axis) {
  Push low, high;  // left or top; right or bottom
  ForEachBlockChara(obj, [&](const cChara& c) {
    if (OverlapOf(BoxOf(obj), BoxOf(c)).w != 0) OfferEdgePushes(obj, c, axis, low, high);
  });
  for (const Push* push : {&low, &high}) {
    if (!push->set) continue;
    if (axis == 0)
      ApplySidePush(obj, *push);
    else
      SetY1(obj, push->pos);
  }
}

bool IsOnRiddenChara(const cCharaBase& obj) {
  const cChara* ridden = ListedChara(obj.m_CarrierId);
  return ridden != nullptr && ridden->m_Id != obj.m_Id && TakesPart(*ridden) &&
         Overlaps(FeetStrip(obj), BoxOf(*ridden));
}

bool IsOnAnyBlockChara(const cCharaBase& obj) {
  const Box strip = FeetStrip(obj);
  bool on = false;
  ForEachBlockChara(obj, [&](const cChara& c) { on = on || Overlaps(strip, BoxOf(c)); });
  return on;
}

bool IsEnclosedByBlockCharas(const cCharaBase& obj, const std::array<double, 4>& entryBox) {
  const Box now = BoxOf(obj);
  const Box then = BoxOf(entryBox);
  const auto corner = [](const Box& b, int i) {
    return std::array<double, 2>{i % 2 == 0 ? b.x1 : b.x2, i < 2 ? b.y1 : b.y2 - 1};
  };
  for (int i = 0; i < 4; ++i) {
    const auto p = corner(now, i);
    const auto q = corner(then, i);
    if (!InAnyBlockChara(obj, p[0], p[1]) && !InAnyBlockChara(obj, q[0], q[1])) return false;
  }
  return true;
}

bool OverlapsOtherBlockChara(const cCharaBase& obj, const std::array<double, 4>& box, std::int32_t leftOutId) {
  if (PassesBlocks(obj)) return false;
  const Box b = BoxOf(box);
  bool overlaps = false;
  ForEachBlockChara(obj, [&](const cChara& c) { overlaps = overlaps || (c.m_Id != leftOutId && Overlaps(b, BoxOf(c))); });
  return overlaps;
}
