// The system pictures of the sample: the palette picture, the title, the title menu's rows, the
// text-window background, the status bar, cursors, icons and gauges, letters, banners and digits.
#include <string>

#include "tools/sample_canvas.h"
#include "tools/sample_palette.h"
#include "tools/sample_parts.h"
#include "tools/sample_sprites.h"

namespace {

// Entries 0-255 as the 16 x 16 swatch at rows 8-23 (where the player reads the colours back at
// depths above 8 bits); the rows above it in the key colour, whose top-left pixel names the
// transparent colour.
cCanvas PalettePicture() {
  cCanvas canvas(16, 24);
  for (int i = 0; i < 256; ++i) canvas.Plot(i % 16, 8 + i / 16, static_cast<std::uint8_t>(i));
  return canvas;
}

cCanvas DebugPicture() {
  cCanvas canvas(128, 16);
  canvas.Fill(kInkBlack);
  canvas.Text(4, 4, "DEBUG", kInkYellow);
  return canvas;
}

// The background of every text window: drawn from its top-left, so it covers the largest window.
cCanvas WindowPicture() {
  cCanvas canvas(640, 480);
  canvas.VerticalBands(0, 480, {kInkBlueDark, kInkNavy, kInkNavy, kInkBlueDark});
  for (int y = 0; y < 480; y += 4) canvas.FillRect(0, y, 640, 1, kInkNavy);
  return canvas;
}

cCanvas StatusWindowPicture() {
  cCanvas canvas(640, 20);
  canvas.Fill(kInkNavy);
  canvas.FillRect(0, 0, 640, 1, kInkBlue);
  canvas.FillRect(0, 19, 640, 1, kInkBlack);
  return canvas;
}

// The title screen: a sky over green hills, the game's name, the hero and a walker.
cCanvas TitlePicture() {
  cCanvas canvas(640, 480);
  canvas.VerticalBands(0, 360, {kInkSkyDeep, kInkSky, kInkSky, kInkSkyLight});
  DrawCloud(canvas, 80, 70, 3);
  DrawCloud(canvas, 470, 40, 2);
  DrawCloud(canvas, 540, 150, 3);
  canvas.FillEllipse(140, 400, 220, 110, kInkGreenDark);
  canvas.FillEllipse(520, 410, 240, 120, kInkGreen);
  canvas.FillRect(0, 420, 640, 60, kInkBrown);
  for (int x = 0; x < 640; x += 32) DrawGroundTop(canvas, x, 420);
  // The name of the game, in two sizes of the pixel font with a dark edge.
  canvas.TextCentred(322, 62, "DOT'S", kInkBlueDark, 8);
  canvas.TextCentred(320, 58, "DOT'S", kInkYellow, 8, kInkRedDark);
  canvas.TextCentred(322, 134, "BIG ADVENTURE", kInkBlueDark, 5);
  canvas.TextCentred(320, 130, "BIG ADVENTURE", kInkWhite, 5, kInkRedDark);
  canvas.TextCentred(320, 456, "A SAMPLE GAME", kInkWhite, 2, kInkBrownDark);
  DrawHero(canvas, 64, 356, 0, 2);
  DrawWalker(canvas, 520, 356, 1, 2);
  return canvas;
}

// Row k: the title menu entry of kind k (new game, continue, challenge, free play, replay,
// options, quit), each a dark plate with its name.
cCanvas GameModePicture() {
  static const char* const kEntries[] = {"NEW GAME", "CONTINUE", "CHALLENGE", "FREE PLAY", "REPLAY", "OPTIONS", "QUIT"};
  cCanvas canvas(192, 32 * 7);
  for (int k = 0; k < 7; ++k) {
    const int y = 32 * k;
    canvas.FillRect(2, y + 2, 188, 28, kInkNavy);
    canvas.FrameRect(2, y + 2, 188, 28, kInkWhite);
    canvas.TextCentred(96, y + 6, kEntries[k], kInkWhite, 3, kInkBlack);
  }
  return canvas;
}

void DrawArrow(cCanvas& canvas, int x, int y, int size, std::uint8_t colour, std::uint8_t edge) {
  canvas.FillTriangle(x, y, x + size - 1, y + size / 2, x, y + size - 1, edge);
  canvas.FillTriangle(x + 1, y + 2, x + size - 3, y + size / 2, x + 1, y + size - 3, colour);
}

void DrawGauge(cCanvas& canvas, int x, int y, std::uint8_t fill) {
  canvas.FillRect(x, y, 50, 16, kInkBlack);
  canvas.FrameRect(x, y, 50, 16, kInkWhite);
  canvas.FillRect(x, y + 144 - 128, 50, 16, fill);       // the full fill, row 144
  canvas.FillRect(x + 1, y + 144 - 128 + 3, 48, 3, kInkWhite);
  canvas.FillRect(x, y + 160 - 128, 50, 16, kInkRed);    // the fill of a nearly empty gauge, row 160
}

// Cursors, status icons, the hero on the world map (two frames per direction) and the gauges.
cCanvas AccessoryPicture() {
  cCanvas canvas(128, 176);
  DrawArrow(canvas, 4, 4, 24, kInkYellow, kInkBlack);
  DrawArrow(canvas, 64, 0, 16, kInkYellow, kInkBlack);
  DrawArrow(canvas, 80, 0, 16, kInkGrey, kInkBlack);
  // Status icons at (16k, 32): total score, stage score, HP, SP, lives; the life icon at (0, 48).
  DrawCoin(canvas, 0, 32, 16, 0);
  DrawCoin(canvas, 16, 32, 16, 1);
  DrawHeart(canvas, 32, 32, 16, kInkRed);
  DrawStar(canvas, 48, 32, 16, kInkYellow);
  DrawHeroHead(canvas, 64, 32);
  DrawHeroHead(canvas, 0, 48);
  // Map hero: facing down (0, 64), up (64, 64), right (0, 96), left (64, 96); frame 2 32 dots on.
  for (int frame = 0; frame < 2; ++frame) {
    DrawMapHero(canvas, 32 * frame, 64, 0, frame);
    DrawMapHero(canvas, 64 + 32 * frame, 64, 1, frame);
    DrawMapHero(canvas, 32 * frame, 96, 3, frame);
    DrawMapHero(canvas, 64 + 32 * frame, 96, 2, frame);
  }
  DrawGauge(canvas, 0, 128, kInkGreen);
  DrawGauge(canvas, 64, 128, kInkBlue);
  return canvas;
}

// The letter pictures a to z of the fonts, 16 x 16 cells in the top row (the message font's
// pitch); the rest of the row is left clear for the wider fonts.
cCanvas SymbolPicture() {
  cCanvas canvas(26 * 32, 32);
  for (int k = 0; k < 26; ++k) {
    const char letter[2] = {static_cast<char>('A' + k), 0};
    canvas.Text(16 * k + 3, 1, letter, kInkYellow, 2);
  }
  return canvas;
}

// Banners: stage (0, 0), replay (0, 32), clear (0, 64), game over (0, 96, 144 wide); digits of
// 32 x 32 on row 128 (stage number) and row 160 (time left).
cCanvas WordPicture() {
  cCanvas canvas(320, 192);
  const auto banner = [&](int y, int w, const char* text, std::uint8_t colour) {
    canvas.TextCentred(w / 2, y + 5, text, colour, 3, kInkBlack);
  };
  banner(0, 128, "STAGE", kInkWhite);
  banner(32, 128, "REPLAY", kInkSkyLight);
  banner(64, 128, "CLEAR!", kInkYellow);
  banner(96, 144, "GAME OVER", kInkRed);
  for (int d = 0; d < 10; ++d) {
    const char digit[2] = {static_cast<char>('0' + d), 0};
    canvas.TextCentred(32 * d + 16, 128 + 5, digit, kInkWhite, 3, kInkBlack);
    canvas.TextCentred(32 * d + 16, 160 + 5, digit, kInkYellow, 3, kInkBlack);
  }
  return canvas;
}

// The picture the picture command shows: a sign board.
cCanvas SignPicture() {
  cCanvas canvas(160, 80);
  canvas.FillRect(76, 50, 8, 30, kInkBrownDark);
  canvas.FillRect(0, 0, 160, 52, kInkBrownDark);
  canvas.FillRect(3, 3, 154, 46, kInkBrown);
  canvas.TextCentred(80, 10, "GO RIGHT", kInkWhite, 2, kInkBrownDark);
  canvas.TextCentred(80, 30, "-->", kInkYellow, 2, kInkBrownDark);
  return canvas;
}

// The sparkle effect: four 32 x 32 cells of a star that grows and fades.
cCanvas SparklePicture() {
  cCanvas canvas(128, 32);
  const std::uint8_t colours[4] = {kInkWhite, kInkYellow, kInkGold, kInkOrange};
  const int sizes[4] = {12, 20, 28, 16};
  for (int k = 0; k < 4; ++k) DrawStar(canvas, 32 * k + (32 - sizes[k]) / 2, (32 - sizes[k]) / 2, sizes[k], colours[k]);
  return canvas;
}

// The presentation stage's banner: a ribbon with its title, shown stretched.
cCanvas BannerPicture() {
  cCanvas canvas(200, 40);
  canvas.FillRect(0, 4, 200, 32, kInkRedDark);
  canvas.FillRect(2, 6, 196, 28, kInkRed);
  canvas.FillTriangle(0, 0, 12, 20, 0, 40, kInkKey);
  canvas.FillTriangle(199, 0, 187, 20, 199, 40, kInkKey);
  canvas.TextCentred(100, 13, "SHOW TIME", kInkYellow, 2, kInkRedDark);
  return canvas;
}

// The picture shown while the game stands still for a moment.
cCanvas RestPicture() {
  cCanvas canvas(240, 64);
  canvas.FillRect(0, 0, 240, 64, kInkNavy);
  canvas.FrameRect(2, 2, 236, 60, kInkWhite);
  canvas.TextCentred(120, 14, "PAUSE", kInkWhite, 3, kInkBlack);
  canvas.TextCentred(120, 42, "ONE MOMENT", kInkSkyLight, 1);
  return canvas;
}

// The burst effect: five 48 x 48 cells of a ring that widens and breaks up.
cCanvas BurstPicture() {
  cCanvas canvas(240, 48);
  const std::uint8_t colours[5] = {kInkWhite, kInkYellow, kInkOrange, kInkRed, kInkRedDark};
  const int radii[5] = {6, 12, 17, 21, 23};
  for (int k = 0; k < 5; ++k) {
    const int cx = 48 * k + 24;
    canvas.FillCircle(cx, 24, radii[k], colours[k]);
    canvas.FillCircle(cx, 24, radii[k] * 2 / 3, kInkKey);
  }
  DrawStar(canvas, 48 * 2 + 14, 14, 20, kInkWhite);
  return canvas;
}

struct PictureFile {
  const char* path;
  cCanvas (*draw)();
};
const PictureFile kPictures[] = {
    {"bmp\\plt\\Palette.bmp", PalettePicture},
    {"bmp\\Debug.bmp", DebugPicture},
    {"bmp\\Window.bmp", WindowPicture},
    {"bmp\\StatusWindow.bmp", StatusWindowPicture},
    {"bmp\\Title.bmp", TitlePicture},
    {"bmp\\GameMode.bmp", GameModePicture},
    {"bmp\\Accessory.bmp", AccessoryPicture},
    {"bmp\\Symbol.bmp", SymbolPicture},
    {"bmp\\Word.bmp", WordPicture},
    {"bmp\\picture\\Sign.bmp", SignPicture},
    {"bmp\\effect\\Sparkle.bmp", SparklePicture},
    {"bmp\\picture\\Banner.bmp", BannerPicture},
    {"bmp\\picture\\Rest.bmp", RestPicture},
    {"bmp\\effect\\Burst.bmp", BurstPicture},
};

}  // namespace

bool WriteSamplePictures() {
  bool ok = true;
  for (const PictureFile& picture : kPictures) ok &= SaveCanvas(picture.draw(), picture.path);
  return ok;
}
