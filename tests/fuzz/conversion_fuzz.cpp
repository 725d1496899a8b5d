// Arbitrary bytes through the whole conversion job: the output must be the
// model's conversion of the input, byte for byte. The same input is then
// converted onto a disk that fills up and from a disk that fails to read,
// at a point the input picks: the job must then say so, and the output must
// still be the start of the right one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/line_model.h"
#include "tests/support/memory_file_system.h"

namespace identstrip {
namespace {

const std::string kInput = "/in.txa";
const std::string kOutput = "/out.txa";

class CheckingWindow final : public JobWindow {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override {
    FUZZ_CHECK(caption == MESSAGE_CAPTION);
    messages.emplace_back(text);
  }
  void ShowRunningLook() override { ++running_looks; }
  void ShowIdleLook() override { ++idle_looks; }
  void SetTimerPeriod(int hundredths) override { timer = hundredths; }
  void RedisplayProgress() override {
    // The bar only moves forward, one redisplay per whole percent at most.
    FUZZ_CHECK(*shown > last_shown && *shown <= 100);
    last_shown = *shown;
    ++redisplays;
  }

  std::vector<std::string> messages;
  int running_looks = 0, idle_looks = 0, timer = 0, redisplays = 0;
  std::uint8_t last_shown = 0;
  const std::uint8_t* shown = nullptr;
};

struct Outcome {
  std::string output;
  std::vector<std::string> messages;
  std::int64_t total_lines, lines_done;
  std::uint8_t shown_percent;
};

// Runs one conversion to its end; `faults` apply to the two files.
Outcome Convert(std::string_view bytes, std::size_t records, const testing::FileFaults& in_faults,
                const testing::FileFaults& out_faults) {
  testing::MemoryFileSystem memory;
  memory.Put(kInput, std::string(bytes));
  memory.Put(kOutput, "stale output\r\n");
  testing::FaultyFileSystem files(memory);
  files.FaultsFor(kInput) = in_faults;
  files.FaultsFor(kOutput) = out_faults;

  CheckingWindow window;
  ConversionJob job(files, kInput, kOutput, window);
  window.shown = &job.ShownPercent();

  job.StartConversion();
  FUZZ_CHECK(job.State() == JobState::Running);
  FUZZ_CHECK(window.running_looks == 1 && window.timer == 1);
  FUZZ_CHECK(static_cast<std::size_t>(job.TotalLines()) <= records);
  // Every tick reads up to LINES_PER_SLICE lines; the finish takes one more.
  const std::size_t most_ticks = records / LINES_PER_SLICE + 2;
  std::size_t ticks = 0;
  while (job.State() != JobState::Idle && ticks < most_ticks) {
    job.HandleTick();
    ++ticks;
  }
  FUZZ_CHECK(job.State() == JobState::Idle);
  FUZZ_CHECK(window.idle_looks == 1 && window.timer == 0);
  FUZZ_CHECK(files.OpenFiles() == 0);
  FUZZ_CHECK(memory.Contents(kInput) == bytes);
  return {memory.Contents(kOutput), window.messages, job.TotalLines(), job.LinesDone(),
          job.ShownPercent()};
}

std::uint64_t Hash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace
}  // namespace identstrip

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace identstrip;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t records = testing::ModelReadLines(bytes).size();
  const std::string expected = testing::ModelConvert(bytes);

  const Outcome clean = Convert(bytes, records, {}, {});
  FUZZ_CHECK(clean.messages.empty());
  FUZZ_CHECK(clean.output == expected);
  FUZZ_CHECK(clean.total_lines == static_cast<std::int64_t>(records));
  FUZZ_CHECK(clean.lines_done == clean.total_lines);
  FUZZ_CHECK(clean.shown_percent == (records > 0 ? 100 : 0));

  const std::uint64_t hash = Hash(bytes);
  if (!expected.empty()) {
    testing::FileFaults full;
    full.write_limit = hash % expected.size();
    full.write_error = (hash & 1) != 0 ? 28 : 122;  // ENOSPC, EDQUOT
    const Outcome outcome = Convert(bytes, records, {}, full);
    FUZZ_CHECK(outcome.messages == std::vector<std::string>{UnexpectedErrorText(
                                       ERR_ACCESS_DENIED, ACTION_WRITING, kOutput)});
    FUZZ_CHECK(outcome.output == expected.substr(0, full.write_limit));
  }
  if (!bytes.empty()) {
    testing::FileFaults broken;
    broken.read_limit = hash % bytes.size();
    broken.read_error = 5;  // EIO
    const Outcome outcome = Convert(bytes, records, broken, {});
    // Whatever the job read before the failure is written whole; a failure
    // it met is reported, and one it did not meet must have cost nothing.
    FUZZ_CHECK(StartsWith(expected, outcome.output));
    if (outcome.messages.empty()) {
      FUZZ_CHECK(outcome.output == expected);
    } else {
      FUZZ_CHECK(outcome.messages ==
                 std::vector<std::string>{UnexpectedErrorText(5, ACTION_READING, kInput)});
    }
  }
  return 0;
}
