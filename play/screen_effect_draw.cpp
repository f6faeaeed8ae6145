// The renderers of the screen effects, one per kind. Most take the finished frame into a work
// surface, clear the frame to palette colour 16 and draw the work surface back transformed; then,
// unless the frame is frozen, they move their values on for the next frame: a frame shows the
// values the previous one left.
#include <algorithm>
#include <cmath>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/frame_draw.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/surface.h"
#include "play/chip_sheets.h"
#include "play/dots.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/screen_effect.h"
#include "play/stage_draw.h"

namespace {

constexpr std::int32_t kScreenW = 640;
constexpr std::int32_t kScreenH = 480;
// What the frame shows where the moved picture no longer covers it.
constexpr std::uint32_t kBlankColour = 16;
// 拡大's width as a zoom factor: the width over the screen's.
constexpr double kPerScreenWidth = 0.0015625;

const double s_Sqrt2 = std::sqrt(2.0);

cScrEffectPlayer& Player(cPlayScene& scene) { return scene.m_ScreenEffect; }
const std::int32_t* Params(const cScrEffectPlayer& player) { return player.m_Def->m_Params; }

// The running time in tenths of a second; a time below its lowest, 1, is taken as 1 so that every
// effect has a step and ends.
std::int32_t Tenths(const cScrEffectPlayer& player) { return std::max(Params(player)[0], 1); }
// A count that divides the screen (strips, line groups, roughness): at least 1.
std::int32_t Divisor(std::int32_t value) { return std::max(value, 1); }

DDSURFACEDATA* Work(std::int32_t row) { return &g_SurfaceTable[row]; }

// The finished frame into the work surface, and the frame cleared.
void TakeFrame(DDSURFACEDATA* work) {
  DDBlt(work, 0, 0, kScreenW, kScreenH, &g_BackSurface, 0, 0, 0);
  DDFillRect(&g_BackSurface, 0, 0, kScreenW, kScreenH, kBlankColour);
}

struct sPoint {
  std::int32_t x, y;
};

// Hero 0's centre on the screen; the screen's centre while there is no hero.
sPoint HeroCentre(const cPlayScene& scene) {
  const cHero* hero = scene.Hero0();
  if (hero == nullptr) return {kScreenW / 2, kScreenH / 2};
  return {hero->ScreenCentreX(), hero->ScreenCentreY()};
}

// From a point to the farther screen edge on one axis.
std::int64_t Reach(std::int32_t at, std::int32_t size) {
  return at < size / 2 ? std::int64_t{size} - at : std::int64_t{at};
}

// The range kinds run current from parameter 1 to parameter 2 (exchanged in the reversed template).
std::int32_t StepRange(cScrEffectPlayer& player) {
  const std::int32_t* p = Params(player);
  return StepScrEffect(player, p[1], p[2], player.m_Step);
}
// The time kinds count tenths of a second from 0 to the time.
std::int32_t StepTime(cScrEffectPlayer& player) { return StepScrEffect(player, 0, Tenths(player), player.m_Step); }

std::int32_t DrawNone(cPlayScene&, std::int32_t) { return 0; }

// 移動: the picture at (A, B), which walk from (p1, p2) to (p3, p4) over the time.
std::int32_t DrawMove(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  TakeFrame(Work(kEffectWorkSurface));
  DDBlt(&g_BackSurface, player.m_ValueA, player.m_ValueB, kScreenW, kScreenH, Work(kEffectWorkSurface), 0, 0, 0);
  if (frozen != 0) return 0;
  const std::int32_t* p = Params(player);
  const double tenths = Tenths(player);
  player.m_ValueA = TruncDot((static_cast<double>(p[3]) - p[1]) / tenths * player.m_Current + p[1]);
  player.m_ValueB = TruncDot((static_cast<double>(p[4]) - p[2]) / tenths * player.m_Current + p[2]);
  return StepTime(player);
}

// 振動: the offset swings between -p1 and p1, p2 times over the time (A is the direction).
std::int32_t Shake(cScrEffectPlayer& player) {
  const std::int32_t* p = Params(player);
  // In doubles: exact for every width and count in range, and no overflow for a damaged one.
  const double speed = static_cast<double>(p[1]) * p[2] * 4 / (static_cast<double>(Tenths(player)) * 6);
  if (player.m_ValueA == 0) {
    player.m_Second += speed;
    if (player.m_Second >= p[1]) {
      player.m_Second = p[1];
      player.m_ValueA = 1;
    }
  } else {
    player.m_Second -= speed;
    if (player.m_Second <= -static_cast<double>(p[1])) {
      player.m_Second = -static_cast<double>(p[1]);
      player.m_ValueA = 0;
    }
  }
  return StepTime(player);
}

std::int32_t DrawShakeX(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  TakeFrame(Work(kEffectWorkSurface));
  DDBlt(&g_BackSurface, TruncDot(player.m_Second), 0, kScreenW, kScreenH, Work(kEffectWorkSurface), 0, 0, 0);
  return frozen != 0 ? 0 : Shake(player);
}

std::int32_t DrawShakeY(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  TakeFrame(Work(kEffectWorkSurface));
  DDBlt(&g_BackSurface, 0, TruncDot(player.m_Second), kScreenW, kScreenH, Work(kEffectWorkSurface), 0, 0, 0);
  return frozen != 0 ? 0 : Shake(player);
}

// 分割: p3 strips across the screen, every other one pushed the other way by current.
std::int32_t DrawStripes(cPlayScene& scene, std::int32_t frozen, std::int32_t columns) {
  cScrEffectPlayer& player = Player(scene);
  const std::int32_t length = columns != 0 ? kScreenW : kScreenH;
  const std::int32_t count = Divisor(Params(player)[3]);
  TakeFrame(Work(kEffectWorkSurface));
  // ceil(length / count) without a sum that a huge count could carry past the int range.
  StripeBlt(&g_BackSurface, 0, 0, kScreenW, kScreenH, (length - 1) / count + 1, TruncDot(player.m_Current),
            Work(kEffectWorkSurface), 0, 0, 0, columns);
  return frozen != 0 ? 0 : StepRange(player);
}
std::int32_t DrawStripesX(cPlayScene& scene, std::int32_t frozen) { return DrawStripes(scene, frozen, 0); }
std::int32_t DrawStripesY(cPlayScene& scene, std::int32_t frozen) { return DrawStripes(scene, frozen, 1); }

// 波: p3 waves of amplitude current over the screen in groups of p4 lines; A is the phase.
std::int32_t DrawWave(cPlayScene& scene, std::int32_t frozen, std::int32_t columns) {
  cScrEffectPlayer& player = Player(scene);
  const std::int32_t* p = Params(player);
  TakeFrame(Work(kEffectWorkSurface));
  WaveBlt(&g_BackSurface, 0, 0, kScreenW, kScreenH, p[3], player.m_Current, player.m_ValueA, Divisor(p[4]),
          Work(kEffectWorkSurface), 0, 0, 0, columns);
  if (frozen != 0) return 0;
  if (++player.m_ValueA >= 360) player.m_ValueA = 0;
  return StepRange(player);
}
std::int32_t DrawWaveX(cPlayScene& scene, std::int32_t frozen) { return DrawWave(scene, frozen, 0); }
std::int32_t DrawWaveY(cPlayScene& scene, std::int32_t frozen) { return DrawWave(scene, frozen, 1); }

// 点滅: the background layers cover the stage while B is 0; B changes every p1 frames (A counts).
std::int32_t DrawBlink(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  if (player.m_ValueB == 0) {
    DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
    DrawBackgroundLayers(&g_BackSurface, kPlaneFront);
  }
  if (player.m_ValueA >= Params(player)[1]) {
    player.m_ValueA = 0;
    player.m_ValueB = player.m_ValueB != 0 ? 0 : 1;
  }
  if (frozen != 0) return 0;
  ++player.m_ValueA;
  return StepTime(player);
}

// 回転: the picture turned by current degrees about the screen's centre.
std::int32_t DrawRotation(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  TakeFrame(Work(kEffectWorkCopy));
  RotateBlt(&g_BackSurface, kScreenW / 2, kScreenH / 2, kScreenW, kScreenH, kScreenW / 2, kScreenH / 2,
            TruncDot(player.m_Current), Work(kEffectWorkCopy), 0, 0, 0);
  return frozen != 0 ? 0 : StepRange(player);
}

// 円: a disc of radius current around the hero; the rest is colour 16.
std::int32_t DrawCircle(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  const sPoint c = HeroCentre(scene);
  TakeFrame(Work(kEffectWorkSurface));
  CircleBlt(&g_BackSurface, c.x, c.y, TruncDot(Reach(c.x, kScreenW)), TruncDot(Reach(c.y, kScreenH)),
            TruncDot(player.m_Current), Divisor(Params(player)[3]), Work(kEffectWorkSurface), c.x, c.y, 0);
  return frozen != 0 ? 0 : StepRange(player);
}

// 拡大: current is the width the screen is shown at. Wider than the screen, a part of the picture
// around the hero fills the screen; narrower, the whole picture shrinks about the screen's centre.
std::int32_t DrawZoom(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  const double z = player.m_Current * kPerScreenWidth;
  DDSURFACEDATA* work = Work(kEffectWorkCopy);
  DDBlt(work, 0, 0, kScreenW, kScreenH, &g_BackSurface, 0, 0, 0);
  if (z >= 1.0) {
    const sPoint c = HeroCentre(scene);
    const double sw = kScreenW / z;
    const double sh = kScreenH / z;
    // A part narrower than a dot is still one dot.
    const std::int32_t w = std::max(TruncDot(sw), 1);
    const std::int32_t h = std::max(TruncDot(sh), 1);
    std::int32_t sx = TruncDot(c.x - sw * 0.5);
    if (sx + w >= kScreenW)
      sx = TruncDot(kScreenW - sw);
    else if (sx < 0)
      sx = 0;
    std::int32_t sy = TruncDot(c.y - sh * 0.5);
    if (sy + h >= kScreenH)
      sy = TruncDot(kScreenH - sh);
    else if (sy < 0)
      sy = 0;
    DDStretchBlt(&g_BackSurface, 0, 0, kScreenW, kScreenH, work, sx, sy, w, h, 1);
  } else {
    DDFillRect(&g_BackSurface, 0, 0, kScreenW, kScreenH, kBlankColour);
    const std::int32_t w = TruncDot(kScreenW * z);
    const std::int32_t h = TruncDot(kScreenH * z);
    // A negative width would mirror the picture: nothing is shown at or below zero.
    if (w > 0 && h > 0)
      DDStretchBlt(&g_BackSurface, TruncDot((kScreenW - kScreenW * z) * 0.5), TruncDot((kScreenH - kScreenH * z) * 0.5),
                   w, h, work, 0, 0, kScreenW, kScreenH, 1);
  }
  return frozen != 0 ? 0 : StepRange(player);
}

// レンズ: a lens over the whole screen around the hero (moved by p3, p4), of depth current.
std::int32_t DrawLens(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  const std::int32_t* p = Params(player);
  const sPoint hero = HeroCentre(scene);
  const std::int32_t cx = TruncDot(static_cast<double>(hero.x) + p[3]);
  const std::int32_t cy = TruncDot(static_cast<double>(hero.y) + p[4]);
  const auto reach = static_cast<double>(std::max(Reach(cx, kScreenW), Reach(cy, kScreenH)));
  TakeFrame(Work(kEffectWorkCopy));
  LensBlt(&g_BackSurface, cx, cy, TruncDot(reach * s_Sqrt2), TruncDot(player.m_Current), Work(kEffectWorkCopy), cx, cy,
          0);
  return frozen != 0 ? 0 : StepRange(player);
}

// モザイク: blocks of current dots.
std::int32_t DrawMosaic(cPlayScene& scene, std::int32_t frozen) {
  cScrEffectPlayer& player = Player(scene);
  TakeFrame(Work(kEffectWorkCopy));
  MosaicBlt(&g_BackSurface, 0, 0, kScreenW, kScreenH, Divisor(TruncDot(player.m_Current)), Work(kEffectWorkCopy), 0, 0,
            0);
  return frozen != 0 ? 0 : StepRange(player);
}

}  // namespace

const ScrEffectDraw ScrEffectDrawTable[kScrEffectKindCount + 1] = {
    DrawNone,  DrawMove,  DrawShakeX,   DrawShakeY, DrawStripesX, DrawStripesY, DrawWaveX,
    DrawWaveY, DrawBlink, DrawRotation, DrawCircle, DrawZoom,     DrawLens,     DrawMosaic,
};
