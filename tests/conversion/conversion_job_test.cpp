// The conversion job driven tick by tick without a window: what it asks of
// the window, in which order, and what it writes.
#include "conversion/conversion_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "conversion/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFileSystem;
using testing::ReadBytes;
using testing::RecordingWindow;
using testing::Requests;
using testing::TempDir;
using testing::WriteBytes;

std::string Lines(int count, const std::string& prefix = "line ") {
  std::string text;
  for (int i = 0; i < count; ++i) text += prefix + std::to_string(i) + "\r\n";
  return text;
}

class ConversionJobTest : public ::testing::Test {
 protected:
  ConversionJobTest() : job_(faulty_, input_name_, output_name_, window_) {
    window_.Watch(job_.ShownPercent());
  }

  std::string In() const { return dir_.File("in.txa"); }
  std::string Out() const { return dir_.File("out.txa"); }
  void Name(const std::string& input, const std::string& output) {
    input_name_ = input;
    output_name_ = output;
  }

  // Ticks until the job is idle again; returns how many ticks that took.
  int RunToTheEnd() {
    int ticks = 0;
    while (job_.State() != JobState::Idle && ticks < 100000) {
      job_.HandleTick();
      ++ticks;
    }
    return ticks;
  }

  TempDir dir_;
  FaultyFileSystem faulty_{SystemFileSystem()};
  std::string input_name_, output_name_;
  RecordingWindow window_;
  ConversionJob job_;
};

TEST_F(ConversionJobTest, OneConversionFromStartToFinish) {
  WriteBytes(In(), "!!> IDENT(1),PRE(A)\r\n!!> IDENT(2)\r\n\tx = 1  \r\n");
  Name(In(), Out());

  job_.StartConversion();
  EXPECT_EQ(job_.State(), JobState::Running);
  EXPECT_EQ(job_.TotalLines(), 3);
  EXPECT_EQ(window_.Take(), (Requests{"running look", "timer 1"}));

  job_.HandleTick();
  EXPECT_EQ(job_.State(), JobState::Finished);
  EXPECT_EQ(window_.Take(),
            (Requests{"timer 0", "progress 33", "progress 66", "progress 100", "timer 1"}));
  EXPECT_EQ(job_.LinesDone(), 3) << "the dropped IDENT line counts too";

  job_.HandleTick();
  EXPECT_EQ(job_.State(), JobState::Idle);
  EXPECT_EQ(window_.Take(), (Requests{"timer 0", "idle look"}));
  EXPECT_EQ(ReadBytes(Out()), "!!> PRE(A)\r\n        x = 1\r\n");
  EXPECT_EQ(input_name_, In()) << "the job never changes the names";

  job_.HandleTick();
  EXPECT_EQ(window_.Take(), Requests{}) << "a tick while idle changes nothing";
}

TEST_F(ConversionJobTest, OneLineGoesStraightTo100) {
  WriteBytes(In(), "only\r\n");
  Name(In(), Out());
  job_.StartConversion();
  window_.Take();
  job_.HandleTick();
  EXPECT_EQ(window_.Take(), (Requests{"timer 0", "progress 100", "timer 1"}));
}

TEST_F(ConversionJobTest, AnEmptyInputGivesAnEmptyOutput) {
  WriteBytes(In(), "");
  WriteBytes(Out(), "stale\r\n");
  Name(In(), Out());
  job_.StartConversion();
  EXPECT_EQ(job_.TotalLines(), 0);
  EXPECT_EQ(window_.Take(), (Requests{"running look", "timer 1"}));
  job_.HandleTick();
  EXPECT_EQ(job_.State(), JobState::Finished);
  EXPECT_EQ(window_.Take(), (Requests{"timer 0", "timer 1"})) << "the bar stays at 0";
  job_.HandleTick();
  EXPECT_EQ(window_.Take(), (Requests{"timer 0", "idle look"}));
  EXPECT_EQ(ReadBytes(Out()), "");
}

// Each tick reads at most 100 lines, the failing read counted; the finish
// comes on the tick after the input ended.
TEST_F(ConversionJobTest, TicksTakenBySize) {
  const struct {
    int lines;
    int ticks;
  } cases[] = {{0, 2}, {1, 2}, {99, 2}, {100, 3}, {101, 3}, {199, 3}, {200, 4}, {250, 4}};
  for (const auto& c : cases) {
    WriteBytes(In(), Lines(c.lines));
    Name(In(), Out());
    job_.StartConversion();
    ASSERT_EQ(job_.State(), JobState::Running);
    EXPECT_EQ(RunToTheEnd(), c.ticks) << c.lines << " lines";
    EXPECT_EQ(ReadBytes(Out()), Lines(c.lines));
  }
}

TEST_F(ConversionJobTest, TheBarMovesOnlyOnWholePercents) {
  WriteBytes(In(), Lines(1234));
  Name(In(), Out());
  job_.StartConversion();
  window_.Take();
  RunToTheEnd();
  int last = 0, redisplays = 0;
  for (const std::string& request : window_.Take()) {
    if (request.rfind("progress ", 0) != 0) continue;
    const int percent = std::stoi(request.substr(9));
    EXPECT_GT(percent, last);
    last = percent;
    ++redisplays;
  }
  EXPECT_EQ(last, 100);
  EXPECT_EQ(redisplays, 100);
}

TEST(ProgressPercent, RoundsDownWithoutOverflow) {
  constexpr std::int64_t kMax = 2147483647;
  const struct {
    std::int64_t done, total;
    int percent;
  } cases[] = {
      {0, 0, 0},         {5, 0, 0},           {1, 3, 33},     {2, 3, 66},   {3, 3, 100},
      {1, 1, 100},       {4, 3, 100},         {199, 200, 99}, {1, kMax, 0}, {kMax - 1, kMax, 99},
      {kMax, kMax, 100}, {kMax / 2, kMax, 49}};
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressPercent(c.done, c.total), c.percent) << c.done << "/" << c.total;
  }
}

TEST_F(ConversionJobTest, FailedStartsShowTheirMessageAndStayIdle) {
  WriteBytes(In(), "text\r\n");
  const std::string read_only = dir_.File("read-only.txa");
  WriteBytes(read_only, "text\r\n");
  fs::permissions(read_only, fs::perms::owner_read);
  const std::string missing_folder = dir_.File("nowhere/x.txa");
  const std::string generic = "message Convert file: An unexpected Error: ";

  const struct {
    std::string input, output, message;
  } cases[] = {
      {dir_.File("missing.txa"), Out(), "message Convert file: File not found!"},
      {missing_folder, Out(), generic + "3 occured,|opening: " + missing_folder + "!"},
      {read_only, Out(), generic + "5 occured,|opening: " + read_only + "!"},
      {In(), missing_folder, generic + "3 occured,|opening: " + missing_folder + "!"},
      {In(), In(), generic + "5 occured,|opening: " + In() + "!"},
      {In(), read_only, generic + "5 occured,|opening: " + read_only + "!"},
  };
  for (const auto& c : cases) {
    Name(c.input, c.output);
    job_.StartConversion();
    EXPECT_EQ(job_.State(), JobState::Idle);
    EXPECT_EQ(window_.Take(), Requests{c.message}) << c.input << " -> " << c.output;
  }
  EXPECT_FALSE(fs::exists(Out())) << "a failed input open touches no output";
  EXPECT_EQ(ReadBytes(In()), "text\r\n") << "converting onto itself leaves the file";
  EXPECT_EQ(ReadBytes(read_only), "text\r\n")
      << "a read-only output is neither emptied nor removed";

  // Nothing is left open: the next start behaves like a first one.
  Name(In(), Out());
  job_.StartConversion();
  EXPECT_EQ(job_.State(), JobState::Running);
  RunToTheEnd();
  EXPECT_EQ(ReadBytes(Out()), "text\r\n");
}

TEST_F(ConversionJobTest, AFailedCreateKeepsAStaleOutputAsItWas) {
  WriteBytes(In(), "new\r\n");
  WriteBytes(Out(), "stale\r\n");
  faulty_.FaultsFor(Out()).create = ERR_ACCESS_DENIED;
  Name(In(), Out());
  job_.StartConversion();
  EXPECT_EQ(job_.State(), JobState::Idle);
  EXPECT_EQ(
      window_.Take(),
      Requests{"message Convert file: An unexpected Error: 5 occured,|opening: " + Out() + "!"});
  EXPECT_EQ(ReadBytes(Out()), "stale\r\n");
  const std::string input_path = In();
  LineFile input(SystemFileSystem(), input_path);
  EXPECT_EQ(input.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS) << "the input was closed";
}

TEST_F(ConversionJobTest, AFailedOutputOpenRemovesTheCreatedFile) {
  WriteBytes(In(), "new\r\n");
  faulty_.FaultsFor(Out()).open = 24;
  Name(In(), Out());
  job_.StartConversion();
  EXPECT_EQ(job_.State(), JobState::Idle);
  EXPECT_EQ(
      window_.Take(),
      Requests{"message Convert file: An unexpected Error: 24 occured,|opening: " + Out() + "!"});
  EXPECT_FALSE(fs::exists(Out()));
  const std::string input_path = In();
  LineFile input(SystemFileSystem(), input_path);
  EXPECT_EQ(input.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS) << "the input was closed";
}

TEST_F(ConversionJobTest, ANewOutputNameDuringTheRunDoesNotAffectIt) {
  WriteBytes(In(), Lines(250));
  Name(In(), Out());
  job_.StartConversion();
  job_.HandleTick();
  output_name_ = dir_.File("other.txa");
  RunToTheEnd();
  EXPECT_EQ(ReadBytes(Out()), Lines(250));
  EXPECT_FALSE(fs::exists(dir_.File("other.txa")));
}

TEST_F(ConversionJobTest, AnAbandonedJobLeavesWholeSlices) {
  WriteBytes(In(), Lines(1000));
  Name(In(), Out());
  {
    ConversionJob job(SystemFileSystem(), input_name_, output_name_, window_);
    job.StartConversion();
    for (int tick = 0; tick < 3; ++tick) job.HandleTick();
  }
  EXPECT_EQ(ReadBytes(Out()), Lines(300));
}

// Lost lines are never reported as a finished conversion.
TEST_F(ConversionJobTest, WriteFailuresAreReportedWhenTheJobFinishes) {
  const std::string writing =
      "message Convert file: An unexpected Error: 5 occured,|writing: " + Out() + "!";
  const struct {
    const char* what;
    FileOffset write_limit;
    ResultCode commit;
  } cases[] = {
      {"disk full during the run", 15000, SUCCESS},
      {"disk full at the last flush", 20800, SUCCESS},
      {"commit fails", testing::FileFaults{}.write_limit, 5},
  };
  for (const auto& c : cases) {
    WriteBytes(In(), Lines(2000));  // 20890 bytes, flushed at about 10000 and 20000
    auto& faults = faulty_.FaultsFor(Out());
    faults.write_limit = c.write_limit;
    faults.commit = c.commit;
    Name(In(), Out());
    job_.StartConversion();
    window_.Take();
    RunToTheEnd();
    Requests requests = window_.Take();
    ASSERT_GE(requests.size(), 2u) << c.what;
    EXPECT_EQ(requests[requests.size() - 2], writing) << c.what;
    EXPECT_EQ(requests.back(), "idle look") << c.what;
    EXPECT_EQ(job_.LinesDone(), 2000) << c.what << ": the conversion goes on to the end";
    const std::string written = ReadBytes(Out());
    EXPECT_EQ(written, Lines(2000).substr(0, written.size())) << c.what << ": no gaps, no garbage";
    faults = {};
  }
}

TEST_F(ConversionJobTest, AReadErrorIsReportedWhenTheJobFinishes) {
  WriteBytes(In(), Lines(5000));
  faulty_.FaultsFor(In()).read_limit = 30000;
  faulty_.FaultsFor(In()).read_error = 121;
  Name(In(), Out());
  job_.StartConversion();
  ASSERT_EQ(job_.State(), JobState::Running);
  window_.Take();
  RunToTheEnd();
  const Requests requests = window_.Take();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[requests.size() - 2],
            "message Convert file: An unexpected Error: 121 occured,|reading: " + In() + "!");
  const std::string written = ReadBytes(Out());
  EXPECT_EQ(written, Lines(5000).substr(0, written.size()));
}

}  // namespace
}  // namespace identstrip

namespace identstrip {
namespace {

// Notes how many lines were done at every redisplay of the bar.
class ProgressLog final : public JobWindow {
 public:
  void ShowMessage(std::string_view, std::string_view) override {}
  void ShowRunningLook() override {}
  void ShowIdleLook() override {}
  void SetTimerPeriod(int) override {}
  void RedisplayProgress() override { shown.emplace_back(job->LinesDone(), job->ShownPercent()); }
  const ConversionJob* job = nullptr;
  std::vector<std::pair<std::int64_t, int>> shown;
};

TEST(ConversionJobProgress, RedisplaysAtTheLineThatReachesEachPercent) {
  TempDir dir;
  const std::string in = dir.File("in.txa"), out = dir.File("out.txa");
  for (const int total : {1, 2, 3, 7, 99, 100, 101, 150, 299, 1234}) {
    WriteBytes(in, Lines(total));
    ProgressLog window;
    ConversionJob job(SystemFileSystem(), in, out, window);
    window.job = &job;
    job.StartConversion();
    while (job.State() != JobState::Idle) job.HandleTick();

    std::vector<std::pair<std::int64_t, int>> expected;
    int last = 0;
    for (std::int64_t done = 1; done <= total; ++done) {
      const int percent = static_cast<int>(100 * done / total);
      if (percent != last) expected.emplace_back(done, percent);
      last = percent;
    }
    EXPECT_EQ(window.shown, expected) << total << " lines";
  }
}

}  // namespace
}  // namespace identstrip
