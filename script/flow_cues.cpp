// The preparatory animations of commands: started on the character when their runner's frame
// counter reaches them, newest first in the character's flow animations.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "play/chara_base.h"
#include "project/database_frames.h"
#include "script/flow_runtime.h"

namespace {

void StartCue(cCharaBase& chara, const cFlowRunner& runner, const FlowAnimationCue& cue) {
  // The table may have changed since the cue was placed; a number it no longer holds is reported.
  if (cue.m_Anime >= g_AnimeFrameLists.Size()) {
    ReportBadVectorIndex(cue.m_Anime, g_AnimeFrameLists.Size(), CheckedElementSize<AnimeFrameList>());
    return;
  }
  cFlowAnimation& entry = chara.m_FlowAnimations.emplace_front();
  AnimeFrameList& frames = entry.m_Anime.AppendPattern();
  frames = g_AnimeFrameLists[cue.m_Anime];
  entry.m_HasTimeLimit = 1;
  entry.m_FramesLeft = cue.m_Length;
  entry.m_Priority = cue.m_CommandTime;
  entry.m_FlowSerial = runner.m_Serial;
  entry.m_Paused = 0;
  entry.m_Anime.SetPattern(0, 1);
  if (cue.m_StartOffset != 0) entry.m_Anime.AdvanceTicks(cue.m_StartOffset);
  // The hold frame lasts as long as the command, so the pose is kept while it runs.
  if (cue.m_CommandTime >= 2 && cue.m_Hold == 1) {
    for (AnimeFrame& frame : frames) {
      if (frame.value < 0) break;
      if (frame.locked != 0) {
        const std::int64_t held = std::int64_t{frame.duration} + cue.m_CommandTime - 1;
        frame.duration = static_cast<std::int32_t>(std::min<std::int64_t>(held, std::numeric_limits<std::int32_t>::max()));
        break;
      }
    }
  }
}

}  // namespace

void PlayFlowAnimationCues(cCharaBase& chara) {
  for (const cFlowRunner& runner : chara.m_Runners) {
    // A stopped runner's frame counter stands still: its cue there would start again every step.
    if (runner.m_Running == 0 || runner.m_Paused != 0 || runner.m_Stopped != 0) continue;
    for (const FlowAnimationCue& cue : runner.m_Cues)
      if (cue.m_Start == runner.m_FrameCounter) StartCue(chara, runner, cue);
  }
}
