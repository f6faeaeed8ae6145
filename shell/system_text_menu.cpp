// Drawing the menu windows composed from the project settings' texts.
#include "shell/system_text_menu.h"

#include <string>

#include "platform/display/font.h"
#include "project/system_data.h"

namespace {

// The message font's cell: each character of a menu text takes one.
constexpr std::int32_t kCellSize = 16;

}  // namespace

void DrawSystemTextMenu(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t first, std::int32_t count,
                        std::int32_t extra) {
  if (count < 1) return;
  // Kept, so that a menu drawn every frame composes without allocating once the text has grown.
  thread_local std::string text;
  int widthChars = 0;
  g_System.ComposeSystemTextMenu(first, count, extra, text, widthChars);
  g_Fonts[1].DrawTextWindow(dst, x, y, widthChars * kCellSize, count * kCellSize, text.c_str(), 0);
}
