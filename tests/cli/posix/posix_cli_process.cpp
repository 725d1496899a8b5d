#include "tests/cli/cli_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace identstrip::cli::testing {
namespace fs = std::filesystem;

namespace {

void Redirect(const char* path, int flags, int target) {
  const int fd = ::open(path, flags, 0644);
  if (fd < 0) ::_exit(126);
  if (::dup2(fd, target) < 0) ::_exit(126);
  ::close(fd);
}

}  // namespace

std::string CliPath() {
  return IDENTSTRIP_CLI_PATH;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessSetup& setup) {
  char capture_template[] = "/tmp/identstrip-capture-XXXXXX";
  const char* captures = ::mkdtemp(capture_template);
  if (captures == nullptr) throw std::runtime_error("no folder for the captured output");
  const fs::path output_capture = fs::path(captures) / "stdout";
  const fs::path error_capture = fs::path(captures) / "stderr";

  std::vector<std::string> argv_strings{program};
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : argv_strings) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment = setup.environment;

  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    if (!setup.folder.empty() && ::chdir(setup.folder.c_str()) != 0) ::_exit(126);
    Redirect(setup.input_file ? setup.input_file->c_str() : "/dev/null", O_RDONLY, 0);
    if (setup.output_closed) {
      ::close(1);
    } else if (setup.output_file) {
      Redirect(setup.output_file->c_str(), O_WRONLY | O_APPEND | O_CREAT, 1);
    } else {
      Redirect(output_capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 1);
    }
    Redirect(error_capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 2);
    for (auto& variable : environment) ::putenv(variable.data());
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }

  int status = 0;
  struct rusage usage {};
  while (::wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) throw std::runtime_error("wait failed");
  }
  ProcessResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.peak_memory_kib = usage.ru_maxrss;
  if (fs::exists(output_capture)) result.output = ReadBytes(output_capture);
  result.errors = ReadBytes(error_capture);
  fs::remove_all(captures);
  return result;
}

}  // namespace identstrip::cli::testing
