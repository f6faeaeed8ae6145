// How heroes and characters are put on the screen: the animation frame that shows, the graphic and
// tint of their state, the renderer of their character effect, their mark, and their death.
#include "play/chara_draw.h"

#include <climits>

#include "platform/display/display.h"
#include "platform/display/surface.h"
#include "play/chara_base.h"
#include "play/chara_effect.h"
#include "project/database.h"
#include "project/system_data.h"
#include "shell/hbt_palette.h"
#include "shell/scene_manager.h"

namespace {

// A player without patterns (a database without animation sets) has no value to give; it shows
// frame 0.
std::int32_t AnimeValue(const cAnimePattern& anime) { return anime.PatternCount() > 0 ? anime.GetValue() : 0; }

// The chip of frame `frame` of the character's current state, at its screen rectangle as it stands.
void BuildRequest(const cCharaBase& chara, cCharaDrawRequest& request, std::int32_t frame) {
  const std::int32_t base = chara.GraphicBase(request);
  GetChipSource(request, kChipForObject, chara.m_Def.m_ChipSource, chara.m_Graphic, base, chara.m_Direction, frame);
  request.m_X = chara.m_ScreenLeft;
  request.m_Y = chara.m_ScreenTop;
  request.m_Width = chara.m_DrawWidth;
  request.m_Height = chara.m_DrawHeight;
}

// Mark m of the mark sheet over the character's rectangle: copied at scale 1, stretched from the
// shared copy to the drawn size at a larger scale.
void DrawCharaMark(const cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest& request) {
  const std::int32_t mark = chara.m_Def.m_MarkNumber;
  const std::int32_t sx = mark / kChipsPerColumn * kChipSize;
  const std::int32_t sy = mark % kChipsPerColumn * kChipSize;
  if (chara.Scale() <= 1) {
    DDBlt(dst, request.m_X, request.m_Y, kChipSize, kChipSize, &g_SurfaceTable[kMarkSheet], sx, sy, 1);
  } else {
    DDStretchBlt(dst, request.m_X, request.m_Y, chara.m_DrawWidth, chara.m_DrawHeight,
                 &g_SurfaceTable[kMarkSheetShared], sx, sy, chara.m_BaseDrawWidth, chara.m_BaseDrawHeight, 1);
  }
}

}  // namespace

bool DrawnAtCellSize(const cCharaBase& chara, const cCharaDrawRequest& request) {
  const std::int32_t scale = chara.Scale();
  return request.m_LargeCells == 0 ? scale <= 1 : scale == request.m_CellScale;
}

std::int32_t DrawCharaPlain(const cCharaBase& chara, DDSURFACEDATA* dst, const cCharaDrawRequest* request,
                            std::int32_t draw) {
  if (draw == 0 || request == nullptr || request->m_Surface == nullptr) return 0;
  const DrawState* tint = request->m_TintOn != 0 ? &request->m_Tint : nullptr;
  if (DrawnAtCellSize(chara, *request)) {
    DDBltState(dst, request->m_X, request->m_Y, request->m_Width, request->m_Height, request->m_Surface,
               request->m_SourceX, request->m_SourceY, 1, tint);
  } else {
    DDStretchBltState(dst, request->m_X, request->m_Y, request->m_Width, request->m_Height,
                      request->m_SharedSurface, request->m_SourceX, request->m_SourceY,
                      chara.m_BaseDrawWidth * request->m_CellScale, chara.m_BaseDrawHeight * request->m_CellScale, 1,
                      tint);
  }
  return 0;
}

std::int32_t cCharaBase::ChooseAnimeFrame(std::int32_t freeze) {
  if (freeze == 0) {
    m_Anime.Step();
    for (auto it = m_FlowAnimations.begin(); it != m_FlowAnimations.end();) {
      if (it->m_Paused != 0) {
        ++it;
        continue;
      }
      // A negative value after the step is the end mark of the pattern: the animation is over.
      if (it->m_Anime.Step() < 0) {
        it = m_FlowAnimations.erase(it);
      } else {
        --it->m_FramesLeft;
        ++it;
      }
    }
  }
  if (m_FlowAnimations.empty()) return AnimeValue(m_Anime);

  // Among timed animations the one closest to its end shows; once they have run out, the search
  // turns to those that ran out, as their order and frames left say. An untimed one shows only when
  // it comes before every timed one.
  const cFlowAnimation* best = nullptr;
  std::int32_t bestValue = INT_MAX;
  bool expired = false;
  for (const cFlowAnimation& entry : m_FlowAnimations) {
    if (entry.m_Paused != 0) continue;
    if (entry.m_HasTimeLimit == 0) {
      if (best == nullptr) best = &entry;
      continue;
    }
    const std::int32_t v = entry.m_FramesLeft;
    bool take = false;
    if (expired) {
      take = v <= 0 && bestValue <= 0 && v > bestValue;
    } else if (v < bestValue) {
      take = true;
    } else if (v < 1 && bestValue < 1) {
      take = true;
      expired = true;
    }
    if (take) {
      best = &entry;
      bestValue = v;
    }
  }
  return AnimeValue(best != nullptr ? best->m_Anime : m_Anime);
}

std::int32_t cCharaBase::GraphicBase(cCharaDrawRequest& request) const {
  std::int32_t base = m_Def.m_ChipFrame;
  request.m_TintOn = 0;
  request.m_Tint = DrawState{};
  // Without animation sets there are no offsets to add.
  const cAnimeSetDef* set = g_Database.m_AnimeSets.empty() ? nullptr : &g_Database.m_AnimeSets.At(m_Def.m_AnimeSet);
  if (set == nullptr) return base;
  if (m_Def.m_Flight != 0) base += set->m_FlightCellOffset;
  if (m_Def.m_BlockChara != 0) base += set->m_BlockCellOffset;
  if (m_Def.m_Invincible != 0) {
    base += set->m_InvincibleCellOffset;
    // Entry 0 of the system colours is empty: a tint index of 0, or one past the nine colours,
    // chooses no tint.
    const std::int32_t index = m_Def.m_ColorEffect;
    if (DisplayIsD3D() && g_System.m_SystemColourTint != 0 && index >= 1 && index < kSystemColourCount) {
      const SystemColour& colour = g_SystemColours[static_cast<std::size_t>(index)];
      request.m_TintOn = 1;
      request.m_Tint = DrawState{colour.argb, colour.op};
    }
  }
  return base;
}

void cCharaBase::Draw(DDSURFACEDATA* surface, std::int32_t freeze) {
  const std::int32_t frame = ChooseAnimeFrame(freeze);
  if (m_HiddenThisStep != 0 || m_Def.m_Transparent != 0) {
    StepEffectOnly(freeze);
    return;
  }
  UpdateScreenRect();
  cCharaDrawRequest request;
  BuildRequest(*this, request, frame);
  if (m_ScreenOverride != 0) {
    request.m_X = m_ScreenX;
    request.m_Y = m_ScreenY;
  }
  if (RunCharaEffect(*this, surface, &request, freeze, 1) != 0) m_CharaEffect.m_Number = 0;
  if (m_Def.m_MarkMode == 1) DrawCharaMark(*this, surface, request);
}

std::int32_t cCharaBase::DrawDying(DDSURFACEDATA* surface, std::int32_t freeze) {
  cCharaDrawRequest request;
  BuildRequest(*this, request, 0);
  const bool effectRunning = m_CharaEffect.m_Number != 0;
  if (m_Operator == 0) {
    // A hero's death lasts one second after its effect, so the player sees it go.
    if (!effectRunning) {
      if (freeze != 0) return 0;
      ++m_DeathCounter;
      return m_DeathCounter > g_SceneManager.m_FrameRate ? 1 : 0;
    }
    if (RunCharaEffect(*this, surface, &request, freeze, 1) != 0) m_CharaEffect.m_Number = 0;
    return 0;
  }
  if (!effectRunning) return 1;
  if (RunCharaEffect(*this, surface, &request, freeze, 1) == 0) return 0;
  m_CharaEffect.m_Number = 0;
  return 1;
}

void cCharaBase::StepEffectOnly(std::int32_t freeze) {
  if (RunCharaEffect(*this, nullptr, nullptr, freeze, 0) != 0) m_CharaEffect.m_Number = 0;
}
