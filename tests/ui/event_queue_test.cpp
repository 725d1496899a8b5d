// The backends' event queue: order kept, ticks coalesced and dropped, buttons
// pressed as their role says.
#include "ui/toolkit/event_queue.h"

#include <gtest/gtest.h>

#include <vector>

namespace identstrip::ui {
namespace {

std::vector<EventKind> Drain(EventQueue& queue) {
  std::vector<EventKind> kinds;
  while (!queue.Empty()) kinds.push_back(queue.Pop().kind);
  return kinds;
}

TEST(EventQueue, KeepsTheOrderAndOneWaitingTick) {
  EventQueue queue;
  queue.Push(EventKind::Opened);
  queue.PushTimer();
  queue.Push(EventKind::Pressed, 3);
  queue.PushTimer();
  EXPECT_EQ(queue.Pop().kind, EventKind::Opened);
  EXPECT_EQ(queue.Pop().kind, EventKind::Timer);
  queue.PushTimer();  // the earlier tick was handed out: this one counts
  const Event pressed = queue.Pop();
  EXPECT_EQ(pressed.kind, EventKind::Pressed);
  EXPECT_EQ(pressed.control, 3);
  EXPECT_EQ(Drain(queue), std::vector<EventKind>{EventKind::Timer});
}

TEST(EventQueue, DropsAWaitingTickAndClearsEverything) {
  EventQueue queue;
  queue.PushTimer();
  queue.Push(EventKind::Private, 0, 7);
  queue.DropTimer();
  const Event posted = queue.Pop();
  EXPECT_EQ(posted.kind, EventKind::Private);
  EXPECT_EQ(posted.private_number, 7);
  queue.PushTimer();
  EXPECT_EQ(Drain(queue), std::vector<EventKind>{EventKind::Timer})
      << "a dropped tick waits no more";

  queue.PushTimer();
  queue.Push(EventKind::Sized);
  queue.Clear();
  EXPECT_TRUE(queue.Empty());
  queue.PushTimer();
  EXPECT_EQ(Drain(queue), std::vector<EventKind>{EventKind::Timer});
}

TEST(EventQueue, APressedCloseButtonIsACloseRequest) {
  const ControlDefinition convert{.number = 6,
                                  .name = "button",
                                  .kind = ControlKind::Button,
                                  .text = "",
                                  .left = 0,
                                  .top = 0,
                                  .width = 0,
                                  .height = 0,
                                  .role = ButtonRole::Default};
  ControlDefinition cancel = convert;
  cancel.number = 7;
  cancel.role = ButtonRole::Close;
  EventQueue queue;
  queue.PushPressed(convert);
  queue.PushPressed(cancel);
  const Event pressed = queue.Pop();
  EXPECT_EQ(pressed.kind, EventKind::Pressed);
  EXPECT_EQ(pressed.control, 6);
  EXPECT_EQ(queue.Pop().kind, EventKind::CloseRequest);
  EXPECT_TRUE(queue.Empty());
}

}  // namespace
}  // namespace identstrip::ui
