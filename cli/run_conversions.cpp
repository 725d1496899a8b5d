#include "cli/run_conversions.h"

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/console_job_window.h"
#include "cli/file_identity.h"
#include "cli/standard_input_spool.h"
#include "cli/stream_file_system.h"
#include "cli/stream_names.h"
#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "conversion/output_name.h"

namespace identstrip::cli {
namespace {

bool IsStandardStream(const std::string& name) {
  return name == STANDARD_STREAM_ARGUMENT;
}

// The name under which the job sees a file. A file that happens to be called
// like one of the streams is reached through "./".
std::string JobName(const std::string& argument, std::string_view stream_name) {
  if (IsStandardStream(argument)) return std::string(stream_name);
  if (argument == STANDARD_INPUT_NAME || argument == STANDARD_OUTPUT_NAME) return "./" + argument;
  return argument;
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// The output for `input`, or nothing when the proposal had to be cut: a cut
// name might be any other file.
std::optional<std::string> OutputNameFor(const CommandLine& command_line,
                                         const std::string& input) {
  switch (command_line.output_choice) {
    case OutputChoice::Named:
      return command_line.target;
    case OutputChoice::StandardOutput:
      return std::string(STANDARD_STREAM_ARGUMENT);
    case OutputChoice::Proposed:
    case OutputChoice::IntoFolder:
      break;
  }
  const std::string proposal = ProposeOutputName(input);
  if (proposal.size() >= PROPOSAL_CAPACITY) return std::nullopt;
  if (command_line.output_choice == OutputChoice::Proposed) return proposal;
  std::string output = command_line.target;
  // "/" serves on Windows too, so the names in messages are the same there.
  if (output.back() != '/' && output.back() != '\\') output += '/';
  output += FileNameOf(proposal);
  return output;
}

// Converts one file through the conversion job, ticked as fast as it goes.
// Returns whether it was converted without a message.
bool ConvertOne(FileSystem& files, const std::string& input, const std::string& output,
                std::FILE* errors) {
  const std::string shown = IsStandardStream(input) ? std::string(STANDARD_INPUT_NAME) : input;
  std::optional<StandardInputSpool> spool;
  if (IsStandardStream(input)) {
    spool.emplace();
    if (spool->CopyFrom(STDIN_FILENO) != SUCCESS) {
      PrintFileMessage(errors, shown, spool->FailureText());
      return false;
    }
  }
  StreamFileSystem streams(files, spool ? &*spool : nullptr,
                           IsStandardStream(output) ? STDOUT_FILENO : -1);
  const std::string input_name = JobName(input, STANDARD_INPUT_NAME);
  const std::string output_name = JobName(output, STANDARD_OUTPUT_NAME);
  ConsoleJobWindow window(errors, shown);
  ConversionJob job(streams, input_name, output_name, window);
  job.StartConversion();
  while (job.State() != JobState::Idle) job.HandleTick();
  return window.MessagesShown() == 0;
}

// The files of one run, so that no conversion overwrites the work of another.
class BatchFiles {
 public:
  explicit BatchFiles(const std::vector<std::string>& inputs) {
    for (const auto& input : inputs) inputs_.push_back(IdentityOfPath(input));
  }

  // Writing `output` for input `index` would change another input of the
  // batch, or replace what an earlier one of them was converted into.
  bool WouldOverwrite(std::size_t index, const std::string& output) const {
    const auto target = IdentityOfPath(output);
    if (!target) return false;
    for (std::size_t other = 0; other < inputs_.size(); ++other) {
      if (other != index && inputs_[other] == target) return true;
    }
    for (const auto& written : outputs_) {
      if (written == target) return true;
    }
    return false;
  }

  void NoteWritten(const std::string& output) {
    if (auto identity = IdentityOfPath(output)) outputs_.push_back(*identity);
  }

 private:
  std::vector<std::optional<FileIdentity>> inputs_;
  std::vector<FileIdentity> outputs_;
};

}  // namespace

int RunConversions(const CommandLine& command_line, FileSystem& files, std::FILE* errors) {
  BatchFiles batch(command_line.inputs);
  bool all_converted = true;
  for (std::size_t i = 0; i < command_line.inputs.size(); ++i) {
    const std::string& input = command_line.inputs[i];
    const auto output = OutputNameFor(command_line, input);
    if (!output) {
      PrintFileMessage(
          errors, input,
          UnexpectedErrorText(ERR_INVALID_FILENAME, ACTION_OPENING, ProposeOutputName(input)));
      all_converted = false;
      continue;
    }
    // The file would be in use by another conversion of this run.
    if (batch.WouldOverwrite(i, *output)) {
      PrintFileMessage(errors, input,
                       UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_OPENING, *output));
      all_converted = false;
      continue;
    }
    if (ConvertOne(files, input, *output, errors)) {
      batch.NoteWritten(*output);
    } else {
      all_converted = false;
    }
  }
  return all_converted ? EXIT_CONVERTED : EXIT_NOT_CONVERTED;
}

}  // namespace identstrip::cli
