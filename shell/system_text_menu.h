#pragma once
// The menu windows of the project settings' texts, drawn with the message font.
#include <cstdint>

struct DDSURFACEDATA;

// UiTexts[first .. first + count - 1] of g_System as a window at (x, y) in the message font
// g_Fonts[1]: one 16-pixel cell per character, one line per text, and with extra a blank before
// every text for the cursor (the window one cell wider). The texts are drawn as they are, never as
// formats. Nothing for a count below 1.
void DrawSystemTextMenu(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t first, std::int32_t count,
                        std::int32_t extra);
