// The parts of an object's flow step that belong to the object itself: the reset of its own motion
// before its flows run and the standing pattern after them.
#include "play/chara.h"
#include "play/chara_base.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/scroll_axis.h"
#include "play/steering.h"

void cCharaBase::ResetOwnMotion(bool withScroll) {
  // The velocity is what the commands of this step give, on top of the scroll carried along.
  m_Vx = withScroll ? CountingScrollSpeed(true) : 0.0;
  if (m_Flying != 0) m_Vy = withScroll ? CountingScrollSpeed(false) : 0.0;
  m_Held = 0;
  m_FrictionX = 1;
  m_FrictionY = 1;
  m_MovedThisStep = 0;
  m_HiddenThisStep = 0;
  m_CommandAnimeSet = 0;
  if (m_Countdown > 0) --m_Countdown;
}

void cCharaBase::SetStandingAnimeWhenIdle() {
  if (m_CommandAnimeSet != 0 || m_DriveX != 0.0 || m_DriveY != 0.0) return;
  m_Anime.ChangePattern(m_Flying != 0 ? 2 : 0, 1);
}

void cChara::BeginFlowStep() { ResetOwnMotion(!MoveWithScroll() && m_FollowsScroll != 0); }

void cHero::BeginFlowStep() {
  ResetOwnMotion(MoveWithScroll() ? m_Flying != 0 : m_FollowsScroll != 0);
  m_JumpDoneThisStep = 0;
  m_StepWords[0] = m_StepWords[1] = 0;
}
