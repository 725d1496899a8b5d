#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "conversion/conversion_job.h"
#include "tests/conversion/job_commands.h"
#include "tests/conversion/job_in_child.h"
#include "tests/support/recording_window.h"

namespace identstrip::testing {
namespace {

// A copy of the test process, made with fork, that serves the job through a
// pair of pipes.
class ForkedJob final : public JobChannel {
 public:
  ForkedJob(const std::string& input, const std::string& output) {
    int commands[2], answers[2];
    if (pipe(commands) != 0 || pipe(answers) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      close(commands[1]);
      close(answers[0]);
      Serve(input, output, commands[0], answers[1]);
      _exit(0);
    }
    close(commands[0]);
    close(answers[1]);
    commands_ = commands[1];
    answers_ = answers[0];
  }
  ~ForkedJob() override {
    close(commands_);
    close(answers_);
    waitpid(pid_, nullptr, 0);
  }

  bool Send(std::string_view bytes) override {
    return write(commands_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  bool Receive(void* data, std::size_t size) override {
    auto* into = static_cast<char*>(data);
    while (size > 0) {
      const ssize_t n = read(answers_, into, size);
      if (n <= 0) return false;
      into += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  static void Serve(const std::string& input, const std::string& output, int commands,
                    int answers) {
    RecordingWindow window;
    ConversionJob job(SystemFileSystem(), input, output, window);
    char command;
    while (read(commands, &command, 1) == 1) {
      const std::string report = RunJobCommand(job, window, command);
      const std::uint32_t size = static_cast<std::uint32_t>(report.size());
      if (write(answers, &size, sizeof size) != sizeof size) break;
      if (write(answers, report.data(), size) != static_cast<ssize_t>(size)) break;
    }
  }

  pid_t pid_;
  int commands_, answers_;
};

}  // namespace

std::unique_ptr<JobChannel> StartJobInChild(const std::string& input, const std::string& output) {
  return std::make_unique<ForkedJob>(input, output);
}

}  // namespace identstrip::testing
