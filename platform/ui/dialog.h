#pragma once
// Modal dialogs on the window framework, and the control objects that bind a dialog's items to the
// program's variables: an edit to a string with limits on lines and characters, a check box to an
// int, a radio button to an int and a value. The dialog is drawn over the game's frame and runs its
// own loop on the window thread (see dialog_loop.h); in headless runs it takes its answer instead.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog_window.h"
#include "platform/ui/keyboard_hook.h"
#include "platform/ui/window.h"

class cDialog;

// Control types.
constexpr std::int32_t kControlEdit = 3;
constexpr std::int32_t kControlPicture = 4;
constexpr std::int32_t kControlCheck = 5;
constexpr std::int32_t kControlRadio = 6;

class cControl {
 public:
  virtual ~cControl() = default;
  virtual void Enable(int enable);
  virtual void ValueToControl() {}
  virtual void ControlToValue() {}
  virtual void OnChange() {}
  virtual int OnNotify(std::uintptr_t, std::intptr_t) { return 0; }
  virtual int OnScroll(std::uintptr_t, std::intptr_t) { return 0; }
  virtual void Refresh() {}
  virtual void OnLeave() {}
  virtual void Redraw() {}
  virtual void OnKeyDown(std::uintptr_t, std::intptr_t, int) {}

  // Binds the control to item id of the dialog.
  void Attach(cDialog* dialog, std::uint16_t id);
  void UpdatePosition();

  cDialogWindow* m_hWnd = nullptr;  // the dialog's window, which holds the item
  cDialog* m_Dialog = nullptr;
  std::int32_t m_Type = 0;
  std::uint16_t m_Id = 0;
  POINT m_ScreenPos;
  POINT m_ClientPos;
  int m_Busy = 0;
  std::string m_Tooltip;
};

class cPictureCtrl : public cControl {
 public:
  cPictureCtrl() { m_Type = kControlPicture; }
};

class cCheckCtrl : public cControl {
 public:
  cCheckCtrl() { m_Type = kControlCheck; }
  void ValueToControl() override;
  void ControlToValue() override;
  std::int32_t* m_Value = nullptr;
};

class cRadioCtrl : public cControl {
 public:
  cRadioCtrl() { m_Type = kControlRadio; }
  void ValueToControl() override;
  // Only a checked button writes: the others of its group leave the int to the checked one.
  void ControlToValue() override;
  std::int32_t* m_Value = nullptr;
  std::int32_t m_Selected = 0;
};

// How an edit is bound: to a string, with a buffer size (a limit on what is read back), the most
// characters of a line, the most lines, and whether characters (1) or bytes (0) are counted.
struct ControlDesc {
  std::uint16_t id = 0;
  std::string* variable = nullptr;
  std::int32_t bufferSize = 0;
  std::int32_t maxChars = 0;
  std::int32_t maxLines = 0;
  std::int32_t countChars = 0;
  // size characters (or bytes) on one line; the buffer holds size + 1.
  void Set(std::uint32_t itemId, std::string* var, std::int32_t size, std::int32_t countCharacters);
};

class cEditCtrl : public cControl {
 public:
  cEditCtrl() { m_Type = kControlEdit; }
  void Init(cDialog* dialog, const ControlDesc& desc);
  void ValueToControl() override;
  void ControlToValue() override;
  // The limit enforcer, on every change of the item's text.
  void OnChange() override { OnCommand(); }
  void OnCommand();
  // The most bytes read back from the item.
  std::int32_t ReadLimit() const;

  std::string* m_Value = nullptr;
  std::int32_t m_BufferSize = 0;
  std::int32_t m_CountChars = 0;
  std::int32_t m_MaxChars = 0;
  std::int32_t m_MaxLines = 0;
  int m_Setting = 0;
  std::string m_Previous;
  std::int32_t m_SelStart = 0;
  std::int32_t m_SelEnd = 0;
};

// The text of an item into out, at most maxCount - 1 bytes (maxCount at most 5120), never half a
// double-byte character.
void GetDlgItemString(cDialogWindow* dialog, std::int32_t id, std::string& out, std::int32_t maxCount);
void SetDlgItemString(cDialogWindow* dialog, std::int32_t id, const std::string& text);

// The concrete dialogs ask it before they accept OK; it always agrees.
int DialogCanClose(int id);

class cDialog : public cWindow {
 public:
  cDialog();
  ~cDialog() override;

  void Setup(const DialogTemplate& dialogTemplate, cWindow* parent, std::uint32_t value, cWindowGroup* group);
  void Init(const DialogTemplate& dialogTemplate, cWindow* parent, cWindowGroup* group);
  // Runs the dialog until it ends; its result. 0 without running when it already has a window.
  std::intptr_t DoModal(std::uint32_t flags);
  // Stores the result, empties the control list and ends the modal loop.
  void End(std::intptr_t result);

  std::intptr_t WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  int Dispatch(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;
  void RefreshControls() override;
  virtual void OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam);

  void ValuesToControls();
  void ControlsToValues();

  // The dialog's window while it runs, else null.
  cDialogWindow* Window() const { return m_Window; }
  const DialogTemplate* Template() const { return m_Template; }
  std::intptr_t Result() const { return m_Result; }

  int m_Modeless = 0;
  std::uint32_t m_ModalFlags = 0;
  int m_Subclassed = 0;
  std::intptr_t m_Result = 0;
  cWindow* m_ParentObject = nullptr;
  cHook m_Hook;
  std::vector<cControl*> m_Controls;
  std::uint32_t m_Value = 0;
  // The mouse state when the dialog started.
  MouseState m_PreviousMouse;

 protected:
  void PlaceWindow(std::int32_t x, std::int32_t y) override;
  void ResizeWindow(std::int32_t, std::int32_t) override {}
  bool WorkArea(RECT* area) const override;
  bool ReadMouse(std::int32_t* x, std::int32_t* y, std::uint32_t* held) const override;
  bool ReadClientSize(std::int32_t* width, std::int32_t* height) const override;

 private:
  const DialogTemplate* m_Template = nullptr;
  cDialogWindow* m_Window = nullptr;
  cScreen* m_Screen = nullptr;
};
