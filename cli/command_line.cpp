#include "cli/command_line.h"

namespace identstrip::cli {
namespace {

// "-oDIR" is not taken: a file named "-old.txa" would become a folder.
constexpr std::string_view OUTPUT_DIR_ASSIGNMENT = "--output-dir=";

ParsedCommandLine UsageError(std::string reason) {
  return {std::nullopt, std::move(reason)};
}

ParsedCommandLine Only(Action action) {
  CommandLine command_line;
  command_line.action = action;
  return {std::move(command_line), {}};
}

bool IsOption(std::string_view argument) {
  return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  std::vector<std::string> names;
  std::optional<std::string> folder;
  bool to_standard_output = false;
  bool options_ended = false;

  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (options_ended || !IsOption(argument)) {
      names.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
    } else if (argument == "--help" || argument == "-h") {
      return Only(Action::ShowHelp);
    } else if (argument == "--version") {
      return Only(Action::ShowVersion);
    } else if (argument == "--stdout") {
      to_standard_output = true;
    } else if (argument == "-o" || argument == "--output-dir" ||
               argument.starts_with(OUTPUT_DIR_ASSIGNMENT)) {
      std::string_view value;
      if (argument.starts_with(OUTPUT_DIR_ASSIGNMENT)) {
        value = argument.substr(OUTPUT_DIR_ASSIGNMENT.size());
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return UsageError("option '" + std::string(argument) + "' needs a folder");
      }
      if (folder) return UsageError("more than one output folder given");
      if (value.empty()) return UsageError("the output folder name is empty");
      folder = std::string(value);
    } else {
      return UsageError("unknown option '" + std::string(argument) + "'");
    }
  }

  if (names.empty()) return UsageError("no input file given");
  if (to_standard_output && folder) {
    return UsageError("--stdout and an output folder cannot be used together");
  }
  if (to_standard_output && names.size() != 1) {
    return UsageError("--stdout takes exactly one input file");
  }

  CommandLine command_line;
  if (to_standard_output) {
    command_line.output_choice = OutputChoice::StandardOutput;
  } else if (!folder && names.size() == 2) {
    command_line.output_choice = OutputChoice::Named;
    command_line.target = names.back();
    names.pop_back();
  } else {
    command_line.output_choice = folder ? OutputChoice::IntoFolder : OutputChoice::Proposed;
    command_line.target = folder.value_or("");
    for (const auto& name : names) {
      if (name == STANDARD_STREAM_ARGUMENT) {
        return UsageError("standard input ('-') needs an OUTPUT or --stdout");
      }
    }
  }
  command_line.inputs = std::move(names);
  return {std::move(command_line), {}};
}

}  // namespace identstrip::cli
