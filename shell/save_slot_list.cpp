// The slot list of the save and load menus.
#include "shell/save_slot_list.h"

#include "platform/display/blit.h"
#include "platform/display/font.h"

namespace {

// The slot list's geometry: a row of 16 dots in a window 320 dots wide, the number 16 dots and
// the date 64 dots in from the left, a line of this palette colour under every row but the last.
constexpr std::int32_t kSlotRowHeight = 16;
constexpr std::int32_t kSlotListWidth = 320;
constexpr std::int32_t kSlotNumberX = 16;
constexpr std::int32_t kSlotDateX = 64;
constexpr std::uint32_t kSlotLineColour = 240;
constexpr int kMessageFont = 1;

}  // namespace

void FormatSaveDate(const cSaveSlotInfo& info, DDSURFACEDATA* dst, std::int32_t x, std::int32_t y) {
  if (!info.m_Used) return;
  const SYSTEMTIME& t = info.m_SaveTime;
  g_Fonts[kMessageFont].Printf(dst, x, y, "%04d/%02d/%02d %02d:%02d\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

void DrawSaveSlots(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, const CheckedVector<cSaveSlotInfo>& slots,
                   std::int32_t first, std::int32_t rows) {
  g_Fonts[kMessageFont].DrawWindow(dst, x, y, kSlotListWidth, rows * kSlotRowHeight);
  for (std::int32_t r = 0; r < rows; ++r, y += kSlotRowHeight) {
    const std::int64_t slot = static_cast<std::int64_t>(first) + r;
    if (slot >= slots.Size()) break;
    if (slot < 0) continue;
    if (r != rows - 1) DDFillRect(dst, x, y + kSlotRowHeight - 1, kSlotListWidth, 1, kSlotLineColour);
    g_Fonts[kMessageFont].Printf(dst, x + kSlotNumberX, y, "%d", static_cast<int>(slot) + 1);
    FormatSaveDate(slots.At(static_cast<int>(slot)), dst, x + kSlotDateX, y);
  }
}
