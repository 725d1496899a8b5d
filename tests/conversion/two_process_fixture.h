#pragma once

// The fixture of two processes at once: this one and a conversion job in a
// child process (job_in_child.h).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "tests/conversion/job_commands.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip::testing {

// Whether the system itself refuses to let another process cut short the
// input of a running conversion, as share modes do; advisory locks do not.
extern const bool kSystemKeepsAnOpenInputWhole;

inline std::string ExportOfLines(const std::string& tag, int lines) {
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
    RecordingWindow window;
    ConversionJob job(SystemFileSystem(), input, output, window);
    job.StartConversion();
    TickToTheEnd(job, 100000);
    return JobReport(job, window);
  }

  std::string OpeningFailure(const std::string& path) const {
    return "idle\nmessage Convert file: " +
           UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_OPENING, path);
  }

  // After two conversions of in_a_ and in_b_ onto out_ raced each other, with
  // these reports: whoever came second was refused, and the output is the
  // whole conversion of one input, never a mixture. Removes the output for
  // the next round.
  void ExpectOneWholeConversion(const std::string (&reports)[2], int round) {
    for (const std::string& report : reports) {
      EXPECT_TRUE(report == "idle" || report == OpeningFailure(out_)) << report;
    }
    ASSERT_TRUE(std::filesystem::exists(out_)) << "round " << round;
    const std::string output = ReadBytes(out_);
    EXPECT_TRUE((reports[0] == "idle" && output == ModelConvert(text_a_)) ||
                (reports[1] == "idle" && output == ModelConvert(text_b_)))
        << "round " << round << ": " << output.size() << " bytes";
    std::filesystem::remove(out_);
  }

  TempDir dir_;
  const std::string in_a_ = dir_.File("a.txa"), in_b_ = dir_.File("b.txa");
  const std::string out_ = dir_.File("out.txa");
  const std::string text_a_ = ExportOfLines("alpha", 2000), text_b_ = ExportOfLines("beta", 1500);
};

}  // namespace identstrip::testing
