// What the sample's characters do. The hero walks on the direction keys, runs with the second
// button held and jumps on the first; walkers walk and turn at walls; the flyer swoops; the lift
// rides back and forth; the sign-post shows a message when touched, the goal sign clears the stage;
// on the firing stage a hero shoots and swings a sword while turrets fire their patterns; switches
// count up to open a door; an elder and a guide talk; a presenter shows pictures and runs effects. Items give score, a life, or clear the stage.
#include <memory>

#include "platform/host/text_codec.h"
#include "project/command_vocabulary.h"
#include "project/condition.h"
#include "project/ed_move.h"
#include "project/ed_shot.h"
#include "project/flow.h"
#include "project/flow_command.h"
#include "project/key_condition.h"
#include "tools/sample_chips.h"
#include "tools/sample_parts.h"
#include "tools/sample_records.h"

namespace {

// Flow triggers (rows of the trigger labels) and key slots used here.
constexpr std::uint8_t kTriggerTouchChara = 4;  // "キャラに当たった時"
constexpr std::uint8_t kTriggerHitSide = 10;    // "自分の左右にブロックが当たった時"
constexpr std::uint8_t kAtLeast = 2;  // ">=" of a condition
constexpr int kSlotLeft = 1;
constexpr int kSlotRight = 2;
constexpr int kSlotUp = 3;
constexpr int kSlotDown = 4;
constexpr int kSlotButton1 = kFirstButtonSlot;
constexpr int kSlotButton2 = kFirstButtonSlot + 1;
// The button lists proper (the first button slot is the list of frames with no button held).
constexpr int kSlotFirstButton = kFirstButtonSlot + 1;
constexpr int kSlotSecondButton = kFirstButtonSlot + 2;

// Move directions (MoveDirectionLabels rows).
constexpr std::uint8_t kDirLeft = 2;
constexpr std::uint8_t kDirRight = 3;
constexpr std::uint8_t kDirFront = 0;
constexpr std::uint8_t kDirDown = 7;
constexpr std::uint8_t kCircleClockwise = 0;  // the sense of a circle move

// Parameters of the commands used here, by index.
constexpr int kJumpKind = 0;       // 1: the height follows how long the key is held
constexpr int kJumpHeight = 2;     // hbl (16 dots)
constexpr int kTurnHow = 0;
constexpr int kClearHow = 0;       // 0: the next stage
constexpr int kStatusWhat = 0;     // 1: a variable
constexpr int kStatusScope = 1;    // 1: a stage variable
constexpr int kStatusIndex = 2;    // the variable
constexpr int kStatusOwner = 3;    // 2: the system
constexpr int kStatusRow = 4;      // a system status row below
constexpr int kStatusOp = 5;       // 1: add
constexpr int kStatusValue = 7;    // the constant operand
constexpr std::int32_t kSystemScore = 3;
constexpr std::int32_t kSystemLives = 4;
constexpr int kStateWhich = 1;     // 0: vanish
constexpr int kStateValue = 2;
// The stage variable the switches count in, and the count that opens the door.
constexpr std::int32_t kSwitchCounter = 1;
constexpr std::int32_t kSwitchesToOpen = 3;
constexpr std::int32_t kSwitchScore = 10;
constexpr std::int32_t kTurnAwayFromBlock = 5;
constexpr int kMessageAnchor = 0;  // 1: above the character
constexpr int kMessageEnd = 6;     // 2: after a time
constexpr int kMessageTime = 7;    // tenths of a second
constexpr int kMessageHasId = 12;
constexpr int kMessageId = 13;
constexpr int kMessageFramed = 14;
constexpr int kMessageRefresh = 16;
constexpr int kMessageKeepOnScreen = 5;
constexpr int kMessageBlock = 8;
constexpr int kMessageTextCodes = 9;
constexpr int kMessageClose = 15;
constexpr int kFlowOperation = 0;  // 2 pause, 3 resume, 5 stop for good
constexpr int kFlowScope = 1;      // 0 this flow, 2 by ID
constexpr int kFlowTargetId = 2;   // 1..26 = A..Z
constexpr int kWaitTenths = 0;
constexpr std::int32_t kFlowPause = 2;
constexpr std::int32_t kFlowResume = 3;
constexpr std::int32_t kFlowStopForGood = 5;
constexpr std::int32_t kScopeThisFlow = 0;
constexpr std::int32_t kScopeById = 2;
constexpr std::int32_t kMessageUntilKey = 0;
constexpr std::int32_t kMessageUntilStageEnd = 1;
constexpr std::int32_t kMessageTimed = 2;
constexpr std::uint8_t kTriggerBeforeStart = 18;  // "ステージ開始前"
// The guide's choice flows share this ID, so one command pauses or resumes both.
constexpr std::uint8_t kChoiceFlowId = 3;  // "C"
// The guide's offer stays in its window (this ID) until a choice closes it.
constexpr std::int32_t kOfferWindowId = 2;

cFlowCommand Command(std::uint8_t set, std::uint8_t number, std::int16_t useTime) {
  cFlowCommand command;
  command.m_CommandSet = set;
  command.m_CommandNumber = number;
  command.m_Params.assign(CommandParamCount(set, number), 0);
  command.m_UseTime = useTime;
  return command;
}

cFlowCommand WithMove(cFlowCommand command, std::uint8_t direction, std::int16_t speed) {
  NewEdMove(command.m_Move);
  command.m_Move->m_Direction = direction;
  command.m_Move->m_Speed = speed;
  return command;
}

// A straight move: speed in tenths of a dot per frame, for useTime tenths of a second.
cFlowCommand Move(std::uint8_t direction, std::int16_t speed, std::int16_t useTime) {
  return WithMove(Command(kCharaCommandSet, kCharaStraightMove, useTime), direction, speed);
}

// The hero's moves accelerate toward their top speed, so walking and running feel weighty.
cFlowCommand HeroMove(std::uint8_t direction, std::int16_t topSpeed) {
  cFlowCommand command = Move(direction, 3, 1);
  command.m_Move->m_Inertia = 1;
  command.m_Move->m_InertiaLimit = topSpeed;
  return command;
}

cFlowCommand Jump(std::int32_t heightHbl, std::int16_t sound) {
  cFlowCommand command = Command(kCharaCommandSet, kCharaJump, 1);
  command.m_Params.At(kJumpKind) = 1;
  command.m_Params.At(kJumpHeight) = heightHbl;
  command.m_Sound = sound;
  return command;
}

cFlowCommand Turn(std::int32_t how) {
  cFlowCommand command = Command(kCharaCommandSet, kCharaTurn, 1);
  command.m_Params.At(kTurnHow) = how;
  return command;
}

// Adds value to a system status of the hero's game (score, lives), as a command of an item's list
// or of a character's flow; in a flow it takes no time, so it applies once.
cFlowCommand AddToSystem(std::int32_t row, std::int32_t value, std::uint8_t set = kFlowCommandSet) {
  const bool item = set == kFlowCommandSet;
  cFlowCommand command = Command(set, item ? std::uint8_t{kFlowStatus} : std::uint8_t{kCharaStatus}, item ? 1 : 0);
  command.m_Params.At(kStatusOwner) = 2;
  command.m_Params.At(kStatusRow) = row;
  command.m_Params.At(kStatusOp) = 1;
  command.m_Params.At(kStatusValue) = value;
  return command;
}

// Adds 1 to the switches' stage variable. A status command applies on every logic step of its time:
// taking none, it applies once.
cFlowCommand CountSwitch() {
  cFlowCommand command = Command(kCharaCommandSet, kCharaStatus, 0);
  command.m_Params.At(kStatusWhat) = 1;
  command.m_Params.At(kStatusScope) = 1;
  command.m_Params.At(kStatusIndex) = kSwitchCounter;
  command.m_Params.At(kStatusOp) = 1;
  command.m_Params.At(kStatusValue) = 1;
  return command;
}

// The same count by a line of code (S1 is the switches' stage variable).
cFlowCommand CountSwitchByCode() {
  static_assert(kSwitchCounter == 1);
  cFlowCommand command = Command(kCharaCommandSet, kCharaCode, 0);
  command.m_Code = "S1 = S1 + 1";
  return command;
}

// The character running it goes from the stage.
cFlowCommand Vanish() {
  cFlowCommand command = Command(kCharaCommandSet, kCharaStatus2, 0);
  command.m_Params.At(kStateWhich) = 0;
  command.m_Params.At(kStateValue) = 1;
  return command;
}

cKeyCondition Keys(std::initializer_list<int> held) {
  cKeyCondition keys;
  for (int slot : held) keys.m_KeyStates[static_cast<std::size_t>(slot)] = kKeyHeld;
  keys.m_AnyHold = 1;
  keys.m_Combination = kKeysAll;
  return keys;
}

cFlow Flow(std::uint8_t trigger, std::initializer_list<cFlowCommand> commands) {
  cFlow flow;
  flow.m_Trigger = trigger;
  flow.m_Commands.assign(commands.begin(), commands.end());
  return flow;
}

// A flow that runs while (repeat 1) or when (repeat 0) the keys are held.
cFlow KeyFlow(std::initializer_list<int> held, std::uint8_t repeat, std::initializer_list<cFlowCommand> commands) {
  cFlow flow = Flow(kTriggerAlways, commands);
  flow.m_KeyConditions.assign(1, Keys(held));
  flow.m_KeyRepeat = repeat;
  return flow;
}

// A shot record: count objects of pattern (ShotPattern row) with its parameters, in direction, at
// speed tenths of a dot per frame, living life tenths of a second, each taking 1 HP.
struct ShotPlan {
  std::uint8_t pattern;
  std::int8_t count;
  std::int16_t p1, p2, p3;
  std::uint8_t direction;
  std::int16_t speed;
  std::int16_t life;
  std::int16_t picture;
};

cFlowCommand Fire(const ShotPlan& plan) {
  cFlowCommand command = Command(kCharaCommandSet, kCharaShot, 0);
  NewEdShot(command.m_Shot);
  cEdShot& shot = *command.m_Shot;
  shot.m_Byte36 = static_cast<std::uint8_t>(plan.count);
  shot.m_Pattern = plan.pattern;
  shot.m_PatternParams[0] = plan.p1;
  shot.m_PatternParams[1] = plan.p2;
  shot.m_PatternParams[2] = plan.p3;
  shot.m_Direction = plan.direction;
  shot.m_Speed = plan.speed;
  shot.m_LimitedLife = 1;
  shot.m_Word102 = plan.life;
  shot.m_Picture = plan.picture;
  shot.m_Word112 = 1;
  return command;
}

// One swing of sword type 1.
cFlowCommand Swing() {
  cFlowCommand command = Command(kCharaCommandSet, kCharaSword, 3);
  NewEdShot(command.m_Shot);
  command.m_Shot->m_MoveKind = 1;
  command.m_Shot->m_Word112 = 1;
  return command;
}

cFlowCommand Wait(std::int16_t tenths) { return Command(kCharaCommandSet, kCharaWait, tenths); }

void HeroFlows(cCharaDef& def) {
  // Running first: with the second button held the faster flow is the one that starts.
  def.m_Flows.push_back(KeyFlow({kSlotLeft, kSlotButton2}, 1, {HeroMove(kDirLeft, 45)}));
  def.m_Flows.push_back(KeyFlow({kSlotRight, kSlotButton2}, 1, {HeroMove(kDirRight, 45)}));
  def.m_Flows.push_back(KeyFlow({kSlotLeft}, 1, {HeroMove(kDirLeft, 25)}));
  def.m_Flows.push_back(KeyFlow({kSlotRight}, 1, {HeroMove(kDirRight, 25)}));
  def.m_Flows.push_back(KeyFlow({kSlotButton1}, 1, {Jump(9, kSoundJump)}));
}

// The firing stage's hero walks on the direction keys, shoots a star ahead on the first button
// (three a second while it is held) and swings its sword on the second.
void GunnerFlows(cCharaDef& def) {
  def.m_Flows.push_back(KeyFlow({kSlotLeft}, 1, {HeroMove(kDirLeft, 25)}));
  def.m_Flows.push_back(KeyFlow({kSlotRight}, 1, {HeroMove(kDirRight, 25)}));
  def.m_Flows.push_back(KeyFlow({kSlotFirstButton}, 1, {Fire({0, 1, 0, 1, 0, kDirFront, 60, 10, kShotStar}), Wait(3)}));
  def.m_Flows.push_back(KeyFlow({kSlotSecondButton}, 1, {Swing(), Wait(3)}));
}

// A turret fires its pattern toward the hero, each at its own pace so that the patterns take turns.
void TurretFlows(SampleChara chara, cCharaDef& def) {
  struct Turret {
    SampleChara chara;
    ShotPlan plan;
    std::int16_t pause;  // tenths of a second between volleys
  };
  static const Turret kTurrets[] = {
      {kCharaTurretStraightA, {0, 3, 1, 1, 0, kDirFront, 30, 30, kShotFireball}, 25},  // 直進A: a row of three
      {kCharaTurretStraightB, {1, 2, 1, 1, 0, kDirFront, 25, 30, kShotFireball}, 29},  // 直進B: a column of two
      {kCharaTurretSpread, {2, 3, 20, 1, 0, kDirFront, 25, 30, kShotFireball}, 33},    // 拡散: a fan of three
      {kCharaTurretThunder, {3, 2, 1, 1, 0, kDirDown, 30, 30, kShotFireball}, 37},     // 落雷 on the hero
      {kCharaTurretBurst, {4, 8, 0, 1, 0, kDirFront, 20, 30, kShotFireball}, 41},      // 爆発: a ring of eight
      {kCharaTurretSurround, {5, 6, 5, 1, 0, kDirLeft, 15, 40, kShotFireball}, 45},    // 包囲 the hero
  };
  for (const Turret& turret : kTurrets)
    if (turret.chara == chara) def.m_Flows.push_back(Flow(kTriggerAlways, {Wait(turret.pause), Fire(turret.plan)}));
}

// Walkers pace the ground and turn at walls and ledges.
void WalkerFlows(cCharaDef& def) {
  def.m_Flows.push_back(Flow(kTriggerAlways, {WithMove(Command(kCharaCommandSet, kCharaGroundTurnMove, 10), 0, 8)}));
  def.m_Flows.push_back(Flow(kTriggerHitSide, {Turn(kTurnAwayFromBlock)}));
}

// Circlers fly round a circle of two cells' radius once every three seconds.
void CirclerFlows(cCharaDef& def) {
  cFlowCommand circle = WithMove(Command(kCharaCommandSet, kCharaCircleMove, 30), kCircleClockwise, 0);
  circle.m_Move->m_Radius = 4;
  circle.m_Move->m_StartAngle = 0;
  circle.m_Move->m_Distance = 360;
  def.m_Flows.push_back(Flow(kTriggerAlways, {circle}));
}

void FlyerFlows(cCharaDef& def) {
  def.m_Flows.push_back(Flow(kTriggerAlways, {Move(kDirLeft, 12, 20), Move(kDirRight, 12, 20)}));
}

// The lift rides three seconds each way over the pit; heroes stand on it (it is a block character).
void LiftFlows(cCharaDef& def) {
  def.m_Flows.push_back(Flow(kTriggerAlways, {Move(kDirRight, 5, 30), Move(kDirLeft, 5, 30)}));
}

// Touching the sign-post shows its message above it for three seconds, in one window (ID 1) that a
// second touch sets up again rather than opening another.
void SignFlows(cCharaDef& def) {
  cFlowCommand message = Command(kCharaCommandSet, kCharaMessage, 1);
  message.m_Params.At(kMessageAnchor) = 1;
  message.m_Params.At(kMessageEnd) = 2;
  message.m_Params.At(kMessageTime) = 30;
  message.m_Params.At(kMessageHasId) = 1;
  message.m_Params.At(kMessageId) = 1;
  message.m_Params.At(kMessageFramed) = 1;
  message.m_Params.At(kMessageRefresh) = 1;
  message.m_Code = SJ("ドット島へようこそ！\n右へ進んで、星を取ればステージクリア！");
  def.m_Flows.push_back(Flow(kTriggerTouchChara, {message}));
}

// A switch touched by the hero counts once, adds to the score and goes.
void SwitchFlows(cCharaDef& def, cFlowCommand count) {
  def.m_Flows.push_back(
      Flow(kTriggerTouchChara, {count, AddToSystem(kSystemScore, kSwitchScore, kCharaCommandSet), Vanish()}));
}

// The door stands until the switches have counted up to its number, then goes.
void DoorFlows(cCharaDef& def) {
  cFlow open = Flow(kTriggerAlways, {Vanish()});
  cConditionDef counted;
  counted.m_Kind = kConditionStageVar;
  counted.m_Number = kSwitchCounter;
  counted.m_Operator = kAtLeast;
  counted.m_Value = kSwitchesToOpen;
  open.m_Conditions.assign(1, counted);
  def.m_Flows.push_back(open);
}

// A message above the character in the message frame: until the key, blocking; or by time.
cFlowCommand Say(const char* text, std::int32_t endMode, std::int32_t tenths, std::int32_t block) {
  cFlowCommand message = Command(kCharaCommandSet, kCharaMessage, 0);
  message.m_Params.At(kMessageAnchor) = 1;
  message.m_Params.At(kMessageEnd) = endMode;
  message.m_Params.At(kMessageTime) = tenths;
  message.m_Params.At(kMessageBlock) = block;
  message.m_Params.At(kMessageKeepOnScreen) = 1;
  message.m_Params.At(kMessageFramed) = 1;
  message.m_Code = SJ(text);
  return message;
}

cFlowCommand CloseWindow(std::int32_t id) {
  cFlowCommand close = Command(kCharaCommandSet, kCharaMessage, 0);
  close.m_Params.At(kMessageHasId) = 1;
  close.m_Params.At(kMessageId) = id;
  close.m_Params.At(kMessageClose) = 1;
  return close;
}

cFlowCommand FlowControl(std::int32_t operation, std::int32_t scope, std::int32_t id) {
  cFlowCommand control = Command(kCharaCommandSet, kCharaFlowControl, 0);
  control.m_Params.At(kFlowOperation) = operation;
  control.m_Params.At(kFlowScope) = scope;
  control.m_Params.At(kFlowTargetId) = id;
  return control;
}

// The elder's two messages each wait for the first button; the second follows the first in its
// window. Then the talk never starts again.
void ElderFlows(cCharaDef& def) {
  def.m_Flows.push_back(Flow(kTriggerTouchChara,
                             {Say("よくきたのう。\nボタンをおすと、はなしがすすむぞ。", kMessageUntilKey, 0, 1),
                              Say("みぎの あんないにんにも\nはなしかけてみなさい。", kMessageUntilKey, 0, 1),
                              FlowControl(kFlowStopForGood, kScopeThisFlow, 0)}));
}

// The guide talks for two seconds (a stage variable shown by a code), then offers its choice: up warps
// it three cells right, down waits a second and clears the stage. The choice flows are paused
// before the stage starts and resumed by the talk.
void GuideFlows(cCharaDef& def) {
  cFlowCommand hello = Say("ようこそ！ きみは #S1_3Z. ばんめの\nたびびとだ。", kMessageTimed, 20, 1);
  hello.m_Params.At(kMessageTextCodes) = 1;
  cFlowCommand offer = Say("うえ：ワープ　した：ゴール", kMessageUntilStageEnd, 0, 0);
  offer.m_Params.At(kMessageHasId) = 1;
  offer.m_Params.At(kMessageId) = kOfferWindowId;
  def.m_Flows.push_back(Flow(kTriggerTouchChara, {hello, offer, FlowControl(kFlowResume, kScopeById, kChoiceFlowId),
                                                  FlowControl(kFlowStopForGood, kScopeThisFlow, 0)}));
  cFlowCommand pauseChoices = FlowControl(kFlowPause, kScopeById, kChoiceFlowId);
  pauseChoices.m_Parallel = 1;
  def.m_Flows.push_back(Flow(kTriggerBeforeStart, {pauseChoices}));

  cFlowCommand warp = Command(kCharaCommandSet, kCharaWarp, 0);
  NewEdMove(warp.m_Move);
  warp.m_Move->m_TargetMode = 0;
  warp.m_Move->m_Direction = kDirRight;
  warp.m_Move->m_Distance = 6;  // hbl
  cFlow up = KeyFlow({kSlotUp}, 0, {CloseWindow(kOfferWindowId), warp, Say("ワープ！", kMessageTimed, 10, 0)});
  up.m_FlowId = kChoiceFlowId;
  def.m_Flows.push_back(up);

  cFlowCommand wait = Command(kCharaCommandSet, kCharaGameWait, 0);
  wait.m_Params.At(kWaitTenths) = 10;
  cFlowCommand clear = Command(kCharaCommandSet, kCharaStageClear, 0);
  clear.m_Params.At(kClearHow) = 0;
  cFlow down = KeyFlow({kSlotDown}, 0, {CloseWindow(kOfferWindowId), wait, clear});
  down.m_FlowId = kChoiceFlowId;
  def.m_Flows.push_back(down);
}

// The presentation commands: the effect and picture commands place what they show in one of these
// ways; the effect players take a run mode.
constexpr std::int32_t kAtChara = 1;
constexpr std::int32_t kAtHero = 2;
constexpr std::int32_t kAtScreenCell = 3;
constexpr std::int32_t kAtStageCell = 4;
constexpr std::int32_t kAtScreenCentre = 0;
constexpr std::int32_t kPictureUntilKey = 0;
constexpr std::int32_t kPictureUntilStageEnd = 1;
constexpr std::int32_t kPictureTimed = 2;
constexpr std::int32_t kRunNormal = 0;

struct EffectPlan {
  std::int32_t effect, at, column, row, offsetX, offsetY, size, wait;
};
cFlowCommand RunEffect(const EffectPlan& e) {
  cFlowCommand command = Command(kCharaCommandSet, kCharaPlayEffect, 0);
  const std::int32_t params[] = {e.effect, e.at, e.column, e.row, e.offsetX, e.offsetY, e.size, e.wait};
  for (int i = 0; i < 8; ++i) command.m_Params.At(i) = params[i];
  return command;
}

struct PicturePlan {
  std::int32_t picture, at, column, row, offsetX, offsetY, layer, scale, endMode, tenths, stopGame, fixed, useId, id;
};
cFlowCommand ShowPicture(const PicturePlan& p) {
  cFlowCommand command = Command(kCharaCommandSet, kCharaShowPicture, 0);
  const std::int32_t params[] = {p.picture, p.at,    p.column,  p.row,      p.offsetX, p.offsetY, p.layer,
                                 p.scale,   p.endMode, p.tenths, p.stopGame, p.fixed,   p.useId,   p.id};
  for (int i = 0; i < 14; ++i) command.m_Params.At(i) = params[i];
  return command;
}

// A character effect (29) or a screen effect (30): number, run mode, loop.
cFlowCommand RunEffectPlayer(std::uint8_t which, std::int32_t number, std::int32_t loop) {
  cFlowCommand command = Command(kCharaCommandSet, which, 0);
  command.m_Params.At(0) = number;
  command.m_Params.At(1) = kRunNormal;
  command.m_Params.At(2) = loop;
  return command;
}

// The presenter's show, once from the start: a sign at a stage cell behind the map that stays; a
// sparkle on itself and a spin; the banner fixed on the screen for three seconds (with an ID, so the
// next one with that ID takes its place); a burst on the hero twice its size and a shake; a picture
// that stops the game for a second; a burst the game waits for; then the banner taken away by its ID,
// the effects cleared, a wave, and a flash of the presenter.
void PresenterFlows(cCharaDef& def) {
  constexpr std::int32_t kBannerId = 1;
  def.m_Flows.push_back(Flow(
      kTriggerAlways,
      {ShowPicture({kPictureSign, kAtStageCell, 1, 4, 0, 0, 0, 100, kPictureUntilStageEnd, 0, 0, 0, 0, 0}),
       RunEffect({kEffectSparkle, kAtChara, 0, 0, 0, 0, 100, 0}),
       RunEffectPlayer(kCharaCharaEffect, kCharaEffectSpin, 0), Wait(10),
       ShowPicture({kPictureBanner, kAtScreenCentre, 0, 0, 0, -160, 1, 150, kPictureTimed, 30, 0, 1, 1, kBannerId}),
       RunEffect({kEffectBurst, kAtHero, 0, 0, 0, 0, 200, 0}),
       RunEffectPlayer(kCharaScreenEffect, kScrEffectShake, 0), Wait(15),
       ShowPicture({kPictureBanner, kAtScreenCell, 6, 1, 0, 0, 1, 100, kPictureUntilKey, 0, 0, 1, 1, kBannerId}),
       ShowPicture({kPictureStop, kAtScreenCentre, 0, 0, 0, 0, 1, 100, kPictureTimed, 10, 1, 1, 0, 0}),
       RunEffect({kEffectBurst, kAtScreenCell, 9, 6, 0, 0, 100, 1}), Wait(10),
       ShowPicture({0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 1, kBannerId}), RunEffect({0, 0, 0, 0, 0, 0, 100, 0}),
       RunEffectPlayer(kCharaScreenEffect, kScrEffectWave, 0), RunEffectPlayer(kCharaCharaEffect, kCharaEffectFlash, 0),
       FlowControl(kFlowStopForGood, kScopeThisFlow, 0)}));
}

// A command of the items stage with its first parameters; in a flow it takes no time.
cFlowCommand With(std::uint8_t set, std::uint8_t number, std::initializer_list<std::int32_t> params) {
  cFlowCommand command = Command(set, number, 0);
  int i = 0;
  for (std::int32_t v : params) command.m_Params.At(i++) = v;
  return command;
}

// A summon of palette entry index: one object straight in front, at once.
cFlowCommand Summon(std::uint8_t number, std::int16_t index) {
  cFlowCommand command = Command(kCharaCommandSet, number, 0);
  NewEdShot(command.m_Shot);
  cEdShot& shot = *command.m_Shot;
  shot.m_Byte36 = 1;
  shot.m_PatternParams[1] = 1;
  shot.m_Direction = kDirFront;
  shot.m_SummonIndex = index;
  return command;
}

// A move of number (突撃, 誘導, 画面外回避) at speed tenths of a dot per frame for useTime tenths.
cFlowCommand Chase(std::uint8_t number, std::int16_t speed, std::int16_t useTime) {
  return WithMove(Command(kCharaCommandSet, number, useTime), kDirLeft, speed);
}

// The showman floats above the items stage. Two seconds in, it aims at the hero, changes its looks,
// flashes the screen, hides the front layer, plays a sound and the castle music, blinks, shakes the
// screen, sparkles, shows the sign picture, summons a brick, a sign-post and a coin, takes a gem
// for the hero, then charges, stops, homes in and keeps on the screen; then it stays as it is.
void ShowmanFlows(cCharaDef& def) {
  constexpr std::uint8_t c = kCharaCommandSet;
  def.m_Flows.push_back(Flow(
      kTriggerAlways,
      {Wait(20), With(c, kCharaSetTarget, {0}), With(c, kCharaChangeGraphic, {kChipChara, kCharaSign, 0}),
       With(c, kCharaChangeAnimeSet, {0}), With(c, kCharaPlayAnime, {2}),
       With(c, kCharaScreenColor, {255, 255, 255, 60, 0, 2, 1, 2}), With(c, kCharaBackground, {2, 2}),
       With(c, kCharaSound, {kSoundBlock}), With(c, kCharaMusic, {kMusicCastle, 1}),
       With(c, kCharaCharaEffect, {1, 0, 0}), With(c, kCharaScreenEffect, {1, 0, 0}),
       With(c, kCharaPlayEffect, {1, 1, 0, 0, 0, 0, 100, 0}),
       With(c, kCharaShowPicture, {1, 0, 0, 0, 0, 0, 0, 100, 2, 10, 0, 1}),
       Summon(kCharaSummonBlock, kBlockBrick), Summon(kCharaSummonChara, kCharaSignDef),
       Summon(kCharaSummonItem, kItemCoin), With(c, kCharaGetItem, {0, kItemGem}),
       Chase(kCharaChargeMove, 20, 10), Command(c, kCharaCancelMove, 5), Chase(kCharaHomingMove, 15, 10),
       Chase(kCharaAvoidScreenMove, 10, 10), FlowControl(kFlowStopForGood, kScopeThisFlow, 0)}));
}

// The items stage's flow ID of the hero's extra flow, "W".
constexpr std::uint8_t kExtraFlowId = 23;

cFlowCommand ChangeHeroFlows(std::int32_t operation, std::initializer_list<cFlow> nested) {
  cFlowCommand command = With(kFlowCommandSet, kFlowChange, {operation, kExtraFlowId});
  command.m_Flows.assign(nested.begin(), nested.end());
  return command;
}

// A flow of the hero that adds points to the score every second while it has it.
cFlow Bonus(std::int32_t points) {
  cFlow bonus = Flow(kTriggerAlways, {Wait(10), AddToSystem(kSystemScore, points, kCharaCommandSet)});
  bonus.m_FlowId = kExtraFlowId;
  return bonus;
}

// The wings give the hero a point a second, with a sound, the hero's own graphic again and a shake.
void WingsCommands(cItemDef& def) {
  constexpr std::uint8_t f = kFlowCommandSet;
  def.m_Commands.assign({ChangeHeroFlows(0, {Bonus(1)}), With(f, kFlowSound, {kSoundOneUp}),
                         With(f, kFlowChangeGraphic, {kChipChara, kCharaHero, 0}), With(f, kFlowScreenEffect, {1, 0, 0})});
}

// The mask makes that five points a second; a spin, a blue flash, the front layer toggled, the stage
// music again, the hero blinking and a sparkle on it.
void MaskCommands(cItemDef& def) {
  constexpr std::uint8_t f = kFlowCommandSet;
  def.m_Commands.assign({ChangeHeroFlows(1, {Bonus(5)}), With(f, kFlowChangeAnimeSet, {0}),
                         With(f, kFlowPlayAnime, {1}), With(f, kFlowScreenColor, {0, 0, 255, 40, 0, 3, 1, 1}),
                         With(f, kFlowBackground, {2, 2}), With(f, kFlowMusic, {kMusicStage, 1}),
                         With(f, kFlowCharaEffect, {1, 0, 0}), With(f, kFlowPlayEffect, {1, 2, 0, 0, 0, 0, 100, 0})});
}

// The shell takes the points away; a count by code, score, invincibility, the hero as its own target,
// a coin taken, a short warp on, a message, a short wait and the sign picture for a second.
void ShellCommands(cItemDef& def) {
  constexpr std::uint8_t f = kFlowCommandSet;
  cFlowCommand code = Command(f, kFlowCode, 0);
  code.m_Code = "S2 = S2 + 1";
  cFlowCommand warp = Command(f, kFlowWarp, 0);
  NewEdMove(warp.m_Move);
  warp.m_Move->m_Direction = kDirRight;
  warp.m_Move->m_Distance = 2;  // hbl
  cFlowCommand message = With(f, kFlowMessage, {1, 0, 0, 0, 0, 1, 2, 10});
  message.m_Code = SJ("かいがらを ひろった！");
  def.m_Commands.assign({ChangeHeroFlows(2, {}), code, AddToSystem(kSystemScore, 50), With(f, kFlowStatus2, {0, 4, 1}),
                         With(f, kFlowSetTarget, {1}), With(f, kFlowGetItem, {0, kItemCoin}), warp, message,
                         With(f, kFlowGameWait, {5}), With(f, kFlowShowPicture, {1, 0, 0, 0, 0, 0, 0, 100, 2, 10, 0, 1})});
}

// Touching the goal sign clears the stage and goes on to the next stage of its chain.
void GoalFlows(cCharaDef& def) {
  cFlowCommand clear = Command(kCharaCommandSet, kCharaStageClear, 1);
  clear.m_Params.At(kClearHow) = 0;
  def.m_Flows.push_back(Flow(kTriggerTouchChara, {clear}));
}

}  // namespace

void AddSampleFlows(SampleChara chara, cCharaDef& def) {
  def.m_Flows.clear();
  switch (chara) {
    case kCharaHeroDef: HeroFlows(def); break;
    case kCharaWalkerDef: WalkerFlows(def); break;
    case kCharaFlyerDef: FlyerFlows(def); break;
    case kCharaCirclerDef: CirclerFlows(def); break;
    case kCharaLiftDef: LiftFlows(def); break;
    case kCharaSignDef: SignFlows(def); break;
    case kCharaGunnerDef: GunnerFlows(def); break;
    case kCharaTurretStraightA:
    case kCharaTurretStraightB:
    case kCharaTurretSpread:
    case kCharaTurretThunder:
    case kCharaTurretBurst:
    case kCharaTurretSurround: TurretFlows(chara, def); break;
    case kCharaTokenDef: SwitchFlows(def, CountSwitch()); break;
    case kCharaCodeTokenDef: SwitchFlows(def, CountSwitchByCode()); break;
    case kCharaDoorDef: DoorFlows(def); break;
    case kCharaElderDef: ElderFlows(def); break;
    case kCharaGuideDef: GuideFlows(def); break;
    case kCharaGoalDef: GoalFlows(def); break;
    case kCharaPresenterDef: PresenterFlows(def); break;
    case kCharaSparkWalkerDef: WalkerFlows(def); break;
    case kCharaShowmanDef: ShowmanFlows(def); break;
    default: break;
  }
}

void AddSampleItemCommands(SampleItem item, cItemDef& def) {
  def.m_Commands.clear();
  switch (item) {
    case kItemCoin: def.m_Commands.push_back(AddToSystem(kSystemScore, 10)); break;
    case kItemGem: def.m_Commands.push_back(AddToSystem(kSystemScore, 100)); break;
    case kItemLife: def.m_Commands.push_back(AddToSystem(kSystemLives, 1)); break;
    case kItemWings: WingsCommands(def); break;
    case kItemMask: MaskCommands(def); break;
    case kItemShell: ShellCommands(def); break;
    case kItemGoal: {
      cFlowCommand clear = Command(kFlowCommandSet, kFlowStageClear, 1);
      clear.m_Params.At(kClearHow) = 0;
      def.m_Commands.push_back(clear);
      break;
    }
    default: break;
  }
}
