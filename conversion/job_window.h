#pragma once

#include <string_view>

namespace identstrip {

// What the conversion job asks of the window that shows it. The job makes no
// visible change of its own; tests serve these requests with a recording fake.
class JobWindow {
 public:
  virtual ~JobWindow() = default;

  // The stop-icon message box with one "OK" button; returns once it is closed.
  // A "|" in the text starts a new line.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
  // Input controls and "Convert File" disabled, progress label and bar shown,
  // every control redisplayed.
  virtual void ShowRunningLook() = 0;
  // Progress hidden, input controls enabled, both names cleared.
  virtual void ShowIdleLook() = 0;
  // 1 arms the timer to tick every hundredth of a second from now; 0 stops it.
  virtual void SetTimerPeriod(int hundredths) = 0;
  virtual void RedisplayProgress() = 0;
};

}  // namespace identstrip
