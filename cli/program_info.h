#pragma once

#include <string_view>

namespace identstrip::cli {

inline constexpr std::string_view PROGRAM_NAME = "identstrip-cli";
// The version of the executable's version block, given by the build.
inline constexpr std::string_view PROGRAM_VERSION = IDENTSTRIP_VERSION;

std::string_view HelpText();

// "identstrip-cli 1.3.0.0" and a newline.
std::string_view VersionText();

// The second line of every usage error.
inline constexpr std::string_view USAGE_HINT = "Try 'identstrip-cli --help' for more information.";

}  // namespace identstrip::cli
