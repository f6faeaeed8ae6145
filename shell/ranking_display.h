#pragma once
// What the screens show of rankings and results: the ranking window (cRankTable::Draw and
// cRankFile::DrawTable, declared with the records in shell/ranking.h), the time text of clear
// times, and the result panel of a stage clear. All text is in the message font, g_Fonts[1], whose
// cells are 16 x 16 dots; the marker is the 16 x 16 picture at (16, 48) of Accessory.bmp.
#include <cstdint>
#include <span>
#include <string>

#include "platform/display/surface.h"

constexpr std::int32_t kResultCount = 5;

// value (hundredths of a second) as "MM:SS.hh": minutes in two digits or more, seconds and
// hundredths in two each; 12345 gives "02:03.45". A negative time gets a "-" before its magnitude.
// out is reused, so a caller drawing every frame does not allocate once it has grown.
void FormatTime(std::string& out, std::int32_t value);

// The five results of the stage just cleared (g_SaveData's totals), those the stage shows and the
// play mode ranks (or all the stage shows in a test play), one row each in a window at (x, y).
// places holds the place each result reached in its table, -1 when none; a result that reached one
// gets the marker beside its row. Nothing at all when no result is shown.
void DrawResultPanel(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y, std::span<const std::int32_t> places);
