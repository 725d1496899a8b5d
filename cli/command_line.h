#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace identstrip::cli {

// Stands for standard input as an INPUT, and for standard output as an OUTPUT.
inline constexpr std::string_view STANDARD_STREAM_ARGUMENT = "-";

enum class Action { Convert, ShowHelp, ShowVersion };

enum class OutputChoice {
  Named,           // INPUT OUTPUT: the one input into `target`
  Proposed,        // each input into its proposed output name, beside it
  IntoFolder,      // each input into the folder `target`, under its proposed file name
  StandardOutput,  // --stdout: the one input to standard output
};

struct CommandLine {
  Action action = Action::Convert;
  std::vector<std::string> inputs;
  OutputChoice output_choice = OutputChoice::Proposed;
  std::string target;
};

// The command line, or the reason it is not usable.
struct ParsedCommandLine {
  std::optional<CommandLine> command_line;
  std::string usage_error;
};

// Reads the arguments after the program's name:
//   INPUT OUTPUT            one file into OUTPUT
//   [-o DIR] INPUT...       each into its proposed output name, beside it or in DIR
//   --stdout INPUT          converted text to standard output
// "-" is standard input as the INPUT and standard output as the OUTPUT; "--"
// ends the options, so that later names may start with a dash.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments);

}  // namespace identstrip::cli
