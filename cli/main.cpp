// identstrip-cli: the conversion of the window program, for scripts, CI and
// git diff. The options and exit codes are described by --help.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/program_info.h"
#include "cli/run_conversions.h"
#include "cli/stream_files.h"
#include "conversion/file_system.h"

namespace {

void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace identstrip::cli;
  UseBinaryStandardStreams();
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.command_line) {
    Print(stderr, std::string(PROGRAM_NAME) + ": " + parsed.usage_error + "\n");
    Print(stderr, USAGE_HINT);
    Print(stderr, "\n");
    return EXIT_USAGE;
  }
  switch (parsed.command_line->action) {
    case Action::ShowHelp:
      Print(stdout, HelpText());
      return std::fflush(stdout) == 0 ? EXIT_CONVERTED : EXIT_NOT_CONVERTED;
    case Action::ShowVersion:
      Print(stdout, VersionText());
      return std::fflush(stdout) == 0 ? EXIT_CONVERTED : EXIT_NOT_CONVERTED;
    case Action::Convert:
      break;
  }
  return RunConversions(*parsed.command_line, identstrip::SystemFileSystem(), stderr);
}
