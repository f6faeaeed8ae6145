#include "platform/ui/keyboard_hook.h"

#include <algorithm>
#include <array>

#include "platform/host/input_devices.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/window.h"

namespace {

// The window thread's hook state: one hook for the program, touched by that thread only.
bool s_Installed = false;
bool s_Fault = false;
int s_CtrlDown = 0;
cDialogWindow* s_Active = nullptr;

constexpr int VK_DELETE = 0x2E;
constexpr int VK_F8 = 0x77;

bool IsCtrl(std::uintptr_t key) { return key == VK_CONTROL || key == VK_LCONTROL || key == VK_RCONTROL; }

}  // namespace

int IsNavigationKey(std::uint32_t key) {
  const bool nav = key == VK_SPACE || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_DELETE ||
                   (key >= VK_F1 && key <= VK_F8);
  return nav ? 1 : 0;
}

int cHook::Attach(cDialogWindow* dialog, int modeless) {
  m_hWnd = dialog;
  m_Modeless = modeless;
  if (dialog) dialog->SetHookProperty(this);
  if (s_Installed) return 1;
  if (s_Fault) return 0;
  s_Installed = true;
  return 1;
}

std::intptr_t cHook::HookProc(int code, std::uintptr_t key, std::intptr_t flags) {
  // Passing a key on is letting it go to its item: the dialog loop does that after this returns.
  if (!s_Installed || code < 0 || code == HC_NOREMOVE) return 0;
  cDialogWindow* active = s_Active;
  cHook* hook = active ? active->HookProperty() : nullptr;
  if (!hook || hook->m_hWnd != active) return 0;
  if (flags & kKeyUpFlag) {
    if (IsCtrl(key)) s_CtrlDown = 0;
    if (!hook->m_Modeless || !s_CtrlDown) active->Post(WM_KEYUP, key, flags);
    return 0;
  }
  if (key == VK_TAB) return 0;
  const bool composing = active->Composing();
  if (key == VK_RETURN) {
    // Enter completes the input method's text; only a plain Enter reaches the dialog.
    if (!composing) active->Post(WM_KEYDOWN, key, flags);
    return 0;
  }
  if (IsCtrl(key)) s_CtrlDown = 1;
  if (!composing && IsNavigationKey(static_cast<std::uint32_t>(key))) {
    active->Post(WM_DIALOG_NAVKEY, key, flags);
  } else if (!hook->m_Modeless || !s_CtrlDown) {
    active->Post(WM_KEYDOWN, key, flags);
  }
  return 0;
}

void UnhookKeyboard() { s_Installed = false; }
bool KeyboardHookInstalled() { return s_Installed; }
int KeyboardHookCtrlDown() { return s_CtrlDown; }
void SetKeyboardHookFault(bool fail) { s_Fault = fail; }
void SetActiveDialogWindow(cDialogWindow* window) { s_Active = window; }
cDialogWindow* ActiveDialogWindow() { return s_Active; }
