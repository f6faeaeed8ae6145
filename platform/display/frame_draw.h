#pragma once
// Composite draws made of the drawing primitives: framed rectangles and boxes, digit strips, and the
// strip effects (wave, stripes, a card turning over, a picture breaking into quarters). Each strip is
// one DDBlt, clipped as every blit is. The key argument is 1 to leave out the source's transparent
// colour.
#include <cstdint>

struct DDSURFACEDATA;

// A frame thickness pixels wide inside (x, y, w, h) in palette colour dwPalNum: the top, bottom, left
// and right bands, in this order.
void DrawFrameRect(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   std::int32_t thickness, std::uint32_t dwPalNum);
// image's top-left w x h at (x, y), unkeyed, with a frame of thickness pixels around the outside.
void DrawBoxWithFrame(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      DDSURFACEDATA* image, std::int32_t thickness, std::uint32_t dwPalNum);

// The decimal digits of value from a strip where digit d sits at (sx + d * digitW, sy). With fewer
// digits than minDigits the number is right-aligned in a field of that many digits (blank, not
// zero-filled), or centred in it when centre is set. A negative value draws 0.
void DrawNumber(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t digitW, std::int32_t digitH,
                DDSURFACEDATA* digitImage, std::int32_t sx, std::int32_t sy, std::int32_t key, std::int32_t value,
                std::int32_t minDigits, std::int32_t centre);

// The source rectangle (sx, sy, w, h) in strips strip pixels wide (columns set: columns displaced
// vertically; else rows displaced horizontally), strip k displaced by
// trunc(sin((phase + a_k) * frequency degrees) * amplitude), where a_k = (k + 1) * strip * 360 / w (or
// / h for rows). Nothing when strip is below 1.
void WaveBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t frequency,
             double amplitude, std::int32_t phase, std::int32_t strip, DDSURFACEDATA* src, std::int32_t sx,
             std::int32_t sy, std::int32_t key, std::int32_t columns);

// The source rectangle in whole stripes stripe pixels wide (columns) or high (rows): odd stripes moved
// up (left) by offset, even ones down (right). The part past the last whole stripe is not drawn.
// Stripe 0 is a plain blit.
void StripeBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t stripe,
               std::int32_t offset, DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t key,
               std::int32_t columns);

// A card turning over, one step per counter value: mode 0 about the vertical axis, mode 1 about the
// horizontal one. The face (sw x sh from the front or the back source) is squeezed toward the axis
// and widened again, changing sides in the middle. A card narrower (mode 0) or lower (mode 1) than 2
// pixels cannot turn and shows its front. Other modes draw nothing.
void FlipBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
             DDSURFACEDATA* frontSrc, std::int32_t frontSx, std::int32_t frontSy, DDSURFACEDATA* backSrc,
             std::int32_t backSx, std::int32_t backSy, std::int32_t sw, std::int32_t sh, std::int32_t key,
             std::int32_t counter, std::int32_t mode);

// The four quadrants (w / 2 x h / 2) of the source rectangle, each moved outward by gap.
void QuarterBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
                std::int32_t sx, std::int32_t sy, std::int32_t gap, std::int32_t key);
