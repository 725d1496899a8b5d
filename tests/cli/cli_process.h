#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder for one test, removed with everything in it afterwards.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace identstrip::cli::testing
