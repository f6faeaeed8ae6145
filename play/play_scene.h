#pragma once
// The play scene: the scene in which a stage is played. This holds what the objects of a stage read
// of it (the two camera axes, the objects by group, the heroes and the tile origin); the scene's
// states, frame and set-up build on it.
#include <cstdint>
#include <list>

#include "platform/services/checked.h"
#include "play/object_list.h"
#include "play/screen_colour.h"
#include "play/scroll_axis.h"
#include "play/stage_draw_presentation.h"
#include "project/effect_players.h"
#include "shell/scene.h"

class cCharaBase;

// Objects belong to one of these groups; contacts happen only between different groups.
constexpr int kObjectGroups = 8;

class cPlayScene : public cScene {
 public:
  cPlayScene();
  ~cPlayScene() override;

  // The map cell of the top left of the stage proper, on each axis.
  std::int32_t TileOriginX() const { return m_ScrollX.m_MarginCells; }
  std::int32_t TileOriginY() const { return m_ScrollY.m_MarginCells; }

  // Hero number n (0 is player 1), or null while there is none.
  cCharaBase* Hero(std::int32_t n) const;

  std::int32_t m_StageEndRequest = 0;
  ScrollAxis m_ScrollX;
  ScrollAxis m_ScrollY;
  // The heroes and characters by their group 0..7.
  CheckedVector<cObjectList<cCharaBase*>> m_GroupCharas;
  // The heroes in player order, as the stage set-up made them; the objects themselves live in the
  // hero container, which is never resized while they are listed here.
  CheckedVector<cCharaBase*> m_Heroes;
  std::int32_t m_HeroCount = 1;
  // The logic step of the frame being run, 1 .. steps per frame.
  std::int32_t m_StepInFrame = 0;
  // The map cells a toggling block summon has changed already; the summon empties it first.
  CheckedVector<std::int32_t> m_ToggledCells;
  // A block summon outside the map has been written to the report log (once per stage play).
  std::int32_t m_OutsideCellReported = 0;


  // What the stage drawing shows over the objects: the elements the event scripts open, the screen
  // effect and the screen colour.
  std::list<cMessageWindow> m_Messages;
  std::list<cEffectInstance> m_Effects;
  std::list<cPicture> m_Pictures;
  cScrEffectPlayer m_ScreenEffect;
  cScreenColour m_ScreenColour;
  // The time limit left, in units of 60 frames (0..999), and whether the stage has none.
  std::int32_t m_TimeLeft = 0;
  std::int32_t m_NoTimeLimit = 0;
};

// The play scene while a stage is played, else null.
extern cPlayScene* g_PlayScene;

// 1 / sqrt(2), computed once at start-up; the steering of a fleeing move uses it.
extern const double g_InvSqrt2;
