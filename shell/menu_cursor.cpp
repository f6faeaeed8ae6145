#include "shell/menu_cursor.h"

#include <algorithm>

#include "platform/audio/sound_effects.h"

cMenuCursor g_MenuCursor;

cMenuCursor::cMenuCursor() {
  m_Stack.emplace_back();
  Repoint();
}

void cMenuCursor::Repoint() {
  const std::int32_t depth = m_Stack.Size();
  current = depth > 0 ? &m_Stack.At(depth - 1) : nullptr;
  previous = depth > 1 ? &m_Stack.At(depth - 2) : nullptr;
}

void cMenuCursor::Reset() {
  if (m_Stack.empty()) m_Stack.emplace_back();
  m_Stack.resize(1);
  m_Stack.At(0) = CursorState{};
  Repoint();
}

void cMenuCursor::Clear() {
  CheckedVector<CursorState>().swap(m_Stack);
  Repoint();
}

void cMenuCursor::Push(std::int32_t mode) {
  m_Stack.emplace_back();
  const std::int32_t depth = m_Stack.Size();
  if (mode == 1 && depth >= 2) m_Stack.At(depth - 1) = m_Stack.At(depth - 2);
  Repoint();
}

void cMenuCursor::Pop(std::int32_t mode) {
  if (m_Stack.Size() < 2) return;
  const CursorState closing = m_Stack.At(m_Stack.Size() - 1);
  m_Stack.pop_back();
  CursorState& parent = m_Stack.At(m_Stack.Size() - 1);
  if (mode == 0) parent = CursorState{};
  if (mode == 2) parent = closing;
  Repoint();
}

void cMenuCursor::MoveGrid(const cInput& input, std::int32_t x0, std::int32_t y0, std::int32_t stepX,
                           std::int32_t stepY, std::int32_t columns, std::int32_t rows) {
  if (columns < 0 || rows < 0 || !current) return;
  CursorState& c = *current;
  const std::uint16_t dir = input.m_Direction;
  if (dir & kDirLeft)
    --c.column;
  else if (dir & kDirRight)
    ++c.column;
  if (dir & kDirUp)
    --c.row;
  else if (dir & kDirDown)
    ++c.row;
  // One step never leaves the range by more than one entry: a wrap, not a remainder.
  if (c.row < 0)
    c.row = rows - 1;
  else if (c.row >= rows)
    c.row = 0;
  if (c.column < 0)
    c.column = columns - 1;
  else if (c.column >= columns)
    c.column = 0;
  c.x = c.column * stepX + x0;
  c.y = c.row * stepY + y0;
}

void cMenuCursor::MoveList(const cInput& input, std::int32_t vertical, std::int32_t* top, std::int32_t origin,
                           std::int32_t step, std::int32_t fixed, std::int32_t visible, std::int32_t count,
                           std::int32_t paging) {
  if (!current || !top) return;
  CursorState& c = *current;
  std::int32_t& index = vertical ? c.row : c.column;
  const std::uint16_t dir = input.m_Direction;
  // Single steps come from up and down whatever way the list runs: left and right are the page keys.
  if (dir & kDirUp) {
    if (index - *top < 1) --*top;
    --index;
  } else if (dir & kDirDown) {
    if (index - *top >= visible - 1) ++*top;
    ++index;
  }
  // A page is one entry short of the window, so the last line of the old page stays in sight.
  if (paging) {
    if (dir & kDirRight) {
      if (*top == count - visible) {
        index = count - 1;
      } else {
        *top += visible - 1;
        index += visible - 1;
      }
    } else if (dir & kDirLeft) {
      if (*top == 0) {
        index = 0;
      } else {
        *top -= visible - 1;
        index -= visible - 1;
      }
    }
  }
  if (index > count - 1) index = count - 1;
  if (index < 0) index = 0;
  if (*top < 0)
    *top = 0;
  else
    *top = std::min(*top, std::max(count - visible, 0));
  const std::int32_t along = (index - *top) * step + origin;
  if (vertical) {
    c.y = along;
    c.x = fixed;
  } else {
    c.x = along;
    c.y = fixed;
  }
}

void PlayCursorSound(const cInput& input, std::uint8_t axes, std::int32_t sound) {
  const std::uint16_t dir = input.m_Direction;
  const bool across = (axes & kCursorAxisHorizontal) && (dir & (kDirLeft | kDirRight));
  const bool upDown = (axes & kCursorAxisVertical) && (dir & (kDirUp | kDirDown));
  // A sound outside the table takes the checked table's road: logged, the program asked to close,
  // and entry 0 played in the meantime.
  if (across) DS_Play(g_SoundTable.At(sound), 0);
  if (upDown) DS_Play(g_SoundTable.At(sound), 0);
}
