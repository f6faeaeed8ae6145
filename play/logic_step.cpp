// One frame of play: the pause key and hot keys, player 1's input (live, recorded or replayed), the
// time, and the logic steps of the frame, each over presence, life countdowns, invincibility,
// scrolling, block characters, the hero, the other characters, shots, screen-out removal and the
// hero's contacts. The stage is drawn once at the end of a frame that did not end the play.
#include <algorithm>

#include "platform/audio/sound_effects.h"
#include "platform/host/input_devices.h"
#include "platform/host/message_queue.h"
#include "platform/input/input.h"
#include "platform/services/log.h"
#include "platform/services/timers.h"
#include "play/chara.h"
#include "play/collision.h"
#include "play/contacts.h"
#include "play/damage.h"
#include "play/flow_seam.h"
#include "play/block_charas.h"
#include "play/hero.h"
#include "play/item_pickup.h"
#include "play/map_cells.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_clear.h"
#include "play/stage_draw.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

namespace {

// Sounds of the system.
constexpr std::int32_t kSoundPause = 4;
constexpr std::int32_t kSoundSpring = 10;

// Map-cell effects under a hero.
constexpr std::uint8_t kCellSpring = 1;
constexpr std::uint8_t kCellNoJump = 2;
constexpr std::uint8_t kCellSpeedFactor = 3;
constexpr std::uint8_t kCellDriftLeft = 4;
constexpr std::uint8_t kCellDriftRight = 5;

// Screen-out rules of the logic step.
constexpr std::size_t kRuleCharas = 0;
constexpr std::size_t kRuleBlockCharas = 1;
constexpr std::size_t kRuleItems = 2;

constexpr std::int32_t kMaxTimeLeft = 999;

bool ReplayPlayback() { return g_SceneManager.m_TitleChoice == kTitleChoiceReplay; }

bool BothSides(const cCharaBase& c) {
  return (c.m_LRUD[kContactLeft] != 0 && c.m_LRUD[kContactRight] != 0) ||
         (c.m_LRUD[kContactUp] != 0 && c.m_LRUD[kContactDown] != 0);
}

// What one step of a character's moves found.
struct MoveOutcome {
  bool squeezed = false;
  bool leaving = false;
};

MoveOutcome MoveBlockChara(cChara& c) {
  MoveOutcome out;
  if (c.StepX() == kStepLeftStageSide) out.leaving = true;
  if (ResolveWallHit(c) == kCellKilled) out.squeezed = true;
  c.ApplyGravityStep();
  const std::int32_t y = c.StepY();
  if (y == kStepFellOut) out.squeezed = true;
  if (y == kStepFlewOut) out.leaving = true;
  if (ResolveFloorHit(c) == kCellKilled) out.squeezed = true;
  return out;
}

MoveOutcome MoveChara(cChara& c) {
  MoveOutcome out = MoveBlockChara(c);
  if (ResolveBlockCharaHits(c) == kCellKilled) out.squeezed = true;
  RecheckWallHit(c);
  RecheckFloorHit(c);
  return out;
}

}  // namespace

std::int32_t cPlayScene::CheckPauseKey() {
  if ((GetAsyncKeyState(VK_SPACE) & 0x8000) == 0) return 0;
  PlaySE(kSoundPause);
  m_SavedState = m_State;
  m_SavedSubStep = m_SubStep;
  return 1;
}

void cPlayScene::TickPlayTime() {
  if (m_PlayTime >= kMaxPlayTime) return;
  ++m_PlayFrames;
  m_PlayTime = std::min(m_PlayFrames * 100 / 60, kMaxPlayTime);
}

std::int32_t cPlayScene::TickTimeLimit(std::int32_t delta) {
  if (m_NoTimeLimit != 0 || !EveryN(1, 60)) return 0;
  m_TimeLeft += delta;
  if (m_TimeLeft > kMaxTimeLeft) {
    m_TimeLeft = kMaxTimeLeft;
  } else if (m_TimeLeft < 1) {
    m_TimeLeft = 0;
    return 1;
  }
  return 0;
}

void cPlayScene::UpdateObjectPresence() {
  if (cHero* hero = Hero0(); hero != nullptr) {
    hero->m_Present = 1;
    hero->m_OnScreen = 1;
  }
  std::fill(m_ActivationTable.begin(), m_ActivationTable.end(), 0);
  m_BlockCharasPresent = 0;
  for (cChara& c : g_CharaList) {
    if (CheckCharaConditions(c) != 0) {
      c.m_Present = 1;
      if (c.m_Def.m_BlockChara != 0) ++m_BlockCharasPresent;
      c.m_OnScreen = c.IsOnScreen() ? 1 : 0;
      c.UpdateActive(m_ActivationTable);
    } else {
      c.m_Present = c.m_OnScreen = 0;
    }
  }
  // A character whose activation another one marked in the pass above runs in this very step.
  for (cChara& c : g_CharaList) c.m_RunsThisStep = c.m_Present != 0 && c.CheckFirstActivation(m_ActivationTable) != 0;
  for (cItem& item : g_ItemList) {
    if (CheckItemConditions(item) != 0) {
      item.m_Present = 1;
      item.m_OnScreen = item.IsOnScreen() ? 1 : 0;
    } else {
      item.m_Present = item.m_OnScreen = 0;
    }
  }
  for (cShot& shot : m_ShotList) {
    shot.m_Present = 1;
    shot.m_OnScreen = shot.IsOnScreen() ? 1 : 0;
  }
}

std::int32_t cPlayScene::ApplyCellEffect(cHero& hero) {
  if (hero.m_Flying != 0) return 0;
  cMapCell* cell = hero.m_CellUnderFeet;
  if (cell != nullptr && hero.m_CellEffectSteps == 0 && IsSolidFor(*cell, hero.m_Group) != kSolidNone) {
    const std::uint8_t kind = cell->m_CellEffect;
    switch (kind) {
      case kCellSpring:
        PlaySE(kSoundSpring);
        hero.m_Vy = hero.JumpSpeedForHbl(cell->m_EffectValue);
        hero.m_J3 = hero.m_J4 = 1;
        hero.m_JumpHoldCounter = 0;
        break;
      case kCellNoJump:
        hero.m_JumpBlocked = 1;
        break;
      case kCellSpeedFactor:
        hero.m_CellEffectKind = kind;
        hero.m_CellEffectValue = cell->m_EffectValue * 0.01;
        hero.m_CellEffectSteps = g_StepsPerFrame;
        break;
      case kCellDriftLeft:
      case kCellDriftRight:
        hero.m_CellEffectKind = kind;
        hero.m_CellEffectValue = cell->m_EffectValue * 0.1 / g_StepsPerFrameF;
        hero.m_CellEffectSteps = g_StepsPerFrame;
        break;
      default:
        break;
    }
    if (kind != kCellNoJump) hero.m_JumpBlocked = 0;
  }
  if (hero.m_CellEffectSteps > 0) {
    switch (hero.m_CellEffectKind) {
      case kCellSpeedFactor:
        hero.m_Vx *= hero.m_CellEffectValue;
        break;
      case kCellDriftLeft:
        hero.m_Vx -= hero.m_CellEffectValue;
        if (hero.m_DriveX > 0) hero.m_DriveX = 0.0;
        break;
      case kCellDriftRight:
        hero.m_Vx += hero.m_CellEffectValue;
        if (hero.m_DriveX < 0) hero.m_DriveX = 0.0;
        break;
      default:
        break;
    }
    if (--hero.m_CellEffectSteps == 0 && hero.m_Vy >= 0) hero.m_Vy += 1.0;
  }
  return 0;
}

void cPlayScene::KillHero(cHero& hero, const char* text) {
  if (text != nullptr) LogF("%s", text);
  PlaySE(kSoundHeroDies);
  if (hero.Die() == 1) ClearStage();
}

void cPlayScene::ClearStage() {
  if (ReplayPlayback()) ++g_ReplayRoundsEnded;
  FinishStage();
  m_State = kPlayStageResult;
}

bool cPlayScene::TakeInput() {
  if (g_Inputs.empty()) return true;
  cInput& input = g_Inputs[0];
  if (!ReplayPlayback()) {
    if (cHero* hero = Hero0(); hero != nullptr) {
      if (hero->m_DirectionLocked != 0) input.ClearDirection();
      if (hero->m_ButtonsLocked != 0) input.ClearButtons();
    }
    if (input.m_Buttons == 0)
      m_SwallowButtons = 0;
    else if (m_SwallowButtons != 0)
      input.m_Buttons = 0;
    input.PushHistory();
    input.PushKeyHistories();
    if (ReplayRecordingOn()) {
      const std::uint16_t words[2] = {input.m_Direction, input.m_Buttons};
      g_ReplayRecord.RecordFrameInput(words);
    }
    return true;
  }
  input.ClearDirection();
  input.ClearButtons();
  std::uint16_t words[2] = {0, 0};
  if (g_ReplayRecord.PlayFrameInput(words) != 0) {
    // The recorded input is over: the replay starts again from the beginning.
    g_SaveData.RestoreCarriedStatus(1, g_SceneManager.m_PlayMode, g_TestPlay != 0);
    Restart(1);
    return false;
  }
  input.m_Direction = words[0];
  input.m_Buttons = words[1];
  input.m_Digit = DirectionDigit(&input);
  input.PushHistory();
  input.PushKeyHistories();
  return true;
}

void cPlayScene::OnPlay() {
  if (m_CloseRequested != 0) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return;
  }
  if (CheckPauseKey() != 0) {
    m_SubStep = 0;
    m_State = kPlayPauseMenu;
    return;
  }
  if (ServeReplayHotKeys() != 0) return;
  if (RunFrameLogic()) DrawStage(1, 0, 1, 1);
}

bool cPlayScene::RunFrameLogic() {
  ++m_FrameCount;
  if (!TakeInput()) return false;
  cHero* hero = Hero0();
  if (hero == nullptr) return false;
  TickPlayTime();
  if (TickTimeLimit(-1) != 0 && hero->m_Dead == 0) {
    KillHero(*hero, nullptr);
    return false;
  }
  hero->ResetFlowStepFlags();
  hero->m_MovedThisStep = 0;
  for (cChara& c : g_CharaList) {
    if (c.m_Dead == 0) c.ResetFlowStepFlags();
    c.m_MovedThisStep = 0;
  }
  for (std::int32_t step = 1; step <= g_StepsPerFrame; ++step)
    if (RunLogicStep(step)) return false;
  return true;
}

void cPlayScene::ExpireObjects() {
  g_CharaList.ForEach([this](cChara& c) {
    if (c.m_Dead != 0 || c.m_Life == kEndlessLife) return;
    if (--c.m_Life < 0) RemoveChara(c);
  });
  g_ItemList.RemoveIf([](cItem& item) { return item.m_Life != kEndlessLife && --item.m_Life < 0; });
}

bool cPlayScene::RunLogicStep(std::int32_t step) {
  m_StepInFrame = step;
  ++m_StepCount;
  cHero& hero = *Hero0();
  UpdateObjectPresence();
  if (hero.m_Dead == 0) ExpireObjects();
  for (cChara& c : g_CharaList) {
    c.TickInvincibility();
    c.ClearLRUD();
    c.SaveRect();
  }
  hero.TickInvincibility();
  hero.ClearLRUD();
  hero.SaveRect();
  hero.SaveDirection();
  hero.SaveGroundState();
  m_ScrollX.StepAutoScroll();
  m_ScrollY.StepAutoScroll();
  if (hero.m_Dead == 0 && StepCharas(true)) return true;
  if (hero.m_Dead == 0 && StepHero(hero)) return true;
  if (hero.m_Dead == 0 && StepCharas(false)) return true;
  StepShots(step);
  if (step == 1 && hero.m_Dead == 0) RemoveOutsideObjects();
  if (hero.m_Dead != 0) return false;
  // The hero against the cell item under it, the characters, then (still alive) the items.
  for (std::int32_t check = 0; check < 3; ++check) {
    if (check == 2 && hero.m_Dead != 0) break;
    const std::int32_t code = check == 0 ? ApplyCellItem(hero) : check == 1 ? HeroCharaContacts() : PickUpItems(hero);
    if (code == 1) {
      ClearStage();
      return true;
    }
    if (code == 2) {
      KillHero(hero, nullptr);
      return true;
    }
  }
  return false;
}

bool cPlayScene::StepCharas(bool blockCharas) {
  bool ended = false;
  g_CharaList.ForEach([&](cChara& c) {
    if (ended || (c.m_Def.m_BlockChara != 0) != blockCharas || c.m_Dead != 0 || c.m_Present == 0 ||
        c.m_RunsThisStep == 0)
      return;
    RunTriggeredFlows(c, kTriggerAlways);
    if (c.RunFlows(0) != 0) {
      // An ordinary character its flows marked for removal goes without a death.
      if (!blockCharas && c.m_RemovalMark != 0) {
        RemoveChara(c);
        return;
      }
      const std::int32_t code = ProcessDeath(c);
      if (g_System.m_KeepDeadCharacters == 0 || code == 1)
        RemoveChara(c);
      else
        PlaySE(kSoundCharaKilled);
      ended = code != 0;
      return;
    }
    if (m_StatusChanged != 0 && CheckStatusDeaths() != 0) {
      ended = true;
      return;
    }
    if (!blockCharas && c.m_OnBlockChara != 0) CarryRider(c);
    const MoveOutcome out = blockCharas ? MoveBlockChara(c) : MoveChara(c);
    // Block characters are not crushed by walls on both sides: they are what crushes.
    if (out.squeezed || (!blockCharas && BothSides(c))) {
      PlaySE(kSoundCharaKilled);
      const std::int32_t code = ProcessDeath(c);
      if (code == 1) RemoveChara(c);
      ended = code != 0;
    } else if (out.leaving) {
      RemoveChara(c);
    } else {
      c.DecayKnockBackX();
      c.DecayKnockBackY();
    }
  });
  return ended;
}

bool cPlayScene::StepHero(cHero& hero) {
  RunTriggeredFlows(hero, kTriggerAlways);
  if (hero.RunFlows(0) != 0) {
    KillHero(hero, nullptr);
    return true;
  }
  if (m_StageEndRequest == 1) {
    ClearStage();
    return true;
  }
  if (m_StageEndRequest == 2) {
    KillHero(hero, nullptr);
    return true;
  }
  if (m_StatusChanged != 0 && CheckStatusDeaths() != 0) return true;
  ApplyCellEffect(hero);
  if (hero.m_OnBlockChara != 0) CarryRider(hero);

  const char* death = nullptr;
  auto dies = [&](const char* text) {
    death = text;
    return true;
  };
  // Both walls of one axis at once crush the hero, unless it has just changed its flight mode.
  auto crushed = [&](const char* text) {
    if (hero.m_Countdown != 0 || !BothSides(hero)) return false;
    LogF("Player[P1].LRUD = %d,%d,%d,%d", hero.m_LRUD[kContactLeft], hero.m_LRUD[kContactRight],
         hero.m_LRUD[kContactUp], hero.m_LRUD[kContactDown]);
    hero.RestoreRect();
    return dies(text);
  };
  const bool dead = [&] {
    hero.StepX();
    ClampToScreenX(hero);
    if (ResolveWallHit(hero) == kCellKilled) return dies("Dead 1");
    ClampToScreenX(hero);
    hero.ApplyGravityStep();
    if (hero.StepY() == kStepFellOut) return dies("Dead 2");
    if (ClampToScreenY(hero) == kCellKilled) return dies("Dead 3");
    if (ResolveFloorHit(hero) == kCellKilled) return dies("Dead 4");
    if (ClampToScreenY(hero) == kCellKilled) return dies("Dead 5");
    if (crushed("Dead SP")) return true;
    if (ResolveBlockCharaHits(hero) == kCellKilled && hero.m_Countdown == 0) return dies("Dead 6");
    const bool sideways = hero.m_LRUD[kContactLeft] != 0 || hero.m_LRUD[kContactRight] != 0;
    if (sideways && RecheckWallHit(hero) == kCellKilled && hero.m_Countdown == 0) return dies("Dead 7");
    const bool upDown = hero.m_LRUD[kContactUp] != 0 || hero.m_LRUD[kContactDown] != 0;
    if (upDown && RecheckFloorHit(hero) == kCellKilled && hero.m_Countdown == 0) return dies("Dead 8");
    return crushed("Dead 9");
  }();
  if (dead) {
    KillHero(hero, death);
    return true;
  }
  hero.DecayKnockBackX();
  hero.DecayKnockBackY();
  return false;
}

void cPlayScene::RemoveOutsideObjects() {
  const auto& rules = g_Stage.m_Rules;
  if (m_OutRuleOn[kRuleCharas] != 0 || m_OutRuleOn[kRuleBlockCharas] != 0) {
    g_CharaList.ForEach([&](cChara& c) {
      if (c.m_Dead != 0 || c.m_Present == 0) return;
      const std::size_t rule = c.m_Def.m_BlockChara != 0 ? kRuleBlockCharas : kRuleCharas;
      if (m_OutRuleOn[rule] != 0 && c.IsBeyondScreenOutRule(rules[rule])) RemoveChara(c);
    });
  }
  if (m_OutRuleOn[kRuleItems] != 0)
    g_ItemList.RemoveIf([&](const cItem& item) { return item.IsBeyondScreenOutRule(rules[kRuleItems]); });
}
