#pragma once

#include <string>
#include <vector>

namespace identstrip::bench {

struct ProcessRun {
  bool succeeded = false;  // exited with 0
  double seconds = 0;      // wall time from start to exit (and commit, if asked)
  long peak_kib = 0;       // the child's peak resident set
  std::string output;      // its standard output, when not sent to a file
};

// Runs `command` (searched in PATH) and waits for it. With `output_file` set
// the child's standard output goes there, created or emptied as a shell's
// `> FILE` does; with `commit_output` the file is committed to disk (fsync)
// before the clock stops. Standard error is passed through.
ProcessRun RunProcess(const std::vector<std::string>& command, const std::string& output_file = "",
                      bool commit_output = false);

}  // namespace identstrip::bench
