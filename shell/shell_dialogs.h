#pragma once
// The shell's two dialogs: the launcher, which asks for the renderer at start-up and keeps the
// choice in the boot settings, and the name entry, which asks for the name a result enters a ranking
// under. Both are drawn over the game's frame and run modally on the window thread.
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

// Item ids of the launcher.
constexpr std::int32_t kLauncherStart = 1000;
constexpr std::int32_t kLauncherQuit = 1001;
constexpr std::int32_t kLauncherDirect3D = 1002;
constexpr std::int32_t kLauncherDirectDraw = 1003;
constexpr std::int32_t kLauncherDontShow = 1004;
// Item ids of the name entry.
constexpr std::int32_t kNameEntryOk = 1000;
constexpr std::int32_t kNameEntryCancel = 1001;
constexpr std::int32_t kNameEntryField = 1003;
// The longest name, in bytes: a double-byte character is never cut.
constexpr std::int32_t kNameEntryBytes = 3;

class cLauncherDialog : public cDialog {
 public:
  // path: where the start button writes the boot settings.
  explicit cLauncherDialog(const char* path);
  void OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  std::string m_Path;
  cRadioCtrl m_Direct3D;
  cRadioCtrl m_DirectDraw;
  cCheckCtrl m_DontShow;
};

class cNameEntryDialog : public cDialog {
 public:
  // Binds the options' registration name while the option scene runs, else the play scene's entry
  // name, else nothing (the dialog still shows and closes).
  cNameEntryDialog();
  std::intptr_t WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;
  // The string the dialog writes; null when nothing is bound.
  std::string* Bound() const { return m_Desc.variable == &m_Unbound ? nullptr : m_Desc.variable; }

 private:
  ControlDesc m_Desc;
  cEditCtrl m_Field;
  std::string m_Unbound;
};
