#include "platform/ui/dialog.h"

#include "platform/host/box_sink.h"
#include "platform/host/host_window.h"
#include "platform/host/input_devices.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/ui/dialog_loop.h"

namespace {

constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr std::uint32_t SB_LINEUP = 0;
constexpr std::uint32_t SB_LINELEFT = 0;
constexpr std::uint32_t SB_LINEDOWN = 1;
constexpr std::uint32_t SB_LINERIGHT = 1;
constexpr std::uint32_t SB_PAGEUP = 2;
constexpr std::uint32_t SB_PAGELEFT = 2;
constexpr std::uint32_t SB_PAGEDOWN = 3;
constexpr std::uint32_t SB_PAGERIGHT = 3;

// The keys a dialog turns into scrolling, one row per key: the message and its scroll code.
struct sScrollKey {
  int key;
  std::uint32_t message;
  std::uint32_t code;
};
constexpr sScrollKey kScrollKeys[] = {
    {VK_PRIOR, WM_VSCROLL, SB_PAGEUP},    {VK_NEXT, WM_VSCROLL, SB_PAGEDOWN}, {VK_END, WM_HSCROLL, SB_PAGERIGHT},
    {VK_HOME, WM_HSCROLL, SB_PAGELEFT},   {VK_LEFT, WM_HSCROLL, SB_LINELEFT}, {VK_UP, WM_VSCROLL, SB_LINEUP},
    {VK_RIGHT, WM_HSCROLL, SB_LINERIGHT}, {VK_DOWN, WM_VSCROLL, SB_LINEDOWN},
};

}  // namespace

int DialogCanClose(int) { return 1; }

// Dialogs keep their template's size: they are laid out with no client size of their own.
cDialog::cDialog() { Layout(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0); }

cDialog::~cDialog() = default;

void cDialog::Setup(const DialogTemplate& dialogTemplate, cWindow* parent, std::uint32_t value, cWindowGroup* group) {
  m_Value = value;
  m_Created = 0;
  m_Modeless = 0;
  m_ModalFlags = 0;
  Init(dialogTemplate, parent, group);
}

void cDialog::Init(const DialogTemplate& dialogTemplate, cWindow* parent, cWindowGroup* group) {
  m_Template = &dialogTemplate;
  m_ParentObject = parent;
  m_Subclassed = 0;
  SetIds(dialogTemplate.id, parent ? parent->Handle() : nullptr, group);
}

std::intptr_t cDialog::DoModal(std::uint32_t flags) {
  if (m_Window || !m_Template) return 0;
  End(0);
  m_Modeless = 0;
  m_ModalFlags = flags;
  if (m_Group && (flags & 2)) m_Group->Show(0);
  if (m_Group && (flags & 4)) m_Group->Enable(0);

  cScreen* screen = m_Parent;
  cDialogWindow window(*m_Template, [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::intptr_t r = WndProc(m_hWnd, message, wParam, lParam);
    // The dialog manager's answer to a close the procedure left alone: the cancel command.
    if (message == WM_CLOSE && r == 0 && m_Window && !m_Window->Ended())
      WndProc(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return r;
  });
  const std::int32_t frameW = screen ? screen->Width() : 640;
  const std::int32_t frameH = screen ? screen->Height() : 480;
  const ScreenRect outer = window.OuterRect();
  window.SetPosition((frameW - outer.w) / 2, (frameH - outer.h) / 2);
  m_WindowPos = {window.OuterRect().x, window.OuterRect().y};
  m_Window = &window;
  m_Screen = screen;
  m_hWnd = screen;
  window.Send(WM_INITDIALOG, 0, 0);
  if (!window.Ended() && window.Focus() == 0) window.FocusFirst();
  RunDialogWindow(window, screen, m_Name);
  m_Result = window.Result();
  window.Send(WM_DESTROY, 0, 0);
  m_Window = nullptr;
  m_Screen = nullptr;
  m_hWnd = nullptr;
  m_Controls.clear();
  if (m_Group && (flags & 2)) m_Group->Show(1);
  if (m_Group && (flags & 4)) m_Group->Enable(1);
  return m_Result;
}

void cDialog::End(std::intptr_t result) {
  m_Result = result;
  m_Controls.clear();
  if (m_Window) m_Window->End(result);
}

std::intptr_t cDialog::WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return Dispatch(hWnd, message, wParam, lParam);
}

int cDialog::Dispatch(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  const int r = cWindow::Dispatch(hWnd, message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(wParam, lParam); break;
    case WM_DESTROY:
      // The window is gone; DoModal shows and enables the group's windows again.
      m_hWnd = nullptr;
      break;
    case WM_NOTIFY:
      for (cControl* control : m_Controls)
        if (control->OnNotify(wParam, lParam)) break;
      break;
    case WM_KEYDOWN:
      for (const sScrollKey& k : kScrollKeys)
        if (static_cast<int>(wParam) == k.key && m_Window) m_Window->Post(k.message, k.code, 0);
      for (cControl* control : m_Controls) control->OnKeyDown(wParam, lParam, KeyboardHookCtrlDown());
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // The dialog has no scroll bars of its own; its controls may want the scrolling.
      for (cControl* control : m_Controls)
        if (control->OnScroll(wParam, lParam)) break;
      break;
    case WM_DIALOG_NAVKEY:
      if (m_Window) m_Window->Send(WM_KEYDOWN, wParam, lParam);
      break;
    default: break;
  }
  return r;
}

void cDialog::OnInitDialog(std::uintptr_t, std::intptr_t) {
  m_Controls.clear();
  m_Subclassed = 1;
  // The dialog's frame: a modal frame, with a title bar when the template has one.
  m_Style = WS_POPUP | WS_DLGFRAME | (m_Window && m_Window->HasCaption() ? WS_CAPTION : 0);
  UpdateStyle();
  if (m_InitialClientRect.right != 0) SetClientSize(m_InitialClientRect.right, m_InitialClientRect.bottom);
  PlaceInWorkArea();
  if (!m_Hook.Attach(m_Window, m_Modeless)) ErrMesBox("%s", SJ("KeyboardHookに失敗!").c_str());
  UpdateMouse(0, 7);
  m_PreviousMouse = m_Mouse;
}

void cDialog::OnCommand(std::uintptr_t wParam, std::intptr_t) {
  const std::uint32_t id = LOWORD(wParam);
  const std::uint32_t code = HIWORD(wParam);
  for (cControl* control : m_Controls) {
    if (control->m_Id != id) continue;
    if (control->m_Type == 2 || control->m_Type == kControlEdit) {
      if (code == EN_UPDATE) {
        control->OnChange();
        break;
      }
      if (code == EN_KILLFOCUS) {
        control->OnLeave();
        break;
      }
    } else if (control->m_Type == 7 && code == 1) {
      control->OnChange();
      break;
    } else if (control->m_Type == 8 && (code == 1 || code == 5)) {
      if (code == 1) control->OnChange();
      if (code == 5) control->OnLeave();
      break;
    }
  }
  for (cControl* control : m_Controls)
    if (control->m_Type == 8) control->Redraw();
}

void cDialog::RefreshControls() {
  for (cControl* control : m_Controls)
    if (control->m_Type == 8) control->Refresh();
}

void cDialog::ValuesToControls() {
  for (cControl* control : m_Controls) control->ValueToControl();
}

void cDialog::ControlsToValues() {
  for (cControl* control : m_Controls) control->ControlToValue();
}

void cDialog::PlaceWindow(std::int32_t x, std::int32_t y) {
  if (m_Window) m_Window->SetPosition(x, y);
}

bool cDialog::WorkArea(RECT* area) const {
  // A dialog lives in the game's frame.
  *area = {0, 0, m_Screen ? m_Screen->Width() : 640, m_Screen ? m_Screen->Height() : 480};
  return true;
}

bool cDialog::ReadMouse(std::int32_t* x, std::int32_t* y, std::uint32_t* held) const {
  if (!m_Screen || !m_Window) return false;
  std::int32_t wx = 0, wy = 0, fx = 0, fy = 0;
  if (!GetHostMouse(*m_Screen, &wx, &wy, held) || !HostPointToFrame(*m_Screen, wx, wy, &fx, &fy)) return false;
  const ScreenRect client = m_Window->ClientRect();
  *x = fx - client.x;
  *y = fy - client.y;
  return true;
}

bool cDialog::ReadClientSize(std::int32_t* width, std::int32_t* height) const {
  if (!m_Window) return false;
  const ScreenRect client = m_Window->ClientRect();
  *width = client.w;
  *height = client.h;
  return true;
}
