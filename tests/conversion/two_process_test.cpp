// Two processes at once: while one converts, another that tries to write its
// output, or to remove or rewrite its input, is refused, and neither file is
// corrupted. The other process is a conversion job in a child process,
// driven one step at a time from the test. What the systems do differently
// is in posix/ and win32/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "tests/conversion/job_in_child.h"
#include "tests/conversion/two_process_fixture.h"

namespace identstrip::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(TwoProcessTest, ASecondConversionOntoTheSameOutputIsRefused) {
  JobInChild first(in_a_, out_);
  ASSERT_EQ(first.Start(), "busy");
  ASSERT_EQ(first.Tick(), "busy");

  EXPECT_EQ(ConvertHere(in_b_, out_), OpeningFailure(out_));
  EXPECT_EQ(first.Finish(), "idle");
  EXPECT_EQ(ReadBytes(out_), ModelConvert(text_a_)) << "the refused one wrote nothing";

  EXPECT_EQ(ConvertHere(in_b_, out_), "idle") << "once the first is done, the file is free";
  EXPECT_EQ(ReadBytes(out_), ModelConvert(text_b_));
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
  if (kSystemKeepsAnOpenInputWhole) {
    std::error_code refused;
    fs::resize_file(in_a_, 10, refused);
    EXPECT_TRUE(refused) << "nobody may cut it short";
  }

  EXPECT_EQ(converting.Finish(), "idle");
  EXPECT_EQ(ReadBytes(in_a_), text_a_);
  EXPECT_EQ(ReadBytes(out_), ModelConvert(text_a_));
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
  EXPECT_EQ(ReadBytes(out_), ModelConvert(text_a_));
}

}  // namespace
}  // namespace identstrip::testing
