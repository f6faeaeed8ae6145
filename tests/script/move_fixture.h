#pragma once
// Shared by the tests of the character commands: the stage-object scene, characters made by the
// character set-up, move commands built as a flow would hold them, their instances prepared as the
// flow run-time builds them (duration, speed, top speed and direction, then the move set-up), and
// one logic step of a character's command as the run-time and the logic step run it.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "play/chara.h"
#include "play/flow_runner.h"
#include "project/command_vocabulary.h"
#include "project/ed_move.h"
#include "project/flow_command.h"
#include "project/stage_data.h"
#include "script/command_dispatch.h"
#include "tests/play/stage_objects_fixture.h"

namespace scripttest {

class MoveTest : public playtest::StageObjectsTest {
 protected:
  void SetUp() override {
    StageObjectsTest::SetUp();
    SetSpeedLevel(1);
  }

 public:
  // A character of the stage list, facing left unless told, its hit box's top left at (x, y).
  // Flight 0 walks, 2 flies; fixed facing as the definition's 向き固定.
  cChara& MakeChara(double x, double y, std::uint8_t flight = 0, std::uint8_t fixedFacing = 0,
                    std::int32_t direction = 0) {
    cCharaDef def = CharaDef();
    def.m_Flight = flight;
    def.m_FixedFacing = fixedFacing;
    cChara& chara = g_CharaList.Emplace();
    chara.Setup(static_cast<std::int32_t>(g_CharaList.Size()) + 10, def, nullptr, x, y, 0);
    chara.m_X1 = x;
    chara.m_X2 = x + chara.m_Width - 1;
    chara.m_Y1 = y;
    chara.m_Y2 = y + chara.m_Height - 1;
    chara.m_Direction = direction;
    chara.SetTarget(nullptr);
    chara.UpdateScreenRect();
    return chara;
  }

  // A character command with a move record (for the move commands) adjusted by edit; time in
  // tenths of a second.
  static cFlowCommand MakeCommand(std::int32_t number, std::int16_t tenths,
                                  const std::function<void(cEdMove&)>& edit = {}) {
    cFlowCommand command;
    command.m_CommandSet = kCharaCommandSet;
    command.m_CommandNumber = static_cast<std::uint8_t>(number);
    command.m_UseTime = tenths;
    command.m_Params.assign(CommandParamCount(kCharaCommandSet, number), 0);
    if (number >= kCharaStraightMove && number <= kCharaAvoidScreenMove) {
      NewEdMove(command.m_Move);
      if (edit) edit(*command.m_Move);
    }
    return command;
  }

  // The instance of command for chara, as the flows are built: duration, speed, top speed and
  // direction from the command, the move set-up, then the reset of a command that starts.
  static cCommandInstance Prepare(cFlowCommand& command, cCharaBase& chara) {
    cCommandInstance instance;
    instance.m_Command = &command;
    const std::int32_t n = chara.m_SpawnIndex;
    instance.m_Duration = (command.m_UseTimeStep * n + command.m_UseTime) * g_StepsPerFrame * 6;
    if (const cEdMove* move = command.m_Move.get(); move != nullptr) {
      instance.m_Speed = (move->m_SpeedStep * n + move->m_Speed) * 0.1 / g_StepsPerFrameF;
      if (move->m_Inertia != 0) instance.m_TopSpeed = move->m_InertiaLimit * 0.1 / g_StepsPerFrameF;
      instance.m_DirectionCode = move->m_Direction;
    }
    RunMoveSetup(instance, chara, chara.m_Direction);
    instance.m_StepsLeft = instance.m_Duration;
    return instance;
  }

  // One logic step of chara running instance: the flow step's reset of the own motion, the
  // command's handler and its count-down, then the character's moves. True when the command ended.
  static bool Step(cChara& chara, cCommandInstance& instance) {
    chara.m_Vx = 0.0;
    if (chara.m_Flying != 0) chara.m_Vy = 0.0;
    chara.m_Held = 0;
    chara.m_FrictionX = chara.m_FrictionY = 1;
    chara.m_CommandAnimeSet = 0;
    ExecCharaCommand(chara, instance);
    const bool ended = --instance.m_StepsLeft <= 0;
    if (ended) instance.m_StepsLeft = 0;
    chara.StepX();
    if (chara.m_Flying != 0) chara.StepY();
    chara.UpdateScreenRect();
    return ended;
  }

  // Runs instance to its end (at most limit steps); the steps it took.
  static std::int32_t RunToEnd(cChara& chara, cCommandInstance& instance, std::int32_t limit = 10000) {
    for (std::int32_t step = 1; step <= limit; ++step)
      if (Step(chara, instance)) return step;
    return -1;
  }
};

}  // namespace scripttest
