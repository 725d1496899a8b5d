// Two processes at once on POSIX systems, whose locks bind only the programs
// that take them: a cut-short input must be reported, and conversions are
// raced in processes forked at the same moment.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/conversion/job_in_child.h"
#include "tests/conversion/two_process_fixture.h"

namespace identstrip::testing {

const bool kSystemKeepsAnOpenInputWhole = false;

namespace {

namespace fs = std::filesystem;

// A program that ignores the locks may still cut the input short under a
// running conversion. The lines it took away are missing from the output, so
// the conversion must not end as if it had read the whole input.
TEST_F(TwoProcessTest, AnInputCutShortUnderARunningConversionIsReported) {
  // Several read buffers long, so that the cut lies beyond what was read ahead.
  const std::string text = ExportOfLines("long", 20000);
  ASSERT_GT(text.size(), 2 * READ_BUFFER_SIZE);
  WriteBytes(in_a_, text);
  JobInChild converting(in_a_, out_);
  ASSERT_EQ(converting.Start(), "busy");
  ASSERT_EQ(converting.Tick(), "busy");
  fs::resize_file(in_a_, text.size() / 2);

  EXPECT_EQ(converting.Finish(), "idle\nmessage Convert file: " +
                                     UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_READING, in_a_));
  const std::string expected = ModelConvert(text);
  const std::string written = ReadBytes(out_);
  EXPECT_LT(written.size(), expected.size());
  EXPECT_TRUE(written == expected.substr(0, written.size())) << "what was written is wrong";
}

// Two conversions onto one output, in children released together from a
// barrier, again and again. The jobs pause between ticks as the window's
// timer makes them do.
TEST_F(TwoProcessTest, RacingConversionsOntoOneOutputNeverMix) {
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
        RecordingWindow window;
        ConversionJob job(SystemFileSystem(), i == 0 ? in_a_ : in_b_, out_, window);
        WriteBytes(dir_.File("report-" + std::to_string(i)), RunJobCommand(job, window, 'r'));
        _exit(0);
      }
    }
    close(barrier[0]);
    close(barrier[1]);
    for (const pid_t child : children) waitpid(child, nullptr, 0);

    const std::string reports[2] = {ReadBytes(dir_.File("report-0")),
                                    ReadBytes(dir_.File("report-1"))};
    ASSERT_NO_FATAL_FAILURE(ExpectOneWholeConversion(reports, round));
  }
  EXPECT_EQ(ReadBytes(in_a_), text_a_);
  EXPECT_EQ(ReadBytes(in_b_), text_b_);
}

}  // namespace
}  // namespace identstrip::testing
