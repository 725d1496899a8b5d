#pragma once

// The fixture of the whole conversions of files and names that a careless or
// hostile user might pick.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip::testing {

inline const std::string kExport =
    "!!> IDENT(1),PRE(A)\r\n\tName STRING(20)  \r\n!!> IDENT(2)\r\nEND\r\n";

inline std::string Message(const std::string& text) {
  return "message " + std::string(MESSAGE_CAPTION) + ": " + text;
}
inline std::string OpenFailure(ResultCode code, const std::string& path) {
  return Message(UnexpectedErrorText(code, ACTION_OPENING, path));
}

class HostileInputTest : public ::testing::Test {
 protected:
  HostileInputTest() : job_(files_, input_name_, output_name_, window_) {
    window_.Watch(job_.ShownPercent());
  }

  // Converts `input` into `output`; returns the messages shown.
  Requests Convert(const std::string& input, const std::string& output) {
    input_name_ = input;
    output_name_ = output;
    job_.StartConversion();
    TickToTheEnd(job_, 1000);
    EXPECT_EQ(job_.State(), JobState::Idle) << input << " -> " << output;
    EXPECT_EQ(files_.OpenFiles(), 0) << input << " -> " << output;
    return window_.TakeMessages();
  }

  TempDir dir_;
  FaultyFileSystem files_{SystemFileSystem()};
  std::string input_name_, output_name_;
  RecordingWindow window_;
  ConversionJob job_;
};

}  // namespace identstrip::testing
