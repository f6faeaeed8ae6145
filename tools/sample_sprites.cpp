#include "tools/sample_sprites.h"

#include "tools/sample_canvas.h"
#include "tools/sample_palette.h"

namespace {

// Draws in the units of a 32 x 32 design cell, scaled.
struct Pen {
  cCanvas& canvas;
  int x;
  int y;
  int scale;
  void Rect(int rx, int ry, int w, int h, std::uint8_t c) const {
    canvas.FillRect(x + rx * scale, y + ry * scale, w * scale, h * scale, c);
  }
  void Ellipse(int cx, int cy, int rx, int ry, std::uint8_t c) const {
    canvas.FillEllipse(x + cx * scale, y + cy * scale, rx * scale, ry * scale, c);
  }
};

}  // namespace

void DrawHero(cCanvas& canvas, int x, int y, int frame, int scale) {
  const Pen pen{canvas, x, y, scale};
  const int lift = frame == 3 ? -2 : 0;
  // Cap and head.
  pen.Rect(10, 3 + lift, 12, 4, kInkBlue);
  pen.Rect(20, 6 + lift, 6, 2, kInkBlue);
  pen.Rect(10, 7 + lift, 12, 8, kInkSkin);
  pen.Rect(8, 7 + lift, 3, 5, kInkBrownDark);
  pen.Rect(18, 9 + lift, 2, 3, kInkBlack);
  pen.Rect(19, 13 + lift, 4, 1, kInkRedDark);
  // Body: shirt, overalls, arms.
  pen.Rect(9, 15 + lift, 14, 6, kInkOrange);
  pen.Rect(11, 17 + lift, 10, 8, kInkGreenDark);
  pen.Rect(12, 18 + lift, 2, 2, kInkYellow);
  pen.Rect(18, 18 + lift, 2, 2, kInkYellow);
  if (frame == 3) {
    pen.Rect(5, 9, 4, 8, kInkOrange);
    pen.Rect(23, 9, 4, 8, kInkOrange);
    pen.Rect(5, 7, 4, 3, kInkSkin);
    pen.Rect(23, 7, 4, 3, kInkSkin);
  } else {
    pen.Rect(6, 16, 3, 6, kInkOrange);
    pen.Rect(23, 16, 3, 6, kInkOrange);
    pen.Rect(6, 22, 3, 2, kInkSkin);
    pen.Rect(23, 22, 3, 2, kInkSkin);
  }
  // Legs and shoes by frame.
  const int stride = frame == 1 ? 3 : frame == 2 ? -3 : 0;
  const int legY = 25 + lift;
  pen.Rect(11 - stride, legY, 4, 4, kInkGreenDark);
  pen.Rect(17 + stride, legY, 4, 4, kInkGreenDark);
  pen.Rect(9 - stride, legY + 4, 7, 3, kInkBrownDark);
  pen.Rect(17 + stride, legY + 4, 7, 3, kInkBrownDark);
}

void DrawWalker(cCanvas& canvas, int x, int y, int frame, int scale) {
  const Pen pen{canvas, x, y, scale};
  const int squash = frame == 3 ? 3 : 0;
  pen.Ellipse(16, 17 + squash, 13, 11 - squash, kInkGreenDark);
  pen.Ellipse(16, 16 + squash, 12, 10 - squash, kInkGreenLight);
  // Angry eyes.
  pen.Rect(9, 12 + squash, 5, 6, kInkWhite);
  pen.Rect(18, 12 + squash, 5, 6, kInkWhite);
  pen.Rect(11, 14 + squash, 2, 3, kInkBlack);
  pen.Rect(19, 14 + squash, 2, 3, kInkBlack);
  pen.Rect(8, 10 + squash, 6, 2, kInkBlack);
  pen.Rect(18, 10 + squash, 6, 2, kInkBlack);
  const int step = frame == 1 ? 2 : frame == 2 ? -2 : 0;
  pen.Rect(6 + step, 27, 8, 3, kInkGreenDark);
  pen.Rect(18 - step, 27, 8, 3, kInkGreenDark);
}

void DrawFlyer(cCanvas& canvas, int x, int y, int frame) {
  const Pen pen{canvas, x, y, 1};
  pen.Ellipse(16, 18, 10, 8, kInkPurple);
  pen.Rect(22, 14, 3, 3, kInkWhite);
  pen.Rect(23, 15, 1, 1, kInkBlack);
  canvas.FillTriangle(x + 26, y + 17, x + 31, y + 19, x + 26, y + 21, kInkOrange);
  if (frame % 2 == 0) {
    canvas.FillTriangle(x + 8, y + 14, x + 18, y + 14, x + 10, y + 2, kInkPink);
  } else {
    canvas.FillTriangle(x + 8, y + 20, x + 18, y + 20, x + 10, y + 30, kInkPink);
  }
}

void DrawLift(cCanvas& canvas, int x, int y, int frame) {
  const Pen pen{canvas, x, y, 1};
  pen.Rect(0, 4, 32, 24, kInkGreyDark);
  pen.Rect(1, 5, 30, 22, kInkGrey);
  pen.Rect(2, 6, 28, 3, kInkGreyLight);
  pen.Rect(8, 12, 4, frame == 3 ? 1 : 5, kInkBlack);
  pen.Rect(20, 12, 4, frame == 3 ? 1 : 5, kInkBlack);
  pen.Rect(12, 21, 8, 2, kInkGreyDark);
}

void DrawSignPost(cCanvas& canvas, int x, int y, int frame) {
  const Pen pen{canvas, x, y, 1};
  pen.Rect(14, 18, 4, 14, kInkBrownDark);
  pen.Rect(2, 2, 28, 18, kInkBrownDark);
  pen.Rect(4, 4, 24, 14, kInkBrown);
  canvas.Text(x + 13, y + 8 - (frame == 1 ? 1 : 0), "!", kInkYellow);
}

void DrawCoin(cCanvas& canvas, int x, int y, int size, int frame) {
  const int r = size / 2 - 1;
  const int cx = x + size / 2, cy = y + size / 2;
  if (frame == 0) {
    canvas.FillEllipse(cx, cy, r, r, kInkBrownDark);
    canvas.FillEllipse(cx, cy, r - 1, r - 1, kInkGold);
    canvas.FillEllipse(cx, cy, r - 3 > 0 ? r - 3 : 1, r - 3 > 0 ? r - 3 : 1, kInkYellow);
    canvas.FillRect(cx - 1, cy - r / 2, 2, r, kInkGold);
  } else {
    canvas.FillEllipse(cx, cy, r / 3 + 1, r, kInkBrownDark);
    canvas.FillEllipse(cx, cy, r / 3, r - 1, kInkGold);
  }
}

void DrawHeart(cCanvas& canvas, int x, int y, int size, std::uint8_t colour) {
  const int q = size / 4;
  canvas.FillCircle(x + q + 1, y + q + 1, q, colour);
  canvas.FillCircle(x + 3 * q - 1, y + q + 1, q, colour);
  canvas.FillTriangle(x + 1, y + q + 2, x + size - 2, y + q + 2, x + size / 2, y + size - 2, colour);
}

void DrawStar(cCanvas& canvas, int x, int y, int size, std::uint8_t colour) {
  const int cx = x + size / 2, s = size;
  canvas.FillTriangle(cx, y, x + s * 2 / 10, y + s - 1, x + s * 8 / 10, y + s - 1, colour);
  canvas.FillTriangle(x, y + s * 37 / 100, x + s - 1, y + s * 37 / 100, cx, y + s * 75 / 100, colour);
}

void DrawHeroHead(cCanvas& canvas, int x, int y) {
  canvas.FillRect(x + 3, y + 1, 10, 4, kInkBlue);
  canvas.FillRect(x + 3, y + 5, 10, 8, kInkSkin);
  canvas.FillRect(x + 9, y + 7, 2, 2, kInkBlack);
  canvas.FillRect(x + 5, y + 7, 2, 2, kInkBlack);
  canvas.FillRect(x + 6, y + 11, 4, 1, kInkRedDark);
}

void DrawMapHero(cCanvas& canvas, int x, int y, int facing, int frame) {
  const Pen pen{canvas, x, y, 1};
  const int bob = frame;
  pen.Rect(9, 4 + bob, 14, 5, kInkBlue);
  pen.Rect(9, 9 + bob, 14, 9, facing == 1 ? kInkBrownDark : kInkSkin);
  if (facing == 0) {
    pen.Rect(12, 12 + bob, 2, 3, kInkBlack);
    pen.Rect(18, 12 + bob, 2, 3, kInkBlack);
  } else if (facing == 2) {
    pen.Rect(11, 12 + bob, 2, 3, kInkBlack);
  } else if (facing == 3) {
    pen.Rect(19, 12 + bob, 2, 3, kInkBlack);
  }
  pen.Rect(10, 18 + bob, 12, 7, kInkOrange);
  pen.Rect(10, 25, 5, 4, frame == 0 ? kInkBrownDark : kInkBlue);
  pen.Rect(17, 25, 5, 4, frame == 1 ? kInkBrownDark : kInkBlue);
}

void DrawCloud(cCanvas& canvas, int x, int y, int scale) {
  const Pen pen{canvas, x, y, scale};
  pen.Ellipse(20, 14, 14, 9, kInkWhite);
  pen.Ellipse(36, 10, 14, 10, kInkWhite);
  pen.Ellipse(48, 15, 12, 8, kInkWhite);
  pen.Rect(10, 17, 46, 6, kInkWhite);
}

void DrawGroundTop(cCanvas& canvas, int x, int y) {
  canvas.FillRect(x, y, 32, 32, kInkBrown);
  for (int i = 0; i < 4; ++i) canvas.FillRect(x + 4 + 8 * i, y + 14 + (i % 2) * 8, 3, 3, kInkBrownDark);
  canvas.FillRect(x, y, 32, 8, kInkGreen);
  canvas.FillRect(x, y, 32, 2, kInkGreenLight);
  for (int i = 0; i < 32; i += 6) canvas.FillRect(x + i, y + 8, 3, 2, kInkGreen);
}
