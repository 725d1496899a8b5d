// Bound values: a control shows its variable as of its last redisplay, and
// typed text reaches the variable before the button pressed after it acts.
#include <QProgressBar>

#include "qt_window_fixture.h"

namespace identstrip::ui {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

using BindingTest = MainWindowTest;

TEST_F(BindingTest, CreatedControlsShowTheirVariables) {
  input_name_ = "C:\\Apps\\Sales.TXD";
  output_name_ = "C:\\Apps\\SalesNI.TXD";
  shown_percent_ = 42;
  Create(MainWindowDefinition());
  EXPECT_EQ(Entry(OLDFILENAME)->text(), "C:\\Apps\\Sales.TXD");
  EXPECT_EQ(Entry(NEWFILENAME)->text(), "C:\\Apps\\SalesNI.TXD");
  EXPECT_EQ(qobject_cast<QProgressBar*>(Widget(PROGRESS_THERMOMETER))->value(), 42);
}

TEST_F(BindingTest, AControlShowsAChangedVariableOnlyWhenRedisplayed) {
  auto* bar = qobject_cast<QProgressBar*>(Widget(PROGRESS_THERMOMETER));
  input_name_ = "in.txd";
  output_name_ = "out.txd";
  shown_percent_ = 37;
  EXPECT_EQ(Entry(OLDFILENAME)->text(), "");
  EXPECT_EQ(bar->value(), 0);
  window_->Redisplay(NEWFILENAME);
  EXPECT_EQ(Entry(OLDFILENAME)->text(), "");
  EXPECT_EQ(Entry(NEWFILENAME)->text(), "out.txd");
  EXPECT_EQ(bar->value(), 0);
  window_->Redisplay(PROGRESS_THERMOMETER);
  EXPECT_EQ(bar->value(), 37);
  input_name_.clear();
  output_name_.clear();
  shown_percent_ = 100;
  window_->RedisplayAll();
  EXPECT_EQ(Entry(OLDFILENAME)->text(), "");
  EXPECT_EQ(Entry(NEWFILENAME)->text(), "");
  EXPECT_EQ(bar->value(), 100);
}

TEST_F(BindingTest, TypedTextReachesTheVariableWhenTheEntryLosesTheFocus) {
  OpenActive();
  QTest::keyClicks(Entry(OLDFILENAME), "typed.txd");
  EXPECT_EQ(input_name_, "") << "not before the entry is left";
  EXPECT_THAT(Events(), IsEmpty());
  QTest::keyClick(Entry(OLDFILENAME), Qt::Key_Tab);
  EXPECT_EQ(input_name_, "typed.txd");
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Accepted, OLDFILENAME)));
}

TEST_F(BindingTest, LeavingAnUnchangedEntryStoresNothing) {
  OpenActive();
  input_name_ = "kept";  // changed by the program, not redisplayed
  QTest::keyClick(Entry(OLDFILENAME), Qt::Key_Tab);
  EXPECT_EQ(input_name_, "kept");
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(BindingTest, TextReachesTheVariableBeforeTheClickedButtonsPressedEvent) {
  OpenActive();
  QTest::keyClicks(Entry(OLDFILENAME), "a.txd");
  window_->Focus(NEWFILENAME);
  QTest::keyClicks(Entry(NEWFILENAME), "b.txd");
  Events();
  QTest::mouseClick(Widget(BUTTON_START), Qt::LeftButton);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::Accepted);
  const Event pressed = window_->NextEvent();
  EXPECT_EQ(pressed.kind, EventKind::Pressed);
  EXPECT_EQ(pressed.control, BUTTON_START);
  EXPECT_EQ(input_name_, "a.txd");
  EXPECT_EQ(output_name_, "b.txd");
}

TEST_F(BindingTest, EnterStoresTheTextBeforePressingConvertFile) {
  OpenActive();
  QTest::keyClicks(Entry(OLDFILENAME), "c.txd");
  QTest::keyClick(Entry(OLDFILENAME), Qt::Key_Return);
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Accepted, OLDFILENAME),
                                    IsEvent(EventKind::Pressed, BUTTON_START)));
  EXPECT_EQ(input_name_, "c.txd");
  // Completed once: Enter again, or leaving, reports no further change.
  QTest::keyClick(Entry(OLDFILENAME), Qt::Key_Return);
  QTest::keyClick(Entry(OLDFILENAME), Qt::Key_Tab);
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::Pressed, BUTTON_START)));
}

TEST_F(BindingTest, ARedisplayDiscardsTextNotYetStored) {
  OpenActive();
  QTest::keyClicks(Entry(OLDFILENAME), "half typed");
  input_name_ = "";
  window_->Redisplay(OLDFILENAME);
  window_->Focus(NEWFILENAME);
  EXPECT_EQ(input_name_, "");
  EXPECT_EQ(Entry(OLDFILENAME)->text(), "");
  EXPECT_THAT(Events(), IsEmpty());
}

TEST_F(BindingTest, TextTypedOnceTheWindowIsGoneReachesNoVariable) {
  OpenActive();
  QTest::keyClicks(Entry(OLDFILENAME), "late");
  window_->Close();
  window_.reset();
  EXPECT_EQ(input_name_, "");
}

}  // namespace
}  // namespace identstrip::ui
