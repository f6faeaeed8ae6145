#pragma once
// The window of a dialog: what the system's dialog manager kept for a dialog box, drawn by the game
// itself over its own frame so that it works in a window and in full screen alike. It is made from a
// template (items in dialog units), keeps each item's state (text, check, caret and selection, list
// entries), moves the keyboard focus, turns keys, typed text and mouse clicks into the items' changes
// and into WM_COMMAND notifications for the dialog's procedure, and holds the messages posted to the
// dialog until its loop hands them over.
//
// Texts are code page 932 bytes. Positions are pixels of the game's frame; dialog units are turned
// into pixels with the base units of the dialog font (6 x 12: one unit is 1.5 pixels both ways).
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "platform/host/screen.h"

enum class DialogItemKind : std::uint8_t {
  PushButton,
  DefPushButton,  // the button Enter presses
  CheckBox,       // an auto check box: a click toggles it
  RadioButton,    // an auto radio button: a click checks it and clears the others of its group
  Edit,
  Static,
  GroupBox,
  Picture,
  List,
};

class cHook;

struct DialogItemTemplate {
  std::int32_t id = -1;  // -1: an item nothing names
  DialogItemKind kind = DialogItemKind::Static;
  const char* text = "";  // UTF-8 in the source; the item holds it as the game's bytes
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t w = 0;
  std::int16_t h = 0;
  bool groupStart = false;  // a group of radio buttons starts here
};

struct DialogTemplate {
  std::uint32_t id = 0;
  std::int16_t w = 0;  // dialog units
  std::int16_t h = 0;
  bool caption = false;  // a title bar; its text is set at run time
  std::span<const DialogItemTemplate> items;
};

// Button and edit notifications, in the high word of a WM_COMMAND's wParam.
constexpr std::uint32_t BN_CLICKED = 0;
constexpr std::uint32_t LBN_SELCHANGE = 1;
constexpr std::uint32_t LBN_DBLCLK = 2;
constexpr std::uint32_t EN_SETFOCUS = 0x100;
constexpr std::uint32_t EN_KILLFOCUS = 0x200;
constexpr std::uint32_t EN_CHANGE = 0x300;
constexpr std::uint32_t EN_UPDATE = 0x400;

// Frame pixels of a length in dialog units: one unit is 1.5 pixels, rounded down.
constexpr std::int32_t DialogUnitsToPixels(std::int32_t units) { return units * 3 / 2; }
// The dialog frame and the title bar, in pixels.
constexpr std::int32_t kDialogFrame = 3;
constexpr std::int32_t kDialogCaption = 19;
// One row of a list.
constexpr std::int32_t kListRowHeight = 14;

struct sDialogItem {
  std::int32_t id = -1;
  DialogItemKind kind = DialogItemKind::Static;
  std::string text;
  ScreenRect rect;  // client pixels
  bool groupStart = false;
  bool enabled = true;
  std::int32_t checked = 0;
  // Edit: the anchor and the caret of the selection, byte offsets on character starts.
  std::int32_t anchor = 0;
  std::int32_t caret = 0;
  // List: the entries, the chosen one (-1: none) and the first one shown.
  std::vector<std::string> entries;
  std::int32_t current = -1;
  std::int32_t top = 0;

  bool TakesFocus() const;
  std::int32_t SelStart() const { return anchor < caret ? anchor : caret; }
  std::int32_t SelEnd() const { return anchor < caret ? caret : anchor; }
  std::int32_t VisibleRows() const;
};

class cDialogWindow {
 public:
  // The dialog's procedure: every notification and every message handed over goes through it.
  using Procedure = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

  cDialogWindow(const DialogTemplate& dialogTemplate, Procedure procedure);
  cDialogWindow(const cDialogWindow&) = delete;
  cDialogWindow& operator=(const cDialogWindow&) = delete;

  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  // Hands the oldest posted message to the procedure; false when none waits.
  bool DispatchPosted();

  // Geometry: the outer top-left in the frame, the frame margins, the client area.
  void SetPosition(std::int32_t x, std::int32_t y);
  ScreenRect OuterRect() const;
  ScreenRect ClientRect() const;  // in frame pixels
  bool HasCaption() const { return m_Caption; }
  const std::string& Caption() const { return m_CaptionText; }
  void SetCaption(const std::string& text);
  std::uint32_t TemplateId() const { return m_TemplateId; }

  // Items by id (null for an id the dialog does not have).
  sDialogItem* Item(std::int32_t id);
  const sDialogItem* Item(std::int32_t id) const;
  const std::vector<sDialogItem>& Items() const { return m_Items; }
  // An edit's new text sends EN_UPDATE and EN_CHANGE, as the system's edit does; the caret goes to
  // the start. A text cut inside a double-byte character loses the broken half.
  void SetItemText(std::int32_t id, const std::string& text);
  std::string ItemText(std::int32_t id) const;
  void SetCheck(std::int32_t id, std::int32_t checked);
  std::int32_t Check(std::int32_t id) const;
  // end -1 (or past the end) selects to the end; offsets are kept on character starts.
  void SetSel(std::int32_t id, std::int32_t start, std::int32_t end);
  void GetSel(std::int32_t id, std::int32_t* start, std::int32_t* end) const;
  void EnableItem(std::int32_t id, bool enable);
  void SetListEntries(std::int32_t id, std::vector<std::string> entries);
  void SetListCurrent(std::int32_t id, std::int32_t index);
  std::int32_t ListCurrent(std::int32_t id) const;

  // The focus; 0 when no item has it. An edit losing it sends EN_KILLFOCUS, one gaining it
  // EN_SETFOCUS.
  std::int32_t Focus() const;
  void SetFocusItem(std::int32_t id);
  // The first item that takes the focus gets it (the dialog manager's start).
  void FocusFirst();
  const sDialogItem* FocusedItem() const;

  // Input, as the dialog's loop receives it. Keys are Windows virtual-key codes; text is the
  // game's bytes (a character the game cannot write never gets here).
  void KeyDown(int virtualKey);
  void KeyUp(int virtualKey);
  void TypeText(const std::string& text);
  void SetComposition(const std::string& utf8);
  bool Composing() const { return !m_Composition.empty(); }
  const std::string& Composition() const { return m_Composition; }
  void MouseDown(std::int32_t x, std::int32_t y, int button, int clicks);
  void MouseUp(std::int32_t x, std::int32_t y, int button);
  // Clicks the item as the mouse would (a button pressed and let go over it).
  void ClickItem(std::int32_t id);

  // The modal end: the result DoModal returns.
  void End(std::intptr_t result);
  bool Ended() const { return m_Ended; }
  std::intptr_t Result() const { return m_Result; }

  // True once since something shown changed.
  bool TakeDirty();
  std::int32_t PressedItem() const { return m_Pressed; }
  bool ShiftDown() const { return m_Shift; }
  // True while the key went down in the dialog and has not come up.
  bool KeyHeld(int virtualKey) const { return virtualKey >= 0 && virtualKey < 256 && m_Held[static_cast<std::size_t>(virtualKey)]; }
  // The window property the keyboard hook finds its hook by.
  void SetHookProperty(cHook* hook) { m_HookProperty = hook; }
  cHook* HookProperty() const { return m_HookProperty; }
  bool ControlDown() const { return m_Control; }

 private:
  std::int32_t IndexOf(std::int32_t id) const;
  std::int32_t ItemAt(std::int32_t x, std::int32_t y) const;
  void Command(const sDialogItem& item, std::uint32_t notification);
  void Click(std::int32_t index);
  void MoveFocus(int step);
  void MoveInGroup(int step);
  void EditKey(sDialogItem& item, int virtualKey);
  void ListKey(sDialogItem& item, int virtualKey);
  void ListPick(sDialogItem& item, std::int32_t index);
  void EditChanged(const sDialogItem& item);
  void DefaultButton();

  std::uint32_t m_TemplateId = 0;
  Procedure m_Procedure;
  std::vector<sDialogItem> m_Items;
  std::deque<std::tuple<std::uint32_t, std::uintptr_t, std::intptr_t>> m_Posted;
  std::int32_t m_X = 0;
  std::int32_t m_Y = 0;
  std::int32_t m_ClientW = 0;
  std::int32_t m_ClientH = 0;
  bool m_Caption = false;
  std::string m_CaptionText;
  std::int32_t m_Focus = -1;    // index into m_Items
  std::int32_t m_Pressed = -1;  // the item the mouse went down on
  std::string m_Composition;
  bool m_Shift = false;
  bool m_Control = false;
  bool m_Ended = false;
  std::intptr_t m_Result = 0;
  bool m_Dirty = true;
  cHook* m_HookProperty = nullptr;
  std::array<bool, 256> m_Held{};
};

// Byte offsets of a code page 932 text: the start of the character before pos, and the length of
// the character at pos (2 for a lead byte followed by a trail byte, else 1).
std::int32_t PreviousCharStart(const std::string& text, std::int32_t pos);
std::int32_t CharLengthAt(const std::string& text, std::int32_t pos);
// pos moved back to the start of the character it lies in.
std::int32_t CharStartAtOrBefore(const std::string& text, std::int32_t pos);
