// The window's notifications: opening, sizing, activation, the coalescing
// timer and private events.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "qt_window_fixture.h"

namespace identstrip::ui {
namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;

using EventsTest = MainWindowTest;

// Runs Qt's event loop for a while, as a modal dialog or a long slice would
// keep the program away from NextEvent.
void RunEventLoopFor(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

int TimerEvents(const std::vector<Event>& events) {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [](const Event& event) {
    return event.kind == EventKind::Timer;
  }));
}

TEST_F(EventsTest, OpeningReportsOpenedThenSizedThenTheGainedFocus) {
  window_->Open();
  window_->SetTimerPeriod(0);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::Opened);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::Sized);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::FocusGained);
  EXPECT_TRUE(qt_->TopLevel()->isActiveWindow());
  RunEventLoopFor(50);
  EXPECT_THAT(qt_->TakeQueuedEvents(), IsEmpty()) << "sized only once at opening";
}

TEST_F(EventsTest, RestoringAfterMinimisingIsSizedAndMinimisingIsNot) {
  OpenActive();
  qt_->TopLevel()->showMinimized();
  RunEventLoopFor(30);
  EXPECT_THAT(qt_->TakeQueuedEvents(), Not(Contains(IsEvent(EventKind::Sized))));
  qt_->TopLevel()->showNormal();
  RunEventLoopFor(30);
  const std::vector<Event> events = qt_->TakeQueuedEvents();
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const Event& event) { return event.kind == EventKind::Sized; }),
            1);
}

TEST_F(EventsTest, BecomingTheActiveWindowAgainGainsTheFocus) {
  OpenActive();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_THAT(Events(), IsEmpty());
  qt_->TopLevel()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(qt_->TopLevel()));
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::FocusGained)));
  EXPECT_EQ(Focused(), OLDFILENAME) << "the focus came back where it was";
}

TEST_F(EventsTest, TheTimerRunsFromCreationUntilStopped) {
  RunEventLoopFor(40);
  EXPECT_EQ(TimerEvents(qt_->TakeQueuedEvents()), 1);
  window_->SetTimerPeriod(0);
  RunEventLoopFor(40);
  EXPECT_THAT(qt_->TakeQueuedEvents(), IsEmpty());
}

TEST_F(EventsTest, StoppingTheTimerDropsATickNotYetHandedOut) {
  RunEventLoopFor(30);
  window_->Post(7);
  window_->SetTimerPeriod(0);
  const std::vector<Event> events = qt_->TakeQueuedEvents();
  EXPECT_EQ(TimerEvents(events), 0);
  EXPECT_THAT(events, Contains(IsEvent(EventKind::Private)));
}

TEST_F(EventsTest, TicksCoalesceWhileTheProgramIsAway) {
  OpenActive();
  window_->SetTimerPeriod(1);
  RunEventLoopFor(200);  // twenty periods
  EXPECT_EQ(TimerEvents(qt_->TakeQueuedEvents()), 1);
  RunEventLoopFor(50);
  EXPECT_EQ(TimerEvents(qt_->TakeQueuedEvents()), 1) << "the next tick after the one handed out";
}

TEST_F(EventsTest, APeriodOfOneIsTenMillisecondsCountedFromTheRequest) {
  OpenActive();
  for (int period : {1, 3}) {
    QElapsedTimer clock;
    clock.start();
    window_->SetTimerPeriod(period);
    EXPECT_EQ(window_->NextEvent().kind, EventKind::Timer);
    EXPECT_GE(clock.elapsed(), period * 10);
    EXPECT_LT(clock.elapsed(), period * 10 + 500);
  }
  // A stream of ticks pulled one at a time keeps roughly its pace.
  QElapsedTimer clock;
  clock.start();
  window_->SetTimerPeriod(1);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(window_->NextEvent().kind, EventKind::Timer);
  EXPECT_GE(clock.elapsed(), 100);
  window_->SetTimerPeriod(0);
}

TEST_F(EventsTest, PrivateEventsArriveInOrderWithTheirNumbers) {
  OpenActive();
  window_->Post(1023);
  window_->Post(5);
  const Event first = window_->NextEvent();
  const Event second = window_->NextEvent();
  EXPECT_EQ(first.kind, EventKind::Private);
  EXPECT_EQ(first.private_number, 1023);
  EXPECT_EQ(first.control, 0);
  EXPECT_EQ(second.private_number, 5);
}

}  // namespace
}  // namespace identstrip::ui
