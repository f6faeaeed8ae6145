#pragma once
// The slot list of the save and load menus, drawn in the message font from the slot summaries.
#include <cstdint>

#include "project/save_data.h"

struct DDSURFACEDATA;

// Rows lines of 16 dots in a 320-dot message-font window at (x, y), from slot first on: the slot
// number and its date, a line of colour 240 between rows.
void DrawSaveSlots(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const CheckedVector<cSaveSlotInfo>& slots,
                   std::int32_t first, std::int32_t rows);
// "YYYY/MM/DD hh:mm" of a used slot in the message font; nothing for an unused one.
void FormatSaveDate(const cSaveSlotInfo& info, DDSURFACEDATA* dst, std::int32_t x, std::int32_t y);
