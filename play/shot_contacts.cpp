// The contacts of shots in a logic step: shots of one group against the heroes and characters of the
// others, and shots of different groups cancelling each other. A shot that goes during a pass is
// taken out of its group list at once; the walks over the group lists keep what they stand on
// readable until they move on.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "play/contacts.h"
#include "play/damage.h"
#include "play/flow_seam.h"
#include "play/group_boxes.h"
#include "play/hero.h"
#include "play/item_pickup.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/item_def.h"

namespace {

using ShotWalk = cObjectList<cShot*>::cWalk;

// What the shot brings to the object it hits. A sword swing, and a shot standing still, push along
// their facing.
cShotStrike StrikeOf(const cShot& shot) {
  cShotStrike strike;
  strike.m_Power = ShotPower(shot.m_Params);
  strike.m_Impact = ShotImpact(shot.m_Params);
  strike.m_HitEffect = shot.m_Params.m_HitEffect;
  strike.m_HitEffectScale = static_cast<std::uint8_t>(shot.Scale());
  strike.m_HasItem = shot.m_Params.m_ItemSource != 0;
  strike.m_Box = shot.m_ShotBox;
  if (shot.m_RealShot != 0 && (shot.m_Vx != 0.0 || shot.m_Vy != 0.0)) {
    strike.m_PushX = shot.m_Vx;
    strike.m_PushY = shot.m_Vy;
  } else {
    strike.m_PushX = shot.Facing();
    strike.m_PushY = 0.0;
  }
  return strike;
}

// StrikeBringsSomething(StrikeOf(shot)), without making the strike.
bool BringsSomething(const cShot& shot) {
  return ShotPower(shot.m_Params) != 0 || ShotImpact(shot.m_Params) != 0 || shot.m_Params.m_ItemSource != 0;
}

bool HasHit(const cShot& shot, std::int32_t id) {
  return std::find(shot.m_HitList.begin(), shot.m_HitList.end(), id) != shot.m_HitList.end();
}

cGroupBoxes s_GroupBoxes(&cCharaBase::m_ShotBox);

// The shot boxes of a shot group in list order, taken at the first group list they are tried
// against: until a strike (only its flows move, add or remove shots or objects here) the pass reads
// them instead of walking the list and the shots behind it, with whether each shot brings anything
// to a strike (and whether any of the group does). The buffers keep their room.
class cShotBoxes {
 public:
  struct cCopy {
    cSubBox m_Box;
    cShot** m_Place;
    bool m_BringsSomething;
  };

  void Invalidate() {
    m_Fresh.fill(false);
    m_Known.fill(false);
  }

  const std::vector<cCopy>& Of(std::size_t group, cObjectList<cShot*>& list) {
    auto& copies = m_Copies[group];
    if (!m_Fresh[group]) {
      copies.clear();
      for (cShot*& place : list) copies.push_back({place->m_ShotBox, &place, BringsSomething(*place)});
      m_Fresh[group] = true;
    }
    return copies;
  }

  // Whether any shot of the group brings something, known without taking the copies.
  bool AnyBringsSomething(std::size_t group, const cObjectList<cShot*>& list) {
    if (!m_Known[group]) {
      m_AnyBrings[group] = std::any_of(list.begin(), list.end(), [](const cShot* shot) { return BringsSomething(*shot); });
      m_Known[group] = true;
    }
    return m_AnyBrings[group];
  }

 private:
  std::array<std::vector<cCopy>, kObjectGroups> m_Copies;
  std::array<bool, kObjectGroups> m_Fresh{};
  std::array<bool, kObjectGroups> m_Known{};
  std::array<bool, kObjectGroups> m_AnyBrings{};
};

cShotBoxes s_ShotBoxes;

// The objects of a group that could start a flow when struck. A shot that brings nothing changes
// nothing on a group where none could: the pass leaves the pair out.
bool ListensToStrikes(const cCharaBase& c) { return MayStartFlows(c, kTriggerShotStruck); }
cGroupAny s_StruckListeners(&ListensToStrikes);

// The whole contact of such a shot with the group would change nothing.
bool ContactIsIdle(bool bringsSomething, std::size_t group, const cObjectList<cCharaBase*>& list) {
  return !bringsSomething && !s_StruckListeners.Of(group, list);
}

// The shot tried on one object. remove tells whether the shot must go once all have been tried;
// struck whether a strike ran (and with it flows); the result is a non-zero code to stop with.
std::int32_t ShotAgainstChara(cShot& shot, const cShotStrike& strike, cCharaBase& chara, bool& remove, bool& struck) {
  struck = false;
  // The box test first: it turns away nearly every pair, and the tests are free of side effects.
  if (!BoxesOverlap(chara.m_ShotBox, shot.m_ShotBox) || !ShotMayStrike(chara, shot.m_OnScreen != 0)) return 0;
  if (HasHit(shot, chara.m_Id)) return 0;
  if (const std::int32_t code = ShotStrikesChara(strike, chara, struck); code != 0) return code;
  if (!struck) return 0;
  // A swing and a piercing shot hit each object once; any other shot goes after its first hit.
  if (shot.m_RealShot == 0 || ShotPierces(shot.m_Params) != 0)
    shot.m_HitList.push_back(chara.m_Id);
  else
    remove = true;
  if (strike.m_HasItem && !g_Heroes.empty())
    return ApplyPaletteItem(shot.m_Params.m_ItemSource, shot.m_Params.m_ItemIndex, g_Heroes[0]);
  return 0;
}

// The shot against the objects of a group list that its box overlaps (places); struck tells whether
// a strike ran. A shot that must go goes here.
std::int32_t ShotAgainstGroup(cShot& shot, cObjectList<cCharaBase*>& group,
                              const std::vector<cGroupBoxes::cPlace>& places, bool& struck) {
  const cShotStrike strike = StrikeOf(shot);
  bool remove = false;
  const std::int32_t code = TryInListOrder(
      group, places, struck,
      [&](cCharaBase& chara, bool& struckNow) { return ShotAgainstChara(shot, strike, chara, remove, struckNow); },
      [] { return true; });
  if (struck) {
    s_GroupBoxes.Invalidate();
    s_ShotBoxes.Invalidate();
    s_StruckListeners.Invalidate();
  }
  if (remove) RemoveShot(shot);
  return code;
}

// The hit rectangles of two shots share a dot.
bool ShotsOverlap(const cShot& a, const cShot& b) {
  return a.m_X1 <= b.m_X2 && b.m_X1 <= a.m_X2 && a.m_Y1 <= b.m_Y2 && b.m_Y1 <= a.m_Y2;
}

}  // namespace

std::int32_t ShotsAgainstCharas() {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return 0;
  auto& shotGroups = scene->m_GroupShots;
  auto& charaGroups = scene->m_GroupCharas;
  const std::size_t groups = std::min<std::size_t>({shotGroups.size(), charaGroups.size(), kObjectGroups});
  s_GroupBoxes.Invalidate();
  s_ShotBoxes.Invalidate();
  s_StruckListeners.Invalidate();
  for (std::size_t g = 0; g < groups; ++g) {
    for (std::size_t k = 0; k < groups; ++k) {
      if (k == g || shotGroups[g].Empty() || charaGroups[k].Empty()) continue;
      if (ContactIsIdle(s_ShotBoxes.AnyBringsSomething(g, shotGroups[g]), k, charaGroups[k])) continue;
      const auto& copies = s_ShotBoxes.Of(g, shotGroups[g]);
      // Held throughout: after a strike the walk goes on in list order from the shot that struck.
      ShotWalk walk(shotGroups[g]);
      bool struck = false;
      for (const cShotBoxes::cCopy& copy : copies) {
        if (ContactIsIdle(copy.m_BringsSomething, k, charaGroups[k])) continue;
        const auto& places = s_GroupBoxes.Overlapping(k, charaGroups[k], copy.m_Box);
        if (places.empty()) continue;
        cShot** const place = copy.m_Place;
        if (const std::int32_t code = ShotAgainstGroup(**place, charaGroups[k], places, struck); code != 0) return code;
        if (!struck) continue;
        walk.SeekTo(place);
        walk.Next();
        break;
      }
      if (!struck) continue;
      for (; !walk.Done(); walk.Next()) {
        cShot& shot = *walk.Current();
        if (ContactIsIdle(BringsSomething(shot), k, charaGroups[k])) continue;
        const auto& places = s_GroupBoxes.Overlapping(k, charaGroups[k], shot.m_ShotBox);
        if (places.empty()) continue;
        bool struckNow = false;
        if (const std::int32_t code = ShotAgainstGroup(shot, charaGroups[k], places, struckNow); code != 0) return code;
      }
    }
  }
  return 0;
}

void ShotsAgainstShots() {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr) return;
  auto& groups = scene->m_GroupShots;
  // Shots that cancel, by group: a pair of which neither cancels is never tried, so a shot that does
  // not cancel skips a group that has none (removals during the pass only make the counts high).
  std::array<std::int32_t, kObjectGroups> cancelling{};
  const std::size_t count = std::min<std::size_t>(groups.size(), kObjectGroups);
  for (std::size_t i = 0; i < count; ++i)
    for (const cShot* shot : groups[i]) cancelling[i] += ShotCancels(shot->m_Params) != 0 ? 1 : 0;
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if (groups[i].Empty() || groups[j].Empty()) continue;
      if (cancelling[i] == 0 && cancelling[j] == 0) continue;
      for (ShotWalk walkS(groups[i]); !walkS.Done(); walkS.Next()) {
        cShot& s = *walkS.Current();
        if (ShotCancels(s.m_Params) == 0 && cancelling[j] == 0) continue;
        bool sGoes = false;
        for (ShotWalk walkT(groups[j]); !walkT.Done(); walkT.Next()) {
          cShot& t = *walkT.Current();
          const bool sCancels = ShotCancels(s.m_Params) != 0;
          const bool tCancels = ShotCancels(t.m_Params) != 0;
          if ((!sCancels && !tCancels) || !ShotsOverlap(s, t)) continue;
          bool tGoes = false;
          if (sCancels && tCancels) {
            const std::int8_t sStrength = ShotCancelStrength(s.m_Params);
            const std::int8_t tStrength = ShotCancelStrength(t.m_Params);
            sGoes = sGoes || sStrength <= tStrength;
            tGoes = tStrength <= sStrength;
          } else {
            sGoes = sGoes || sCancels;
            tGoes = tCancels;
          }
          if (tGoes) RemoveShot(t);
        }
        if (sGoes) RemoveShot(s);
      }
    }
  }
}
