#pragma once

#include <string>
#include <vector>

namespace identstrip::cli::testing {

// What the standard streams' tests expect that differs between the systems.

// The additions to the environment that put the program's temporary files
// into `folder`.
std::vector<std::string> TemporaryFolderIn(const std::string& folder);

// The name that the failure to make the spool of standard input in `folder`
// shows.
std::string SpoolNameShownFor(const std::string& folder);

// The name that the refusal shows when standard output is appended to the
// input `input`.
std::string NameRefusedWhenOutputIsAppendedTo(const std::string& input);

}  // namespace identstrip::cli::testing
