// The name-entry dialog as the window thread runs it for the game thread's request: what it shows,
// where it stores the name, and the limits of the name.
#include <gtest/gtest.h>

#include <memory>

#include "platform/host/text_codec.h"
#include "platform/ui/dialog_loop.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/keyboard_hook.h"
#include "play/play_scene.h"
#include "project/option.h"
#include "project/window_requests.h"
#include "shell/scene_manager.h"
#include "shell/shell_dialogs.h"
#include "tests/shell/window_fixture.h"

namespace {

class NameEntryDialogTest : public WindowThreadTest {
 protected:
  void SetUp() override {
    WindowThreadTest::SetUp();
    m_SavedChoice = g_SceneManager.m_TitleChoice;
    g_Option.m_RankName = "OLD";
  }
  void TearDown() override {
    SetDialogAnswerer({});
    g_SceneManager.m_TitleChoice = m_SavedChoice;
    g_PlayScene = nullptr;
    g_Option.m_RankName.clear();
    WindowThreadTest::TearDown();
  }
  // The request as the game thread sends it, the dialog answered with answer (UTF-8 actions).
  void Request(const std::string& answer) {
    SetDialogAnswerer([this, answer](const std::string& name) {
      m_Dialog = name;
      if (cDialogWindow* w = ActiveDialogWindow()) {
        m_Shown = w->ItemText(kNameEntryField);
        w->GetSel(kNameEntryField, &m_SelStart, &m_SelEnd);
        m_Position = w->OuterRect();
      }
      return answer;
    });
    g_NameEntryDone = 0;
    OnGameThread<bool>([] { return SendMainWindowMessage(WM_GAME_NAMEENTRY, 0, 0).has_value(); });
    EXPECT_EQ(g_NameEntryDone.load(), 1);
  }

  std::int32_t m_SavedChoice = 0;
  std::string m_Dialog;
  std::string m_Shown;
  std::int32_t m_SelStart = -1;
  std::int32_t m_SelEnd = -1;
  ScreenRect m_Position;
};

TEST_F(NameEntryDialogTest, FromTheOptionsTheCurrentNameIsShownSelectedAndTheTypedNameStored) {
  g_SceneManager.m_TitleChoice = kTitleOption;
  Request("type:ABC");
  EXPECT_EQ(m_Dialog, "name-entry");
  EXPECT_EQ(m_Shown, "OLD");
  EXPECT_EQ(m_SelStart, 0);
  EXPECT_EQ(m_SelEnd, 3);
  EXPECT_EQ(m_Position.x, 240);
  EXPECT_EQ(m_Position.y, 220);
  EXPECT_EQ(g_Option.m_RankName, "ABC");
  EXPECT_TRUE(Traced("dialog name-entry: 1"));
}

TEST_F(NameEntryDialogTest, AfterAStageTheNameGoesToThePlaySceneOnly) {
  g_SceneManager.m_TitleChoice = kTitleNewStory;
  auto scene = std::make_unique<cPlayScene>();
  scene->m_EntryName = "PLY";
  g_PlayScene = scene.get();
  Request("type:XY");
  EXPECT_EQ(m_Shown, "PLY");
  EXPECT_EQ(scene->m_EntryName, "XY");
  EXPECT_EQ(g_Option.m_RankName, "OLD");
}

TEST_F(NameEntryDialogTest, TheNameKeepsToThreeBytesOfWholeCharacters) {
  g_SceneManager.m_TitleChoice = kTitleOption;
  struct {
    const char* typed;  // UTF-8 actions
    const char* stored;
  } const cases[] = {
      {"type:ABCD", "ABC"},
      {"type:AB,type:ア", "AB"},
      {"type:アイ", "ア"},
      {"type:Aア", "Aア"},
      {"type:A😀", "A"},
      {"type:ｶﾅA", "ｶﾅA"},
      {"key:DELETE", ""},
  };
  for (const auto& c : cases) {
    g_Option.m_RankName = "OLD";
    Request(c.typed);
    EXPECT_EQ(Cp932ToUtf8(g_Option.m_RankName), c.stored) << c.typed;
  }
}

TEST_F(NameEntryDialogTest, ClosingOrEscapeKeepsTheName) {
  g_SceneManager.m_TitleChoice = kTitleOption;
  for (const char* answer : {"type:NEW,close", "type:NEW,key:ESCAPE"}) {
    Request(answer);
    EXPECT_EQ(g_Option.m_RankName, "OLD") << answer;
  }
  // Nothing bound: the dialog shows and closes, and no name changes.
  g_SceneManager.m_TitleChoice = kTitleNewStory;
  Request("type:ZZ");
  EXPECT_EQ(m_Shown, "");
  EXPECT_EQ(g_Option.m_RankName, "OLD");
}

}  // namespace
