// The window framework's arithmetic: frame margins and tracking limits from the style, the layout's
// extra rows, the mouse buttons' press and release edges, and the command guard.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/window.h"

namespace {

TEST(WindowLayoutTest, TheMainWindowsStyleGivesDialogFrameMarginsAndItsTrackingLimits) {
  cWindow w;
  w.Layout(640, 480, 100, 100, 640, 480, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, 0);
  const std::int32_t fx = GetSystemMetrics(SM_CXDLGFRAME);
  const std::int32_t fy = GetSystemMetrics(SM_CYDLGFRAME);
  const std::int32_t cap = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(w.Margins().left, fx);
  EXPECT_EQ(w.Margins().right, fx);
  EXPECT_EQ(w.Margins().top, cap + fy);
  EXPECT_EQ(w.Margins().bottom, fy);
  EXPECT_EQ(w.WindowRect().right, 640 + 2 * fx);
  EXPECT_EQ(w.WindowRect().bottom, 480 + cap + 2 * fy);
  MINMAXINFO info;
  info.ptMaxSize = {7, 7};
  w.GetFrameRect(&info);
  EXPECT_EQ(info.ptMinTrackSize.x, 100 + 2 * fx);
  EXPECT_EQ(info.ptMinTrackSize.y, 100 + cap + 2 * fy);
  EXPECT_EQ(info.ptMaxTrackSize.x, 640 + 2 * fx);
  EXPECT_EQ(info.ptMaxTrackSize.y, 480 + cap + 2 * fy);
  EXPECT_EQ(info.ptMaxSize.x, 7) << "the other members are not touched";
}

TEST(WindowLayoutTest, StylesAndExtrasAddWhatTheyStandFor) {
  struct Row {
    std::uint32_t style;
    std::int32_t menu, toolBarRows, statusBar, scrollBars;
    std::int32_t left, top, clientW, clientH;
  };
  const std::int32_t cap = GetSystemMetrics(SM_CYCAPTION);
  const std::int32_t frame = GetSystemMetrics(SM_CXFRAME);
  const std::int32_t dlg = GetSystemMetrics(SM_CXDLGFRAME);
  const std::int32_t vs = GetSystemMetrics(SM_CXVSCROLL);
  const std::int32_t hs = GetSystemMetrics(SM_CYHSCROLL);
  const Row rows[] = {
      {0, 0, 0, 0, 0, 0, 0, 200, 100},
      {WS_THICKFRAME, 0, 0, 0, 0, frame, frame, 200, 100},
      // Either bit of the caption style counts as a caption; the thick frame wins over the dialog frame.
      {WS_THICKFRAME | WS_DLGFRAME, 0, 0, 0, 0, frame, cap + frame, 200, 100},
      {WS_DLGFRAME, 1, 0, 0, 0, dlg, cap + dlg + GetSystemMetrics(SM_CYMENU), 200, 100},
      {WS_CAPTION, 0, 2, 1, 3, dlg, cap + dlg, 200 + vs, 100 + 2 * 28 + 20 + hs},
  };
  for (const Row& r : rows) {
    cWindow w;
    w.Layout(200, 100, 10, 10, 400, 300, r.style, r.menu, r.toolBarRows, r.statusBar, 0, r.scrollBars);
    EXPECT_EQ(w.Margins().left, r.left) << r.style;
    EXPECT_EQ(w.Margins().top, r.top) << r.style;
    EXPECT_EQ(w.ClientRect().right, r.clientW) << r.style;
    EXPECT_EQ(w.ClientRect().bottom, r.clientH) << r.style;
  }
}

TEST(WindowMouseTest, APressShowsOnceAndTheReleaseOnTheCallAfterIt) {
  ResetMouseLatches();
  MouseState m;
  const std::uint32_t held[] = {1, 1, 1, 0, 0, 2};
  const std::vector<std::vector<int>> expect = {
      // leftDown, leftPressed, leftReleased, rightPressed
      {1, 1, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 1},
  };
  for (std::size_t i = 0; i < std::size(held); ++i) {
    MouseButtons(m, 7, held[i]);
    EXPECT_EQ((std::vector<int>{m.leftDown, m.leftPressed, m.leftReleased, m.rightPressed}), expect[i]) << i;
  }
}

// A window whose command handler sends itself another command.
class cEchoWindow : public cWindow {
 public:
  void OnCommand(std::uintptr_t wParam, std::intptr_t) override {
    ++m_Handled;
    if (wParam == 1) m_InnerResult = Dispatch(nullptr, WM_COMMAND, 2, 0);
  }
  int m_Handled = 0;
  int m_InnerResult = -1;
};

TEST(WindowDispatchTest, ACommandSentWhileOneIsHandledIsRefused) {
  cEchoWindow w;
  EXPECT_EQ(w.Dispatch(nullptr, WM_COMMAND, 1, 0), 1);
  EXPECT_EQ(w.m_Handled, 1);
  EXPECT_EQ(w.m_InnerResult, 0);
  EXPECT_EQ(w.Dispatch(nullptr, WM_COMMAND, 3, 0), 1) << "the guard is let go afterwards";
  EXPECT_EQ(w.m_Handled, 2);
}

TEST(WindowGroupTest, AWindowIsInTheGroupOnce) {
  cWindowGroup group;
  cWindow a, b;
  group.Add(&a);
  group.Add(&a);
  group.Add(&b);
  EXPECT_EQ(group.Windows().size(), 2u);
  group.Remove(&a);
  EXPECT_EQ(group.Windows(), std::vector<cWindow*>{&b});
}

}  // namespace

namespace {

TEST(WindowMessageNameTest, NamesComeFromTheTableAndOtherNumbersAsDigits) {
  struct {
    std::uint32_t message;
    const char* name;
  } const cases[] = {
      {256, "WM_KEYFIRST"}, {271, "WM_IME_COMPOSITION"}, {512, "WM_MOUSEFIRST"}, {1024, "WM_USER"},
      {0x8000, "WM_APP"},   {0x0111, "WM_COMMAND"},      {0x8001, "32769"},     {0x038F, "WM_PENWINLAST"},
  };
  for (const auto& c : cases) EXPECT_STREQ(GetMessageName(c.message), c.name) << c.message;
}

// A window over a work area of its own size, so the placement does not depend on a desktop.
class cPlacedWindow : public cWindow {
 public:
  cPlacedWindow(std::int32_t areaW, std::int32_t areaH) : m_Area{0, 0, areaW, areaH} {}
  RECT m_Area;

 protected:
  void PlaceWindow(std::int32_t, std::int32_t) override {}
  bool WorkArea(RECT* area) const override {
    *area = m_Area;
    return true;
  }
};

TEST(WindowPlacementTest, ARequestedPositionIsKeptInsideTheWorkArea) {
  struct {
    POINT requested;
    POINT expected;
  } const cases[] = {
      {{240, 220}, {240, 220}},
      {{-20, 5000}, {0, 638}},
      {{900, -5}, {824, 0}},
  };
  for (const auto& c : cases) {
    cPlacedWindow window(1024, 738);
    window.Layout(200, 100, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    window.RequestPosition(c.requested.x, c.requested.y);
    window.PlaceInWorkArea();
    EXPECT_EQ(window.WindowPosition().x, c.expected.x) << c.requested.x;
    EXPECT_EQ(window.WindowPosition().y, c.expected.y) << c.requested.y;
  }
  cPlacedWindow untouched(1024, 738);
  untouched.Layout(200, 100, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
  untouched.MoveTo(33, 44);
  untouched.RequestPosition(-1000, 50);
  untouched.PlaceInWorkArea();
  EXPECT_EQ(untouched.WindowPosition().x, 33);
  EXPECT_EQ(untouched.WindowPosition().y, 44);
}

}  // namespace
