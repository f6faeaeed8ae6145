#include "platform/display/display_report.h"

#include <optional>
#include <string>

#include "platform/display/display.h"
#include "platform/host/screen.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

namespace {

// What GetDDIVersion answers when the version cannot be read: every start may go on.
constexpr int kUnknownDDIVersion = 99999;

}  // namespace

int WriteDisplayReport() {
  std::string lines = g_DisplayParams.windowed ? "Mode : Window\n" : "Mode : Fullscreen\n";
  lines += FormatString("Bpp : %d", g_DisplayParams.bpp);
  // DirectDraw adds the video memory and the monitor's refresh rate. Surfaces live in main memory
  // here, so there is no video memory to tell of; the refresh rate is the monitor's own, when the
  // window knows it.
  if (g_lpDD && g_DisplayParams.hWnd) {
    std::optional<int> refresh = g_DisplayParams.hWnd->RefreshRate();
    if (refresh) lines += FormatString("\nRR : %u", static_cast<unsigned>(*refresh));
  }
  // Direct3D adds the diagnostic provider's lines of each display device; this platform has no
  // such provider, so they are left out.
  return ReportLogText(lines);
}

int GetDDIVersion() { return kUnknownDDIVersion; }
