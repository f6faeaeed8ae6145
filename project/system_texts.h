#pragma once
// The vocabulary behind the lists of the project settings: what the rows of the texts, menus,
// status bar and music slots mean, the colour-mode labels, and the helpers that build menus and
// window texts from them. The texts themselves live in g_System (project/system_data.h).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/services/checked.h"
#include "platform/services/format.h"
#include "project/label_list.h"

class cSystemMenuItem;

// The index of MenuBgm and MenuBgmLoop, which is also the wParam of the menu music request.
enum MenuMusicSlot : int {
  kMenuMusicTitle = 0,
  kMenuMusicWorldMap = 1,  // the world map and its menu
  kMenuMusicChallenge = 2,
  kMenuMusicOption = 3,
};

// The 16 x 16 cell of bmp\Accessory.bmp that stands for status-bar entry k when its Icon is set.
struct StatusBarIconCell {
  int x;
  int y;
};
constexpr StatusBarIconCell kStatusBarIconCells[] = {
    {0, 32},   // the total score
    {16, 32},  // the score of the stage
    {32, 32},  // HP gauge
    {48, 32},  // SP gauge
    {64, 32},  // lives
};

// 0 "256色(8bit) カラーパレットあり", 1 "1677万色(24bit) カラーパレットなし", the empty end.
extern const LabelList ColourModeLabels;

// The indices of the shown entries of a menu, in index order; a menu that hides every entry shows
// entry 0 alone (a menu without entries shows nothing). shown is reused, so a menu built every
// frame does not allocate once it has grown.
void ShownMenuEntries(const std::vector<cSystemMenuItem>& menu, std::vector<int>& shown);

// Formats like sprintf and appends the result to text, however long. The format is always the
// caller's own literal; texts from a project go in as arguments, so a "%" in them stays a "%".
std::string& AppendFormat(std::string& text, const char* format, ...) PLAYER_PRINTF(2, 3);
