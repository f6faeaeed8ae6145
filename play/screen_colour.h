#pragma once
// The screen colour of a running stage (the command 画面の色を変更): the whole frame tinted toward one
// colour, faded in over a time, held, flashed a number of times, or faded back. The weight says how
// much of the frame's own colour stays: 255 leaves it untinted, lower values tint more.
#include <cstdint>

struct cScreenColour {
  std::int32_t m_Held = 0;  // a change without restore has been made
  std::uint8_t m_Red = 0;
  std::uint8_t m_Green = 0;
  std::uint8_t m_Blue = 0;
  std::int32_t m_Strength = 0;  // percent
  std::int32_t m_Restore = 0;   // the change fades back to the untinted frame
  std::int32_t m_Time = 0;      // frames
  std::int32_t m_Flash = 0;
  std::int32_t m_Repeats = 0;
  std::int32_t m_Active = 0;
  std::int32_t m_Counter = 0;
  std::int32_t m_RepeatsDone = 0;
  std::int32_t m_Weight = 0;  // 0..255
  std::uint8_t m_PrevRed = 0;
  std::uint8_t m_PrevGreen = 0;
  std::uint8_t m_PrevBlue = 0;
  std::int32_t m_PrevStrength = 0;
  std::int32_t m_PrevWeight = 255;
};

// The weight that leaves the frame as it is.
constexpr std::int32_t kUntinted = 255;

// Starts a change with the command's eight values: red, green, blue, strength (percent), restore,
// time (tenths of a second), flash, repeat count.
void StartScreenColour(cScreenColour& colour, std::int32_t red, std::int32_t green, std::int32_t blue,
                       std::int32_t strength, std::int32_t restore, std::int32_t time, std::int32_t flash,
                       std::int32_t repeats);

// Applies the play scene's screen colour to the frame on the back surface (Direct3D), or to the
// display palette (DirectDraw at 8 bits), and advances it unless frozen.
void DrawScreenColour(std::int32_t frozen);

// The weight of the change's current frame (kept within 0..255).
std::int32_t ScreenColourWeight(const cScreenColour& colour);
