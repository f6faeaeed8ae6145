// Modal dialogs without a window: the bound controls, the edit's limits as keys and typed text
// change it, the keyboard hook's copies, mouse clicks, and the answers of headless runs.
#include "platform/ui/dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/host/input_devices.h"
#include "platform/host/text_codec.h"
#include "platform/ui/dialog_draw.h"
#include "platform/ui/dialog_loop.h"

namespace {

constexpr std::int32_t kEdit = 10;
constexpr std::int32_t kCheck = 11;
constexpr std::int32_t kRadioA = 12;
constexpr std::int32_t kRadioB = 13;
constexpr std::int32_t kOk = 1;

constexpr DialogItemTemplate kItems[] = {
    {kEdit, DialogItemKind::Edit, "", 10, 10, 60, 14},
    {kCheck, DialogItemKind::CheckBox, "check", 10, 30, 60, 10},
    {kRadioA, DialogItemKind::RadioButton, "A", 10, 45, 30, 10, true},
    {kRadioB, DialogItemKind::RadioButton, "B", 50, 45, 30, 10},
    {kOk, DialogItemKind::DefPushButton, "OK", 10, 60, 50, 14, true},
};
constexpr DialogTemplate kTemplate{500, 120, 80, true, kItems};

// A dialog with one edit, a check box and a pair of radio buttons, each bound; it notes every
// message its procedure receives and how often the edit lost the focus.
class cTestDialog : public cDialog {
 public:
  struct cLeaveEdit : cEditCtrl {
    int leaves = 0;
    void OnLeave() override { ++leaves; }
  };

  cTestDialog() {
    Setup(kTemplate, nullptr, 0, nullptr);
    m_Name = "test";
  }
  void OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    m_EditCtrl.Init(this, m_Desc);
    m_CheckCtrl.Attach(this, kCheck);
    m_CheckCtrl.m_Value = &m_Checked;
    m_RadioA.Attach(this, kRadioA);
    m_RadioA.m_Value = &m_Choice;
    m_RadioA.m_Selected = 1;
    m_RadioB.Attach(this, kRadioB);
    m_RadioB.m_Value = &m_Choice;
    m_RadioB.m_Selected = 2;
    m_Controls = {&m_EditCtrl, &m_CheckCtrl, &m_RadioA, &m_RadioB};
    ValuesToControls();
    Window()->SetFocusItem(kEdit);
  }
  std::intptr_t WndProc(HWND hWnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    m_Messages.push_back({message, wParam});
    return cDialog::WndProc(hWnd, message, wParam, lParam);
  }
  void OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override {
    cDialog::OnCommand(wParam, lParam);
    const std::uint32_t id = LOWORD(wParam);
    if (id == kOk && HIWORD(wParam) == BN_CLICKED) {
      ControlsToValues();
      End(1);
    } else if (id == IDCANCEL) {
      End(0);
    }
  }
  int Count(std::uint32_t message, std::uintptr_t wParam) const {
    int n = 0;
    for (const auto& [m, w] : m_Messages) n += m == message && w == wParam;
    return n;
  }

  ControlDesc m_Desc;
  std::string m_Text;
  std::int32_t m_Checked = 0;
  std::int32_t m_Choice = 1;
  cLeaveEdit m_EditCtrl;
  cCheckCtrl m_CheckCtrl;
  cRadioCtrl m_RadioA;
  cRadioCtrl m_RadioB;
  std::vector<std::pair<std::uint32_t, std::uintptr_t>> m_Messages;
};

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetDialogAnswerer({});
    SetKeyboardHookFault(false);
    SetBoxSink({});
  }
  // Runs the dialog: the test's actions happen once it is up and active, then the answer is given.
  std::intptr_t Run(cTestDialog& dialog, std::function<void(cDialogWindow&)> actions, std::string answer = "close") {
    SetDialogAnswerer([actions, answer](const std::string&) {
      if (actions && ActiveDialogWindow()) actions(*ActiveDialogWindow());
      return answer;
    });
    return dialog.DoModal(0);
  }
};

void Type(cDialogWindow& w, const char* utf8) { DeliverDialogText(w, utf8); }
void Press(cDialogWindow& w, int vk) {
  DeliverDialogKey(w, vk, true);
  DeliverDialogKey(w, vk, false);
}

struct sEditCase {
  const char* name;
  std::int32_t bufferSize, maxChars, maxLines, countChars;
  const char* initial;  // UTF-8
  std::function<void(cDialogWindow&)> actions;
  const char* text;  // UTF-8, with \r\n between lines
  std::int32_t caret;
};

TEST_F(DialogTest, TheEditKeepsItsLimitsAsItIsTyped) {
  const std::vector<sEditCase> cases = {
      {"three bytes take three letters", 4, 3, 1, 0, "", [](cDialogWindow& w) { Type(w, "ABC"); }, "ABC", 3},
      {"a fourth byte is refused", 4, 3, 1, 0, "", [](cDialogWindow& w) { Type(w, "ABCD"); }, "ABC", 3},
      {"a double-byte character that would not fit whole is refused whole", 4, 3, 1, 0, "",
       [](cDialogWindow& w) { Type(w, "ABア"); }, "AB", 2},
      {"one letter and one double-byte character fill three bytes", 4, 3, 1, 0, "",
       [](cDialogWindow& w) { Type(w, "Aア"); }, "Aア", 3},
      {"a character the game cannot write is refused", 4, 3, 1, 0, "",
       [](cDialogWindow& w) { Type(w, "A😀B"); }, "AB", 2},
      {"counted as characters, three double-byte characters fit", 4, 3, 1, 1, "",
       [](cDialogWindow& w) { Type(w, "アイウエ"); }, "アイウ", 6},
      {"two lines of four: a fifth letter moves to the next line", 16, 4, 2, 0, "",
       [](cDialogWindow& w) { Type(w, "ABCDE"); }, "ABCD\r\nE", 7},
      {"a value too long for the field is cut as it is set", 4, 3, 1, 0, "ABCDEF", [](cDialogWindow&) {}, "ABC", 0},
      {"typing replaces the selection", 4, 3, 1, 0, "XYZ",
       [](cDialogWindow& w) {
         w.SetSel(kEdit, 0, -1);
         Type(w, "AB");
       },
       "AB", 2},
      {"Backspace takes a whole double-byte character", 4, 3, 1, 0, "Aア",
       [](cDialogWindow& w) {
         Press(w, 0x23 /* End */);
         Press(w, VK_BACK);
       },
       "A", 1},
  };
  for (const sEditCase& c : cases) {
    cTestDialog dialog;
    dialog.m_Desc = {kEdit, &dialog.m_Text, c.bufferSize, c.maxChars, c.maxLines, c.countChars};
    dialog.m_Text = SJ(c.initial);
    std::string shown;
    std::int32_t caret = -1;
    Run(dialog, [&](cDialogWindow& w) {
      c.actions(w);
      shown = w.ItemText(kEdit);
      w.GetSel(kEdit, nullptr, &caret);
    });
    EXPECT_EQ(Cp932ToUtf8(shown), Cp932ToUtf8(SJ(c.text))) << c.name;
    EXPECT_EQ(caret, c.caret) << c.name;
  }
}

TEST_F(DialogTest, BackspaceAtTheStartOfASecondLineKeepsTheBreakWhenTheFirstIsFull) {
  cTestDialog dialog;
  dialog.m_Desc = {kEdit, &dialog.m_Text, 16, 4, 2, 0};
  std::string shown;
  Run(dialog, [&](cDialogWindow& w) {
    Type(w, "ABCDE");
    w.SetSel(kEdit, 6, 6);
    Press(w, VK_BACK);
    shown = w.ItemText(kEdit);
  });
  EXPECT_EQ(shown, "ABCD\r\nE");
}

TEST_F(DialogTest, OkStoresTheControlsAndCloseKeepsTheValues) {
  {
    cTestDialog dialog;
    dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
    dialog.m_Text = "old";
    EXPECT_EQ(Run(dialog, {}, "type:new,click:11,click:13"), 1);
    EXPECT_EQ(dialog.m_Text, "newold") << "typed where the caret stood, at the start";
    EXPECT_EQ(dialog.m_Checked, 1);
    EXPECT_EQ(dialog.m_Choice, 2);
  }
  {
    cTestDialog dialog;
    dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
    dialog.m_Text = "old";
    EXPECT_EQ(Run(dialog, {}, "type:X,click:11,close"), 0);
    EXPECT_EQ(dialog.m_Text, "old");
    EXPECT_EQ(dialog.m_Checked, 0);
  }
}

TEST_F(DialogTest, AnUncheckedRadioButtonLeavesItsIntAlone) {
  cTestDialog dialog;
  dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
  dialog.m_Choice = 7;  // neither button's value
  Run(dialog, [&](cDialogWindow& w) {
    EXPECT_EQ(w.Check(kRadioA), 0);
    EXPECT_EQ(w.Check(kRadioB), 0);
    dialog.ControlsToValues();
  });
  EXPECT_EQ(dialog.m_Choice, 7);
}

TEST_F(DialogTest, LosingTheFocusCallsOnLeaveAndNotTheLimits) {
  cTestDialog dialog;
  dialog.m_Desc = {kEdit, &dialog.m_Text, 4, 3, 1, 0};
  Run(dialog, [&](cDialogWindow& w) {
    Type(w, "AB");
    Press(w, VK_TAB);
    EXPECT_EQ(w.Focus(), kCheck);
  });
  EXPECT_EQ(dialog.m_EditCtrl.leaves, 1);
}

TEST_F(DialogTest, TheHookCopiesKeysToTheDialogAsTheyGoOnToTheirItems) {
  cTestDialog dialog;
  dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
  dialog.m_Text = "ABC";
  std::int32_t caret = -1;
  Run(dialog, [&](cDialogWindow& w) {
    w.SetSel(kEdit, 0, 0);
    Press(w, VK_RIGHT);
    w.GetSel(kEdit, nullptr, &caret);
    Press(w, VK_DOWN);
    Press(w, VK_TAB);
    Press(w, 'Q');
    // Enter while the input method composes is the input method's.
    w.SetComposition("か");
    DeliverDialogKey(w, VK_RETURN, true);
  });
  EXPECT_EQ(caret, 1) << "the edit moved its caret";
  EXPECT_EQ(dialog.Count(WM_DIALOG_NAVKEY, VK_RIGHT), 1);
  EXPECT_EQ(dialog.Count(WM_KEYDOWN, VK_RIGHT), 1) << "turned into a key message of the dialog";
  EXPECT_EQ(dialog.Count(WM_VSCROLL, 1), 1) << "the down arrow scrolls a line down";
  EXPECT_EQ(dialog.Count(WM_KEYDOWN, VK_TAB), 0);
  EXPECT_EQ(dialog.Count(WM_KEYDOWN, 'Q'), 1);
  EXPECT_EQ(dialog.Count(WM_KEYUP, 'Q'), 1);
  EXPECT_EQ(dialog.Count(WM_KEYDOWN, VK_RETURN), 0);
  EXPECT_TRUE(KeyboardHookInstalled());

  // Outside a dialog the hook copies nothing.
  EXPECT_EQ(ActiveDialogWindow(), nullptr);
  EXPECT_EQ(cHook::HookProc(HC_ACTION, VK_RIGHT, 0), 0);
}

TEST_F(DialogTest, AHookThatCannotBeInstalledIsReportedAndTheDialogRunsOn) {
  UnhookKeyboard();
  SetKeyboardHookFault(true);
  std::vector<std::string> boxes;
  SetBoxSink([&](const std::string& text, const std::string&, std::uint32_t) {
    boxes.push_back(text);
    return IDOK;
  });
  cTestDialog dialog;
  dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
  EXPECT_EQ(Run(dialog, {}, "type:ok"), 1);
  EXPECT_EQ(dialog.m_Text, "ok");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], SJ("KeyboardHookに失敗!"));
  EXPECT_FALSE(KeyboardHookInstalled());
}

TEST_F(DialogTest, MouseClicksPressButtonsAndTickBoxes) {
  cTestDialog dialog;
  dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
  const std::intptr_t result = Run(
      dialog,
      [&](cDialogWindow& w) {
        auto centre = [&](std::int32_t id) {
          const sDialogItem* item = w.Item(id);
          const ScreenRect c = w.ClientRect();
          return std::pair{c.x + item->rect.x + item->rect.w / 2, c.y + item->rect.y + item->rect.h / 2};
        };
        auto [cx, cy] = centre(kCheck);
        w.MouseDown(cx, cy, 1, 1);
        w.MouseUp(cx, cy, 1);
        // Let go elsewhere: no click.
        auto [bx, by] = centre(kRadioB);
        w.MouseDown(bx, by, 1, 1);
        w.MouseUp(0, 0, 1);
        EXPECT_EQ(w.Check(kRadioB), 0);
        auto [ox, oy] = centre(kOk);
        w.MouseDown(ox, oy, 1, 1);
        w.MouseUp(ox, oy, 1);
      },
      "");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(dialog.m_Checked, 1);
  EXPECT_EQ(dialog.m_Choice, 1);
}

TEST_F(DialogTest, ADialogRunsOnceAtATimeAndWithoutWindowOrAnswerEndsAtOnce) {
  cTestDialog dialog;
  dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
  std::intptr_t inner = -1;
  Run(dialog, [&](cDialogWindow&) { inner = dialog.DoModal(0); });
  EXPECT_EQ(inner, 0) << "refused while it runs";
  SetDialogAnswerer({});
  EXPECT_EQ(dialog.DoModal(0), 0);
  EXPECT_EQ(dialog.Window(), nullptr);
}

TEST_F(DialogTest, TheDialogIsDrawnOverTheFrame) {
  cTestDialog dialog;
  dialog.m_Desc.Set(kEdit, &dialog.m_Text, 8, 0);
  dialog.m_Text = "ABC";
  std::vector<std::uint32_t> frame(640 * 480, 0xFF102030u);
  ScreenRect outer;
  Run(dialog, [&](cDialogWindow& w) {
    DrawDialogWindow(w, {frame.data(), 640, 480, 640});
    outer = w.OuterRect();
  });
  EXPECT_EQ(outer.w, 120 * 3 / 2 + 6);
  EXPECT_EQ(frame[0], 0xFF102030u) << "outside the dialog the frame stays";
  const std::size_t face = static_cast<std::size_t>(outer.y + outer.h - 4) * 640 + static_cast<std::size_t>(outer.x + 4);
  EXPECT_EQ(frame[face], 0xFFD4D0C8u);
  const std::size_t caption = static_cast<std::size_t>(outer.y + 5) * 640 + static_cast<std::size_t>(outer.x + outer.w - 8);
  EXPECT_EQ(frame[caption], 0xFF0A246Au);
}

}  // namespace
