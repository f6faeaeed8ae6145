#pragma once
// The figures of the sample game, drawn into a canvas at any place: the title, the chip sheets and
// the world map all show the same hero, enemies, coins and ground. A figure fills one 32 x 32 cell
// (times scale where it takes one).
#include <cstdint>

class cCanvas;

// Frames: 0 standing, 1 and 2 walking, 3 in the air.
void DrawHero(cCanvas& canvas, int x, int y, int frame, int scale = 1);
void DrawWalker(cCanvas& canvas, int x, int y, int frame, int scale = 1);
void DrawFlyer(cCanvas& canvas, int x, int y, int frame);
// The moving platform character: a row of stone blocks with a face.
void DrawLift(cCanvas& canvas, int x, int y, int frame);
// The sign-post character that shows the message.
void DrawSignPost(cCanvas& canvas, int x, int y, int frame);

// Small things, size dots square: a coin (frame 0 face, 1 edge), a heart, a star.
void DrawCoin(cCanvas& canvas, int x, int y, int size, int frame);
void DrawHeart(cCanvas& canvas, int x, int y, int size, std::uint8_t colour);
void DrawStar(cCanvas& canvas, int x, int y, int size, std::uint8_t colour);
void DrawHeroHead(cCanvas& canvas, int x, int y);
// The hero on the world map, facing 0 down, 1 up, 2 left, 3 right; frame 0 or 1.
void DrawMapHero(cCanvas& canvas, int x, int y, int facing, int frame);

// Scenery: a cloud (scale 1 is 64 x 24), grass on top of a 32-dot ground cell.
void DrawCloud(cCanvas& canvas, int x, int y, int scale);
void DrawGroundTop(cCanvas& canvas, int x, int y);
