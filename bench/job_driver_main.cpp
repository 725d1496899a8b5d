// Drives the conversion core on real files, without the window's timer, and
// prints what it measured as "key value" lines for the benchmark runner.
//
//   identstrip_bench_job count FILE       the counting pass: Rewind, SkipNext to the end
//   identstrip_bench_job read FILE        the reading pass: Rewind, ReadNext to the end
//   identstrip_bench_job convert IN OUT   StartConversion, then HandleTick until Idle
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/quiet_window.h"
#include "conversion/conversion_job.h"
#include "conversion/line_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

int Count(const std::string& path, bool fill_records) {
  using namespace identstrip;
  LineFile file(SystemFileSystem(), path);
  if (file.Open(MODE_READ_WRITE_DENY_WRITE) != SUCCESS) {
    std::fprintf(stderr, "%s: open failed with %d\n", path.c_str(), LastError());
    return 1;
  }
  long long lines = 0;
  file.Rewind();
  if (fill_records) {
    while (file.ReadNext() == SUCCESS) ++lines;
  } else {
    while (file.SkipNext() == SUCCESS) ++lines;
  }
  file.Close();
  std::printf("lines %lld\n", lines);
  return 0;
}

int Convert(const std::string& input, const std::string& output) {
  using namespace identstrip;
  bench::QuietWindow window;
  ConversionJob job(SystemFileSystem(), input, output, window);

  const auto started = Clock::now();
  job.StartConversion();
  const auto counted = Clock::now();
  if (job.State() != JobState::Running) return 1;

  // Every tick but the last runs a slice; the last closes and commits.
  long long slices = 0;
  double longest_slice = 0;
  Clock::duration last_tick{};
  while (job.State() != JobState::Idle) {
    const auto before = Clock::now();
    job.HandleTick();
    last_tick = Clock::now() - before;
    if (job.State() != JobState::Idle) {
      ++slices;
      longest_slice = std::max(longest_slice, Microseconds(last_tick));
    }
  }
  const auto finished = Clock::now();

  std::printf("lines %lld\n", static_cast<long long>(job.TotalLines()));
  std::printf("start_us %.0f\n", Microseconds(counted - started));
  std::printf("slices %lld\n", slices);
  std::printf("longest_slice_us %.1f\n", longest_slice);
  std::printf("finish_us %.0f\n", Microseconds(last_tick));
  std::printf("total_us %.0f\n", Microseconds(finished - started));
  return window.Messages() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "count") == 0) return Count(argv[2], false);
  if (argc == 3 && std::strcmp(argv[1], "read") == 0) return Count(argv[2], true);
  if (argc == 4 && std::strcmp(argv[1], "convert") == 0) return Convert(argv[2], argv[3]);
  std::fprintf(stderr, "usage: %s count FILE | read FILE | convert IN OUT\n", argv[0]);
  return 2;
}
