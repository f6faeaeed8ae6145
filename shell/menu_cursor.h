#pragma once
// The one menu cursor every menu moves: a stack of cursor states, so that a sub-menu can open over a
// menu and give the parent its cursor back when it closes; a grid move that wraps at both ends, and
// a scrolling list move with page jumps. Game thread only.
#include <cstdint>

#include "platform/input/input.h"
#include "platform/services/checked.h"

// Where a menu's cursor stands: indices, and the pixel place the menu draws its cursor picture at.
// x and y are worked out again by every move; menus only ever zero a whole state.
struct CursorState {
  std::int32_t column = 0;
  std::int32_t row = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const CursorState&) const = default;
};
static_assert(sizeof(CursorState) == 16);

class cMenuCursor {
 public:
  cMenuCursor();

  // One zeroed state left on the stack (made when the stack was emptied).
  void Reset();
  // Gives the stack's memory back (end of the program); Reset makes it usable again.
  void Clear();
  // Opens a sub-menu level: mode 1 starts it where the parent's cursor is, any other mode zeroed.
  void Push(std::int32_t mode);
  // Closes a sub-menu level: mode 0 zeroes the parent's state, mode 2 hands it the closing level's
  // state, any other mode leaves it as it was. Nothing at all at depth one.
  void Pop(std::int32_t mode);

  void MoveGrid(const cInput& input, std::int32_t x0, std::int32_t y0, std::int32_t stepX, std::int32_t stepY,
                std::int32_t columns, std::int32_t rows);
  // vertical: the row moves and y follows; else the column moves and x follows. Either way up and
  // down take single steps and, with paging, right and left turn pages. top is the caller's first
  // visible entry.
  void MoveList(const cInput& input, std::int32_t vertical, std::int32_t* top, std::int32_t origin, std::int32_t step,
                std::int32_t fixed, std::int32_t visible, std::int32_t count, std::int32_t paging);

  std::int32_t Depth() const { return m_Stack.Size(); }

  CursorState* current = nullptr;
  CursorState* previous = nullptr;

 private:
  // The pointers after every change of the stack: it may have moved in memory.
  void Repoint();

  CheckedVector<CursorState> m_Stack;
};

extern cMenuCursor g_MenuCursor;

// Axes of PlayCursorSound.
constexpr std::uint8_t kCursorAxisHorizontal = 1;
constexpr std::uint8_t kCursorAxisVertical = 2;

// The cursor sound of g_SoundTable[sound], once for a horizontal and once more for a vertical move
// when the axes ask for them; played here on the calling (game) thread.
void PlayCursorSound(const cInput& input, std::uint8_t axes, std::int32_t sound);
