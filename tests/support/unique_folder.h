#pragma once

#include <filesystem>

namespace identstrip::testing {

// Creates a folder with a name of its own below `parent`, which nobody else
// can have chosen, and returns its path; throws when it cannot.
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent);

}  // namespace identstrip::testing
