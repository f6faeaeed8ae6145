// The pictures of the character effects. Each kind draws the character's cell with one call of the
// display library. A character drawn at the size of its cells is drawn from its sheet, under the
// tint of its state when that is on; any other is first copied at its drawn size into work surface
// 68 and drawn from there, with the kind's distances multiplied by its scale.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/display/blend_table.h"
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/frame_draw.h"
#include "platform/display/palette.h"
#include "platform/display/pixel_effects.h"
#include "platform/display/surface.h"
#include "play/chara_base.h"
#include "play/chara_draw.h"
#include "play/chara_effect.h"
#include "play/chara_effect_draw.h"
#include "play/chip_sheets.h"
#include "play/dots.h"

namespace {

constexpr double kSqrt2 = std::numbers::sqrt2;

// Sums of effect values (a damaged definition may hold any number) are taken in 64 bits and kept
// where a draw simply falls outside every surface.
constexpr std::int64_t kFarOutside = std::int64_t{1} << 28;
std::int32_t Coord(std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, -kFarOutside, kFarOutside)); }
// trunc(v), saturated likewise.
std::int32_t Whole(double v) { return Coord(TruncDot(v)); }

// Palette colour 0, what the work squares are cleared to, and colour 31, toward which the blur
// tints at 8 bits.
constexpr std::uint32_t kClearColour = 0;
constexpr std::uint8_t kBlurTintColour = 31;

DDSURFACEDATA* Work() { return &g_SurfaceTable[kEffectWorkCopy]; }

// Where a kind's call reads the picture.
struct sSource {
  DDSURFACEDATA* surface;
  std::int32_t x, y;
};

// One frame as every kind sees it.
class cFrame {
 public:
  explicit cFrame(const sCharaEffectFrame& f)
      : chara(f.chara),
        dst(f.dst),
        rq(f.request),
        p(f.params),
        scale(f.chara.Scale()),
        scaled(!DrawnAtCellSize(f.chara, f.request)),
        tint(f.request.m_TintOn != 0 ? &f.request.m_Tint : nullptr),
        current(f.player.m_Current),
        counter(f.player.m_Counter),
        phase(f.player.m_PhaseFlag),
        x(f.request.m_X),
        y(f.request.m_Y),
        w(f.request.m_Width),
        h(f.request.m_Height) {}

  // The cell on its sheet, as copies read it, and the shared copy that stretches and the software
  // effects read.
  sSource Cell() const { return {rq.m_Surface, rq.m_SourceX, rq.m_SourceY}; }
  sSource SharedCell() const {
    return {rq.m_SharedSurface != nullptr ? rq.m_SharedSurface : rq.m_Surface, rq.m_SourceX, rq.m_SourceY};
  }
  // The picture at its drawn size in work 68 at (0, 0), copied without the key (its transparent dots
  // stay transparent there) and under the tint, which the draws from the copy cannot add.
  sSource CopyToWork() const {
    if (scaled)
      DDStretchBltState(Work(), 0, 0, w, h, SharedCell().surface, rq.m_SourceX, rq.m_SourceY, CellWidth(), CellHeight(),
                        0, tint);
    else
      DDBltState(Work(), 0, 0, w, h, rq.m_Surface, rq.m_SourceX, rq.m_SourceY, 0, tint);
    return {Work(), 0, 0};
  }
  // What a copy-based kind draws from: the cell, or the copy on the scaled path.
  sSource Picture() const { return scaled ? CopyToWork() : Cell(); }
  // What a software kind draws from: the shared cell, or a copy on the scaled path and where the tint
  // has to be baked in first.
  sSource SoftwarePicture() const { return scaled || tint != nullptr ? CopyToWork() : SharedCell(); }
  // The tint around the kind's call: on the normal path only (the scaled copy carries it).
  const DrawState* CallTint() const { return scaled ? nullptr : tint; }
  // A distance of the kind, times the scale on the scaled path.
  double Scaled(double v) const { return scaled ? v * scale : v; }
  std::int32_t Scaled(std::int32_t v) const { return scaled ? Coord(std::int64_t{v} * scale) : v; }
  // The source cell: the base draw size times the cell-size multiplier.
  std::int32_t CellWidth() const { return Coord(std::int64_t{chara.m_BaseDrawWidth} * rq.m_CellScale); }
  std::int32_t CellHeight() const { return Coord(std::int64_t{chara.m_BaseDrawHeight} * rq.m_CellScale); }
  std::int32_t CentreX() const { return Coord(std::int64_t{x} + w / 2); }
  std::int32_t CentreY() const { return Coord(std::int64_t{y} + h / 2); }
  // Parameter i as a count or a size that divides: at least 1.
  std::int32_t AtLeastOne(int i) const { return std::max(p[i], 1); }

  const cCharaBase& chara;
  DDSURFACEDATA* dst;
  const cCharaDrawRequest& rq;
  const std::int32_t* p;
  std::int32_t scale;
  bool scaled;
  const DrawState* tint;
  double current;
  std::int32_t counter;
  std::int32_t phase;
  std::int32_t x, y, w, h;
};

// ceil(length / parts) for a length of 0 or more and parts of 1 or more.
std::int32_t CeilDiv(std::int32_t length, std::int32_t parts) {
  return static_cast<std::int32_t>((std::max<std::int64_t>(length, 0) + parts - 1) / parts);
}

// 1 破裂: the four quarters moved outward.
void DrawBurst(const cFrame& f) {
  const sSource s = f.Picture();
  const cDrawStateScope tint(f.CallTint());
  QuarterBlt(f.dst, f.x, f.y, f.w, f.h, s.surface, s.x, s.y, Whole(f.Scaled(f.current)), 1);
}

// 2, 3 分割: alternate strips pushed apart; rows (横) or columns (縦).
template <std::int32_t Columns>
void DrawStripes(const cFrame& f) {
  const std::int32_t stripe = CeilDiv(Columns ? f.w : f.h, f.AtLeastOne(3));
  const sSource s = f.Picture();
  const cDrawStateScope tint(f.CallTint());
  StripeBlt(f.dst, f.x, f.y, f.w, f.h, stripe, Whole(f.Scaled(f.current)), s.surface, s.x, s.y, 1, Columns);
}

// 4, 5 波: p3 waves of the current amplitude at the counter's phase, in groups of p4 lines.
template <std::int32_t Columns>
void DrawWave(const cFrame& f) {
  const std::int32_t lines = std::max(f.Scaled(f.AtLeastOne(4)), 1);
  const sSource s = f.Picture();
  const cDrawStateScope tint(f.CallTint());
  WaveBlt(f.dst, f.x, f.y, f.w, f.h, f.p[3], f.Scaled(f.current), f.counter, lines, s.surface, s.x, s.y, 1, Columns);
}

// 6 点滅: the plain picture while the phase flag is set.
void DrawBlink(const cFrame& f) {
  if (f.phase != 0) DrawCharaPlain(f.chara, f.dst, &f.rq, 1);
}

// 8 回転B (and 回転A except on DirectDraw's scaled path): turned about its centre.
void DrawTurn(const cFrame& f) {
  const sSource s = f.scaled ? f.CopyToWork() : f.SharedCell();
  const cDrawStateScope tint(f.CallTint());
  RotateBlt(f.dst, f.CentreX(), f.CentreY(), f.w, f.h, f.w / 2, f.h / 2, Whole(f.current), s.surface, s.x, s.y, 1);
}

// 7 回転A. DirectDraw turns a scaled character at the size of its cell, in a square of work 68
// wide enough for any angle, and stretches the square over the drawn size.
void DrawTurnA(const cFrame& f) {
  if (!f.scaled || DisplayIsD3D()) {
    DrawTurn(f);
    return;
  }
  const std::int32_t cw = f.CellWidth(), ch = f.CellHeight();
  const std::int32_t side = Whole(cw * kSqrt2);
  DDFillRect(Work(), 0, 0, side, side, kClearColour);
  const sSource cell = f.SharedCell();
  RotateBlt(Work(), side / 2, side / 2, cw, ch, cw / 2, ch / 2, Whole(f.current), cell.surface, cell.x, cell.y, 1);
  const std::int32_t shown = Whole(f.w * kSqrt2);
  DDStretchBlt(f.dst, Coord(std::int64_t{f.CentreX()} - shown / 2), Coord(std::int64_t{f.CentreY()} - shown / 2), shown,
               shown, Work(), 0, 0, side, side, 1);
}

// 9 回転（奥）: a card turning between the cell as facing and the same cell facing the other way.
void DrawTurnOver(const cFrame& f) {
  const sSource front = f.SharedCell();
  DDSURFACEDATA* back = f.rq.m_OtherSharedSurface != nullptr ? f.rq.m_OtherSharedSurface : front.surface;
  const cDrawStateScope tint(f.tint);
  FlipBlt(f.dst, f.x, f.y, f.w, f.h, front.surface, front.x, front.y, back, front.x, front.y, f.CellWidth(),
          f.CellHeight(), 1, Whole(f.current), 0);
}

// 10 円: the disc of the current radius around the centre.
void DrawCircle(const cFrame& f) {
  const std::int32_t strips = std::max(f.Scaled(f.AtLeastOne(3)), 1);
  const sSource s = f.scaled ? f.CopyToWork() : f.SharedCell();
  const cDrawStateScope tint(f.CallTint());
  CircleBlt(f.dst, f.CentreX(), f.CentreY(), f.w / 2, f.h / 2, Whole(f.Scaled(f.current)), strips, s.surface,
            Coord(std::int64_t{s.x} + f.w / 2), Coord(std::int64_t{s.y} + f.h / 2), 1);
}

// 11 拡大: current 32 is the drawn size; each dot more or less grows or shrinks both axes, about
// the centre (the corner moves by floor(grow / 2)).
void DrawGrow(const cFrame& f) {
  std::int32_t grow = Whole(f.current - 32);
  sSource s = f.SharedCell();
  if (f.scaled) {
    grow = Whole((f.current - 32) * f.scale) >> 1;
    s = f.CopyToWork();
  }
  const std::int64_t w = std::int64_t{f.w} + grow, h = std::int64_t{f.h} + grow;
  if (w <= 0 || h <= 0) return;
  const cDrawStateScope tint(f.CallTint());
  DDStretchBlt(f.dst, Coord(std::int64_t{f.x} - (grow >> 1)), Coord(std::int64_t{f.y} - (grow >> 1)), Coord(w),
               Coord(h), s.surface, s.x, s.y, f.w, f.h, 1);
}

// 12 レンズ: the picture in work 68 seen through a lens over the character, its eye moved by
// (p3, p4) times the scale.
void DrawLens(const cFrame& f) {
  const std::int64_t dx = std::int64_t{f.p[3]} * f.scale, dy = std::int64_t{f.p[4]} * f.scale;
  const std::int64_t reach = f.w / 2 + std::max(std::llabs(dx), std::llabs(dy));
  const std::int32_t radius = Whole(static_cast<double>(reach) * kSqrt2);
  const bool narrow = !DisplayIsD3D() && g_DisplayParams.bpp != 16;
  const std::int32_t side = Coord(std::int64_t{radius} * (narrow ? 2 : 4));
  DDFillRect(Work(), 0, 0, side, side, kClearColour);
  f.CopyToWork();
  const std::int32_t depth = f.scaled ? Coord(std::int64_t{Whole(f.current)} * f.scale) : Whole(f.current);
  LensBlt(f.dst, Coord(f.CentreX() + (dx >> 1)), Coord(f.CentreY() + (dy >> 1)), radius, depth, Work(),
          Coord(f.w / 2 + dx), Coord(f.h / 2 + dy), 1);
}

// Palette colour p as the index the colour effects take.
std::uint8_t PaletteIndex(std::int32_t p) { return static_cast<std::uint8_t>(std::clamp(p, 0, 255)); }

// 13 色変化: pulled toward palette colour p3 by the current number of half steps.
void DrawTint(const cFrame& f) {
  const sSource s = f.SoftwarePicture();
  TintBlt(f.dst, f.x, f.y, f.w, f.h, s.surface, s.x, s.y, 1, g_FadePalette, g_BlendTable.data(), PaletteIndex(f.p[3]),
          Whole(f.current));
}

// 14 半透明: half translucent while the phase flag is clear.
void DrawHalf(const cFrame& f) {
  if (f.phase != 0) return;
  const sSource s = f.SoftwarePicture();
  HalfBlendBlt(f.dst, f.x, f.y, f.w, f.h, s.surface, s.x, s.y, 1, g_BlendTable.data());
}

// 15 モザイク: blocks of the current strength.
void DrawMosaic(const cFrame& f) {
  const sSource s = f.SoftwarePicture();
  MosaicBlt(f.dst, f.x, f.y, f.w, f.h, std::max(Whole(f.current), 1), s.surface, s.x, s.y, 1);
}

// 16 ぼかし: blurred by the current strength; 8 bits cannot blur and tint toward colour 31 instead.
void DrawBlur(const cFrame& f) {
  const sSource s = f.SoftwarePicture();
  const std::int32_t strength = Whole(f.current);
  if (!DisplayIsD3D() && g_DisplayParams.bpp == 8)
    TintBlt(f.dst, f.x, f.y, f.w, f.h, s.surface, s.x, s.y, 1, g_FadePalette, g_BlendTable.data(), kBlurTintColour,
            strength);
  else
    BlurBlt(f.dst, f.x, f.y, f.w, f.h, strength, strength, s.surface, s.x, s.y, 1);
}

using DrawKind = void (*)(const cFrame&);

// Row = kind; 0 is drawn by the plain renderer itself.
constexpr DrawKind kDrawKinds[kCharaEffectKindCount + 1] = {
    nullptr,         DrawBurst,    DrawStripes<0>, DrawStripes<1>, DrawWave<0>, DrawWave<1>,
    DrawBlink,       DrawTurnA,    DrawTurn,       DrawTurnOver,   DrawCircle,  DrawGrow,
    DrawLens,        DrawTint,     DrawHalf,       DrawMosaic,     DrawBlur,
};

}  // namespace

void DrawCharaEffectKind(std::int32_t kind, const sCharaEffectFrame& frame) {
  if (kind < 1 || kind > kCharaEffectKindCount) return;
  kDrawKinds[kind](cFrame(frame));
}
