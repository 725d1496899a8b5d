#include "tests/cli/cli_process.h"

namespace identstrip::cli::testing {

ProcessResult RunCli(const std::vector<std::string>& arguments, const ProcessSetup& setup) {
  return RunProgram(CliPath(), arguments, setup);
}

}  // namespace identstrip::cli::testing
