#pragma once

#include <string_view>

namespace identstrip::cli {

// The names under which the conversion job sees the standard streams, and
// which its messages show.
inline constexpr std::string_view STANDARD_INPUT_NAME = "(standard input)";
inline constexpr std::string_view STANDARD_OUTPUT_NAME = "(standard output)";

}  // namespace identstrip::cli
