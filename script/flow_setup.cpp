// The runners of a character's flows: one per flow, one instance per command with its duration,
// speeds and move set-up, and the preparatory animations placed so that each ends when its command
// begins.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/services/checked.h"
#include "play/chara_base.h"
#include "project/command_vocabulary.h"
#include "project/database_frames.h"
#include "project/stage_data.h"
#include "script/command_dispatch.h"
#include "script/event_scripts.h"

namespace {

constexpr std::int64_t kFramesPerTenth = 6;

std::int32_t SaturateToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::uint16_t SaturateToU16(std::int64_t v) {
  return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, std::numeric_limits<std::uint16_t>::max()));
}

// Logic steps of a command: its time (tenths of a second) plus the time step per spawn index. A file
// may hold any times: the product is taken in 64 bits and held inside 0..INT32_MAX, so a negative
// time is none (the command ends in the step it starts) and a huge one the longest there is.
std::int32_t DurationOf(const cFlowCommand& command, std::int64_t spawnIndex) {
  const std::int64_t tenths = std::int64_t{command.m_UseTimeStep} * spawnIndex + command.m_UseTime;
  const std::int64_t steps = tenths * g_StepsPerFrame * kFramesPerTenth;
  return std::max(0, SaturateToInt32(steps));
}

// The instance of a command as it is before every start: duration, speeds and the move's own set-up.
void SetupInstance(cCommandInstance& instance, cCharaBase& chara, std::int32_t facing) {
  const cFlowCommand& command = *instance.m_Command;
  const std::int64_t n = chara.m_SpawnIndex;
  instance.m_Duration = DurationOf(command, n);
  if (const cEdMove* move = command.m_Move.get()) {
    instance.m_Speed = static_cast<double>(std::int64_t{move->m_SpeedStep} * n + move->m_Speed) * 0.1 / g_StepsPerFrameF;
    if (move->m_Inertia != 0) instance.m_TopSpeed = move->m_InertiaLimit * 0.1 / g_StepsPerFrameF;
    instance.m_DirectionCode = move->m_Direction;
  }
  RunMoveSetup(instance, chara, facing);
}

// Frames of animation a up to its end: the frame list's durations are the table's tenths x 6. A
// number outside the table is reported as a bad index and gives no animation.
std::int64_t AnimeFramesOf(std::int32_t a) {
  if (a < 0 || a >= g_AnimeFrameLists.Size()) {
    ReportBadVectorIndex(a, g_AnimeFrameLists.Size(), CheckedElementSize<AnimeFrameList>());
    return -1;
  }
  std::int64_t frames = 0;
  for (const AnimeFrame& frame : g_AnimeFrameLists[static_cast<std::size_t>(a)]) {
    if (frame.value < 0) break;
    frames += frame.duration;
  }
  return frames;
}

// The sword and the jump take their animation as it is; every other command holds its hold frame
// for the command's time.
bool HoldsAnime(const cFlowCommand& command) {
  return command.m_CommandNumber != kCharaJump && command.m_CommandNumber != kCharaSword;
}

void BuildCues(cFlowRunner& runner) {
  runner.m_Cues.clear();
  const std::int64_t stepsPerFrame = std::max<std::int64_t>(1, g_StepsPerFrame);
  std::int64_t cum = 0;  // steps before command i starts
  for (const cCommandInstance& instance : runner.m_Instances) {
    const cFlowCommand* command = instance.m_Command;
    if (command == nullptr) continue;
    if (command->m_Anime != 0) {
      const std::int64_t frames = AnimeFramesOf(command->m_Anime);
      if (frames >= 0) {
        const std::int64_t length = SaturateToU16(frames);
        const std::int64_t steps = length * stepsPerFrame;
        FlowAnimationCue cue;
        cue.m_Anime = static_cast<std::uint16_t>(command->m_Anime);
        cue.m_CommandTime = SaturateToU16(std::int64_t{command->m_UseTime} * kFramesPerTenth);
        cue.m_Hold = HoldsAnime(*command) ? 1 : 0;
        if (cum >= steps) {
          cue.m_Start = SaturateToInt32(cum - steps);
          cue.m_Length = static_cast<std::uint16_t>(length);
        } else {
          // The flow is too young for the whole animation: it starts at once with its head cut.
          const std::int64_t offset = std::min((steps - cum) / stepsPerFrame, length);
          cue.m_Start = 0;
          cue.m_StartOffset = static_cast<std::uint16_t>(offset);
          cue.m_Length = static_cast<std::uint16_t>(length - offset);
        }
        runner.m_Cues.push_back(cue);
      }
    }
    if (command->m_Parallel == 0) cum += instance.m_Duration;
  }
}

}  // namespace

void cEventScriptRuntime::AddFlows(cCharaBase& chara, const CheckedVector<cFlow>& flows, std::int32_t facing,
                                   std::int32_t add, std::int32_t index) {
  auto& own = chara.m_Def.m_Flows;
  std::size_t start = 0;
  std::size_t count = 0;
  if (add == 0) {
    // flows is the character's own vector: every runner is made anew.
    chara.m_Runners.clear();
    chara.m_Runners.resize(own.size());
    count = own.size();
  } else {
    const bool inside = index >= 0 && index <= own.Size() && index <= chara.m_Runners.Size();
    start = inside ? static_cast<std::size_t>(index) : own.size();
    // Copied first: flows may be a vector that the insertion moves (the character's own).
    CheckedVector<cFlow> copies(flows.begin(), flows.end());
    count = copies.size();
    own.insert(own.begin() + static_cast<std::ptrdiff_t>(start), copies.begin(), copies.end());
    const std::size_t runnerAt = std::min(start, chara.m_Runners.size());
    chara.m_Runners.insert(chara.m_Runners.begin() + static_cast<std::ptrdiff_t>(runnerAt), count, cFlowRunner());
  }
  for (std::size_t k = start; k < start + count && k < chara.m_Runners.size(); ++k) {
    cFlowRunner& runner = chara.m_Runners[k];
    runner.m_Serial = chara.m_RunnerCounter++;
    runner.m_Instances.assign(own[k].m_Commands.size(), cCommandInstance());
  }
  // Index, flow, key steps and commands of every runner point at the character's own copies.
  chara.BindFlowRunners();
  const std::int32_t mirror = facing != 0 ? 1 : 0;
  for (std::size_t k = start; k < start + count && k < chara.m_Runners.size(); ++k) {
    cFlowRunner& runner = chara.m_Runners[k];
    for (cCommandInstance& instance : runner.m_Instances)
      if (instance.m_Command != nullptr) SetupInstance(instance, chara, mirror);
    BuildCues(runner);
  }
}
