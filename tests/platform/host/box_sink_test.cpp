#include "platform/host/box_sink.h"

#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "tests/support/game_folder.h"

namespace {

using BoxSinkTest = GameFolderTest;

TEST_F(BoxSinkTest, HeadlessBoxesAnswerWithTheFirstButtonAndAreTraced) {
  ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
  struct Case {
    std::uint32_t type;
    int answer;
  };
  const Case cases[] = {{MB_OK | MB_ICONERROR, IDOK}, {MB_OKCANCEL, IDOK}, {MB_YESNO, IDYES},
                        {MB_YESNOCANCEL, IDYES},      {MB_RETRYCANCEL, IDRETRY}};
  for (const Case& c : cases) EXPECT_EQ(ShowBox(SJ("既に起動しています"), SJ("二重起動"), c.type), c.answer);
  CloseTrace();

  std::string trace = ReadHostFile("trace.txt");
  EXPECT_EQ(trace.find("box 二重起動: 既に起動しています -> 1\n"), 0u);
  EXPECT_NE(trace.find("-> 6\n"), std::string::npos);
}

TEST_F(BoxSinkTest, ASinkTakesEveryBoxUntilRemoved) {
  int shown = 0;
  SetBoxSink([&](const std::string&, const std::string&, std::uint32_t) { return ++shown, IDNO; });
  EXPECT_EQ(ShowBox("a", "b", MB_YESNO), IDNO);
  EXPECT_EQ(shown, 1);
}

}  // namespace
