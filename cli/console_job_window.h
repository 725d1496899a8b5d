#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "conversion/job_window.h"

namespace identstrip::cli {

// Serves the conversion job's requests on a console: each message goes to
// `errors` as "identstrip-cli: FILE: TEXT", the caption left out and every "|"
// starting a new line. The looks have nothing to show, and the timer is not
// needed: the caller ticks the job itself, as fast as it can.
class ConsoleJobWindow final : public JobWindow {
 public:
  ConsoleJobWindow(std::FILE* errors, std::string file_shown);

  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowRunningLook() override {}
  void ShowIdleLook() override {}
  void SetTimerPeriod(int) override {}
  void RedisplayProgress() override {}

  // Every message reports a file that was not converted, or not completely.
  int MessagesShown() const { return messages_shown_; }

 private:
  std::FILE* errors_;
  std::string file_shown_;
  int messages_shown_ = 0;
};

// Writes "identstrip-cli: FILE: TEXT" and a newline, each "|" of TEXT as a newline.
void PrintFileMessage(std::FILE* errors, std::string_view file_shown, std::string_view text);

}  // namespace identstrip::cli
