// A conversion job in a process of its own: job_child INPUT OUTPUT. Reads
// one-letter commands (see job_commands.h) from standard input and answers
// each with the job's report, its length first. It ends when its standard
// input closes, closing its files as it goes.
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "conversion/conversion_job.h"
#include "tests/conversion/job_commands.h"
#include "tests/support/recording_window.h"

int main(int argc, char** argv) {
  using namespace identstrip;
  if (argc != 3) return 2;
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string input = argv[1], output = argv[2];
  testing::RecordingWindow window;
  ConversionJob job(SystemFileSystem(), input, output, window);
  for (int command; (command = std::getchar()) != EOF;) {
    const std::string report = testing::RunJobCommand(job, window, static_cast<char>(command));
    const auto size = static_cast<std::uint32_t>(report.size());
    std::fwrite(&size, sizeof size, 1, stdout);
    std::fwrite(report.data(), 1, size, stdout);
    std::fflush(stdout);
  }
  return 0;
}
