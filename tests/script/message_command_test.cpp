// The message command and the game wait: windows found by ID, set up again, chained or closed; the
// blocking ones hold the game for their key or time and take out their own window afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/display/font.h"
#include "play/message_window.h"
#include "project/command_vocabulary.h"
#include "project/flow_command.h"
#include "script/wait_message_commands.h"
#include "tests/platform/display/font_fixture.h"
#include "tests/play/pause_fixture.h"
#include "tests/script/message_font_fixture.h"

namespace {

using playtest::PauseTest;

class MessageCommandTest : public PauseTest {
 protected:
  void SetUp() override {
    PauseTest::SetUp();
    m_Font = std::make_unique<scripttest::cMessageFont>();
    Hero().m_Id = kHeroId;
  }
  void TearDown() override {
    m_Font.reset();
    PauseTest::TearDown();
  }

  struct Params {
    std::int32_t anchor = 0, endMode = 0, time = 0, block = 0, hasId = 0, id = 0, closeById = 0;
  };
  static cFlowCommand Message(const std::string& text, const Params& p) {
    cFlowCommand command;
    command.m_CommandSet = kCharaCommandSet;
    command.m_CommandNumber = kCharaMessage;
    command.m_Params.assign(kMessageParamCount, 0);
    command.m_Params.At(kMsgAnchor) = p.anchor;
    command.m_Params.At(kMsgEndMode) = p.endMode;
    command.m_Params.At(kMsgTime) = p.time;
    command.m_Params.At(kMsgBlock) = p.block;
    command.m_Params.At(kMsgHasId) = p.hasId;
    command.m_Params.At(kMsgId) = p.id;
    command.m_Params.At(kMsgCloseById) = p.closeById;
    command.m_Code = text;
    return command;
  }

  std::list<cMessageWindow>& Windows() { return m_Scene->m_Messages; }
  std::vector<const cMessageWindow*> Identities() {
    std::vector<const cMessageWindow*> list;
    for (const cMessageWindow& w : Windows()) list.push_back(&w);
    return list;
  }

  static constexpr std::int32_t kHeroId = 7;
  std::unique_ptr<scripttest::cMessageFont> m_Font;
};

TEST_F(MessageCommandTest, WindowsByIdChainedAndClosed) {
  cHero& self = Hero();
  DoMessage(self, Message("AB", {.hasId = 1, .id = 3}), 0);
  ASSERT_EQ(Windows().size(), 1u);
  cMessageWindow* first = &Windows().back();
  EXPECT_EQ(first->m_Opening, 1);
  // The same ID sets that window up again.
  DoMessage(self, Message("CDEF", {.hasId = 1, .id = 3}), 0);
  EXPECT_EQ(Identities(), std::vector<const cMessageWindow*>{first});
  EXPECT_EQ(first->m_Text, "CDEF");
  // A close that finds nothing does nothing: no window, blocking or not.
  DoMessage(self, Message("", {.block = 1, .hasId = 1, .id = 5, .closeById = 1}), 0);
  DoMessage(self, Message("", {.closeById = 1}), 0);
  EXPECT_EQ(Identities(), std::vector<const cMessageWindow*>{first});
  EXPECT_EQ(PresentedFrameCount(), 0u);
  // Closed by its ID, with its surface.
  DoMessage(self, Message("", {.hasId = 1, .id = 3, .closeById = 1}), 0);
  EXPECT_TRUE(Windows().empty());
  EXPECT_TRUE(g_MessageSurfaces.empty());
  // A chained message takes over the last text window, without its opening.
  DoMessage(self, Message("AB", {}), 0);
  first = &Windows().back();
  DoMessage(self, Message("GH", {}), 1);
  EXPECT_EQ(Identities(), std::vector<const cMessageWindow*>{first});
  EXPECT_EQ(first->m_Text, "GH");
  EXPECT_EQ(first->m_Opening, 0);
  // ... but never a timer, nor a text window whose surface is gone: those get a new one.
  Windows().emplace_back(TimerWindowSettings(100));
  DoMessage(self, Message("IJ", {}), 1);
  ASSERT_EQ(Windows().size(), 3u);
  EXPECT_EQ(Windows().back().m_Kind, kMessageText);
  EXPECT_EQ(Windows().back().m_Opening, 0);
  Windows().back().ReleaseSurface();
  DoMessage(self, Message("KL", {}), 1);
  ASSERT_EQ(Windows().size(), 4u);
  EXPECT_TRUE(Windows().back().HasSurface());
  // Nothing at all while the program is closing.
  m_Scene->m_CloseRequested = 1;
  DoMessage(self, Message("MN", {}), 0);
  EXPECT_EQ(Windows().size(), 4u);
}

TEST_F(MessageCommandTest, TheAnchorCharacter) {
  cHero self;
  self.m_Id = 9;
  struct Case {
    std::int32_t anchor, charaId;
  };
  const Case cases[] = {{0, 0}, {1, 9}, {2, 9}, {3, 9}, {4, kHeroId}, {5, kHeroId}, {6, kHeroId}, {7, 0}, {8, 0}};
  for (const Case& c : cases) {
    DoMessage(self, Message("A", {.anchor = c.anchor}), 0);
    EXPECT_EQ(Windows().back().m_CharaId, c.charaId) << c.anchor;
  }
}

TEST_F(MessageCommandTest, BlockingMessagesHoldTheGameAndTakeOutTheirOwnWindow) {
  struct Case {
    const char* name;
    Params params;
    std::int32_t continued;
    const char* script;
    std::uint32_t frames;
    std::vector<int> sounds;
    bool takesOver = false;  // a chained message shows itself in the window before it
  };
  const Case cases[] = {
      {"key", {.endMode = kMessageUntilKey, .block = 1}, 0, "10 Z\n", 10, {kMessageOpenSound, 12}},
      {"chained key", {.endMode = kMessageUntilKey, .block = 1}, 1, "1 Z\n", 1, {12}, true},
      {"until the stage ends", {.endMode = kMessageUntilStageEnd, .block = 1}, 0, "10 Z\n", 10, {kMessageOpenSound, 12}},
      {"time", {.endMode = kMessageTimed, .time = 2, .block = 1}, 0, "", 12, {}},
      // Its anchor character is gone: the window ends in the first frame, the wait goes on.
      {"lost anchor", {.anchor = 1, .endMode = kMessageTimed, .time = 1, .block = 1}, 0, "", 6, {}},
  };
  cHero stranger;
  stranger.m_Id = 99;
  for (const Case& c : cases) {
    ResetHeadless();
    m_Sounds.clear();
    Windows().clear();
    ClearMessageLists();
    DoMessage(Hero(), Message("stay", {.endMode = kMessageUntilStageEnd}), 0);
    const std::vector<const cMessageWindow*> before = Identities();
    Script(c.script);
    RunAsGame([&] { DoMessage(c.params.anchor == 1 ? stranger : Hero(), Message("wait", c.params), c.continued); });
    EXPECT_EQ(PresentedFrameCount(), c.frames) << c.name;
    EXPECT_EQ(m_Sounds, c.sounds) << c.name;
    EXPECT_EQ(Identities(), c.takesOver ? std::vector<const cMessageWindow*>{} : before) << c.name;
    EXPECT_EQ(g_MessageSurfaces.size(), c.takesOver ? 0u : 1u) << c.name;
  }
}

TEST_F(MessageCommandTest, GameWaitHoldsTheGameForItsTenths) {
  DoMessage(Hero(), Message("stay", {.endMode = kMessageUntilStageEnd}), 0);
  const std::vector<const cMessageWindow*> before = Identities();
  for (std::int32_t tenths : {0, 1, 10}) {
    ResetHeadless();
    cFlowCommand wait;
    wait.m_CommandSet = kCharaCommandSet;
    wait.m_CommandNumber = kCharaGameWait;
    wait.m_Params.assign(1, tenths);
    const std::int32_t frameCount = m_Scene->m_FrameCount;
    RunAsGame([&] { DoGameWait(Hero(), wait); });
    EXPECT_EQ(PresentedFrameCount(), static_cast<std::uint32_t>(tenths * 6));
    EXPECT_EQ(m_Scene->m_FrameCount, frameCount);
    EXPECT_EQ(Identities(), before) << "the timer taken out, nothing else";
  }
  EXPECT_TRUE(m_Sounds.empty());
}

}  // namespace
