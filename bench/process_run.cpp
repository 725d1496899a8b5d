#include "bench/process_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace identstrip::bench {

ProcessRun RunProcess(const std::vector<std::string>& command, const std::string& output_file,
                      bool commit_output) {
  ProcessRun run;
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  int pipe_ends[2] = {-1, -1};
  int out_fd = -1;
  const auto started = std::chrono::steady_clock::now();
  if (!output_file.empty()) {
    out_fd = ::open(output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out_fd < 0) {
      std::fprintf(stderr, "%s: %s\n", output_file.c_str(), std::strerror(errno));
      return run;
    }
  } else if (::pipe2(pipe_ends, O_CLOEXEC) != 0) {
    return run;
  }

  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out_fd >= 0 ? out_fd : pipe_ends[1], STDOUT_FILENO);
    ::execvp(argv[0], argv.data());
    std::fprintf(stderr, "%s: %s\n", argv[0], std::strerror(errno));
    ::_exit(127);
  }
  if (pipe_ends[1] >= 0) {
    ::close(pipe_ends[1]);
    char chunk[4096];
    for (;;) {
      const ssize_t got = ::read(pipe_ends[0], chunk, sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      run.output.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(pipe_ends[0]);
  }
  int status = 0;
  struct rusage usage {};
  while (child > 0 && ::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  bool committed = true;
  if (out_fd >= 0) {
    if (commit_output) committed = ::fsync(out_fd) == 0;
    ::close(out_fd);
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  run.peak_kib = usage.ru_maxrss;
  run.succeeded = child > 0 && committed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

}  // namespace identstrip::bench
