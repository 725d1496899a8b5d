#pragma once

#include <cstdint>
#include <string>

#include "conversion/file_system.h"
#include "conversion/job_window.h"
#include "conversion/line_file.h"

namespace identstrip {

inline constexpr int LINES_PER_SLICE = 100;

enum class JobState : std::uint16_t { Idle = 0, Running = 1, Finished = 2 };

// 100 * done / total rounded down and capped at 100; 0 when total is 0.
std::uint8_t ProgressPercent(std::int64_t done, std::int64_t total);

// Converts the file named by the input name into the file named by the output
// name, at most LINES_PER_SLICE lines per timer tick, so that the window stays
// responsive. The job reads both names but never changes them.
class ConversionJob {
 public:
  ConversionJob(FileSystem& file_system, const std::string& input_name,
                const std::string& output_name, JobWindow& window);

  // Opens both files, counts the input's lines and arms the timer. On failure
  // a message has been shown, no file is open and the state stays Idle.
  void StartConversion();
  // Called for every timer event, whatever the state.
  void HandleTick();

  JobState State() const { return state_; }
  std::int64_t TotalLines() const { return total_lines_; }
  std::int64_t LinesDone() const { return lines_done_; }
  // The percentage the progress bar shows; bound to it for the window's life.
  const std::uint8_t& ShownPercent() const { return shown_percent_; }

 private:
  void ProcessSlice();
  void UpdateProgress();
  void FinishConversion();
  void NoteReadFailure(ResultCode code);
  void NoteWriteFailure(ResultCode code);

  JobWindow& window_;
  const std::string& input_name_;
  const std::string& output_name_;
  LineFile input_;
  LineFile output_;
  JobState state_ = JobState::Idle;
  // 64-bit, so that no input can make the counts wrap.
  std::int64_t total_lines_ = 0;
  std::int64_t lines_done_ = 0;
  std::uint8_t percent_ = 0;
  // The count of lines done at which percent_ next changes.
  std::int64_t next_percent_at_ = 0;
  std::uint8_t shown_percent_ = 0;
  // The first failures that lost data, reported when the job finishes.
  ResultCode read_failure_ = SUCCESS;
  ResultCode write_failure_ = SUCCESS;
};

}  // namespace identstrip
