#include "tests/cli/system_streams.h"

namespace identstrip::cli::testing {

std::vector<std::string> TemporaryFolderIn(const std::string& folder) {
  return {"TMPDIR=" + folder};
}

std::string SpoolNameShownFor(const std::string& folder) {
  return folder + "/identstrip-XXXXXX";
}

// Only the line files' locks protect a file that standard output is appended
// to, so the program finds the conflict when it opens standard output.
std::string NameRefusedWhenOutputIsAppendedTo(const std::string&) {
  return "(standard output)";
}

}  // namespace identstrip::cli::testing
