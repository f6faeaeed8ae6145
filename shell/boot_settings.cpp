// The boot settings record, and the start-up's choice of renderer from it.
#include "shell/boot_settings.h"

#include <utility>

#include "platform/host/host_window.h"
#include "shell/main_window.h"
#include "shell/shell_dialogs.h"

cBootSettings g_BootSettings;

cBootSettings::cBootSettings() { RegisterFields(kRecordVersion); }

void cBootSettings::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Renderer);
  AddField(m_DontShow);
}

int cBootSettings::Load(const char* path) {
  return LoadOverCopy(*this, *this, path, FileOwner::kPlayer) == WholeLoad::kRead ? 1 : 0;
}

std::int32_t RunLauncher(const char* path) {
  // The launcher comes before the display: the window, still hidden, shows for the dialog alone.
  cScreen* screen = g_MainWindow.Screen();
  const bool window = screen && HostScreenIsWindow(*screen);
  if (window) ShowHostWindow(*screen, true);
  cLauncherDialog dialog(path);
  const std::intptr_t result = dialog.DoModal(0);
  if (window) ShowHostWindow(*screen, false);
  return result == 1 ? 1 : 0;
}

std::int32_t ChooseBootRenderer(const char* path) {
  // A missing or damaged file leaves the defaults: Direct3D, with the launcher shown. They are
  // put back first, since reading keeps whatever the record held when the file cannot be read.
  g_BootSettings = cBootSettings{};
  g_BootSettings.Load(path);
  if (g_BootSettings.m_DontShow == 0 && RunLauncher(path) == 0) return -1;
  return g_BootSettings.m_Renderer == 1 ? 1 : 0;
}
