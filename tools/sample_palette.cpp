#include "tools/sample_palette.h"

namespace {

// Index, colour. The pictures use these by name; the rest of the palette is filler that keeps a
// 256-colour display from showing garbage when something draws with an unnamed index.
struct NamedColour {
  SampleInk ink;
  SampleColour colour;
};
constexpr NamedColour kNamedColours[] = {
    {kInkKey, kSampleKeyColour},
    {kInkBlack, {0, 0, 0}},
    {kInkWhite, {255, 255, 255}},
    {kInkGreyDark, {64, 64, 72}},
    {kInkGrey, {128, 128, 136}},
    {kInkGreyLight, {192, 192, 200}},
    {kInkRed, {224, 40, 32}},
    {kInkRedDark, {136, 16, 16}},
    {kInkOrange, {248, 144, 32}},
    {kInkYellow, {255, 224, 64}},
    {kInkGreen, {64, 184, 56}},
    {kInkGreenDark, {24, 112, 40}},
    {kInkSky, {120, 176, 248}},
    {kInkBlue, {40, 88, 216}},
    {kInkBlueDark, {16, 40, 120}},
    {kInkBrown, {160, 96, 40}},
    {kInkNavy, {16, 24, 64}},
    {kInkBrownDark, {96, 56, 24}},
    {kInkSkin, {252, 200, 152}},
    {kInkPink, {248, 136, 176}},
    {kInkGreenLight, {152, 232, 120}},
    {kInkGold, {232, 184, 24}},
    {kInkPurple, {136, 64, 176}},
    {kInkSkyLight, {184, 216, 255}},
    {kInkSkyDeep, {72, 128, 232}},
    {kInkSand, {232, 208, 144}},
    {kInkWater, {40, 104, 200}},
    {kInkWaterLight, {96, 160, 232}},
    {kInkFontFrame, {8, 8, 24}},
    {kInkFontText, {255, 255, 255}},
};

constexpr int kCubeSide = 5;
constexpr int kCubeEnd = kInkCubeFirst + kCubeSide * kCubeSide * kCubeSide;

std::array<SampleColour, 256> BuildPalette() {
  std::array<SampleColour, 256> palette{};
  for (int i = 0; i < 256; ++i) {
    const auto grey = static_cast<std::uint8_t>(i);
    palette[static_cast<std::size_t>(i)] = {grey, grey, grey};
  }
  for (int i = kInkCubeFirst; i < kCubeEnd; ++i) {
    const int n = i - kInkCubeFirst;
    const auto level = [](int step) { return static_cast<std::uint8_t>(step * 255 / (kCubeSide - 1)); };
    palette[static_cast<std::size_t>(i)] = {level(n / 25), level(n / 5 % 5), level(n % 5)};
  }
  for (const NamedColour& named : kNamedColours) palette[named.ink] = named.colour;
  // At display depths above 8 bits the key is a colour, not an index: no other entry may equal it.
  for (std::size_t i = 1; i < palette.size(); ++i) {
    SampleColour& c = palette[i];
    if (c.red == kSampleKeyColour.red && c.green == kSampleKeyColour.green && c.blue == kSampleKeyColour.blue)
      c.blue = static_cast<std::uint8_t>(c.blue - 1);
  }
  return palette;
}

}  // namespace

const std::array<SampleColour, 256>& SamplePalette() {
  static const std::array<SampleColour, 256> palette = BuildPalette();
  return palette;
}
