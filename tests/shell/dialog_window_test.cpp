// The dialogs in a real window on a virtual X server, driven by key presses and mouse clicks sent
// through XTest: the launcher (in a window and in full screen), the name entry and the stage file
// dialog. A picture of each dialog as the window shows it is kept in test_output/dialog_*.png.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/host/host_window.h"
#include "platform/host/input_devices.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "project/option.h"
#include "project/system_data.h"
#include "shell/boot_settings.h"
#include "shell/main_window.h"
#include "shell/scene_manager.h"
#include "shell/window_loop.h"
#include "platform/ui/file_dialogs.h"
#include "tests/shell/virtual_x_server.h"
#include "tests/support/game_folder.h"

// The X client headers come last: their macros (None, Bool, Status) would bend the names above.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "tests/shell/x_session.h"

namespace {

namespace fs = std::filesystem;

const fs::path s_Output = fs::current_path() / "test_output";

constexpr unsigned long kDialogFace = 0xD4D0C8;

// A point of a dialog in the frame: its outer top-left, and an item's centre in dialog units.
struct sDialogAt {
  int x;
  int y;
  bool caption;
  // The centre of an item at (ux, uy) of size (uw, uh) dialog units, in frame pixels.
  std::pair<int, int> Centre(int ux, int uy, int uw, int uh) const {
    const int cx = x + 3 + ux * 3 / 2 + uw * 3 / 4;
    const int cy = y + 3 + (caption ? 19 : 0) + uy * 3 / 2 + uh * 3 / 4;
    return {cx, cy};
  }
  // The left end of a check box or radio button (where its box is).
  std::pair<int, int> Box(int ux, int uy, int uh) const {
    return {x + 3 + ux * 3 / 2 + 6, y + 3 + (caption ? 19 : 0) + uy * 3 / 2 + uh * 3 / 4};
  }
};

class DialogWindowTest : public XServerTest {
 protected:
  void SetUp() override {
    XServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    setenv("DISPLAY", m_Server->Display().c_str(), 1);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    std::unique_ptr<cSdlScreen> screen = cSdlScreen::Open("dialogs", 640, 480, false, false);
    ASSERT_NE(screen, nullptr) << SDL_GetError();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(screen->Window(), &info));
    m_Window = info.info.x11.window;
    BindWindowThread();
    g_MainWindow.Create(std::move(screen));
    SetInputSource(nullptr);
    fs::create_directories(s_Output);
  }
  void TearDown() override {
    g_MainWindow.ReleaseScreen();
    UnbindWindowThread();
    while (MainWindowQueue().TryTake()) {
    }
    CloseTrace();
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "");
    unsetenv("DISPLAY");
    XServerTest::TearDown();
  }

  cScreen& Screen() { return *g_MainWindow.Screen(); }

  // A game frame under the dialog: bands of colour, so the picture shows the dialog over the game.
  void ShowGameFrame() {
    std::vector<std::uint32_t> frame(640 * 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        frame[static_cast<std::size_t>(y * 640 + x)] = 0xFF000000u | static_cast<std::uint32_t>((y / 60) * 0x1F2F10 + x / 5);
    Screen().SubmitFrame({reinterpret_cast<const std::uint8_t*>(frame.data()), 640, 480, 640 * 4,
                          PixelFormat::Xrgb8888},
                         nullptr);
    ShowHostWindow(Screen(), true);
    Screen().ShowPendingFrame();
    std::vector<HostWindowEvent> events;
    ASSERT_TRUE(Within(5000, [&] {
      PumpHostWindowEvents(events);
      XWindowAttributes a;
      return XGetWindowAttributes(m_X, m_Window, &a) && a.map_state == IsViewable;
    }));
    // The size the program gives its window, which a full-screen window has even where no window
    // manager makes the X window that large: the frame is laid out in it.
    SDL_GetWindowSize(static_cast<cSdlScreen&>(Screen()).Window(), &m_WindowW, &m_WindowH);
  }

  // Where a frame pixel is on the X screen: the frame fills the window at its scale, centred.
  std::pair<int, int> OnScreen(int fx, int fy) {
    int rx = 0, ry = 0;
    Window child = 0;
    XTranslateCoordinates(m_X, m_Window, DefaultRootWindow(m_X), 0, 0, &rx, &ry, &child);
    const int scale = std::max(1, std::min(m_WindowW / 640, m_WindowH / 480));
    const int ox = (m_WindowW - 640 * scale) / 2;
    const int oy = (m_WindowH - 480 * scale) / 2;
    return {rx + ox + fx * scale + scale / 2, ry + oy + fy * scale + scale / 2};
  }

  unsigned long PixelAt(int fx, int fy) {
    auto [sx, sy] = OnScreen(fx, fy);
    return WindowPixel(m_X, DefaultRootWindow(m_X), sx, sy);
  }

  // The window as the X server shows it, written as a PNG file for people to look at.
  void Picture(const char* name) {
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(m_X, m_Window, &a));
    XImage* image = XGetImage(m_X, m_Window, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(a.width) * static_cast<std::size_t>(a.height));
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        pixels[static_cast<std::size_t>(y * a.width + x)] = 0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    EXPECT_TRUE(WriteXrgbPng(s_Output / name, pixels.data(), a.width, a.height));
  }

  void Click(std::pair<int, int> at, bool twice = false) {
    auto [sx, sy] = OnScreen(at.first, at.second);
    XTestFakeMotionEvent(m_X, DefaultScreen(m_X), sx, sy, 0);
    for (int n = 0; n < (twice ? 2 : 1); ++n) {
      XTestFakeButtonEvent(m_X, 1, True, 0);
      XTestFakeButtonEvent(m_X, 1, False, 0);
    }
    XFlush(m_X);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }

  void Key(KeySym sym, bool shift = false) {
    const KeyCode shiftCode = XKeysymToKeycode(m_X, XK_Shift_L);
    if (shift) XTestFakeKeyEvent(m_X, shiftCode, True, 0);
    const KeyCode code = XKeysymToKeycode(m_X, sym);
    XTestFakeKeyEvent(m_X, code, True, 0);
    XTestFakeKeyEvent(m_X, code, False, 0);
    if (shift) XTestFakeKeyEvent(m_X, shiftCode, False, 0);
    XFlush(m_X);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
  }

  // Runs dialog on this thread (the window thread) while player acts in the window once the
  // dialog's face shows at face.
  void Drive(std::pair<int, int> face, const std::function<void()>& dialog, const std::function<void()>& player) {
    std::atomic<bool> shown{false};
    std::thread driver([&] {
      shown = Within(10000, [&] { return PixelAt(face.first, face.second) == kDialogFace; });
      if (!shown) {
        // The dialog is closed, so that the test ends and reports.
        PressCloseButton(m_X, m_Window);
        return;
      }
      XSetInputFocus(m_X, m_Window, RevertToParent, CurrentTime);
      XSync(m_X, False);
      player();
    });
    dialog();
    driver.join();
    EXPECT_TRUE(shown) << "the dialog never showed";
  }

  Window m_Window = 0;
  int m_WindowW = 640;
  int m_WindowH = 480;
};

// The launcher at its place: outer top-left (133, 104), with a title bar.
constexpr sDialogAt kLauncher{133, 104, true};

TEST_F(DialogWindowTest, TheLauncherIsAnsweredWithTheMouse) {
  ShowGameFrame();
  g_System.m_Title = SJ("ダイアログの試験");
  fs::create_directories("user_data");
  std::int32_t renderer = -2;
  Drive(
      {kLauncher.x + 10, kLauncher.y + 200}, [&] { renderer = ChooseBootRenderer("user_data\\Boot.dat"); },
      [&] {
        Click(kLauncher.Box(80, 30, 10));   // DirectDraw
        Click(kLauncher.Box(50, 85, 10));   // don't show again
        Picture("dialog_launcher.png");
        Click(kLauncher.Centre(80, 105, 50, 25));  // start
      });
  EXPECT_EQ(renderer, 0);
  EXPECT_EQ(g_BootSettings.m_DontShow, 1);
  EXPECT_TRUE(fs::exists("user_data/Boot.dat"));
}

TEST_F(DialogWindowTest, TheLauncherWorksWithKeysInFullScreen) {
  Screen().SetFullScreen(true);
  Screen().ShowPendingFrame();
  ShowGameFrame();
  // The virtual server has no window manager to give a full-screen window the whole screen: the test
  // does it.
  XMoveResizeWindow(m_X, m_Window, 0, 0, 800, 600);
  XSync(m_X, False);
  std::vector<HostWindowEvent> events;
  Within(2000, [&] {
    PumpHostWindowEvents(events);
    XWindowAttributes a;
    return XGetWindowAttributes(m_X, m_Window, &a) && a.width == 800;
  });
  SDL_GetWindowSize(static_cast<cSdlScreen&>(Screen()).Window(), &m_WindowW, &m_WindowH);
  ASSERT_EQ(m_WindowW, 800);
  g_System.m_Title = SJ("全画面");
  fs::create_directories("user_data");
  std::int32_t renderer = -2;
  Drive(
      {kLauncher.x + 10, kLauncher.y + 200}, [&] { renderer = ChooseBootRenderer("user_data\\Boot.dat"); },
      [&] {
        Key(XK_Tab);
        Key(XK_Tab);
        Key(XK_Right);  // DirectDraw
        Picture("dialog_launcher_fullscreen.png");
        Key(XK_Escape);  // cancelled
      });
  EXPECT_EQ(renderer, -1);
  EXPECT_FALSE(fs::exists("user_data/Boot.dat"));
}

TEST_F(DialogWindowTest, TheNameEntryTakesTypedLettersAndOk) {
  ShowGameFrame();
  const std::int32_t savedChoice = g_SceneManager.m_TitleChoice;
  g_SceneManager.m_TitleChoice = kTitleOption;
  g_Option.m_RankName = "OLD";
  const sDialogAt at{240, 220, false};
  Drive({at.x + 5, at.y + 90}, [] { HandleNameEntryRequest(); },
        [&] {
          for (KeySym k : {XK_a, XK_b, XK_c, XK_d}) Key(k);
          Picture("dialog_name_entry.png");
          Click(at.Centre(30, 35, 50, 18));  // OK
        });
  EXPECT_EQ(g_Option.m_RankName, "abc") << "typed over the selected name, the fourth letter refused";

  // The window's close button leaves the name as it was.
  Drive({at.x + 5, at.y + 90}, [] { HandleNameEntryRequest(); },
        [&] {
          Key(XK_z);
          PressCloseButton(m_X, m_Window);
        });
  EXPECT_EQ(g_Option.m_RankName, "abc");
  g_SceneManager.m_TitleChoice = savedChoice;
  g_Option.m_RankName.clear();
}

TEST_F(DialogWindowTest, TheStageDialogListsTheStagesAndADoubleClickChoosesOne) {
  WriteHostFile("data/stg4/first.stg4_1", "1");
  WriteHostFile("data/stg4/second.stg4_1", "2");
  ShowGameFrame();
  const char filter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";
  // The file dialog is 260 x 172 units with a title bar, centred in the frame.
  const sDialogAt at{(640 - 396) / 2, (480 - 283) / 2, true};
  char buffer[kFileDialogBufferSize] = {};
  std::int32_t chosen = -1;
  Drive({at.x + 5, at.y + 270},
        [&] {
          chosen = OpenFileDialog(&Screen(), buffer, "data\\stg4\\", SJ("ステージファイルの選択").c_str(), filter,
                                  "stg4_*;rpl4_*", 0, nullptr);
        },
        [&] {
          Picture("dialog_open_stage.png");
          // Rows: [..], then the two stages; the second row is the newer or the first by name.
          const int rowY = at.y + 3 + 19 + 18 * 3 / 2 + 2 + 2 * 14 + 6;
          Click({at.x + 60, rowY}, true);
        });
  EXPECT_EQ(chosen, 1);
  const std::string path = buffer;
  EXPECT_TRUE(path == "data\\stg4\\first.stg4_1" || path == "data\\stg4\\second.stg4_1") << path;

  // Escape cancels and changes nothing.
  std::memset(buffer, 'x', 4);
  Drive({at.x + 5, at.y + 270},
        [&] {
          chosen = OpenFileDialog(&Screen(), buffer, "data\\stg4\\", "pick", filter, "stg4_*;rpl4_*", 0, nullptr);
        },
        [&] { Key(XK_Escape); });
  EXPECT_EQ(chosen, 0);
}

}  // namespace
