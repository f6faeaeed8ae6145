#include "play/chara.h"

#include <iterator>

#include "platform/audio/sound_effects.h"
#include "play/chip_sheets.h"
#include "play/dots.h"
#include "play/flow_seam.h"
#include "play/play_scene.h"
#include "play/stage_boxes.h"

namespace {

// Which axes the activation test skips, by the definition's activity range: on screen, x only on
// screen, y only on screen, anywhere.
struct IgnoredAxes {
  std::int32_t x;
  std::int32_t y;
};
constexpr IgnoredAxes kActivityRanges[] = {
    {0, 0},
    {0, 1},
    {1, 0},
    {1, 1},
};

// Activation mode 1: once active, always active.
constexpr std::uint8_t kActiveForGood = 1;

// The held-item icon shows from this call of every cycle to its end.
constexpr std::int32_t kIconFirstCall = 64;
constexpr std::int32_t kIconCycle = 96;

void SetBox(cSubBox& box, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  box.m_OffsetX = box.m_BaseOffsetX = x;
  box.m_OffsetY = box.m_BaseOffsetY = y;
  box.m_Width = box.m_BaseWidth = w;
  box.m_Height = box.m_BaseHeight = h;
}


}  // namespace

std::int32_t CharaGroupOf(const cCharaDef& def) { return def.m_SpareByte2; }
std::int32_t ExtraCopiesOf(const cCharaDef& def) { return static_cast<std::int8_t>(def.m_SpareByte1); }

cChara::cChara() = default;

// The held item goes first, then the character part (which unlinks it everywhere).
cChara::~cChara() = default;

void cChara::Setup(std::int32_t id, const cCharaDef& def, const cItem* heldItem, double homeX, double homeY,
                   std::uint16_t tag) {
  cCharaBase::Init(&def, homeX, homeY, tag);
  if (m_Def.m_Enlargement == 0) m_Def.m_Enlargement = 1;
  const bool block = m_Def.m_BlockChara != 0;
  const bool flying = m_Def.m_Flight != 0;
  std::int32_t w = 32;
  std::int32_t h = 32;
  std::int32_t ox = 0;
  std::int32_t oy = 0;
  if (!block) {
    const StageBox hit = ReadStageBox(flying ? kCharaBoxes.hitFlying : kCharaBoxes.hitOnFoot);
    w = hit.width;
    h = hit.height;
    ox = (32 - w) >> 1;
    oy = hit.bottom != 0 ? 32 - h : (32 - h) >> 1;
  }
  cGameObj::Init(id, m_Def.m_Operator, m_Def.m_Player, CharaGroupOf(m_Def), m_Def.m_ChipIndex, nullptr, 0, ox, oy, w,
                 h, 32, 32, m_Def.m_Facing, m_Def.m_Flight, tag);

  if (block) {
    SetBox(m_BodyBox, 0, 0, 32, 32);
    SetBox(m_ShotBox, 0, 0, 32, 32);
  } else {
    StageBox body;
    bool known = true;
    switch (m_Def.m_BodyBox) {
      case 0:
        body = ReadStageBox(m_Flying != 0 ? kCharaBoxes.bodyFlying : kCharaBoxes.bodyOnFoot);
        break;
      case 1:
        body = ReadStageBox(kCharaBoxes.shotBox);
        break;
      case 2:
        body = ReadStageBox(kCharaBoxes.secondBody);
        break;
      case 3:
        body = StageBox{m_DrawWidth, m_DrawHeight, 0};
        break;
      default:
        known = false;
        break;
    }
    if (known) SetBodyBox(body.bottom, body.width, body.height);
    const StageBox shot = ReadStageBox(kCharaBoxes.shotBox);
    SetBox(m_ShotBox, 16 - shot.width / 2 - ox, 16 - shot.height / 2 - oy, shot.width, shot.height);
  }
  SetScale(Scale(), 1);

  m_RunsThisStep = 0;
  m_IconCounter = 0;
  if (heldItem != nullptr) {
    m_HeldItem = *heldItem;
  } else {
    m_HeldItem.m_Def.m_ChipIndex = 0;
    m_HeldItem.m_Graphic = 0;
  }
  const std::uint8_t range = m_Def.m_ActivityRange;
  const IgnoredAxes axes = range < std::size(kActivityRanges) ? kActivityRanges[range] : IgnoredAxes{0, 0};
  m_IgnoreX = axes.x;
  m_IgnoreY = axes.y;
  m_ActivatedOnce = 0;
  m_ReservedState = 0;

  m_Anime.SetPattern(m_Flying != 0 ? 0 : 1, 1);
  AddFlows(*this, m_Def.m_Flows, m_Direction, 0, 0);
}

void cChara::PlaceAtCell(std::int32_t column, std::int32_t row) {
  m_X1 = (static_cast<double>(g_PlayScene->TileOriginX()) + column) * 32 + m_BaseDrawOffsetX + 0.5;
  m_Y1 = (static_cast<double>(g_PlayScene->TileOriginY()) + row) * 32 + m_BaseDrawOffsetY;
  RescaleX(Scale(), 1);
  OnMovedX();
  OnMovedY();
}

std::int32_t cChara::UpdateActive(CheckedVector<std::uint8_t>& groupFlags) {
  m_Active = IsOnScreenAxis(m_IgnoreX != 0, m_IgnoreY != 0) ? 1 : 0;
  if (m_Active != 0 && m_Def.m_GroupActivation != 0) groupFlags.At(m_Def.m_GroupNumber) = 1;
  return m_Active;
}

std::int32_t cChara::CheckFirstActivation(CheckedVector<std::uint8_t>& groupFlags) {
  const bool groupActive = m_Def.m_GroupActivation != 0 && groupFlags.At(m_Def.m_GroupNumber) != 0;
  // A walking character finishes a jump or a fall it began while active, wherever it goes.
  const bool stillMoving = m_Flying == 0 && (m_J4 != 0 || (m_ActivatedOnce != 0 && m_J2 != 0));
  if (m_Active == 0 && !groupActive && !stillMoving) {
    m_RunsThisStep = 0;
    return 0;
  }
  m_ActivatedOnce = 1;
  if (m_Def.m_ActivationMode == kActiveForGood) m_IgnoreX = m_IgnoreY = 1;
  UpdateScreenRect();
  m_RunsThisStep = 1;
  return 1;
}

bool cChara::OverlapsRect(double ax1, double ay1, double ax2, double ay2) const {
  return m_X1 <= ax2 && ax1 <= m_X2 && m_Y1 <= ay2 && ay1 <= m_Y2;
}

void cChara::DrawHeldItemIcon(DDSURFACEDATA* surface) {
  if (m_HeldItem.m_Held == 0 || m_OnScreen == 0 || m_Def.m_Transparent != 0 || m_HeldItem.m_Def.m_Hidden != 0)
    return;
  ++m_IconCounter;
  if (m_IconCounter >= kIconFirstCall) {
    const std::int32_t x = m_ScreenLeft + m_DrawWidth / 2 - m_HeldItem.m_DrawWidth / 4;
    const std::int32_t y = m_ScreenTop - m_HeldItem.m_DrawHeight / 2;
    DrawChipIcon(surface, x, y, m_HeldItem.m_Def.m_ChipSource, m_HeldItem.m_Graphic, m_HeldItem.m_Def.m_ChipFrame);
  }
  if (m_IconCounter >= kIconCycle) m_IconCounter = 0;
}

void cChara::ScaleSubBoxes(std::int32_t scale) {
  if (m_Def.m_BlockChara != 0) {
    // A block character's boxes are its hit box at every size.
    for (cSubBox* box : {&m_BodyBox, &m_ShotBox}) {
      box->m_OffsetX = box->m_OffsetY = 0;
      box->m_Width = m_Width;
      box->m_Height = m_Height;
    }
    return;
  }
  ScaleSubBox(m_BodyBox, scale);
  ScaleSubBox(m_ShotBox, scale);
}

void cChara::UpdateSubBoxesX() {
  for (cSubBox* box : {&m_BodyBox, &m_ShotBox}) PlaceSubBoxX(*box, TruncDot(m_X1));
}

void cChara::UpdateSubBoxesY() {
  for (cSubBox* box : {&m_BodyBox, &m_ShotBox}) PlaceSubBoxY(*box, TruncDot(m_Y1));
}

std::int32_t cChara::StepX() {
  TakeKnockBackOrDriveX();
  const std::int32_t code = MoveX(2);
  OnMovedX();
  return code == kClampMapEdge ? kStepLeftStageSide : code;
}

std::int32_t cChara::StepY() {
  VerticalKnockBackStep();
  if (m_KnockVy == 0 && m_Flying != 0 && m_DriveY != 0) {
    DampDrive(m_DriveY, m_FrictionY);
    m_Vy += m_DriveY;
  }
  const std::int32_t code = MoveY(2);
  OnMovedY();
  if (m_Flying == 0) return code == kClampBelowStage || code == kClampFellOutOfMap ? kStepFellOut : code;
  return code == kClampMapEdge || code == kClampFellOutOfMap ? kStepFlewOut : code;
}

void cChara::Jump(cCommandInstance& instance) {
  // Only from the ground: not in the air since set-up or the last jump, not under a ceiling, not
  // knocked back, not between steps of a fall.
  if (m_J2 != 0 || m_J6 != 0 || m_Knocked != 0 || m_J7 != 0) return;
  if (instance.m_Command != nullptr) PlaySEOffset(instance.m_Command->m_Sound);
  m_Vy = instance.m_Speed;
  m_J4 = m_J3 = 1;
  m_OnBlockChara = 0;
}
