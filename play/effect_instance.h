#pragma once
// Running effects: a cell animation of the database's effect table shown at a place of the stage.
// A hit between two objects starts one over the overlap of their boxes; the command エフェクトの実行
// starts one where it says. The stage drawing draws each instance once per displayed frame and
// drops it when it reports its end.
#include <cstdint>

#include "platform/display/anime_pattern.h"

struct DDSURFACEDATA;
struct cSubBox;
class cEffectDef;

class cEffectInstance {
 public:
  // The command's effect at (x, y), width x height dots: stretched when the width is not the cell
  // width. countsWhileFrozen: it keeps animating while the game logic stands still.
  void SetupAt(std::int32_t number, double x, double y, std::int32_t width, std::int32_t height,
               std::int32_t countsWhileFrozen);
  // The effect's frame list as the only pattern, started from its first frame.
  void LoadAnimation(std::int32_t number);

  // The effect (entry of g_Database.m_Effects), 0 for none: an instance of no effect ends at its
  // first frame.
  std::int32_t m_Number = 0;
  double m_X = 0.0;  // top left in stage dots
  double m_Y = 0.0;
  std::int32_t m_Width = 0;
  std::int32_t m_Height = 0;
  std::int32_t m_Scaled = 0;
  cAnimePattern m_Anime;
  std::int32_t m_CountsWhileFrozen = 0;
};

// The definition of effect `number`, or null for none: 0, or a number outside the table (which is
// reported as a bad index, as every checked table read is).
const cEffectDef* EffectDefOf(std::int32_t number);

// The hit effect `number` centred on the overlap of boxes a and b (the stage origin when they do not
// meet), jittered by a few dots with the game's random generator; a scalable effect takes the
// attacker's scale (a signed byte, as stored).
void SetupEffectInstance(cEffectInstance& effect, std::int32_t number, const cSubBox& a, const cSubBox& b,
                         std::int32_t scale);
// The same appended to the play scene's effects; nothing without a play scene or for effect 0.
void StartHitEffect(std::int32_t number, const cSubBox& struck, const cSubBox& attacker, std::int32_t scale);

// One displayed frame of the instance on dst; 1 once it has ended (then it was not drawn).
// frozen: the pause thread draws while the logic stands still.
std::int32_t DrawEffectInstance(cEffectInstance& effect, DDSURFACEDATA* dst, std::int32_t frozen);

// Frames the effect runs: its frames' times in sixtieths, summed (0 for none).
std::int32_t EffectLengthFrames(std::int32_t number);
