#pragma once

#include <deque>

#include "ui/toolkit/toolkit.h"

namespace identstrip::ui {

// The events a backend has taken from its platform and not yet handed out, in
// the order they happened. Timer ticks coalesce: while one is waiting, later
// ones add nothing.
class EventQueue {
 public:
  void Push(EventKind kind, int control = 0, int private_number = 0) {
    events_.push_back({kind, control, private_number});
  }

  // A pressed button: a Close-role button makes the window's close request
  // instead of a pressed event.
  void PushPressed(const ControlDefinition& button) {
    if (button.role == ButtonRole::Close) {
      Push(EventKind::CloseRequest);
    } else {
      Push(EventKind::Pressed, button.number);
    }
  }

  void PushTimer() {
    if (timer_waiting_) return;
    timer_waiting_ = true;
    Push(EventKind::Timer);
  }

  // A tick that fell due before the timer was set anew is not handed out.
  void DropTimer() {
    if (!timer_waiting_) return;
    timer_waiting_ = false;
    std::erase_if(events_, [](const Event& event) { return event.kind == EventKind::Timer; });
  }

  bool Empty() const { return events_.empty(); }

  Event Pop() {
    const Event event = events_.front();
    events_.pop_front();
    if (event.kind == EventKind::Timer) timer_waiting_ = false;
    return event;
  }

  void Clear() {
    events_.clear();
    timer_waiting_ = false;
  }

 private:
  std::deque<Event> events_;
  bool timer_waiting_ = false;
};

}  // namespace identstrip::ui
