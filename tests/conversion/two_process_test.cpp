// Two processes at once: while one converts, another that tries to write its
// output, or to remove or rewrite its input, is refused, and neither file is
// corrupted. The other process is a conversion job in a child process,
// driven one step at a time from the test.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "conversion/posix/posix_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::Requests;
using testing::TempDir;
using testing::WriteBytes;

// The job's state after a step, and the messages it showed, one a line.
std::string Report(const ConversionJob& job, testing::RecordingWindow& window) {
  std::string report = job.State() == JobState::Idle ? "idle" : "busy";
  for (const std::string& message : window.TakeMessages()) report += "\n" + message;
  return report;
}

// A conversion job in a child process. Each command (start, one tick, run to
// the end) is sent through a pipe and answered with the job's report.
class JobInChild {
 public:
  JobInChild(const std::string& input, const std::string& output) {
    int commands[2], answers[2];
    if (pipe(commands) != 0 || pipe(answers) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      close(commands[1]);
      close(answers[0]);
      Serve(input, output, commands[0], answers[1]);
      _exit(0);
    }
    close(commands[0]);
    close(answers[1]);
    commands_ = commands[1];
    answers_ = answers[0];
  }
  ~JobInChild() {
    close(commands_);
    close(answers_);
    waitpid(pid_, nullptr, 0);
  }

  std::string Start() { return Ask('s'); }
  std::string Tick() { return Ask('t'); }
  std::string Finish() { return Ask('f'); }

 private:
  static void Serve(const std::string& input, const std::string& output, int commands,
                    int answers) {
    testing::RecordingWindow window;
    ConversionJob job(SystemFileSystem(), input, output, window);
    char command;
    while (read(commands, &command, 1) == 1) {
      if (command == 's') job.StartConversion();
      if (command == 't') job.HandleTick();
      if (command == 'f') testing::TickToTheEnd(job, 100000);
      const std::string report = Report(job, window);
      const std::uint32_t size = static_cast<std::uint32_t>(report.size());
      if (write(answers, &size, sizeof size) != sizeof size) break;
      if (write(answers, report.data(), size) != static_cast<ssize_t>(size)) break;
    }
  }

  std::string Ask(char command) {
    std::uint32_t size = 0;
    if (write(commands_, &command, 1) != 1 || read(answers_, &size, sizeof size) != sizeof size) {
      return "no answer";
    }
    std::string report(size, '\0');
    std::size_t got = 0;
    while (got < size) {
      const ssize_t n = read(answers_, report.data() + got, size - got);
      if (n <= 0) return "no answer";
      got += static_cast<std::size_t>(n);
    }
    return report;
  }

  pid_t pid_;
  int commands_, answers_;
};

std::string Export(const std::string& tag, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += "!!> IDENT(" + std::to_string(i) + ")," + tag + "\r\n" + tag + "\t" +
            std::to_string(i) + "\r\n";
  }
  return text;
}

class TwoProcessTest : public ::testing::Test {
 protected:
  TwoProcessTest() {
    WriteBytes(in_a_, text_a_);
    WriteBytes(in_b_, text_b_);
  }

  // A conversion in this process, run to its end; returns its report.
  std::string ConvertHere(const std::string& input, const std::string& output) {
    testing::RecordingWindow window;
    ConversionJob job(SystemFileSystem(), input, output, window);
    job.StartConversion();
    testing::TickToTheEnd(job, 100000);
    return Report(job, window);
  }

  std::string OpeningFailure(const std::string& path) const {
    return "idle\nmessage Convert file: " +
           UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_OPENING, path);
  }

  TempDir dir_;
  const std::string in_a_ = dir_.File("a.txa"), in_b_ = dir_.File("b.txa");
  const std::string out_ = dir_.File("out.txa");
  const std::string text_a_ = Export("alpha", 2000), text_b_ = Export("beta", 1500);
};

TEST_F(TwoProcessTest, ASecondConversionOntoTheSameOutputIsRefused) {
  JobInChild first(in_a_, out_);
  ASSERT_EQ(first.Start(), "busy");
  ASSERT_EQ(first.Tick(), "busy");

  EXPECT_EQ(ConvertHere(in_b_, out_), OpeningFailure(out_));
  EXPECT_EQ(first.Finish(), "idle");
  EXPECT_EQ(ReadBytes(out_), testing::ModelConvert(text_a_)) << "the refused one wrote nothing";

  EXPECT_EQ(ConvertHere(in_b_, out_), "idle") << "once the first is done, the file is free";
  EXPECT_EQ(ReadBytes(out_), testing::ModelConvert(text_b_));
  EXPECT_EQ(ReadBytes(in_a_), text_a_);
  EXPECT_EQ(ReadBytes(in_b_), text_b_);
}

TEST_F(TwoProcessTest, TheInputOfARunningConversionCannotBeRemovedOrRewritten) {
  JobInChild converting(in_a_, out_);
  ASSERT_EQ(converting.Start(), "busy");
  ASSERT_EQ(converting.Tick(), "busy");

  LineFile other(SystemFileSystem(), in_a_);
  EXPECT_EQ(other.Remove(), ERR_ACCESS_DENIED);
  EXPECT_EQ(other.Create(), ERR_ACCESS_DENIED);
  EXPECT_EQ(other.Open(MODE_READ_WRITE_DENY_WRITE), ERR_ACCESS_DENIED);
  EXPECT_EQ(ConvertHere(in_b_, in_a_), OpeningFailure(in_a_)) << "converting onto it";
  const std::string out_b = dir_.File("out-b.txa");
  EXPECT_EQ(ConvertHere(in_a_, out_b), OpeningFailure(in_a_)) << "converting it as well";
  EXPECT_FALSE(fs::exists(out_b));
  EXPECT_EQ(ReadBytes(in_a_), text_a_) << "others may still read it";

  EXPECT_EQ(converting.Finish(), "idle");
  EXPECT_EQ(ReadBytes(in_a_), text_a_);
  EXPECT_EQ(ReadBytes(out_), testing::ModelConvert(text_a_));
  EXPECT_EQ(other.Remove(), SUCCESS) << "once the conversion is done, the input is free";
}

TEST_F(TwoProcessTest, TheOutputOfARunningConversionCannotBeRemovedOrRewritten) {
  JobInChild converting(in_a_, out_);
  ASSERT_EQ(converting.Start(), "busy");
  ASSERT_EQ(converting.Tick(), "busy");

  LineFile other(SystemFileSystem(), out_);
  EXPECT_EQ(other.Remove(), ERR_ACCESS_DENIED);
  EXPECT_EQ(other.Create(), ERR_ACCESS_DENIED);
  EXPECT_EQ(other.Open(MODE_READ_WRITE_DENY_WRITE), ERR_ACCESS_DENIED);

  EXPECT_EQ(converting.Finish(), "idle");
  EXPECT_EQ(ReadBytes(out_), testing::ModelConvert(text_a_));
}

// A program that ignores the locks may still cut the input short under a
// running conversion. The lines it took away are missing from the output, so
// the conversion must not end as if it had read the whole input.
TEST_F(TwoProcessTest, AnInputCutShortUnderARunningConversionIsReported) {
  // Several read buffers long, so that the cut lies beyond what was read ahead.
  const std::string text = Export("long", 20000);
  ASSERT_GT(text.size(), 2 * READ_BUFFER_SIZE);
  WriteBytes(in_a_, text);
  JobInChild converting(in_a_, out_);
  ASSERT_EQ(converting.Start(), "busy");
  ASSERT_EQ(converting.Tick(), "busy");
  fs::resize_file(in_a_, text.size() / 2);

  EXPECT_EQ(converting.Finish(), "idle\nmessage Convert file: " +
                                     UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_READING, in_a_));
  const std::string expected = testing::ModelConvert(text);
  const std::string written = ReadBytes(out_);
  EXPECT_LT(written.size(), expected.size());
  EXPECT_TRUE(written == expected.substr(0, written.size())) << "what was written is wrong";
}

// Two conversions onto one output started at the same moment, again and
// again: whoever comes second is refused, and the output is always the whole
// conversion of one input, never a mixture. The jobs pause between ticks as
// the window's timer makes them do.
TEST_F(TwoProcessTest, RacingConversionsOntoOneOutputNeverMix) {
  const std::string expected_a = testing::ModelConvert(text_a_);
  const std::string expected_b = testing::ModelConvert(text_b_);
  for (int round = 0; round < 15; ++round) {
    int barrier[2];
    ASSERT_EQ(pipe(barrier), 0);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
      children[i] = fork();
      ASSERT_GE(children[i], 0);
      if (children[i] == 0) {
        close(barrier[1]);
        char ignored;
        (void)!read(barrier[0], &ignored, 1);
        testing::RecordingWindow window;
        ConversionJob job(SystemFileSystem(), i == 0 ? in_a_ : in_b_, out_, window);
        job.StartConversion();
        for (int ticks = 0; job.State() != JobState::Idle && ticks < 10000; ++ticks) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
          job.HandleTick();
        }
        WriteBytes(dir_.File("report-" + std::to_string(i)), Report(job, window));
        _exit(0);
      }
    }
    close(barrier[0]);
    close(barrier[1]);
    for (const pid_t child : children) waitpid(child, nullptr, 0);

    const std::string reports[2] = {ReadBytes(dir_.File("report-0")),
                                    ReadBytes(dir_.File("report-1"))};
    for (const std::string& report : reports) {
      EXPECT_TRUE(report == "idle" || report == OpeningFailure(out_)) << report;
    }
    ASSERT_TRUE(fs::exists(out_)) << "round " << round;
    const std::string output = ReadBytes(out_);
    EXPECT_TRUE((reports[0] == "idle" && output == expected_a) ||
                (reports[1] == "idle" && output == expected_b))
        << "round " << round << ": " << output.size() << " bytes";
    fs::remove(out_);
  }
  EXPECT_EQ(ReadBytes(in_a_), text_a_);
  EXPECT_EQ(ReadBytes(in_b_), text_b_);
}

}  // namespace
}  // namespace identstrip
