// The file dialogs through their answering seam: cancels, where a typed name lands, multiple
// choices, names that do not fit, the save dialog's proposal and extension, and the palette entry
// that 8-bit DirectDraw mode blacks out while a dialog is open.
#include "platform/ui/file_dialogs.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/host/box_sink.h"
#include "platform/host/trace.h"
#include "tests/support/game_folder.h"

namespace {

// Open: "StageFile (...)" with its pattern, as the stage dialog gives it.
const char kStageFilter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";

class FileDialogTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
  }
  void TearDown() override {
    SetFileDialogAnswerer({});
    CloseTrace();
    g_lpDDPalette.reset();
    g_lpDD.reset();
    g_DisplayContext.reset();
    g_DisplayParams.bpp = 0;
    GameFolderTest::TearDown();
  }

  // Every dialog answered with answer; the requests are kept.
  void Answer(std::optional<std::string> answer) {
    SetFileDialogAnswerer([this, answer](const FileDialogRequest& request) {
      m_Requests.push_back(request);
      return answer;
    });
  }

  std::int32_t Open(std::span<char> buffer, std::int32_t multi = 0, std::vector<std::string>* names = nullptr) {
    return OpenFileDialog(nullptr, buffer, "data\\stg4\\", "pick", kStageFilter, "stg4_*;rpl4_*", multi, names);
  }

  std::string TraceText() { return ReadHostFile("trace.txt"); }

  std::vector<FileDialogRequest> m_Requests;
};

TEST_F(FileDialogTest, WithoutAnAnswererEveryDialogIsCancelledAndTraced) {
  std::array<char, kFileDialogBufferSize> buffer{};
  std::strcpy(buffer.data(), "left over");
  std::vector<std::string> names = {"kept"};
  EXPECT_EQ(Open(buffer, 0, &names), 0);
  EXPECT_EQ(buffer[0], '\0');  // cleared before the dialog, whatever the outcome
  EXPECT_EQ(names, std::vector<std::string>{"kept"});
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "user_data\\rpl4\\", "save it", "", "rpl4_556", 0), 0);
  EXPECT_EQ(TraceText(), "dialog open pick: cancelled (no answer)\ndialog save save it: cancelled (no answer)\n");
}

TEST_F(FileDialogTest, TheRequestCarriesWhatTheCallerGave) {
  Answer(std::nullopt);
  std::array<char, kFileDialogBufferSize> buffer{};
  EXPECT_EQ(Open(buffer, 1), 0);
  ASSERT_EQ(m_Requests.size(), 1u);
  const FileDialogRequest& r = m_Requests[0];
  EXPECT_EQ(r.kind, FileDialogKind::kOpen);
  EXPECT_EQ(r.initialDir, "data\\stg4\\");
  EXPECT_EQ(r.title, "pick");
  ASSERT_EQ(r.filters.size(), 1u);
  EXPECT_EQ(r.filters[0].label, "StageFile ( *.stg4_*;*.rpl4_* )");
  EXPECT_EQ(r.filters[0].pattern, "*.stg4_*;*.rpl4_*");
  EXPECT_EQ(r.defaultExt, "stg4_*;rpl4_*");
  EXPECT_TRUE(r.multiSelect);
  EXPECT_TRUE(r.mustExist);
  EXPECT_EQ(TraceText(), "dialog open pick: cancelled\n");
}

TEST_F(FileDialogTest, FilterListsEndAtTheEmptyLabelAndDropALabelWithoutPattern) {
  const char two[] = "A\0*.a\0B\0*.b;*.c\0";
  const std::vector<FileDialogFilter> filters = ParseFileDialogFilter(two);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[1].label, "B");
  EXPECT_EQ(filters[1].pattern, "*.b;*.c");
  EXPECT_EQ(ParseFileDialogFilter("lonely\0").size(), 0u);
  EXPECT_EQ(ParseFileDialogFilter(nullptr).size(), 0u);
}

// A bare name is typed into the folder the dialog shows; a path stands as it is; a file that does
// not exist is not taken by the open dialog.
TEST_F(FileDialogTest, OpenPlacesAnswersAndTakesOnlyExistingFiles) {
  WriteHostFile("data/stg4/c1.stg4_556", "x");
  WriteHostFile("user_data/rpl4/r.rpl4_556", "x");
  struct Case {
    const char* answer;
    std::int32_t result;
    const char* path;
  };
  const Case cases[] = {
      {"c1.stg4_556", 1, "data\\stg4\\c1.stg4_556"},
      {"user_data\\rpl4\\r.rpl4_556", 1, "user_data\\rpl4\\r.rpl4_556"},
      {"missing.stg4_556", 0, ""},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Answer(std::string(c.answer));
    std::array<char, kFileDialogBufferSize> buffer{};
    std::vector<std::string> names;
    EXPECT_EQ(Open(buffer, 0, &names), c.result);
    EXPECT_STREQ(buffer.data(), c.path);
    if (c.result) {
      EXPECT_EQ(names, std::vector<std::string>{c.path});
    }
  }
  EXPECT_NE(TraceText().find("dialog open pick: failed (no such file) data\\stg4\\missing.stg4_556"),
            std::string::npos);
}

TEST_F(FileDialogTest, AMultipleChoiceGivesFolderAndNamesInTheirOrder) {
  WriteHostFile("user_data/rpl4/b", "x");
  WriteHostFile("user_data/rpl4/a", "x");
  const std::string answer("user_data\\rpl4\0b\0a", 18);
  Answer(answer);
  std::array<char, kFileDialogBufferSize> buffer{};
  std::vector<std::string> names;
  ASSERT_EQ(Open(buffer, 1, &names), 1);
  EXPECT_EQ(names, (std::vector<std::string>{"user_data\\rpl4\\b", "user_data\\rpl4\\a"}));
  EXPECT_EQ(std::string(buffer.data(), 20), answer + std::string(2, '\0'));

  // The same answer to a single-choice dialog takes the first part only, and that is a folder.
  std::vector<std::string> single = {"kept"};
  EXPECT_EQ(Open(buffer, 0, &single), 0);
  EXPECT_EQ(single, std::vector<std::string>{"kept"});
  // One missing name fails the whole choice.
  Answer(std::string("user_data\\rpl4\0a\0c", 18));
  EXPECT_EQ(Open(buffer, 1, &names), 0);
}

TEST_F(FileDialogTest, AChoiceThatDoesNotFitTheBufferFails) {
  WriteHostFile("data/stg4/abcdefgh", "x");
  Answer(std::string("abcdefgh"));
  std::array<char, 18> tight{};  // "data\stg4\abcdefgh" is 18 bytes without its NUL
  std::vector<std::string> names;
  EXPECT_EQ(Open(tight, 0, &names), 0);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(std::string(tight.data(), tight.size()), std::string(tight.size(), '\0'));
  std::array<char, 19> exact{};
  EXPECT_EQ(Open(exact, 0, &names), 1);
  EXPECT_STREQ(exact.data(), "data\\stg4\\abcdefgh");
}

TEST_F(FileDialogTest, SaveProposesTheKeptNameAndCompletesTheExtension) {
  struct Case {
    const char* answer;
    std::int32_t result;
    const char* path;
  };
  const Case cases[] = {
      {"mine", 1, "user_data\\rpl4\\mine.rpl4_556"},
      {"mine.bak", 1, "user_data\\rpl4\\mine.bak"},
      {"other\\x", 1, "other\\x.rpl4_556"},
      // "ソ" ends in a 5C byte that is no separator: the name stays in the dialog's folder.
      {"\x83\x5C.rpl4_556", 1, "user_data\\rpl4\\\x83\x5C.rpl4_556"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    m_Requests.clear();
    Answer(std::string(c.answer));
    char buffer[kFileDialogBufferSize] = "c1_01.rpl4_556";
    EXPECT_EQ(SaveFileDialog(nullptr, buffer, "user_data\\rpl4\\", "save it", "", "rpl4_556", 1), c.result);
    EXPECT_STREQ(buffer, c.path);
    ASSERT_EQ(m_Requests.size(), 1u);
    EXPECT_EQ(m_Requests[0].proposedName, "c1_01.rpl4_556");
    EXPECT_EQ(m_Requests[0].kind, FileDialogKind::kSave);
  }
  // Without keepName the proposal is gone; a wildcard default extension is never appended.
  Answer(std::string("plain"));
  m_Requests.clear();
  char buffer[kFileDialogBufferSize] = "dropped";
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "d\\", "t", "", "rpl4_*", 0), 1);
  EXPECT_EQ(m_Requests[0].proposedName, "");
  EXPECT_STREQ(buffer, "d\\plain");
}

TEST_F(FileDialogTest, SaveRefusesAPathLongerThanTheBuffer) {
  Answer(std::string(250, 'n'));
  char buffer[kFileDialogBufferSize] = {};
  // 15 bytes of folder + 250 + the extension: far beyond 259.
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "user_data\\rpl4\\", "t", "", "rpl4_556", 0), 0);
  EXPECT_NE(TraceText().find("failed (name too long)"), std::string::npos);
  // A full buffer without a NUL proposes at most 259 bytes.
  m_Requests.clear();
  Answer(std::nullopt);
  std::memset(buffer, 'q', sizeof buffer);
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "", "t", "", "", 1), 0);
  EXPECT_EQ(m_Requests[0].proposedName, std::string(259, 'q'));
}

// Replacing a file is confirmed under DirectDraw and not under Direct3D.
TEST_F(FileDialogTest, OverwriteIsConfirmedUnderBothRenderers) {
  Answer(std::nullopt);
  char buffer[kFileDialogBufferSize] = {};
  SaveFileDialog(nullptr, buffer, "", "t", "", "", 0);
  g_DisplayContext = std::make_unique<DisplayContext>();
  SaveFileDialog(nullptr, buffer, "", "t", "", "", 0);
  ASSERT_EQ(m_Requests.size(), 2u);
  EXPECT_TRUE(m_Requests[0].overwritePrompt);
  EXPECT_TRUE(m_Requests[1].overwritePrompt);
}

TEST_F(FileDialogTest, EightBitDirectDrawBlacksOutEntryZeroWhileTheDialogIsOpen) {
  g_DisplayParams.bpp = 8;
  g_lpDD = cDirectDraw::Create(8);
  std::array<PALETTEENTRY, 256> colours{};
  colours[0] = PALETTEENTRY{10, 20, 30, 0};
  colours[1] = PALETTEENTRY{1, 2, 3, 0};
  ASSERT_EQ(g_lpDD->CreatePalette(colours.data(), &g_lpDDPalette), DD_OK);
  g_FadePalette[0] = colours[0];

  std::vector<PALETTEENTRY> seen;
  SetFileDialogAnswerer([&](const FileDialogRequest&) -> std::optional<std::string> {
    PALETTEENTRY during[2];
    g_lpDDPalette->GetEntries(0, 2, during);
    seen.assign(during, during + 2);
    return std::nullopt;
  });
  std::array<char, kFileDialogBufferSize> buffer{};
  for (int kind = 0; kind < 2; ++kind) {
    SCOPED_TRACE(kind);
    seen.clear();
    if (kind == 0)
      EXPECT_EQ(Open(buffer), 0);
    else
      EXPECT_EQ(SaveFileDialog(nullptr, std::span<char, kFileDialogBufferSize>(buffer), "", "t", "", "", 0), 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], PALETTEENTRY{});
    EXPECT_EQ(seen[1], colours[1]);
    PALETTEENTRY after;
    g_lpDDPalette->GetEntries(0, 1, &after);
    EXPECT_EQ(after, colours[0]);
  }
  g_FadePalette[0] = PALETTEENTRY{};

  // Under Direct3D there is no palette to touch.
  g_DisplayContext = std::make_unique<DisplayContext>();
  EXPECT_EQ(Open(buffer), 0);
  EXPECT_EQ(seen[0], colours[0]);
}

}  // namespace

namespace {

class FileDialogAnswerTest : public FileDialogTest {};

TEST_F(FileDialogAnswerTest, AnAnswerOutsideTheGameFolderIsRefused) {
  WriteHostFile("data/stg4/x.stg4_1", "x");
  for (const char* outside : {"..\\..\\x.stg4_1", "/etc/passwd", "data\\..\\..\\x"}) {
    Answer(std::string(outside));
    std::array<char, kFileDialogBufferSize> buffer{};
    EXPECT_EQ(Open(buffer), 0) << outside;
    char save[kFileDialogBufferSize] = {};
    EXPECT_EQ(SaveFileDialog(nullptr, save, "user_data\\rpl4\\", "s", "", "rpl4_556", 0), 0) << outside;
  }
  EXPECT_NE(TraceText().find("failed (outside the game folder)"), std::string::npos);
}

TEST_F(FileDialogAnswerTest, SavingOverAFileAsksFirst) {
  WriteHostFile("user_data/rpl4/old.rpl4_556", "x");
  int answer = IDNO;
  int asked = 0;
  SetBoxSink([&](const std::string&, const std::string&, std::uint32_t) {
    ++asked;
    return answer;
  });
  Answer(std::string("old"));
  char buffer[kFileDialogBufferSize] = {};
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "user_data\\rpl4\\", "s", "", "rpl4_556", 0), 0);
  answer = IDYES;
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "user_data\\rpl4\\", "s", "", "rpl4_556", 0), 1);
  EXPECT_STREQ(buffer, "user_data\\rpl4\\old.rpl4_556");
  Answer(std::string("new"));
  EXPECT_EQ(SaveFileDialog(nullptr, buffer, "user_data\\rpl4\\", "s", "", "rpl4_556", 0), 1);
  EXPECT_EQ(asked, 2) << "a new name asks nothing";
  SetBoxSink({});
}

}  // namespace
