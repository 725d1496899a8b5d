// Two processes at once on Windows, whose share modes bind every program:
// conversions are raced in helper programs started one after the other and
// then released together.
#include <gtest/gtest.h>

#include <string>

#include "tests/conversion/job_in_child.h"
#include "tests/conversion/two_process_fixture.h"

namespace identstrip::testing {

const bool kSystemKeepsAnOpenInputWhole = true;

namespace {

// Two conversions onto one output started at the same moment, again and
// again.
TEST_F(TwoProcessTest, RacingConversionsOntoOneOutputNeverMix) {
  for (int round = 0; round < 8; ++round) {
    std::string reports[2];
    {
      JobInChild first(in_a_, out_), second(in_b_, out_);
      ASSERT_TRUE(first.BeginPacedRun());
      ASSERT_TRUE(second.BeginPacedRun());
      reports[0] = first.Answer();
      reports[1] = second.Answer();
    }
    ASSERT_NO_FATAL_FAILURE(ExpectOneWholeConversion(reports, round));
  }
  EXPECT_EQ(ReadBytes(in_a_), text_a_);
  EXPECT_EQ(ReadBytes(in_b_), text_b_);
}

}  // namespace
}  // namespace identstrip::testing
