#pragma once
// Drawing a dialog's window into the game's frame: the classic grey dialog look (raised frame, title
// bar, sunken edit and list fields, buttons with the default one marked, the focus outlined), with
// the dialog font of the project's dialogs ("ＭＳ Ｐゴシック" 9 points, a 12-pixel cell).
#include <cstdint>
#include <string_view>

#include "platform/host/screen.h"

class cDialogWindow;
struct sDialogItem;

// 0xFFRRGGBB pixels, pitch pixels a row.
struct DialogCanvas {
  std::uint32_t* pixels = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t pitch = 0;
};

void DrawDialogWindow(const cDialogWindow& window, const DialogCanvas& canvas);

// The width of a text in the dialog font (the sum of its characters' advances).
std::int32_t DialogTextWidth(std::string_view text);
// How far an edit's text is shifted left so that its caret stays in view.
std::int32_t EditScrollOffset(const sDialogItem& item);
