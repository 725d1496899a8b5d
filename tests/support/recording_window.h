#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion/job_window.h"

namespace identstrip::testing {

using Requests = std::vector<std::string>;

// Serves the job's requests by writing each down as a line of text
// ("running look", "timer 1", "progress 33", "message <caption>: <text>").
class RecordingWindow final : public JobWindow {
 public:
  explicit RecordingWindow(const std::uint8_t* shown_percent = nullptr) : shown_(shown_percent) {}
  void Watch(const std::uint8_t& shown_percent) { shown_ = &shown_percent; }

  void ShowMessage(std::string_view text, std::string_view caption) override {
    requests_.push_back("message " + std::string(caption) + ": " + std::string(text));
  }
  void ShowRunningLook() override { requests_.push_back("running look"); }
  void ShowIdleLook() override { requests_.push_back("idle look"); }
  void SetTimerPeriod(int hundredths) override {
    if (!quiet_timer_) requests_.push_back("timer " + std::to_string(hundredths));
    timer_ = hundredths;
  }
  void RedisplayProgress() override {
    requests_.push_back("progress " + std::to_string(shown_ ? *shown_ : -1));
  }

  // The requests since the last call.
  Requests Take() { return std::exchange(requests_, {}); }
  // Only the messages since the last call; the other requests are dropped.
  Requests TakeMessages() {
    Requests messages;
    for (std::string& request : Take()) {
      if (request.rfind("message ", 0) == 0) messages.push_back(std::move(request));
    }
    return messages;
  }
  // Stops writing down timer requests, which long runs make by the million.
  void QuietTimer() { quiet_timer_ = true; }
  int TimerPeriod() const { return timer_; }

 private:
  const std::uint8_t* shown_;
  Requests requests_;
  bool quiet_timer_ = false;
  int timer_ = 0;
};

}  // namespace identstrip::testing
