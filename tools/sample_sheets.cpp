// The chip sheets of stage play: blocks, the character sheet, shots, items and their icons, and
// the marks.
#include "tools/sample_canvas.h"
#include "tools/sample_chips.h"
#include "tools/sample_palette.h"
#include "tools/sample_parts.h"
#include "tools/sample_sprites.h"

namespace {

void DrawBrick(cCanvas& c, int x, int y, std::uint8_t face, std::uint8_t mortar) {
  c.FillRect(x, y, 32, 32, mortar);
  for (int row = 0; row < 4; ++row) {
    const int offset = row % 2 == 0 ? 0 : 8;
    for (int col = -1; col < 3; ++col) c.FillRect(x + offset + col * 16 + 1, y + row * 8 + 1, 14, 6, face);
  }
  c.FillRect(x, y, 32, 1, mortar);
  c.FillRect(x, y, 1, 32, mortar);
}

void DrawBlockChip(cCanvas& c, int n, int x, int y) {
  switch (n) {
    case kChipGroundTop: DrawGroundTop(c, x, y); break;
    case kChipGround:
      c.FillRect(x, y, 32, 32, kInkBrown);
      for (int i = 0; i < 4; ++i) c.FillRect(x + 3 + 8 * i, y + 6 + (i % 2) * 14, 3, 3, kInkBrownDark);
      break;
    case kChipBrick: DrawBrick(c, x, y, kInkOrange, kInkBrownDark); break;
    case kChipQuestion:
    case kChipUsed: {
      const bool used = n == kChipUsed;
      c.FillRect(x, y, 32, 32, kInkBrownDark);
      c.FillRect(x + 1, y + 1, 30, 30, used ? kInkBrown : kInkGold);
      c.FillRect(x + 1, y + 1, 30, 2, used ? kInkBrown : kInkYellow);
      for (int cx : {3, 27})
        for (int cy : {3, 27}) c.FillRect(x + cx, y + cy, 2, 2, kInkBrownDark);
      if (!used) c.Text(x + 8, y + 6, "?", kInkWhite, 3, kInkBrownDark);
      break;
    }
    case kChipStone:
      c.FillRect(x, y, 32, 32, kInkGreyDark);
      c.FillRect(x + 1, y + 1, 30, 30, kInkGrey);
      c.FillRect(x + 1, y + 1, 30, 3, kInkGreyLight);
      c.FillRect(x + 1, y + 1, 3, 30, kInkGreyLight);
      break;
    case kChipCloudTop:
      c.FillEllipse(x + 10, y + 12, 9, 8, kInkWhite);
      c.FillEllipse(x + 22, y + 11, 9, 9, kInkWhite);
      c.FillRect(x, y + 12, 32, 8, kInkWhite);
      break;
    case kChipWood:
      c.FillRect(x, y, 32, 12, kInkBrownDark);
      c.FillRect(x, y + 1, 32, 9, kInkBrown);
      for (int i = 4; i < 32; i += 8) c.FillRect(x + i, y + 2, 1, 7, kInkBrownDark);
      break;
    case kChipCastle: DrawBrick(c, x, y, kInkGrey, kInkGreyDark); break;
    case kChipSpikes:
      for (int i = 0; i < 4; ++i) c.FillTriangle(x + 8 * i, y + 31, x + 8 * i + 7, y + 31, x + 8 * i + 4, y + 12, kInkGreyLight);
      c.FillRect(x, y + 28, 32, 4, kInkGreyDark);
      break;
    case kChipPoleTop:
      c.FillRect(x + 14, y + 8, 4, 24, kInkGreyLight);
      c.FillCircle(x + 16, y + 6, 5, kInkGold);
      c.FillTriangle(x + 18, y + 12, x + 18, y + 28, x + 31, y + 20, kInkGreen);
      break;
    case kChipPole: c.FillRect(x + 14, y, 4, 32, kInkGreyLight); break;
    case kChipBush:
      c.FillEllipse(x + 9, y + 24, 8, 7, kInkGreenDark);
      c.FillEllipse(x + 22, y + 23, 9, 8, kInkGreenDark);
      c.FillEllipse(x + 16, y + 20, 8, 8, kInkGreen);
      break;
    case kChipFlower:
      c.FillRect(x + 15, y + 18, 2, 14, kInkGreenDark);
      for (int dx : {-4, 4})
        for (int dy : {-4, 4}) c.FillCircle(x + 16 + dx, y + 14 + dy, 3, kInkPink);
      c.FillCircle(x + 16, y + 14, 3, kInkYellow);
      break;
    default: break;
  }
}

cCanvas BlockSheet() {
  cCanvas canvas(64, 480);
  for (int n = 0; n < kSampleBlockChips; ++n) DrawBlockChip(canvas, n, (n / 15) * 32, (n % 15) * 32);
  return canvas;
}

// Frames 0-3 of one character in a 32 x 32 cell.
void DrawCharacterFrame(cCanvas& c, int row, int frame, int x, int y) {
  switch (row) {
    case kCharaHero: DrawHero(c, x, y, frame); break;
    case kCharaWalker: DrawWalker(c, x, y, frame); break;
    case kCharaFlyer: DrawFlyer(c, x, y, frame); break;
    case kCharaLift: DrawLift(c, x, y, frame); break;
    case kCharaSign: DrawSignPost(c, x, y, frame); break;
    default: break;
  }
}

// The invincible look: every coloured dot turned to a gold shade, the outline kept.
void Gild(cCanvas& c, int x, int y) {
  for (int j = 0; j < 32; ++j)
    for (int i = 0; i < 32; ++i) {
      const std::uint8_t p = c.At(x + i, y + j);
      if (p != kInkKey && p != kInkBlack && p != kInkBrownDark) c.Plot(x + i, y + j, (i + j) % 4 == 0 ? kInkWhite : kInkYellow);
    }
}

// The block-character look: a stone frame round the figure, so it reads as something to stand on.
void Block(cCanvas& c, int x, int y) {
  c.FrameRect(x, y, 32, 32, kInkGreyDark);
  c.FrameRect(x + 1, y + 1, 30, 30, kInkGreyLight);
}

// Twenty columns of 32 dots: 0-3 the figure, 4-7 invincible, 8-11 as a block character.
cCanvas CharacterSheet() {
  cCanvas canvas(640, 480);
  for (int row = kCharaHero; row < kSampleCharaChips; ++row)
    for (int frame = 0; frame < 4; ++frame) {
      const int y = row * 32;
      DrawCharacterFrame(canvas, row, frame, frame * 32, y);
      DrawCharacterFrame(canvas, row, frame, (frame + 4) * 32, y);
      Gild(canvas, (frame + 4) * 32, y);
      DrawCharacterFrame(canvas, row, frame, (frame + 8) * 32, y);
      Block(canvas, (frame + 8) * 32, y);
    }
  return canvas;
}

// 16 x 16 frames at (32k, 16r) and (32k + 16, 16r): shot 30k + r.
cCanvas ShotSheet() {
  cCanvas canvas(128, 480);
  for (int frame = 0; frame < 2; ++frame) {
    const int x = frame * 16;
    canvas.FillCircle(x + 8, 8, 6, kInkOrange);
    canvas.FillCircle(x + 8 + (frame ? 1 : -1), 8, 3, kInkYellow);
    DrawStar(canvas, x + 1 + frame, 16 + 1, 14 - 2 * frame, kInkYellow);
  }
  return canvas;
}

// The sword's one part at (0, 0), 32 x 16: the blade pointing right, the hilt behind it.
cCanvas SwordRight() {
  cCanvas canvas(32, 16);
  canvas.FillRect(0, 6, 4, 4, kInkBrown);
  canvas.FillRect(4, 3, 3, 10, kInkGold);
  canvas.FillRect(7, 6, 19, 4, kInkGreyLight);
  canvas.FillTriangle(26, 5, 31, 8, 26, 10, kInkWhite);
  canvas.Line(7, 7, 25, 7, kInkWhite);
  return canvas;
}

cCanvas SwordLeft() {
  cCanvas canvas(32, 16);
  canvas.BlitMirrored(SwordRight(), 0, 0, 32, 16, 0, 0);
  return canvas;
}

void DrawItemFrame(cCanvas& c, int n, int frame, int x, int y) {
  switch (n) {
    case kItemChipCoin: DrawCoin(c, x + 6, y + 6, 20, frame); break;
    case kItemChipLife:
      DrawHeart(c, x + 4, y + 4 - frame, 24, kInkPink);
      c.Text(x + 9, y + 12 - frame, "1UP", kInkWhite);
      break;
    case kItemChipGoal:
      DrawStar(c, x + 2, y + 2, 28, frame ? kInkWhite : kInkYellow);
      DrawStar(c, x + 8, y + 8, 16, kInkGold);
      break;
    case kItemChipGem:
      c.FillTriangle(x + 16, y + 4, x + 4, y + 14, x + 28, y + 14, frame ? kInkSkyLight : kInkSky);
      c.FillTriangle(x + 4, y + 14, x + 28, y + 14, x + 16, y + 28, kInkBlue);
      break;
    default: break;
  }
}

cCanvas ItemSheet() {
  cCanvas canvas(128, 480);
  for (int n = 0; n < kSampleItemChips; ++n)
    for (int frame = 0; frame < 2; ++frame) DrawItemFrame(canvas, n, frame, (n / 15) * 64 + frame * 32, (n % 15) * 32);
  return canvas;
}

// 16 x 16 icons: item n at ((n / 15) x 32, (n % 15) x 16).
cCanvas ItemMiniSheet() {
  cCanvas canvas(64, 240);
  cCanvas full = ItemSheet();
  for (int n = 0; n < kSampleItemChips; ++n) {
    const int sx = (n / 15) * 64, sy = (n % 15) * 32;
    for (int j = 0; j < 16; ++j)
      for (int i = 0; i < 16; ++i) {
        const std::uint8_t p = full.At(sx + 2 * i, sy + 2 * j);
        if (p != kInkKey) canvas.Plot((n / 15) * 32 + i, (n % 15) * 16 + j, p);
      }
  }
  return canvas;
}

// Mark m at ((m / 15) x 32, (m % 15) x 32).
cCanvas MarkSheet() {
  cCanvas canvas(64, 480);
  canvas.FillTriangle(6, 32 + 8, 26, 32 + 16, 6, 32 + 24, kInkYellow);
  canvas.FrameRect(0, 32, 32, 32, kInkYellow);
  canvas.FillCircle(16, 64 + 16, 12, kInkRed);
  canvas.Text(11, 64 + 9, "!", kInkWhite, 2);
  return canvas;
}

struct SheetFile {
  const char* path;
  cCanvas (*draw)();
};
const SheetFile kSheets[] = {
    {"bmp\\Block.bmp", BlockSheet},   {"bmp\\Character1.bmp", CharacterSheet}, {"bmp\\Shot.bmp", ShotSheet},
    {"bmp\\Item.bmp", ItemSheet},     {"bmp\\Item_Mini.bmp", ItemMiniSheet},   {"bmp\\Mark.bmp", MarkSheet},
    {kSwordLeftFile, SwordLeft},       {kSwordRightFile, SwordRight},
};

}  // namespace

bool WriteSampleSheets() {
  bool ok = true;
  for (const SheetFile& sheet : kSheets) ok &= SaveCanvas(sheet.draw(), sheet.path);
  return ok;
}
