// The real window on a virtual X server: the player opens it and shows the game in it, the close
// button ends the program in order, a stage named on the command line plays in it as it does
// headless, and a key pressed in the window reaches the game's input.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

#include "platform/host/host_window.h"
#include "platform/host/input_devices.h"
#include "platform/host/screen.h"
#include "platform/input/input.h"
#include "tests/shell/headless_run_fixture.h"
#include "tests/shell/player_process.h"
#include "tests/shell/virtual_x_server.h"
#include "tests/support/game_folder.h"
#if PLAYER_HAVE_SAMPLE_GAME
#include "tools/sample_game.h"
#endif

// The X client headers come last: their macros (None, Bool, Status) would bend the names above.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/extensions/XTest.h>

#include "tests/shell/x_session.h"
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;

// The viewable top-level window of at least the game's size, or 0.
Window FindGameWindow(::Display* x) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(x, children[i], &a) && a.map_state == IsViewable && a.width >= 640 && a.height >= 480)
      found = children[i];
  }
  if (children) XFree(children);
  return found;
}

// How many colours a grid of points of the window shows.
std::size_t WindowColours(::Display* x, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(x, w, &a)) return 0;
  XImage* image = XGetImage(x, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes,
                            ZPixmap);
  if (!image) return 0;
  std::set<unsigned long> colours;
  for (int y = 0; y < a.height; y += 7)
    for (int px = 0; px < a.width; px += 7) colours.insert(XGetPixel(image, px, y));
  XDestroyImage(image);
  return colours.size();
}

// The window's picture as a PNG file.
bool SaveWindow(::Display* x, Window w, const fs::path& file) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(x, w, &a)) return false;
  XImage* image = XGetImage(x, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes,
                            ZPixmap);
  if (!image) return false;
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(a.width) * static_cast<std::size_t>(a.height));
  for (int y = 0; y < a.height; ++y)
    for (int px = 0; px < a.width; ++px)
      pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(XGetPixel(image, px, y) & 0xFFFFFFu));
  XDestroyImage(image);
  fs::create_directories(file.parent_path());
  return WriteXrgbPng(file, pixels.data(), a.width, a.height);
}

class WindowTest : public XServerTest {
 protected:
  // The sample game in this test's game folder; false when this build has none (or, a failure, when
  // it cannot be written).
  bool UseSampleGame() {
#if PLAYER_HAVE_SAMPLE_GAME
    const bool written = WriteSampleGame(m_Folder / "game");
    EXPECT_TRUE(written) << "the sample game could not be written";
    return written;
#else
    return false;
#endif
  }
  // The environment of a player that opens its window on the virtual X server.
  std::vector<std::pair<std::string, std::string>> WindowEnv() {
    fs::create_directories(m_Folder / "run");
    return {{"DISPLAY", m_Server->Display()},
            {"SDL_VIDEODRIVER", "x11"},
            {"XDG_RUNTIME_DIR", (m_Folder / "run").string()}};
  }
};

TEST_F(WindowTest, ThePlayersWindowShowsTheGameAndItsCloseButtonEndsTheProgramInOrder) {
  if (!UseSampleGame()) GTEST_SKIP() << "no sample game to play";
  const std::string trace = (m_Folder / "trace.txt").string();
  cPlayerProcess player(m_Folder / "game", {"--trace", trace}, WindowEnv());
  ASSERT_TRUE(player.Started());
  Window w = 0;
  ASSERT_TRUE(Within(20000, [&] { return (w = FindGameWindow(m_X)) != 0; })) << "no window came up";
  EXPECT_TRUE(Within(20000, [&] { return WindowColours(m_X, w) > 4; })) << "the window shows no game frame";
  EXPECT_FALSE(player.Poll().has_value());

  PressCloseButton(m_X, w);
  EXPECT_EQ(player.Wait(30), 0);
  headless_run::ExpectStopOrder(headless_run::Lines(trace));
}

TEST_F(WindowTest, AStageNamedOnTheCommandLinePlaysInTheWindowAsItDoesHeadless) {
  if (!UseSampleGame()) GTEST_SKIP() << "no sample game to play";
  const std::string trace = (m_Folder / "trace.txt").string();
  cPlayerProcess player(m_Folder / "game", {"data\\stg4\\showcase.stg4", "--trace", trace, "--trace-state"},
                        WindowEnv());
  ASSERT_TRUE(player.Started());
  Window w = 0;
  ASSERT_TRUE(Within(20000, [&] { return (w = FindGameWindow(m_X)) != 0; })) << "no window came up";
  // Well into play: the fade-in and the banners are over.
  EXPECT_TRUE(Within(30000, [&] { return headless_run::StateLines(headless_run::Lines(trace)).size() >= 240; }))
      << "the stage does not run";
  const fs::path shot = headless_run::s_OutputFolder / "play_window.png";
  EXPECT_TRUE(SaveWindow(m_X, w, shot)) << "kept for people to look at: " << shot;
  EXPECT_GT(WindowColours(m_X, w), 8u) << "the window shows no stage";
  PressCloseButton(m_X, w);
  EXPECT_EQ(player.Wait(30), 0);

  const std::vector<std::string> lines = headless_run::Lines(trace);
  headless_run::ExpectStopOrder(lines);
  EXPECT_GE(headless_run::Find(lines, "play state 2 play"), 0);
  const std::vector<headless_run::StateLine> states = headless_run::StateLines(lines);
  ASSERT_GE(states.size(), 240u);
  // The sample's stages stand on row 11: the hero's feet stay in the row of dots above it.
  constexpr double kFloorTop = (11 + 10) * 32.0;
  for (const headless_run::StateLine& l : states) {
    ASSERT_EQ(l.scene, 4);
    ASSERT_GE(l.y2, kFloorTop - 1) << "frame " << l.frame;
    ASSERT_LE(l.y2, kFloorTop) << "frame " << l.frame;
  }
}

void ClickAt(::Display* x, Window w, int px, int py) {
  int rx = 0, ry = 0;
  Window child = 0;
  XTranslateCoordinates(x, w, DefaultRootWindow(x), px, py, &rx, &ry, &child);
  XTestFakeMotionEvent(x, DefaultScreen(x), rx, ry, 0);
  XTestFakeButtonEvent(x, 1, True, 0);
  XTestFakeButtonEvent(x, 1, False, 0);
  XFlush(x);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

TEST_F(WindowTest, ThePlayersLauncherComesUpInItsWindowAndStartsTheGame) {
  if (!UseSampleGame()) GTEST_SKIP() << "no sample game to play";
  // The renderer left to the player.
  const fs::path ini = m_Folder / "game" / "System.ini";
  std::ifstream in(ini, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  ASSERT_NE(text.find("Direct3D=1"), std::string::npos);
  text.replace(text.find("Direct3D=1"), 10, "Direct3D=2");
  std::ofstream(ini, std::ios::binary) << text;
  cPlayerProcess player(m_Folder / "game", {},
                        WindowEnv());
  ASSERT_TRUE(player.Started());
  Window w = 0;
  ASSERT_TRUE(Within(20000, [&] { return (w = FindGameWindow(m_X)) != 0; })) << "no window came up";
  // The launcher's face, left of its buttons (outer top-left 133, 104 in the frame, one unit 1.5 pixels).
  ASSERT_TRUE(Within(20000, [&] { return WindowPixel(m_X, w, 143, 304) == 0xD4D0C8; })) << "no launcher";
  EXPECT_FALSE(player.Poll().has_value());
  const int clientX = 133 + 3;
  const int clientY = 104 + 3 + 19;
  ClickAt(m_X, w, clientX + 80 * 3 / 2 + 6, clientY + 30 * 3 / 2 + 7);   // DirectDraw
  ClickAt(m_X, w, clientX + 50 * 3 / 2 + 6, clientY + 85 * 3 / 2 + 7);   // don't show again
  ClickAt(m_X, w, clientX + 105 * 3 / 2, clientY + 117 * 3 / 2);          // start
  // The game runs in DirectDraw and remembers it.
  EXPECT_TRUE(Within(20000, [&] { return fs::exists(m_Folder / "game" / "user_data" / "Boot.dat"); }));
  EXPECT_TRUE(Within(20000, [&] { return (w = FindGameWindow(m_X)) != 0 && WindowColours(m_X, w) > 4; }));
  EXPECT_FALSE(player.Poll().has_value());
  PressCloseButton(m_X, w);
  EXPECT_EQ(player.Wait(30), 0);
  std::ifstream boot(m_Folder / "game" / "user_data" / "Boot.dat", std::ios::binary);
  const std::string stored((std::istreambuf_iterator<char>(boot)), std::istreambuf_iterator<char>());
  ASSERT_EQ(stored.size(), 20u);
  EXPECT_EQ(stored[8], 0) << "DirectDraw";
  EXPECT_EQ(stored[12], 1) << "the launcher is not shown again";
}

TEST_F(WindowTest, AReplayPlaysInTheWindowWithTheDigestsItHasHeadless) {
  if (!UseSampleGame()) GTEST_SKIP() << "no sample game to play";
  const fs::path suite = PLAYER_REPLAY_SUITE;
  fs::create_directories(m_Folder / "game" / "user_data" / "rpl4");
  fs::copy_file(suite / "fall.rpl4_556", m_Folder / "game" / "user_data" / "rpl4" / "fall.rpl4_556");
  const fs::path list = m_Folder / "window.digests";
  // The play-back ends itself when its round is over.
  cPlayerProcess player(m_Folder / "game",
                        {"--replay", "user_data\\rpl4\\fall.rpl4_556", "--record-digests", list.string()},
                        WindowEnv());
  ASSERT_TRUE(player.Started());
  ASSERT_EQ(player.Wait(120), 0);
  auto lines = [](const fs::path& file) {
    std::vector<std::string> kept;
    for (const std::string& l : headless_run::Lines(file))
      if (!l.starts_with("#")) kept.push_back(l);
    return kept;
  };
  const std::vector<std::string> headless = lines(suite / "fall.digests");
  ASSERT_FALSE(headless.empty());
  EXPECT_EQ(lines(list), headless);
}

TEST_F(WindowTest, AKeyPressedInTheWindowReachesThePlayersInput) {
  setenv("DISPLAY", m_Server->Display().c_str(), 1);
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  std::unique_ptr<cSdlScreen> screen = cSdlScreen::Open("keys", 640, 480, false, false);
  ASSERT_NE(screen, nullptr) << SDL_GetError();
  SetInputSource(nullptr);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(screen->Window(), &info));
  const Window w = info.info.x11.window;
  std::vector<HostWindowEvent> events;
  ASSERT_TRUE(Within(5000, [&] {
    XWindowAttributes a;
    PumpHostWindowEvents(events);
    return XGetWindowAttributes(m_X, w, &a) && a.map_state == IsViewable;
  }));
  XSetInputFocus(m_X, w, RevertToParent, CurrentTime);
  XSync(m_X, False);

  const KeyCode z = XKeysymToKeycode(m_X, XK_z);
  cInput input;
  auto press = [&](bool down) {
    XTestFakeKeyEvent(m_X, z, down ? True : False, 0);
    XFlush(m_X);
    return Within(5000, [&] {
      PumpHostWindowEvents(events);
      return (GetAsyncKeyState('Z') < 0) == down;
    });
  };
  ASSERT_TRUE(press(true)) << "the key did not reach the window";
  bool windowHeardIt = false;
  for (const HostWindowEvent& e : events) windowHeardIt |= e.kind == HostWindowEventKind::KeyDown && e.virtualKey == 'Z';
  EXPECT_TRUE(windowHeardIt) << "the window procedure hears the key too";
  input.Poll(0, kPollKeyboard, kPollRetryFrames);
  EXPECT_EQ(input.m_Buttons & 1, 1) << "Z is button 1";
  ASSERT_TRUE(press(false));
  input.Poll(0, kPollKeyboard, kPollRetryFrames);
  EXPECT_EQ(input.m_Buttons & 1, 0);

  screen.reset();
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "");
  unsetenv("DISPLAY");
}

}  // namespace
