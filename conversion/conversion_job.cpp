#include "conversion/conversion_job.h"

#include <algorithm>
#include <limits>

#include "conversion/ident_rule.h"
#include "conversion/job_messages.h"

namespace identstrip {

std::uint8_t ProgressPercent(std::int64_t done, std::int64_t total) {
  if (total <= 0) return 0;
  return static_cast<std::uint8_t>(std::min<std::int64_t>(100, 100 * done / total));
}

namespace {

// The first count of lines done at which ProgressPercent reaches `percent`.
std::int64_t FirstLineOfPercent(std::int64_t percent, std::int64_t total) {
  if (total <= 0) return std::numeric_limits<std::int64_t>::max();
  return (percent * total + 99) / 100;
}

}  // namespace

ConversionJob::ConversionJob(FileSystem& file_system, const std::string& input_name,
                             const std::string& output_name, JobWindow& window)
    : window_(window),
      input_name_(input_name),
      output_name_(output_name),
      input_(file_system, input_name),
      output_(file_system, output_name) {}

void ConversionJob::StartConversion() {
  if (state_ != JobState::Idle) return;

  if (input_.Open(MODE_READ_WRITE_DENY_WRITE) != SUCCESS) {
    const ResultCode code = LastError();
    window_.ShowMessage(InputOpenFailureText(code, input_name_), MESSAGE_CAPTION);
    input_.Close();
    return;
  }

  // A failed create is reported at once: opening the old file anyway would
  // append the converted lines behind its earlier content. The file is not
  // ours to remove.
  if (output_.Create() != SUCCESS) {
    const ResultCode code = LastError();
    window_.ShowMessage(UnexpectedErrorText(code, ACTION_OPENING, output_name_), MESSAGE_CAPTION);
    input_.Close();
    return;
  }
  if (output_.Open(MODE_READ_WRITE_DENY_WRITE) != SUCCESS) {
    const ResultCode code = LastError();
    window_.ShowMessage(UnexpectedErrorText(code, ACTION_OPENING, output_name_), MESSAGE_CAPTION);
    output_.Close();
    output_.Remove();
    input_.Close();
    return;
  }

  std::int64_t count = 0;
  input_.Rewind();
  while (input_.SkipNext() == SUCCESS) ++count;
  total_lines_ = count;

  lines_done_ = 0;
  percent_ = 0;
  shown_percent_ = 0;
  next_percent_at_ = FirstLineOfPercent(1, total_lines_);
  read_failure_ = SUCCESS;
  write_failure_ = SUCCESS;
  window_.ShowRunningLook();
  input_.Rewind();
  window_.SetTimerPeriod(1);
  state_ = JobState::Running;
}

void ConversionJob::HandleTick() {
  if (state_ == JobState::Idle) return;
  window_.SetTimerPeriod(0);
  if (state_ == JobState::Running) {
    ProcessSlice();
    window_.SetTimerPeriod(1);
  } else {
    FinishConversion();
  }
}

void ConversionJob::ProcessSlice() {
  for (int reads = 0; reads < LINES_PER_SLICE; ++reads) {
    if (const ResultCode code = input_.ReadNext(); code != SUCCESS) {
      NoteReadFailure(code);
      state_ = JobState::Finished;
      return;
    }
    UpdateProgress();
    if (ApplyIdentRule(input_.Record(), output_.Record())) {
      NoteWriteFailure(output_.Append());
    }
  }
}

void ConversionJob::UpdateProgress() {
  ++lines_done_;
  if (percent_ >= 100) return;
  // Between whole percents the figure stays as it is: no division per line.
  if (lines_done_ < next_percent_at_) return;
  percent_ = ProgressPercent(lines_done_, total_lines_);
  next_percent_at_ = FirstLineOfPercent(percent_ + 1, total_lines_);
  if (percent_ != shown_percent_) {
    shown_percent_ = percent_;
    window_.RedisplayProgress();
  }
}

void ConversionJob::FinishConversion() {
  state_ = JobState::Idle;
  input_.Close();
  NoteWriteFailure(output_.Close());

  // A conversion that lost lines is not reported as done.
  if (read_failure_ != SUCCESS) {
    window_.ShowMessage(UnexpectedErrorText(read_failure_, ACTION_READING, input_.OpenedPath()),
                        MESSAGE_CAPTION);
  }
  if (write_failure_ != SUCCESS) {
    window_.ShowMessage(UnexpectedErrorText(write_failure_, ACTION_WRITING, output_.OpenedPath()),
                        MESSAGE_CAPTION);
  }
  window_.ShowIdleLook();
}

void ConversionJob::NoteReadFailure(ResultCode code) {
  // 33 is the ordinary end of the input.
  if (code != ERR_RECORD_NOT_AVAILABLE && read_failure_ == SUCCESS) read_failure_ = code;
}

void ConversionJob::NoteWriteFailure(ResultCode code) {
  if (code != SUCCESS && write_failure_ == SUCCESS) write_failure_ = code;
}

}  // namespace identstrip
