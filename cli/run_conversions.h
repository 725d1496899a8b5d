#pragma once

#include <cstdio>

#include "cli/command_line.h"
#include "conversion/file_system.h"

namespace identstrip::cli {

inline constexpr int EXIT_CONVERTED = 0;
inline constexpr int EXIT_NOT_CONVERTED = 1;
inline constexpr int EXIT_USAGE = 2;

// Converts every input of the command line in turn, each through its own
// conversion job, reporting each failure on `errors` and going on with the
// next input. Returns EXIT_CONVERTED when every input was converted,
// otherwise EXIT_NOT_CONVERTED.
int RunConversions(const CommandLine& command_line, FileSystem& files, std::FILE* errors);

}  // namespace identstrip::cli
