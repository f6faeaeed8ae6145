// Boxes over a full-screen display: DDMesBox, DDSetDialogMode and the box route DDInit installs.
#include "platform/services/boxes.h"
#include "tests/platform/display/draw_fixture.h"

namespace {

class MessageBoxTest : public DrawTest {
 protected:
  // Answers every box with answer, noting the window's state while it is up.
  void AnswerBoxes(int answer) {
    SetBoxSink([this, answer](const std::string& text, const std::string& caption, std::uint32_t) {
      m_Boxes.push_back(caption + ": " + text);
      m_StateDuringBox = m_Screen.State();
      return answer;
    });
  }
  ScreenState m_StateDuringBox;
};

TEST_F(MessageBoxTest, FullScreenBoxesLeaveTheGameScreenAndComeBackWithTheAnswer) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    m_Boxes.clear();
    if (backEnd == BackEnd::Direct3D)
      ASSERT_TRUE(StartDirect3D(32, 0));
    else
      ASSERT_TRUE(StartDirectDraw(32, 0));
    ASSERT_TRUE(m_Screen.State().fullScreen);
    AnswerBoxes(IDNO);
    if (g_DisplayContext) g_DisplayContext->inScene = 1;

    // The game's boxes go through the display while it is up in full screen.
    EXPECT_EQ(MesBox("text", "caption", MB_YESNO), IDNO) << BackEndName(static_cast<int>(backEnd));
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0], "caption: text");
    EXPECT_FALSE(m_StateDuringBox.fullScreen);
    EXPECT_TRUE(m_StateDuringBox.cursorVisible);
    EXPECT_TRUE(m_Screen.State().fullScreen);
    EXPECT_FALSE(m_Screen.State().cursorVisible);
    if (g_DisplayContext) {
      EXPECT_EQ(g_DisplayContext->inScene, 0) << "the scene ends for the box";
    }

    // Released, the display no longer stands between the game and its boxes.
    DDRelease();
    m_Screen.SetCursorVisible(false);
    EXPECT_EQ(MesBox("after", "caption", MB_OK), IDNO);
    EXPECT_EQ(m_Boxes.size(), 2u);
    EXPECT_FALSE(m_StateDuringBox.cursorVisible) << "the window was left alone";
  }
}

TEST_F(MessageBoxTest, TheGamesOwnDialogsKeepTheFullScreenAndShowTheCursor) {
  for (BackEnd backEnd : {BackEnd::DirectDraw, BackEnd::Direct3D}) {
    if (backEnd == BackEnd::Direct3D)
      ASSERT_TRUE(StartDirect3D(32, 0));
    else
      ASSERT_TRUE(StartDirectDraw(32, 0));
    EXPECT_EQ(DDSetDialogMode(1), 1);
    EXPECT_TRUE(m_Screen.State().fullScreen) << BackEndName(static_cast<int>(backEnd));
    EXPECT_TRUE(m_Screen.State().cursorVisible);
    EXPECT_EQ(DDSetDialogMode(0), 1);
    EXPECT_TRUE(m_Screen.State().fullScreen);
    EXPECT_FALSE(m_Screen.State().cursorVisible);
    DDRelease();
  }
}

TEST_F(MessageBoxTest, WindowedDisplaysShowBoxesDirectly) {
  ASSERT_TRUE(StartDirectDraw(32, 1));
  AnswerBoxes(IDOK);
  m_Screen.SetCursorVisible(true);
  EXPECT_EQ(DDSetDialogMode(1), 1);
  EXPECT_EQ(DDSetDialogMode(0), 1);
  EXPECT_TRUE(m_Screen.State().cursorVisible) << "a window keeps its cursor";
  EXPECT_EQ(MesBox("text", "caption", MB_OK), IDOK);
  EXPECT_EQ(m_Boxes.size(), 1u);
}

TEST_F(MessageBoxTest, LostDirectDrawScreenCannotMakeWayForABox) {
  ASSERT_TRUE(StartDirectDraw(16, 0));
  AnswerBoxes(IDOK);
  InjectDisplayLoss();
  EXPECT_EQ(DDSetDialogMode(1), 0);
  EXPECT_EQ(DDMesBox("text", "caption", MB_OK), 0);
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_TRUE(m_Screen.State().fullScreen);
}

}  // namespace
