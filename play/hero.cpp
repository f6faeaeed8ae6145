#include "play/hero.h"

#include <algorithm>
#include <utility>

#include "platform/audio/sound_effects.h"
#include "platform/display/blit.h"
#include "platform/display/surface.h"
#include "platform/input/input.h"
#include "play/dots.h"
#include "play/chara.h"
#include "play/flow_seam.h"
#include "play/message_window.h"
#include "play/play_scene.h"
#include "play/stage_boxes.h"

namespace {

// Jump kinds of the jump command's first parameter.
constexpr std::int32_t kJumpFixed = 0;
constexpr std::int32_t kJumpRunUp = 2;
// A jump off a block character is a little stronger; the factor is a single-precision constant.
constexpr double kBlockCharaJumpFactor = static_cast<double>(1.02f);
// A key jump released early keeps this part of its rising speed.
constexpr double kCutJumpFactor = 0.3;

// Overlay colours: colour number n (0..7) of the stage is palette colour 208 + 4n.
constexpr std::int32_t kOverlayFirstColour = 208;
constexpr std::int32_t kOverlayColourStep = 4;
constexpr std::int32_t kOverlayColours = 8;

// The dark view of field-of-view modes 2 and 4 reaches forward, in the direction the hero faces.
bool DarknessLooksAhead(std::int32_t mode) { return mode == 2 || mode == 4; }


void SetCentredBox(cSubBox& box, const StageBox& size, std::int32_t drawOffsetX, std::int32_t drawOffsetY) {
  box.m_OffsetX = box.m_BaseOffsetX = 16 - size.width / 2 - drawOffsetX;
  box.m_OffsetY = box.m_BaseOffsetY = 16 - size.height / 2 - drawOffsetY;
  box.m_Width = box.m_BaseWidth = size.width;
  box.m_Height = box.m_BaseHeight = size.height;
}

std::int32_t Param(const cFlowCommand* command, std::int32_t i) {
  if (command == nullptr || i >= command->m_Params.Size()) return 0;
  return command->m_Params[static_cast<std::size_t>(i)];
}

// The camera position that centres an object of size on position, within the scroll range.
double FollowCamera(const ScrollAxis& axis, double position, std::int32_t size, std::int32_t half) {
  double pos = position - (half - size / 2);
  if (pos < axis.m_Min)
    pos = axis.m_Min;
  else if (pos + axis.m_ViewSize >= axis.m_Max)
    pos = std::max(axis.m_Max - axis.m_ViewSize, axis.m_Min);
  return pos;
}

std::int32_t ScreenEdge(double position, std::int32_t drawOffset, const ScrollAxis& axis) {
  if (axis.m_AutoOn != 0) return TruncDot(position) - TruncDot(axis.m_Pos) - drawOffset;
  return TruncDot(position - drawOffset - TruncDot(axis.m_Pos));
}

}  // namespace

void UpdateScreenRectKeepingPixels(cGameObj& obj) {
  obj.m_ScreenLeft = ScreenEdge(obj.m_X1, obj.m_DrawOffsetX, g_PlayScene->m_ScrollX);
  obj.m_ScreenRight = obj.m_ScreenLeft + obj.m_DrawWidth - 1;
  obj.m_ScreenTop = ScreenEdge(obj.m_Y1, obj.m_DrawOffsetY, g_PlayScene->m_ScrollY);
  obj.m_ScreenBottom = obj.m_ScreenTop + obj.m_DrawHeight - 1;
}

cHero::cHero() = default;

// The queued flow changes, the overlay and the taken items go first, then the character part.
cHero::~cHero() = default;

void cHero::Setup(std::int32_t id, const cCharaDef& def, double homeX, double homeY) {
  cCharaBase::Init(&def, homeX, homeY, 0);
  if (m_Def.m_Enlargement == 0) m_Def.m_Enlargement = 1;
  std::int32_t ox = 0;
  std::int32_t oy = 0;
  std::int32_t w = 0;
  std::int32_t h = 0;
  DefaultBoxSizes(ox, oy, w, h);
  cGameObj::Init(id, m_Def.m_Operator, m_Def.m_Player, CharaGroupOf(m_Def), m_Def.m_ChipIndex, nullptr, 0, ox, oy, w,
                 h, 32, 32, 1, 0, 0);
  // A player byte without an input device reads no keys rather than another player's.
  m_Input = m_Def.m_Player < g_Inputs.size() ? &g_Inputs[m_Def.m_Player] : nullptr;
  ApplyFlightMode(m_Def.m_Flight, 0);
  SetScale(Scale(), 1);
  m_Direction = m_PrevDirection = m_Def.m_Facing;
  m_J6 = 0;
  m_JumpBlocked = 0;
  m_JumpHoldCounter = 0;
  m_JumpAllowed = 1;
  m_StepWords[0] = m_StepWords[1] = 0;
  BuildHitBoxOverlay();
  m_TakenItems.clear();
  m_CellItemSteps = 0;
  AddFlows(*this, m_Def.m_Flows, m_Direction, 0, 0);
}

void cHero::DefaultBoxSizes(std::int32_t& drawOffsetX, std::int32_t& drawOffsetY, std::int32_t& width,
                            std::int32_t& height) const {
  const StageBox hit = ReadStageBox(m_Flying != 0 ? kHeroBoxes.hitFlying : kHeroBoxes.hitOnFoot);
  width = hit.width;
  height = hit.height;
  drawOffsetX = (32 - width) >> 1;
  drawOffsetY = hit.bottom != 0 ? 32 - height : (32 - height) >> 1;
}

void cHero::ApplyFlightMode(std::int32_t mode, std::int32_t rescale) {
  m_Def.m_Flight = static_cast<std::uint8_t>(mode);
  const std::int32_t wasFlying = m_Flying;
  SetFlightMode(mode);
  if (m_Flying != wasFlying) {
    m_Countdown = 2;
    if (m_Flying == 0) m_Vx = m_Vy = m_DriveX = m_DriveY = 0.0;
  }

  std::int32_t ox = 0;
  std::int32_t oy = 0;
  std::int32_t w = 0;
  std::int32_t h = 0;
  DefaultBoxSizes(ox, oy, w, h);
  m_Width = m_BaseWidth = w;
  m_Height = m_BaseHeight = h;
  m_DrawWidth = m_BaseDrawWidth = 32;
  m_DrawHeight = m_BaseDrawHeight = 32;
  m_DrawOffsetX = m_BaseDrawOffsetX = ox;
  m_DrawOffsetY = m_BaseDrawOffsetY = oy;

  switch (m_Def.m_BodyBox) {
    case 0: {
      const StageBox body = ReadStageBox(m_Flying != 0 ? kHeroBoxes.bodyFlying : kHeroBoxes.bodyOnFoot);
      SetBodyBox(body.bottom, body.width, body.height);
      break;
    }
    case 1: {
      const StageBox body = ReadStageBox(kHeroBoxes.shotBox);
      SetBodyBox(0, body.width, body.height);
      break;
    }
    case 2: {
      const StageBox body = ReadStageBox(kHeroBoxes.secondBody);
      SetBodyBox(0, body.width, body.height);
      break;
    }
    case 3:
      SetBodyBox(0, 32, 32);
      break;
    default:
      break;
  }
  SetCentredBox(m_ShotBox, ReadStageBox(kHeroBoxes.shotBox), ox, oy);
  SetCentredBox(m_PickupBox, ReadStageBox(kHeroPickupBox), ox, oy);

  if (rescale != 0) {
    const std::int32_t scale = Scale();
    m_Width *= scale;
    m_Height *= scale;
    m_DrawOffsetX *= scale;
    m_DrawOffsetY *= scale;
    m_DrawWidth *= scale;
    m_DrawHeight *= scale;
    ScaleSubBoxes(scale);
  }
  BuildHitBoxOverlay();
}

void cHero::BuildHitBoxOverlay() {
  struct OverlayRow {
    std::int32_t kind;
    std::int32_t modeField;
    std::int32_t width;
    std::int32_t height;
  };
  const OverlayRow rows[] = {
      {kOverlayHit, kOverlayModeHit, m_Width, m_Height},
      {kOverlayPickup, kOverlayModePickup, m_PickupBox.m_Width, m_PickupBox.m_Height},
      {kOverlayBody, kOverlayModeBody, m_BodyBox.m_Width, m_BodyBox.m_Height},
      {kOverlayShot, kOverlayModeShot, m_ShotBox.m_Width, m_ShotBox.m_Height},
  };
  m_Overlay.clear();
  for (const OverlayRow& row : rows) {
    cBoxOverlayRec rec;
    rec.m_Kind = row.kind;
    rec.m_Mode = g_Stage.Field(static_cast<StageField>(row.modeField));
    // A colour number the settings do not offer would reach past the overlay colours.
    const std::int32_t number =
        std::clamp(g_Stage.Field(static_cast<StageField>(row.modeField + kOverlayColourOffset)), 0, kOverlayColours - 1);
    rec.m_Colour = kOverlayFirstColour + kOverlayColourStep * number;
    rec.m_Width = row.width;
    rec.m_Height = row.height;
    m_Overlay.push_back(rec);
  }
  // Largest first, equal areas in the order above: an insertion sort of the four, which needs no
  // buffer.
  const auto area = [](const cBoxOverlayRec& r) { return std::int64_t{r.m_Width} * r.m_Height; };
  for (std::size_t i = 1; i < m_Overlay.size(); ++i)
    for (std::size_t j = i; j > 0 && area(m_Overlay[j]) > area(m_Overlay[j - 1]); --j)
      std::swap(m_Overlay[j], m_Overlay[j - 1]);
}

void cHero::UpdateScreenRect() { UpdateScreenRectKeepingPixels(*this); }

void RefreshScreenRect(cCharaBase& chara) {
  if (auto* hero = dynamic_cast<cHero*>(&chara))
    hero->UpdateScreenRect();
  else
    chara.UpdateScreenRect();
}

bool cHero::IsItemNew(std::int32_t itemId) const {
  return std::find(m_TakenItems.begin(), m_TakenItems.end(), itemId) == m_TakenItems.end();
}

void cHero::ForgetTakenItem(std::int32_t itemId) { m_TakenItems.EraseValue(itemId); }

void cHero::ShowItemMessage(std::int32_t graphicKind, std::int32_t chipNumber, std::int32_t graphicPage) {
  OpenMessageWindow(ItemIconSettings(graphicKind, chipNumber, graphicPage, m_Id));
}

void cHero::DrawDarkness(DDSURFACEDATA* surface) const {
  const std::int32_t mode = m_Def.m_SightShape;
  if (surface == nullptr || mode == 0) return;
  DDSURFACEDATA& picture = g_SurfaceTable[kDarknessSurface];
  // The picture is at least the view's size once built; one that is not built shows nothing.
  if (picture.width < kViewWidth || picture.height < kViewHeight) return;
  std::int32_t sx = picture.width / 2 - m_DrawWidth / 2 - m_ScreenLeft;
  std::int32_t sy = picture.height / 2 - m_DrawHeight / 2 - m_ScreenTop;
  if (DarknessLooksAhead(mode)) sx += Facing() * (m_DrawWidth / 2) - Facing() * m_Sight;
  sx = std::clamp(sx, 0, picture.width - kViewWidth);
  sy = std::clamp(sy, 0, picture.height - kViewHeight);
  DDBlt(surface, 0, 0, kViewWidth, kViewHeight, &picture, sx, sy, 1);
}

void cHero::ScaleSubBoxes(std::int32_t scale) {
  ScaleSubBox(m_BodyBox, scale);
  ScaleSubBox(m_ShotBox, scale);
  ScaleSubBox(m_PickupBox, scale);
}

void cHero::UpdateSubBoxesX() {
  for (cSubBox* box : {&m_BodyBox, &m_ShotBox, &m_PickupBox}) PlaceSubBoxX(*box, TruncDot(m_X1));
}

void cHero::UpdateSubBoxesY() {
  for (cSubBox* box : {&m_BodyBox, &m_ShotBox, &m_PickupBox}) PlaceSubBoxY(*box, TruncDot(m_Y1));
}

std::int32_t cHero::OnMovedX() {
  ScrollAxis& axis = g_PlayScene->m_ScrollX;
  if (axis.m_AutoOn == 0) axis.m_Pos = FollowCamera(axis, m_X1, m_Width, kViewWidth / 2);
  // On foot the hero stays inside the stage; flying, inside the scroll range.
  return ClampToStageX(m_Flying != 0 ? 0 : 1);
}

std::int32_t cHero::OnMovedY() {
  ScrollAxis& axis = g_PlayScene->m_ScrollY;
  if (axis.m_AutoOn == 0) axis.m_Pos = FollowCamera(axis, m_Y1, m_Height, kViewHeight / 2);
  return ClampToStageY(m_Flying != 0 ? 0 : 1);
}

std::int32_t cHero::StepX() {
  TakeKnockBackOrDriveX();
  m_Vx = std::clamp(m_Vx, -g_MaxSpeed, g_MaxSpeed);
  m_X1 += m_Vx;
  OnMovedX();
  // A hero is never removed by a side of the map.
  return 0;
}

std::int32_t cHero::StepY() {
  VerticalKnockBackStep();
  if (m_Flying != 0 && m_KnockVy == 0) {
    DampDrive(m_DriveY, m_FrictionY);
    m_Vy += m_DriveY;
  }
  const std::int32_t code = MoveY(m_Flying != 0 ? 0 : 2);
  OnMovedY();
  if (m_Flying == 0 && (code == kClampBelowStage || code == kClampFellOutOfMap)) return kStepFellOut;
  return code;
}

const cFlow* cHero::RunningFlowOf(const cCommandInstance& instance) const {
  for (const cFlowRunner& runner : m_Runners) {
    const cCommandInstance* first = runner.m_Instances.data();
    if (&instance >= first && &instance < first + runner.m_Instances.size()) return runner.m_Flow;
  }
  return nullptr;
}

void cHero::Jump(cCommandInstance& instance) {
  if (m_Flying != 0 || m_JumpDoneThisStep != 0) return;
  const cFlowCommand* command = instance.m_Command;
  const std::int32_t kind = Param(command, 0);
  const cFlow* flow = RunningFlowOf(instance);
  const bool hasKeys = flow != nullptr && !flow->m_KeyConditions.empty();
  const bool held = hasKeys && m_Input != nullptr && KeyStateMatches(*m_Input, flow->m_KeyConditions.back());
  const bool pressed = kind == kJumpFixed || held;
  const std::int16_t sound = command != nullptr ? command->m_Sound : 0;

  if (kind == kJumpRunUp) {
    const double s = std::abs(m_DriveX);
    const double a = Param(command, 1) / (10 * g_StepsPerFrameF);
    const double b = Param(command, 3) / (10 * g_StepsPerFrameF);
    const std::int32_t high = Param(command, 2);
    const std::int32_t low = Param(command, 4);
    std::int32_t height = 0;
    if (s >= a)
      height = high;
    else if (s <= b)
      height = low;
    else
      height = TruncDot(low + (high - low) * s / a);
    instance.m_Speed = JumpSpeedForHeight(height * 16.0);
  }

  // A blocked jump counts as a released key: it cannot start, and a rising one is cut.
  if ((kind == kJumpFixed || held) && m_JumpBlocked == 0) {
    ++m_JumpHoldCounter;
    if (m_JumpHoldCounter >= instance.m_Duration) {
      // Held to the end: the jump rises no more by the key.
      if ((m_J3 == 0 || m_OnBlockChara != 0) && m_JumpAllowed != 0 && m_J6 == 0 && (m_Vy < 0 || m_OnBlockChara != 0)) {
        m_J3 = 1;
        m_JumpAllowed = 0;
      }
    } else if (m_J2 == 0 && m_JumpHoldCounter <= g_StepsPerFrame && !(m_J3 != 0 && m_OnBlockChara == 0) &&
               m_JumpAllowed != 0 && m_J6 == 0 && m_Knocked == 0 && instance.m_Started == 0) {
      m_J4 = 1;
      if (m_OnBlockChara == 0) {
        m_Vy = instance.m_Speed;
        instance.m_Started = 1;
        PlaySEOffset(sound);
      } else if (g_PlayScene->m_StepInFrame == g_StepsPerFrame) {
        // Off a block character only once it has moved for the whole frame.
        m_OnBlockChara = 0;
        m_Vy = instance.m_Speed * kBlockCharaJumpFactor;
        instance.m_Started = 1;
        PlaySEOffset(sound);
      }
    }
  } else {
    if (m_JumpHoldCounter > 0 && m_JumpHoldCounter < instance.m_Duration && m_J3 == 0 && m_J6 == 0 &&
        m_JumpBlocked == 0 && m_Knocked == 0) {
      m_OnBlockChara = 0;
      if (m_Vy < 0) m_Vy *= kCutJumpFactor;
      m_J3 = 1;
    }
    m_JumpHoldCounter = 0;
    m_JumpAllowed = 1;
    m_J6 = 0;
  }

  if (IsOnGround() && m_Vy >= 0 && (!hasKeys || !pressed)) {
    m_JumpHoldCounter = 0;
    m_JumpAllowed = 1;
    m_J6 = 0;
    m_Knocked = 0;
    instance.m_Started = 0;
    // A key jump whose key is up ends its command; a fixed jump can repeat.
    if (hasKeys) instance.m_StepsLeft = 0;
  }
  m_JumpDoneThisStep = 1;
}
