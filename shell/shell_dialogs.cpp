#include "shell/shell_dialogs.h"

#include <cmath>

#include "platform/host/box_sink.h"
#include "platform/host/host_window.h"
#include "platform/host/text_codec.h"
#include "play/play_scene.h"
#include "project/option.h"
#include "project/system_data.h"
#include "shell/boot_settings.h"
#include "shell/main_window.h"
#include "shell/scene_manager.h"

namespace {

constexpr DialogItemTemplate kLauncherItems[] = {
    {1075, DialogItemKind::Picture, "", 7, 7, 20, 21},
    {kLauncherStart, DialogItemKind::DefPushButton, "ゲーム開始", 80, 105, 50, 25, true},
    {kLauncherQuit, DialogItemKind::PushButton, "ゲーム中止", 80, 140, 50, 18},
    {-1, DialogItemKind::GroupBox, "描画モード", 15, 15, 190, 55, true},
    {kLauncherDirect3D, DialogItemKind::RadioButton, "Direct3D", 20, 30, 42, 10},
    {kLauncherDirectDraw, DialogItemKind::RadioButton, "DirectDraw", 80, 30, 45, 10},
    {-1, DialogItemKind::Static, "詳細な設定は環境設定ファイル「System.ini」で行って下さい。", 20, 50, 177, 12},
    {kLauncherDontShow, DialogItemKind::CheckBox, "次回からこのダイアログを表示しない", 50, 85, 120, 10, true},
};
constexpr DialogTemplate kLauncherTemplate{103, 222, 171, true, kLauncherItems};

constexpr DialogItemTemplate kNameEntryItems[] = {
    {1075, DialogItemKind::Picture, "", 7, 7, 20, 21},
    {kNameEntryField, DialogItemKind::Edit, "", 75, 12, 24, 14},
    {kNameEntryOk, DialogItemKind::DefPushButton, "OK", 30, 35, 50, 18, true},
    {-1, DialogItemKind::Static, "登録名(3文字まで)", 15, 15, 56, 8},
};
constexpr DialogTemplate kNameEntryTemplate{102, 110, 65, false, kNameEntryItems};

// The dialogs lie in the game's frame; the main window's frame origin is its (0, 0).
constexpr double kLauncherOffsetX = 320 - 187.0;
constexpr double kLauncherOffsetY = 240 - 136.0;
constexpr std::int32_t kNameEntryX = 240;
constexpr std::int32_t kNameEntryY = 220;

void WarpMouse(std::int32_t x, std::int32_t y) {
  if (cScreen* screen = g_MainWindow.Screen()) WarpHostMouseToFrame(*screen, x, y);
}

}  // namespace

cLauncherDialog::cLauncherDialog(const char* path) : m_Path(path ? path : "") {
  Setup(kLauncherTemplate, &g_MainWindow, 1, &g_WindowGroup);
  m_Name = "launcher";
  m_Direct3D.m_Value = &g_BootSettings.m_Renderer;
  m_Direct3D.m_Selected = 1;
  m_DirectDraw.m_Value = &g_BootSettings.m_Renderer;
  m_DirectDraw.m_Selected = 0;
  m_DontShow.m_Value = &g_BootSettings.m_DontShow;
  const auto x = static_cast<std::int32_t>(std::trunc(kLauncherOffsetX));
  const auto y = static_cast<std::int32_t>(std::trunc(kLauncherOffsetY));
  RequestPosition(x, y);
  // Near the start button.
  WarpMouse(static_cast<std::int32_t>(std::trunc(x + 181.9)), static_cast<std::int32_t>(std::trunc(y + 198.9)));
}

void cLauncherDialog::OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) {
  cDialog::OnInitDialog(wParam, lParam);
  Window()->SetCaption(g_System.m_Title);
  m_Direct3D.Attach(this, kLauncherDirect3D);
  m_DirectDraw.Attach(this, kLauncherDirectDraw);
  m_DontShow.Attach(this, kLauncherDontShow);
  m_Controls = {&m_Direct3D, &m_DirectDraw, &m_DontShow};
  ValuesToControls();
  m_Created = 1;
}

void cLauncherDialog::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  cDialog::OnCommand(wParam, lParam);
  switch (static_cast<std::int32_t>(LOWORD(wParam))) {
    case kLauncherStart:
      ControlsToValues();
      // A failed write is not reported: the choice still holds for this run.
      g_BootSettings.SaveFile(m_Path.c_str());
      End(1);
      break;
    case kLauncherQuit:
    case IDCANCEL: End(0); break;
    default: break;
  }
}

cNameEntryDialog::cNameEntryDialog() {
  Setup(kNameEntryTemplate, &g_MainWindow, 1, &g_WindowGroup);
  m_Name = "name-entry";
  std::string* bound = &m_Unbound;
  if (g_SceneManager.m_TitleChoice == kTitleOption) {
    bound = &g_Option.m_RankName;
  } else if (g_PlayScene) {
    bound = &g_PlayScene->m_EntryName;
  }
  // Three bytes, as the ranking's name is kept; the enforcer never cuts a character in half.
  m_Desc = ControlDesc{static_cast<std::uint16_t>(kNameEntryField), bound, kNameEntryBytes + 1, kNameEntryBytes, 1, 0};
  RequestPosition(kNameEntryX, kNameEntryY);
  WarpMouse(kNameEntryX + 80, kNameEntryY + 65);
}

std::intptr_t cNameEntryDialog::WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  const int handled = Dispatch(hWnd, message, wParam, lParam);
  if (message == WM_DESTROY) return 1;
  if (message == WM_CLOSE) {
    End(0);
    return 1;
  }
  return handled ? 1 : 0;
}

void cNameEntryDialog::OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) {
  cDialog::OnInitDialog(wParam, lParam);
  m_Field.Init(this, m_Desc);
  m_Controls = {&m_Field};
  ValuesToControls();
  // The current name all selected, so typing replaces it.
  Window()->SetFocusItem(kNameEntryField);
  Window()->SetSel(kNameEntryField, 0, 0x7fffffff);
  m_Created = 1;
}

void cNameEntryDialog::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  cDialog::OnCommand(wParam, lParam);
  switch (static_cast<std::int32_t>(LOWORD(wParam))) {
    case kNameEntryOk:
      if (!DialogCanClose(kNameEntryOk)) break;
      ControlsToValues();
      End(1);
      break;
    // Esc, like the window's close, leaves the name as it was.
    case kNameEntryCancel:
    case IDCANCEL: End(0); break;
    default: break;
  }
}
