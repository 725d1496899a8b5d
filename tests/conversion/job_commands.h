#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "conversion/conversion_job.h"
#include "tests/support/job_driver.h"
#include "tests/support/recording_window.h"

namespace identstrip::testing {

// The job's state ("idle" or "busy") and the messages it showed since the last
// report, one a line.
inline std::string JobReport(const ConversionJob& job, RecordingWindow& window) {
  std::string report = job.State() == JobState::Idle ? "idle" : "busy";
  for (const std::string& message : window.TakeMessages()) report += "\n" + message;
  return report;
}

// Carries out one command on the job and returns its report:
//   s  start the conversion        t  one timer tick
//   f  tick to the end at once     r  start, then tick to the end with a
//                                     pause between ticks, as the timer does
inline std::string RunJobCommand(ConversionJob& job, RecordingWindow& window, char command) {
  if (command == 's' || command == 'r') job.StartConversion();
  if (command == 't') job.HandleTick();
  if (command == 'f') TickToTheEnd(job, 100000);
  for (int ticks = 0; command == 'r' && job.State() != JobState::Idle && ticks < 10000; ++ticks) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    job.HandleTick();
  }
  return JobReport(job, window);
}

}  // namespace identstrip::testing
