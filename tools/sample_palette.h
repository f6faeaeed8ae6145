#pragma once
// The 256 colours every picture of the sample game shares (it is a 256-colour project): the key
// colour, a set of named colours the pictures are drawn with, a colour cube, the two colours of the
// fonts and a grey ramp. bmp\plt\Palette.bmp carries them to the player.
#include <array>
#include <cstdint>

struct SampleColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// Palette indices of the named colours.
enum SampleInk : std::uint8_t {
  kInkKey = 0,  // the transparent colour: the top-left pixel of the palette picture
  kInkBlack = 1,
  kInkWhite = 2,
  kInkGreyDark = 3,
  kInkGrey = 4,
  kInkGreyLight = 5,
  kInkRed = 6,
  kInkRedDark = 7,
  kInkOrange = 8,
  kInkYellow = 9,
  kInkGreen = 10,
  kInkGreenDark = 11,
  kInkSky = 12,
  kInkBlue = 13,
  kInkBlueDark = 14,
  kInkBrown = 15,
  kInkNavy = 16,  // the menu pages' background and the world map's fill colour
  kInkBrownDark = 17,
  kInkSkin = 18,
  kInkPink = 19,
  kInkGreenLight = 20,
  kInkGold = 21,
  kInkPurple = 22,
  kInkSkyLight = 23,
  kInkSkyDeep = 24,
  kInkSand = 25,
  kInkWater = 26,
  kInkWaterLight = 27,
  kInkCubeFirst = 32,  // a 5 x 5 x 5 colour cube, 32 .. 156; then grey ramps up to 255
  kInkFontFrame = 240,  // the fonts' window-frame colour
  kInkFontText = 241,   // the fonts' text colour
};

constexpr SampleColour kSampleKeyColour = {255, 0, 255};

// The whole palette, entry i the colour of index i.
const std::array<SampleColour, 256>& SamplePalette();
