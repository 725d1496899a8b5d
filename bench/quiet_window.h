#pragma once

#include <cstdio>
#include <string_view>

#include "conversion/job_window.h"

namespace identstrip::bench {

// A window that shows nothing: the job runs as fast as its ticks are called.
// A message means the conversion went wrong; it goes to standard error.
class QuietWindow final : public JobWindow {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    ++messages_;
  }
  void ShowRunningLook() override {}
  void ShowIdleLook() override {}
  void SetTimerPeriod(int) override {}
  void RedisplayProgress() override {}

  int Messages() const { return messages_; }

 private:
  int messages_ = 0;
};

}  // namespace identstrip::bench
