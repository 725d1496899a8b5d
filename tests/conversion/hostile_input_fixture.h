#pragma once

// The fixture of the whole conversions of files and names that a careless or
// hostile user might pick.
#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip::testing {

namespace fs = std::filesystem;

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

  // A conversion that must fail with `message`.
  struct Refusal {
    const char* what;
    std::string input, output, message;
  };
  // Runs each refusal; none may leave the file `out` behind or change `in`,
  // which holds kExport.
  void ExpectEachRefused(std::span<const Refusal> refusals, const std::string& in,
                         const std::string& out) {
    for (const auto& c : refusals) {
      EXPECT_EQ(Convert(c.input, c.output), Requests{c.message}) << c.what;
      EXPECT_FALSE(fs::exists(out)) << c.what << ": no output is left behind";
      EXPECT_EQ(ReadBytes(in), kExport) << c.what;
    }
  }

  // Each name converts like any other, in the test's folder, and the messages
  // of its failures show it exactly as given.
  void ExpectEachNameConverts(std::span<const std::string> names) {
    const std::string expected = ModelConvert(kExport);
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    for (const std::string& name : names) {
      const std::string in = dir_.File(name);
      const std::string out = dir_.File("out " + name);
      WriteBytes(in, kExport);
      EXPECT_EQ(Convert(in, out), Requests{}) << name;
      EXPECT_EQ(ReadBytes(out), expected) << name;
      EXPECT_EQ(ReadBytes(in), kExport) << name;

      const std::string nowhere = dir_.File("no folder " + name + separator + name);
      EXPECT_EQ(Convert(in, nowhere), Requests{OpenFailure(ERR_PATH_NOT_FOUND, nowhere)}) << name;
      EXPECT_EQ(Convert(dir_.File("missing " + name), out), Requests{Message("File not found!")});
    }
  }

  TempDir dir_;
  FaultyFileSystem files_{SystemFileSystem()};
  std::string input_name_, output_name_;
  RecordingWindow window_;
  ConversionJob job_;
};

}  // namespace identstrip::testing
