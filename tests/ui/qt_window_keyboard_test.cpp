// The window's keyboard and mouse: focus order, Enter, Space, Esc and the
// other ways of asking the window to close.
#include <QLabel>
#include <QWindow>

#include "qt_window_fixture.h"

namespace identstrip::ui {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

using KeyboardTest = MainWindowTest;

TEST_F(KeyboardTest, TabFollowsTheControlNumbersAndWraps) {
  OpenActive();
  ASSERT_EQ(Focused(), OLDFILENAME);
  std::vector<int> forward;
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    forward.push_back(Focused());
  }
  EXPECT_THAT(forward, ElementsAre(LOOKUPFILE, NEWFILENAME, LOOKUPFILE_2, BUTTON_START,
                                   BUTTON_CANCEL, OLDFILENAME));
  std::vector<int> backward;
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    backward.push_back(Focused());
  }
  EXPECT_THAT(backward, ElementsAre(BUTTON_CANCEL, BUTTON_START, LOOKUPFILE_2, NEWFILENAME,
                                    LOOKUPFILE, OLDFILENAME));
}

TEST_F(KeyboardTest, TabCyclesAmongTheControlsTheRunningLookLeavesEnabled) {
  OpenActive();
  ShowRunningLook();
  EXPECT_EQ(Focused(), NEWFILENAME) << "the disabled entry handed the focus on";
  std::vector<int> visited;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(Focused());
  }
  EXPECT_THAT(visited, ElementsAre(LOOKUPFILE_2, BUTTON_CANCEL, NEWFILENAME, LOOKUPFILE_2));
}

TEST_F(KeyboardTest, TabPassesOverHiddenControls) {
  OpenActive();
  window_->SetVisible(LOOKUPFILE, false);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), NEWFILENAME);
}

TEST_F(KeyboardTest, PromptHandsTheFocusToTheNextControlThatCanTakeIt) {
  OpenActive();
  window_->Focus(BUTTON_CANCEL);
  window_->Focus(PROMPT1);
  EXPECT_EQ(Focused(), OLDFILENAME);
  window_->SetEnabled(OLDFILENAME, false);
  window_->SetEnabled(LOOKUPFILE, false);
  window_->Focus(BUTTON_CANCEL);
  window_->Focus(PROMPT1);
  EXPECT_EQ(Focused(), NEWFILENAME) << "passed over the disabled entry and chooser";
}

TEST_F(KeyboardTest, LabelsNeverTakeTheFocus) {
  OpenActive();
  for (int label : {STRING2, STRING1}) {
    window_->Focus(label);
    EXPECT_EQ(Focused(), OLDFILENAME) << label;
  }
  QTest::mouseClick(Widget(STRING2), Qt::LeftButton);
  EXPECT_EQ(Focused(), OLDFILENAME);
  for (int label : {PROMPT1, STRING2, STRING1}) {
    EXPECT_EQ(Widget(label)->focusPolicy(), Qt::NoFocus) << label;
  }
}

TEST_F(KeyboardTest, FocusOnADisabledOrHiddenControlIsRefused) {
  OpenActive();
  window_->SetEnabled(NEWFILENAME, false);
  window_->Focus(NEWFILENAME);
  EXPECT_EQ(Focused(), OLDFILENAME);
  window_->Focus(PROGRESS_THERMOMETER);
  EXPECT_EQ(Focused(), OLDFILENAME);
}

TEST_F(KeyboardTest, EnterInEitherEntryPressesConvertFileAndKeepsTheFocus) {
  OpenActive();
  for (int entry : {OLDFILENAME, NEWFILENAME}) {
    window_->Focus(entry);
    Events();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      QTest::keyClick(Entry(entry), key);
      EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, BUTTON_START))) << entry;
      EXPECT_EQ(Focused(), entry);
    }
  }
}

TEST_F(KeyboardTest, EnterPressesNothingWhileConvertFileIsDisabled) {
  OpenActive();
  ShowRunningLook();
  Events();
  QTest::keyClick(Entry(NEWFILENAME), Qt::Key_Return);
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(KeyboardTest, SpaceOrEnterPressesTheFocusedButton) {
  OpenActive();
  for (int button : {LOOKUPFILE, LOOKUPFILE_2, BUTTON_START}) {
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
      window_->Focus(button);
      Events();
      QTest::keyClick(Widget(button), key);
      EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, button)))
          << button << " " << key;
    }
  }
}

TEST_F(KeyboardTest, MouseClickPressesAButton) {
  OpenActive();
  for (int button : {LOOKUPFILE, LOOKUPFILE_2, BUTTON_START}) {
    QTest::mouseClick(Widget(button), Qt::LeftButton);
    EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, button))) << button;
    EXPECT_EQ(Focused(), button);
  }
}

// Every way of asking the window to close makes the one close request, and
// none closes the window by itself.
class CloseRequestTest : public MainWindowTest, public testing::WithParamInterface<const char*> {
 protected:
  void Ask(const std::string& how) {
    if (how == "Esc in an entry") {
      QTest::keyClick(Entry(OLDFILENAME), Qt::Key_Escape);
    } else if (how == "Esc on a button") {
      window_->Focus(BUTTON_START);
      QTest::keyClick(Widget(BUTTON_START), Qt::Key_Escape);
    } else if (how == "Alt+F4") {
      QTest::keyClick(Entry(OLDFILENAME), Qt::Key_F4, Qt::AltModifier);
    } else if (how == "Cancel/Exit clicked") {
      QTest::mouseClick(Widget(BUTTON_CANCEL), Qt::LeftButton);
    } else if (how == "Space on Cancel/Exit") {
      window_->Focus(BUTTON_CANCEL);
      QTest::keyClick(Widget(BUTTON_CANCEL), Qt::Key_Space);
    } else if (how == "close box") {
      qt_->TopLevel()->windowHandle()->close();  // as the window manager's close
    }
  }
};

TEST_P(CloseRequestTest, MakesOneCloseRequestAndNoPressedEvent) {
  OpenActive();
  Ask(GetParam());
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::CloseRequest)));
  EXPECT_TRUE(qt_->TopLevel()->isVisible()) << "the window closed by itself";
}

INSTANTIATE_TEST_SUITE_P(EveryWay, CloseRequestTest,
                         testing::Values("Esc in an entry", "Esc on a button", "Alt+F4",
                                         "Cancel/Exit clicked", "Space on Cancel/Exit",
                                         "close box"));

TEST_F(KeyboardTest, HeldEscMakesOneRequest) {
  OpenActive();
  QTest::keyPress(Entry(OLDFILENAME), Qt::Key_Escape);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(Entry(OLDFILENAME), &repeat);
  QTest::keyRelease(Entry(OLDFILENAME), Qt::Key_Escape);
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::CloseRequest)));
}

TEST_F(KeyboardTest, CloseClosesTheWindowAndEndsItsEvents) {
  OpenActive();
  window_->SetTimerPeriod(1);
  window_->Close();
  EXPECT_FALSE(qt_->TopLevel()->isVisible());
  EXPECT_EQ(window_->NextEvent().kind, EventKind::CloseRequest);
}

}  // namespace
}  // namespace identstrip::ui
