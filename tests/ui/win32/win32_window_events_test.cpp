// The window's notifications: opening, sizing, activation, the coalescing
// timer and private events.
#include "tests/ui/win32/win32_window_fixture.h"

namespace identstrip::ui {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

using EventsTest = Win32WindowTest;

int Count(const std::vector<Event>& events, EventKind kind) {
  return static_cast<int>(std::count_if(events.begin(), events.end(),
                                        [kind](const Event& event) { return event.kind == kind; }));
}

TEST_F(EventsTest, OpeningReportsOpenedThenSizedThenTheGainedFocus) {
  window_->Open();
  window_->SetTimerPeriod(0);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::Opened);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::Sized);
  EXPECT_EQ(window_->NextEvent().kind, EventKind::FocusGained);
  EXPECT_EQ(GetActiveWindow(), Top());
  EXPECT_THAT(Events(50), IsEmpty()) << "sized only once at opening";
}

TEST_F(EventsTest, RestoringAfterMinimisingIsSizedAndMinimisingIsNot) {
  OpenActive();
  ShowWindow(Top(), SW_MINIMIZE);
  EXPECT_THAT(Events(), Not(Contains(IsEvent(EventKind::Sized))));
  ShowWindow(Top(), SW_RESTORE);
  EXPECT_EQ(Count(Events(), EventKind::Sized), 1);
}

TEST_F(EventsTest, BecomingTheActiveWindowAgainGainsTheFocusWhereItWas) {
  OpenActive();
  window_->Focus(NEWFILENAME);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetActiveWindow(other);
  EXPECT_THAT(Events(), IsEmpty());
  EXPECT_EQ(Focused(), NEWFILENAME) << "kept while inactive";
  SetActiveWindow(Top());
  EXPECT_THAT(Events(), ElementsAre(IsEvent(EventKind::FocusGained)));
  EXPECT_EQ(GetFocus(), Control(NEWFILENAME)) << "the focus came back where it was";
  DestroyWindow(other);
}

TEST_F(EventsTest, TheTimerRunsFromCreationUntilStopped) {
  EXPECT_EQ(Count(Events(60), EventKind::Timer), 1);
  window_->SetTimerPeriod(0);
  EXPECT_THAT(Events(60), IsEmpty());
}

TEST_F(EventsTest, StoppingTheTimerDropsATickNotYetHandedOut) {
  RunMessagesFor(*win32_, 40);
  window_->Post(7);
  window_->SetTimerPeriod(0);
  const std::vector<Event> events = Events();
  EXPECT_EQ(Count(events, EventKind::Timer), 0);
  EXPECT_THAT(events, Contains(IsEvent(EventKind::Private)));
}

TEST_F(EventsTest, TicksCoalesceWhileTheProgramIsAway) {
  OpenActive();
  window_->SetTimerPeriod(1);
  EXPECT_EQ(Count(Events(200), EventKind::Timer), 1) << "twenty periods, one tick";
  EXPECT_EQ(Count(Events(60), EventKind::Timer), 1) << "the next tick after the one handed out";
  window_->SetTimerPeriod(0);
}

TEST_F(EventsTest, APeriodIsCountedInHundredthsFromTheRequest) {
  OpenActive();
  for (int period : {1, 5}) {
    const DWORD start = GetTickCount();
    window_->SetTimerPeriod(period);
    EXPECT_EQ(window_->NextEvent().kind, EventKind::Timer);
    const DWORD elapsed = GetTickCount() - start;
    // The system's tick count moves in steps of up to 16 ms.
    EXPECT_GE(elapsed + 16, static_cast<DWORD>(period * 10));
    EXPECT_LT(elapsed, static_cast<DWORD>(period * 10 + 500));
  }
  window_->SetTimerPeriod(0);
}

// Closes the message box of this thread with the caption "Convert file" once
// it is there, from a timer that runs inside the box's own message loop.
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  if (HWND box = FindWindowA(nullptr, "Convert file")) {
    KillTimer(nullptr, timer);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}

TEST_F(EventsTest, AModalDialogOwnedByTheWindowLeavesOneTickBehindIt) {
  OpenActive();
  window_->SetTimerPeriod(1);
  // Twenty periods or more pass before the box goes.
  Sleep(200);
  SetTimer(nullptr, 0, 200, CloseMessageBox);
  window_->RunStopMessageBox("File not found!", "Convert file");
  EXPECT_EQ(Count(win32_->TakeQueuedEvents(), EventKind::Timer), 1);
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
