#pragma once
// The keyboard hook of the dialogs. A dialog's loop gives each key to the focused item and to the
// dialog manager, so the dialog's own procedure would never see it; the hook, which sees every key
// of the window thread first, copies each key that reaches the active hooked dialog to that dialog
// as a posted message, while the key still goes on to its item. Keys that move or act (arrows,
// Space, Delete, F1 to F8) come as message 2024, the others as WM_KEYDOWN and WM_KEYUP. Enter is left
// to the input method while it composes, and Tab is never copied.
#include <cstdint>

class cDialogWindow;

// A navigation key, copied by the hook.
constexpr std::uint32_t WM_DIALOG_NAVKEY = 2024;
// The hook's code that asks only to look at a key (nothing is copied then).
constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;
// Bit 31 of a key's flags: the key went up.
constexpr std::intptr_t kKeyUpFlag = static_cast<std::intptr_t>(0x80000000u);

class cHook {
 public:
  cHook() = default;
  virtual ~cHook() = default;
  cHook(const cHook&) = delete;
  cHook& operator=(const cHook&) = delete;

  // Serves the dialog: it is marked as hooked, and the hook is installed when it is not yet. 1 on
  // success, 0 when the hook could not be installed.
  int Attach(cDialogWindow* dialog, int modeless);
  // The hook procedure: called by the dialog loop with every key event before the key goes on.
  static std::intptr_t HookProc(int code, std::uintptr_t key, std::intptr_t flags);

  cDialogWindow* m_hWnd = nullptr;
  int m_Modeless = 0;
};

// 1 for Space, the arrows, Delete and F1 to F8.
int IsNavigationKey(std::uint32_t key);
// Takes the hook away (at shutdown); the next Attach installs it again.
void UnhookKeyboard();
bool KeyboardHookInstalled();
// 1 after a Ctrl key-down reached a hooked dialog, 0 after its key-up.
int KeyboardHookCtrlDown();
// Makes installing the hook fail (tests of the dialogs' report).
void SetKeyboardHookFault(bool fail);

// The window the keys go to: the dialog on top of the dialog loops, null outside them.
void SetActiveDialogWindow(cDialogWindow* window);
cDialogWindow* ActiveDialogWindow();
