// The window's keyboard and mouse through the dialog manager: focus order,
// Enter, Space, Esc and the other ways of asking the window to close.
#include "tests/ui/win32/win32_window_fixture.h"

namespace identstrip::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using KeyboardTest = Win32WindowTest;

TEST_F(KeyboardTest, TabFollowsTheControlNumbersAndWraps) {
  OpenActive();
  ASSERT_EQ(Focused(), OLDFILENAME);
  EXPECT_THAT(FocusAfterEach({VK_TAB}, 6), ElementsAre(LOOKUPFILE, NEWFILENAME, LOOKUPFILE_2,
                                                       BUTTON_START, BUTTON_CANCEL, OLDFILENAME));
  EXPECT_THAT(
      FocusAfterEach({VK_SHIFT, VK_TAB}, 6),
      ElementsAre(BUTTON_CANCEL, BUTTON_START, LOOKUPFILE_2, NEWFILENAME, LOOKUPFILE, OLDFILENAME));
}

TEST_F(KeyboardTest, TabCyclesAmongTheControlsTheRunningLookLeavesEnabled) {
  OpenActive();
  ShowRunningLook();
  EXPECT_EQ(Focused(), NEWFILENAME) << "the disabled entry handed the focus on";
  EXPECT_EQ(GetFocus(), Control(NEWFILENAME));
  EXPECT_THAT(FocusAfterEach({VK_TAB}, 4),
              ElementsAre(LOOKUPFILE_2, BUTTON_CANCEL, NEWFILENAME, LOOKUPFILE_2));
}

TEST_F(KeyboardTest, PromptHandsTheFocusToTheNextControlThatCanTakeIt) {
  OpenActive();
  window_->Focus(BUTTON_CANCEL);
  window_->Focus(PROMPT1);
  EXPECT_EQ(GetFocus(), Control(OLDFILENAME));
  window_->SetEnabled(OLDFILENAME, false);
  window_->SetEnabled(LOOKUPFILE, false);
  window_->Focus(BUTTON_CANCEL);
  window_->Focus(PROMPT1);
  EXPECT_EQ(Focused(), NEWFILENAME) << "passed over the disabled entry and chooser";
}

TEST_F(KeyboardTest, LabelsAndHiddenOrDisabledControlsNeverTakeTheFocus) {
  OpenActive();
  for (int label : {STRING2, STRING1}) {
    window_->Focus(label);
    EXPECT_EQ(Focused(), OLDFILENAME) << label;
  }
  testing::ClickOn(Control(STRING2));
  Events();
  EXPECT_EQ(Focused(), OLDFILENAME);
  window_->SetEnabled(NEWFILENAME, false);
  window_->Focus(NEWFILENAME);
  window_->Focus(PROGRESS_THERMOMETER);
  EXPECT_EQ(Focused(), OLDFILENAME);
}

TEST_F(KeyboardTest, EnterInEitherEntryPressesConvertFileAndKeepsTheFocus) {
  OpenActive();
  for (int entry : {OLDFILENAME, NEWFILENAME}) {
    window_->Focus(entry);
    Events();
    testing::PressKey(VK_RETURN);
    EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, BUTTON_START))) << entry;
    EXPECT_EQ(Focused(), entry);
  }
}

TEST_F(KeyboardTest, EnterPressesNothingWhileConvertFileIsDisabled) {
  OpenActive();
  ShowRunningLook();
  Events();
  testing::PressKey(VK_RETURN);
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(KeyboardTest, SpaceOrEnterPressesTheFocusedButton) {
  OpenActive();
  for (int button : {LOOKUPFILE, LOOKUPFILE_2, BUTTON_START}) {
    for (WORD key : {VK_SPACE, VK_RETURN}) {
      window_->Focus(button);
      Events();
      testing::PressKey(key);
      EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, button)))
          << button << " key " << key;
    }
  }
}

TEST_F(KeyboardTest, MouseClickPressesAButtonAndGivesItTheFocus) {
  OpenActive();
  for (int button : {LOOKUPFILE, LOOKUPFILE_2, BUTTON_START}) {
    testing::ClickOn(Control(button));
    EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, button))) << button;
    EXPECT_EQ(Focused(), button);
  }
}

// Every way of asking the window to close makes the one close request, and
// none closes the window by itself.
class CloseRequestTest : public Win32WindowTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void Ask(const std::string& how) {
    if (how == "Esc in an entry") {
      testing::PressKey(VK_ESCAPE);
    } else if (how == "Esc on a button") {
      window_->Focus(BUTTON_START);
      testing::PressKey(VK_ESCAPE);
    } else if (how == "Alt+F4") {
      testing::PressKeys({VK_MENU, VK_F4});
    } else if (how == "Cancel/Exit clicked") {
      testing::ClickOn(Control(BUTTON_CANCEL));
    } else if (how == "Space on Cancel/Exit") {
      window_->Focus(BUTTON_CANCEL);
      testing::PressKey(VK_SPACE);
    } else if (how == "Enter on Cancel/Exit") {
      window_->Focus(BUTTON_CANCEL);
      testing::PressKey(VK_RETURN);
    } else if (how == "close box") {
      // The close box at the right of the title bar that the system draws.
      RECT frame{};
      GetWindowRect(Top(), &frame);
      const int border = GetSystemMetrics(SM_CXFIXEDFRAME);
      const int caption = GetSystemMetrics(SM_CYCAPTION);
      testing::ClickAt({frame.right - border - GetSystemMetrics(SM_CXSIZE) / 2,
                        frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + caption / 2});
    } else if (how == "Close on the system menu") {
      PostMessageA(Top(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }
};

TEST_P(CloseRequestTest, MakesOneCloseRequestAndNoPressedEvent) {
  OpenActive();
  Ask(GetParam());
  EXPECT_THAT(Events(100), ElementsAre(IsEvent(EventKind::CloseRequest)));
  EXPECT_TRUE(IsWindowVisible(Top())) << "the window closed by itself";
}

INSTANTIATE_TEST_SUITE_P(EveryWay, CloseRequestTest,
                         ::testing::Values("Esc in an entry", "Esc on a button", "Alt+F4",
                                           "Cancel/Exit clicked", "Space on Cancel/Exit",
                                           "Enter on Cancel/Exit", "close box",
                                           "Close on the system menu"));

TEST_F(KeyboardTest, HeldEscMakesOneRequest) {
  OpenActive();
  INPUT held[3] = {};
  for (INPUT& input : held) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
  }
  held[2].ki.dwFlags = KEYEVENTF_KEYUP;  // down, down again as the key repeats, up
  SendInput(3, held, sizeof(INPUT));
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::CloseRequest)));
}

TEST_F(KeyboardTest, CloseClosesTheWindowAndEndsItsEvents) {
  OpenActive();
  window_->SetTimerPeriod(1);
  const HWND top = Top();
  window_->Close();
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(window_->NextEvent().kind, EventKind::CloseRequest);
}

}  // namespace
}  // namespace identstrip::ui
