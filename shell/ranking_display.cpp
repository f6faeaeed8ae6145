// The ranking window, the time text and the result panel.
#include "shell/ranking_display.h"

#include <algorithm>
#include <array>

#include "platform/display/blit.h"
#include "platform/display/font.h"
#include "platform/host/text_codec.h"
#include "platform/services/text.h"
#include "project/save_data.h"
#include "project/stage_data.h"
#include "project/system_data.h"
#include "shell/ranking.h"
#include "shell/scene_manager.h"
#include "shell/startup.h"

namespace {

constexpr std::int32_t kCell = 16;
// The ranking window's frame, inside the one-dot margin at its top-left corner.
constexpr std::int32_t kWindowWidth = 270;
constexpr std::int32_t kWindowHeight = 350;
constexpr std::int32_t kWindowCentre = 136;
// Columns of a place's row, in dots from the window's left edge.
constexpr std::int32_t kRankColumn = 16;
constexpr std::int32_t kNameColumn = 64;
constexpr std::int32_t kTimeColumn = 144;
// A number ends where its width plus this many cells does.
constexpr std::int32_t kValueEndCells = 9;
// Clear times take "MM:SS.hh", eight cells.
constexpr std::int32_t kTimeCells = 8;
// UiTexts: the table labels follow the results from here, then the hint of the table switch.
constexpr std::int32_t kTableLabelText = 5;
constexpr std::int32_t kSwitchHintText = 24;

// Accessory.bmp in the surface table, and where its marker lies.
constexpr std::int32_t kAccessorySurfaceIndex = 49;
constexpr std::int32_t kMarkerX = 16;
constexpr std::int32_t kMarkerY = 48;

Font& MessageFont() { return g_Fonts[1]; }

void DrawMarker(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y) {
  DDBlt(surface, x, y, kCell, kCell, &g_SurfaceTable[kAccessorySurfaceIndex], kMarkerX, kMarkerY, 1);
}

// The number of ranking kinds the current play mode keeps; none for a mode the project has no row for.
std::uint32_t TablesOfCurrentMode() {
  const std::int32_t mode = g_SceneManager.m_PlayMode;
  if (mode < 0 || mode >= g_System.m_RankingSets.Size()) return 0;
  return g_System.CountSystemFlags(mode);
}

// Two digits of n (0..99) onto out.
void AppendTwoDigits(std::string& out, std::int64_t n) {
  out += static_cast<char>('0' + n / 10);
  out += static_cast<char>('0' + n % 10);
}

// The time text of the window and the panel, kept between frames.
std::string& TimeText() {
  static std::string text;
  return text;
}

std::int32_t ResultValue(std::int32_t result) {
  const std::array<std::int32_t, kResultCount> values = {g_SaveData.m_SumScore, g_SaveData.m_SumTimeLeft,
                                                         g_SaveData.m_SumPlayTime, g_SaveData.m_SumHP,
                                                         g_SaveData.m_SumSP};
  return values[static_cast<std::size_t>(result)];
}

// A result is shown when the stage shows it and the play mode ranks it; a test play shows every
// result the stage shows.
bool ResultShown(std::int32_t result) {
  if (g_Stage.m_ResultSwitches.At(result) == 0) return false;
  if (g_TestPlay) return true;
  const cSystemFlagSet& set = g_System.m_RankingSets.At(g_SceneManager.m_PlayMode);
  return set.m_Flags.At(result) != 0;
}

}  // namespace

void FormatTime(std::string& out, std::int32_t value) {
  out.clear();
  std::int64_t magnitude = value;
  if (magnitude < 0) {
    out += '-';
    magnitude = -magnitude;
  }
  const std::int64_t seconds = magnitude / 100;
  const std::int64_t minutes = seconds / 60;
  if (minutes < 10) out += '0';
  // Minutes need as many digits as they have; the largest time has eight.
  char digits[24];
  int count = 0;
  std::int64_t rest = minutes;
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest > 0);
  while (count > 0) out += digits[--count];
  out += ':';
  AppendTwoDigits(out, seconds % 60);
  out += '.';
  AppendTwoDigits(out, magnitude % 100);
}

void cRankFile::DrawTable(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y, std::int32_t t, std::int32_t marked) {
  m_Tables.At(t).Draw(surface, x, y, t, marked);
}

void cRankTable::Draw(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y, std::int32_t t, std::int32_t marked) {
  Font& font = MessageFont();
  font.DrawWindow(surface, x + 1, y + 1, kWindowWidth, kWindowHeight);
  font.Printf(surface, x, y, SJ("ランキング    %s").c_str(), g_System.m_UiTexts.At(t + kTableLabelText).c_str());

  const bool times = t == kRankTableClearTime;
  // Numbers line up on their last digit, under the widest: the first place's, as tables that rank
  // the higher value first hold it there.
  std::int32_t width = kTimeCells;
  if (!times) width = m_Entries.empty() ? 1 : CountDigits(m_Entries.At(0).m_Value);
  for (std::int32_t i = 0; i < m_Entries.Size(); ++i) {
    const cRankEntry& entry = m_Entries.At(i);
    if (entry.m_Used == 0) continue;
    const std::int32_t row = y + kCell * (i + 1);
    font.Printf(surface, x + kRankColumn, row, "%d", i + 1);
    font.Printf(surface, x + kNameColumn, row, "%s", entry.m_Name.c_str());
    if (times) {
      std::string& text = TimeText();
      FormatTime(text, entry.m_Value);
      font.Printf(surface, x + kTimeColumn, row, "%s", text.c_str());
    } else {
      const std::int32_t digits = CountDigits(entry.m_Value);
      font.Printf(surface, x + (width - digits + kValueEndCells) * kCell, row, "%d", entry.m_Value);
    }
  }

  if (TablesOfCurrentMode() >= 2) {
    const std::string& hint = g_System.m_UiTexts.At(kSwitchHintText);
    font.Draw(surface, x + kWindowCentre - CharCount(hint) * kCell / 2, y + kCell * (m_Entries.Size() + 1), hint.c_str(),
              0);
  }
  if (marked != -1) DrawMarker(surface, x, y + kCell * (marked + 1));
}

void DrawResultPanel(DDSURFACEDATA* surface, std::int32_t x, std::int32_t y, std::span<const std::int32_t> places) {
  std::array<bool, kResultCount> shown{};
  std::int32_t count = 0;
  std::int32_t labelCells = 1;
  std::int32_t valueCells = 1;
  for (std::int32_t i = 0; i < kResultCount; ++i) {
    shown[static_cast<std::size_t>(i)] = ResultShown(i);
    if (!shown[static_cast<std::size_t>(i)]) continue;
    ++count;
    labelCells = std::max(labelCells, CharCount(g_System.m_UiTexts.At(kTableLabelText + i)));
    valueCells = std::max(valueCells, i == kRankTableClearTime ? kTimeCells : CountDigits(ResultValue(i)));
  }
  if (count == 0) return;

  Font& font = MessageFont();
  font.DrawWindow(surface, x, y, (valueCells + labelCells + 3) * kCell, count * kCell);
  std::int32_t row = y;
  const std::int32_t valueX = x + kCell + (labelCells + 1) * kCell;
  for (std::int32_t i = 0; i < kResultCount; ++i) {
    if (!shown[static_cast<std::size_t>(i)]) continue;
    font.Printf(surface, x + kCell, row, "%s", g_System.m_UiTexts.At(kTableLabelText + i).c_str());
    if (i == kRankTableClearTime) {
      std::string& text = TimeText();
      FormatTime(text, ResultValue(i));
      font.Printf(surface, valueX, row, "%s", text.c_str());
    } else {
      font.Printf(surface, valueX, row, "%d", ResultValue(i));
    }
    // The marker goes beside the row of the result that entered its table.
    const auto result = static_cast<std::size_t>(i);
    if (result < places.size() && places[result] != -1) DrawMarker(surface, x, row);
    row += kCell;
  }
}
