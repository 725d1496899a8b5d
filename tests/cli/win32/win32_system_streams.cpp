#include "tests/cli/system_streams.h"

namespace identstrip::cli::testing {

std::vector<std::string> TemporaryFolderIn(const std::string& folder) {
  return {"TMP=" + folder, "TEMP=" + folder};
}

std::string SpoolNameShownFor(const std::string& folder) {
  return folder + "\\";
}

// The redirection holds the file open for writing, so the line file may not
// open the input.
std::string NameRefusedWhenOutputIsAppendedTo(const std::string& input) {
  return input;
}

}  // namespace identstrip::cli::testing
