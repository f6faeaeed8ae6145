// Message windows frame by frame: where each anchor puts a window, the stage place of an unfixed
// window, keeping on screen, the frame count (blocked frames included), the anchor character's
// leaving, the refresh of live values, the opening frame, the rising icons, and set-up again.
#include <string>

#include "tests/play/message_fixture.h"

namespace {

// Frames a window is drawn before it reports its end; -1 when it is still open after `limit`.
int FramesShown(cMessageWindow& window, std::int32_t frozen, int limit = 100) {
  for (int n = 0; n <= limit; ++n)
    if (window.Draw(&g_BackSurface, frozen) != 0) return n;
  return -1;
}

TEST_F(MessageWindowTest, EachAnchorPlacesTheWindow) {
  Start(BackEnd::DirectDraw);
  SetCamera(kCameraX, kCameraY);
  PutHero(200.5, 100.7);
  // The hero's drawn box: left 200 - 4, top 100 - 8, 40 x 48. The windows are 16 x 16.
  const std::int32_t stageCellX = (m_Scene->TileOriginX() + 5) * 32 + 3 - static_cast<std::int32_t>(kCameraX);
  const std::int32_t stageCellY = (m_Scene->TileOriginY() + 4) * 32 - 2 - static_cast<std::int32_t>(kCameraY);
  struct Case {
    std::int32_t anchor, x, y;
  };
  const Case cases[] = {
      {kAnchorScreenCentre, 320 + 3 - 8, 240 - 2 - 8},
      {kAnchorAboveSelf, 211, 100 - 8 - 16 - 2},
      {kAnchorBelowSelf, 211, 100 - 8 + 48 + 1 - 2},
      {kAnchorCentreSelf, 211, 100 - 8 + 24 - 8 - 2},
      {kAnchorAboveHero, 211, 74},
      {kAnchorBelowHero, 211, 139},
      {kAnchorCentreHero, 211, 106},
      {kAnchorScreenCell, 2 * 32 + 3, 3 * 32 - 2},
      {kAnchorStageCell, stageCellX, stageCellY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.anchor);
    cMessageSettings s = TimerWindowSettings(10);
    s.m_Anchor = c.anchor;
    s.m_CharaId = kHeroId;
    s.m_Column = c.anchor == kAnchorScreenCell ? 2 : 5;
    s.m_Row = c.anchor == kAnchorScreenCell ? 3 : 4;
    s.m_OffsetX = 3;
    s.m_OffsetY = -2;
    cMessageWindow window(s);
    std::int32_t x = 0, y = 0;
    ASSERT_TRUE(window.Place(x, y));
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
}

TEST_F(MessageWindowTest, UnfixedWindowsMoveWithTheStageOrTheCharacterFixedOnesStay) {
  Start(BackEnd::DirectDraw);
  PutHero(200, 100);
  struct Case {
    std::int32_t anchor, fixed;
    std::int32_t dx, dy;  // the move after the camera went 10 right, 5 down and the hero 30 right
  };
  const Case cases[] = {
      {kAnchorScreenCentre, 0, -10, -5}, {kAnchorScreenCentre, 1, 0, 0}, {kAnchorScreenCell, 0, -10, -5},
      {kAnchorScreenCell, 1, 0, 0},      {kAnchorStageCell, 0, -10, -5}, {kAnchorStageCell, 1, 0, 0},
      {kAnchorAboveHero, 0, 20, -5},     {kAnchorAboveHero, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.anchor) + (c.fixed ? " fixed" : ""));
    SetCamera(kCameraX, kCameraY);
    MoveHero(200, 100);
    cMessageSettings s = TimerWindowSettings(10);
    s.m_Anchor = c.anchor;
    s.m_Fixed = c.fixed;
    s.m_CharaId = kHeroId;
    cMessageWindow window(s);
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_TRUE(window.Place(x0, y0));
    SetCamera(kCameraX + 10, kCameraY + 5);
    MoveHero(200 + 30 - 10, 100 - 5);  // 30 further right in the stage, the same height
    ASSERT_TRUE(window.Place(x1, y1));
    EXPECT_EQ(x1 - x0, c.dx);
    EXPECT_EQ(y1 - y0, c.dy);
  }
}

TEST_F(MessageWindowTest, WindowEndsWithItsAnchorCharacter) {
  Start(BackEnd::DirectDraw);
  PutHero(200, 100);
  const std::string text = "##";
  cMessageSettings s = TextSettings(text);
  s.m_Anchor = kAnchorAboveHero;
  s.m_Fixed = 0;
  s.m_CharaId = kHeroId;
  Open(s);
  Open(TextSettings(text));
  ASSERT_EQ(g_MessageSurfaces.size(), 2u);
  DrawMessageWindows(&g_BackSurface, 0);
  EXPECT_EQ(m_Scene->m_Messages.size(), 2u);
  g_Heroes.clear();
  DrawMessageWindows(&g_BackSurface, 0);
  ASSERT_EQ(m_Scene->m_Messages.size(), 1u);
  EXPECT_EQ(m_Scene->m_Messages.front().m_Anchor, kAnchorScreenCentre);
  ASSERT_EQ(g_MessageSurfaces.size(), 1u);
  EXPECT_EQ(&g_MessageSurfaces.front(), m_Scene->m_Messages.front().m_Surface);
  EXPECT_EQ(g_MessageDescriptors.size(), 1u);
}

TEST_F(MessageWindowTest, KeepOnScreenPullsTheWindowInside) {
  Start(BackEnd::DirectDraw);
  struct Case {
    std::int32_t keep, width, height, x, y, placedX, placedY;
  };
  const Case cases[] = {
      {1, 100, 20, 600, 5, 540, 20},
      {1, 100, 20, 538, 30, 538, 30},  // ends two dots short of the edge
      {1, 100, 20, 539, 30, 540, 30},  // one dot short: moved one dot right
      {1, 100, 20, -5, 19, 0, 20},
      {1, 16, 30, 0, 448, 0, 448},
      {1, 16, 30, 0, 449, 0, 450},
      {1, 700, 500, -50, 0, 0, 20},
      {1, 700, 500, 10, 30, -60, -20},
      {0, 100, 20, 600, 5, 600, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    cMessageSettings s = TimerWindowSettings(10);
    s.m_Anchor = kAnchorScreenCell;
    s.m_OffsetX = c.x;
    s.m_OffsetY = c.y;
    s.m_KeepOnScreen = c.keep;
    cMessageWindow window(s);
    window.m_Width = c.width;
    window.m_Height = c.height;
    std::int32_t x = 0, y = 0;
    ASSERT_TRUE(window.Place(x, y));
    EXPECT_EQ(x, c.placedX);
    EXPECT_EQ(y, c.placedY);
  }
}

TEST_F(MessageWindowTest, FrameCountEndsTimedWindowsBlockedFramesCountOnlyWhenAsked) {
  Start(BackEnd::DirectDraw);
  struct Case {
    std::int32_t endMode, frames, countsWhileFrozen, frozen;
    int shown;
  };
  const Case cases[] = {
      {kMessageTimed, 0, 0, 0, 0},  // ends at its first frame, undrawn
      {kMessageTimed, 1, 0, 0, 1},
      {kMessageTimed, 30, 0, 0, 30},
      {kMessageTimed, 3, 0, 1, -1},  // blocked frames do not count
      {kMessageTimed, 3, 1, 1, 3},
      {kMessageTimed, -5, 0, 0, 0},
      {kMessageUntilKey, 0, 1, 0, -1},
      {kMessageUntilStageEnd, 0, 1, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.endMode) + " " + std::to_string(c.frames) + " " + std::to_string(c.frozen));
    const std::string text = "#";
    cMessageSettings s = TextSettings(text);
    s.m_EndMode = c.endMode;
    s.m_Frames = c.frames;
    s.m_CountsWhileFrozen = c.countsWhileFrozen;
    s.m_Continued = 1;
    cMessageWindow window(s);
    ASSERT_TRUE(window.HasSurface());
    EXPECT_EQ(FramesShown(window, c.frozen), c.shown);
    // The surface goes with the end.
    EXPECT_EQ(window.HasSurface(), c.shown < 0);
    EXPECT_EQ(g_MessageSurfaces.size(), c.shown < 0 ? 1u : 0u);
    ClearMessageLists();
  }

  // Blocked and running frames mixed: only the frames that count take the count down.
  cMessageWindow timer(TimerWindowSettings(2));
  cMessageSettings s = TimerWindowSettings(2);
  s.m_CountsWhileFrozen = 0;
  cMessageWindow item(s);
  for (std::int32_t frozen : {1, 1, 0, 0}) EXPECT_EQ(item.Draw(&g_BackSurface, frozen), 0);
  EXPECT_EQ(item.Draw(&g_BackSurface, 0), 1);
  for (std::int32_t frozen : {0, 1}) EXPECT_EQ(timer.Draw(&g_BackSurface, frozen), 0);
  EXPECT_EQ(timer.Draw(&g_BackSurface, 1), 1);
}

TEST_F(MessageWindowTest, RefreshShowsNewValuesAndResizesTheSurface) {
  Start(BackEnd::DirectDraw);
  g_SaveData.m_Variables.At(1) = 5;
  const std::string text = "HP #C1";
  cMessageSettings s = TextSettings(text);
  s.m_TextCodes = 1;
  s.m_Refresh = 1;
  s.m_RefreshInterval = 2;
  cMessageWindow& window = Open(s);
  EXPECT_EQ(window.m_Text, "HP 5");
  EXPECT_EQ(window.m_SourceText, text);
  EXPECT_EQ(window.m_Width, 4 * 16 + 2);

  g_SaveData.m_Variables.At(1) = 123;
  m_Scene->m_FrameCount = 3;  // not a frame of the interval
  window.Draw(&g_BackSurface, 0);
  EXPECT_EQ(window.m_Text, "HP 5");
  m_Scene->m_FrameCount = 4;
  window.Draw(&g_BackSurface, 0);
  EXPECT_EQ(window.m_Text, "HP 123");
  EXPECT_EQ(window.m_Width, 6 * 16 + 2);
  ASSERT_TRUE(window.HasSurface());
  EXPECT_EQ(window.m_Surface->width, window.m_Width);
  EXPECT_EQ(g_MessageSurfaces.size(), 1u);

  // The same size keeps the surface.
  const DDSURFACEDATA* surface = window.m_Surface;
  g_SaveData.m_Variables.At(1) = 456;
  m_Scene->m_FrameCount = 6;
  window.Draw(&g_BackSurface, 0);
  EXPECT_EQ(window.m_Text, "HP 456");
  EXPECT_EQ(window.m_Surface, surface);

  // Without refresh the value stays as it was first shown.
  window.m_Refresh = 0;
  g_SaveData.m_Variables.At(1) = 7;
  m_Scene->m_FrameCount = 8;
  window.Draw(&g_BackSurface, 0);
  EXPECT_EQ(window.m_Text, "HP 456");
}

TEST_F(MessageWindowTest, KeyWaitWindowOpensWithNineFramesOfGrowingFrame) {
  Start(BackEnd::DirectDraw);
  const std::string text = "####";  // 66 x 18 at (287, 231)
  auto textDots = [&] {
    int n = 0;
    for (int y = 200; y < 280; ++y)
      for (int x = 250; x < 390; ++x) n += Frame(x, y) == kText;
    return n;
  };
  cMessageSettings s = TextSettings(text);
  s.m_EndMode = kMessageUntilKey;
  s.m_Framed = 1;
  cMessageWindow& window = Open(s);
  EXPECT_EQ(window.m_Opening, 1);
  for (int frame = 1; frame <= 9; ++frame) {
    SCOPED_TRACE(frame);
    ClearFrame(0);
    ASSERT_EQ(window.Draw(&g_BackSurface, 1), 0);
    EXPECT_EQ(textDots(), 0);
    if (frame == 5) {
      // Half size about the centre: 33 x 9 at (303, 235), its frame around it.
      EXPECT_EQ(Frame(303, 235), kWindowPicture);
      EXPECT_EQ(Frame(335, 243), kWindowPicture);
      EXPECT_EQ(Frame(336, 243), kFrame);
      EXPECT_EQ(Frame(302, 235), kFrame);
      EXPECT_EQ(Frame(303, 245), 0u);
    }
  }
  ClearFrame(0);
  window.Draw(&g_BackSurface, 1);
  EXPECT_GT(textDots(), 0);
  EXPECT_EQ(Frame(287, 231), kFrame);

  // A chained message opens at once.
  s.m_Continued = 1;
  window.Reset(s);
  EXPECT_EQ(window.m_Opening, 0);
  ClearFrame(0);
  window.Draw(&g_BackSurface, 1);
  EXPECT_GT(textDots(), 0);
}

TEST_F(MessageWindowTest, IconsRiseOverTheHeroOneDotEveryFourFrames) {
  Start(BackEnd::DirectDraw);
  SetCamera(kCameraX, kCameraY);
  cHero& hero = PutHero(200, 100);
  // Above the hero: x 200 - 8 + 20 - 4, y 100 - 8 - 16.
  constexpr std::int32_t kX = 208, kY = 76;
  struct Case {
    const char* name;
    bool extraLife;
    std::uint32_t dot;  // the icon's dot (2, 2)
    std::int32_t frozen;
    int shown;
  };
  const Case cases[] = {
      {"item icon", false, SheetPixel(0x70, 16, 2, 16 + 2), 0, 30},  // item 1 of the mini-icon sheet
      {"item icon, blocked", false, SheetPixel(0x70, 16, 2, 16 + 2), 1, -1},
      {"extra life", true, SheetPixel(0xE0, 16, 2, 48 + 2), 1, 30},  // the accessory cell (0, 48)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_Scene->m_Messages.clear();
    if (c.extraLife)
      OpenMessageWindow(ExtraLifeSettings(kHeroId));
    else
      hero.ShowItemMessage(kChipItem, 1, 0);
    ASSERT_EQ(m_Scene->m_Messages.size(), 1u);
    cMessageWindow& window = m_Scene->m_Messages.back();
    EXPECT_EQ(window.m_CharaId, kHeroId);
    EXPECT_FALSE(window.HasSurface());
    int shown = 0;
    for (; shown <= 40; ++shown) {
      ClearFrame(0);
      if (window.Draw(&g_BackSurface, c.frozen) != 0) break;
      const std::int32_t rise = c.frozen && window.m_CountsWhileFrozen == 0 ? 0 : (shown + 1) / 4;
      ASSERT_EQ(Frame(kX + 2, kY - rise + 2), c.dot) << shown;
      ASSERT_EQ(Frame(kX + 2, kY - rise - 1), 0u) << shown;
      // Fixed: the hero walking away does not take it along.
      MoveHero(200 + shown, 100);
    }
    EXPECT_EQ(shown, c.shown < 0 ? 41 : c.shown);
    MoveHero(200, 100);
  }
}

TEST_F(MessageWindowTest, SetUpAgainKeepsAFittingSurfaceAndRemovalTakesOnlyItsOwn) {
  Start(BackEnd::DirectDraw);
  const std::string two = "##", three = "###", other = "#i";
  cMessageWindow& window = Open(TextSettings(two));
  cMessageWindow& second = Open(TextSettings(two));
  const DDSURFACEDATA* surface = window.m_Surface;
  ASSERT_NE(surface, nullptr);

  window.Reset(TextSettings(other));
  EXPECT_EQ(window.m_Surface, surface);
  EXPECT_EQ(window.m_Text, other);
  // Another size: a surface of the new size takes the old one's place.
  window.Reset(TextSettings(three));
  ASSERT_TRUE(window.HasSurface());
  EXPECT_EQ(window.m_Surface->width, 3 * 16 + 2);
  EXPECT_EQ(window.m_Width, 3 * 16 + 2);
  EXPECT_EQ(g_MessageSurfaces.size(), 2u);
  EXPECT_EQ(g_MessageDescriptors.size(), 2u);
  // No text given: the window keeps its own.
  cMessageSettings keep = TextSettings(three);
  keep.m_Text = nullptr;
  window.Reset(keep);
  EXPECT_EQ(window.m_Text, three);

  // Into a timer and back: the surface goes and comes again.
  window.Reset(TimerWindowSettings(5));
  EXPECT_FALSE(window.HasSurface());
  EXPECT_EQ(g_MessageSurfaces.size(), 1u);
  window.Reset(TextSettings(two));
  EXPECT_TRUE(window.HasSurface());
  EXPECT_EQ(g_MessageSurfaces.size(), 2u);

  const DDSURFACEDATA* kept = second.m_Surface;
  RemoveMessageWindow(m_Scene->m_Messages, window);
  ASSERT_EQ(m_Scene->m_Messages.size(), 1u);
  EXPECT_EQ(&m_Scene->m_Messages.front(), &second);
  ASSERT_EQ(g_MessageSurfaces.size(), 1u);
  EXPECT_EQ(&g_MessageSurfaces.front(), kept);
  // A window not in the list changes nothing.
  cMessageWindow stranger(TextSettings(two));
  RemoveMessageWindow(m_Scene->m_Messages, stranger);
  EXPECT_EQ(m_Scene->m_Messages.size(), 1u);
}

}  // namespace
