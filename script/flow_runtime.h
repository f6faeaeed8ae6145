#pragma once
// The flow run-time: starting, running one frame of, finishing, stopping, pausing and resuming the
// runners of a character's flows, one command instance at a time, and the preparatory animations
// that commands ask for.
//
// Everything runs on the game thread inside the logic step, with the play scene's execution context
// (m_ExecChara, m_ExecFlow, m_ExecCommand) naming the character, runner and instance at work. A
// command may add or remove flows, which moves runners and instances: after every command the
// run-time finds its runner and instance again (by serial and place) instead of keeping an address.
#include <cstdint>

#include "play/flow_runner.h"

class cCharaBase;

// The first command number that a flow of the before-stage-start trigger executes.
constexpr std::int32_t kFirstBeforeStartCommand = 16;

// Starts runner: running from its first command, with its group (a 常時 flow) marked busy on
// m_ExecChara. A before-stage-start flow runs its parallel commands from number 16 on at once and
// is finished.
void StartFlow(cFlowRunner& runner);
// Stops the runner for good: as FinishFlow, except that it stays "running" so that nothing starts
// it again.
void StopFlow(cFlowRunner& runner, cCharaBase& chara);
void PauseFlow(cFlowRunner& runner);
void ResumeFlow(cFlowRunner& runner);
// One logic step of the running runner (of m_ExecChara); 1 when the flow has ended in it.
std::int32_t RunFlowFrame(cFlowRunner& runner);
// One step of the instance's command; 1 when the instance has ended.
std::int32_t ExecCommandInstance(cCommandInstance& instance);
// Ready to start: nothing done, no steps counted, steps left = duration.
void ResetCommandInstance(cCommandInstance& instance);
// Starts the preparatory animations whose time has come on every running runner of chara.
void PlayFlowAnimationCues(cCharaBase& chara);

// The runner of chara with this serial, or null once it is gone.
cFlowRunner* FindRunnerBySerial(cCharaBase& chara, std::int32_t serial);

// What executes one step of a command: ExecCharaCommand unless replaced (tests log the calls).
using CommandExecutor = void (*)(cCharaBase& chara, cCommandInstance& instance);
// Replaces the executor (null: ExecCharaCommand again); returns the one before.
CommandExecutor SetCommandExecutor(CommandExecutor executor);
