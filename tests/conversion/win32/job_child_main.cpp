// A conversion job in a process of its own: job_child INPUT OUTPUT. Reads
// one-letter commands from standard input and answers each with the job's
// report, its length first:
//   s  start the conversion        t  one timer tick
//   f  tick to the end at once     r  start, then tick to the end with a
//                                     pause between ticks, as the timer does
// It ends when its standard input closes, closing its files as it goes.
#include <fcntl.h>
#include <io.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

#include "conversion/conversion_job.h"
#include "tests/support/job_driver.h"
#include "tests/support/recording_window.h"

namespace {

using namespace identstrip;

std::string Report(const ConversionJob& job, testing::RecordingWindow& window) {
  std::string report = job.State() == JobState::Idle ? "idle" : "busy";
  for (const std::string& message : window.TakeMessages()) report += "\n" + message;
  return report;
}

void RunPaced(ConversionJob& job) {
  job.StartConversion();
  for (int ticks = 0; job.State() != JobState::Idle && ticks < 10000; ++ticks) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    job.HandleTick();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string input = argv[1], output = argv[2];
  testing::RecordingWindow window;
  ConversionJob job(SystemFileSystem(), input, output, window);
  for (int command; (command = std::getchar()) != EOF;) {
    if (command == 's') job.StartConversion();
    if (command == 't') job.HandleTick();
    if (command == 'f') testing::TickToTheEnd(job, 100000);
    if (command == 'r') RunPaced(job);
    const std::string report = Report(job, window);
    const auto size = static_cast<std::uint32_t>(report.size());
    std::fwrite(&size, sizeof size, 1, stdout);
    std::fwrite(report.data(), 1, size, stdout);
    std::fflush(stdout);
  }
  return 0;
}
