#pragma once
// The run-time state of a character's flows: one runner per flow of the character, in a vector
// parallel to its flows, each holding one instance per command. The character keeps and edits these
// vectors; the event scripts run them.
#include <array>
#include <cstdint>

#include "platform/services/checked.h"
#include "project/flow.h"
#include "project/flow_command.h"
#include "project/key_condition.h"

// The run-time state of one command of a running flow.
struct cCommandInstance {
  cFlowCommand* m_Command = nullptr;
  std::int32_t m_Done = 0;
  std::int32_t m_Duration = 0;  // logic steps
  std::int32_t m_StepsLeft = 0;
  std::uint8_t m_DirectionCode = 0;
  std::int32_t m_TargetOffsetX = 0;
  std::int32_t m_TargetOffsetY = 0;
  double m_Speed = 0.0;  // dots per logic step
  std::int32_t m_Angle = 0;
  std::array<std::int32_t, 3> m_MoveWords{};  // circle and homing moves
  double m_Vx = 0.0;
  double m_Vy = 0.0;
  std::int32_t m_FacingRequest = 0;  // 0 keep, 1 left, 2 right
  std::int32_t m_StepCounter = 0;
  std::int32_t m_Started = 0;
  std::array<std::int32_t, 4> m_Scratch{};
  double m_TopSpeed = 0.0;  // dots per logic step, accelerating moves
  std::int32_t m_LastFacing = 0;
  // Move state the words above cannot hold: the two phases of a circle move advance by fractions of
  // a degree, and a delayed homing move keeps the target point it aims at next (its whole queue:
  // each turn of the queue takes one point out as it puts one in).
  double m_PhaseX = 0.0;
  double m_PhaseY = 0.0;
  double m_QueuedX = 0.0;
  double m_QueuedY = 0.0;
};

// A preparatory animation of a flow's command, started when the runner's frame counter reaches it.
struct FlowAnimationCue {
  std::int32_t m_Start = 0;
  std::uint16_t m_Anime = 0;
  std::uint16_t m_StartOffset = 0;
  std::uint16_t m_Length = 0;
  std::uint16_t m_CommandTime = 0;
  std::int32_t m_Hold = 0;
};

struct cFlowRunner {
  std::int32_t m_Index = 0;   // place of the flow in the character's flows
  std::int32_t m_Serial = 0;  // unique within the character; tags the animations the flow starts
  cFlow* m_Flow = nullptr;
  std::uint8_t m_ConditionsLatched = 0;
  CheckedVector<cKeyCondition*> m_KeyConditions;
  std::int32_t m_KeyLatched = 0;
  CheckedVector<cCommandInstance> m_Instances;
  CheckedVector<FlowAnimationCue> m_Cues;
  std::int32_t m_Running = 0;
  std::int32_t m_Paused = 0;
  std::int32_t m_Stopped = 0;
  std::int32_t m_Deleted = 0;
  std::int32_t m_Frontier = 0;
  std::int32_t m_FrameCounter = 0;
  std::int32_t m_InputDirection = 0;
  std::int32_t m_TriedThisStep = 0;
  std::int32_t m_StartedThisStep = 0;
  std::int32_t m_MessageOpen = 0;
  std::int32_t m_AbortFrame = 0;
};

// Whether raising trigger may start the runner's flow: only a runner bound to a flow of that trigger
// is ever tried. The scripts' raise and stage play's shortcut that leaves out raises nobody hears
// both ask this.
inline bool HearsTrigger(const cFlowRunner& runner, std::int32_t trigger) {
  return runner.m_Flow != nullptr && runner.m_Flow->m_Trigger == trigger;
}

// Group letters of flows: 0 none, 1..26 a..z.
constexpr int kFlowGroupSlots = 27;

class cCharaBase;

// Ends a running flow: nothing runs any more and no command has steps left; the flow's group (when it
// has one) is handed back at the end of the character's flow step.
void FinishFlow(cFlowRunner& runner, cCharaBase& chara);
