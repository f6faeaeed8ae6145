// The world map's chips, its event markers and background, and the stages' background layers.
#include "tools/sample_canvas.h"
#include "tools/sample_palette.h"
#include "tools/sample_parts.h"
#include "tools/sample_sprites.h"

namespace {

// Chip p at ((p % 5) x 32, (p / 5) x 32), in the order of the world map's chip kinds.
void DrawWorldChip(cCanvas& c, int p, int x, int y) {
  const auto grass = [&] {
    c.FillRect(x, y, 32, 32, kInkGreen);
    c.FillRect(x + 5, y + 7, 2, 2, kInkGreenLight);
    c.FillRect(x + 21, y + 19, 2, 2, kInkGreenLight);
  };
  switch (p) {
    case 0:  // water
      c.FillRect(x, y, 32, 32, kInkWater);
      c.FillRect(x + 4, y + 8, 10, 2, kInkWaterLight);
      c.FillRect(x + 18, y + 22, 10, 2, kInkWaterLight);
      break;
    case 1:  // mountain
      grass();
      c.FillTriangle(x + 1, y + 30, x + 30, y + 30, x + 16, y + 3, kInkBrownDark);
      c.FillTriangle(x + 4, y + 30, x + 27, y + 30, x + 16, y + 6, kInkBrown);
      c.FillTriangle(x + 11, y + 13, x + 21, y + 13, x + 16, y + 6, kInkWhite);
      break;
    case 2:  // forest
      grass();
      c.FillRect(x + 14, y + 22, 4, 8, kInkBrownDark);
      c.FillTriangle(x + 4, y + 24, x + 28, y + 24, x + 16, y + 2, kInkGreenDark);
      break;
    case 3:  // rock
      grass();
      c.FillEllipse(x + 16, y + 18, 12, 10, kInkGreyDark);
      c.FillEllipse(x + 14, y + 16, 10, 8, kInkGrey);
      break;
    case 4:  // castle wall
      c.FillRect(x, y, 32, 32, kInkGreyDark);
      for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) c.FillRect(x + col * 11 + (row % 2) * 5, y + row * 8 + 1, 9, 6, kInkGrey);
      break;
    case 5: grass(); break;
    case 6:  // road
      grass();
      c.FillRect(x, y + 8, 32, 16, kInkSand);
      c.FillRect(x + 8, y, 16, 32, kInkSand);
      break;
    case 7:  // bridge
      c.FillRect(x, y, 32, 32, kInkWater);
      c.FillRect(x + 6, y, 20, 32, kInkBrown);
      for (int i = 2; i < 32; i += 6) c.FillRect(x + 6, y + i, 20, 1, kInkBrownDark);
      break;
    case 8:  // sand
      c.FillRect(x, y, 32, 32, kInkSand);
      c.FillRect(x + 7, y + 9, 2, 1, kInkBrown);
      c.FillRect(x + 22, y + 24, 2, 1, kInkBrown);
      break;
    case 9:  // flowers
      grass();
      for (int k = 0; k < 4; ++k) c.FillCircle(x + 6 + 7 * k, y + 8 + (k % 2) * 14, 2, k % 2 ? kInkYellow : kInkPink);
      break;
    default: break;
  }
}

cCanvas WorldChipPicture() {
  cCanvas canvas(160, 64);
  for (int p = 0; p < 10; ++p) DrawWorldChip(canvas, p, (p % 5) * 32, (p / 5) * 32);
  return canvas;
}

// The castle's picture at row y of the sheet, its flag in the given colour.
void DrawCastleMarker(cCanvas& canvas, int x, int y, std::uint8_t wall, std::uint8_t flag) {
  canvas.FillRect(x + 4, y + 12, 24, 18, wall);
  for (int t = 0; t < 3; ++t) canvas.FillRect(x + 4 + t * 9, y + 6, 6, 6, wall);
  canvas.FillRect(x + 13, y + 20, 6, 10, kInkBlack);
  canvas.FillTriangle(x + 16, y + 0, x + 16, y + 8, x + 24, y + 4, flag);
  canvas.FillRect(x + 16, y + 0, 1, 12, kInkBlack);
}

// Row 0 a stage, row 1 the castle, row 2 the rock on the road, rows 3 and 4 a stage and the
// castle still closed; column 1 once cleared.
cCanvas WorldEventPicture() {
  cCanvas canvas(64, 160);
  for (int cleared = 0; cleared < 2; ++cleared) {
    const int x = cleared * 32;
    canvas.FillCircle(x + 16, 16, 11, kInkBlack);
    canvas.FillCircle(x + 16, 16, 9, cleared ? kInkGreen : kInkRed);
    canvas.FillCircle(x + 13, 13, 3, cleared ? kInkGreenLight : kInkPink);
    DrawCastleMarker(canvas, x, 32, kInkGreyLight, cleared ? kInkGreen : kInkRed);
    canvas.FillCircle(x + 16, 96 + 16, 11, kInkBlack);
    canvas.FillCircle(x + 16, 96 + 16, 9, kInkGreyDark);
    canvas.FillCircle(x + 13, 96 + 13, 3, kInkGrey);
    DrawCastleMarker(canvas, x, 128, kInkGreyDark, kInkGrey);
  }
  canvas.FillEllipse(16, 64 + 18, 13, 11, kInkGreyDark);
  canvas.FillEllipse(14, 64 + 16, 11, 9, kInkGrey);
  canvas.FillEllipse(12, 64 + 13, 4, 3, kInkGreyLight);
  return canvas;
}

cCanvas WorldBackPicture() {
  cCanvas canvas(640, 480);
  canvas.VerticalBands(0, 480, {kInkWater, kInkBlue, kInkWater, kInkBlueDark});
  for (int y = 16; y < 480; y += 40)
    for (int x = (y / 40 % 2) * 40; x < 640; x += 80) canvas.FillRect(x, y, 24, 2, kInkWaterLight);
  return canvas;
}

// Stage layer 1: sky with clouds over far hills (not keyed: it fills the screen).
cCanvas SkyPicture() {
  cCanvas canvas(640, 480);
  canvas.VerticalBands(0, 480, {kInkSkyDeep, kInkSky, kInkSky, kInkSkyLight, kInkSkyLight});
  DrawCloud(canvas, 40, 60, 2);
  DrawCloud(canvas, 300, 110, 1);
  DrawCloud(canvas, 460, 40, 2);
  canvas.FillEllipse(120, 400, 200, 120, kInkGreenLight);
  canvas.FillEllipse(480, 410, 240, 110, kInkGreenLight);
  return canvas;
}

// Stage layer 2 (keyed): near hills with bushes, scrolling faster than the sky.
cCanvas HillsPicture() {
  cCanvas canvas(640, 480);
  canvas.FillEllipse(160, 400, 180, 90, kInkGreen);
  canvas.FillEllipse(500, 390, 150, 120, kInkGreen);
  canvas.FillEllipse(500, 300, 20, 14, kInkGreenDark);
  canvas.FillEllipse(130, 340, 24, 16, kInkGreenDark);
  return canvas;
}

cCanvas CastlePicture() {
  cCanvas canvas(640, 480);
  canvas.VerticalBands(0, 480, {kInkBlack, kInkNavy, kInkPurple, kInkNavy});
  for (int k = 0; k < 40; ++k) canvas.Plot((k * 157) % 640, (k * 89) % 300, kInkWhite);
  canvas.FillCircle(520, 90, 30, kInkSand);
  for (int x = 0; x < 640; x += 160) {
    canvas.FillRect(x + 20, 300, 80, 180, kInkGreyDark);
    for (int t = 0; t < 4; ++t) canvas.FillRect(x + 20 + t * 22, 288, 14, 12, kInkGreyDark);
    canvas.FillRect(x + 52, 340, 16, 24, kInkYellow);
  }
  return canvas;
}

struct PictureFile {
  const char* path;
  cCanvas (*draw)();
};
const PictureFile kPictures[] = {
    {"bmp\\WorldMapChip.bmp", WorldChipPicture}, {"bmp\\WorldEvent.bmp", WorldEventPicture},
    {"bmp\\WorldBack.bmp", WorldBackPicture},    {"bmp\\back\\Sky.bmp", SkyPicture},
    {"bmp\\back\\Hills.bmp", HillsPicture},      {"bmp\\back\\Castle.bmp", CastlePicture},
};

}  // namespace

bool WriteSampleWorldPictures() {
  bool ok = true;
  for (const PictureFile& picture : kPictures) ok &= SaveCanvas(picture.draw(), picture.path);
  return ok;
}
