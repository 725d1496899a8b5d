// Two processes at once on Windows: while one converts, another that tries to
// write its output, or to remove or rewrite its input, is refused by the
// system's share modes, and neither file is corrupted.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "tests/conversion/win32/job_in_child.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::JobInChild;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

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
    std::string report = job.State() == JobState::Idle ? "idle" : "busy";
    for (const std::string& message : window.TakeMessages()) report += "\n" + message;
    return report;
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
  std::error_code refused;
  fs::resize_file(in_a_, 10, refused);
  EXPECT_TRUE(refused) << "nobody may cut it short";

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

// Two conversions onto one output started at the same moment, again and
// again: whoever comes second is refused, and the output is always the whole
// conversion of one input, never a mixture.
TEST_F(TwoProcessTest, RacingConversionsOntoOneOutputNeverMix) {
  const std::string expected_a = testing::ModelConvert(text_a_);
  const std::string expected_b = testing::ModelConvert(text_b_);
  for (int round = 0; round < 8; ++round) {
    std::string reports[2];
    {
      JobInChild first(in_a_, out_), second(in_b_, out_);
      ASSERT_TRUE(first.BeginPacedRun());
      ASSERT_TRUE(second.BeginPacedRun());
      reports[0] = first.Answer();
      reports[1] = second.Answer();
    }
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
