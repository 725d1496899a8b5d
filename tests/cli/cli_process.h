#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace identstrip::cli::testing {

// How a program is started: its folder, its standard streams and additions to
// its environment.
struct ProcessSetup {
  std::filesystem::path folder{};
  // Standard input from this file; from /dev/null when empty.
  std::optional<std::filesystem::path> input_file{};
  // Standard output appended to this file instead of being captured.
  std::optional<std::filesystem::path> output_file{};
  bool output_closed = false;
  std::vector<std::string> environment{};  // "NAME=value"
};

struct ProcessResult {
  int exit_code = -1;  // -1 when the program did not exit by itself
  std::string output;  // standard output, unless it went elsewhere
  std::string errors;  // standard error
  long peak_memory_kib = 0;
};

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessSetup& setup);

// identstrip-cli as built.
ProcessResult RunCli(const std::vector<std::string>& arguments, const ProcessSetup& setup);
std::string CliPath();

// The shared test helpers, under their names here.
using identstrip::testing::ReadBytes;
using identstrip::testing::TempDir;
using identstrip::testing::WriteBytes;

}  // namespace identstrip::cli::testing
