#include "play/state_digest.h"

#include <bit>

#include "platform/services/random.h"
#include "platform/services/timers.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "project/save_data.h"

namespace {

void AddAnime(cDigest& d, const cAnimePattern& anime) {
  d.AddI32(anime.Pattern());
  d.AddI32(anime.Frame());
  d.AddI32(anime.Ticks());
}

void AddAxis(cDigest& d, const ScrollAxis& axis) {
  for (double v : {axis.m_Pos, axis.m_AutoSpeed}) d.AddDouble(v);
  for (std::int32_t v : {axis.m_AtLimit, axis.m_Min, axis.m_Max, axis.m_StageEnd, axis.m_Extent, axis.m_AutoOn})
    d.AddI32(v);
}

// What every object has: place, speeds, life, presence and its own animation.
void AddObject(cDigest& d, const cGameObj& o) {
  for (std::int32_t v : {o.m_Id, o.m_Life, o.m_Direction, o.m_Group, o.m_Graphic, o.m_Width, o.m_Height, o.m_Flying,
                         o.m_Present, o.m_OnScreen})
    d.AddI32(v);
  AddAnime(d, o.m_Anime);
  for (double v : {o.m_X1, o.m_Y1, o.m_X2, o.m_Y2, o.m_Vx, o.m_Vy, o.m_DriveX, o.m_DriveY, o.m_Friction})
    d.AddDouble(v);
}

// Where each flow of the character stands: which run, how far they got, the steps their commands
// have left.
void AddRunners(cDigest& d, const cCharaBase& c) {
  d.AddU32(static_cast<std::uint32_t>(c.m_Runners.size()));
  for (const cFlowRunner& r : c.m_Runners) {
    for (std::int32_t v : {r.m_Index, r.m_Serial, r.m_Running, r.m_Paused, r.m_Stopped, r.m_Deleted, r.m_Frontier,
                           r.m_FrameCounter, r.m_KeyLatched})
      d.AddI32(v);
    d.AddU8(r.m_ConditionsLatched);
    d.AddU32(static_cast<std::uint32_t>(r.m_Instances.size()));
    for (const cCommandInstance& i : r.m_Instances)
      for (std::int32_t v : {i.m_Done, i.m_StepsLeft, i.m_StepCounter}) d.AddI32(v);
  }
}

void AddChara(cDigest& d, const cCharaBase& c) {
  AddObject(d, c);
  d.AddI32(c.m_Target != nullptr ? c.m_Target->m_Id : -1);
  for (double v : {c.m_KnockVx, c.m_KnockVy}) d.AddDouble(v);
  for (std::int32_t v : {c.m_Knocked, c.m_Held, c.m_J1, c.m_J2, c.m_J3, c.m_J4, c.m_J6, c.m_J7, c.m_Countdown,
                         c.m_Dead, c.m_DeathCounter, c.m_OnBlockChara, c.m_CarrierId, c.m_Hp, c.m_Sp,
                         c.m_InvincibleSteps, c.m_RemovalMark, c.m_HpGauge.m_FramesLeft, c.m_SpGauge.m_FramesLeft})
    d.AddI32(v);
  for (std::int32_t v : c.m_LRUD) d.AddI32(v);
  d.AddU32(static_cast<std::uint32_t>(c.m_Vars.size()));
  for (std::int32_t v : c.m_Vars) d.AddI32(v);
  d.AddU32(static_cast<std::uint32_t>(c.m_FlowAnimations.size()));
  for (const cFlowAnimation& a : c.m_FlowAnimations) {
    AddAnime(d, a.m_Anime);
    d.AddI32(a.m_FramesLeft);
    d.AddI32(a.m_FlowSerial);
    d.AddI32(a.m_Paused);
  }
  AddRunners(d, c);
}

void AddHero(cDigest& d, const cHero& h) {
  AddChara(d, h);
  for (std::int32_t v : {h.m_JumpHoldCounter, h.m_JumpAllowed, h.m_JumpBlocked, h.m_PrevDirection,
                         h.m_DirectionLocked, h.m_ButtonsLocked, h.m_CellEffectKind, h.m_CellEffectSteps})
    d.AddI32(v);
  d.AddDouble(h.m_CellEffectValue);
  d.AddU32(static_cast<std::uint32_t>(h.m_TakenItems.size()));
  for (std::int32_t v : h.m_TakenItems) d.AddI32(v);
}

// A shot's own motion, its counters and what its movement kind wrote into its parameters.
void AddShotState(cDigest& d, const cShot& s) {
  AddObject(d, s);
  for (std::int32_t v : {s.m_OwnerId, s.m_RealShot, s.m_RangeStepsLeft, s.m_LifeStepsLeft, s.m_StepCounter,
                         s.m_SwordPart, s.m_Accelerating, s.m_ChangeStep, s.m_EndStep, s.m_MoveDone,
                         s.m_Target != nullptr ? s.m_Target->m_Id : -1, std::int32_t{s.m_Params.m_MoveKind}})
    d.AddI32(v);
  for (std::int16_t v : s.m_Params.m_MoveParams) d.AddI32(v);
  for (double v : {s.m_Acceleration, s.m_Speed, s.m_OwnVx, s.m_OwnVy, s.m_WavePhase, s.m_WaveSine, s.m_WaveCosine,
                   s.m_ShotBox.m_X1, s.m_ShotBox.m_Y1, s.m_ShotBox.m_X2, s.m_ShotBox.m_Y2})
    d.AddDouble(v);
  d.AddU32(static_cast<std::uint32_t>(s.m_HitList.size()));
  for (std::int32_t id : s.m_HitList) d.AddI32(id);
}

void AddScene(cDigest& d, std::int32_t scene, const cPlayScene* play) {
  d.AddI32(scene);
  d.AddI32(g_SaveData.m_Score);
  d.AddI32(g_SaveData.m_Lives);
  if (play == nullptr) return;
  const cPlayScene& p = *play;
  for (std::int32_t v : {p.m_State, p.m_SubStep, p.m_SavedState, p.m_SavedSubStep, p.m_StageEndRequest, p.m_HeroCount,
                         p.m_StepCount, p.m_TimeLeft, p.m_NoTimeLimit, p.m_PlayFrames, p.m_PlayTime,
                         p.m_BannerCounter, p.m_StartBannerCounter, p.m_SwallowButtons, p.m_StatusChanged,
                         p.m_MessageOpen, p.m_NextCharaId, p.m_NextItemId, p.m_NextExtraId, p.m_FrameCount,
                         p.m_NextStage, p.m_RankEntryPossible})
    d.AddI32(v);
  d.AddU32(p.m_RandomSeed);
  for (std::int32_t v : p.m_StageVars) d.AddI32(v);
}

}  // namespace

void cDigest::AddDouble(double v) { AddU64(std::bit_cast<std::uint64_t>(v)); }

std::uint64_t DigestTotal(const std::array<std::uint64_t, kDigestAreaCount>& areas) {
  cDigest d;
  for (std::uint64_t a : areas) d.AddU64(a);
  return d.Value();
}

StateDigest ComputeStateDigest(std::int32_t scene) {
  std::array<cDigest, kDigestAreaCount> areas{};
  const cPlayScene* play = g_PlayScene;
  AddScene(areas[kDigestScene], scene, play);
  areas[kDigestRandom].AddU32(GameRandState());
  areas[kDigestRandom].AddU32(EveryNCount());
  if (play != nullptr) {
    AddAxis(areas[kDigestCameras], play->m_ScrollX);
    AddAxis(areas[kDigestCameras], play->m_ScrollY);
    areas[kDigestHeroes].AddU32(static_cast<std::uint32_t>(g_Heroes.size()));
    for (const cHero& h : g_Heroes) AddHero(areas[kDigestHeroes], h);
    std::uint32_t charas = 0;
    for (const cChara& c : g_CharaList) {
      AddChara(areas[kDigestCharas], c);
      areas[kDigestCharas].AddI32(c.m_Active);
      areas[kDigestCharas].AddI32(c.m_ActivatedOnce);
      ++charas;
    }
    areas[kDigestCharas].AddU32(charas);
    std::uint32_t items = 0;
    for (const cItem& i : g_ItemList) {
      AddObject(areas[kDigestItems], i);
      areas[kDigestItems].AddI32(i.m_Held);
      ++items;
    }
    areas[kDigestItems].AddU32(items);
    for (const cShot& s : play->m_ShotList) AddShotState(areas[kDigestShots], s);
    areas[kDigestShots].AddU32(static_cast<std::uint32_t>(play->m_ShotList.size()));
  }
  StateDigest out;
  for (int a = 0; a < kDigestAreaCount; ++a) out.m_Areas[static_cast<std::size_t>(a)] = areas[static_cast<std::size_t>(a)].Value();
  out.m_Total = DigestTotal(out.m_Areas);
  return out;
}
