// The menus and text windows built from the project settings' texts, and the ranking-kind count.
#include "project/system_texts.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "platform/services/text.h"
#include "project/system_data.h"

namespace {

// One character of a menu text takes one cell of the message font.
constexpr int kCellWidth = 16;
// Room for one formatted piece without touching the heap; longer pieces are formatted whole.
constexpr std::size_t kFormatBufferSize = 5120;

}  // namespace

const LabelList ColourModeLabels = {
    "256色(8bit) カラーパレットあり",
    "1677万色(24bit) カラーパレットなし",
};

void ShownMenuEntries(const std::vector<cSystemMenuItem>& menu, std::vector<int>& shown) {
  shown.clear();
  for (std::size_t i = 0; i < menu.size(); ++i)
    if (menu[i].m_Shown != 0) shown.push_back(static_cast<int>(i));
  if (shown.empty() && !menu.empty()) shown.push_back(0);
}

std::string& AppendFormat(std::string& text, const char* format, ...) {
  char buffer[kFormatBufferSize];
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer) {
    text.append(buffer, static_cast<std::size_t>(length));
  } else if (length >= 0) {
    text += VFormatString(format, again);
  }
  va_end(again);
  va_end(args);
  return text;
}

std::uint32_t cSystemData::CountSystemFlags(int n) const {
  const cSystemFlagSet& set = m_RankingSets.At(n);
  if (set.m_Enabled == 0) return 0;
  const auto set_ = [](std::uint8_t flag) { return flag != 0; };
  return static_cast<std::uint32_t>(std::count_if(set.m_Flags.begin(), set.m_Flags.end(), set_));
}

int cSystemData::MenuTextLeftX(int centreX, int first, int count, int extra) const {
  int widest = 0;
  for (int i = 0; i < count; ++i) widest = std::max(widest, CharCount(m_UiTexts.At(first + i)));
  const int cells = widest + (extra != 0 ? 1 : 0);
  return centreX - cells * kCellWidth / 2;
}

void cSystemData::ComposeSystemTextMenu(int first, int count, int extra, std::string& text, int& widthChars) const {
  text.clear();
  int widest = 0;
  for (int i = 0; i < count; ++i) {
    const std::string& line = m_UiTexts.At(first + i);
    widest = std::max(widest, CharCount(line));
    AppendFormat(text, extra != 0 ? " %s\n" : "%s\n", line.c_str());
  }
  widthChars = widest + (extra != 0 ? 1 : 0);
}
